// The borders Win32 draws around simple controls: WS_BORDER (a black line),
// SS_SUNKEN or WS_EX_STATICEDGE (a one-pixel sunken edge) and
// WS_EX_CLIENTEDGE (a two-pixel sunken edge), outermost first.
#pragma once

#include <QMargins>
#include <QPainter>
#include <QRect>

#include <cstdint>

namespace platform::window {

// Widths of the borders that `style` and `exStyle` ask for.
QMargins EdgeMargins(std::uint32_t style, std::uint32_t exStyle);

// Draws those borders inside `rect`.
void DrawEdges(QPainter& painter, const QRect& rect, std::uint32_t style, std::uint32_t exStyle);

// A one-pixel sunken edge (dark top and left, light bottom and right) or,
// with `raised`, the opposite.
void DrawThinEdge(QPainter& painter, const QRect& rect, bool raised);

}  // namespace platform::window
