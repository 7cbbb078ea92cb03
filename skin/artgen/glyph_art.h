// Small picture buttons and state images of the skin, on transparent ground.
#pragma once

#include <QImage>

namespace skin::art {

QImage MinimiseToTrayGlyph();  // bitmap 132, 16 x 20
QImage ShutDownGlyph();        // bitmap 156, 30 x 30, shown on a 21 x 18 button
QImage DropDownGlyph();        // bitmap 167, 30 x 30, red, shown on a 32 x 21 button
QImage OkGlyph();              // bitmap 159, 23 x 23, check mark
QImage CancelGlyph();          // bitmap 160, 23 x 23, 'X'
QImage AddGlyph();             // bitmap 163, 27 x 19, arrow
QImage RemoveGlyph();          // bitmap 164, 27 x 20
QImage ClearGlyph();           // bitmap 165, 37 x 27, shown on a 32 x 21 button
// Bitmaps 175 (green) and 174 (red), 27 x 27: the IGMP lamp on and off, and
// the load/save dialog's OK and Cancel. The lamp's control is 25 x 21
// pixels, so the disc keeps within the middle 21 rows.
QImage GreenLamp();
QImage RedLamp();

}  // namespace skin::art
