// The frame a caption-less window's style asks for: a dialog frame
// (DS_MODALFRAME, WS_DLGFRAME, WS_THICKFRAME or WS_EX_DLGMODALFRAME), a
// raised edge three pixels wide, or a one-pixel black border (WS_BORDER).
//
// A window system cannot be trusted with it: on X11, Qt drops a window's
// frame together with its title bar, so a frame without a caption would be
// lost. The window draws it itself instead, over the outermost pixels of its
// client area, above every control, so it looks the same under any window
// manager, without one, and in offscreen renders.
#pragma once

#include <QWidget>

#include <cstdint>

namespace platform::window {

// Width in pixels of the frame `style` and `exStyle` ask for when the window
// has no caption: 3, 1 or 0 (none).
int CaptionlessFrameWidth(std::uint32_t style, std::uint32_t exStyle);

// Paints the frame over the edge of its parent window. It takes no input and
// covers nothing but the frame's ring.
class WindowFrame : public QWidget {
    Q_OBJECT

  public:
    WindowFrame(QWidget* window, int width);

    int FrameWidth() const { return m_width; }

    // Sizes the frame to the window and puts it above every control.
    void FitAndRaise();

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    int m_width;
};

}  // namespace platform::window
