// A control its owner draws entirely (the logo, the progress indicator);
// until a custom class replaces it (SubclassDlgItem), it draws nothing.
#pragma once

#include "platform/window/window.h"

namespace platform::window {

class CustomControl : public Window {};

}  // namespace platform::window
