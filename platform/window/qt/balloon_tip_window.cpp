#include "platform/window/qt/balloon_tip_window.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

#include <algorithm>

namespace platform::window {

namespace {

constexpr int MARGIN = 10;
constexpr int ICON_SIZE = 16;
constexpr int ICON_GAP = 6;
constexpr int TITLE_GAP = 5;
constexpr int STEM_HEIGHT = 12;
constexpr int STEM_WIDTH = 14;
constexpr int STEM_INSET = 18;  // from the body's edge to the stem
constexpr qreal RADIUS = 7.0;

const QColor BACKGROUND(255, 255, 242);
const QColor BORDER(110, 110, 110);

// The small round picture before the title: an 'i', '!' or 'x'.
void DrawTitleIcon(QPainter& painter, const QRect& box, int icon) {
    QColor fill(38, 110, 200);  // information
    QString mark = QStringLiteral("i");
    if (icon == 2) {
        fill = QColor(230, 170, 20);
        mark = QStringLiteral("!");
    } else if (icon == 3) {
        fill = QColor(200, 40, 40);
        mark = QStringLiteral("x");
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(fill.darker(130));
    painter.setBrush(fill);
    painter.drawEllipse(QRectF(box).adjusted(0.5, 0.5, -0.5, -0.5));
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(box.height() - 4);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(box, Qt::AlignCenter, mark);
    painter.restore();
}

}  // namespace

BalloonTipWindow::BalloonTipWindow()
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus) {
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void BalloonTipWindow::SetContent(int icon, const QString& title, const QString& text,
                                  const QColor& color) {
    m_icon = icon;
    m_title = title;
    m_text = text;
    m_lines = text.split(QLatin1Char('\n'));
    m_color = color;
    resize(BodySize() + QSize(0, STEM_HEIGHT));
    update();
}

QFont BalloonTipWindow::TitleFont() const {
    QFont bold = font();
    bold.setBold(true);
    return bold;
}

QSize BalloonTipWindow::BodySize() const {
    const QFontMetrics text(font());
    const QFontMetrics title(TitleFont());
    int width = 0;
    int height = 0;
    if (!m_title.isEmpty() || m_icon != 0) {
        const int iconWidth = m_icon != 0 ? ICON_SIZE + ICON_GAP : 0;
        width = iconWidth + title.horizontalAdvance(m_title);
        height = std::max(m_icon != 0 ? ICON_SIZE : 0, title.height()) + TITLE_GAP;
    }
    for (const QString& line : m_lines) width = std::max(width, text.horizontalAdvance(line));
    height += text.height() * static_cast<int>(m_lines.size());
    return QSize(width + 2 * MARGIN, height + 2 * MARGIN);
}

void BalloonTipWindow::ShowPointingAt(const QPoint& point) {
    const QSize body = BodySize();
    QScreen* screen = QGuiApplication::screenAt(point);
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    const QRect area = screen != nullptr ? screen->availableGeometry() : QRect(point, body);
    const int totalHeight = body.height() + STEM_HEIGHT;
    m_stemOnTop = point.y() + totalHeight <= area.bottom() + 1;
    int left = point.x() - STEM_INSET;
    left = std::clamp(left, area.left(), std::max(area.left(), area.right() + 1 - body.width()));
    m_stemX = std::clamp(point.x() - left, STEM_INSET / 2, body.width() - STEM_INSET / 2);
    const int top = m_stemOnTop ? point.y() : point.y() - totalHeight;
    setGeometry(left, top, body.width(), totalHeight);
    show();
    raise();
    update();
}

void BalloonTipWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const int bodyTop = m_stemOnTop ? STEM_HEIGHT : 0;
    const QRectF body(0.5, bodyTop + 0.5, width() - 1.0, height() - STEM_HEIGHT - 1.0);

    QPainterPath balloon;
    balloon.addRoundedRect(body, RADIUS, RADIUS);
    QPainterPath stem;
    const qreal x = m_stemX;
    if (m_stemOnTop) {
        stem.moveTo(x, 0.5);
        stem.lineTo(x - STEM_WIDTH / 2.0 + 2, body.top() + 1);
        stem.lineTo(x + STEM_WIDTH / 2.0 + 2, body.top() + 1);
    } else {
        stem.moveTo(x, height() - 0.5);
        stem.lineTo(x - STEM_WIDTH / 2.0 + 2, body.bottom() - 1);
        stem.lineTo(x + STEM_WIDTH / 2.0 + 2, body.bottom() - 1);
    }
    stem.closeSubpath();
    balloon = balloon.united(stem);
    painter.setPen(QPen(BORDER, 1.0));
    painter.setBrush(BACKGROUND);
    painter.drawPath(balloon);

    painter.setRenderHint(QPainter::Antialiasing, false);
    int y = bodyTop + MARGIN;
    const QFontMetrics text(font());
    if (!m_title.isEmpty() || m_icon != 0) {
        const QFontMetrics title(TitleFont());
        const int rowHeight = std::max(m_icon != 0 ? ICON_SIZE : 0, title.height());
        int left = MARGIN;
        if (m_icon != 0) {
            DrawTitleIcon(painter,
                          QRect(left, y + (rowHeight - ICON_SIZE) / 2, ICON_SIZE, ICON_SIZE),
                          m_icon);
            left += ICON_SIZE + ICON_GAP;
        }
        painter.setFont(TitleFont());
        painter.setPen(m_color);
        painter.drawText(QRect(left, y, width() - left - MARGIN, rowHeight),
                         Qt::AlignLeft | Qt::AlignVCenter, m_title);
        y += rowHeight + TITLE_GAP;
    }
    painter.setFont(font());
    painter.setPen(m_color);
    for (const QString& line : m_lines) {
        painter.drawText(QPoint(MARGIN, y + text.ascent()), line);
        y += text.height();
    }
}

}  // namespace platform::window
