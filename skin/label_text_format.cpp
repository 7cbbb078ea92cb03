#include "skin/label_text_format.h"

namespace skin {

using platform::window::SS_CENTERIMAGE;
using platform::window::SS_ELLIPSISMASK;
using platform::window::SS_LEFTNOWORDWRAP;
using platform::window::SS_NOPREFIX;
using platform::window::SS_PATHELLIPSIS;

LabelTextFormat FormatForStyle(std::uint32_t style) {
    LabelTextFormat format;
    Qt::Alignment horizontal = Qt::AlignLeft;
    switch (style & 0x0003u) {  // 0 left, 1 centre, 2 right
        case 1:
            horizontal = Qt::AlignHCenter;
            break;
        case 2:
            horizontal = Qt::AlignRight;
            break;
        default:
            break;
    }
    const bool centreImage = (style & SS_CENTERIMAGE) != 0;
    format.alignment = horizontal | (centreImage ? Qt::AlignVCenter : Qt::AlignTop);
    format.singleLine = centreImage;
    format.showMnemonic = (style & SS_NOPREFIX) == 0;

    const std::uint32_t ellipsisBits = style & SS_ELLIPSISMASK;
    format.ellipsis = ellipsisBits != 0;
    if (ellipsisBits == SS_PATHELLIPSIS)
        format.elideMode = Qt::ElideMiddle;  // keeps the end of a path readable
    else if (ellipsisBits != 0)
        format.elideMode = Qt::ElideRight;

    format.wordWrap = (style & SS_LEFTNOWORDWRAP) == 0 && !centreImage && !format.ellipsis;
    return format;
}

int TextFlags(const LabelTextFormat& format) {
    int flags = static_cast<int>(format.alignment);
    if (format.singleLine) flags |= Qt::TextSingleLine;
    if (format.wordWrap) flags |= Qt::TextWordWrap;
    if (format.showMnemonic) flags |= Qt::TextShowMnemonic;
    return flags;
}

}  // namespace skin
