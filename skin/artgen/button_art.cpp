#include "skin/artgen/button_art.h"

#include <QLinearGradient>
#include <QPainter>

#include "skin/artgen/art_layout.h"
#include "skin/artgen/art_style.h"
#include "skin/artgen/glyphs.h"

namespace skin::art {
namespace {

enum class FaceState { Normal, Pressed, PointerOver };

void DrawGlyph(QPainter& p, ButtonGlyph glyph, const QRectF& box, const QColor& colour) {
    const qreal pen = 1.6;
    switch (glyph) {
        case ButtonGlyph::Sliders:
            DrawSliders(p, box, colour, pen);
            break;
        case ButtonGlyph::Document:
            DrawDocument(p, box, colour, pen);
            break;
        case ButtonGlyph::Pulse:
            DrawPulse(p, box, colour, pen);
            break;
        case ButtonGlyph::Network:
            DrawNetwork(p, box, colour, pen);
            break;
        case ButtonGlyph::SignalBars:
            DrawSignalBars(p, box, colour);
            break;
        case ButtonGlyph::List:
            DrawList(p, box, colour, pen);
            break;
        case ButtonGlyph::Reset:
            DrawReset(p, box, colour, pen);
            break;
        case ButtonGlyph::Folder:
            DrawFolder(p, box, colour, pen);
            break;
    }
}

// One button face in rect: a rounded body, a glyph and a label, centred as a
// group. Pressed faces are filled red and sink by one pixel.
void DrawFace(QPainter& p, const QRect& rect, FaceState state, const QString& label,
              ButtonGlyph glyph, int textPixels, int glyphSize) {
    p.save();
    Smooth(p);
    const QRectF body = QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient fill(body.topLeft(), body.bottomLeft());
    QColor border;
    QColor ink;
    switch (state) {
        case FaceState::Normal:
            fill.setColorAt(0.0, WHITE);
            fill.setColorAt(1.0, QColor(236, 237, 240));
            border = QColor(190, 194, 201);
            ink = RED;
            break;
        case FaceState::PointerOver:
            fill.setColorAt(0.0, RED_TINT_TOP);
            fill.setColorAt(1.0, RED_TINT_BOTTOM);
            border = RED;
            ink = RED;
            break;
        case FaceState::Pressed:
            fill.setColorAt(0.0, RED_DEEP);
            fill.setColorAt(1.0, RED);
            border = RED_EDGE;
            ink = WHITE;
            break;
    }
    p.setPen(QPen(border, 1));
    p.setBrush(fill);
    p.drawRoundedRect(body, 4, 4);
    if (state != FaceState::Pressed) {
        // A highlight under the top edge makes the face stand up.
        p.setPen(QPen(QColor(255, 255, 255, 200), 1));
        p.drawLine(QPointF(body.left() + 4, body.top() + 1),
                   QPointF(body.right() - 4, body.top() + 1));
    }

    const QFont font = ArtFont(textPixels, true);
    const QFontMetrics metrics(font);
    const int gap = 6;
    const int textWidth = metrics.horizontalAdvance(label);
    const int groupWidth = glyphSize + gap + textWidth;
    const int sink = state == FaceState::Pressed ? 1 : 0;
    const qreal left = rect.left() + (rect.width() - groupWidth) / 2.0;
    const qreal middle = rect.top() + rect.height() / 2.0 + sink;
    DrawGlyph(p, glyph, QRectF(left, middle - glyphSize / 2.0, glyphSize, glyphSize), ink);
    p.setFont(font);
    p.setPen(ink);
    p.drawText(QRectF(left + glyphSize + gap, rect.top() + sink, textWidth + 2, rect.height()),
               Qt::AlignLeft | Qt::AlignVCenter, label);
    p.restore();
}

}  // namespace

QImage HoverStrip(const QString& label, ButtonGlyph glyph) {
    QImage image = TransparentCanvas(QSize(322, 32));
    QPainter p(&image);
    const int face = 322 / 3;
    DrawFace(p, QRect(0, 0, face, 32), FaceState::Normal, label, glyph, 13, 14);
    DrawFace(p, QRect(face, 0, face, 32), FaceState::Pressed, label, glyph, 13, 14);
    DrawFace(p, QRect(2 * face, 0, face, 32), FaceState::PointerOver, label, glyph, 13, 14);
    return image;
}

QImage MenuButton(const QString& label, ButtonGlyph glyph) {
    QImage image = TransparentCanvas(QSize(123, 39));
    QPainter p(&image);
    // The configuration menu's buttons are 52 x 14 dialog units.
    const QSize shown = DialogSizeToPixels(52, 14);
    const QRect face((123 - shown.width()) / 2 + 1, (39 - shown.height()) / 2 + 1,
                     shown.width() - 2, shown.height() - 2);
    DrawFace(p, face, FaceState::Normal, label, glyph, 12, 13);
    return image;
}

QImage BrowseButton() {
    QImage image = TransparentCanvas(QSize(100, 30));
    QPainter p(&image);
    // The load/save dialog's Browse button is 45 x 15 dialog units.
    const QSize shown = DialogSizeToPixels(45, 15);
    const QRect face((100 - shown.width()) / 2 + 1, (30 - shown.height()) / 2 + 1,
                     shown.width() - 2, shown.height() - 2);
    DrawFace(p, face, FaceState::Normal, QStringLiteral("Browse"), ButtonGlyph::Folder, 12, 13);
    return image;
}

}  // namespace skin::art
