// Background pictures of the skinned windows.
#pragma once

#include <QImage>

namespace skin::art {

QImage MainWindowBackground();   // bitmap 131, 407 x 187
QImage StatusPanelBackground();  // bitmap 145, 408 x 184
// Bitmap 150, 110 x 185: the configuration menu's background and the
// load/save dialog's tiled fill, so it is an even surface that tiles
// without seams.
QImage MenuBackgroundTile();
// Bitmap 158, 283 x 185: the background of the network, channel, content and
// reset dialogs, and the tile the red check boxes and tinted labels fill
// from their own top-left corner, so that corner is plain surface.
QImage DialogBackground();
QImage VideoPidBackground();  // bitmap 182, 283 x 125, same rule as 158

}  // namespace skin::art
