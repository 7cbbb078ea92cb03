// The program's dialog templates by id.
#pragma once

#include <span>

#include "platform/window/dialog_template.h"

namespace res {

// Null when there is no template with this id.
const platform::window::DialogTemplate* FindDialogTemplate(int id);

// Every template, in the order of their ids.
std::span<const platform::window::DialogTemplate* const> AllDialogTemplates();

}  // namespace res
