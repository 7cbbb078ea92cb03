// How a transparent label lays out its text, read from the static control's
// style bits as the dialog template gives them.
#pragma once

#include <QMargins>
#include <Qt>

#include <cstdint>

#include "platform/window/styles.h"

namespace skin {

struct LabelTextFormat {
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop;
    bool singleLine = false;   // centre-image: one line, centred vertically
    bool wordWrap = false;     // long lines break at word boundaries
    bool showMnemonic = true;  // "&x" underlines x; "&&" is a literal "&"
    bool ellipsis = false;     // lines too long end in "..."
    Qt::TextElideMode elideMode = Qt::ElideNone;
};

LabelTextFormat FormatForStyle(std::uint32_t style);

// Qt text flags for QPainter::drawText from a format.
int TextFlags(const LabelTextFormat& format);

// Width of the edges the label draws around its text area, per side.
struct LabelFrame {
    bool border = false;  // one plain line
    int sunkenDepth = 0;  // 0, 1 (static edge) or 2 (client edge)
    int Thickness() const { return (border ? 1 : 0) + sunkenDepth; }
};

LabelFrame FrameForStyle(std::uint32_t style, std::uint32_t exStyle);

}  // namespace skin
