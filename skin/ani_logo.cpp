#include "skin/ani_logo.h"

#include <algorithm>

#include "platform/window/device_context.h"
#include "platform/window/underlay.h"
#include "skin/skin_palette.h"

namespace skin {

namespace window = platform::window;

int CAniLogo::SetStep(int step) {
    const int previous = m_alphaStep;
    m_alphaStep = step;
    return previous;
}

void CAniLogo::SetAlphaRange(int lowest, int highest) {
    m_alphaMin = lowest;
    m_alphaMax = highest;
}

void CAniLogo::Animate() {
    const FadeState before = m_fade;
    m_fade = NextFade(m_fade, m_alphaStep, m_alphaMin, m_alphaMax);
    // Before the first paint there is no background to fade over.
    if (!m_backgroundCaptured) return;
    const bool changed = !m_fading || m_fade.alpha != before.alpha;
    m_fading = true;
    // Only the letters change from one alpha to the next.
    if (changed) RedrawWindow(TextBounds());
}

window::Rect CAniLogo::TextBounds() const {
    TextFrame();
    return m_textBounds;
}

const window::Image& CAniLogo::TextFrame() const {
    if (m_textFrame.IsNull() && m_backgroundCaptured) {
        const window::Size size = m_background.GetSize();
        const window::Rect client{0, 0, size.width, size.height};
        const LogoFont fitted = FitLogoFont(m_text, size);
        m_textFrame = window::PaintOnImage(m_background, [&](window::DeviceContext& dc) {
            dc.SetFont(fitted.font);
            dc.SetTextColor(SKIN_COLOR);
            dc.DrawText(client, m_text, window::DT_CENTER | window::DT_TOP | window::DT_NOPREFIX);
        });
        // The line the text is on, centred at the top, with two pixels more
        // on each side for the antialiased edges of the letters.
        const int left = (size.width - fitted.textSize.width) / 2 - 2;
        m_textBounds = window::Rect{std::max(left, 0), 0,
                                    std::min(left + fitted.textSize.width + 4, size.width),
                                    std::min(fitted.textSize.height, size.height)};
    }
    return m_textFrame;
}

const window::Image& CAniLogo::CurrentFrame() const {
    if (!m_fading) return TextFrame();
    const int alpha = std::clamp(m_fade.alpha, 0, 255);
    window::Image& cached = m_fadedFrames[static_cast<std::size_t>(alpha)];
    if (cached.IsNull()) {
        // Constant-opacity blend: each pixel becomes
        // background x alpha / 255 + picture x (255 - alpha) / 255.
        cached = window::PaintOnImage(TextFrame(), [&](window::DeviceContext& dc) {
            dc.SetOpacity(alpha / 255.0);
            dc.DrawImage({0, 0}, m_background);
        });
        ++m_composedFrames;
    }
    return cached;
}

window::Image CAniLogo::ComposeFrame() const {
    if (!m_backgroundCaptured) return window::Image();
    return CurrentFrame();
}

void CAniLogo::DropCaches() {
    m_textFrame = window::Image();
    for (window::Image& frame : m_fadedFrames) frame = window::Image();
}

void CAniLogo::OnPaint(window::DeviceContext& dc) {
    if (GetClientRect().IsEmpty()) return;
    if (!m_backgroundCaptured) {
        // Taken once in the logo's life: later changes beneath are not seen.
        m_background = window::GrabUnderneath(*this);
        m_backgroundCaptured = !m_background.IsNull();
        DropCaches();
        if (!m_backgroundCaptured) return;
    }
    // A copy of the frame made once for this alpha; the window clips it to
    // what needs painting.
    dc.DrawImage({0, 0}, CurrentFrame());
}

}  // namespace skin
