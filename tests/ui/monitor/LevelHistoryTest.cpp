// The level history over the simulated capture device and board: what the
// monitor and the mixer side put into it, what the graph draws of it (and
// that drawing only the new columns gives the same picture as drawing all),
// and the export that reads back to the same records.
#include "support/LevelCsvReader.h"
#include "support/LevelMonitorHarness.h"
#include "support/TestFiles.h"

#include "core/monitor/LevelHistoryRecorder.h"
#include "ui/monitor/LevelHistoryGraph.h"
#include "ui/monitor/LevelHistoryWindow.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace nuvask;
using namespace nuvask::test;

namespace {

constexpr quint32 FramesPerBuffer = 8820 / 4; // "1": 50 ms of 16-bit stereo
constexpr int Quiet = 1000;
constexpr int Loud = 30000;
constexpr int Cut = 20000;

class LevelHistoryRig : public ::testing::Test
{
protected:
    void SetUp() override
    {
        w.strips.host.onControlChange = [this](quint32 id) { recorder.MixerControlChanged(id); };
        w.strips.host.onAutoLowered = [this](const AutoLowering &l) { recorder.AutoLowered(l); };
        w.monitor->SetHistory(&history);
    }
    // One buffer of the scripted signal, 50 ms after the one before.
    void capture(int level)
    {
        clock.now += 50;
        if (level >= 32768)
            w.wave.queueFullScale(FramesPerBuffer);
        else
            w.wave.queueLevel(level, FramesPerBuffer);
        w.captureOne();
    }
    QList<LevelRecord> all() const { return KeptRecords(history, 0, clock.now); }
    static LevelRecord rec(qint64 time, LevelEvent kind, int peak, int cut, int before = 0, int after = 0)
    {
        LevelRecord r;
        r.time = time;
        r.kind = quint32(kind);
        r.peak = quint16(peak);
        r.cut = quint16(cut);
        r.before = quint32(before);
        r.after = quint32(after);
        return r;
    }

