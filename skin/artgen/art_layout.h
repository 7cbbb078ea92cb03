// Where the windows' controls land in pixels, so that the panels of the
// background pictures line up with them. Rectangles are the templates' dialog
// units turned into pixels exactly as the layout scaler does it: Arial 9 at
// 96 dots per inch.
#pragma once

#include <QRect>
#include <QSize>

#include "platform/window/dialog_units.h"

namespace skin::art {

// The base units of the templates' font (Arial 9 at 96 dots per inch).
platform::window::BaseUnits TemplateBaseUnits();

QRect DialogUnitsToPixels(int x, int y, int cx, int cy);
QSize DialogSizeToPixels(int cx, int cy);

}  // namespace skin::art
