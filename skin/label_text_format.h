// How a transparent label lays out its text, read from the static control's
// style bits as the dialog template gives them.
#pragma once

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

}  // namespace skin
