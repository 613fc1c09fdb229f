// The level history's ring and its CSV file: records kept in order across
// the wrap, the monitor's state and where knowing begins surviving the
// overwritten records, runs of events folded, and an export that reads back
// to the records it came from.
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
    EXPECT_EQ(h.KnownFrom(), h.At(3).time - 50) << "known from the newest record let go";

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
    h.Append(LevelEvent::Peak, 40000, -5);
    EXPECT_EQ(h.At(h.EndSeq() - 1).peak, 32768);
    EXPECT_EQ(h.At(h.EndSeq() - 1).cut, 0);
    h.Append(LevelEvent::AutoLower, 0, 30000, 600, -1);
    const LevelRecord &r = h.At(h.EndSeq() - 1);
    EXPECT_EQ(r.before, unsigned(LevelHistory::MaxVolume));
    EXPECT_EQ(r.after, 0u);
}

TEST(LevelHistory, EventsOfOneKindFoldIntoOneRecordASecond)
{
    Clock clock;
    LevelHistory h(64, clock.fn());
    const qint64 t0 = clock.now;
    // The guard against another program: 20 restores a second, buffers and
    // outside changes between them.
    for (int i = 0; i < 30; ++i) {
        h.Append(LevelEvent::GuardRestore, 0, 30000, 100 + i, 200);
        if (i == 5)
            h.Append(LevelEvent::OutsideChange, 0, 30000, 200, 150);
        h.Append(LevelEvent::Peak, 1000, 30000);
        clock.now += 50;
    }
    h.SetMonitorRunning(true, 30000);
    h.SetMonitorRunning(false, 30000);

    // kind, time, count, before, after: a run is stamped with its first, its
    // volume before the first's, after the last's; another kind between
    // breaks no run; a second on, a new record; switching never folds.
    using E = LevelEvent;
    QList<std::tuple<LevelEvent, qint64, int, unsigned, unsigned>> events;
    for (qint64 s = h.FirstSeq(); s < h.EndSeq(); ++s) {
        if (const LevelRecord &r = h.At(s); r.isEvent())
            events.append({r.event(), r.time - t0, r.count(), r.before, r.after});
    }
    const decltype(events) expected{{E::GuardRestore, 0, 20, 100, 200}, {E::OutsideChange, 250, 1, 200, 150},
                                    {E::GuardRestore, 1000, 10, 120, 200}, {E::MonitorOn, 1500, 1, 0, 0},
                                    {E::MonitorOff, 1500, 1, 0, 0}};
    EXPECT_EQ(events, expected);
    EXPECT_EQ(h.At(0).lastTime(), t0 + 19 * 50);
    EXPECT_EQ(h.EndSeq(), 30 + 5) << "a buffer is never folded";

    // A run whose record the ring let go starts again.
    LevelHistory small(4, clock.fn());
    small.Append(LevelEvent::GuardRestore, 0, 30000, 1, 2);
    for (int i = 0; i < 4; ++i)
        small.Append(LevelEvent::Peak, 1, 30000);
    small.Append(LevelEvent::GuardRestore, 0, 30000, 3, 4);
    EXPECT_EQ(small.At(small.EndSeq() - 1).count(), 1);
    EXPECT_EQ(small.At(small.EndSeq() - 1).before, 3u);
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
    at(1175);
    h.Append(LevelEvent::GuardRestore, 0, 25000, 250, 184);
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
    qint64 noRecord = 0;
    const QList<LevelRecord> back = ReadLevelCsv(bytes, anchor, &header, &noRecord);
    EXPECT_EQ(header, LevelCsv::Columns());
    EXPECT_EQ(back, KeptRecords(h, 1'001'000, 1'001'200));
    EXPECT_EQ(noRecord, -1) << "the span lies within what is known";
    // Events leave the peak empty and count; on/off carry no volumes; a run
    // of two restores names its last one's time.
    EXPECT_TRUE(bytes.contains(",,30000,自動ダウン,200,192,1,\r\n"));
    EXPECT_TRUE(bytes.contains(",,25000,モニターOFF,,,1,\r\n"));
    EXPECT_TRUE(bytes.contains(",,25000,ガード復元,256,184,2,2024-05-01 12:34:52.964\r\n"));
    EXPECT_TRUE(bytes.contains("2024-05-01 12:34:52.839,32768,30000,,,,,\r\n"));

    // The graph's quick clock agrees with the file's, past midnight too.
    for (qint64 t : {clock.now, clock.now - 45'296'789 - 1, clock.now + 11 * 3'600'000 + 25 * 60'000})
        EXPECT_EQ(anchor.clockText(t, LevelTimeAnchor::Clock::Milliseconds),
                  anchor.wallAt(t).toString(QStringLiteral("HH:mm:ss.zzz")));
}
