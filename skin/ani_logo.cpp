#include "skin/ani_logo.h"

#include <QPainter>

#include <algorithm>

#include "skin/skin_palette.h"
#include "skin/underlay.h"

namespace skin {

CAniLogo::CAniLogo(QWidget* parent) : QWidget(parent), m_textColor(SKIN_COLOR) {}

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
    m_fade = NextFade(m_fade, m_alphaStep, m_alphaMin, m_alphaMax);
    // Before the first paint there is no background to fade over.
    if (!m_backgroundCaptured) return;
    m_fading = true;
    update();
}

QImage CAniLogo::ComposeFrame() const {
    if (!m_backgroundCaptured) return QImage();
    QImage frame = m_background.toImage().convertToFormat(QImage::Format_RGB32);
    {
        QPainter painter(&frame);
        const LogoFont fitted = FitLogoFont(m_text, frame.size());
        painter.setFont(fitted.font);
        painter.setPen(m_textColor);
        painter.drawText(QRect(QPoint(0, 0), frame.size()), Qt::AlignHCenter | Qt::AlignTop,
                         m_text);
        if (m_fading) {
            // Constant-opacity blend: each pixel becomes
            // background x alpha / 255 + picture x (255 - alpha) / 255.
            painter.setOpacity(std::clamp(m_fade.alpha, 0, 255) / 255.0);
            painter.drawPixmap(0, 0, m_background);
        }
    }
    return frame;
}

void CAniLogo::paintEvent(QPaintEvent*) {
    if (width() <= 0 || height() <= 0) return;
    if (!m_backgroundCaptured) {
        // Taken once in the logo's life: later changes beneath are not seen.
        m_background = GrabUnderneath(*this);
        m_backgroundCaptured = !m_background.isNull();
        if (!m_backgroundCaptured) return;
    }
    QPainter painter(this);
    painter.drawImage(0, 0, ComposeFrame());
}

}  // namespace skin
