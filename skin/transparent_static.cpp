#include "skin/transparent_static.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStringList>

#include "platform/window/qt/control_edges.h"
#include "platform/window/qt/conversions.h"
#include "skin/label_text_format.h"
#include "skin/skin_palette.h"

namespace skin {
namespace {

// Elides each line on its own, as a label without wrapping shows them.
QString ElideLines(const QString& text, const QFontMetrics& metrics, Qt::TextElideMode mode,
                   int width, int flags) {
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines) line = metrics.elidedText(line, mode, width, flags);
    return lines.join(QLatin1Char('\n'));
}

}  // namespace

CTransparentStatic::CTransparentStatic(QWidget* parent) : QWidget(parent) {
    // Never fill a background, even when an owner asks for one: the window's
    // picture must stay visible around the letters.
    setAttribute(Qt::WA_NoSystemBackground);
}

void CTransparentStatic::SetStyle(std::uint32_t style, std::uint32_t exStyle) {
    m_style = style;
    m_exStyle = exStyle;
    update();
}

bool CTransparentStatic::SetText(const QString& text) {
    m_text = text;
    QWidget* parent = parentWidget();
    // The label paints only letters: the parent must repaint its background
    // where the old letters were before the new ones are drawn.
    if (parent != nullptr) parent->update(geometry());
    update();
    return parent != nullptr;
}

void CTransparentStatic::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // Border and sunken edges as the platform draws them around statics.
    platform::window::DrawEdges(painter, rect(), m_style, m_exStyle);
    const QRect area = rect().marginsRemoved(platform::window::EdgeMargins(m_style, m_exStyle));
    if (area.isEmpty() || m_text.isEmpty()) return;

    const LabelTextFormat format = FormatForStyle(m_style);
    const int flags = TextFlags(format);
    QString shown = m_text;
    if (format.ellipsis)
        shown = ElideLines(shown, QFontMetrics(font()), format.elideMode, area.width(), flags);

    painter.setFont(font());
    painter.setPen(platform::window::ToQColor(SKIN_COLOR));
    painter.setClipRect(area);
    painter.drawText(area, flags, shown);
}

}  // namespace skin
