// The dialog templates, one per file beside this one.
#pragma once

#include "platform/window/dialog_template.h"

namespace res::templates {

extern const platform::window::DialogTemplate MAIN_CONSOLE;      // 102
extern const platform::window::DialogTemplate STATUS_PANEL;      // 144
extern const platform::window::DialogTemplate CONFIG_MENU;       // 149
extern const platform::window::DialogTemplate NETWORK_CONFIG;    // 157
extern const platform::window::DialogTemplate CHANNEL_SELECT;    // 161
extern const platform::window::DialogTemplate CONTENT_SELECT;    // 162
extern const platform::window::DialogTemplate RESET_CONFIRM;     // 166
extern const platform::window::DialogTemplate LOAD_SAVE;         // 176
extern const platform::window::DialogTemplate VIDEO_PID;         // 180
extern const platform::window::DialogTemplate HISTORY_PANEL;     // 184
extern const platform::window::DialogTemplate SATELLITE_TUNING;  // 186

}  // namespace res::templates
