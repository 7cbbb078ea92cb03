#include "skin/circle_progress.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <utility>

#include "skin/circle_progress_geometry.h"
#include "skin/skin_palette.h"

namespace skin {

CMYCircleProgress::CMYCircleProgress(QWidget* parent)
    : QWidget(parent), m_color(PROGRESS_WEDGE_START), m_circleColor(PROGRESS_DISC_START) {}

std::uint32_t CMYCircleProgress::SetRange(std::uint32_t range) {
    const std::uint32_t previous = m_range;
    m_range = range == 0 ? 1 : range;
    m_pos = std::min(m_pos, m_range);
    update();
    return previous;
}

std::uint32_t CMYCircleProgress::SetStep(std::uint32_t step) {
    const std::uint32_t previous = m_step;
    m_step = step;
    return previous;
}

QColor CMYCircleProgress::SetColor(const QColor& wedge) {
    const QColor previous = m_color;
    m_color = wedge;
    return previous;
}

QColor CMYCircleProgress::SetCircleColor(const QColor& disc) {
    const QColor previous = m_circleColor;
    m_circleColor = disc;
    return previous;
}

std::uint32_t CMYCircleProgress::SetPos(std::uint32_t pos) {
    const std::uint32_t previous = m_pos;
    m_pos = std::min(pos, m_range);
    update();
    return previous;
}

void CMYCircleProgress::StepIt() {
    const StepResult next = AdvancePosition(m_pos, m_step, m_range);
    m_pos = next.pos;
    if (next.swapColours) std::swap(m_color, m_circleColor);
    update();
}

void CMYCircleProgress::paintEvent(QPaintEvent*) {
    m_square = CentredSquare(rect());
    m_radius = DiscRadius(m_square);
    if (m_square.width() < 1 || m_square.height() < 1) return;

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(m_color, 1));
    // Outline centred on the outermost pixels of the square.
    const QRectF disc = QRectF(m_square).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setBrush(m_circleColor);
    painter.drawEllipse(disc);

    const QPoint start = WedgeStart(m_square, m_radius);
    const QPoint end = WedgeEnd(m_square, m_radius, m_pos, m_range);
    const double sweep = WedgeSweepDegrees(m_square, m_radius, start, end);
    painter.setBrush(m_color);
    if (sweep >= 360.0) {
        painter.drawEllipse(disc);
    } else {
        // Qt counts angles counter-clockwise from three o'clock in 1/16 degree.
        painter.drawPie(disc, 90 * 16, -static_cast<int>(std::lround(sweep * 16)));
    }
}

}  // namespace skin
