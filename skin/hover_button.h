// CHoverButton: a push button whose face comes from a strip of three
// pictures (normal, pressed, pointer-over). It paints only the chosen face at
// its top-left corner; anything else it covers shows the window beneath.
#pragma once

#include <QAbstractButton>

#include "platform/window/device_context.h"
#include "platform/window/image.h"
#include "skin/hover_faces.h"

namespace skin {

class CHoverButton : public QAbstractButton {
    Q_OBJECT

  public:
    explicit CHoverButton(QWidget* parent = nullptr);

    // Loads the strip from the program's bitmaps and sizes the button to one
    // face. False, leaving the button as it was, when there is no such bitmap.
    bool LoadBitmapStrip(int bitmapId);

    // Takes the strip, resizes the button to one face without moving it and
    // raises it above its siblings (the window's background picture).
    void SetBitmapStrip(const platform::window::Image& strip);

    platform::window::Size StateSize() const { return m_stateSize; }
    bool IsPointerOver() const { return m_hover; }
    HoverFace CurrentFace() const { return ChooseFace(isDown(), m_hover); }

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void OnPaint(platform::window::DeviceContext& dc);
    void mouseMoveEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    void SetPointerOver(bool over);

    platform::window::Image m_strip;
    platform::window::Size m_stateSize;
    bool m_hover = false;
    bool m_tracking = false;  // the pointer is being followed until it leaves
};

}  // namespace skin
