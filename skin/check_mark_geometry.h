// Geometry of the red check box for an item rectangle of w x h pixels,
// relative to its top-left corner (integer halves and fifths round toward
// zero).
#pragma once

#include <array>

#include "platform/window/geometry.h"

namespace skin {

// The open polyline P0-P1-P2-P3 of the check mark: a short stroke down to the
// bottom fifth, one pixel further down, then the long stroke up to the right.
std::array<platform::window::Point, 4> CheckMarkPoints(int w, int h);

// The etched frame of an unchecked box: the item rectangle inset by 4 on
// every side.
platform::window::Rect EtchedFrameRect(int w, int h);

// Pen width of the check mark, in pixels.
inline constexpr int CHECK_MARK_PEN_WIDTH = 3;

}  // namespace skin
