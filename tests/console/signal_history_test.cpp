// The signal history ring, its statistics, its CSV file and the rate limit
// of the lock alarms, without a window.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <cmath>
#include <vector>

#include "console/history_csv.h"
#include "console/lock_alarms.h"
#include "console/signal_history.h"

namespace {

using console::Alarm;
using console::LockAlarms;
using console::SignalHistory;
using console::SignalQuantity;
using console::SignalSample;

SignalSample Sample(std::int64_t ms, float snr, bool locked = true, bool data = true) {
    SignalSample sample;
    sample.steadyMs = ms;
    sample.wallMs = 1'700'000'000'000 + ms;
    sample.snrDb = snr;
    sample.locked = locked ? 1 : 0;
    sample.data = data ? 1 : 0;
    return sample;
}

TEST(SignalHistory, WrapsAroundKeepingTheNewestInOrder) {
    SignalHistory history(5);
    for (int i = 0; i < 12; ++i) history.Append(Sample(i * 600, static_cast<float>(i)));
    ASSERT_EQ(history.Size(), 5u);
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(history.At(i).steadyMs, static_cast<std::int64_t>(7 + i) * 600) << i;
        EXPECT_FLOAT_EQ(history.At(i).snrDb, static_cast<float>(7 + i));
    }
    EXPECT_EQ(history.Newest().snrDb, 11.0f);
    EXPECT_EQ(history.FirstAtOrAfter(0), 0u);
    EXPECT_EQ(history.FirstAtOrAfter(9 * 600), 2u);
    EXPECT_EQ(history.FirstAtOrAfter(9 * 600 + 1), 3u);
    EXPECT_EQ(history.FirstAtOrAfter(100000), 5u);
    const std::vector<SignalSample> copy = history.Snapshot();
    ASSERT_EQ(copy.size(), 5u);
    EXPECT_EQ(copy.front().steadyMs, 7 * 600);

    // A clock that stepped back does not break the order a search needs.
    history.Append(Sample(100, 1.0f));
    EXPECT_EQ(history.Newest().steadyMs, 11 * 600);
    EXPECT_EQ(history.FirstAtOrAfter(11 * 600), 3u);

    history.Clear();
    EXPECT_TRUE(history.Empty());
    history.Append(Sample(5, 2.0f));
    EXPECT_EQ(history.Size(), 1u);
    EXPECT_EQ(history.At(0).steadyMs, 5);
}

TEST(SignalHistory, StatisticsOverAWindowThatWrapped) {
    SignalHistory history(10);
    // 25 samples: only the last 10 (15..24) are kept. SNR 30 + i, with the
    // lock lost at 17 and 21 and regained at 19 and 23; 20 has no SNR.
    for (int i = 0; i < 25; ++i) {
        const bool locked = !(i == 17 || i == 18 || i == 21 || i == 22);
        const float snr = i == 20 ? NAN : 30.0f + static_cast<float>(i);
        history.Append(Sample(i * 1000, snr, locked));
    }
    auto all = history.StatisticsSince(0, SignalQuantity::SnrDb);
    EXPECT_EQ(all.samples, 10u);
    EXPECT_EQ(all.valueSamples, 9u);
    EXPECT_DOUBLE_EQ(all.minimum, 45.0);
    EXPECT_DOUBLE_EQ(all.maximum, 54.0);
    EXPECT_NEAR(all.mean, (45 + 46 + 47 + 48 + 49 + 51 + 52 + 53 + 54) / 9.0, 1e-9);
    EXPECT_EQ(all.lockLosses, 2);

    // A window starting inside the lost stretch does not count its start.
    auto late = history.StatisticsSince(18000, SignalQuantity::SnrDb);
    EXPECT_EQ(late.samples, 7u);
    EXPECT_DOUBLE_EQ(late.minimum, 48.0);
    EXPECT_EQ(late.lockLosses, 1);

    EXPECT_EQ(history.LineQuantity(), SignalQuantity::SnrDb);
    auto percent = history.StatisticsSince(0, SignalQuantity::SignalPercent);
    EXPECT_EQ(percent.valueSamples, 0u) << "the R40 gives no percentage";
}

