#include "skin/artgen/window_backgrounds.h"

#include <QLinearGradient>
#include <QPainter>

#include "skin/artgen/art_layout.h"
#include "skin/artgen/art_style.h"
#include "skin/artgen/glyphs.h"

namespace skin::art {
namespace {

// A window's surface: a gentle vertical gradient.
void FillSurface(QPainter& p, const QRect& area) {
    QLinearGradient gradient(area.topLeft(), area.bottomLeft());
    gradient.setColorAt(0.0, BASE_TOP);
    gradient.setColorAt(1.0, BASE);
    p.fillRect(area, gradient);
}

// The edge of a borderless window, drawn at its client size (the picture may
// be larger than the window and is cut there).
void DrawWindowEdge(QPainter& p, QSize client) {
    const QRect r(QPoint(0, 0), client);
    p.fillRect(QRect(r.left(), r.top(), r.width(), 1), WINDOW_EDGE);
    p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), WINDOW_EDGE);
    p.fillRect(QRect(r.left(), r.top(), 1, r.height()), WINDOW_EDGE);
    p.fillRect(QRect(r.right(), r.top(), 1, r.height()), WINDOW_EDGE);
}

// A small caption in spaced capitals.
void DrawCaption(QPainter& p, const QRect& box, const QString& text, const QColor& colour,
                 int pixelSize, Qt::Alignment alignment) {
    p.save();
    Smooth(p);
    p.setFont(ArtFont(pixelSize, true, 1.2));
    p.setPen(colour);
    p.drawText(box, alignment | Qt::AlignVCenter, text);
    p.restore();
}

// The OK and Cancel buttons of the configuration dialogs sit in a shared
// well at the bottom right.
void DrawActionWell(QPainter& p, const QRect& okButton, const QRect& cancelButton) {
    const QRect both = okButton.united(cancelButton);
    DrawWell(p, both.adjusted(-6, -5, 6, 5), 5);
}

}  // namespace

QImage MainWindowBackground() {
    // Template 102: 230 x 94 dialog units.
    const QSize client = DialogSizeToPixels(230, 94);
    QImage image = SolidCanvas(QSize(407, 187), BASE);
    QPainter p(&image);
    FillSurface(p, image.rect());

    // Header band with the indicator row, under a thin brand line.
    const QRect indicatorRow = DialogUnitsToPixels(70, 0, 148, 18);
    const int headerBottom = indicatorRow.bottom() + 1;
    p.fillRect(QRect(0, 0, image.width(), headerBottom), BASE_DEEP);
    DrawSeparator(p, 0, image.width(), headerBottom);
    DrawPanel(p, indicatorRow.adjusted(0, 3, 0, -3), 4);
    p.fillRect(QRect(0, 0, image.width(), 2), RED);

    // Brand card: the tower mark beside the animated logo, a caption below.
    const QRect logo = DialogUnitsToPixels(32, 30, 26, 24);
    const QRect message = DialogUnitsToPixels(70, 20, 148, 47);
    const QRect card(7, message.top(), message.left() - 7 - 7, message.height());
    DrawPanel(p, card, 4);
    const QRectF tower(card.left() + 10, logo.top() + 4, logo.left() - card.left() - 16, 30);
    DrawBroadcastTower(p, tower, INK, RED, 1.6, 2);
    DrawCaption(p, QRect(card.left(), logo.bottom() + 1, card.width(), 14),
                QStringLiteral("CONSOLE"), INK_SOFT, 9, Qt::AlignHCenter);

    // The message line's display; the label draws its own border.
    DrawDisplay(p, message);

    // Footer band with the three hover buttons.
    const QRect configButton = DialogUnitsToPixels(4, 72, 66, 16);
    const int footerTop = configButton.top() - 6;
    p.fillRect(QRect(0, footerTop, image.width(), image.height() - footerTop), BASE_DEEP);
    DrawSeparator(p, 0, image.width(), footerTop);

    DrawWindowEdge(p, client);
    p.fillRect(QRect(0, 0, image.width(), 2), RED);
    return image;
}

QImage StatusPanelBackground() {
    // Template 144: 231 x 96 dialog units.
    const QSize client = DialogSizeToPixels(231, 96);
    QImage image = SolidCanvas(QSize(408, 184), BASE);
    QPainter p(&image);
    FillSurface(p, image.rect());

    // The PID list card with its title display.
    DrawPanel(p, DialogUnitsToPixels(3, 2, 75, 90), 4);
    DrawDisplay(p, DialogUnitsToPixels(8, 10, 62, 11));

    // Signal row: channel and signal-to-noise displays.
    DrawPanel(p, DialogUnitsToPixels(82, 6, 140, 22), 4);
    DrawDisplay(p, DialogUnitsToPixels(126, 15, 20, 10));
    DrawDisplay(p, DialogUnitsToPixels(184, 15, 34, 10));

    // Network row: gateway display and a socket for the IGMP lamp.
    const QRect networkRow = DialogUnitsToPixels(82, 32, 144, 44);
    DrawPanel(p, networkRow, 4);
    DrawDisplay(p, DialogUnitsToPixels(149, 40, 72, 11));
    const QRect lamp = DialogUnitsToPixels(170, 56, 14, 12);
    {
        p.save();
        Smooth(p);
        p.setPen(QPen(PANEL_BORDER, 1));
        p.setBrush(BASE_DEEP);
        const QPointF centre = QRectF(lamp).center();
        p.drawEllipse(centre, 11.0, 11.0);
        p.restore();
    }

    // A quiet caption in the free corner under the network row.
    const int captionTop = networkRow.bottom() + 4;
    DrawCaption(p,
                QRect(networkRow.left(), captionTop, networkRow.width() - 4,
                      client.height() - captionTop - 4),
                QStringLiteral("RECEIVER STATUS"), INK_SOFT, 9, Qt::AlignRight);

    DrawWindowEdge(p, client);
    return image;
}

QImage MenuBackgroundTile() {
    // An even surface: any pattern would repeat visibly across the load/save
    // dialog, where the picture tiles.
    return SolidCanvas(QSize(110, 185), BASE);
}

QImage DialogBackground() {
    QImage image = SolidCanvas(QSize(283, 185), BASE);
    QPainter p(&image);
    // Templates 157, 161, 162 and 166 all place OK and Cancel here.
    DrawActionWell(p, DialogUnitsToPixels(118, 80, 14, 14), DialogUnitsToPixels(140, 80, 14, 14));
    return image;
}

QImage VideoPidBackground() {
    QImage image = SolidCanvas(QSize(283, 125), BASE);
    QPainter p(&image);
    // Template 180's OK and Cancel.
    DrawActionWell(p, DialogUnitsToPixels(118, 46, 14, 14), DialogUnitsToPixels(141, 46, 14, 14));
    return image;
}

}  // namespace skin::art
