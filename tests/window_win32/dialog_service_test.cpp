// The Win32 message boxes and file dialogs, driven as an operator would:
// another thread finds the box Windows shows, reads it and presses a
// button; what the layer returns is what was pressed.
#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <string>
#include <thread>

#include "platform/window/application.h"
#include "platform/window/dialog_service.h"
#include "platform/window/file_dialog.h"
#include "platform/window/message_box.h"
#include "platform/window/win32/native_dialog_service.h"
#include "platform/window/win32/native_window.h"
#include "platform/window/win32/text_conversion.h"

namespace {

using namespace platform::window;

// Waits (at most 10 s) for a dialog-class window titled `caption` of this
// process and hands it to `operate` on this helper's thread.
std::thread Operator(std::wstring caption, std::function<void(HWND)> operate) {
    return std::thread([caption = std::move(caption), operate = std::move(operate)] {
        for (int i = 0; i < 1000; ++i) {
            if (HWND box = FindWindowW(L"#32770", caption.c_str())) {
                operate(box);
                return;
            }
            Sleep(10);
        }
    });
}

using Win32DialogService = testing::Test;  // the program has started the window system

TEST_F(Win32DialogService, TheFilterIsWindowsOwnNulSeparatedList) {
    const wchar_t expected[] = L"XML Files (*.xml)\0*.xml\0All Files (*.*)\0*.*\0";
    EXPECT_EQ(win32::FilterString("XML Files (*.xml)|*.xml|All Files (*.*)|*.*||"),
              std::wstring(expected, std::size(expected)));  // the literal's own NUL ends it
    EXPECT_EQ(win32::FilterString(""), std::wstring(1, L'\0'));
}

TEST_F(Win32DialogService, AMessageBoxShowsItsTextOverItsOwnerAndReturnsThePressedButton) {
    struct Case {
        unsigned type;
        int press;
    };
    // Each box takes Wine a few seconds to end without a window manager.
    const Case cases[] = {{MB_YESNO | MB_ICONQUESTION, IDNO},
                          {MB_RETRYCANCEL | MB_ICONEXCLAMATION, IDRETRY}};
    Window owner;
    ASSERT_TRUE(owner.Create(WS_VISIBLE, Rect{0, 0, 200, 100}));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        std::wstring shown;
        HWND ownerSeen = nullptr;
        std::thread operating = Operator(L"Zürich", [&](HWND box) {
            wchar_t text[64] = {};
            GetDlgItemTextW(box, 0xFFFF, text, 64);  // the box's message
            shown = text;
            ownerSeen = GetWindow(box, GW_OWNER);
            PostMessageW(box, WM_COMMAND, static_cast<WPARAM>(c.press), 0);
        });
        const int result =
            MessageBox(owner.Native()->Handle(), "Réception \u2192 OK", "Zürich", c.type);
        operating.join();
        EXPECT_EQ(result, c.press);
        EXPECT_EQ(shown, L"Réception \u2192 OK");
        EXPECT_EQ(ownerSeen, win32::HwndOf(owner));
    }
}

TEST_F(Win32DialogService, TheFileDialogGivesTheChosenPathWithTheDefaultExtensionOrNothing) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::string folder = win32::Narrow(temp);

    // Cancelled: no path.
    std::thread cancelling =
        Operator(L"Save As", [](HWND box) { PostMessageW(box, WM_COMMAND, IDCANCEL, 0); });
    FileDialog cancelled(false, "xml", "", OFN_OVERWRITEPROMPT, "XML Files (*.xml)|*.xml||",
                         WindowHandle());
    EXPECT_EQ(cancelled.DoModal(), IDCANCEL);
    cancelling.join();
    EXPECT_EQ(cancelled.GetPathName(), "");

    // A name typed without extension: the default one is added.
    std::thread typing = Operator(L"Save As", [&](HWND box) {
        // The explorer-style dialog's file name box (cmb13), else the
        // old-style edit (edt1).
        const std::wstring name = win32::Widen(folder + "studio-b");
        if (!SetDlgItemTextW(box, 0x47C, name.c_str())) SetDlgItemTextW(box, 0x480, name.c_str());
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    FileDialog chosen(false, "xml", "", 0, "XML Files (*.xml)|*.xml||", WindowHandle());
    EXPECT_EQ(chosen.DoModal(), IDOK);
    typing.join();
    EXPECT_EQ(chosen.GetPathName(), folder + "studio-b.xml");
}

}  // namespace
