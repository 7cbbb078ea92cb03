// CContentSelectDlg: the modal dialog in which the operator edits the PIDs a
// receiver passes, typed in decimal or hexadecimal, 32 to 8191, at most 32.
// For an R40V (device type 8) given the forwarding form of the list, each PID
// can be marked as a video PID with a UDP forwarding destination, entered in
// the video PID dialog.
//
// The dialog edits the caller's record: the forwarding form while it runs
// (also when it ends with Cancel), closing the gaps on OK; the standard form
// only on OK, rebuilt from the list in the list's order. The caller uses the
// record only when IsConfirmed is true.
//
//   CContentSelectDlg dialog(deviceType);
//   dialog.SetOwnerReference(menu.Handle());
//   dialog.AttachPidList(&record);   // TrevanPidListRecord for type 8
//   dialog.DoModal();
//   if (dialog.IsConfirmed()) ... send the record ...
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "devicelib/devicelib.h"
#include "dialogs/pid_list_slots.h"
#include "platform/window/balloon_tooltip.h"
#include "platform/window/dialog.h"

namespace platform::window {
class ButtonControl;
class EditControl;
class ListBoxControl;
}  // namespace platform::window
namespace skin {
class CRedCheckBox;
class CTransparentStatic;
}  // namespace skin

namespace dialogs {

class CContentSelectDlg : public platform::window::Dialog {
  public:
    static constexpr int TIMER_MESSAGE_CLEAR = 1;
    static constexpr int MESSAGE_CLEAR_MS = 1200;
    static constexpr int MIN_PID = 32;
    static constexpr int MAX_PID = 8191;
    // The Add button goes once an Add has brought the list above this.
    static constexpr int ADD_BUTTON_LIMIT = 16;

    explicit CContentSelectDlg(std::uint16_t deviceType);
    ~CContentSelectDlg() override;

    // The record the dialog edits; it stays the caller's and must outlive
    // the dialog's window. A null record leaves the list empty.
    void AttachPidList(PidListRecord* list) { m_pidList = PidListSlots(list); }
    void AttachPidList(TrevanPidListRecord* list) { m_pidList = PidListSlots(list); }

    bool IsConfirmed() const { return m_confirmed; }

    // True while the dialog edits destinations: device type 8 with the
    // forwarding form attached.
    bool EditsDestinations() const;

    platform::window::BalloonToolTip& ToolTip() { return m_toolTip; }

  protected:
    void DoDataExchange(platform::window::DataExchange& dx) override;
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnShowWindow(bool show) override;
    void OnTimer(int id) override;
    void OnDestroy() override;
    bool PreTranslateMessage(const platform::window::InputMessage& message) override;
    void OnCtlColor(platform::window::Window* control,
                    platform::window::ControlColors& colors) override;

  private:
    void OnDecimalBox();
    void OnHexBox();
    void OnAdd();
    void OnRemove();
    void OnClear();
    void OnSelectionChange();
    void OnVideoPidBox();

    void AddListEntry(std::uint16_t pid);
    bool ListHolds(std::uint16_t pid) const;
    // The PID of the selected entry, or nothing.
    std::optional<std::uint16_t> SelectedPid() const;
    // The slot an Add may use in the forwarding form, or nothing.
    std::optional<int> FreeSlot() const;
    // Runs the video PID dialog for `slot`; the destination entered when the
    // operator confirmed it.
    std::optional<PidDestination> AskDestination(int slot);
    void CloseGaps();
    void RebuildFromList();
    void ShowMessage(std::string_view text);

    std::uint16_t m_deviceType;
    PidListSlots m_pidList;
    std::string m_entryText;
    bool m_decimalMode = false;
    bool m_confirmed = false;
    platform::window::BalloonToolTip m_toolTip;

    platform::window::EditControl* m_entry = nullptr;
    platform::window::ListBoxControl* m_list = nullptr;
    platform::window::ButtonControl* m_addButton = nullptr;
    skin::CRedCheckBox* m_decimalBox = nullptr;
    skin::CRedCheckBox* m_hexBox = nullptr;
    skin::CRedCheckBox* m_videoPidBox = nullptr;
    skin::CTransparentStatic* m_message = nullptr;
    skin::CTransparentStatic* m_pidLabel = nullptr;
    skin::CTransparentStatic* m_decimalLabel = nullptr;
    skin::CTransparentStatic* m_hexLabel = nullptr;
};

}  // namespace dialogs
