// The level history's ring and its CSV file: records kept in order across
// the wrap, the monitor's state surviving its overwritten switches, and an
// export that reads back to the records it came from.
#include "core/monitor/LevelHistory.h"
#include "core/monitor/LevelHistoryCsv.h"
#include "support/LevelCsvReader.h"

#include <QTextStream>
#include <gtest/gtest.h>

using namespace nuvask;

using test::KeptRecords;
using test::ReadLevelCsv;
using Clock = test::ManualClock;

TEST(LevelHistory, RingKeepsTheNewestInOrderAndTheMonitorStateOfWhatItDropped)
{
    Clock clock;
    LevelHistory h(6, clock.fn());
    EXPECT_EQ(h.Capacity(), 6);
    EXPECT_FALSE(h.RunningBefore(h.EndSeq())) << "the monitor starts off";

    h.SetMonitorRunning(true, 30000);
    h.SetMonitorRunning(true, 30000); // the same state again adds nothing
    EXPECT_EQ(h.EndSeq(), 1);
    for (int i = 0; i < 8; ++i) {
        clock.now += 50;
        h.Append(LevelEvent::Peak, 1000 * i, 30000);
    }
    // Nine appended, six kept: the "on" switch is gone, its state is not.
    EXPECT_EQ(h.EndSeq(), 9);
    EXPECT_EQ(h.FirstSeq(), 3);
    EXPECT_EQ(h.At(3).peak, 2000);
    EXPECT_EQ(h.At(8).peak, 7000);
    EXPECT_TRUE(h.RunningBefore(h.FirstSeq()));

    clock.now += 50;
    h.SetMonitorRunning(false, 30000);
    clock.now += 500;
    h.SetMonitorRunning(true, 30000);
    EXPECT_TRUE(h.RunningBefore(h.EndSeq()));
    EXPECT_FALSE(h.RunningBefore(h.EndSeq() - 1)) << "between off and on";
    EXPECT_TRUE(h.RunningBefore(h.EndSeq() - 2));

    // Searching by time across the ring's seam.
    EXPECT_EQ(h.SeqAtOrAfter(0), h.FirstSeq());
    EXPECT_EQ(h.SeqAtOrAfter(h.At(7).time), 7);
    EXPECT_EQ(h.SeqAtOrAfter(h.At(7).time + 1), 8);
    EXPECT_EQ(h.SeqAtOrAfter(clock.now + 1), h.EndSeq());

    // A clock that steps back does not break the order.
    clock.now -= 10'000;
    h.Append(LevelEvent::Peak, 1, 30000);
    EXPECT_GE(h.At(h.EndSeq() - 1).time, h.At(h.EndSeq() - 2).time);

    // Values beyond their fields are clamped, not wrapped.
    h.Append(LevelEvent::AutoLower, 40000, -5, 600, -1);
    const LevelRecord &r = h.At(h.EndSeq() - 1);
    EXPECT_EQ(r.peak, 32768);
    EXPECT_EQ(r.cut, 0);
    EXPECT_EQ(r.before, unsigned(LevelHistory::MaxVolume));
    EXPECT_EQ(r.after, 0u);
}

TEST(LevelHistoryCsv, ExportReadsBackToTheRecordsOfTheSpan)
{
    Clock clock;
    LevelHistory h(64, clock.fn());
    const auto at = [&](qint64 ms) { clock.now = 1'000'000 + ms; };
    at(0);
    h.Append(LevelEvent::Peak, 100, 30000); // before the span
    at(1000);
    h.SetMonitorRunning(true, 30000);
    at(1050);
    h.Append(LevelEvent::Peak, 32768, 30000);
    h.Append(LevelEvent::AutoLower, 0, 30000, 200, 192);
    at(1100);
    h.Append(LevelEvent::LowerRefused, 0, 30000, 192, 192);
    h.Append(LevelEvent::MeterLower, 0, 30000, 192, 184);
    at(1150);
    h.Append(LevelEvent::OutsideChange, 0, 25000, 184, 256);
    h.Append(LevelEvent::GuardRestore, 0, 25000, 256, 184);
    at(1200);
    h.SetMonitorRunning(false, 25000);
    at(5000);
    h.Append(LevelEvent::Peak, 7, 25000); // after it

    const LevelTimeAnchor anchor = LevelTimeAnchor::At(QDateTime(QDate(2024, 5, 1), QTime(12, 34, 56, 789)), clock.now);
    QByteArray bytes;
    QTextStream out(&bytes);
    EXPECT_EQ(WriteLevelCsv(out, h, 1'001'000, 1'001'200, anchor), 8);
    out.flush();
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF")) << "a byte-order mark for spreadsheet programs";
    QStringList header;
    const QList<LevelRecord> back = ReadLevelCsv(bytes, anchor, &header);
    EXPECT_EQ(header, LevelCsv::Columns());
    EXPECT_EQ(back, KeptRecords(h, 1'001'000, 1'001'200));
    // Events leave the peak empty; on/off carry no volumes.
    EXPECT_TRUE(bytes.contains(",,30000,自動ダウン,200,192\r\n"));
    EXPECT_TRUE(bytes.contains(",,25000,モニターOFF,,\r\n"));
    EXPECT_TRUE(bytes.contains("2024-05-01 12:34:52.839,32768,30000,,,\r\n"));
    // The graph's quick clock agrees with the file's, past midnight too.
    for (qint64 t : {clock.now, clock.now - 45'296'789 - 1, clock.now + 11 * 3'600'000 + 25 * 60'000})
        EXPECT_EQ(anchor.clockText(t, LevelTimeAnchor::Clock::Milliseconds),
                  anchor.wallAt(t).toString(QStringLiteral("HH:mm:ss.zzz")));
}
