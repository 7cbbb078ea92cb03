// Dialog templates as the Win32 dialog manager's in-memory records: every
// console template, and one made here with every kind of control, becomes
// a dialog through CreateDialogIndirectParamW with each control of its id,
// class, style and text, at the pixels the dialog manager maps its dialog
// units to, which is what the layer's own arithmetic predicts from base
// units Windows measures in the template's font; Enter and Escape reach the
// dialog as the default button, IDOK and IDCANCEL through IsDialogMessage.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/window/application.h"
#include "platform/window/dialog_unit_pixels.h"
#include "platform/window/win32/dialog_template_record.h"
#include "platform/window/win32/text_conversion.h"
#include "resources/dialog_templates.h"
#include "resources/ids.h"

namespace {

using namespace platform::window;
using win32::DialogTemplateRecord;

constexpr std::uint32_t CHILD = WS_CHILD | WS_VISIBLE;

// A captioned pop-up of the test's own in Tahoma.
constexpr DialogTemplate TestDialog(int id, std::string_view caption, std::int16_t points,
                                    int weight, bool italic,
                                    std::span<const ControlTemplate> controls) {
    DialogTemplate dialog;
    dialog.id = id;
    dialog.style = DS_SETFONT | WS_POPUP | WS_CAPTION;
    dialog.cx = 180;
    dialog.cy = 104;
    dialog.caption = caption;
    dialog.pointSize = points;
    dialog.weight = weight;
    dialog.italic = italic;
    dialog.faceName = "Tahoma";
    dialog.controls = controls;
    return dialog;
}

// Every kind of control, texts outside ASCII and of odd and even lengths
// (the items behind them must still start on DWORDs), a font of its own.
constexpr ControlTemplate EVERY_KIND_CONTROLS[] = {
    {101, ControlKind::Static, 4, 3, 60, 9, CHILD | SS_RIGHT, 0, "Kanal ü", 0},
    {102, ControlKind::Picture, 70, 3, 20, 20, CHILD | SS_ICON | SS_CENTERIMAGE, 0, {}, 7},
    {103, ControlKind::GroupBox, 4, 14, 90, 40, CHILD, 0, "Gruppe €", 0},
    {104, ControlKind::Frame, 8, 24, 30, 20, CHILD | SS_ETCHEDFRAME, 0, {}, 0},
    {105, ControlKind::Edit, 40, 24, 50, 12, CHILD | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE,
     "33", 0},
    {106, ControlKind::ComboBox, 100, 3, 60, 50, CHILD | WS_TABSTOP | CBS_DROPDOWNLIST, 0, {}, 0},
    {107,
     ControlKind::ListBox,
     100,
     20,
     60,
     33,
     CHILD | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL,
     0,
     {},
     0},
    {108, ControlKind::Button, 4, 58, 40, 14, CHILD | WS_TABSTOP | BS_DEFPUSHBUTTON, 0,
     "Übernehmen", 0},
    {109, ControlKind::CheckBox, 50, 58, 50, 10, CHILD | WS_TABSTOP | BS_AUTOCHECKBOX, 0, "Ein", 0},
    {110, ControlKind::IpAddress, 100, 58, 70, 12, CHILD | WS_TABSTOP, 0, {}, 0},
    {111, ControlKind::Custom, 4, 76, 26, 24, WS_CHILD, 0, {}, 0},
    {-1, ControlKind::Static, 40, 76, 1, 1, CHILD, 0, "x", 0},
};
constexpr DialogTemplate EVERY_KIND =
    TestDialog(9001, "Empfänger", -8, 700, true, EVERY_KIND_CONTROLS);

// What the test reads back about each kind, written out here rather than
// taken from the record's own table: the window class, the bits that are
// the control's type, whether its window text is the template's text.
struct KindFacts {
    const char* windowClass;
    DWORD typeMask;
    bool showsText;
};
KindFacts FactsOf(ControlKind kind) {
    switch (kind) {
        case ControlKind::Static:
            return {"Static", SS_TYPEMASK, true};
        case ControlKind::Picture:
        case ControlKind::Frame:
            return {"Static", SS_TYPEMASK, false};
        case ControlKind::GroupBox:
        case ControlKind::Button:
        case ControlKind::CheckBox:
            return {"Button", BS_TYPEMASK, true};
        case ControlKind::Edit:
            return {"Edit", 0, true};
        case ControlKind::ComboBox:
            return {"ComboBox", 0, false};
        case ControlKind::ListBox:
            return {"ListBox", 0, false};
        case ControlKind::IpAddress:
            return {"SysIPAddress32", 0, false};
        case ControlKind::Custom:
            return {"R40.Window", 0, false};
    }
    return {"", 0, false};
}

// Records the WM_COMMAND ids the dialog receives (DWLP_USER holds the list).
INT_PTR CALLBACK RecordingProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        return FALSE;  // the test places the focus itself
    }
    if (message == WM_COMMAND) {
        auto* commands = reinterpret_cast<std::vector<int>*>(GetWindowLongPtrW(dialog, DWLP_USER));
        if (commands != nullptr) commands->push_back(LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

struct DialogDeleter {
    void operator()(HWND hwnd) const { DestroyWindow(hwnd); }
};
using DialogWindow = std::unique_ptr<std::remove_pointer_t<HWND>, DialogDeleter>;

DialogWindow CreateFromTemplate(const DialogTemplate& dialog, std::vector<int>* commands) {
    const DialogTemplateRecord record(dialog);
    return DialogWindow(CreateDialogIndirectParamW(GetModuleHandleW(nullptr), record.Get(), nullptr,
                                                   RecordingProcedure,
                                                   reinterpret_cast<LPARAM>(commands)));
}

// Base units as Windows measures them in the dialog's font: the average
// width of the 52 letters and the full height with internal leading.
BaseUnits MeasuredBaseUnits(HWND dialog) {
    HDC dc = GetDC(dialog);
    HGDIOBJ previous =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0)));
    SIZE letters{};
    GetTextExtentPoint32W(dc, L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ", 52,
                          &letters);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, previous);
    ReleaseDC(dialog, dc);
    return {static_cast<int>((letters.cx / 26 + 1) / 2), static_cast<int>(metrics.tmHeight)};
}

