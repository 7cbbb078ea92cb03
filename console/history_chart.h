// CSignalHistoryChart: the drawing of the history panel. The SNR (or, for
// models without one, the signal percentage) as a line over time, the lock
// state as a band under it (green locked, red unlocked, empty where there
// was no status), data activity as ticks under the band, each loss of lock
// marked through the plot, the time axis in minutes ago, and a header with
// the current value, the minimum and mean over the window and the count of
// losses. The window is the shortest of 2, 5, 10, 20, 30 or 60 minutes that
// holds the oldest sample. It draws from the history it is given and keeps
// nothing of its own.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "console/signal_history.h"
#include "platform/window/device_context.h"
#include "platform/window/geometry.h"
#include "platform/window/window.h"

namespace console {

class CSignalHistoryChart : public platform::window::Window {
  public:
    CSignalHistoryChart();

    // The history drawn (may be null: nothing to draw); it must outlive the
    // chart or be replaced first.
    void SetHistory(const SignalHistory* history);
    // The monotonic time taken as "now"; none: the clock's (the default).
    void SetNow(std::optional<std::int64_t> steadyMs) { m_fixedNow = steadyMs; }

    // ---- Geometry of the last paint, for tests ---------------------------
    platform::window::Rect PlotRect() const { return m_plot; }
    platform::window::Rect BandRect() const { return m_band; }
    platform::window::Rect TickRect() const { return m_ticks; }
    // Window length in minutes and its start on the monotonic clock.
    int WindowMinutes() const { return m_windowMinutes; }
    // The x coordinate of a moment inside the window.
    int XOf(std::int64_t steadyMs) const;
    // The y coordinate of a value of the line.
    int YOf(double value) const;
    // The header text drawn last.
    const std::string& HeaderText() const { return m_header; }

  protected:
    void OnPaint(platform::window::DeviceContext& dc) override;

  private:
    void Layout();
    void ChooseWindow(std::int64_t now);
    void ChooseScale(const SignalStatistics& stats, SignalQuantity quantity);
    void DrawGrid(platform::window::DeviceContext& dc, SignalQuantity quantity);
    void DrawTimeAxis(platform::window::DeviceContext& dc);
    void DrawRowNames(platform::window::DeviceContext& dc);
    void DrawBandAndTicks(platform::window::DeviceContext& dc, std::size_t first);
    void DrawLine(platform::window::DeviceContext& dc, std::size_t first, SignalQuantity quantity);
    void DrawLossMarks(platform::window::DeviceContext& dc, std::size_t first);

    const SignalHistory* m_history = nullptr;
    std::optional<std::int64_t> m_fixedNow;

    platform::window::Rect m_plot, m_band, m_ticks, m_axis, m_headerRect;
    std::int64_t m_windowStart = 0;
    std::int64_t m_windowEnd = 0;
    int m_windowMinutes = 2;
    double m_low = 0;
    double m_high = 40;
    double m_gridStep = 10;
    std::string m_header;
};

}  // namespace console
