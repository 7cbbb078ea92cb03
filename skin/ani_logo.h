// CAniLogo: the text "R40" fitted to the control and faded in and out over
// what lay beneath the control when it was first painted. The owner's timer
// calls Animate; the logo has no timer of its own.
#pragma once

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QRect>
#include <QString>
#include <QWidget>
#include <array>

#include "skin/logo_fade.h"

namespace skin {

class CAniLogo : public QWidget {
    Q_OBJECT

  public:
    explicit CAniLogo(QWidget* parent = nullptr);

    // Returns the previous step.
    int SetStep(int step);
    void SetAlphaRange(int lowest, int highest);

    // One tick: moves the opacity with which the background is laid over the
    // text and repaints. The text shows with strength (255 - alpha) / 255.
    void Animate();

    int Alpha() const { return m_fade.alpha; }
    bool IsRising() const { return m_fade.rising; }
    bool HasBackground() const { return m_backgroundCaptured; }
    QString Text() const { return m_text; }

    // The picture the logo shows now: the captured background with the text,
    // faded by the current alpha once Animate has run. Null before the
    // first paint.
    QImage ComposeFrame() const;

    // Frames composed since the background was captured: each alpha is
    // composed once and then only copied to the screen.
    int ComposedFrames() const { return m_composedFrames; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    // The background with the text at full strength.
    const QImage& TextFrame() const;
    // The frame for the current alpha, from the cache when it is there.
    const QImage& CurrentFrame() const;
    // Where the letters are: outside it every frame is the background.
    QRect TextBounds() const;
    void DropCaches();
    // Puts `area` of `frame` into the window's backing store without a
    // painter; false where a painter is needed.
    bool CopyToBackingStore(const QImage& frame, const QRect& area);

    QString m_text = QStringLiteral("R40");
    QColor m_textColor;
    FadeState m_fade;
    int m_alphaStep = 2;
    int m_alphaMin = 0;
    int m_alphaMax = 255;
    QPixmap m_background;
    bool m_backgroundCaptured = false;
    bool m_fading = false;  // Animate has run: frames are faded by alpha

    // Composing a frame means fitting a font and blending; the logo cycles
    // through the same few dozen alphas all day, so each is made once.
    mutable QImage m_textFrame;
    mutable QRect m_textBounds;
    mutable bool m_textBoundsKnown = false;
    mutable std::array<QImage, 256> m_fadedFrames;
    mutable int m_composedFrames = 0;
};

}  // namespace skin
