// Which face of a hover button's three-state strip is shown, and where it
// lies in the strip: normal at x = 0, pressed at one face width, pointer-over
// at two face widths.
#pragma once

#include "platform/window/geometry.h"

namespace skin {

enum class HoverFace { Normal = 0, Pressed = 1, PointerOver = 2 };

// Pressed wins over pointer-over; focus and disabled have no face of their own.
HoverFace ChooseFace(bool pressed, bool pointerOver);

// One face is a third of the strip's width (rounded toward zero) and the
// strip's full height, so a 322-pixel strip never shows its last column.
platform::window::Size FaceSize(platform::window::Size stripSize);

platform::window::Rect FaceSourceRect(HoverFace face, platform::window::Size faceSize);

}  // namespace skin
