#include "skin/circle_progress_geometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace skin {
namespace {

constexpr double TWO_PI = 6.283185307;

std::uint32_t UsableRange(std::uint32_t range) {
    return range == 0 ? 1 : range;
}

}  // namespace

Rect CentredSquare(const Rect& client) {
    const int w = std::max(client.Width(), 0);
    const int h = std::max(client.Height(), 0);
    const int side = std::min(w, h);
    const int dx = (w - side) / 2;
    const int dy = (h - side) / 2;
    return Rect::FromSize(client.left + dx, client.top + dy, w - 2 * dx, h - 2 * dy);
}

int DiscRadius(const Rect& square) {
    return std::max(std::min(square.Width(), square.Height()), 0) / 2;
}

Point WedgeStart(const Rect& square, int radius) {
    return Point{square.left + radius, square.top};
}

Point WedgeEnd(const Rect& square, int radius, std::uint32_t pos, std::uint32_t range) {
    const double theta =
        static_cast<double>(pos) / static_cast<double>(UsableRange(range)) * TWO_PI;
    const Point start = WedgeStart(square, radius);
    const double dx = std::trunc(radius * std::sin(theta));
    const double dy = std::trunc(radius - radius * std::cos(theta));
    return Point{start.x + static_cast<int>(dx), square.top + static_cast<int>(dy)};
}

double WedgeSweepDegrees(const Rect& square, int radius, Point start, Point end) {
    if (start == end) return 360.0;
    const double cx = start.x;
    const double cy = square.top + radius;
    // Angles measured clockwise from twelve o'clock (screen y grows downward).
    const auto clockAngle = [cx, cy](Point p) {
        const double a = std::atan2(p.x - cx, cy - p.y) * 180.0 / std::numbers::pi;
        return a < 0 ? a + 360.0 : a;
    };
    double sweep = clockAngle(end) - clockAngle(start);
    if (sweep <= 0) sweep += 360.0;
    return sweep;
}

StepResult AdvancePosition(std::uint32_t pos, std::uint32_t step, std::uint32_t range) {
    const std::uint64_t r = UsableRange(range);
    std::uint64_t p = static_cast<std::uint64_t>(pos) + step;
    std::uint64_t turns = 0;
    if (p > r) {
        // As many whole turns as bring the position back to 1 .. range.
        turns = (p - 1) / r;
        p -= turns * r;
    }
    return StepResult{static_cast<std::uint32_t>(p), (turns % 2) == 1};
}

}  // namespace skin
