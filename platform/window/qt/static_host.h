// The native window of a StaticControl: a QLabel laid out from the
// control's style bits and showing its display text, with the edges drawn
// over it. Mouse presses pass through to the dialog unless SS_NOTIFY is set.
#pragma once

#include <QLabel>

#include <memory>

#include "platform/window/qt/host.h"
#include "platform/window/static_control.h"

namespace platform::window::qt {

class StaticHost : public OwningHost<QLabel> {
  public:
    StaticHost(std::unique_ptr<StaticControl> control, QWidget* parent);

    // Null once the control has let go of its window.
    StaticControl* Control() const { return static_cast<StaticControl*>(Owner()); }

    // Takes the control's style bits (alignment, wrapping, edges) and text.
    void ApplyStyle();
    void ApplyText();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    std::uint32_t Style() const;
};

}  // namespace platform::window::qt
