// The borders Win32 draws around simple controls: WS_BORDER (a black line),
// SS_SUNKEN or WS_EX_STATICEDGE (a one-pixel sunken edge) and
// WS_EX_CLIENTEDGE (a two-pixel sunken edge), outermost first.
#pragma once

#include <cstdint>

#include "platform/window/device_context.h"
#include "platform/window/geometry.h"

namespace platform::window {

// Width, on every side, of the borders that `style` and `exStyle` ask for.
int EdgeWidth(std::uint32_t style, std::uint32_t exStyle);

// Draws those borders inside `rect`.
void DrawEdges(DeviceContext& dc, const Rect& rect, std::uint32_t style, std::uint32_t exStyle);

// A one-pixel sunken edge (dark top and left, light bottom and right) or,
// with `raised`, the opposite.
void DrawThinEdge(DeviceContext& dc, const Rect& rect, bool raised);

}  // namespace platform::window
