// The native windows of ButtonControls: a QPushButton for push buttons, a
// QCheckBox for check boxes and, for button classes that paint themselves,
// a QAbstractButton that draws nothing of its own. Each tells its button
// when the operator's push starts and ends, hands an owner-drawn button to
// the dialog's OnDrawItem, and owns the button when it was made for a
// dialog (see OwningHost).
#pragma once

#include <QAbstractButton>
#include <QCheckBox>
#include <QPushButton>

#include <memory>

#include "platform/window/button_control.h"
#include "platform/window/qt/host.h"

namespace platform::window::qt {

// A button that draws nothing itself: its Window paints.
class BareButton : public QAbstractButton {
  public:
    using QAbstractButton::QAbstractButton;

  protected:
    void paintEvent(QPaintEvent*) override {}
};

template <class Base>
class ButtonHost : public Host<Base> {
  public:
    // The window of a button object that lives on its own (Create).
    ButtonHost(ButtonControl& control, QWidget* parent);
    // The window of a dialog's button, which it owns.
    ButtonHost(std::unique_ptr<ButtonControl> control, QWidget* parent);
    // Unlinked first: the object must not see the widget's last events.
    ~ButtonHost() override { this->Detach(); }

    // Null once the button has let go of its window.
    ButtonControl* Control() const { return static_cast<ButtonControl*>(this->Owner()); }

    // Takes the button's style bits.
    void ApplyStyle();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    enum class Push { None, Mouse, Key };
    // Reports a push that began with this event (the button went down).
    void StartPush(bool wasDown, Push by);
    void EndPush(Push by);

    std::unique_ptr<ButtonControl> m_object;
    Push m_push = Push::None;
};

using PushButtonHost = ButtonHost<QPushButton>;
using CheckBoxHost = ButtonHost<QCheckBox>;
using BareButtonHost = ButtonHost<BareButton>;

// The window for a dialog's button, of the kind the button calls for: bare
// for a class that paints itself, a check box for a CheckBoxControl or a
// check box style, else a push button. It owns the button.
QAbstractButton* MakeButtonHost(std::unique_ptr<ButtonControl> button, QWidget* parent);

}  // namespace platform::window::qt
