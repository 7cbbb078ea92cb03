// Creates the widget for one control of a dialog template: the class its
// kind calls for, its id, style and kind as properties, its text and its
// picture, at the given pixel rectangle.
#pragma once

#include <QRect>
#include <QWidget>

#include "platform/window/dialog_template.h"

namespace platform::window {

// A control its owner draws entirely (the logo, the progress indicator);
// until a custom class replaces it, it draws nothing.
class CustomControl : public QWidget {
    Q_OBJECT

  public:
    explicit CustomControl(QWidget* parent = nullptr) : QWidget(parent) {}
};

QWidget* CreateControl(const ControlTemplate& item, const QRect& pixels, QWidget* parent);

}  // namespace platform::window
