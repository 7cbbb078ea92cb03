// CAniLogo: the text "R40" fitted to the control and faded in and out over
// what lay beneath the control when it was first painted. The owner's timer
// calls Animate; the logo has no timer of its own.
#pragma once

#include <array>
#include <string>

#include "platform/window/image.h"
#include "platform/window/window.h"
#include "skin/logo_fade.h"

namespace skin {

class CAniLogo : public platform::window::Window {
  public:
    // Every paint covers the whole control with the captured background, so
    // nothing beneath it needs repainting on each tick of the animation.
    CAniLogo() { SetPaintsItself(true); }

    // Returns the previous step.
    int SetStep(int step);
    void SetAlphaRange(int lowest, int highest);

    // One tick: moves the opacity with which the background is laid over the
    // text and repaints at once. The text shows with strength
    // (255 - alpha) / 255.
    void Animate();

    int Alpha() const { return m_fade.alpha; }
    bool IsRising() const { return m_fade.rising; }
    bool HasBackground() const { return m_backgroundCaptured; }
    const std::string& Text() const { return m_text; }

    // The picture the logo shows now: the captured background with the text,
    // faded by the current alpha once Animate has run. Null before the
    // first paint.
    platform::window::Image ComposeFrame() const;

    // Frames composed since the background was captured: each alpha is
    // composed once and then only copied to the screen.
    int ComposedFrames() const { return m_composedFrames; }

  protected:
    void OnPaint(platform::window::DeviceContext& dc) override;

  private:
    // The background with the text at full strength.
    const platform::window::Image& TextFrame() const;
    // The frame for the current alpha, from the cache when it is there.
    const platform::window::Image& CurrentFrame() const;
    // Where the letters may be: outside it every frame is the background.
    platform::window::Rect TextBounds() const;
    void DropCaches();

    std::string m_text = "R40";
    FadeState m_fade;
    int m_alphaStep = 2;
    int m_alphaMin = 0;
    int m_alphaMax = 255;
    platform::window::Image m_background;
    bool m_backgroundCaptured = false;
    bool m_fading = false;  // Animate has run: frames are faded by alpha

    // Composing a frame means fitting a font and blending; the logo cycles
    // through the same few dozen alphas all day, so each is made once.
    mutable platform::window::Image m_textFrame;
    mutable platform::window::Rect m_textBounds;
    mutable std::array<platform::window::Image, 256> m_fadedFrames;
    mutable int m_composedFrames = 0;
};

}  // namespace skin
