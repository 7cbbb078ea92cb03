// The Win32 backend's GrabUnderneath (tests/window/underlay_checks.h holds
// the cases every backend passes): a window that paints nothing shows its
// class background, the dialog face; a patterned background keeps to the
// parent's corner.
#include <gtest/gtest.h>

#include "platform/window/win32/win32_api.h"

#include "platform/window/win32/native_window.h"
#include "platform/window/win32/painting.h"
#include "tests/window/underlay_checks.h"

namespace {

using namespace platform::window;

ColorRef ColorOnWin32(const Image& image, int x, int y) {
    Gdiplus::Color color;
    if (image.IsNull() || image.Get()->bitmap->GetPixel(x, y, &color) != Gdiplus::Ok) return 1;
    return Rgb(color.GetR(), color.GetG(), color.GetB());
}

ColorRef DialogFace() {
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    return Rgb(GetRValue(face), GetGValue(face), GetBValue(face));
}

using Win32Underlay = testing::Test;  // the program has started the window system

TEST_F(Win32Underlay, ParentAndSiblingsBelowTheChildClippedToIt) {
    underlay_checks::ExpectParentAndSiblingsBelowTheChild(ColorOnWin32, DialogFace());
}

TEST_F(Win32Underlay, WithoutParentOrWindow) {
    underlay_checks::ExpectWithoutParentOrWindow(ColorOnWin32, DialogFace());
}

// A window class erased with an 8 x 8 pattern: black where x + y of the
// client coordinates is even, white where odd. Unregistered and its brush
// freed when done, after its windows.
struct CheckeredClass {
    CheckeredClass() {
        WORD rows[8];
        for (int y = 0; y < 8; ++y) rows[y] = (y % 2 == 0) ? 0x55 : 0xAA;  // 1 bits are white
        pattern = CreateBitmap(8, 8, 1, 1, rows);
        brush = CreatePatternBrush(pattern);
        WNDCLASSEXW checkered{};
        checkered.cbSize = sizeof checkered;
        checkered.lpfnWndProc = DefWindowProcW;
        checkered.hInstance = GetModuleHandleW(nullptr);
        checkered.hbrBackground = brush;
        checkered.lpszClassName = NAME;
        registered = RegisterClassExW(&checkered) != 0;
    }
    ~CheckeredClass() {
        if (registered) UnregisterClassW(NAME, GetModuleHandleW(nullptr));
        DeleteObject(brush);
        DeleteObject(pattern);
    }
    CheckeredClass(const CheckeredClass&) = delete;
    CheckeredClass& operator=(const CheckeredClass&) = delete;

    static constexpr wchar_t NAME[] = L"R40.Test.Checkered";
    HBITMAP pattern = nullptr;
    HBRUSH brush = nullptr;
    bool registered = false;
};

TEST_F(Win32Underlay, APatternedBackgroundKeepsToTheParentsCorner) {
    CheckeredClass checkered;
    ASSERT_TRUE(checkered.registered);
    Window parent;  // destroys the window it takes over
    HWND parentHwnd = CreateWindowExW(0, CheckeredClass::NAME, L"", WS_POPUP, 0, 0, 60, 40, nullptr,
                                      nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(NativeWindow::Subclass(parent, parentHwnd), nullptr);
    underlay_checks::Unpainted child;
    ASSERT_TRUE(child.Create(WS_VISIBLE, Rect::FromSize(11, 6, 8, 8), &parent, 1));

    const Image beneath = GrabUnderneath(child);
    for (const Point at : {Point{0, 0}, Point{1, 0}, Point{3, 5}, Point{7, 6}}) {
        SCOPED_TRACE(testing::Message() << at.x << "," << at.y);
        const bool white = (at.x + 11 + at.y + 6) % 2 == 1;
        EXPECT_EQ(ColorOnWin32(beneath, at.x, at.y), white ? Rgb(255, 255, 255) : Rgb(0, 0, 0));
    }
}

}  // namespace
