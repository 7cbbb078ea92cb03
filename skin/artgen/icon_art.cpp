#include "skin/artgen/icon_art.h"

#include <QLinearGradient>
#include <QPainter>

#include <algorithm>

#include "skin/artgen/art_style.h"
#include "skin/artgen/glyphs.h"

namespace skin::art {
namespace {

QImage TowerTile(int size, bool outlined) {
    QImage image = TransparentCanvas(QSize(size, size));
    QPainter p(&image);
    Smooth(p);
    const qreal s = size;
    // Rim and strokes grow with the desktop's larger sizes; up to 32 pixels
    // they stay one and two pixels wide.
    const qreal rim = std::max<qreal>(1.0, s / 64);
    const qreal stroke = std::max<qreal>(2.0, s / 16);
    const QRectF tile(rim / 2, rim / 2, s - rim, s - rim);
    QLinearGradient fill(tile.topLeft(), tile.bottomLeft());
    fill.setColorAt(0.0, RED.lighter(115));
    fill.setColorAt(1.0, RED_DEEP);
    // The tray icon keeps a dark rim so it stands out on light and dark bars.
    p.setPen(QPen(outlined ? RED_EDGE.darker(130) : RED_EDGE, rim));
    p.setBrush(fill);
    p.drawRoundedRect(tile, s * 0.2, s * 0.2);
    if (size >= 24) {
        const qreal margin = s * 0.16;
        DrawBroadcastTower(p, QRectF(margin, margin * 0.9, s - 2 * margin, s - 2 * margin), WHITE,
                           WHITE, stroke, 2);
    } else {
        // Small sizes keep the mark's outline only: a mast under a dot and
        // one wave on each side, on whole pixels where they can be.
        DrawBroadcastTower(p, QRectF(1.5, 1.5, s - 3, s - 3), WHITE, WHITE, 1.4, 1);
    }
    return image;
}

}  // namespace

QImage ApplicationIcon(int size) {
    return TowerTile(size, false);
}

QImage TrayIcon() {
    return TowerTile(32, true);
}

QImage IndicatorIcon(const QColor& colour) {
    QImage image = TransparentCanvas(QSize(8, 8));
    image.fill(colour);
    for (const QPoint corner : {QPoint(0, 0), QPoint(7, 0), QPoint(0, 7), QPoint(7, 7)})
        image.setPixelColor(corner, Qt::transparent);
    return image;
}

}  // namespace skin::art
