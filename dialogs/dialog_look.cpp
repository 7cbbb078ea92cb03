#include "dialogs/dialog_look.h"

#include "platform/window/button_control.h"
#include "platform/window/images.h"
#include "skin/skin_palette.h"

namespace dialogs {

namespace window = platform::window;

void SetButtonBitmap(window::Dialog& dialog, int id, int bitmapId) {
    if (auto* button = dialog.GetDlgItemAs<window::ButtonControl>(id))
        button->SetBitmap(window::LoadBitmap(bitmapId));
}

void SetUpToolTips(window::BalloonToolTip& tips, window::Dialog& dialog, std::string_view title,
                   int showMs, std::initializer_list<ToolText> tools) {
    tips.Create(&dialog, window::TTS_ALWAYSTIP | window::TTS_BALLOON);
    tips.SetTitle(window::TTI_INFO, title);
    for (const ToolText& tool : tools) tips.AddTool(tool.window, tool.text);
    tips.SetDelayTime(window::TTDT_AUTOPOP, showMs);
    tips.SetDelayTime(window::TTDT_RESHOW, 0);
    tips.SetTipTextColor(DIALOG_TIP_COLOR);
}

void UseSkinHighlight(window::Dialog& dialog) {
    dialog.SetHighlightColors(skin::SKIN_COLOR, window::Rgb(255, 255, 255));
}

void GiveSkinTextColour(window::ControlColors& colors) {
    colors.text = skin::SKIN_COLOR;
}

void PlaceAtOwnerCorner(window::Dialog& dialog, OwnerCorner corner) {
    window::Window* owner = dialog.GetOwnerWindow();
    if (owner == nullptr) return;
    // The owner's whole window, frame included, as Win32 gives it.
    const window::Rect rect = owner->GetWindowRect();
    dialog.MoveTo(corner == OwnerCorner::TopRight ? rect.right : rect.left, rect.top);
    dialog.PlaceBehind(owner);
}

}  // namespace dialogs
