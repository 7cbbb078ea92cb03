// The colours of the console's skin. The skin colour is the receivers'
// brand red; every other tone is chosen to keep red text readable on it.
#pragma once

#include <QColor>

namespace skin {

// Text of labels, tooltips, the logo and the progress indicator.
inline const QColor kSkinColor{204, 45, 48};

// The progress indicator's own start colours.
inline const QColor kProgressWedgeStart{255, 0, 0};
inline const QColor kProgressDiscStart{240, 30, 30};

// The four tones of a three-dimensional edge, light to dark, as the
// platform's classic etched and sunken frames use them.
inline const QColor kEdgeHighlight{255, 255, 255};
inline const QColor kEdgeLight{227, 227, 227};
inline const QColor kEdgeShadow{160, 160, 160};
inline const QColor kEdgeDarkShadow{105, 105, 105};

// A plain one-pixel border line.
inline const QColor kBorderLine{100, 100, 100};

}  // namespace skin
