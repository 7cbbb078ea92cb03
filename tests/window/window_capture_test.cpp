// The Qt backend's window capture and picture files (tests/window/
// capture_checks.h holds the cases every backend passes).
#include <QImage>

#include <gtest/gtest.h>

#include "platform/window/qt/painting.h"
#include "tests/window/capture_checks.h"

namespace {

using namespace platform::window;

capture_checks::Argb PixelOnQt(const Image& image, int x, int y) {
    return ToQPixmap(image).toImage().convertToFormat(QImage::Format_ARGB32).pixel(x, y);
}

TEST(WindowCapture, CapturesSavedAsPngAndReadBackPixelForPixel) {
    capture_checks::ExpectCapturesSavedAndReadBack(PixelOnQt, "qt");
}

TEST(WindowCapture, BlankImagesAndWhatFails) {
    capture_checks::ExpectBlankImagesAndFailures(PixelOnQt, "qt");
}

}  // namespace
