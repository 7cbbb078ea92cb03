// Icons of the console.
#pragma once

#include <QColor>
#include <QImage>

namespace skin::art {

// Icon 128 (32 x 32 and 16 x 16) and the notification-area icon 170
// (32 x 32): the tower mark in white on a red tile. The desktop menu's icon
// is the application icon at the sizes of the icon theme.
QImage ApplicationIcon(int size);
QImage TrayIcon();

// Icons 146, 147 and 148: 8 x 8 lamps of one solid colour, the four corner
// pixels left clear so the lamp reads as round-cornered.
QImage IndicatorIcon(const QColor& colour);

}  // namespace skin::art
