#include "platform/window/qt/window_frame.h"

#include <QEvent>
#include <QPainter>
#include <QRegion>

#include "platform/window/styles.h"

namespace platform::window {

namespace {

// The classic three-dimensional tones of a raised window edge.
const QColor FACE(240, 240, 240);
const QColor LIGHT(227, 227, 227);
const QColor HIGHLIGHT(255, 255, 255);
const QColor SHADOW(160, 160, 160);
const QColor DARK_SHADOW(105, 105, 105);

constexpr int DIALOG_FRAME_WIDTH = 3;

// One ring on the outline of r: top and left in one tone, bottom and right
// in another.
void Ring(QPainter& painter, const QRect& r, const QColor& topLeft, const QColor& bottomRight) {
    painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), topLeft);
    painter.fillRect(QRect(r.left(), r.top(), 1, r.height()), topLeft);
    painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), bottomRight);
    painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), bottomRight);
}

}  // namespace

int CaptionlessFrameWidth(std::uint32_t style, std::uint32_t exStyle) {
    if ((style & (DS_MODALFRAME | WS_DLGFRAME | WS_THICKFRAME)) != 0 ||
        (exStyle & WS_EX_DLGMODALFRAME) != 0)
        return DIALOG_FRAME_WIDTH;
    if ((style & WS_BORDER) != 0) return 1;
    return 0;
}

WindowFrame::WindowFrame(QWidget* window, int width) : QWidget(window), m_width(width) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    window->installEventFilter(this);
    FitAndRaise();
    show();
}

void WindowFrame::FitAndRaise() {
    QWidget* window = parentWidget();
    if (window == nullptr) return;
    const QRect whole = window->rect();
    setGeometry(whole);
    // Only the ring belongs to the frame: what lies inside it is painted by
    // the controls beneath as if the frame were not there.
    setMask(
        QRegion(whole).subtracted(QRegion(whole.adjusted(m_width, m_width, -m_width, -m_width))));
    raise();
}

bool WindowFrame::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget()) {
        switch (event->type()) {
            case QEvent::Resize:
            case QEvent::Show:
            case QEvent::ChildAdded:  // a control made later stays beneath
                FitAndRaise();
                break;
            default:
                break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void WindowFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect r = rect();
    if (m_width < DIALOG_FRAME_WIDTH) {
        painter.fillRect(QRect(r.left(), r.top(), r.width(), m_width), Qt::black);
        painter.fillRect(QRect(r.left(), r.bottom() - m_width + 1, r.width(), m_width), Qt::black);
        painter.fillRect(QRect(r.left(), r.top(), m_width, r.height()), Qt::black);
        painter.fillRect(QRect(r.right() - m_width + 1, r.top(), m_width, r.height()), Qt::black);
        return;
    }
    // A raised edge (light over dark shadow, then highlight over shadow) and
    // a ring of the face tone between it and the client area.
    Ring(painter, r, LIGHT, DARK_SHADOW);
    Ring(painter, r.adjusted(1, 1, -1, -1), HIGHLIGHT, SHADOW);
    Ring(painter, r.adjusted(2, 2, -2, -2), FACE, FACE);
}

}  // namespace platform::window
