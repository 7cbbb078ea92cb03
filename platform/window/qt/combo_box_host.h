// The native window of a ComboBoxControl: a non-editable QComboBox that
// holds the items, the dropped width and the extended interface, tells the
// dialog when its list drops down and closes up, and reports the operator's
// picks.
#pragma once

#include <QComboBox>

#include <memory>

#include "platform/window/combo_box_control.h"
#include "platform/window/qt/host.h"

namespace platform::window::qt {

class ComboBoxHost : public OwningHost<QComboBox> {
  public:
    ComboBoxHost(std::unique_ptr<ComboBoxControl> control, QWidget* parent);

    void showPopup() override;
    void hidePopup() override;

    bool dropped = false;
    bool extendedUI = false;
    bool byCode = false;  // a change made through the control's interface
    int droppedWidth = 0;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// The combo box widget behind a combo box; null when it has no window.
QComboBox* ComboBoxOf(const ComboBoxControl& control);

}  // namespace platform::window::qt
