// The Win32 backend's GrabUnderneath (tests/window/underlay_checks.h holds
// the cases every backend passes): a window that paints nothing shows its
// class background, the dialog face.
#include <gtest/gtest.h>

#include "platform/window/win32/win32_api.h"

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

}  // namespace
