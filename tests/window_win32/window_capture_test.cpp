// The Win32 backend's window capture and picture files (tests/window/
// capture_checks.h holds the cases every backend passes).
#include <gtest/gtest.h>

#include "platform/window/application.h"
#include "platform/window/win32/painting.h"
#include "tests/window/capture_checks.h"

namespace {

using namespace platform::window;

capture_checks::Argb PixelOnWin32(const Image& image, int x, int y) {
    Gdiplus::Color color;
    if (image.IsNull() || image.Get()->bitmap->GetPixel(x, y, &color) != Gdiplus::Ok) return 0;
    return color.GetValue();
}

using Win32Capture = testing::Test;  // the program has started the window system

TEST_F(Win32Capture, CapturesSavedAsPngAndReadBackPixelForPixel) {
    capture_checks::ExpectCapturesSavedAndReadBack(PixelOnWin32, "win32");
}

TEST_F(Win32Capture, BlankImagesAndWhatFails) {
    capture_checks::ExpectBlankImagesAndFailures(PixelOnWin32, "win32");
}

}  // namespace
