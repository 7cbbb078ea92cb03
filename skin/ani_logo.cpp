#include "skin/ani_logo.h"

#include <QBackingStore>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cstring>

#include "platform/window/qt/conversions.h"
#include "skin/skin_palette.h"
#include "skin/underlay.h"

namespace skin {

CAniLogo::CAniLogo(QWidget* parent)
    : QWidget(parent), m_textColor(platform::window::ToQColor(SKIN_COLOR)) {
    // Every paint covers the whole control with the captured background, so
    // nothing beneath it needs repainting on each tick of the animation.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

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
    if (changed) repaint(TextBounds());
}

QRect CAniLogo::TextBounds() const {
    if (!m_textBoundsKnown && !TextFrame().isNull()) {
        const QImage ground = m_background.toImage().convertToFormat(QImage::Format_RGB32);
        const QImage& text = TextFrame();
        QRect bounds;
        for (int y = 0; y < text.height(); ++y)
            for (int x = 0; x < text.width(); ++x)
                if (text.pixel(x, y) != ground.pixel(x, y)) bounds |= QRect(x, y, 1, 1);
        m_textBounds = bounds;
        m_textBoundsKnown = true;
    }
    return m_textBounds;
}

const QImage& CAniLogo::TextFrame() const {
    if (m_textFrame.isNull() && m_backgroundCaptured) {
        QImage frame = m_background.toImage().convertToFormat(QImage::Format_RGB32);
        QPainter painter(&frame);
        const LogoFont fitted = FitLogoFont(m_text, frame.size());
        painter.setFont(fitted.font);
        painter.setPen(m_textColor);
        painter.drawText(QRect(QPoint(0, 0), frame.size()), Qt::AlignHCenter | Qt::AlignTop,
                         m_text);
        painter.end();
        m_textFrame = frame;
    }
    return m_textFrame;
}

const QImage& CAniLogo::CurrentFrame() const {
    if (!m_fading) return TextFrame();
    QImage& cached = m_fadedFrames[static_cast<std::size_t>(std::clamp(m_fade.alpha, 0, 255))];
    if (cached.isNull()) {
        QImage frame = TextFrame();
        if (!frame.isNull()) {
            // Constant-opacity blend: each pixel becomes
            // background x alpha / 255 + picture x (255 - alpha) / 255.
            QPainter painter(&frame);
            painter.setOpacity(std::clamp(m_fade.alpha, 0, 255) / 255.0);
            painter.drawPixmap(0, 0, m_background);
        }
        cached = frame;
        ++m_composedFrames;
    }
    return cached;
}

QImage CAniLogo::ComposeFrame() const {
    if (!m_backgroundCaptured) return QImage();
    return CurrentFrame();
}

void CAniLogo::DropCaches() {
    m_textFrame = QImage();
    m_textBoundsKnown = false;
    for (QImage& frame : m_fadedFrames) frame = QImage();
}

void CAniLogo::paintEvent(QPaintEvent* event) {
    if (width() <= 0 || height() <= 0) return;
    if (!m_backgroundCaptured) {
        // Taken once in the logo's life: later changes beneath are not seen.
        m_background = GrabUnderneath(*this);
        m_backgroundCaptured = !m_background.isNull();
        DropCaches();
        if (!m_backgroundCaptured) {
            QPainter(this).fillRect(rect(), palette().window());
            return;
        }
    }
    const QRect area = event->rect() & rect();
    if (CopyToBackingStore(CurrentFrame(), area)) return;
    QPainter painter(this);
    painter.drawImage(area, CurrentFrame(), area);
}

bool CAniLogo::CopyToBackingStore(const QImage& frame, const QRect& area) {
    // Twenty times a second a few hundred pixels change: setting up a
    // painter for the widget (palette, font, active-window look-ups, engine
    // state) costs far more than copying them. The window's backing store
    // is the image being painted; the frame's pixels go straight into it
    // when nothing needs a painter: no scaling, formats that take the
    // frame's 32-bit pixels, and no child of ours in the way (siblings
    // above are painted after us by the window).
    QBackingStore* store = backingStore();
    if (store == nullptr || frame.format() != QImage::Format_RGB32 || !children().isEmpty())
        return false;
    auto* image = dynamic_cast<QImage*>(store->paintDevice());
    if (image == nullptr || image->devicePixelRatio() != 1.0 || devicePixelRatio() != 1.0 ||
        (image->format() != QImage::Format_RGB32 &&
         image->format() != QImage::Format_ARGB32_Premultiplied))
        return false;
    const QPoint origin = mapTo(window(), QPoint(0, 0));
    const QRect target = (area & frame.rect()).translated(origin) & image->rect();
    if (target.isEmpty()) return true;
    const QRect source = target.translated(-origin);
    const auto rowBytes = static_cast<std::size_t>(source.width()) * 4;
    for (int y = 0; y < source.height(); ++y) {
        const uchar* from = frame.constScanLine(source.top() + y) + source.left() * 4;
        uchar* to = image->scanLine(target.top() + y) + target.left() * 4;
        std::memcpy(to, from, rowBytes);
    }
    return true;
}

}  // namespace skin
