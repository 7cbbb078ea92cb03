// Line glyphs of the skin, each drawn into a box with a pen colour and
// width. All are built from a few strokes so they stay crisp at small sizes.
#pragma once

#include <QColor>
#include <QPainter>
#include <QRectF>

namespace skin::art {

// A mast under a dot with radio waves on both sides: the receivers' mark.
void DrawBroadcastTower(QPainter& p, const QRectF& box, const QColor& mast, const QColor& waves,
                        qreal width, int waveCount);
void DrawPower(QPainter& p, const QRectF& box, const QColor& colour, qreal width);
void DrawCheck(QPainter& p, const QRectF& box, const QColor& colour, qreal width);
void DrawCross(QPainter& p, const QRectF& box, const QColor& colour, qreal width);
void DrawChevronDown(QPainter& p, const QRectF& box, const QColor& colour, qreal width);
// A shaft with an arrow head, pointing right or left.
void DrawArrow(QPainter& p, const QRectF& box, const QColor& colour, qreal width, bool pointsRight);
void DrawTrash(QPainter& p, const QRectF& box, const QColor& colour, qreal width);
void DrawFolder(QPainter& p, const QRectF& box, const QColor& colour, qreal width);
// Minimise to the notification area: an arrow down onto a tray.
void DrawToTray(QPainter& p, const QRectF& box, const QColor& colour, qreal width);
// Configuration: three sliders.
void DrawSliders(QPainter& p, const QRectF& box, const QColor& colour, qreal width);
// Files: a page with a folded corner and text lines.
void DrawDocument(QPainter& p, const QRectF& box, const QColor& colour, qreal width);
// Status: a signal trace.
void DrawPulse(QPainter& p, const QRectF& box, const QColor& colour, qreal width);
// Network: three linked nodes.
void DrawNetwork(QPainter& p, const QRectF& box, const QColor& colour, qreal width);
// Channel: rising signal bars.
void DrawSignalBars(QPainter& p, const QRectF& box, const QColor& colour);
// Content: a list with bullets.
void DrawList(QPainter& p, const QRectF& box, const QColor& colour, qreal width);
// Reset: a circular arrow.
void DrawReset(QPainter& p, const QRectF& box, const QColor& colour, qreal width);

}  // namespace skin::art
