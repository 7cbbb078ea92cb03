// The look of the skin's artwork: a light console theme with the receivers'
// red as the accent. Light surfaces keep the red label text readable (about
// 4.6 : 1 against the base tone) through a working day.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QSize>
#include <QString>

namespace skin::art {

inline const QColor RED{204, 45, 48};  // the skin colour
inline const QColor RED_DEEP{168, 32, 36};
inline const QColor RED_EDGE{140, 24, 28};
inline const QColor RED_SOFT{236, 150, 151};
inline const QColor RED_TINT_TOP{255, 247, 247};
inline const QColor RED_TINT_BOTTOM{250, 228, 228};
inline const QColor GREEN{40, 158, 72};
inline const QColor GREEN_DEEP{26, 122, 52};

inline const QColor BASE{238, 239, 241};       // window surface
inline const QColor BASE_TOP{243, 244, 246};   // top of a window's gradient
inline const QColor BASE_DEEP{226, 228, 232};  // footer band
inline const QColor PANEL{248, 248, 250};      // raised card
inline const QColor PANEL_BORDER{205, 208, 214};
inline const QColor DISPLAY{253, 253, 254};  // where values are shown
inline const QColor SEPARATOR{208, 211, 217};
inline const QColor WINDOW_EDGE{150, 154, 161};
inline const QColor INK{72, 77, 86};
inline const QColor INK_SOFT{138, 143, 152};
inline const QColor WHITE{255, 255, 255};

// A picture with a transparent background, ready for drawing.
QImage TransparentCanvas(QSize size);
// A picture filled with one colour.
QImage SolidCanvas(QSize size, const QColor& colour);

// A painter with antialiasing for shapes and text.
void Smooth(QPainter& painter);

// The skin's text face at a pixel size.
QFont ArtFont(int pixelSize, bool bold = false, double letterSpacing = 0.0);

// A raised card: light fill, one-pixel border and a white top highlight.
void DrawPanel(QPainter& painter, const QRect& rect, int radius = 3);
// A recessed well with a soft inner shade, where values or buttons sit.
void DrawWell(QPainter& painter, const QRect& rect, int radius = 3);
// A flat area where a label shows a value; the label draws its own edge.
void DrawDisplay(QPainter& painter, const QRect& rect);
// A horizontal separator: a shade line with a highlight under it.
void DrawSeparator(QPainter& painter, int left, int right, int y);

}  // namespace skin::art
