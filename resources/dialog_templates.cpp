#include "resources/dialog_templates.h"

#include "resources/templates/all_templates.h"

namespace res {

namespace {

constexpr const platform::window::DialogTemplate* kTemplates[] = {
    &templates::kMainConsole,   &templates::kStatusPanel,   &templates::kConfigMenu,
    &templates::kNetworkConfig, &templates::kChannelSelect, &templates::kContentSelect,
    &templates::kResetConfirm,  &templates::kLoadSave,      &templates::kVideoPid,
};

}  // namespace

const platform::window::DialogTemplate* FindDialogTemplate(int id) {
    for (const auto* dialog : kTemplates)
        if (dialog->id == id) return dialog;
    return nullptr;
}

std::span<const platform::window::DialogTemplate* const> AllDialogTemplates() {
    return kTemplates;
}

}  // namespace res
