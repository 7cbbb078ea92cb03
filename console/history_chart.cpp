#include "console/history_chart.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "console/chart_numbers.h"
#include "console/console_messages.h"
#include "platform/clock/clock.h"
#include "skin/skin_palette.h"

namespace console {

namespace {

namespace window = platform::window;
using window::DeviceContext;
using window::Point;
using window::Rect;
using window::Rgb;

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

constexpr window::ColorRef BACKGROUND_TOP = Rgb(249, 249, 250);
constexpr window::ColorRef BACKGROUND_BOTTOM = Rgb(236, 237, 240);
constexpr window::ColorRef PLOT_BACKGROUND = Rgb(255, 255, 255);
constexpr window::ColorRef NO_STATUS = Rgb(226, 227, 230);
constexpr window::ColorRef LOCKED = Rgb(0, 170, 0);
constexpr window::ColorRef UNLOCKED = Rgb(235, 0, 0);
constexpr window::ColorRef DATA_TICK = Rgb(0, 110, 0);
constexpr window::ColorRef LOSS_MARK = Rgb(90, 90, 90);
constexpr window::ColorRef AXIS_TEXT = Rgb(110, 110, 110);

std::int64_t MinutesMs(int minutes) {
    return static_cast<std::int64_t>(minutes) * 60 * 1000;
}

}  // namespace

CSignalHistoryChart::CSignalHistoryChart() {
    SetPaintsItself(true);  // the gradient covers every pixel
}

void CSignalHistoryChart::SetHistory(const SignalHistory* history) {
    m_history = history;
    Invalidate();
}

void CSignalHistoryChart::Layout() {
    const Rect all = GetClientRect().Deflated(MARGIN, MARGIN, MARGIN, MARGIN);
    m_headerRect = Rect::FromSize(all.left, all.top, all.Width(), HEADER_HEIGHT);
    const int left = all.left + SCALE_WIDTH;
    const int lastRow = all.bottom - 1 - AXIS_HEIGHT;  // the ticks' last pixel row
    m_ticks = Rect::FromSize(left, lastRow - TICK_HEIGHT + 1, all.right - left, TICK_HEIGHT);
    m_band =
        Rect::FromSize(left, m_ticks.top - ROW_GAP - BAND_HEIGHT, m_ticks.Width(), BAND_HEIGHT);
    const int plotTop = m_headerRect.bottom + 2;
    m_plot = Rect::FromSize(left, plotTop, m_ticks.Width(), m_band.top - GAP_BELOW_PLOT - plotTop);
    m_axis = Rect::FromSize(left, lastRow + 1, m_ticks.Width(), AXIS_HEIGHT);
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
    return m_plot.left + static_cast<int>(std::lround(fraction * (m_plot.Width() - 1)));
}

int CSignalHistoryChart::YOf(double value) const {
    const double fraction = (value - m_low) / (m_high - m_low);
    const double clamped = std::clamp(fraction, 0.0, 1.0);
    return m_plot.bottom - 1 - static_cast<int>(std::lround(clamped * (m_plot.Height() - 1)));
}

void CSignalHistoryChart::OnPaint(DeviceContext& dc) {
    dc.FillGradient(GetClientRect(), BACKGROUND_TOP, BACKGROUND_BOTTOM);

    Layout();
    const std::int64_t now = m_fixedNow.value_or(platform::clock::NowMilliseconds());
    ChooseWindow(now);
    const bool any = m_history != nullptr && !m_history->Empty();
    const SignalQuantity quantity = any ? m_history->LineQuantity() : SignalQuantity::SnrDb;
    const SignalStatistics stats =
        any ? m_history->StatisticsSince(m_windowStart, quantity) : SignalStatistics{};
    ChooseScale(stats, quantity);

    dc.FillRect(m_plot, PLOT_BACKGROUND);
    dc.FillRect(m_band, NO_STATUS);
    DrawGrid(dc, quantity);
    DrawTimeAxis(dc);
    DrawRowNames(dc);

    window::Font font = dc.WindowFont();
    font.SetPixelSize(11);
    if (!any || stats.samples == 0) {
        m_header = "No status in the last " + std::to_string(m_windowMinutes) + " min";
    } else {
        const std::size_t first = m_history->FirstAtOrAfter(m_windowStart);
        DrawBandAndTicks(dc, first);
        DrawLine(dc, first, quantity);
        DrawLossMarks(dc, first);

        const bool snr = quantity == SignalQuantity::SnrDb;
        const std::string unit = snr ? " dB" : " %";
        const int decimals = snr ? 1 : 0;
        const double current = ValueOf(m_history->Newest(), quantity);
        m_header = std::string(snr ? "SNR" : "Signal") + " " +
                   (std::isfinite(current) ? FixedText(current, decimals) + unit : "--");
        if (stats.valueSamples > 0)
            m_header += "   min " + FixedText(stats.minimum, decimals) + "   mean " +
                        FixedText(stats.mean, decimals);
        m_header += stats.lockLosses == 1
                        ? std::string("   1 lock loss")
                        : "   " + std::to_string(stats.lockLosses) + " lock losses";
    }
    dc.SetFont(font);
    dc.SetTextColor(skin::SKIN_COLOR);
    dc.DrawText(m_headerRect.Deflated(SCALE_WIDTH, 0, 0, 0), m_header,
                window::DT_LEFT | window::DT_VCENTER);

    dc.SetPen(window::Pen{skin::EDGE_DARK_SHADOW});
    dc.SetNullBrush();
    dc.Rectangle(m_plot.Deflated(-1, -1, 0, 0));  // the outline just outside the plot
}

void CSignalHistoryChart::DrawGrid(DeviceContext& dc, SignalQuantity quantity) {
    window::Font font = dc.WindowFont();
    font.SetPixelSize(9);
    dc.SetFont(font);
    dc.SetTextColor(AXIS_TEXT);
    const std::string unit = quantity == SignalQuantity::SnrDb ? "" : "%";
    for (double value = m_low; value <= m_high + 1e-9; value += m_gridStep) {
        const int y = YOf(value);
        dc.SetPen(window::Pen{skin::EDGE_LIGHT});
        if (value > m_low && value < m_high) dc.Line({m_plot.left, y}, {m_plot.right - 1, y});
        dc.DrawText(Rect::FromSize(m_plot.left - SCALE_WIDTH, y - 6, SCALE_WIDTH - 3, 12),
                    ScaleText(value) + unit, window::DT_RIGHT | window::DT_VCENTER);
    }
    dc.SetPen(window::Pen{AXIS_TEXT});
    dc.DrawText(Rect::FromSize(m_headerRect.left, m_headerRect.top, SCALE_WIDTH, HEADER_HEIGHT),
                quantity == SignalQuantity::SnrDb ? "dB" : "",
                window::DT_LEFT | window::DT_VCENTER);
}

void CSignalHistoryChart::DrawRowNames(DeviceContext& dc) {
    window::Font font = dc.WindowFont();
    font.SetPixelSize(8);
    dc.SetFont(font);
    dc.SetPen(window::Pen{AXIS_TEXT});
    dc.SetTextColor(AXIS_TEXT);
    const int left = m_plot.left - SCALE_WIDTH;
    dc.DrawText(Rect::FromSize(left, m_band.top, SCALE_WIDTH - 3, m_band.Height()), "lock",
                window::DT_RIGHT | window::DT_VCENTER);
    dc.DrawText(Rect::FromSize(left, m_ticks.top, SCALE_WIDTH - 3, m_ticks.Height() + 1), "data",
                window::DT_RIGHT | window::DT_VCENTER);
}

void CSignalHistoryChart::DrawTimeAxis(DeviceContext& dc) {
    int step = 1;
    for (const WindowChoice& each : WINDOWS)
        if (each.minutes == m_windowMinutes) step = each.labelStep;
    window::Font font = dc.WindowFont();
    font.SetPixelSize(9);
    dc.SetFont(font);
    dc.SetTextColor(AXIS_TEXT);
    for (int minutes = 0; minutes <= m_windowMinutes; minutes += step) {
        const int x = XOf(m_windowEnd - MinutesMs(minutes));
        dc.SetPen(window::Pen{skin::EDGE_LIGHT});
        if (minutes > 0 && minutes < m_windowMinutes)
            dc.Line({x, m_plot.top}, {x, m_plot.bottom - 1});
        dc.SetPen(window::Pen{AXIS_TEXT});
        dc.Line({x, m_ticks.bottom}, {x, m_ticks.bottom + 1});  // a mark under the ticks
        const std::string text = minutes == 0 ? "now" : std::to_string(minutes) + " min ago";
        const int width = dc.TextWidth(text);
        // Centred under its mark, but inside the axis.
        const int left = std::clamp(x - width / 2, m_axis.left - SCALE_WIDTH / 2,
                                    m_axis.right - 1 - width + MARGIN);
        dc.DrawText(Rect::FromSize(left, m_axis.top + 1, width, m_axis.Height() - 1), text,
                    window::DT_LEFT | window::DT_VCENTER);
    }
}

void CSignalHistoryChart::DrawBandAndTicks(DeviceContext& dc, std::size_t first) {
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
            dc.FillRect(Rect{left, m_band.top, right + 1, m_band.bottom},
                        locked ? LOCKED : UNLOCKED);
        }
    }
    dc.SetPen(window::Pen{DATA_TICK});
    int lastX = -1;
    for (std::size_t i = first; i < size; ++i) {
        const SignalSample& sample = m_history->At(i);
        const int x = XOf(sample.steadyMs);
        if (sample.data == 0 || x == lastX) continue;
        dc.Line({x, m_ticks.top}, {x, m_ticks.bottom - 1});
        lastX = x;
    }
}

