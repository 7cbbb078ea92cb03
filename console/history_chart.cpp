#include "console/history_chart.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

#include <algorithm>
#include <cmath>
#include <vector>

#include "console/console_messages.h"
#include "platform/clock/clock.h"
#include "skin/skin_palette.h"

namespace console {

namespace {

constexpr int MARGIN = 4;
constexpr int HEADER_HEIGHT = 15;
constexpr int SCALE_WIDTH = 26;  // the value labels left of the plot
constexpr int BAND_HEIGHT = 9;
constexpr int TICK_HEIGHT = 7;
constexpr int ROW_GAP = 2;  // between the band and the ticks
constexpr int AXIS_HEIGHT = 12;
constexpr int GAP_BELOW_PLOT = 2;
constexpr double SNR_LIMIT_DB = 100;

struct WindowChoice {
    int minutes;
    int labelStep;  // minutes between time labels
};
constexpr WindowChoice WINDOWS[] = {{2, 1}, {5, 1}, {10, 2}, {20, 5}, {30, 10}, {60, 15}};

const QColor BACKGROUND_TOP(249, 249, 250);
const QColor BACKGROUND_BOTTOM(236, 237, 240);
const QColor PLOT_BACKGROUND(255, 255, 255);
const QColor NO_STATUS(226, 227, 230);
const QColor LOCKED(0, 170, 0);
const QColor UNLOCKED(235, 0, 0);
const QColor DATA_TICK(0, 110, 0);
const QColor LOSS_MARK(90, 90, 90);
const QColor AXIS_TEXT(110, 110, 110);

std::int64_t MinutesMs(int minutes) {
    return static_cast<std::int64_t>(minutes) * 60 * 1000;
}

}  // namespace

CSignalHistoryChart::CSignalHistoryChart(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CSignalHistoryChart::SetHistory(const SignalHistory* history) {
    m_history = history;
    update();
}

void CSignalHistoryChart::Layout() {
    const QRect all = rect().adjusted(MARGIN, MARGIN, -MARGIN, -MARGIN);
    m_headerRect = QRect(all.left(), all.top(), all.width(), HEADER_HEIGHT);
    const int left = all.left() + SCALE_WIDTH;
    const int bottom = all.bottom() - AXIS_HEIGHT;
    m_ticks = QRect(left, bottom - TICK_HEIGHT + 1, all.right() - left + 1, TICK_HEIGHT);
    m_band = QRect(left, m_ticks.top() - ROW_GAP - BAND_HEIGHT, m_ticks.width(), BAND_HEIGHT);
    const int plotTop = m_headerRect.bottom() + 3;
    m_plot = QRect(left, plotTop, m_ticks.width(), m_band.top() - GAP_BELOW_PLOT - plotTop);
    m_axis = QRect(left, bottom + 1, m_ticks.width(), AXIS_HEIGHT);
}

void CSignalHistoryChart::ChooseWindow(std::int64_t now) {
    const std::int64_t oldest =
        m_history != nullptr && !m_history->Empty() ? m_history->At(0).steadyMs : now;
    const WindowChoice* choice = &WINDOWS[std::size(WINDOWS) - 1];
    for (const WindowChoice& each : WINDOWS) {
        if (now - oldest <= MinutesMs(each.minutes)) {
            choice = &each;
            break;
        }
    }
    m_windowMinutes = choice->minutes;
    m_windowEnd = now;
    m_windowStart = now - MinutesMs(choice->minutes);
}

void CSignalHistoryChart::ChooseScale(const SignalStatistics& stats, SignalQuantity quantity) {
    if (quantity == SignalQuantity::SignalPercent) {
        m_low = 0;
        m_high = 100;
        m_gridStep = 25;
        return;
    }
    if (stats.valueSamples == 0) {
        m_low = 0;
        m_high = 40;
        m_gridStep = 10;
        return;
    }
    // A receiver's absurd value is drawn at the edge of a sane scale.
    const double minimum = std::clamp(stats.minimum, -SNR_LIMIT_DB, SNR_LIMIT_DB);
    const double maximum = std::clamp(stats.maximum, -SNR_LIMIT_DB, SNR_LIMIT_DB);
    m_low = std::floor((minimum - 1) / 5) * 5;
    m_high = std::ceil((maximum + 1) / 5) * 5;
    if (minimum >= 0) m_low = std::max(m_low, 0.0);
    if (m_high - m_low < 10) m_high = m_low + 10;
    const double span = m_high - m_low;
    m_gridStep = span <= 20 ? 5 : span <= 50 ? 10 : span <= 100 ? 20 : 50;
}

int CSignalHistoryChart::XOf(std::int64_t steadyMs) const {
    const double span = static_cast<double>(std::max<std::int64_t>(1, m_windowEnd - m_windowStart));
    const double fraction = static_cast<double>(steadyMs - m_windowStart) / span;
    return m_plot.left() + static_cast<int>(std::lround(fraction * (m_plot.width() - 1)));
}

int CSignalHistoryChart::YOf(double value) const {
    const double fraction = (value - m_low) / (m_high - m_low);
    const double clamped = std::clamp(fraction, 0.0, 1.0);
    return m_plot.bottom() - static_cast<int>(std::lround(clamped * (m_plot.height() - 1)));
}

void CSignalHistoryChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QLinearGradient fill(0, 0, 0, height());
    fill.setColorAt(0, BACKGROUND_TOP);
    fill.setColorAt(1, BACKGROUND_BOTTOM);
    painter.fillRect(rect(), fill);

    Layout();
    const std::int64_t now = m_fixedNow.value_or(platform::clock::NowMilliseconds());
    ChooseWindow(now);
    const bool any = m_history != nullptr && !m_history->Empty();
    const SignalQuantity quantity = any ? m_history->LineQuantity() : SignalQuantity::SnrDb;
    const SignalStatistics stats =
        any ? m_history->StatisticsSince(m_windowStart, quantity) : SignalStatistics{};
    ChooseScale(stats, quantity);

    painter.fillRect(m_plot, PLOT_BACKGROUND);
    painter.fillRect(m_band, NO_STATUS);
    DrawGrid(painter, quantity);
    DrawTimeAxis(painter);
    DrawRowNames(painter);

    QFont font = this->font();
    font.setPixelSize(11);
    painter.setFont(font);
    painter.setPen(skin::SKIN_COLOR);
    if (!any || stats.samples == 0) {
        m_header = QStringLiteral("No status in the last %1 min").arg(m_windowMinutes);
    } else {
        const std::size_t first = m_history->FirstAtOrAfter(m_windowStart);
        DrawBandAndTicks(painter, first);
        DrawLine(painter, first, quantity);
        DrawLossMarks(painter, first);

        const bool snr = quantity == SignalQuantity::SnrDb;
        const QString unit = snr ? QStringLiteral(" dB") : QStringLiteral(" %");
        const int decimals = snr ? 1 : 0;
        const double current = ValueOf(m_history->Newest(), quantity);
        const QString name = snr ? QStringLiteral("SNR") : QStringLiteral("Signal");
        m_header = name + QStringLiteral(" ") +
                   (std::isfinite(current) ? QString::number(current, 'f', decimals) + unit
                                           : QStringLiteral("--"));
        if (stats.valueSamples > 0)
            m_header += QStringLiteral("   min %1   mean %2")
                            .arg(QString::number(stats.minimum, 'f', decimals),
                                 QString::number(stats.mean, 'f', decimals));
        m_header += stats.lockLosses == 1
                        ? QStringLiteral("   1 lock loss")
                        : QStringLiteral("   %1 lock losses").arg(stats.lockLosses);
    }
    painter.setPen(skin::SKIN_COLOR);
    painter.setFont(font);
    painter.drawText(m_headerRect.adjusted(SCALE_WIDTH, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                     m_header);

    painter.setPen(skin::EDGE_DARK_SHADOW);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(m_plot.adjusted(-1, -1, 0, 0));
}

void CSignalHistoryChart::DrawGrid(QPainter& painter, SignalQuantity quantity) {
    QFont font = this->font();
    font.setPixelSize(9);
    painter.setFont(font);
    const QString unit = quantity == SignalQuantity::SnrDb ? QString() : QStringLiteral("%");
    for (double value = m_low; value <= m_high + 1e-9; value += m_gridStep) {
        const int y = YOf(value);
        painter.setPen(skin::EDGE_LIGHT);
        if (value > m_low && value < m_high) painter.drawLine(m_plot.left(), y, m_plot.right(), y);
        painter.setPen(AXIS_TEXT);
        painter.drawText(QRect(m_plot.left() - SCALE_WIDTH, y - 6, SCALE_WIDTH - 3, 12),
                         Qt::AlignRight | Qt::AlignVCenter, QString::number(value) + unit);
    }
    painter.setPen(AXIS_TEXT);
    painter.drawText(QRect(m_headerRect.left(), m_headerRect.top(), SCALE_WIDTH, HEADER_HEIGHT),
                     Qt::AlignLeft | Qt::AlignVCenter,
                     quantity == SignalQuantity::SnrDb ? QStringLiteral("dB") : QString());
}

void CSignalHistoryChart::DrawRowNames(QPainter& painter) {
    QFont font = this->font();
    font.setPixelSize(8);
    painter.setFont(font);
    painter.setPen(AXIS_TEXT);
    const int left = m_plot.left() - SCALE_WIDTH;
    painter.drawText(QRect(left, m_band.top(), SCALE_WIDTH - 3, m_band.height()),
                     Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("lock"));
    painter.drawText(QRect(left, m_ticks.top(), SCALE_WIDTH - 3, m_ticks.height() + 1),
                     Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("data"));
}

void CSignalHistoryChart::DrawTimeAxis(QPainter& painter) {
    int step = 1;
    for (const WindowChoice& each : WINDOWS)
        if (each.minutes == m_windowMinutes) step = each.labelStep;
    QFont font = this->font();
    font.setPixelSize(9);
    painter.setFont(font);
    const QFontMetrics metrics(font);
    for (int minutes = 0; minutes <= m_windowMinutes; minutes += step) {
        const int x = XOf(m_windowEnd - MinutesMs(minutes));
        painter.setPen(skin::EDGE_LIGHT);
        if (minutes > 0 && minutes < m_windowMinutes)
            painter.drawLine(x, m_plot.top(), x, m_plot.bottom());
        painter.setPen(AXIS_TEXT);
        painter.drawLine(x, m_ticks.bottom() + 1, x, m_ticks.bottom() + 2);
        const QString text =
            minutes == 0 ? QStringLiteral("now") : QStringLiteral("%1 min ago").arg(minutes);
        const int width = metrics.horizontalAdvance(text);
        // Centred under its mark, but inside the axis.
        const int left = std::clamp(x - width / 2, m_axis.left() - SCALE_WIDTH / 2,
                                    m_axis.right() - width + MARGIN);
        painter.drawText(QRect(left, m_axis.top() + 1, width, m_axis.height() - 1),
                         Qt::AlignLeft | Qt::AlignVCenter, text);
    }
}

void CSignalHistoryChart::DrawBandAndTicks(QPainter& painter, std::size_t first) {
    const std::size_t size = m_history->Size();
    // Runs of one lock state without a gap, each one rectangle; the locked
    // ones first, so an unlocked run sharing a pixel column with locked ones
    // still shows.
    struct Run {
        std::int64_t from, until;
        bool locked;
    };
    std::vector<Run> runs;
    for (std::size_t i = first; i < size; ++i) {
        const SignalSample& sample = m_history->At(i);
        std::int64_t until = sample.steadyMs + STATUS_POLL_PERIOD_MS;
        bool joined = false;
        if (i + 1 < size) {
            const std::int64_t next = m_history->At(i + 1).steadyMs;
            if (next - sample.steadyMs <= SignalHistory::GAP_MS) {
                until = next;
                joined = true;
            }
        }
        const bool locked = sample.locked != 0;
        if (!runs.empty() && runs.back().locked == locked && runs.back().until == sample.steadyMs)
            runs.back().until = until;
        else
            runs.push_back({sample.steadyMs, until, locked});
        // A run ends at a gap: the next sample starts a new one.
        if (!joined) runs.back().until = until;
    }
    for (const bool locked : {true, false}) {
        for (const Run& run : runs) {
            if (run.locked != locked) continue;
            const int left = XOf(run.from);
            const int right = std::max(left, XOf(std::min(run.until, m_windowEnd)) - 1);
            painter.fillRect(QRect(QPoint(left, m_band.top()), QPoint(right, m_band.bottom())),
                             locked ? LOCKED : UNLOCKED);
        }
    }
    painter.setPen(DATA_TICK);
    int lastX = -1;
    for (std::size_t i = first; i < size; ++i) {
        const SignalSample& sample = m_history->At(i);
        const int x = XOf(sample.steadyMs);
        if (sample.data == 0 || x == lastX) continue;
        painter.drawLine(x, m_ticks.top(), x, m_ticks.bottom());
        lastX = x;
    }
}

void CSignalHistoryChart::DrawLine(QPainter& painter, std::size_t first, SignalQuantity quantity) {
    painter.save();
    painter.setClipRect(m_plot);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(skin::SKIN_COLOR, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    // Samples falling in one pixel column become at most four points (the
    // first, the lowest, the highest and the last), so a full hour costs
    // what a few hundred points do and a spike still shows.
    QPolygon run;
    struct Column {
        int x = 0, first = 0, low = 0, high = 0, last = 0;
        bool open = false;
    } column;
    const auto closeColumn = [&] {
        if (!column.open) return;
        run.append(QPoint(column.x, column.first));
        if (column.low != column.first) run.append(QPoint(column.x, column.low));
        if (column.high != column.low) run.append(QPoint(column.x, column.high));
        if (column.last != column.high) run.append(QPoint(column.x, column.last));
        column.open = false;
    };
    const auto flush = [&] {
        closeColumn();
        if (run.size() == 1)
            painter.drawPoint(run.front());
        else if (run.size() > 1)
            painter.drawPolyline(run);
        run.clear();
    };
    std::int64_t lastTime = 0;
    bool any = false;
    for (std::size_t i = first; i < m_history->Size(); ++i) {
        const SignalSample& sample = m_history->At(i);
        const double value = ValueOf(sample, quantity);
        // A gap or a status without the value breaks the line.
        if (!std::isfinite(value) || (any && sample.steadyMs - lastTime > SignalHistory::GAP_MS)) {
            flush();
            any = false;
        }
        if (!std::isfinite(value)) continue;
        const int x = XOf(sample.steadyMs);
        const int y = YOf(value);
        if (column.open && column.x == x) {
            column.low = std::max(column.low, y);  // screen y grows downwards
            column.high = std::min(column.high, y);
            column.last = y;
        } else {
            closeColumn();
            column = {x, y, y, y, y, true};
        }
        lastTime = sample.steadyMs;
        any = true;
    }
    flush();
    painter.restore();
}

void CSignalHistoryChart::DrawLossMarks(QPainter& painter, std::size_t first) {
    painter.save();
    for (std::size_t i = std::max<std::size_t>(first, 1); i < m_history->Size(); ++i) {
        if (m_history->At(i - 1).locked == 0 || m_history->At(i).locked != 0) continue;
        const int x = XOf(m_history->At(i).steadyMs);
        painter.setPen(QPen(LOSS_MARK, 1, Qt::DashLine));
        painter.drawLine(x, m_plot.top() + 6, x, m_band.bottom());
        // A small red triangle at the top of the plot points down at it.
        painter.setPen(Qt::NoPen);
        painter.setBrush(UNLOCKED);
        const QPoint corners[] = {
            {x - 4, m_plot.top()}, {x + 4, m_plot.top()}, {x, m_plot.top() + 6}};
        painter.drawPolygon(corners, 3);
    }
    painter.restore();
}

}  // namespace console
