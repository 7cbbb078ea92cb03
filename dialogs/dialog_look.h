// What the configuration dialogs share in look and placement: the skin's
// colours for the controls that ask, the picture buttons, the balloon tips
// and where a dialog stands beside the window that opened it.
#pragma once

#include <initializer_list>
#include <string_view>

#include "platform/window/balloon_tooltip.h"
#include "platform/window/dialog.h"
#include "platform/window/geometry.h"

namespace dialogs {

// The dialogs' tip text colour: RGB (204, 48, 45), a shade apart from the
// skin colour (204, 45, 48) the rest of the console uses for its tips.
inline constexpr platform::window::ColorRef DIALOG_TIP_COLOR = platform::window::Rgb(204, 48, 45);

// Gives button `id` the picture `bitmapId`, drawn centred.
void SetButtonBitmap(platform::window::Dialog& dialog, int id, int bitmapId);

// A control, or the dialog itself for the rest of it, and its tip.
struct ToolText {
    platform::window::Window* window;  // null adds no tool
    const char* text;
};

// Creates always-tip balloon tips with an information icon and `title`,
// shown for `showMs` and reshown at once, in the dialogs' tip colour.
void SetUpToolTips(platform::window::BalloonToolTip& tips, platform::window::Dialog& dialog,
                   std::string_view title, int showMs, std::initializer_list<ToolText> tools);

// Selections and focus rings in the skin colour instead of the platform's
// blue, for the whole dialog.
void UseSkinHighlight(platform::window::Dialog& dialog);

// The text colour every control of a configuration dialog gets when it
// asks: the skin colour.
void GiveSkinTextColour(platform::window::ControlColors& colors);

// Which corner of the owner's window the dialog's top-left corner goes to.
enum class OwnerCorner { TopLeft, TopRight };

// Moves the dialog, keeping its size, so that its top-left corner lies on
// the owner window's corner, and asks to place it behind the owner; a
// dialog in its modal run stays above it (see Dialog::PlaceBehind). Nothing
// happens without an owner window.
void PlaceAtOwnerCorner(platform::window::Dialog& dialog, OwnerCorner corner);

}  // namespace dialogs
