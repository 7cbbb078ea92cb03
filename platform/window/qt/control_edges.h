// The edges of control_edges.h for the controls that are still painted with
// a QPainter.
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

// A one-pixel sunken edge or, with `raised`, a raised one.
void DrawThinEdge(QPainter& painter, const QRect& rect, bool raised);

}  // namespace platform::window
