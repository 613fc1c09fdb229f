// The strips' peak meters as a whole on real strips over the simulated board:
// when Timer_PK runs, what the two menu switches and "P" do to the columns
// and the "A" marks, and that the mixer-meter lowering follows the marks.
#include "support/VolumeStripHarness.h"

#include "platform/sim/SimTopology.h"
#include "ui/widgets/ColourButton.h"
#include "ui/widgets/ColourLabel.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

using namespace nuvask;
using namespace nuvask::test;

namespace {

constexpr int Recording = 1; // destination of sim::DemoDevice with volume 9, meter 10, multiplexer 11
constexpr quint32 RecVolume = 9, RecMeter = 10;

class StripMetersTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        w.host.meters = &meters;
        meters.ApplySettings(true, true);
        ASSERT_EQ(w.open(), QString());
    }
    // The meters go before the window, whose closing still reports to its host.
    void TearDown() override { w.host.meters = nullptr; }
    // Strips 1 and 2 on the recording destination: both have the meter and
    // the multiplexer, so both can take part.
    void bindBoth()
    {
        ASSERT_EQ(w.bind(1, 0, Recording, 0), QString());
        ASSERT_EQ(w.bind(2, 0, Recording, 0), QString());
    }
    bool mark(int strip) const { return !w.child<QLabel>(strip, "Label_AUTO_")->isHidden(); }
    int cover(int strip) const { return w.child<ColourLabel>(strip, "Label_PM1_")->height(); }
    QString hold(int strip) const { return w.child<ColourButton>(strip, "B_PK")->Caption(); }
    void setMeter(qint32 level)
    {
        for (SimControl &c : board.devices()[0].destinations[Recording].line.controls) {
            if (c.control.controlId == RecMeter)
                c.values = {quint32(level)};
        }
    }

    SimMixerBoard board{QList<SimDevice>{sim::DemoDevice()}};
    StripTestWindow w{board};
    StripMeters meters{w.layer, w.host};
};

TEST_F(StripMetersTest, TimerRunsOnlyWhileSwitchedOnWithAMeterPresentAndNeverAtIntervalZero)
{
    const QTimer &timer = meters.Timer_PK();
    EXPECT_FALSE(timer.isActive()); // no meter yet
    bindBoth();
    EXPECT_TRUE(timer.isActive());
    EXPECT_EQ(timer.interval(), 100);

    meters.MO_Meter_ONClick(false);
    EXPECT_FALSE(timer.isActive());
    EXPECT_EQ(timer.interval(), 100);
    meters.MO_Meter_ONClick(true);
    EXPECT_TRUE(timer.isActive());

    // "P" on both strips: nothing left to poll.
    w.child<ColourButton>(1, "Btn_Peek")->Click();
    EXPECT_TRUE(timer.isActive());
    w.child<ColourButton>(2, "Btn_Peek")->Click();
    EXPECT_FALSE(timer.isActive());
    w.child<ColourButton>(2, "Btn_Peek")->Click();
    EXPECT_TRUE(timer.isActive());

    meters.Shutdown();
    EXPECT_FALSE(timer.isActive());
    meters.MO_Meter_ONClick(true);
    EXPECT_FALSE(timer.isActive());
}

TEST_F(StripMetersTest, MeterSwitchBlanksEveryColumnFreezesHoldsAndTakesTheMarksAlong)
{
    bindBoth();
    EXPECT_TRUE(mark(1));
    EXPECT_TRUE(mark(2));
    EXPECT_FALSE(mark(0));
    setMeter(32767);
    meters.Timer_PKTimer();
    EXPECT_EQ(cover(1), 0);
    EXPECT_EQ(cover(2), 0);

    meters.MO_Meter_ONClick(false);
    EXPECT_EQ(cover(1), 96);
    EXPECT_EQ(cover(2), 96);
    EXPECT_FALSE(mark(1));
    EXPECT_FALSE(mark(2));
    const QString held = hold(2);

    meters.MO_Meter_ONClick(true);
    EXPECT_TRUE(mark(1));
    EXPECT_TRUE(mark(2));
    EXPECT_EQ(hold(2), held);
}

TEST_F(StripMetersTest, AutoSwitchAndPeekButtonDecideWhichStripsAreLowered)
{
    bindBoth();
    w.layer.SetCutLevel(16384); // threshold 16384 on this meter
    ASSERT_TRUE(w.layer.StripSetVolume(2, 100, 0));
    Deliver();

    // Strip 2's meter switched off: its "A" goes, and so does its lowering.
    w.child<ColourButton>(2, "Btn_Peek")->Click();
    EXPECT_FALSE(mark(2));
    EXPECT_TRUE(mark(1));
    EXPECT_EQ(cover(2), 96);
    w.child<ColourButton>(2, "Btn_Peek")->Click();
    EXPECT_TRUE(mark(2));
    EXPECT_EQ(hold(2), "0");

    // One unit above the threshold lowers by 8 steps (strips 1 and 2 share
    // the control and both still show 100 when they read).
    setMeter(16385);
    meters.Timer_PKTimer();
    Deliver();
    EXPECT_EQ(board.valuesOf(0, RecVolume).value(0), 92u * 256);

    // Unchecking the switch hides every "A" at once and nothing is lowered.
    ASSERT_TRUE(w.layer.StripSetVolume(2, 100, 0));
    Deliver();
    meters.MO_Auto_RecVClick(false);
    for (int n = 0; n < 3; ++n)
        EXPECT_FALSE(mark(n)) << n;
    meters.Timer_PKTimer();
    Deliver();
    EXPECT_EQ(board.valuesOf(0, RecVolume).value(0), 25600u);
    EXPECT_EQ(hold(2), "16385");

    meters.MO_Auto_RecVClick(true);
    EXPECT_TRUE(mark(1));
    EXPECT_TRUE(mark(2));
}

