#include "platform/window/dialog_unit_pixels.h"

namespace platform::window {

int CharacterHeightPixels(int pointSize, double dpi) {
    return static_cast<int>(pointSize * dpi / 72.0 + 0.5);
}

int HorizontalPixels(int dialogUnits, const BaseUnits& base) {
    return static_cast<int>(dialogUnits * base.baseX * 0.25 + 0.5);
}

int VerticalPixels(int dialogUnits, const BaseUnits& base) {
    return static_cast<int>(dialogUnits * base.baseY * 0.125 + 0.5);
}

}  // namespace platform::window
