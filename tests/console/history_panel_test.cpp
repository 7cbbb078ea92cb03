// The history panel drawn offscreen from a scripted history: where the band
// is red, where the line runs and where it may not. The renders are left in
// the build tree (history-panel-*.png) for a look.
#include <QImage>
#include <QPoint>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>

#include "console/history_chart.h"
#include "console/history_panel.h"
#include "console/signal_history.h"
#include "platform/window/dialog.h"
#include "platform/window/qt/conversions.h"
#include "platform/window/qt/native.h"
#include "skin/skin_palette.h"

using platform::window::qt::WidgetOf;

namespace {

using console::SignalHistory;
using console::SignalSample;

constexpr std::int64_t NOW = 50'000'000;
constexpr std::int64_t MINUTE = 60'000;

const QColor LOCKED(0, 170, 0);
const QColor UNLOCKED(235, 0, 0);
const QColor NO_STATUS(226, 227, 230);

// The line's own pixels: the skin red, not the loss marks' pure red and not
// the pale edges of antialiasing.
bool IsLine(const QColor& c) {
    return std::abs(c.red() - platform::window::RedOf(skin::SKIN_COLOR)) < 30 && c.green() > 20 &&
           c.green() < 90 && c.blue() > 20 && c.blue() < 90;
}

// Nine minutes of polls every 600 ms: no status from 7 to 6 minutes ago,
// the lock lost from 4 to 3 minutes ago (SNR 12 dB, no data meanwhile),
// SNR 25 dB otherwise.
void Script(SignalHistory& history) {
    for (std::int64_t t = NOW - 9 * MINUTE; t <= NOW; t += 600) {
        if (t > NOW - 7 * MINUTE && t < NOW - 6 * MINUTE) continue;
        const bool lost = t >= NOW - 4 * MINUTE && t < NOW - 3 * MINUTE;
        SignalSample sample;
        sample.steadyMs = t;
        sample.wallMs = t;
        sample.snrDb = lost ? 12.0f : 25.0f;
        sample.locked = lost ? 0 : 1;
        sample.data = lost ? 0 : 1;
        history.Append(sample);
    }
}

class HistoryPanel : public ::testing::Test {
  protected:
    void SetUp() override {
        panel.SetHistory(&history);
        ASSERT_TRUE(panel.Create());
        panel.ShowWindow(platform::window::SW_SHOW);
        chart = panel.Chart();
        ASSERT_NE(chart, nullptr);
        chart->SetNow(NOW);
    }

    // The panel as drawn, with `at` mapping chart points into it.
    QImage Render(const QString& name) {
        const QImage image =
            WidgetOf(panel)->grab().toImage().convertToFormat(QImage::Format_RGB32);
        image.save(QStringLiteral(R40_BUILD_DIR "/history-panel-%1.png").arg(name));
        return image;
    }
    QColor At(const QImage& image, int x, int y) const {
        return image.pixelColor(WidgetOf(*chart)->mapTo(WidgetOf(panel), QPoint(x, y)));
    }