// Reads the file back the way a spreadsheet would: lines and commas.
std::vector<QStringList> ReadCsv(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    std::vector<QStringList> rows;
    for (const QByteArray& line : file.readAll().split('\n'))
        if (!line.isEmpty()) rows.push_back(QString::fromUtf8(line).split(QLatin1Char(',')));
    return rows;
}

TEST(HistoryCsv, WrittenAndReadBack) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    std::vector<SignalSample> samples;
    samples.push_back(Sample(0, 21.456f, true, true));
    samples.push_back(Sample(600, 0.0f, false, false));
    SignalSample satellite = Sample(1200, NAN, true, false);
    satellite.signalPercent = 87;
    samples.push_back(satellite);
    samples.back().wallMs = 1'765'290'820'007;  // 2025-12-09T14:33:40.007Z

    const QString path = dir.filePath(QStringLiteral("history.csv"));
    ASSERT_TRUE(console::SaveHistoryCsv(path.toStdString(), samples));
    const std::vector<QStringList> rows = ReadCsv(path);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].join(QLatin1Char(',')), "time,lock,data,snr_db,signal_percent");
    for (const QStringList& row : rows)
        EXPECT_EQ(row.size(), 5) << row.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(rows[1][0], "2023-11-14T22:13:20.000Z");
    EXPECT_EQ(rows[1][1], "1");
    EXPECT_EQ(rows[1][2], "1");
    EXPECT_EQ(rows[1][3], "21.46");
    EXPECT_EQ(rows[1][4], "") << "the R40 gives no percentage";
    EXPECT_EQ(rows[2][0], "2023-11-14T22:13:20.600Z");
    EXPECT_EQ(rows[2][1], "0");
    EXPECT_EQ(rows[2][2], "0");
    EXPECT_EQ(rows[2][3], "0.00");
    EXPECT_EQ(rows[3][0], "2025-12-09T14:33:40.007Z");
    EXPECT_EQ(rows[3][3], "") << "no SNR from a satellite model";
    EXPECT_EQ(rows[3][4], "87");

    // A full ring saves whole, and a second save replaces the file.
    SignalHistory ring;
    for (std::size_t i = 0; i < ring.Capacity() + 10; ++i)
        ring.Append(Sample(static_cast<std::int64_t>(i) * 600, 20.0f));
    ASSERT_TRUE(console::SaveHistoryCsv(path.toStdString(), ring.Snapshot()));
    EXPECT_EQ(ReadCsv(path).size(), ring.Capacity() + 1);

    // A directory that does not exist is a failure, not a crash.
    EXPECT_FALSE(
        console::SaveHistoryCsv(dir.filePath("missing/history.csv").toStdString(), samples));
}

