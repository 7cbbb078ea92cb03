#include "skin/artgen/art_layout.h"

namespace skin::art {

namespace window = platform::window;

window::BaseUnits TemplateBaseUnits() {
    const window::TemplateFont arial9{"Arial", 9, 400, false};
    return window::MeasureBaseUnits(window::MakeFont(arial9, window::LAYOUT_DPI));
}

QRect DialogUnitsToPixels(int x, int y, int cx, int cy) {
    const window::BaseUnits base = TemplateBaseUnits();
    return QRect(window::HorizontalPixels(x, base), window::VerticalPixels(y, base),
                 window::HorizontalPixels(cx, base), window::VerticalPixels(cy, base));
}

QSize DialogSizeToPixels(int cx, int cy) {
    return DialogUnitsToPixels(0, 0, cx, cy).size();
}

}  // namespace skin::art
