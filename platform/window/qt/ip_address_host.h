// The native window of an IpAddressControl: a plain widget that draws the
// sunken edge and the dots, holding one QLineEdit per number, and moves the
// caret from field to field as the operator types.
#pragma once

#include <QLineEdit>
#include <QWidget>

#include <array>
#include <memory>

#include "platform/window/ip_address_control.h"
#include "platform/window/qt/host.h"

namespace platform::window::qt {

class IpAddressHost : public OwningHost<QWidget> {
  public:
    IpAddressHost(std::unique_ptr<IpAddressControl> control, QWidget* parent);

    // Takes the control's style bits (its edges).
    void ApplyStyle(std::uint32_t style, std::uint32_t exStyle);

    // Field 0 to 3, first number first; null for another index.
    QLineEdit* Field(int index) const;
    // The number in a field, held at 255; -1 when blank.
    int FieldValue(int index) const;
    void FocusField(int index);

    bool byCode = false;  // a change made through the control's interface

    bool eventFilter(QObject* watched, QEvent* event) override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void LayoutFields();
    void FieldEdited(int index);

    std::array<QLineEdit*, 4> m_fields{};
    std::uint32_t m_style = 0;
    std::uint32_t m_exStyle = 0;
};

// Field `index` (0 to 3) of an address control, for tests that type into
// it; null without a window or for another index.
QLineEdit* IpAddressField(const IpAddressControl& control, int index);

}  // namespace platform::window::qt
