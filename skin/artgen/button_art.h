// Picture buttons of the skin: the hover buttons' three-state strips, the
// configuration menu's buttons and the load/save dialog's Browse button.
#pragma once

#include <QImage>
#include <QString>

namespace skin::art {

enum class ButtonGlyph { Sliders, Document, Pulse, Network, SignalBars, List, Reset, Folder };

// 322 x 32: normal, pressed and pointer-over faces of 107 x 32 side by side;
// the last column is never shown.
QImage HoverStrip(const QString& label, ButtonGlyph glyph);

// 123 x 39, shown centred on a 91 x 25 pixel button, so the face fills the
// middle and the rest is transparent.
QImage MenuButton(const QString& label, ButtonGlyph glyph);

// 100 x 30, shown centred on a 79 x 26 pixel button.
QImage BrowseButton();

}  // namespace skin::art
