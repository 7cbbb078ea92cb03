// Dialog units to pixels: a template's rectangles are in quarters of the
// font's average character width (baseX) and eighths of its height (baseY).
// Plain arithmetic, the same for every backend; how the base units are
// measured is the backend's (dialog_units.h on Qt, the dialog manager on
// Win32).
#pragma once

namespace platform::window {

inline constexpr double LAYOUT_DPI = 96.0;

struct BaseUnits {
    int baseX = 0;
    int baseY = 0;
};

// Character height in pixels: integer part of (points x dpi / 72 + 0.5).
int CharacterHeightPixels(int pointSize, double dpi);

// Integer part of (units x base x 0.25 + 0.5) horizontally and
// (units x base x 0.125 + 0.5) vertically.
int HorizontalPixels(int dialogUnits, const BaseUnits& base);
int VerticalPixels(int dialogUnits, const BaseUnits& base);

}  // namespace platform::window
