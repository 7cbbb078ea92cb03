// The dialog templates, one per file beside this one.
#pragma once

#include "platform/window/dialog_template.h"

namespace res::templates {

extern const platform::window::DialogTemplate kMainConsole;    // 102
extern const platform::window::DialogTemplate kStatusPanel;    // 144
extern const platform::window::DialogTemplate kConfigMenu;     // 149
extern const platform::window::DialogTemplate kNetworkConfig;  // 157
extern const platform::window::DialogTemplate kChannelSelect;  // 161
extern const platform::window::DialogTemplate kContentSelect;  // 162
extern const platform::window::DialogTemplate kResetConfirm;   // 166
extern const platform::window::DialogTemplate kLoadSave;       // 176
extern const platform::window::DialogTemplate kVideoPid;       // 180

}  // namespace res::templates
