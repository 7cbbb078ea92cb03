// What the signal history costs the window's thread: the ring's memory, an
// append, and a paint of the history panel with the ring full (72 minutes
// of polls, the lock flapping every minute), offscreen. Figures only.
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>

#include <cmath>
#include <cstdio>

#include "console/history_chart.h"
#include "console/history_panel.h"
#include "console/signal_history.h"
#include "platform/window/dialog.h"
#include "platform/window/qt/native.h"

using platform::window::qt::WidgetOf;

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    console::SignalHistory history;
    constexpr std::int64_t NOW = 10'000'000;
    const std::size_t total = history.Capacity() * 3;
    QElapsedTimer clock;
    clock.start();
    for (std::size_t i = 0; i < total; ++i) {
        console::SignalSample sample;
        sample.steadyMs = NOW - static_cast<std::int64_t>(total - i) * 600;
        sample.wallMs = sample.steadyMs;
        sample.snrDb = 20.0f + 3.0f * static_cast<float>(std::sin(static_cast<double>(i) / 40));
        sample.locked = (i / 100) % 10 != 0;
        sample.data = sample.locked;
        history.Append(sample);
    }
    const double appendNs = static_cast<double>(clock.nsecsElapsed()) / static_cast<double>(total);

    console::CSignalHistoryPanel panel;
    panel.SetHistory(&history);
    panel.Create();
    panel.ShowWindow(platform::window::SW_SHOW);
    panel.Chart()->SetNow(NOW);
    constexpr int PAINTS = 50;
    QImage target(WidgetOf(*panel.Chart())->size(), QImage::Format_RGB32);
    WidgetOf(*panel.Chart())->render(&target);  // warm up fonts and caches
    clock.restart();
    for (int i = 0; i < PAINTS; ++i) WidgetOf(*panel.Chart())->render(&target);
    const double paintMs = static_cast<double>(clock.nsecsElapsed()) / 1e6 / PAINTS;

    // The same paint without samples: what the frame, grid and text cost.
    console::SignalHistory empty;
    panel.SetHistory(&empty);
    WidgetOf(*panel.Chart())->render(&target);
    clock.restart();
    for (int i = 0; i < PAINTS; ++i) WidgetOf(*panel.Chart())->render(&target);
    const double emptyMs = static_cast<double>(clock.nsecsElapsed()) / 1e6 / PAINTS;

    const double sampleBytes = sizeof(console::SignalSample);
    std::printf("signal history: %zu samples of %zu bytes = %zu bytes in the ring\n",
                history.Capacity(), sizeof(console::SignalSample),
                history.Capacity() * sizeof(console::SignalSample));
    std::printf("  one hour of polls every 600 ms: %.0f bytes\n", sampleBytes * 3600 / 0.6);
    std::printf("  append: %.1f ns\n", appendNs);
    std::printf("  paint of the full ring (%d x %d px, 60-minute window): %.2f ms\n",
                panel.Chart()->GetClientRect().Width(), panel.Chart()->GetClientRect().Height(),
                paintMs);
    std::printf("  paint without samples: %.2f ms\n", emptyMs);
    return 0;
}
