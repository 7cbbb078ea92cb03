#include "skin/artgen/glyph_art.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include "skin/artgen/art_style.h"
#include "skin/artgen/glyphs.h"

namespace skin::art {
namespace {

// A filled disc with a soft top light, for lamps and round buttons.
void DrawDisc(QPainter& p, const QPointF& centre, qreal radius, const QColor& colour,
              const QColor& edge) {
    p.save();
    Smooth(p);
    QRadialGradient fill(centre - QPointF(radius * 0.3, radius * 0.35), radius * 1.3);
    fill.setColorAt(0.0, colour.lighter(125));
    fill.setColorAt(1.0, colour);
    p.setPen(QPen(edge, 1));
    p.setBrush(fill);
    p.drawEllipse(centre, radius, radius);
    p.restore();
}

// A rounded square button body.
void DrawTile(QPainter& p, const QRectF& rect, const QColor& top, const QColor& bottom,
              const QColor& edge) {
    p.save();
    Smooth(p);
    QLinearGradient fill(rect.topLeft(), rect.bottomLeft());
    fill.setColorAt(0.0, top);
    fill.setColorAt(1.0, bottom);
    p.setPen(QPen(edge, 1));
    p.setBrush(fill);
    p.drawRoundedRect(rect, 4, 4);
    p.restore();
}

}  // namespace

QImage MinimiseToTrayGlyph() {
    QImage image = TransparentCanvas(QSize(16, 20));
    QPainter p(&image);
    DrawToTray(p, QRectF(3, 4.5, 10, 11), INK, 1.6);
    return image;
}

QImage ShutDownGlyph() {
    QImage image = TransparentCanvas(QSize(30, 30));
    QPainter p(&image);
    DrawPower(p, QRectF(9.5, 10.5, 11, 11), RED, 1.8);
    return image;
}

QImage DropDownGlyph() {
    QImage image = TransparentCanvas(QSize(30, 30));
    QPainter p(&image);
    DrawDisc(p, QPointF(15, 15), 8.5, RED, RED_EDGE);
    DrawChevronDown(p, QRectF(11, 12.5, 8, 5.5), WHITE, 1.8);
    return image;
}

QImage OkGlyph() {
    QImage image = TransparentCanvas(QSize(23, 23));
    QPainter p(&image);
    DrawTile(p, QRectF(1.5, 1.5, 20, 20), RED.lighter(112), RED_DEEP, RED_EDGE);
    DrawCheck(p, QRectF(6.5, 7, 10, 9), WHITE, 2.0);
    return image;
}

QImage CancelGlyph() {
    QImage image = TransparentCanvas(QSize(23, 23));
    QPainter p(&image);
    DrawTile(p, QRectF(1.5, 1.5, 20, 20), WHITE, QColor(234, 235, 238), QColor(190, 194, 201));
    DrawCross(p, QRectF(8, 8, 7, 7), RED, 2.0);
    return image;
}

QImage AddGlyph() {
    QImage image = TransparentCanvas(QSize(27, 19));
    QPainter p(&image);
    DrawArrow(p, QRectF(6.5, 5.5, 14, 8), RED, 2.0, true);
    return image;
}

QImage RemoveGlyph() {
    QImage image = TransparentCanvas(QSize(27, 20));
    QPainter p(&image);
    DrawArrow(p, QRectF(6.5, 6, 14, 8), RED, 2.0, false);
    return image;
}

QImage ClearGlyph() {
    QImage image = TransparentCanvas(QSize(37, 27));
    QPainter p(&image);
    DrawTrash(p, QRectF(13.5, 6.5, 10, 13), RED, 1.6);
    return image;
}

QImage GreenLamp() {
    QImage image = TransparentCanvas(QSize(27, 27));
    QPainter p(&image);
    DrawDisc(p, QPointF(13.5, 13.5), 9.5, GREEN, GREEN_DEEP);
    DrawCheck(p, QRectF(9, 10, 9, 7.5), WHITE, 2.0);
    return image;
}

QImage RedLamp() {
    QImage image = TransparentCanvas(QSize(27, 27));
    QPainter p(&image);
    DrawDisc(p, QPointF(13.5, 13.5), 9.5, RED, RED_EDGE);
    DrawCross(p, QRectF(10.5, 10.5, 6, 6), WHITE, 2.0);
    return image;
}

}  // namespace skin::art
