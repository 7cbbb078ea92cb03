#include "skin/template_layout.h"

namespace skin {

namespace window = platform::window;

window::Size ClientSizePixels(const window::DialogTemplate& dialog, const window::BaseUnits& base) {
    return window::Size{window::HorizontalPixels(dialog.cx, base),
                        window::VerticalPixels(dialog.cy, base)};
}

window::Rect ControlRectPixels(const window::ControlTemplate& control,
                               const window::BaseUnits& base) {
    return window::Rect::FromSize(
        window::HorizontalPixels(control.x, base), window::VerticalPixels(control.y, base),
        window::HorizontalPixels(control.cx, base), window::VerticalPixels(control.cy, base));
}

std::vector<window::Window*> FindControlsInOrder(const window::Window& dialog,
                                                 std::span<const int> ids) {
    std::vector<window::Window*> found;
    window::Window* next = dialog.GetTopWindow();
    for (const int id : ids) {
        window::Window* match = nullptr;
        for (; next != nullptr && match == nullptr; next = next->GetNextWindow())
            if (next->GetDlgCtrlID() == id) match = next;
        if (match == nullptr) break;
        found.push_back(match);
    }
    return found;
}

}  // namespace skin
