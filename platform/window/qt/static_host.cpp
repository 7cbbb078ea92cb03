#include "platform/window/qt/static_host.h"

#include <QMouseEvent>
#include <QPainter>

#include "platform/window/messages.h"
#include "platform/window/qt/control_edges.h"
#include "platform/window/qt/control_properties.h"
#include "platform/window/qt/conversions.h"
#include "platform/window/styles.h"

namespace platform::window {

void StaticControl::Refresh(bool styleChanged) {
    auto* host = dynamic_cast<qt::StaticHost*>(Native());
    if (host == nullptr) return;
    if (styleChanged) host->ApplyStyle();
    host->ApplyText();
}

namespace qt {

StaticHost::StaticHost(std::unique_ptr<StaticControl> control, QWidget* parent)
    : OwningHost<QLabel>(std::move(control), parent) {
    setTextFormat(Qt::PlainText);
    setTextInteractionFlags(Qt::NoTextInteraction);
    ApplyStyle();
    ApplyText();
}

std::uint32_t StaticHost::Style() const {
    return Control() != nullptr ? Control()->Style() : 0;
}

void StaticHost::ApplyStyle() {
    const StaticControl* control = Control();
    if (control == nullptr) return;
    const std::uint32_t style = control->Style();
    const std::uint32_t type = style & SS_TYPEMASK;
    Qt::Alignment horizontal = Qt::AlignLeft;
    if (type == SS_CENTER) horizontal = Qt::AlignHCenter;
    if (type == SS_RIGHT) horizontal = Qt::AlignRight;
    const bool centreVertically = (style & SS_CENTERIMAGE) != 0;
    setAlignment(horizontal | (centreVertically ? Qt::AlignVCenter : Qt::AlignTop));
    // Text wraps at word boundaries unless the style asks for one line.
    const bool oneLine = type == SS_LEFTNOWORDWRAP || type == SS_SIMPLE || centreVertically ||
                         (style & SS_ELLIPSISMASK) != 0;
    setWordWrap(!oneLine);
    setContentsMargins(EdgeMargins(style, control->ExStyle()));
    update();
}

void StaticHost::ApplyText() {
    if (const StaticControl* control = Control()) setText(ToQString(control->DisplayText()));
}

void StaticHost::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    const StaticControl* control = Control();
    if (control == nullptr) return;
    QPainter painter(this);
    DrawEdges(painter, rect(), control->Style(), control->ExStyle());
}

void StaticHost::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) LButtonDown(FromQPoint(event->position().toPoint()));
    if ((Style() & SS_NOTIFY) != 0 && event->button() == Qt::LeftButton)
        event->accept();
    else
        event->ignore();
}

void StaticHost::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) LButtonUp(FromQPoint(event->position().toPoint()));
    if ((Style() & SS_NOTIFY) != 0 && event->button() == Qt::LeftButton &&
        rect().contains(event->position().toPoint())) {
        event->accept();
        NotifyParent(this, STN_CLICKED);
        return;
    }
    event->ignore();
}

}  // namespace qt

}  // namespace platform::window