    SignalHistory history;
    console::CSignalHistoryPanel panel;
    console::CSignalHistoryChart* chart = nullptr;
};

TEST_F(HistoryPanel, BandLineAndMarksAreWhereTheHistoryPutsThem) {
    Script(history);
    const QImage image = Render(QStringLiteral("scripted"));
    EXPECT_EQ(chart->WindowMinutes(), 10);
    const QRect band = platform::window::ToQRect(chart->BandRect());
    const QRect plot = platform::window::ToQRect(chart->PlotRect());
    const int bandY = band.center().y();

    // The band: green before and after, red in the loss, empty in the gap.
    EXPECT_EQ(At(image, chart->XOf(NOW - 5 * MINUTE), bandY), LOCKED);
    EXPECT_EQ(At(image, chart->XOf(NOW - 2 * MINUTE), bandY), LOCKED);
    EXPECT_EQ(At(image, chart->XOf(NOW - 6 * MINUTE - 30'000), bandY), NO_STATUS);
    int red = 0;
    for (int x = band.left(); x <= band.right(); ++x) red += At(image, x, bandY) == UNLOCKED;
    const int lossLeft = chart->XOf(NOW - 4 * MINUTE);
    const int lossRight = chart->XOf(NOW - 3 * MINUTE);
    EXPECT_EQ(At(image, (lossLeft + lossRight) / 2, bandY), UNLOCKED);
    EXPECT_NEAR(red, lossRight - lossLeft, 2) << "red only where the lock was lost";

    // The line: at 25 dB outside the loss, at 12 dB inside it, nowhere in
    // the gap, and never elsewhere in those columns.
    const auto lineRows = [&](int x) {
        std::vector<int> rows;
        for (int y = plot.top(); y <= plot.bottom(); ++y)
            if (IsLine(At(image, x, y))) rows.push_back(y);
        return rows;
    };
    for (const auto& [t, snr] : {std::pair{NOW - 5 * MINUTE, 25.0},
                                 {NOW - 8 * MINUTE, 25.0},
                                 {NOW - 3 * MINUTE - 30'000, 12.0}}) {
        const std::vector<int> rows = lineRows(chart->XOf(t));
        ASSERT_FALSE(rows.empty()) << "no line at " << (NOW - t) / 1000 << " s ago";
        for (int y : rows) EXPECT_NEAR(y, chart->YOf(snr), 2) << (NOW - t) / 1000 << " s ago";
    }
    EXPECT_TRUE(lineRows(chart->XOf(NOW - 6 * MINUTE - 30'000)).empty()) << "line across the gap";
    EXPECT_LT(chart->YOf(25.0), chart->YOf(12.0)) << "higher SNR is higher up";

    // The loss is marked at its start, at the top of the plot.
    EXPECT_EQ(At(image, lossLeft, plot.top() + 1), UNLOCKED);
    EXPECT_NE(At(image, chart->XOf(NOW - 5 * MINUTE), plot.top() + 1), UNLOCKED);

    // Data ticks stop while the lock is lost.
    const int tickY = platform::window::ToQRect(chart->TickRect()).center().y();
    EXPECT_NE(At(image, chart->XOf(NOW - 5 * MINUTE), tickY),
              At(image, (lossLeft + lossRight) / 2, tickY));

    EXPECT_TRUE(chart->HeaderText().starts_with("SNR 25.0 dB")) << chart->HeaderText();
    EXPECT_TRUE(chart->HeaderText().find("min 12.0") != std::string::npos) << chart->HeaderText();
    EXPECT_TRUE(chart->HeaderText().find("1 lock loss") != std::string::npos)
        << chart->HeaderText();
}

TEST_F(HistoryPanel, AbsurdValuesStayInsideThePlot) {
    // A hostile receiver's SNR of 300 dB, -300 dB and 1e30 dB between sane
    // ones: the scale stops at 100 dB either way.
    for (int i = 0; i < 60; ++i) {
        SignalSample sample;
        sample.steadyMs = NOW - 60'000 + i * 1000;
        sample.snrDb = i == 20   ? 300.0f
                       : i == 40 ? -300.0f
                       : i == 50 ? 1e30f
                                 : 20.0f + static_cast<float>(i % 5);
        sample.locked = 1;
        history.Append(sample);
    }
    const QImage image = Render(QStringLiteral("absurd"));
    const QRect plot = platform::window::ToQRect(chart->PlotRect());
    int inside = 0;
    for (int x = plot.left(); x <= plot.right(); ++x) {
        for (int y = plot.top() - 3; y < chart->BandRect().bottom; ++y) {
            if (!IsLine(At(image, x, y))) continue;
            if (plot.contains(x, y))
                ++inside;
            else
                ADD_FAILURE() << "line outside the plot at " << x << "," << y;
        }
    }
    EXPECT_GT(inside, 30);
    EXPECT_EQ(chart->WindowMinutes(), 2);
}

TEST_F(HistoryPanel, SatelliteModelsDrawTheSignalPercentage) {
    for (int i = 0; i < 20; ++i) {
        SignalSample sample;
        sample.steadyMs = NOW - 20'000 + i * 1000;
        sample.signalPercent = 75;
        sample.locked = 1;
        history.Append(sample);
    }
    const QImage image = Render(QStringLiteral("percent"));
    EXPECT_TRUE(chart->HeaderText().starts_with("Signal 75 %")) << chart->HeaderText();
    const int x = chart->XOf(NOW - 10'000);
    bool found = false;
    for (int y = chart->YOf(75.0) - 2; y <= chart->YOf(75.0) + 2; ++y)
        found |= IsLine(At(image, x, y));
    EXPECT_TRUE(found);
}

}  // namespace
