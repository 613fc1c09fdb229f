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
    const QList<LevelRecord> expected{
        rec(t0, E::MonitorOn, 0, Cut),
        rec(t0 + 50, E::Peak, Quiet, Cut),
        rec(t0 + 100, E::Peak, Quiet, Cut),
        rec(t0 + 150, E::Peak, 32768, Cut),
        rec(t0 + 150, E::AutoLower, 0, Cut, 200, 192),
        rec(t0 + 200, E::Peak, Loud, Cut),
        rec(t0 + 200, E::AutoLower, 0, Cut, 192, 184),
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
    // The anchor the export used is not kept; the file's own first time and
    // the first record's pin it down.
    const QString firstTime = QString::fromUtf8(bytes).section(QStringLiteral("\r\n"), 1, 1).section(',', 0, 0);
    const LevelTimeAnchor anchor = LevelTimeAnchor::At(QDateTime::fromString(firstTime, LevelCsv::TimeFormat), t0);
    EXPECT_EQ(ReadLevelCsv(bytes, anchor), expected);
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
    const qint64 tickMs = 120; // the timer at this span and width
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
        if (clock.now % tickMs == 0) {
            const qint64 painted = a.ColumnsPainted();
            a.Refresh();
            // New columns, and those a buffer's sound can reach back into.
            const qint64 bound = tickMs / msPerColumn + 1 + LevelHistoryGraph::MaxBufferSpanMs / msPerColumn + 2;
            ASSERT_LE(a.ColumnsPainted() - painted, bound) << "step " << step;
        }
    }
    a.Refresh();
    b.Refresh();
    ASSERT_EQ(a.PlotImage().size(), b.PlotImage().size());
    EXPECT_TRUE(a.PlotImage() == b.PlotImage()) << "the scrolled picture went wrong somewhere";

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

TEST_F(LevelHistoryGraphTest, TimerRunsOnlyWhileShownAndNotPausedAtMostTenTimesASecond)
{
    EXPECT_FALSE(a.RepaintTimer().isActive());
    a.show();
    EXPECT_TRUE(a.RepaintTimer().isActive());
    EXPECT_GE(a.RepaintTimer().interval(), LevelHistoryGraph::MinTickMs);
    a.SetSpanMinutes(60);
    EXPECT_EQ(a.RepaintTimer().interval(), LevelHistoryGraph::MaxTickMs) << "a column is 7 s: once a second";

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
