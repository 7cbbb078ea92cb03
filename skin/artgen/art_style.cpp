#include "skin/artgen/art_style.h"

#include <QLinearGradient>
#include <QPainterPath>

namespace skin::art {

QImage TransparentCanvas(QSize size) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QImage SolidCanvas(QSize size, const QColor& colour) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(colour);
    return image;
}

void Smooth(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
}

QFont ArtFont(int pixelSize, bool bold, double letterSpacing) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    font.setHintingPreference(QFont::PreferFullHinting);
    if (letterSpacing != 0.0) font.setLetterSpacing(QFont::AbsoluteSpacing, letterSpacing);
    return font;
}

void DrawPanel(QPainter& painter, const QRect& rect, int radius) {
    painter.save();
    Smooth(painter);
    const QRectF outline = QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient fill(outline.topLeft(), outline.bottomLeft());
    fill.setColorAt(0.0, PANEL);
    fill.setColorAt(1.0, PANEL.darker(102));
    painter.setPen(QPen(PANEL_BORDER, 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(outline, radius, radius);
    painter.setPen(QPen(WHITE, 1));
    painter.drawLine(QPointF(outline.left() + radius, outline.top() + 1),
                     QPointF(outline.right() - radius, outline.top() + 1));
    painter.restore();
}

void DrawWell(QPainter& painter, const QRect& rect, int radius) {
    painter.save();
    Smooth(painter);
    const QRectF outline = QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient fill(outline.topLeft(), outline.bottomLeft());
    fill.setColorAt(0.0, BASE_DEEP);
    fill.setColorAt(1.0, BASE);
    painter.setPen(QPen(PANEL_BORDER, 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(outline, radius, radius);
    painter.restore();
}

void DrawDisplay(QPainter& painter, const QRect& rect) {
    painter.fillRect(rect, DISPLAY);
}

void DrawSeparator(QPainter& painter, int left, int right, int y) {
    painter.fillRect(QRect(left, y, right - left, 1), SEPARATOR);
    painter.fillRect(QRect(left, y + 1, right - left, 1), WHITE);
}

}  // namespace skin::art