TEST(LockAlarms, OneBalloonEachWayThenOnePerPeriodWithACount) {
    LockAlarms alarms;
    alarms.Follow("R40 at 192.168.0.50");
    EXPECT_FALSE(alarms.OnStatus(true, 0).message) << "the first status is no change";
    EXPECT_FALSE(alarms.OnStatus(true, 600).message);

    auto lost = alarms.OnStatus(false, 10'000);
    ASSERT_TRUE(lost.balloon);
    EXPECT_EQ(lost.balloon->text, "R40 at 192.168.0.50 lost lock");
    EXPECT_TRUE(lost.balloon->warning);
    EXPECT_FALSE(alarms.OnStatus(false, 10'600).message) << "no change, no alarm";

    // Back after 2 min 13 s: past the rate limit, so a balloon at once.
    auto back = alarms.OnStatus(true, 10'000 + 133'000);
    ASSERT_TRUE(back.balloon);
    EXPECT_EQ(back.balloon->text, "R40 at 192.168.0.50 locked again after 2 min 13 s");
    EXPECT_FALSE(back.balloon->warning);

    // Flapping: the first change within 30 s of the last balloon is held,
    // as are the ones after it; each still reaches the message line.
    std::int64_t t = 143'000 + 1'000;
    int messages = 0;
    for (int i = 0; i < 5; ++i, t += 2'000) {
        auto outcome = alarms.OnStatus(i % 2 == 1, t);
        EXPECT_FALSE(outcome.balloon) << i;
        messages += outcome.message ? 1 : 0;
    }
    EXPECT_EQ(messages, 5);
    EXPECT_EQ(alarms.HeldChanges(), 5);
    ASSERT_TRUE(alarms.SummaryDueAt());
    EXPECT_EQ(*alarms.SummaryDueAt(), 143'000 + 30'000);
    EXPECT_FALSE(alarms.OnSummaryDue(143'000 + 29'999)) << "not before the period is over";
    const auto summary = alarms.OnSummaryDue(143'000 + 30'000);
    ASSERT_TRUE(summary);
    EXPECT_EQ(summary->text,
              "R40 at 192.168.0.50 is flapping: 5 lock changes in 30 s, without lock now");
    EXPECT_TRUE(summary->warning);
    EXPECT_FALSE(alarms.SummaryDueAt());
    // The summary said "without lock now": the return answers it at once.
    const auto after = alarms.OnStatus(true, 178'000);
    ASSERT_TRUE(after.balloon);
    EXPECT_EQ(after.balloon->text, "R40 at 192.168.0.50 locked again after 26 s");

    // Removal is told at once, whatever the rate limit, and ends following.
    alarms.OnStatus(false, 204'000);
    const auto removed = alarms.OnRemoved();
    ASSERT_TRUE(removed.balloon);
    EXPECT_EQ(removed.balloon->text,
              "R40 at 192.168.0.50 was removed: it is no longer heard (after 1 lock change)");
    EXPECT_FALSE(alarms.OnStatus(true, 300'000).message) << "nobody followed any more";
    EXPECT_FALSE(alarms.OnRemoved().balloon);
}

TEST(LockAlarms, TheReturnOfLockAnswersItsLossAtOnce) {
    LockAlarms alarms;
    alarms.Follow("T22 (3.x) at 10.0.0.3");
    alarms.OnStatus(true, 0);
    ASSERT_TRUE(alarms.OnStatus(false, 1'000).balloon);
    const auto back = alarms.OnStatus(true, 6'000);
    ASSERT_TRUE(back.balloon) << "within the period, but it answers the loss";
    EXPECT_EQ(back.balloon->text, "T22 (3.x) at 10.0.0.3 locked again after 5 s");
    // The next loss and return fall in the period of that balloon.
    EXPECT_FALSE(alarms.OnStatus(false, 7'000).balloon);
    EXPECT_FALSE(alarms.OnStatus(true, 8'000).balloon) << "its loss was not shown";
    EXPECT_EQ(alarms.HeldChanges(), 2);
    EXPECT_EQ(*alarms.SummaryDueAt(), 36'000);
    const auto summary = alarms.OnSummaryDue(36'000);
    ASSERT_TRUE(summary);
    EXPECT_EQ(summary->text,
              "T22 (3.x) at 10.0.0.3 is flapping: 2 lock changes in 30 s, locked now");
    EXPECT_FALSE(summary->warning);
}

TEST(LockAlarms, AnotherReceiverStartsAfresh) {
    LockAlarms alarms;
    alarms.Follow("R40 at 10.0.0.1");
    alarms.OnStatus(true, 0);
    ASSERT_TRUE(alarms.OnStatus(false, 1'000).balloon);
    alarms.OnStatus(true, 2'000);  // held
    alarms.Follow("R40V at 10.0.0.2");
    EXPECT_FALSE(alarms.SummaryDueAt()) << "nothing held for the old receiver is told";
    EXPECT_FALSE(alarms.OnStatus(false, 3'000).message) << "first status of the new one";
    const auto locked = alarms.OnStatus(true, 4'000);
    ASSERT_TRUE(locked.balloon) << "its own first change is told at once";
    EXPECT_EQ(locked.balloon->text,
              "R40V at 10.0.0.2 is locked now (without lock for at least 1 s)")
        << "the loss was before its selection";
    const auto lost = alarms.OnStatus(false, 5'000);
    EXPECT_FALSE(lost.balloon) << "rate limit from its own first balloon at 4 s";
}

TEST(LockAlarms, OutageTexts) {
    EXPECT_EQ(console::OutageText(200), "1 s");
    EXPECT_EQ(console::OutageText(59'400), "59 s");
    EXPECT_EQ(console::OutageText(60'000), "1 min 0 s");
    EXPECT_EQ(console::OutageText(3'600'000 + 5 * 60'000 + 7'000), "1 h 5 min 7 s");
}

}  // namespace
