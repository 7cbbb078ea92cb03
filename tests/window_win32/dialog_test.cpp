// Dialogs on the Win32 dialog manager: every console template becomes a
// Dialog whose controls are the layer's objects of their kind; Enter,
// Escape and the default button end a modal run through IsDialogMessage
// unless PreTranslateMessage keeps the key or the button is disabled;
// timers, posted messages and commands reach the dialog only while its
// window lives; the native controls keep their items and values.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "platform/window/button_control.h"
#include "platform/window/combo_box_control.h"
#include "platform/window/custom_control.h"
#include "platform/window/data_exchange.h"
#include "platform/window/dialog.h"
#include "platform/window/edit_control.h"
#include "platform/window/images.h"
#include "platform/window/ip_address_control.h"
#include "platform/window/list_box_control.h"
#include "platform/window/picture_control.h"
#include "platform/window/static_control.h"
#include "platform/window/win32/native_window.h"
#include "platform/window/win32/painting.h"
#include "platform/window/window_capture.h"
#include "resources/dialog_templates.h"
#include "tests/window_win32/pump_until.h"

namespace {

using namespace platform::window;
using win32_test::PumpUntil;

constexpr std::uint32_t SHOWN = WS_CHILD | WS_VISIBLE;
constexpr int IDC_LABEL = 201, IDC_ENTRY = 202, IDC_APPLY = 203, IDC_LIST = 204, IDC_CHOICE = 205,
              IDC_ADDRESS = 206, IDC_SWITCH = 207;

constexpr ControlTemplate KEYS_DIALOG_CONTROLS[] = {
    {IDC_LABEL, ControlKind::Static, 4, 4, 60, 9, SHOWN, 0, "&Channel", 0},
    {IDC_ENTRY, ControlKind::Edit, 70, 4, 40, 12, SHOWN | WS_TABSTOP | WS_BORDER, 0, "33", 0},
    {IDC_APPLY, ControlKind::Button, 4, 60, 40, 14, SHOWN | WS_TABSTOP, 0, "Apply", 0},
    {IDOK, ControlKind::Button, 50, 60, 40, 14, SHOWN | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, "OK", 0},
    {IDCANCEL, ControlKind::Button, 96, 60, 40, 14, SHOWN | WS_TABSTOP, 0, "Cancel", 0},
    {IDC_LIST,
     ControlKind::ListBox,
     4,
     20,
     60,
     36,
     SHOWN | LBS_SORT | LBS_NOTIFY | WS_VSCROLL,
     0,
     {},
     0},
    {IDC_CHOICE, ControlKind::ComboBox, 70, 20, 60, 60, SHOWN | CBS_DROPDOWNLIST, 0, {}, 0},
    {IDC_ADDRESS, ControlKind::IpAddress, 70, 40, 70, 12, SHOWN | WS_TABSTOP, 0, {}, 0},
    {IDC_SWITCH, ControlKind::CheckBox, 140, 4, 40, 10, SHOWN | BS_AUTOCHECKBOX, 0, "On", 0},
};

constexpr DialogTemplate KeysDialogTemplate() {
    DialogTemplate dialog;
    dialog.id = 9101;
    dialog.style = DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    dialog.cx = 190;
    dialog.cy = 80;
    dialog.caption = "Keys";
    dialog.pointSize = 8;
    dialog.faceName = "Tahoma";
    dialog.controls = KEYS_DIALOG_CONTROLS;
    return dialog;
}
constexpr DialogTemplate KEYS_DIALOG = KeysDialogTemplate();

// A dialog the test scripts: what runs in OnInitDialog, which keys
// PreTranslateMessage keeps, what it records.
class ScriptedDialog : public Dialog {
  public:
    ScriptedDialog() : Dialog(&KEYS_DIALOG) {}
    std::function<void(ScriptedDialog&)> onInit;
    unsigned keptKey = 0;
    std::vector<int> timerTicks;

    std::vector<std::pair<int, int>> commands;
    using Dialog::KillTimer;
    using Dialog::SetTimer;

  protected:
    bool OnInitDialog() override {
        if (onInit) onInit(*this);
        return true;
    }
    bool PreTranslateMessage(const InputMessage& message) override {
        if (message.message == WM_LBUTTONUP) releasedOver.push_back(message.window);
        return message.message == WM_KEYDOWN && message.wParam == keptKey && keptKey != 0;
    }

  public:
    std::vector<Window*> releasedOver;

  protected:
  public:
    bool endOnTimer = false;