TEST_F(StripMetersTest, UnseenMetersRestUnlessAnAutoMarkNeedsTheirReadings)
{
    const QTimer &timer = meters.Timer_PK();
    bindBoth(); // both strips show their "A"
    meters.SetSeen(false);
    EXPECT_TRUE(timer.isActive()); // the lowering still reads

    meters.MO_Auto_RecVClick(false);
    EXPECT_FALSE(timer.isActive());
    // "P" and the menu switch keep their own say while unseen.
    w.child<ColourButton>(2, "Btn_Peek")->Click();
    w.child<ColourButton>(2, "Btn_Peek")->Click();
    meters.MO_Meter_ONClick(true);
    EXPECT_FALSE(timer.isActive());

    meters.SetSeen(true);
    EXPECT_TRUE(timer.isActive());
    EXPECT_EQ(timer.interval(), 100);
    meters.SetSeen(false);
    meters.MO_Auto_RecVClick(true); // armed again: read although unseen
    EXPECT_TRUE(timer.isActive());
    meters.MO_Meter_ONClick(false);
    EXPECT_FALSE(timer.isActive());
}

// Another wake-up every 50 ms (a capture): the ticks come with it, at the
// usual pace, and the timer hardly ever wakes the program on its own. The
// bounds follow from the riding rule and the captures' real gaps, not from
// the wall clock, so that a loaded machine that delays a capture does not
// fail the test: a tick rides a capture once the next tick is due within
// RideEarlyMs, and the timer then waits RideLateMs longer than usual.
TEST_F(StripMetersTest, TicksRideOtherWakeUpsAtTheirOwnPace)
{
    struct CountingView : StripMetersView {
        StripMetersView &inner;
        int covers = 0;
        explicit CountingView(StripMetersView &v) : inner(v) {}
        void SetAutoMark(int strip, bool visible) override { inner.SetAutoMark(strip, visible); }
        void SetPeakCover(int strip, int height) override
        {
            ++covers;
            inner.SetPeakCover(strip, height);
        }
        int MeterFullHeight(int strip) const override { return inner.MeterFullHeight(strip); }
    } view{w.host};
    bindBoth();
    meters.MO_Meter_ONClick(false); // the fixture's own meters keep still
    StripMeters riding(w.layer, view);
    riding.ApplySettings(true, false);
    riding.SetPeakTimerRunning(true);
    int own = 0;
    QObject::connect(&const_cast<QTimer &>(riding.Timer_PK()), &QTimer::timeout, [&] { ++own; });

    // A capture arriving this late after the one before may find the timer
    // already fired, or may ride although the one before rode too.
    constexpr qint64 LateGapMs = StripMeters::PollIntervalMs / 2 + StripMeters::RideLateMs;
    QElapsedTimer clock;
    clock.start();
    int captures = 0;
    int lateGaps = 0;
    qint64 last = -1;
    QTimer capture;
    capture.setTimerType(Qt::PreciseTimer);
    capture.setInterval(50);
    QObject::connect(&capture, &QTimer::timeout, &riding, [&] {
        const qint64 now = clock.elapsed();
        if (last >= 0 && now - last >= LateGapMs)
            ++lateGaps;
        last = now;
        ++captures;
        riding.TickAlong();
    });
    QTimer::singleShot(30, &capture, qOverload<>(&QTimer::start)); // out of step with the meters at first
    QTest::qWait(1030);
    capture.stop();
    const int ticks = view.covers / 2; // strips 1 and 2 read on every tick
    const int rides = ticks - own;
    ASSERT_GE(captures, 6) << "the event loop hardly ran";
    EXPECT_LE(own, 3 + lateGaps) << "ticks that woke the program on their own, of " << ticks;
    // At most one ride in two captures, unless a capture came late.
    EXPECT_LE(rides, captures / 2 + lateGaps + 1) << captures << " captures, " << lateGaps << " late";
    // A tick is never more than three captures away from the one before.
    EXPECT_GE(ticks, captures / 3 - 1) << captures << " captures";
    // On a machine that kept time, the pace is the timer's own: one in two.
    if (lateGaps == 0) {
        EXPECT_GE(rides, captures / 2 - 2) << captures << " captures";
    }

    // Alone again: the timer keeps the plain 100 ms.
    own = 0;
    QTest::qWait(350);
    EXPECT_GE(own, 2);
    EXPECT_EQ(riding.Timer_PK().interval(), 100);
}

} // namespace