void CSignalHistoryChart::DrawLine(DeviceContext& dc, std::size_t first, SignalQuantity quantity) {
    dc.Save();
    dc.SetClipRect(m_plot);
    dc.SetAntialiasing(true);
    dc.SetPen(window::Pen{skin::SKIN_COLOR, 1.6, window::PenStyle::Solid, window::LineEnds::Round});
    // Samples falling in one pixel column become at most four points (the
    // first, the lowest, the highest and the last), so a full hour costs
    // what a few hundred points do and a spike still shows.
    std::vector<Point> run;
    struct Column {
        int x = 0, first = 0, low = 0, high = 0, last = 0;
        bool open = false;
    } column;
    const auto closeColumn = [&] {
        if (!column.open) return;
        run.push_back({column.x, column.first});
        if (column.low != column.first) run.push_back({column.x, column.low});
        if (column.high != column.low) run.push_back({column.x, column.high});
        if (column.last != column.high) run.push_back({column.x, column.last});
        column.open = false;
    };
    const auto flush = [&] {
        closeColumn();
        if (run.size() == 1)
            dc.SetPixel(run.front());
        else if (run.size() > 1)
            dc.Polyline(run);
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
    dc.Restore();
}

void CSignalHistoryChart::DrawLossMarks(DeviceContext& dc, std::size_t first) {
    dc.Save();
    for (std::size_t i = std::max<std::size_t>(first, 1); i < m_history->Size(); ++i) {
        if (m_history->At(i - 1).locked == 0 || m_history->At(i).locked != 0) continue;
        const int x = XOf(m_history->At(i).steadyMs);
        dc.SetPen(window::Pen{LOSS_MARK, 1, window::PenStyle::Dash});
        dc.Line({x, m_plot.top + 6}, {x, m_band.bottom - 1});
        // A small red triangle at the top of the plot points down at it.
        dc.SetNullPen();
        dc.SetBrush(UNLOCKED);
        const Point corners[] = {{x - 4, m_plot.top}, {x + 4, m_plot.top}, {x, m_plot.top + 6}};
        dc.Polygon(corners);
    }
    dc.Restore();
}

}  // namespace console
