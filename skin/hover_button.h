// CHoverButton: a push button whose face comes from a strip of three
// pictures (normal, pressed, pointer-over). It paints only the chosen face at
// its top-left corner; anything else it covers shows the window beneath.
#pragma once

#include "platform/window/button_control.h"
#include "platform/window/device_context.h"
#include "platform/window/image.h"
#include "skin/hover_faces.h"

namespace skin {

class CHoverButton : public platform::window::ButtonControl {
  public:
    CHoverButton();

    // Loads the strip from the program's bitmaps and sizes the button to one
    // face. False, leaving the button as it was, when there is no such bitmap.
    bool LoadBitmapStrip(int bitmapId);

    // Takes the strip, resizes the button to one face without moving it and
    // raises it above its siblings (the window's background picture).
    void SetBitmapStrip(const platform::window::Image& strip);

    platform::window::Size StateSize() const { return m_stateSize; }
    bool IsPointerOver() const { return m_hover; }
    HoverFace CurrentFace() const;

  protected:
    void OnPaint(platform::window::DeviceContext& dc) override;
    void OnMouseMove(platform::window::Point point) override;
    void OnMouseLeave() override;

  private:
    void SetPointerOver(bool over);

    platform::window::Image m_strip;
    platform::window::Size m_stateSize;
    bool m_hover = false;
    bool m_tracking = false;  // the pointer is being followed until it leaves
};

}  // namespace skin
