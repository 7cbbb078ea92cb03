// How a transparent label lays out its text, read from the static control's
// style bits as the dialog template gives them: DrawText's format bits.
#pragma once

#include <cstdint>

namespace skin {

// The DT_ bits for a static of `style`: SS_LEFT / SS_CENTER / SS_RIGHT give
// the alignment; SS_CENTERIMAGE one line centred vertically; SS_NOPREFIX a
// literal '&'; an SS_ ellipsis bit its DT_ ellipsis (the path ellipsis keeps
// the end of a path readable). Lines break at words unless the style is
// SS_LEFTNOWORDWRAP, centres the image or ends in an ellipsis.
unsigned LabelTextFormat(std::uint32_t style);

}  // namespace skin
