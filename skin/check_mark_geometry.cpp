#include "skin/check_mark_geometry.h"

namespace skin {

using platform::window::Point;
using platform::window::Rect;

std::array<Point, 4> CheckMarkPoints(int w, int h) {
    return {Point{2, h / 2}, Point{w / 5 + 2, 4 * h / 5}, Point{w / 5 + 2, 4 * h / 5 + 1},
            Point{4 * w / 5, 3}};
}

Rect EtchedFrameRect(int w, int h) {
    return Rect{0, 0, w, h}.Deflated(4, 4, 4, 4);
}

}  // namespace skin
