// The colours of the console's skin. The skin colour is the receivers'
// brand red; every other tone is chosen to keep red text readable on it.
#pragma once

#include "platform/window/geometry.h"

namespace skin {

using platform::window::ColorRef;
using platform::window::Rgb;

// Text of labels, tooltips, the logo and the progress indicator.
inline constexpr ColorRef SKIN_COLOR = Rgb(204, 45, 48);

// The progress indicator's own start colours.
inline constexpr ColorRef PROGRESS_WEDGE_START = Rgb(255, 0, 0);
inline constexpr ColorRef PROGRESS_DISC_START = Rgb(240, 30, 30);

// The two tones of the check box's bump edge, as the platform's classic
// three-dimensional frames use them.
inline constexpr ColorRef EDGE_LIGHT = Rgb(227, 227, 227);
inline constexpr ColorRef EDGE_DARK_SHADOW = Rgb(105, 105, 105);

}  // namespace skin
