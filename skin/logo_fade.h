// The animated logo's fade and text fitting.
#pragma once

#include <string_view>

#include "platform/window/font.h"
#include "platform/window/geometry.h"

namespace skin {

struct FadeState {
    int alpha = 0;
    bool rising = true;
};

// One tick: move alpha by step in its direction; past the top it is held at
// the top and turns down, below the bottom held at the bottom and turns up.
FadeState NextFade(FadeState state, int step, int alphaMin, int alphaMax);

// Weights of the logo's fonts.
inline constexpr int LOGO_WEIGHT_FITTING = 500;
inline constexpr int LOGO_WEIGHT_SHRUNK = 700;

struct LogoFont {
    platform::window::Font font;
    int pixelHeight = 0;              // character height asked for
    int weight = 0;                   // Win32-style weight, 500 or 700
    platform::window::Size textSize;  // measured text width and full line height
};

// Starts at a character height of 0.8 of the client height in a medium
// weight. While the text is wider or taller than the client area it shrinks
// to 0.95 of the height that would just fit the width, in bold. Every step
// gives a strictly smaller font, so the fitting ends for any text and size.
// The face is Arial.
LogoFont FitLogoFont(std::string_view text, platform::window::Size client);

}  // namespace skin
