// Geometry and stepping of the circular progress indicator.
#pragma once

#include <cstdint>

#include "platform/window/geometry.h"

namespace skin {

using platform::window::Point;
using platform::window::Rect;

// The client rectangle shrunk on the longer sides by half the difference
// (integer halves) to a centred square; one pixel longer in one direction
// when the difference was odd.
Rect CentredSquare(const Rect& client);

// Half the smaller side of the square, rounded toward zero.
int DiscRadius(const Rect& square);

// Twelve o'clock on the disc: where every wedge starts.
Point WedgeStart(const Rect& square, int radius);

// Where the wedge for position pos of range ends: at the angle
// pos / range x 2 pi clockwise from twelve o'clock, each offset rounded
// toward zero. A range of 0 is taken as 1.
Point WedgeEnd(const Rect& square, int radius, std::uint32_t pos, std::uint32_t range);

// Clockwise sweep in degrees from the start to the end point, seen from the
// disc's centre; a full 360 when the two points coincide.
double WedgeSweepDegrees(const Rect& square, int radius, Point start, Point end);

struct StepResult {
    std::uint32_t pos = 0;
    bool swapColours = false;  // an odd number of completed turns
};

// Adds step to pos and takes away whole turns while the position is beyond
// the range, noting whether the colours change places. A range of 0 is taken
// as 1.
StepResult AdvancePosition(std::uint32_t pos, std::uint32_t step, std::uint32_t range);

}  // namespace skin
