// The dialog base class every console window derives from: a window laid out
// from a dialog template with numbered controls, run modally or created
// modeless, with per-window timers, posted messages, command notifications
// from its controls and the Enter and Escape keys of a Win32 dialog.
//
// The C++ object and its window have separate lives, as in MFC (see
// window.h): the object is constructed first, the window (with its controls)
// exists from DoModal or Create until DestroyWindow (or the end of the modal
// run); the object's members stay readable afterwards.
//
//   class CResetConfirmWindow : public Dialog {
//   public:
//       CResetConfirmWindow() : Dialog(res::FindDialogTemplate(res::IDD_RESET_CONFIRM)) {}
//   protected:
//       void DoDataExchange(DataExchange& dx) override {
//           DDX_Control(dx, res::IDC_RESET_QUESTION, m_question);  // CTransparentStatic*
//       }
//       bool OnInitDialog() override {
//           GetDlgItemAs<ButtonControl>(IDOK)->SetBitmap(LoadBitmap(res::IDB_CHECK_MARK));
//           return true;
//       }
//       void OnShowWindow(bool show) override { ... place beside the owner ... }
//   };
//   ... if (CResetConfirmWindow().DoModal() == IDOK) ...
//
// Workers report with PostMessage(handle, WM_..., wParam, lParam[, payload]);
// the window maps each message with MapMessage and each control notification
// with MapCommand (or overrides OnCommand).
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/window/device_context.h"
#include "platform/window/dialog_template.h"
#include "platform/window/font.h"
#include "platform/window/geometry.h"
#include "platform/window/image.h"
#include "platform/window/input_message.h"
#include "platform/window/messages.h"
#include "platform/window/window.h"
#include "platform/window/window_handle.h"

namespace platform::window {

class DataExchange;
class DialogHost;

// Colours a dialog gives a control when it asks (WM_CTLCOLOR in Win32).
struct ControlColors {
    // The kind of control that asks, as Win32 asks with WM_CTLCOLORSTATIC,
    // WM_CTLCOLOREDIT, WM_CTLCOLORBTN or WM_CTLCOLORLISTBOX.
    ControlKind kind = ControlKind::Custom;
    std::optional<ColorRef> text;  // text colour
    // Fills the control behind its content: a pattern brush of the picture
    // (CreatePatternBrush), tiled from the window's top-left corner.
    std::optional<Image> background;
};

// One item of an owner-drawn list box or button to draw (WM_DRAWITEM in
// Win32). The device context paints the control, and its background colour
// is the control's own.
struct DrawItem {
    int controlId = -1;
    int itemId = -1;     // index of the item; -1 for an empty list
    unsigned state = 0;  // ODS_* bits
    DeviceContext* dc = nullptr;
    Rect rect;         // the item's rectangle in the control's coordinates
    std::string text;  // the item's text (LBS_HASSTRINGS), UTF-8
};

using MessageHandler = std::function<std::intptr_t(Message& message)>;
using CommandHandler = std::function<void()>;

class Dialog : public Window {
  public:
    // The template is data that outlives the dialog (see resources/).
    // A null template makes DoModal and Create fail. `parent` owns the
    // window (it stays above it and goes with it).
    explicit Dialog(const DialogTemplate* dialogTemplate, Window* parent = nullptr);
    ~Dialog() override;

    const DialogTemplate* Template() const { return m_template; }

    // ---- Creation and end ------------------------------------------------
    // Creates the window, runs it modally and destroys it again; returns the
    // code given to EndDialog (IDOK, IDCANCEL, ...), or -1 when the window
    // could not be created or was destroyed without EndDialog.
    int DoModal();
    // Creates the window modeless with `parent` as its parent window (null:
    // the parent given at construction). Shown when the template says so.
    bool Create(Window* parent = nullptr);
    // Destroys the window and its controls; bound control pointers become
    // null. The object lives on. Does nothing when there is no window.
    void DestroyWindow();
    // Ends a modal run with `result`; a modeless dialog is only hidden.
    void EndDialog(int result);

    bool HasWindow() const { return m_created; }
    bool IsModalRunning() const { return m_modalRunning; }
    // The window's handle, null while the window does not exist.
    WindowHandle Handle() const { return m_handle; }

    // ---- Controls ------------------------------------------------------
    // The control with template id `id`; null when the dialog has none.
    Window* GetDlgItem(int id) const;

    template <class T>
    T* GetDlgItemAs(int id) const {
        static_assert(std::is_base_of_v<Window, T>, "controls are windows");
        return dynamic_cast<T*>(GetDlgItem(id));
    }

    // The control `id` as a T. When it is of another class it is replaced,
    // in place, by a new T that takes over its geometry, id, style, kind,
    // text, font, visibility, enabled state and stacking position, and lives
    // as long as its window (MFC's SubclassDlgItem with an auto-deleting
    // window). Null when the dialog has no such control.
    template <class T>
    T* SubclassDlgItem(int id) {
        static_assert(std::is_base_of_v<Window, T>, "controls are windows");
        Window* old = GetDlgItem(id);
        if (old == nullptr) return nullptr;
        if (auto* same = dynamic_cast<T*>(old)) return same;
        auto fresh = std::make_unique<T>();
        T* object = fresh.get();
        AttachControl(*old, std::move(fresh));
        return object;
    }

