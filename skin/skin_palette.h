// The colours of the console's skin. The skin colour is the receivers'
// brand red; every other tone is chosen to keep red text readable on it.
#pragma once

#include <QColor>

namespace skin {

// Text of labels, tooltips, the logo and the progress indicator.
inline const QColor SKIN_COLOR{204, 45, 48};

// The progress indicator's own start colours.
inline const QColor PROGRESS_WEDGE_START{255, 0, 0};
inline const QColor PROGRESS_DISC_START{240, 30, 30};

// The two tones of the check box's bump edge, as the platform's classic
// three-dimensional frames use them.
inline const QColor EDGE_LIGHT{227, 227, 227};
inline const QColor EDGE_DARK_SHADOW{105, 105, 105};

}  // namespace skin
