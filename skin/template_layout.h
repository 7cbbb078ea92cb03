// Turning a dialog template into pixels: the dialog's client size, each
// control's rectangle, and which child window stands for which control.
#pragma once

#include <span>
#include <vector>

#include "platform/window/dialog_template.h"
#include "platform/window/dialog_units.h"
#include "platform/window/geometry.h"
#include "platform/window/window.h"

namespace skin {

platform::window::Size ClientSizePixels(const platform::window::DialogTemplate& dialog,
                                        const platform::window::BaseUnits& base);

platform::window::Rect ControlRectPixels(const platform::window::ControlTemplate& control,
                                         const platform::window::BaseUnits& base);

// The child windows for the template's control ids, in template order. The
// search walks the dialog's children in the dialog manager's order
// (GetTopWindow, GetNextWindow): for the first id from the first child, for
// each further id from the child after the one found for the previous id.
// It stops at the first id without a child, so the result may be shorter
// than ids.
std::vector<platform::window::Window*> FindControlsInOrder(const platform::window::Window& dialog,
                                                           std::span<const int> ids);

}  // namespace skin
