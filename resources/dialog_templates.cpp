#include "resources/dialog_templates.h"

#include "resources/templates/all_templates.h"

namespace res {

namespace {

constexpr const platform::window::DialogTemplate* TEMPLATES[] = {
    &templates::MAIN_CONSOLE,   &templates::STATUS_PANEL,     &templates::CONFIG_MENU,
    &templates::NETWORK_CONFIG, &templates::CHANNEL_SELECT,   &templates::CONTENT_SELECT,
    &templates::RESET_CONFIRM,  &templates::LOAD_SAVE,        &templates::VIDEO_PID,
    &templates::HISTORY_PANEL,  &templates::SATELLITE_TUNING,
};

}  // namespace

const platform::window::DialogTemplate* FindDialogTemplate(int id) {
    for (const auto* dialog : TEMPLATES)
        if (dialog->id == id) return dialog;
    return nullptr;
}

std::span<const platform::window::DialogTemplate* const> AllDialogTemplates() {
    return TEMPLATES;
}

}  // namespace res
