// The native window of an EditControl: a QLineEdit set up from the
// control's style bits that reports each change of its text as EN_UPDATE
// and EN_CHANGE.
#pragma once

#include <QLineEdit>

#include <memory>

#include "platform/window/edit_control.h"
#include "platform/window/qt/host.h"

namespace platform::window::qt {

class EditHost : public OwningHost<QLineEdit> {
  public:
    EditHost(std::unique_ptr<EditControl> control, QWidget* parent);

    // Takes the control's style bits.
    void ApplyStyle(std::uint32_t style, std::uint32_t exStyle);
};

}  // namespace platform::window::qt
