// A static drawn as a frame or filled rectangle (SS_BLACKFRAME,
// SS_ETCHEDFRAME, SS_GRAYRECT, ...) or, for a text type without text, just
// the edges its style asks for (a "sunken frame").
#pragma once

#include <cstdint>

#include "platform/window/window.h"

namespace platform::window {

class FrameControl : public Window {
  public:
    FrameControl() { SetPaintsItself(); }

    void SetStyle(std::uint32_t style, std::uint32_t exStyle = 0);

  protected:
    void OnPaint(DeviceContext& dc) override;

  private:
    std::uint32_t m_style = 0;
    std::uint32_t m_exStyle = 0;
};

}  // namespace platform::window
