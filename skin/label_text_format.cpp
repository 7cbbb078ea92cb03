#include "skin/label_text_format.h"

#include "platform/window/device_context.h"
#include "platform/window/styles.h"

namespace skin {

namespace window = platform::window;

unsigned LabelTextFormat(std::uint32_t style) {
    unsigned format = window::DT_TOP;
    switch (style & 0x0003u) {  // 0 left, 1 centre, 2 right
        case 1:
            format |= window::DT_CENTER;
            break;
        case 2:
            format |= window::DT_RIGHT;
            break;
        default:
            format |= window::DT_LEFT;
            break;
    }
    const bool centreImage = (style & window::SS_CENTERIMAGE) != 0;
    if (centreImage) format |= window::DT_VCENTER | window::DT_SINGLELINE;
    if ((style & window::SS_NOPREFIX) != 0) format |= window::DT_NOPREFIX;

    const std::uint32_t ellipsis = style & window::SS_ELLIPSISMASK;
    if (ellipsis == window::SS_PATHELLIPSIS)
        format |= window::DT_PATH_ELLIPSIS;
    else if (ellipsis == window::SS_WORDELLIPSIS)
        format |= window::DT_WORD_ELLIPSIS;
    else if (ellipsis != 0)
        format |= window::DT_END_ELLIPSIS;

    if ((style & window::SS_LEFTNOWORDWRAP) == 0 && !centreImage && ellipsis == 0)
        format |= window::DT_WORDBREAK;
    return format;
}

}  // namespace skin
