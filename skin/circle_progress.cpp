#include "skin/circle_progress.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "skin/circle_progress_geometry.h"
#include "skin/skin_palette.h"

namespace skin {

CMYCircleProgress::CMYCircleProgress()
    : m_color(PROGRESS_WEDGE_START), m_circleColor(PROGRESS_DISC_START) {
    SetPaintsItself();
}

std::uint32_t CMYCircleProgress::SetRange(std::uint32_t range) {
    const std::uint32_t previous = m_range;
    m_range = range == 0 ? 1 : range;
    m_pos = std::min(m_pos, m_range);
    Invalidate();
    return previous;
}

std::uint32_t CMYCircleProgress::SetStep(std::uint32_t step) {
    const std::uint32_t previous = m_step;
    m_step = step;
    return previous;
}

ColorRef CMYCircleProgress::SetColor(ColorRef wedge) {
    const ColorRef previous = m_color;
    m_color = wedge;
    return previous;
}

ColorRef CMYCircleProgress::SetCircleColor(ColorRef disc) {
    const ColorRef previous = m_circleColor;
    m_circleColor = disc;
    return previous;
}

std::uint32_t CMYCircleProgress::SetPos(std::uint32_t pos) {
    const std::uint32_t previous = m_pos;
    m_pos = std::min(pos, m_range);
    Invalidate();
    return previous;
}

void CMYCircleProgress::StepIt() {
    const StepResult next = AdvancePosition(m_pos, m_step, m_range);
    m_pos = next.pos;
    if (next.swapColours) std::swap(m_color, m_circleColor);
    Invalidate();
}

void CMYCircleProgress::OnPaint(platform::window::DeviceContext& dc) {
    m_square = CentredSquare(GetClientRect());
    m_radius = DiscRadius(m_square);
    if (m_square.Width() < 1 || m_square.Height() < 1) return;

    dc.SetAntialiasing(true);
    // The outline runs through the centres of the square's outermost pixels.
    dc.SetPen(platform::window::Pen{m_color});
    dc.SetBrush(m_circleColor);
    dc.Ellipse(m_square);

    const auto start = WedgeStart(m_square, m_radius);
    const auto end = WedgeEnd(m_square, m_radius, m_pos, m_range);
    const double sweep = WedgeSweepDegrees(m_square, m_radius, start, end);
    dc.SetBrush(m_color);
    if (sweep >= 360.0)
        dc.Ellipse(m_square);
    else
        dc.Pie(m_square, 90, -sweep);  // clockwise from twelve o'clock
}

}  // namespace skin
