// Helpers for checking what the skinned controls draw.
#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>
#include <QWidget>

#include <optional>

#include "platform/window/geometry.h"
#include "platform/window/window.h"

namespace skin::test {

// The widget painted on its own; pixels it leaves alone are transparent.
// Premultiplied, as the widget paints.
QImage Render(QWidget& widget);
// The same for a window's native widget.
QImage Render(platform::window::Window& window);

// What a shown top-level window holds in its backing store right now, after
// pending paints ran: the incremental result, not a fresh repaint.
QImage ScreenContents(QWidget& window);

// Lets queued paints and posted events run.
void Settle();

bool SameColour(QRgb a, QRgb b, int tolerance = 0);

// A colour of the skin as an opaque pixel of a rendered image.
QRgb Pixel(platform::window::ColorRef colour);

// The bounding box of pixels that differ from background.
std::optional<QRect> InkBounds(const QImage& image, QRgb background);

// Saves an image under the build tree's skin-renders folder; the path, or
// empty when it could not be written.
QString SaveRender(const QImage& image, const QString& name);

}  // namespace skin::test