    ManualClock clock;
    MonitorTestWindow w;
    LevelHistory history{4096, clock.fn()};
    LevelHistoryRecorder recorder{history, w.strips.layer};
};

TEST_F(LevelHistoryRig, ScriptedSignalGivesEachPeakEachLoweringAndTheOffSpan)
{
    w.bindRecordingStrip(200);
    w.monitor->CutLevelShow(Cut);
    const qint64 t0 = clock.now;
    w.click("Btn_RAuto"); // the monitor starts with "Auto" on
    // The second loud buffer's scan stops at the cut level; the history still
    // gets how loud it was.
    for (int level : {Quiet, Quiet, 32768, Loud, Quiet})
        capture(level);
    EXPECT_EQ(w.stripPosition(), 184);
    clock.now += 20;
    w.click("Btn_RPK_OFF");
    clock.now += 1000;
    w.click("Btn_RPK_ON");
    capture(Quiet);

    using E = LevelEvent;
    // Both lowerings within a second: one record of two.
    LevelRecord lowered = rec(t0 + 150, E::AutoLower, 0, Cut, 200, 184);
    lowered.runMs = 50;
    lowered.more = 1;
    const QList<LevelRecord> expected{
        rec(t0, E::MonitorOn, 0, Cut),
        rec(t0 + 50, E::Peak, Quiet, Cut),
        rec(t0 + 100, E::Peak, Quiet, Cut),
        rec(t0 + 150, E::Peak, 32768, Cut),
        lowered,
        rec(t0 + 200, E::Peak, Loud, Cut),
        rec(t0 + 250, E::Peak, Quiet, Cut),
        rec(t0 + 270, E::MonitorOff, 0, Cut),
        rec(t0 + 1270, E::MonitorOn, 0, Cut),
        rec(t0 + 1320, E::Peak, Quiet, Cut),
    };
    EXPECT_EQ(all(), expected);

    // The window's export of the shown span reads back to the same records.
    LevelHistoryWindow window(history);
    window.resize(700, 320);
    window.show();
    QTemporaryDir folder;
    QString path;
    ASSERT_EQ(window.ExportCsv(folder.path(), path), QString());
    const QByteArray bytes = ReadFile(path);
    // The anchor the export used is not kept; the file's own first record
    // (after the row that says the span begins before the history) pins it down.
    const QString firstTime = QString::fromUtf8(bytes).section(QStringLiteral("\r\n"), 2, 2).section(',', 0, 0);
    const LevelTimeAnchor anchor = LevelTimeAnchor::At(QDateTime::fromString(firstTime, LevelCsv::TimeFormat), t0);
    qint64 noRecord = 0;
    EXPECT_EQ(ReadLevelCsv(bytes, anchor, nullptr, &noRecord), expected);
    EXPECT_EQ(noRecord, clock.now - 10 * 60'000);
}

TEST_F(LevelHistoryRig, OnlyChangesNoStripWroteCountAsOutside)
{
    w.bindRecordingStrip(200);
    // Strip 0 on the same line as strip 2.
    ASSERT_EQ(w.strips.bind(0, 0, MonitorTestWindow::Recording, 0), QString());
    const qint64 before = history.EndSeq();

    w.strips.layer.StripSetVolume(2, 150, 0); // strip 2 itself
    Deliver();
    w.strips.layer.StripSetVolume(0, 120, 0); // another strip on the same line
    Deliver();
    w.board.changeExternally(0, MonitorTestWindow::RecVolume, {120 * 256 + 100}); // less than half a step
    Deliver();
    EXPECT_EQ(history.EndSeq(), before) << "the program's own writes are no outside changes";
    EXPECT_EQ(w.stripPosition(), 120);

    clock.now += 10;
    w.board.changeExternally(0, MonitorTestWindow::RecVolume, {64 * 256});
    Deliver();
    ASSERT_EQ(history.EndSeq(), before + 1);
    EXPECT_EQ(history.At(before), rec(clock.now, LevelEvent::OutsideChange, 0, w.strips.layer.CutLevel(), 120, 64));
    EXPECT_EQ(w.stripPosition(), 64) << "the strips follow the change as always";
}

TEST_F(LevelHistoryRig, LoweringsOfBothFormsAndARefusedOneAreKeptAsSuch)
{
    w.strips.host.autoRecV = true; // the recording line has a mixer meter: its "A" shows
    w.bindRecordingStrip(100);
    w.monitor->CutLevelShow(Cut);
    w.click("Btn_RAuto");
    w.board.addFault({SimCall::SetControlValues, -1, -1, -1, MixerRc::Error, 0, 1});
    capture(32768);
    capture(32768);
    // The mixer-meter form: the line's own meter over the cut level.
    constexpr quint32 RecordingMeter = 10;
    w.board.changeExternally(0, RecordingMeter, {32000});
    Deliver();
    w.strips.layer.StripReadPeak(2);
    Deliver();
    const QList<LevelRecord> records = all();
    ASSERT_EQ(records.size(), 6);
    EXPECT_EQ(records[2], rec(clock.now - 50, LevelEvent::LowerRefused, 0, Cut, 100, 100));
    EXPECT_EQ(records[4], rec(clock.now, LevelEvent::AutoLower, 0, Cut, 100, 92));
    EXPECT_EQ(records[5], rec(clock.now, LevelEvent::MeterLower, 0, Cut, 92, 84));
    // Another strip's lowering is not the recording line's.
    recorder.AutoLowered({0, 50, 42, true, true});
    EXPECT_EQ(all().size(), 6);
}

// --- the graph ---------------------------------------------------------------

class LevelHistoryGraphTest : public ::testing::Test
{
protected:
    LevelHistoryGraphTest()
    {
        for (LevelHistoryGraph *g : {&a, &b}) {
            g->SetSpanMinutes(1);
            g->resize(LevelHistoryGraph::LeftMargin + 500 + LevelHistoryGraph::RightMargin,
                      LevelHistoryGraph::TopMargin + 129 + LevelHistoryGraph::BottomMargin);
        }
    }
    QRgb pixelAt(LevelHistoryGraph &g, qint64 time, int value)
    {
        const QImage &image = g.PlotImage();
        const qint64 right = (g.ViewEnd() * image.width()) / g.SpanMs();
        const int x = int((time * image.width()) / g.SpanMs() - right + image.width() - 1);
        const int y = image.height() - 1 - int(qint64(value) * (image.height() - 1) / 32768);
        return image.pixel(x, y);
    }

    ManualClock clock;
    LevelHistory history{8192, clock.fn()};
    LevelHistoryGraph a{history};
    LevelHistoryGraph b{history};
};

TEST_F(LevelHistoryGraphTest, PaintingOnlyNewColumnsGivesTheSamePictureAsPaintingAll)
{
    a.Refresh();
    const qint64 msPerColumn = 60'000 / 500;
    const qint64 tickMs = 120; // a column: more often than the timer would
    // A minute in 10 ms steps: buffers of 50 ms and of 450 ms that arrive
    // between the timer's ticks, events, and the monitor switched off and on.
    qint64 nextBuffer = clock.now + 50;
    for (int step = 1; step <= 6000; ++step) {
        clock.now += 10;
        const bool longBuffers = (step / 1000) % 2 == 1;
        if (step % 1300 == 700)
            history.SetMonitorRunning(false, 20000 + step);
        if (step % 1300 == 900 || step == 1) {
            history.SetMonitorRunning(true, 20000 + step);
            nextBuffer = clock.now + 50;
        }
        if (history.MonitorRunning() && clock.now >= nextBuffer) {
            history.Append(LevelEvent::Peak, (step * 7919) % 32769, 20000 + step / 100);
            nextBuffer = clock.now + (longBuffers ? 450 : 50);
        }
        if (step % 370 == 0)
            history.Append(LevelEvent(1 + step % 5), 0, 20000, 200 - step % 9, 192 - step % 9);
        // The guard fighting for two seconds in every ten: runs that grow
        // after their first columns were painted.
        if (step % 1000 >= 200 && step % 1000 < 400 && step % 5 == 0)
            history.Append(LevelEvent::GuardRestore, 0, 20000, 150 + step % 7, 180);
        if (clock.now % tickMs == 0) {
            const qint64 painted = a.ColumnsPainted();
            a.Refresh();
            // New columns, and those a buffer's sound or a growing run of
            // events can reach back into.
            const qint64 bound = tickMs / msPerColumn + 1 + LevelHistory::FoldMs / msPerColumn + 2;
            ASSERT_LE(a.ColumnsPainted() - painted, bound) << "step " << step;
        }
    }
    a.Refresh();
    b.Refresh();
    ASSERT_EQ(a.PlotImage().size(), b.PlotImage().size());
    EXPECT_TRUE(a.PlotImage() == b.PlotImage()) << "the scrolled picture went wrong somewhere";
    // The labels too; all inside the plot (those near its right edge moved
    // left to stay in), a run's with its count.
    const auto labels = a.LabelsShown();
    EXPECT_EQ(labels, b.LabelsShown());
    const QRect plot = a.PlotRect();
    const auto any = [&](auto test) { return std::any_of(labels.begin(), labels.end(), test); };
    EXPECT_FALSE(any([&](const auto &l) { return !plot.contains(l.first); }));
    EXPECT_TRUE(any([&](const auto &l) { return l.first.right() == plot.right(); }));
    EXPECT_TRUE(any([&](const auto &l) { return l.second.endsWith(QStringLiteral("回)")); }));

    // Nothing new, nothing painted.
    const qint64 painted = a.ColumnsPainted();
    a.Refresh();
    EXPECT_EQ(a.ColumnsPainted(), painted);
}

TEST_F(LevelHistoryGraphTest, ColumnsShowPeakCutMarksAndTheOffSpan)
{
    history.SetMonitorRunning(true, 16384);
    for (int i = 0; i < 20; ++i) {
        clock.now += 50;
        history.Append(LevelEvent::Peak, i == 10 ? 32768 : 2000, 16384);
    }
    const qint64 loud = clock.now - 9 * 50;
    history.Append(LevelEvent::AutoLower, 0, 16384, 200, 192); // stamped with the last buffer
    clock.now += 3000;
    history.SetMonitorRunning(false, 16384);
    clock.now += 3000;
    a.show();
    a.Refresh();

    EXPECT_EQ(pixelAt(a, loud, 32768), qRgb(255, 0, 0)) << "a full-scale buffer reaches the red top";
    EXPECT_EQ(pixelAt(a, loud - 200, 4000), qRgb(0, 0, 0)) << "quiet buffers stay low";
    EXPECT_EQ(pixelAt(a, loud - 200, 16384), qRgb(255, 255, 255)) << "the cut level's line";
    const QRgb off = pixelAt(a, clock.now - 1000, 30000);
    EXPECT_TRUE(off == qRgb(56, 56, 72) || off == qRgb(92, 92, 116)) << "the monitor-off span is hatched";

    // The reading under the mouse names the values and the mark.
    const int plotWidth = a.PlotImage().width();
    const auto columnOf = [&](qint64 t) {
        return int(t * plotWidth / a.SpanMs() - a.ViewEnd() * plotWidth / a.SpanMs() + plotWidth - 1);
    };
    const QString atMark = a.ReadingAt(columnOf(clock.now - 6000));
    EXPECT_TRUE(atMark.contains(QStringLiteral("自動ダウン 200→192"))) << atMark.toStdString();
    const QString atLoud = a.ReadingAt(columnOf(loud));
    EXPECT_TRUE(atLoud.contains(QStringLiteral("ピーク")) && atLoud.contains(QStringLiteral("32768 (0.0 dBFS)")))
        << atLoud.toStdString();
    EXPECT_TRUE(a.ReadingAt(columnOf(clock.now - 1000)).contains(QStringLiteral("モニターOFF")));
    EXPECT_TRUE(a.ReadingAt(0).contains(QStringLiteral("記録なし"))) << "before the history began";
}

TEST(LevelHistoryHour, AnHourOfBuffersAndRestoresKeepsItsFirstBufferAndNoRecordOnlyBeforeTheHistory)
{
    ManualClock clock;
    LevelHistory history(LevelHistory::DefaultCapacity, clock.fn());
    LevelHistoryGraph graph(history);
    graph.SetSpanMinutes(60);
    graph.resize(LevelHistoryGraph::LeftMargin + 480 + LevelHistoryGraph::RightMargin,
                 LevelHistoryGraph::TopMargin + 100 + LevelHistoryGraph::BottomMargin);
    const QRgb noRecord = qRgb(40, 40, 40);
    const auto noRecordColumns = [&] {
        graph.Refresh();
        const QImage plot = graph.PlotImage();
        int columns = 0;
        while (columns < plot.width() && plot.pixel(columns, plot.height() / 2) == noRecord)
            ++columns;
        for (int x = columns; x < plot.width(); ++x)
            EXPECT_NE(plot.pixel(x, plot.height() / 2), noRecord) << "column " << x;
        return columns;
    };

    // Two hours of 20 buffers and 20 guard restores a second.
    history.SetMonitorRunning(true, 20000);
    for (qint64 ms = 0; ms < 2 * 3'600'000; ms += 25) {
        clock.now += 25;
        if (ms % 50 == 0)
            history.Append(LevelEvent::Peak, 3000 + int(ms % 7000), 20000);
        else
            history.Append(LevelEvent::GuardRestore, 0, 20000, 150, 200);
        if (ms == 600'000)
            EXPECT_NEAR(noRecordColumns(), 480 * 50 / 60, 1) << "ten minutes in, 50 of the 60 are unknown";
    }
    // The first buffer of the last hour is still kept, and nothing of the
    // hour is drawn as unknown.
    const qint64 hourAgo = clock.now - 3'600'000;
    EXPECT_LE(history.KnownFrom(), hourAgo);
    qint64 seq = history.SeqAtOrAfter(hourAgo + 1);
    while (history.At(seq).isEvent())
        ++seq;
    EXPECT_LE(history.At(seq).time, hourAgo + 50);
    EXPECT_EQ(noRecordColumns(), 0);
}

TEST_F(LevelHistoryGraphTest, TimerRunsOnlyWhileShownAndNotPaused)
{
    EXPECT_FALSE(a.RepaintTimer().isActive());
    a.show();
    EXPECT_TRUE(a.RepaintTimer().isActive());

    // Paused, the picture stays where it was while the records go on.
    a.SetPaused(true);
    EXPECT_FALSE(a.RepaintTimer().isActive());
    const qint64 end = a.ViewEnd();
    clock.now += 120'000;
    history.Append(LevelEvent::Peak, 5000, 20000);
    EXPECT_EQ(a.ViewEnd(), end);
    a.SetPaused(false);
    EXPECT_TRUE(a.RepaintTimer().isActive());
    EXPECT_EQ(a.ViewEnd(), clock.now);
    a.hide();
    EXPECT_FALSE(a.RepaintTimer().isActive());
}

} // namespace
