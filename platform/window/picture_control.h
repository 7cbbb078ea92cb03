// A static picture: a bitmap or icon drawn at its own size at the top-left
// corner, centred with SS_CENTERIMAGE, or stretched over the control with
// SS_REALSIZECONTROL; whatever overhangs the control is cut off.
#pragma once

#include <cstdint>

#include "platform/window/icon.h"
#include "platform/window/image.h"
#include "platform/window/window.h"

namespace platform::window {

class PictureControl : public Window {
  public:
    PictureControl() { SetPaintsItself(); }

    void SetStyle(std::uint32_t style, std::uint32_t exStyle = 0);

    // Each returns the previous picture and repaints.
    Image SetBitmap(const Image& bitmap);
    Icon SetIcon(const Icon& icon);
    Image GetBitmap() const { return m_bitmap; }
    Icon GetIcon() const { return m_icon; }

    // Where the picture is drawn, in the control's coordinates; empty
    // without a picture.
    Rect PictureRect() const;

  protected:
    void OnPaint(DeviceContext& dc) override;

  private:
    Image Shown() const;
    Rect Inside() const;

    std::uint32_t m_style = 0;
    std::uint32_t m_exStyle = 0;
    Image m_bitmap;
    Icon m_icon;
};

}  // namespace platform::window
