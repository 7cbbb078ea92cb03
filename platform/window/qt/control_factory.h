// Creates the widget for one control of a dialog template: the class its
// kind calls for, its id, style and kind as properties, its text and its
// picture, at the given pixel rectangle. A control that is a Window gets a
// qt::ControlHost, which owns the object.
#pragma once

#include <QRect>
#include <QWidget>

#include <memory>

#include "platform/window/dialog_template.h"
#include "platform/window/window.h"

namespace platform::window {

QWidget* CreateControl(const ControlTemplate& item, const QRect& pixels, QWidget* parent);

// The native window, of the kind its class calls for, of a control object
// that replaces a dialog's control (SubclassDlgItem); it owns the object.
QWidget* MakeHost(std::unique_ptr<Window> object, QWidget* parent);

}  // namespace platform::window
