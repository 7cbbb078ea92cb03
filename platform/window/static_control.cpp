#include "platform/window/static_control.h"

#include <QMouseEvent>
#include <QPainter>

#include "platform/window/control_properties.h"
#include "platform/window/messages.h"
#include "platform/window/qt/control_edges.h"
#include "platform/window/styles.h"

namespace platform::window {

StaticControl::StaticControl(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setTextInteractionFlags(Qt::NoTextInteraction);
    SetStyle(SS_LEFT);
}

void StaticControl::SetStyle(std::uint32_t style, std::uint32_t exStyle) {
    m_style = style;
    m_exStyle = exStyle;
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
    setContentsMargins(EdgeMargins(style, exStyle));
    QLabel::setText(DisplayText());
    update();
}

void StaticControl::SetText(const QString& text) {
    m_text = text;
    QLabel::setText(DisplayText());
}

QString StaticControl::DisplayText() const {
    QString shown = (m_style & SS_NOPREFIX) != 0 ? m_text : ResolvePrefixes(m_text);
    if ((m_style & SS_CENTERIMAGE) != 0) shown.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return shown;
}

void StaticControl::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    QPainter painter(this);
    DrawEdges(painter, rect(), m_style, m_exStyle);
}

void StaticControl::mousePressEvent(QMouseEvent* event) {
    if ((m_style & SS_NOTIFY) != 0 && event->button() == Qt::LeftButton)
        event->accept();
    else
        event->ignore();
}

void StaticControl::mouseReleaseEvent(QMouseEvent* event) {
    if ((m_style & SS_NOTIFY) != 0 && event->button() == Qt::LeftButton &&
        rect().contains(event->position().toPoint())) {
        event->accept();
        NotifyParent(this, STN_CLICKED);
        return;
    }
    event->ignore();
}

QString ResolvePrefixes(const QString& text) {
    QString shown;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&')) {
            if (i + 1 < text.size() && text[i + 1] == QLatin1Char('&')) {
                shown += QLatin1Char('&');
                ++i;
            }
            continue;
        }
        shown += text[i];
    }
    return shown;
}

}  // namespace platform::window
