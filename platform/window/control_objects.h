// The object a dialog template's control gets until a class of the
// dialog's own replaces it (SubclassDlgItem), on every backend: a
// ButtonControl for a push button with the template's picture, a
// StaticControl for a label, a PictureControl with its picture, a plain
// Window for a group box, ... of the template's style.
#pragma once

#include <memory>

#include "platform/window/dialog_template.h"
#include "platform/window/window.h"

namespace platform::window {

std::unique_ptr<Window> MakeControlObject(const ControlTemplate& item);

}  // namespace platform::window