std::vector<HWND> ChildrenInOrder(HWND dialog) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

RECT RectInDialog(HWND control, HWND dialog) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::string ClassName(HWND hwnd) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return win32::Narrow(name);
}

std::string WindowText(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return win32::Narrow(text);
}

using Win32DialogTemplateRecord = testing::Test;  // the program has started the window system

TEST_F(Win32DialogTemplateRecord, EveryTemplateBecomesADialogOfItsControls) {
    std::vector<const DialogTemplate*> templates(res::AllDialogTemplates().begin(),
                                                 res::AllDialogTemplates().end());
    templates.push_back(&EVERY_KIND);
    ASSERT_GT(templates.size(), 10u);
    for (const DialogTemplate* dialog : templates) {
        SCOPED_TRACE("template " + std::to_string(dialog->id));
        DialogWindow window = CreateFromTemplate(*dialog, nullptr);
        ASSERT_NE(window, nullptr) << "error " << GetLastError();
        HWND hwnd = window.get();

        // The dialog in its template's font, caption and size.
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)), sizeof font,
                   &font);
        HDC screen = GetDC(nullptr);
        const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        EXPECT_EQ(win32::Narrow(font.lfFaceName), dialog->faceName);
        EXPECT_EQ(-font.lfHeight, CharacterHeightPixels(std::abs(dialog->pointSize), dpi));
        EXPECT_EQ(font.lfWeight, dialog->weight);
        EXPECT_EQ(font.lfItalic != 0, dialog->italic);
        EXPECT_EQ(WindowText(hwnd), dialog->caption);
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)) & dialog->style &
                      ~(DS_SETFONT | DS_MODALFRAME | DS_CENTER),
                  dialog->style & ~(DS_SETFONT | DS_MODALFRAME | DS_CENTER));

        const BaseUnits base = MeasuredBaseUnits(hwnd);
        RECT client{};
        GetClientRect(hwnd, &client);
        EXPECT_EQ(client.right, HorizontalPixels(dialog->cx, base));
        EXPECT_EQ(client.bottom, VerticalPixels(dialog->cy, base));

        const std::vector<HWND> children = ChildrenInOrder(hwnd);
        ASSERT_EQ(children.size(), dialog->controls.size());
        for (std::size_t i = 0; i < children.size(); ++i) {
            const ControlTemplate& control = dialog->controls[i];
            HWND child = children[i];
            SCOPED_TRACE("control " + std::to_string(i) + " id " + std::to_string(control.id));
            EXPECT_EQ(static_cast<int>(GetWindowLongPtrW(child, GWLP_ID)), control.id);
            const KindFacts facts = FactsOf(control.kind);
            EXPECT_EQ(ClassName(child), facts.windowClass);
            const DWORD style = static_cast<DWORD>(GetWindowLongW(child, GWL_STYLE));
            const DWORD exStyle = static_cast<DWORD>(GetWindowLongW(child, GWL_EXSTYLE));
            // A border may become the three-dimensional client edge; a
            // list's scroll bars come and go with its items.
            DWORD comesAndGoes = 0;
            if ((control.style & WS_BORDER) != 0 && (exStyle & WS_EX_CLIENTEDGE) != 0)
                comesAndGoes |= WS_BORDER;
            if (control.kind == ControlKind::ListBox || control.kind == ControlKind::ComboBox)
                comesAndGoes |= WS_VSCROLL | WS_HSCROLL;
            EXPECT_EQ(style & control.style & ~comesAndGoes, control.style & ~comesAndGoes)
                << std::hex << "style " << style << " ex " << exStyle << " template "
                << control.style;
            EXPECT_EQ(exStyle & control.exStyle, control.exStyle);
            const DWORD typeMask = facts.typeMask;
            const DWORD expectedType =
                control.kind == ControlKind::GroupBox ? BS_GROUPBOX
                : control.kind == ControlKind::Picture && (control.style & SS_TYPEMASK) != SS_ICON
                    ? SS_BITMAP
                    : control.style & typeMask;
            EXPECT_EQ(style & typeMask, expectedType);
            if (facts.showsText) {
                EXPECT_EQ(WindowText(child), control.text);
            }

            // Where the dialog manager put it, where MapDialogRect says and
            // where the layer's arithmetic says.
            RECT mapped{control.x, control.y, control.cx, control.cy};
            ASSERT_TRUE(MapDialogRect(hwnd, &mapped));
            const RECT predicted{HorizontalPixels(control.x, base), VerticalPixels(control.y, base),
                                 HorizontalPixels(control.cx, base),
                                 VerticalPixels(control.cy, base)};
            EXPECT_EQ(mapped.left, predicted.left);
            EXPECT_EQ(mapped.top, predicted.top);
            EXPECT_EQ(mapped.right, predicted.right);
            EXPECT_EQ(mapped.bottom, predicted.bottom);
            const RECT placed = RectInDialog(child, hwnd);
            EXPECT_EQ(placed.left, predicted.left);
            EXPECT_EQ(placed.top, predicted.top);
            EXPECT_EQ(placed.right - placed.left, predicted.right);
            const int height = placed.bottom - placed.top;
            if (control.kind == ControlKind::ComboBox) {
                // The window is the selection field, the template's height
                // the field with its dropped list (whose extent the combo
                // box reckons itself: Wine's falls short of it).
                EXPECT_LT(height, predicted.bottom);
            } else if (control.kind == ControlKind::ListBox &&
                       (control.style & LBS_NOINTEGRALHEIGHT) == 0) {
                // Shrunk to whole items, by less than one.
                const int item = static_cast<int>(SendMessageW(child, LB_GETITEMHEIGHT, 0, 0));
                EXPECT_LE(height, predicted.bottom);
                EXPECT_GT(height, predicted.bottom - item);
            } else {
                EXPECT_EQ(height, predicted.bottom);
            }
        }
    }
}

