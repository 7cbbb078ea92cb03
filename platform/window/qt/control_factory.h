// Creates the widget for one control of a dialog template: the class its
// kind calls for, its id, style and kind as properties, its text and its
// picture, at the given pixel rectangle. A control that is a Window gets a
// qt::ControlHost, which owns the object.
#pragma once

#include <QRect>
#include <QWidget>

#include "platform/window/dialog_template.h"

namespace platform::window {

QWidget* CreateControl(const ControlTemplate& item, const QRect& pixels, QWidget* parent);

}  // namespace platform::window