    // Runs DoDataExchange: from the controls into the members when
    // `saveAndValidate`, else from the members into the controls. False when
    // a value was refused (the operator has been told and the control has
    // the focus).
    bool UpdateData(bool saveAndValidate = true);

    // Called by DataExchange for each bound control pointer so that it is
    // set to null when the window is destroyed.
    void AddBinding(std::function<void()> unbind);

    // ---- Owner reference ----------------------------------------------
    void SetOwnerReference(WindowHandle owner) { m_ownerReference = owner; }
    WindowHandle OwnerReference() const { return m_ownerReference; }
    // The window of the owner reference while it lives, else the parent.
    Window* GetOwnerWindow() const;
    // GetParent (Window's) is the window that owns this one (given at
    // construction or to Create); null for a window without owner.

    // ---- Timers ------------------------------------------------------
    // Starts timer `id`; a timer already running with this id is replaced.
    // False when the window does not exist.
    bool SetTimer(int id, int milliseconds);
    bool KillTimer(int id);
    bool HasTimer(int id) const { return m_timers.count(id) != 0; }

    // ---- Messages and commands ----------------------------------------
    // Handlers of posted or sent messages, by message number.
    void MapMessage(unsigned id, MessageHandler handler);
    // Handlers of control notifications, by control id and code.
    void MapCommand(int id, int code, CommandHandler handler);
    // Delivers a command as a control would (NotifyParent lands here).
    void DispatchCommand(int id, int code);
    // Gives an owner-drawn item to OnDrawItem; false when not drawn there.
    bool DispatchDrawItem(DrawItem& item);

    // ---- The window ----------------------------------------------------
    // Places the window directly behind `other` in the Z order. A window
    // in a modal run is never put beneath another: it is raised instead.
    void PlaceBehind(Window* other);
    void SetTopMost(bool topMost);
    // Lets the operator drag the window by any point of its surface that no
    // control claims (a caption-less window's drag handle).
    void EnableDragFromClientArea(bool enable) { m_dragAnywhere = enable; }

    // The colour the window's background is filled with where no control
    // covers it (CDialogEx::SetBackgroundColor; WM_CTLCOLORDLG in Win32).
    void SetBackgroundColor(ColorRef color);

    // The template's font at the layout resolution, which the controls get.
    Font TemplateFont() const { return m_templateFont; }

  protected:
    // Binds control objects to template ids (DDX_Control) and exchanges
    // values with controls (DDX_Text, DDV_MinMaxInt).
    virtual void DoDataExchange(DataExchange& dx);
    // Called once the controls exist and have been bound. Returning true
    // gives the focus to the first control that takes it.
    virtual bool OnInitDialog();
    // IDOK (button 1, the Enter key): UpdateData, then EndDialog(IDOK).
    virtual void OnOK();
    // IDCANCEL (button 2, the Escape key, closing): EndDialog(IDCANCEL).
    virtual void OnCancel();
    // Every command; the default runs the mapped handler, else OnOK for IDOK
    // and OnCancel for IDCANCEL. Returns whether it was handled.
    virtual bool OnCommand(int id, int code);
    virtual void OnTimer(int id);
    // Sees mouse moves, presses and releases and key presses of the window
    // and its controls before they are handled (the tooltip relay, keys a
    // window keeps from its controls). True swallows the event.
    virtual bool PreTranslateMessage(const InputMessage& message);
    virtual void OnShowWindow(bool show);
    // The client area moved to (x, y), screen coordinates for a window.
    virtual void OnMove(int x, int y);
    // The window was asked to close; the default issues IDCANCEL.
    virtual void OnClose();
    // The window is about to be destroyed; controls still exist.
    virtual void OnDestroy();
    virtual void OnCtlColor(Window* control, ControlColors& colors);
    virtual bool OnDrawItem(DrawItem& item);

    // Asks OnCtlColor again for one control, or for all when null.
    void RefreshControlColors(Window* control = nullptr);

  private:
    friend class DialogHost;

    // The native window; made again if an owner's destruction took it.
    DialogHost& Host() const;
    bool CreateWindowFromTemplate(Window* parent);
    void CreateControls();
    void PlaceInitially();
    // Puts `fresh` in the place of the control `old`, which goes.
    void AttachControl(Window& old, std::unique_ptr<Window> fresh);
    // Issues a dialog command as a key or closing would: nothing when the
    // control with that id exists and is disabled.
    void IssueDialogCommand(int id);
    int DefaultCommandId() const;

    const DialogTemplate* m_template;
    Font m_templateFont;
    bool m_created = false;
    bool m_modalRunning = false;
    int m_result = -1;
    int m_dispatchDepth = 0;  // > 0 while a control's notification is handled
    WindowHandle m_handle;
    WindowHandle m_ownerReference;
    std::map<int, int> m_timers;  // our id -> the backend's timer id
    std::map<unsigned, MessageHandler> m_messageHandlers;
    std::map<std::pair<int, int>, CommandHandler> m_commandHandlers;
    std::vector<std::function<void()>> m_unbinders;
    bool m_dragAnywhere = false;
};

}  // namespace platform::window
