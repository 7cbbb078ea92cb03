// The Qt backend's GrabUnderneath (tests/window/underlay_checks.h holds the
// cases every backend passes): a window that paints nothing shows its
// palette's window colour.
#include <QApplication>
#include <QImage>
#include <QPalette>

#include <gtest/gtest.h>

#include "platform/window/qt/painting.h"
#include "tests/window/underlay_checks.h"

namespace {

using namespace platform::window;

ColorRef ColorOnQt(const Image& image, int x, int y) {
    const QColor color = ToQPixmap(image).toImage().pixelColor(x, y);
    return Rgb(color.red(), color.green(), color.blue());
}

ColorRef PaletteWindow() {
    const QColor color = QApplication::palette().color(QPalette::Window);
    return Rgb(color.red(), color.green(), color.blue());
}

TEST(Underlay, ParentAndSiblingsBelowTheChildClippedToIt) {
    underlay_checks::ExpectParentAndSiblingsBelowTheChild(ColorOnQt, PaletteWindow());
}

TEST(Underlay, WithoutParentOrWindow) {
    underlay_checks::ExpectWithoutParentOrWindow(ColorOnQt, PaletteWindow());
}

}  // namespace
