// What a window shows beneath one of its child windows: the parent's own
// painting and the siblings stacked below the child, clipped to the child's
// rectangle (on Win32: the parent and those siblings painted into a memory
// bitmap with WM_PRINTCLIENT). A control that fades or blends over its
// background takes this picture once instead of asking the parent to paint
// on every frame.
#pragma once

#include "platform/window/image.h"
#include "platform/window/window.h"

namespace platform::window {

// A picture of the child's size. Without a parent it is filled with the
// child's background colour; without a native window, or when the child has
// no area, it is the null image.
Image GrabUnderneath(const Window& child);

}  // namespace platform::window
