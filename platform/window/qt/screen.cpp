#include "platform/window/screen.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

#include "platform/window/qt/conversions.h"

namespace platform::window {

Point GetCursorPos() {
    return FromQPoint(QCursor::pos());
}

Rect GetMonitorWorkArea(Point point) {
    QScreen* screen = QGuiApplication::screenAt(ToQPoint(point));
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    // Without any screen (nothing to show on) the area has no bounds.
    if (screen == nullptr) return Rect{INT_MIN / 2, INT_MIN / 2, INT_MAX / 2, INT_MAX / 2};
    return FromQRect(screen->availableGeometry());
}

}  // namespace platform::window