  protected:
    void OnTimer(int id) override {
        timerTicks.push_back(id);
        if (endOnTimer) EndDialog(-2);
    }
    bool OnCommand(int id, int code) override {
        commands.emplace_back(id, code);
        return Dialog::OnCommand(id, code);
    }
};

HWND Hwnd(const Window* window) {
    return window != nullptr ? win32::HwndOf(*window) : nullptr;
}

// Every console template: each control with an id is the layer's object of
// its kind on the dialog manager's window of that id, with the template's
// type bits (also where the backend draws a button itself) and text.
TEST(Win32Dialog, EveryTemplateGivesEachControlTheObjectOfItsKind) {
    const auto kindMatches = [](ControlKind kind, Window* control) {
        switch (kind) {
            case ControlKind::Static:
                return dynamic_cast<StaticControl*>(control) != nullptr;
            case ControlKind::Picture:
                return dynamic_cast<PictureControl*>(control) != nullptr;
            case ControlKind::Edit:
                return dynamic_cast<EditControl*>(control) != nullptr;
            case ControlKind::ComboBox:
                return dynamic_cast<ComboBoxControl*>(control) != nullptr;
            case ControlKind::ListBox:
                return dynamic_cast<ListBoxControl*>(control) != nullptr;
            case ControlKind::Button:
                return dynamic_cast<ButtonControl*>(control) != nullptr;
            case ControlKind::CheckBox:
                return dynamic_cast<CheckBoxControl*>(control) != nullptr;
            case ControlKind::IpAddress:
                return dynamic_cast<IpAddressControl*>(control) != nullptr;
            case ControlKind::Custom:
                return dynamic_cast<CustomControl*>(control) != nullptr;
            default:
                return control != nullptr;
        }
    };
    int checked = 0;
    for (const DialogTemplate* tmpl : res::AllDialogTemplates()) {
        SCOPED_TRACE("template " + std::to_string(tmpl->id));
        Dialog dialog(tmpl);
        ASSERT_TRUE(dialog.Create());
        ASSERT_TRUE(dialog.HasWindow());
        for (const ControlTemplate& item : tmpl->controls) {
            if (item.id < 0 || item.id == 0xFFFF) continue;
            SCOPED_TRACE("control " + std::to_string(item.id));
            Window* control = dialog.GetDlgItem(item.id);
            ASSERT_NE(control, nullptr);
            EXPECT_TRUE(kindMatches(item.kind, control));
            EXPECT_EQ(control->GetDlgCtrlID(), item.id);
            EXPECT_EQ(control->GetParent(), &dialog);
            if (item.kind == ControlKind::Button || item.kind == ControlKind::CheckBox) {
                EXPECT_EQ(control->GetStyle() & BS_TYPEMASK, item.style & BS_TYPEMASK);
                EXPECT_EQ(control->GetWindowText(), item.text);
            }
            ++checked;
        }
        dialog.DestroyWindow();
        EXPECT_FALSE(dialog.HasWindow());
        EXPECT_EQ(dialog.Handle(), WindowHandle());
    }
    EXPECT_GT(checked, 100);
}

// Keys posted to the focused control go through the modal loop, as the
// operator's would: the result is the command the dialog manager makes;
// -2 when none ended the run and the timer did.
TEST(Win32Dialog, EnterAndEscapeEndTheModalRunUnlessKeptOrDisabled) {
    struct Case {
        const char* name;
        unsigned key;
        int disabled;   // a button disabled first, or 0
        int defaultId;  // DM_SETDEFID first, or 0
        unsigned kept;  // the key PreTranslateMessage keeps, or 0
        int expected;
    };
    const Case cases[] = {
        {"Enter: the template's default button", VK_RETURN, 0, 0, 0, IDOK},
        {"Escape: Cancel", VK_ESCAPE, 0, 0, 0, IDCANCEL},
        {"Enter: another default button", VK_RETURN, 0, IDC_APPLY, 0, IDC_APPLY},
        {"Enter with OK disabled", VK_RETURN, IDOK, 0, 0, -2},
        {"Escape with Cancel disabled", VK_ESCAPE, IDCANCEL, 0, 0, -2},
        {"Escape kept by PreTranslateMessage", VK_ESCAPE, 0, 0, VK_ESCAPE, -2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedDialog dialog;
        dialog.keptKey = c.kept;
        dialog.onInit = [&c](ScriptedDialog& d) {
            if (c.disabled != 0) d.GetDlgItem(c.disabled)->EnableWindow(false);
            if (c.defaultId != 0)
                SendMessageW(Hwnd(&d), DM_SETDEFID, static_cast<WPARAM>(c.defaultId), 0);
            d.MapCommand(IDC_APPLY, BN_CLICKED, [&d] { d.EndDialog(IDC_APPLY); });
            PostMessageW(Hwnd(d.GetDlgItem(IDC_ENTRY)), WM_KEYDOWN, c.key, 0);
            d.SetTimer(1, 400);
        };
        dialog.endOnTimer = true;
        EXPECT_EQ(dialog.DoModal(), c.expected);
        EXPECT_FALSE(dialog.HasWindow());
    }
}

// A modal run blocks the program's other windows until it ends, and a
// modal window opened inside it is owned by it (so it stays above it).
TEST(Win32Dialog, AModalRunBlocksTheOtherWindowsAndOwnsTheNextOne) {
    ScriptedDialog panel;
    ASSERT_TRUE(panel.Create());
    panel.ShowWindow(SW_SHOWNOACTIVATE);
    ScriptedDialog outer;
    bool panelBlocked = false;
    HWND innerOwner = nullptr;
    bool outerBlockedByInner = false;
    outer.onInit = [&](ScriptedDialog& d) {
        d.MapMessage(WM_APP + 2, [&](Message&) {
            panelBlocked = !panel.IsWindowEnabled();
            ScriptedDialog inner;
            inner.onInit = [&](ScriptedDialog& i) {
                innerOwner = GetWindow(Hwnd(&i), GW_OWNER);
                i.MapMessage(WM_APP + 3, [&](Message&) {
                    outerBlockedByInner = !d.IsWindowEnabled();
                    i.EndDialog(IDOK);
                    return 0;
                });
                PostMessage(i.Handle(), WM_APP + 3);
            };
            inner.DoModal();
            d.EndDialog(IDOK);
            return 0;
        });
        PostMessage(d.Handle(), WM_APP + 2);
    };
    EXPECT_EQ(outer.DoModal(), IDOK);
    EXPECT_TRUE(panelBlocked);
    EXPECT_TRUE(outerBlockedByInner);
    EXPECT_NE(innerOwner, nullptr);
    EXPECT_TRUE(panel.IsWindowEnabled());
}

// Timers, posted messages and commands reach the dialog while its window
// lives; a message posted after the window went is refused and its
// payload freed, a timer cannot start without a window.
TEST(Win32Dialog, TimersMessagesAndCommandsReachOnlyALiveWindow) {
    ScriptedDialog dialog;
    int received = 0;
    dialog.MapMessage(WM_APP + 1, [&received](Message& message) {
        received += static_cast<int>(message.wParam);
        return 0;
    });
    EXPECT_FALSE(dialog.SetTimer(1, 10));
    ASSERT_TRUE(dialog.Create());
    const WindowHandle handle = dialog.Handle();
    EXPECT_TRUE(dialog.SetTimer(1, 10));
    EXPECT_TRUE(dialog.SetTimer(2, 15));
    EXPECT_TRUE(PostMessage(handle, WM_APP + 1, 5));
    // A menu's choice comes as a posted WM_COMMAND.
    EXPECT_TRUE(PostMessage(handle, WM_COMMAND, MakeWParam(IDC_APPLY, BN_CLICKED)));
    const auto commanded = [&dialog](int id, int code) {
        return std::find(dialog.commands.begin(), dialog.commands.end(),
                         std::make_pair(id, code)) != dialog.commands.end();
    };
    ASSERT_TRUE(PumpUntil([&] {
        return received == 5 && dialog.timerTicks.size() >= 4 && commanded(IDC_APPLY, BN_CLICKED);
    }));
    // A click on a control is its BN_CLICKED.
    SendMessageW(Hwnd(dialog.GetDlgItem(IDC_SWITCH)), BM_CLICK, 0, 0);
    EXPECT_EQ(dialog.commands.back(), std::make_pair(IDC_SWITCH, BN_CLICKED));
    EXPECT_EQ(dialog.GetDlgItemAs<ButtonControl>(IDC_SWITCH)->GetCheck(), BST_CHECKED);

    EXPECT_TRUE(dialog.KillTimer(1));
    EXPECT_FALSE(dialog.KillTimer(1));
    dialog.timerTicks.clear();
    ASSERT_TRUE(PumpUntil([&] { return dialog.timerTicks.size() >= 3; }));
    for (int id : dialog.timerTicks) EXPECT_EQ(id, 2);

    dialog.DestroyWindow();
    EXPECT_FALSE(dialog.HasTimer(2));
    auto payload = std::make_unique<int>(7);
    EXPECT_FALSE(PostMessage(handle, WM_APP + 1, 1, 0, std::move(payload)));
    PumpMessages(50);
    EXPECT_EQ(received, 5);
}

// The native controls keep what the program gives them, with Win32's
// answers for what does not exist.
TEST(Win32Dialog, NativeControlsKeepItemsSelectionAndAddress) {
    ScriptedDialog dialog;
    ASSERT_TRUE(dialog.Create());
    auto* list = dialog.GetDlgItemAs<ListBoxControl>(IDC_LIST);
    auto* combo = dialog.GetDlgItemAs<ComboBoxControl>(IDC_CHOICE);
    auto* address = dialog.GetDlgItemAs<IpAddressControl>(IDC_ADDRESS);
    auto* entry = dialog.GetDlgItemAs<EditControl>(IDC_ENTRY);
    ASSERT_TRUE(list && combo && address && entry);

    // The list sorts without regard to case; items keep their data.
    for (const char* text : {"beta", "Alpha", "gamma"}) list->AddString(text);
    EXPECT_EQ(list->GetText(0), "Alpha");
    EXPECT_EQ(list->InsertString(-1, "Äpfel"), 3);
    EXPECT_EQ(list->GetText(3), "Äpfel");
    EXPECT_EQ(list->SetItemData(1, 4242), 0);
    EXPECT_EQ(list->GetItemData(1), 4242);
    EXPECT_EQ(list->SetCurSel(2), 2);
    EXPECT_EQ(list->GetCurSel(), 2);
    EXPECT_EQ(list->SetCurSel(9), LB_ERR);
    EXPECT_EQ(list->GetText(9), "");
    EXPECT_EQ(list->DeleteString(0), 3);
    EXPECT_TRUE(list->GetItemRect(0).Height() > 0);

    for (const char* text : {"QPSK", "8PSK"}) combo->AddString(text);
    EXPECT_EQ(combo->GetCount(), 2);
    EXPECT_EQ(combo->GetCurSel(), CB_ERR);
    EXPECT_EQ(combo->SetCurSel(1), 1);
    EXPECT_EQ(combo->GetLBText(1), "8PSK");
    EXPECT_EQ(combo->SetItemData(5, 1), CB_ERR);

    struct AddressCase {
        std::uint32_t set;
        bool clear;
        int filled;
        const char* text;
    };
    for (const AddressCase& c :
         {AddressCase{MakeIpAddress(192, 168, 1, 40), false, 4, "192.168.1.40"},
          AddressCase{0, false, 4, "0.0.0.0"}, AddressCase{0, true, 0, "..."}}) {
        SCOPED_TRACE(c.text);
        if (c.clear)
            address->ClearAddress();
        else
            address->SetAddress(c.set);
        std::uint32_t got = 1;
        EXPECT_EQ(address->GetAddress(got), c.filled);
        EXPECT_EQ(got, c.set);
        EXPECT_EQ(address->IsBlank(), c.filled == 0);
        EXPECT_EQ(address->Text(), c.text);
    }

    entry->SetText("Kanal 33 ü");
    EXPECT_EQ(entry->GetText(), "Kanal 33 ü");
    entry->LimitText(4);
    SendMessageW(Hwnd(entry), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    SendMessageW(Hwnd(entry), WM_CHAR, L'1', 0);
    for (wchar_t c : std::wstring(L"23456")) SendMessageW(Hwnd(entry), WM_CHAR, c, 0);
    EXPECT_EQ(entry->GetText(), "1234");
}

// Classes of the dialog's own take over template controls (DDX_Control):
// the same window, now painted by the new object, which saw the template's
// style and text; a button class that paints itself hears each push once
// and still clicks; OnCtlColor colours the labels; bound pointers are null
// once the window goes.
class Swatch : public Window {
  public:
    Swatch() { SetPaintsItself(true); }
    std::uint32_t styleSeen = 0;
    std::string textSeen;
    void PreSubclassWindow() override {
        styleSeen = GetStyle();
        textSeen = GetWindowText();
    }

  protected:
    void OnPaint(DeviceContext& dc) override { dc.FillRect(GetClientRect(), Rgb(200, 0, 0)); }
};

class PaintedButton : public ButtonControl {
  public:
    PaintedButton() { SetPaintsItself(true); }
    int pushes = 0;

  protected:
    void OnPaint(DeviceContext& dc) override {
        const bool pushed = (GetState() & BST_PUSHED) != 0;
        dc.FillRect(GetClientRect(), pushed ? Rgb(0, 0, 200) : Rgb(0, 160, 0));
    }
    void OnPushStarted() override { ++pushes; }
};

class BindingDialog : public ScriptedDialog {
  public:
    Swatch* swatch = nullptr;
    PaintedButton* button = nullptr;

  protected:
    void DoDataExchange(DataExchange& dx) override {
        DDX_Control(dx, IDC_LABEL, swatch);
        DDX_Control(dx, IDC_APPLY, button);
    }
    void OnCtlColor(Window* control, ControlColors& colors) override {
        if (colors.kind == ControlKind::CheckBox && control != nullptr)
            colors.text = Rgb(255, 0, 255);
    }
};

Gdiplus::Color PixelAt(const Image& image, const Rect& rect) {
    Gdiplus::Color color;
    image.Get()->bitmap->GetPixel((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2,
                                  &color);
    return color;
}

TEST(Win32Dialog, ClassesOfTheDialogsOwnTakeOverTemplateControls) {
    BindingDialog dialog;
    ASSERT_TRUE(dialog.Create());
    ASSERT_NE(dialog.swatch, nullptr);
    ASSERT_NE(dialog.button, nullptr);
    EXPECT_EQ(dialog.GetDlgItem(IDC_LABEL), dialog.swatch);
    EXPECT_EQ(dialog.swatch->textSeen, "&Channel");
    EXPECT_EQ(dialog.swatch->styleSeen & WS_VISIBLE, WS_VISIBLE);
    // Bound again by a second exchange, the objects stay.
    EXPECT_TRUE(dialog.UpdateData(false));
    EXPECT_EQ(dialog.GetDlgItem(IDC_APPLY), dialog.button);
    EXPECT_EQ(dialog.button->GetStyle() & BS_TYPEMASK, BS_PUSHBUTTON);

    dialog.ShowWindow(SW_SHOWNOACTIVATE);
    HWND button = Hwnd(dialog.button);
    // A press and release on the button: one push, one click.
    SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    EXPECT_EQ(dialog.button->GetState() & BST_PUSHED, BST_PUSHED);
    SendMessageW(button, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(4, 3));
    SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(4, 3));
    EXPECT_EQ(dialog.button->pushes, 1);
    PumpMessages(50);
    EXPECT_NE(std::find(dialog.commands.begin(), dialog.commands.end(),
                        std::make_pair(IDC_APPLY, BN_CLICKED)),
              dialog.commands.end());

    const Image shot = CaptureWindow(dialog);
    ASSERT_FALSE(shot.IsNull());
    const Gdiplus::Color label = PixelAt(shot, dialog.swatch->GetPlacement());
    EXPECT_EQ(label.GetR(), 200);
    EXPECT_EQ(label.GetG(), 0);
    const Gdiplus::Color painted = PixelAt(shot, dialog.button->GetPlacement());
    EXPECT_EQ(painted.GetG(), 160);
    EXPECT_EQ(painted.GetB(), 0);
    // The check box's text in the colour OnCtlColor gave it.
    const Rect box = dialog.GetDlgItem(IDC_SWITCH)->GetPlacement();
    int magenta = 0;
    for (int y = box.top; y < box.bottom; ++y)
        for (int x = box.left; x < box.right; ++x) {
            Gdiplus::Color c;
            shot.Get()->bitmap->GetPixel(x, y, &c);
            if (c.GetR() > 180 && c.GetG() < 90 && c.GetB() > 180) ++magenta;
        }
    EXPECT_GT(magenta, 3);

    dialog.DestroyWindow();
    EXPECT_EQ(dialog.swatch, nullptr);
    EXPECT_EQ(dialog.button, nullptr);
}

// What lies behind a control shows where the control paints no background
// of its own: a label on a dialog that paints itself, a flat picture
// button on the window's background picture (a backdrop on top of the Z
// order, which must not cover the controls raised above it either).
constexpr int IDC_BACKDROP = 301, IDC_FLAT = 302, IDC_NOTE = 303;
constexpr ControlTemplate BACKDROP_CONTROLS[] = {
    {IDC_BACKDROP, ControlKind::Picture, 0, 0, 120, 60, SHOWN, 0, {}, 131},
    {IDC_FLAT, ControlKind::Button, 4, 4, 20, 14, SHOWN | BS_FLAT | BS_BITMAP, 0, {}, 0},
    {IDC_NOTE, ControlKind::Static, 40, 30, 60, 10, SHOWN, 0, "note", 0},
};
constexpr DialogTemplate BackdropTemplate() {
    DialogTemplate dialog = KeysDialogTemplate();
    dialog.id = 9102;
    dialog.cx = 120;
    dialog.cy = 60;
    dialog.controls = BACKDROP_CONTROLS;
    return dialog;
}
constexpr DialogTemplate BACKDROP_DIALOG = BackdropTemplate();

class PatternDialog : public Dialog {
  public:
    explicit PatternDialog(bool paints) : Dialog(&BACKDROP_DIALOG) {
        if (paints) SetPaintsItself(true);
    }

  protected:
    void OnPaint(DeviceContext& dc) override { dc.FillRect(GetClientRect(), Rgb(0, 90, 200)); }
};

TEST(Win32Dialog, WhatLiesBehindShowsWhereControlsPaintNoBackground) {
    const Image art = LoadBitmap(131);
    ASSERT_FALSE(art.IsNull());
    const auto same = [](Gdiplus::Color a, Gdiplus::Color b) {
        return std::abs(a.GetR() - b.GetR()) <= 2 && std::abs(a.GetG() - b.GetG()) <= 2 &&
               std::abs(a.GetB() - b.GetB()) <= 2;
    };
    for (const bool paints : {false, true}) {
        SCOPED_TRACE(paints ? "a dialog that paints itself" : "a backdrop picture");
        PatternDialog dialog(paints);
        ASSERT_TRUE(dialog.Create());
        auto* flat = dialog.GetDlgItemAs<ButtonControl>(IDC_FLAT);
        ASSERT_NE(flat, nullptr);
        // A small picture, raised above the backdrop as the skin does.
        flat->SetBitmap(CreateImage(Size{4, 4}, Rgb(255, 0, 0)));
        flat->BringWindowToTop();
        dialog.ShowWindow(SW_SHOWNOACTIVATE);
        PumpMessages(100);
        const Image shot = CaptureWindow(dialog);
        ASSERT_FALSE(shot.IsNull());
        const auto at = [&shot](int x, int y) {
            Gdiplus::Color c;
            shot.Get()->bitmap->GetPixel(x, y, &c);
            return c;
        };
        const auto artAt = [&art](int x, int y) {
            Gdiplus::Color c;
            art.Get()->bitmap->GetPixel(x, y, &c);
            return c;
        };
        const Rect button = flat->GetPlacement();
        const Rect note = dialog.GetDlgItem(IDC_NOTE)->GetPlacement();
        // The picture stays on top, red, in the button's middle.
        EXPECT_TRUE(same(at((button.left + button.right) / 2, (button.top + button.bottom) / 2),
                         Gdiplus::Color(255, 255, 0, 0)));
        // Around it, and behind the label's text, the backdrop's pixels.
        EXPECT_TRUE(
            same(at(button.left + 1, button.top + 1), artAt(button.left + 1, button.top + 1)));
        EXPECT_TRUE(
            same(at(note.right - 2, note.bottom - 2), artAt(note.right - 2, note.bottom - 2)));
        dialog.DestroyWindow();
    }
}

// A release over a label reaches the dialog (a static lets clicks through),
// but PreTranslateMessage is told the label, as the program sees the
// control under the pointer; over no control, the dialog.
TEST(Win32Dialog, InputNamesTheControlUnderThePointer) {
    ScriptedDialog dialog;
    ASSERT_TRUE(dialog.Create());
    dialog.ShowWindow(SW_SHOWNOACTIVATE);
    PumpMessages(50);
    const Rect label = dialog.GetDlgItem(IDC_LABEL)->GetWindowRect();
    const Rect whole = dialog.GetWindowRect();
    const std::pair<Point, Window*> cases[] = {
        {Point{(label.left + label.right) / 2, (label.top + label.bottom) / 2},
         dialog.GetDlgItem(IDC_LABEL)},
        {Point{whole.right - 3, whole.bottom - 3}, &dialog},
    };
    for (const auto& [point, expected] : cases) {
        if (!SetCursorPos(point.x, point.y))
            GTEST_SKIP() << "the X server refuses to move the pointer";
        dialog.releasedOver.clear();
        PostMessageW(Hwnd(&dialog), WM_LBUTTONUP, 0, 0);
        ASSERT_TRUE(PumpUntil([&] { return !dialog.releasedOver.empty(); }));
        EXPECT_EQ(dialog.releasedOver.front(), expected);
    }
}

}  // namespace
