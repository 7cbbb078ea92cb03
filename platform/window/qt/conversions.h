// The Qt backend's edge: the window layer's own types to Qt's and back.
// Private to the backend (and to tests that drive it); nothing above the
// window layer includes it.
#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <string>
#include <string_view>

#include "platform/window/geometry.h"

namespace platform::window {

// QRect's right() is the last pixel itself, Rect's right one past it.
inline QRect ToQRect(const Rect& r) {
    return QRect(r.left, r.top, r.Width(), r.Height());
}
inline Rect FromQRect(const QRect& r) {
    return Rect::FromSize(r.x(), r.y(), r.width(), r.height());
}

inline QPoint ToQPoint(Point p) {
    return QPoint(p.x, p.y);
}
inline Point FromQPoint(const QPoint& p) {
    return Point{p.x(), p.y()};
}

inline QSize ToQSize(Size s) {
    return QSize(s.width, s.height);
}
inline Size FromQSize(const QSize& s) {
    return Size{s.width(), s.height()};
}

inline QColor ToQColor(ColorRef c) {
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}
inline ColorRef FromQColor(const QColor& c) {
    return Rgb(c.red(), c.green(), c.blue());
}

// Text crosses the layer as UTF-8.
inline QString ToQString(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}
inline std::string ToUtf8(const QString& text) {
    return text.toStdString();
}

}  // namespace platform::window
