// The Qt backend of the painting vocabulary: Font carries a QFont, Image a
// QPixmap, DeviceContext a QPainter. Private to the backend (and to tests
// that drive it).
#pragma once

#include <QFont>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

#include <functional>
#include <vector>

#include "platform/window/device_context.h"
#include "platform/window/dialog_units.h"
#include "platform/window/font.h"
#include "platform/window/geometry.h"
#include "platform/window/icon.h"
#include "platform/window/image.h"

namespace platform::window {

struct Font::Impl {
    QFont font;
};

struct Image::Impl {
    QPixmap pixmap;
};

struct DeviceContext::Impl {
    struct Colours {
        QColor text;
        ColorRef background = Rgb(255, 255, 255);
    };
    QPainter& painter;
    QFont windowFont;
    Colours colours;
    std::vector<Colours> saved;  // what Save kept that the painter does not
};

Font FontFromQFont(const QFont& font);
QFont ToQFont(const Font& font);
// The base units of a font the backend holds as a QFont (see dialog_units.h).
BaseUnits MeasureBaseUnits(const QFont& font);

// A null pixmap gives the null image.
Image ImageFromPixmap(const QPixmap& pixmap);
QPixmap ToQPixmap(const Image& image);  // null for the null image
QIcon ToQIcon(const Icon& icon);        // one picture per size

// Runs `paint` with a device context on the painter; `windowFont` is what
// WindowFont() answers (the painted widget's font).
void PaintWith(QPainter& painter, const QFont& windowFont,
               const std::function<void(DeviceContext&)>& paint);

// The whole paint of a widget's paintEvent through a device context.
void PaintWidget(QWidget& widget, const std::function<void(DeviceContext&)>& paint);

}  // namespace platform::window
