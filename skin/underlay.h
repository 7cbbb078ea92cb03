// What a window shows beneath one of its child controls: the parent's own
// painting and the siblings stacked below the control, clipped to the
// control's rectangle.
#pragma once

#include <QPixmap>
#include <QWidget>

namespace skin {

// A picture of the control's size. Without a parent it is filled with the
// control's window colour.
QPixmap GrabUnderneath(const QWidget& control);

}  // namespace skin
