// Dialog units: a template's rectangles are in quarters of the font's
// average character width (baseX) and eighths of its height (baseY).
// Windows are laid out at a fixed 96 dots per inch, whatever the display says.
#pragma once

#include <string>

#include "platform/window/dialog_template.h"
#include "platform/window/dialog_unit_pixels.h"  // BaseUnits and the arithmetic
#include "platform/window/font.h"

namespace platform::window {

struct TemplateFont {
    std::string face;  // UTF-8
    int pointSize = 8;
    int weight = 400;  // Win32 weight, 100 to 900
    bool italic = false;
};

// The template's own font when it has DS_SETFONT, else Tahoma 8 at weight 400.
// A point size negative as a 16-bit value stands for its magnitude.
TemplateFont FontOf(const DialogTemplate& dialog);

// The font of that character height (not cell height), weight and style.
Font MakeFont(const TemplateFont& font, double dpi);

// baseX = (width of the 52 letters / 26 + 1) / 2 in integers; baseY = the
// font's full height including internal leading (Font::LineHeight).
BaseUnits MeasureBaseUnits(const Font& font);

}  // namespace platform::window
