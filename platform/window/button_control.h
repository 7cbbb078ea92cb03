// Push buttons and check boxes. A push button shows text, or with BM_SETIMAGE
// semantics a bitmap or icon at its own size, centred (BS_LEFT or BS_RIGHT
// move it to that side) and cut off where it overhangs. A flat button draws
// no bevel, only its picture, so a skin's picture sits on the window's
// background. Owner-drawn buttons (BS_OWNERDRAW) are drawn by the dialog's
// OnDrawItem.
#pragma once

#include <QCheckBox>
#include <QPushButton>

#include <cstdint>

#include "platform/window/icon.h"
#include "platform/window/image.h"

namespace platform::window {

class ButtonControl : public QPushButton {
    Q_OBJECT

  public:
    explicit ButtonControl(QWidget* parent = nullptr);

    void SetStyle(std::uint32_t style);
    std::uint32_t Style() const { return m_style; }
    bool IsDefaultButton() const;

    // Each returns the previous picture of its kind and repaints.
    Image SetBitmap(const Image& bitmap);
    Icon SetIcon(const Icon& icon);
    Image GetBitmap() const { return m_bitmap; }
    Icon GetIcon() const { return m_icon; }

    // Where the picture is drawn when the button is up.
    QRect PictureRect() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QPixmap Shown() const;

    std::uint32_t m_style = 0;
    Image m_bitmap;
    Icon m_icon;
};

class CheckBoxControl : public QCheckBox {
    Q_OBJECT

  public:
    explicit CheckBoxControl(QWidget* parent = nullptr);

    void SetStyle(std::uint32_t style);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::uint32_t m_style = 0;
};

}  // namespace platform::window
