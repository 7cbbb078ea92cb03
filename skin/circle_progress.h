// CMYCircleProgress: a disc in one colour over which a wedge in a second
// colour grows clockwise from twelve o'clock; at each full turn the colours
// change places so the animation runs on without a jump. The owner's timer
// calls StepIt.
#pragma once

#include <cstdint>

#include "platform/window/device_context.h"
#include "platform/window/geometry.h"
#include "platform/window/window.h"

namespace skin {

using platform::window::ColorRef;

class CMYCircleProgress : public platform::window::Window {
  public:
    CMYCircleProgress();

    // Each setter returns the previous value.
    std::uint32_t SetRange(std::uint32_t range);  // 0 is taken as 1
    std::uint32_t SetStep(std::uint32_t step);
    ColorRef SetColor(ColorRef wedge);
    ColorRef SetCircleColor(ColorRef disc);
    // Clamped to the range; repaints at once.
    std::uint32_t SetPos(std::uint32_t pos);

    // One tick: advance by the step, swapping colours at each completed turn.
    void StepIt();

    std::uint32_t Pos() const { return m_pos; }
    std::uint32_t Range() const { return m_range; }
    std::uint32_t Step() const { return m_step; }
    ColorRef Color() const { return m_color; }
    ColorRef CircleColor() const { return m_circleColor; }
    // Geometry of the last paint.
    platform::window::Rect Square() const { return m_square; }
    int Radius() const { return m_radius; }

  protected:
    void OnPaint(platform::window::DeviceContext& dc) override;

  private:
    std::uint32_t m_range = 100;
    std::uint32_t m_pos = 80;
    std::uint32_t m_step = 10;
    ColorRef m_color;
    ColorRef m_circleColor;
    platform::window::Rect m_square;
    int m_radius = 0;
};

}  // namespace skin