// A small dialog for the keys: an edit, a push button and, where asked, a
// default button that is not IDOK, so the default and IDOK tell apart.
constexpr int EDIT_ID = 201, PUSH_ID = 202, DEFAULT_ID = 203;
constexpr ControlTemplate WITH_DEFAULT_CONTROLS[] = {
    {EDIT_ID, ControlKind::Edit, 4, 4, 60, 12, CHILD | WS_TABSTOP | WS_BORDER, 0, {}, 0},
    {PUSH_ID, ControlKind::Button, 4, 20, 40, 14, CHILD | WS_TABSTOP, 0, "Push", 0},
    {DEFAULT_ID, ControlKind::Button, 50, 20, 40, 14, CHILD | WS_TABSTOP | BS_DEFPUSHBUTTON, 0,
     "Default", 0},
};
constexpr DialogTemplate WITH_DEFAULT =
    TestDialog(9002, "Keys", 8, 400, false, WITH_DEFAULT_CONTROLS);
constexpr DialogTemplate WITHOUT_DEFAULT = TestDialog(
    9003, "Keys", 8, 400, false, std::span<const ControlTemplate>(WITH_DEFAULT_CONTROLS).first(2));

TEST_F(Win32DialogTemplateRecord, EnterAndEscapeReachTheDialogThroughTheDialogManager) {
    // The content selection: an edit, IDOK its default button, IDCANCEL.
    const DialogTemplate* contentSelect = res::FindDialogTemplate(res::IDD_CONTENT_SELECT);
    ASSERT_NE(contentSelect, nullptr);
    const int consoleEdit = res::IDC_CONTENT_PID_ENTRY;

    struct Case {
        const char* name;
        const DialogTemplate* dialog;
        int focus;
        WPARAM key;
        int command;
    };
    const Case cases[] = {
        {"Enter in a console dialog: its default IDOK", contentSelect, consoleEdit, VK_RETURN,
         IDOK},
        {"Escape in a console dialog: IDCANCEL", contentSelect, consoleEdit, VK_ESCAPE, IDCANCEL},
        {"Enter: the default button, not IDOK", &WITH_DEFAULT, EDIT_ID, VK_RETURN, DEFAULT_ID},
        {"Enter without a default button: IDOK", &WITHOUT_DEFAULT, EDIT_ID, VK_RETURN, IDOK},
        {"Enter on a push button: that button", &WITH_DEFAULT, PUSH_ID, VK_RETURN, PUSH_ID},
        {"Escape: IDCANCEL", &WITH_DEFAULT, EDIT_ID, VK_ESCAPE, IDCANCEL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<int> commands;
        DialogWindow window = CreateFromTemplate(*c.dialog, &commands);
        ASSERT_NE(window, nullptr);
        ShowWindow(window.get(), SW_SHOW);
        HWND focus = GetDlgItem(window.get(), c.focus);
        // As Tab would: the dialog manager moves the default to a focused
        // push button.
        SendMessageW(window.get(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(focus), TRUE);
        ASSERT_EQ(GetFocus(), focus);
        commands.clear();
        // What the message loop hands IsDialogMessage for the key.
        MSG key{focus, WM_KEYDOWN, c.key, 1, static_cast<DWORD>(GetMessageTime()), {}};
        EXPECT_TRUE(IsDialogMessageW(window.get(), &key));
        ASSERT_FALSE(commands.empty());
        EXPECT_EQ(commands.back(), c.command);
    }
}

}  // namespace

namespace {

// A picture later controls lie on is a backdrop, made to clip its
// siblings so it never paints over the buttons raised above it; a small
// picture beneath it is not, or the backdrop would hide it.
TEST(Win32DialogTemplateRecord, OnlyPicturesOthersLieOnClipTheirSiblings) {
    using platform::window::win32::IsBackdrop;
    const ControlTemplate controls[] = {
        {1, ControlKind::Picture, 0, 0, 100, 50, WS_CHILD, 0, {}, 7},
        {2, ControlKind::Button, 10, 10, 20, 10, WS_CHILD, 0, "OK", 0},
        {3, ControlKind::Picture, 40, 10, 10, 10, WS_CHILD, 0, {}, 7},
        {4, ControlKind::Static, 60, 30, 20, 8, WS_CHILD, 0, "x", 0},
        {5, ControlKind::Frame, 0, 52, 100, 10, WS_CHILD, 0, {}, 0},
        {6, ControlKind::Static, 90, 45, 20, 8, WS_CHILD, 0, "y", 0},
    };
    const bool expected[] = {true, false, false, false, false, false};
    for (std::size_t i = 0; i < std::size(controls); ++i)
        EXPECT_EQ(IsBackdrop(controls, i), expected[i]) << "control " << controls[i].id;
    const std::span<const ControlTemplate> last(controls, 1);
    EXPECT_FALSE(IsBackdrop(last, 0));
}

}  // namespace
