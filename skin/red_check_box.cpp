#include "skin/red_check_box.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "platform/window/images.h"
#include "skin/check_mark_geometry.h"
#include "skin/skin_palette.h"

namespace skin {
namespace {

// One line of a three-dimensional edge: top-left in one tone, bottom-right in
// another, on the outline of r (right and bottom inclusive).
void DrawEdgeRing(QPainter& painter, const QRect& r, const QColor& topLeft,
                  const QColor& bottomRight) {
    painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), topLeft);
    painter.fillRect(QRect(r.left(), r.top(), 1, r.height()), topLeft);
    painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), bottomRight);
    painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), bottomRight);
}

}  // namespace

CRedCheckBox::CRedCheckBox(QWidget* parent)
    : QAbstractButton(parent),
      m_backgroundTile(platform::window::LoadBitmap(BACKGROUND_BITMAP_ID)) {}

bool CRedCheckBox::SetChecked(bool checked) {
    const bool previous = m_checked;
    m_checked = checked;
    update();
    return previous;
}

void CRedCheckBox::SetBackgroundTile(const QPixmap& tile) {
    m_backgroundTile = tile;
    update();
}

void CRedCheckBox::mousePressEvent(QMouseEvent* event) {
    const bool wasDown = isDown();
    QAbstractButton::mousePressEvent(event);
    ToggleIfPressStarted(wasDown);
}

void CRedCheckBox::keyPressEvent(QKeyEvent* event) {
    const bool wasDown = isDown();
    QAbstractButton::keyPressEvent(event);
    ToggleIfPressStarted(wasDown);
}

void CRedCheckBox::ToggleIfPressStarted(bool wasDown) {
    if (wasDown || !isDown()) return;
    m_checked = !m_checked;
    update();
}

void CRedCheckBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int w = width();
    const int h = height();
    // The tile starts at the box's own top-left corner.
    if (!m_backgroundTile.isNull()) painter.drawTiledPixmap(rect(), m_backgroundTile);

    if (m_checked) {
        const auto points = CheckMarkPoints(w, h);
        painter.setRenderHint(QPainter::Antialiasing);
        // Coordinates name pixels: shift to pixel centres so that each point
        // of the polyline lies under the middle of the stroke.
        painter.translate(0.5, 0.5);
        painter.setPen(
            QPen(SKIN_COLOR, CHECK_MARK_PEN_WIDTH, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPolyline(points.data(), static_cast<int>(points.size()));
        return;
    }

    // Bump edge: a raised outer ring (light over dark shadow) around a sunken
    // inner ring (dark shadow over light), the platform's classic tones.
    const QRect frame = EtchedFrameRect(w, h);
    if (frame.width() < 2 || frame.height() < 2) return;
    DrawEdgeRing(painter, frame, EDGE_LIGHT, EDGE_DARK_SHADOW);
    if (frame.width() >= 4 && frame.height() >= 4)
        DrawEdgeRing(painter, frame.adjusted(1, 1, -1, -1), EDGE_DARK_SHADOW, EDGE_LIGHT);
}

}  // namespace skin
