// The volume guard over the simulated board: what it writes back, what it
// leaves alone, how it tells its own writes from another program's (also on a
// device that says a moment later that it kept them rounded), and the limits
// that keep it from fighting or storming.
#include "core/mixer/VolumeGuard.h"
#include "platform/sim/SimTopology.h"
#include "support/MixerFakes.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace nuvask;
using namespace nuvask::test;

namespace {

// DemoDevice: recording MAIN has volume 9; speakers' Wave has volume 3
// (40960) and mute 4.
constexpr int Speakers = 0, Recording = 1;
constexpr quint32 RecVolume = 9, WaveVolume = 3, WaveMute = 4;
constexpr int Strip = VolumeGuard::GuardedStrip;
constexpr quint32 Step = 2114;        // mixer units of one step of the recording volume
constexpr quint32 Start = 16 * Step;  // the recording volume at start

// A card with 32 steps on the recording volume, as ALSA cards have: a write
// lands on the nearest step, so what the line holds is not what was asked.
// `late`: it holds what was asked first and says a moment later that it
// keeps its step, as a device behind a sound server may.
struct SteppedBoard : HookedBoard {
    using HookedBoard::HookedBoard;
    bool late = false;
    static quint32 step(quint32 units) { return (units + Step / 2) / Step * Step; }
    quint32 setControlValues(MixerHandle h, const MixerControlDetails &d, const QList<quint32> &v) override
    {
        QList<quint32> stepped = v;
        if (d.controlId == RecVolume && !stepped.isEmpty() && late)
            QTimer::singleShot(0, this, [this] { changeExternally(0, RecVolume, {step(valuesOf(0, RecVolume)[0])}); });
        else if (d.controlId == RecVolume && !stepped.isEmpty())
            stepped[0] = step(stepped[0]);
        return HookedBoard::setControlValues(h, d, stepped);
    }
};
// Every channel of the line at one level, as the guard keeps it.
QList<quint32> Level(quint32 units)
{
    return {units, units};
}

class VolumeGuardTest : public ::testing::Test {
protected:
    SteppedBoard board{QList<SimDevice>{sim::DemoDevice()}};
    FakeHost host;
    MixerLayer layer{board, host};
    FakeStripView views[3];
    VolumeGuard guard{layer};
    qint64 now = 1000; // ms of the guard's clock

    void SetUp() override
    {
        board.devices()[0].destinations[Recording].line.controls[0].values = {Start};
        ASSERT_EQ(connectAndOpen(layer, host, views), QString());
        guard.SetClock([this] { return now; });
        bind(Strip, Recording, 0);
    }
    void bind(int strip, int destination, int source)
    {
        ASSERT_EQ(bindStrip(layer, views, strip, destination, source), QString());
    }
    static void deliver()
    {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    }
    // Another program sets the control and the notification arrives; returns
    // the writes the program made in answer.
    int outside(quint32 controlId, quint32 value)
    {
        const int before = board.writes;
        board.changeExternally(0, controlId, {value});
        deliver();
        return board.writes - before;
    }
    quint32 held(quint32 controlId = RecVolume) const { return board.valuesOf(0, controlId).value(0); }
};

TEST_F(VolumeGuardTest, WritesBackEachOutsideChangeOnceAndNeverAnswersItsOwnWrites)
{
    QSignalSpy restores(&guard, &VolumeGuard::restored);
    guard.SetOn(true);
    EXPECT_EQ(guard.GuardedLevel(), Level(Start)); // the line's volume when switched on

    // Up and down: each written back once, and the restore's own echo is
    // quiet. The strip is drawn as written back, never with the value answered.
    views[Strip].stepsShown.clear();
    EXPECT_EQ(outside(RecVolume, 30 * Step), 1);
    EXPECT_EQ(held(), Start);
    EXPECT_EQ(views[Strip].steps, 132);
    EXPECT_FALSE(views[Strip].stepsShown.contains(248)) << "the answered value was drawn";
    EXPECT_EQ(outside(RecVolume, Step), 1);
    EXPECT_EQ(held(), Start);
    ASSERT_EQ(restores.size(), 2);
    EXPECT_EQ(restores.at(1).at(1).toUInt(), Step);
    EXPECT_EQ(restores.at(1).at(2).toUInt(), Start);

    // The program's own writes become the guarded level, on a stepped line as
    // the line holds them. Notifications coalesce: three clicks, then the
    // notifications, and nothing is written back.
    const int writes = board.writes;
    layer.StripSetVolume(Strip, 100, 0);
    layer.StripSetVolume(Strip, 108, 0);
    layer.StripAutoLower(Strip); // reads the up/down position, still 132: sets 124
    deliver();
    EXPECT_EQ(board.writes, writes + 3);
    EXPECT_EQ(held(), SteppedBoard::step(124 * 256));
    EXPECT_EQ(guard.GuardedLevel(), Level(SteppedBoard::step(124 * 256)));

    // An outside change to the level already held writes nothing.
    EXPECT_EQ(outside(RecVolume, SteppedBoard::step(124 * 256)), 0);
    EXPECT_EQ(guard.Restores(), 2);
}

TEST_F(VolumeGuardTest, OffGuardsNothingAndMuteIsLeftAlone)
{
    EXPECT_EQ(outside(RecVolume, 24 * Step), 0);
    EXPECT_EQ(held(), 24 * Step);

    // Switched on, the level is what the line has then, not what it had before.
    guard.SetOn(true);
    EXPECT_EQ(guard.GuardedLevel(), Level(24 * Step));
    EXPECT_EQ(outside(RecVolume, 9 * Step), 1);
    EXPECT_EQ(held(), 24 * Step);
    guard.SetOn(false);
    EXPECT_EQ(outside(RecVolume, 9 * Step), 0);
    EXPECT_EQ(held(), 9 * Step);

    // On a line with a mute: another program's mute stays, its volume does not.
    bind(Strip, Speakers, 1);
    guard.SetOn(true);
    EXPECT_EQ(outside(WaveMute, 1), 0);
    EXPECT_EQ(held(WaveMute), 1u);
    EXPECT_EQ(outside(WaveVolume, 0), 1);
    EXPECT_EQ(held(WaveVolume), 40960u);
}

TEST_F(VolumeGuardTest, BindingTakesTheNewLinesVolumeAndAnUnboundStripGuardsNothing)
{
    QSignalSpy marks(&guard, &VolumeGuard::guardingChanged);
    guard.SetOn(true);
    EXPECT_TRUE(marks.at(0).at(0).toBool());
    layer.StripSetVolume(Strip, 200, 0);
    deliver();

    // Another line: its own volume, not the level the old line was kept at.
    bind(Strip, Recording, 1); // Microphone, 32768
    EXPECT_EQ(guard.GuardedLevel(), Level(32768));
    EXPECT_EQ(outside(12, 5000), 1);
    EXPECT_EQ(board.valuesOf(0, 12).value(0), 32768u);

    // The devices listed again (a sound server back): the level is the line's
    // at the new binding, also when another program moved it meanwhile.
    board.changeExternally(0, RecVolume, {19 * Step});
    layer.MixerCloseAll();
    EXPECT_FALSE(guard.Guarding());
    QString error;
    layer.MixerOpenAll(error);
    ASSERT_EQ(error, QString());
    bind(Strip, Recording, 0);
    deliver();
    EXPECT_TRUE(guard.Guarding());
    EXPECT_EQ(guard.GuardedLevel(), Level(19 * Step));

    // Unbound: nothing to guard, nothing written; the mark follows.
    layer.StripUnbind(Strip);
    EXPECT_FALSE(guard.Guarding());
    EXPECT_EQ(outside(RecVolume, 100), 0);
    ASSERT_GE(marks.size(), 3);
    EXPECT_FALSE(marks.last().at(0).toBool());
}

TEST_F(VolumeGuardTest, AWriteThroughAnotherStripOnTheSameLineIsTheProgramsOwn)
{
    guard.SetOn(true);
    bind(1, Recording, 0);
    layer.StripSetVolume(1, 64, 0);
    deliver();
    EXPECT_EQ(held(), SteppedBoard::step(64 * 256));
    EXPECT_EQ(guard.GuardedLevel(), Level(SteppedBoard::step(64 * 256)));
    EXPECT_EQ(guard.Restores(), 0);

    // A write to another line does not make another program's change, not
    // heard yet, the program's own.
    board.changeExternally(0, RecVolume, {50000});
    layer.StripSetVolume(0, 16, 0);
    deliver();
    EXPECT_EQ(held(), SteppedBoard::step(64 * 256));
    EXPECT_EQ(guard.Restores(), 1);
}

TEST_F(VolumeGuardTest, OwnWritesADeviceShowsRoundedAMomentLaterCostNoRestoreAndNoNotice)
{
    board.late = true;
    QSignalSpy told(&guard, &VolumeGuard::fightNoticed);
    guard.SetOn(true);
    // One write and ten seconds; then the user holds up/down for 8 s.
    layer.StripSetVolume(Strip, 100, 0);
    deliver();
    now += 10000;
    for (int i = 1; i <= 80; ++i, now += 100) {
        layer.StripSetVolume(Strip, 100 + i, 0);
        deliver();
    }
    QTest::qWait(20);
    EXPECT_EQ(guard.Restores(), 0);
    EXPECT_EQ(told.size(), 0);
    EXPECT_EQ(held(), SteppedBoard::step(180 * 256));
    EXPECT_EQ(guard.GuardedLevel(), Level(held()));

    // The same small change by another program long after a write is put back.
    now += 2000;
    EXPECT_EQ(outside(RecVolume, held() + Step), 1);
    EXPECT_EQ(held(), SteppedBoard::step(180 * 256));
}

TEST_F(VolumeGuardTest, RestoresAreBoundedAndAHeldBackChangeIsAnsweredLater)
{
    guard.SetOn(true);
    // A program changing the line as fast as it can, all within one instant:
    // the bucket's burst answers the first ones, one change waits.
    int writes = 0;
    for (int i = 0; i < 30; ++i)
        writes += outside(RecVolume, 1000 + quint32(i));
    EXPECT_EQ(writes, VolumeGuard::BurstRestores);
    EXPECT_EQ(held(), 1029u);

    // A token comes after 1/15 s: the change that waited is answered, once.
    now += 1000 / VolumeGuard::RestoresPerSecond + 1;
    EXPECT_TRUE(QTest::qWaitFor([&] { return held() == Start; }, 1000));
    EXPECT_EQ(guard.Restores(), VolumeGuard::BurstRestores + 1);
    QTest::qWait(100);
    EXPECT_EQ(guard.Restores(), VolumeGuard::BurstRestores + 1);

    // A steady 50 changes a second for a second: at most 20 restores in it.
    const int before = guard.Restores();
    now += 2000; // the bucket full again
    for (int i = 0; i < 50; ++i) {
        outside(RecVolume, 2000 + quint32(i));
        now += 20;
    }
    EXPECT_LE(guard.Restores() - before, 20);
    EXPECT_GE(guard.Restores() - before, 15);
}

TEST_F(VolumeGuardTest, TellsOnceWhenAnotherProgramKeepsChangingTheLine)
{
    QSignalSpy told(&guard, &VolumeGuard::fightNoticed);
    // Off, another program changes the line every 200 ms for 8 s: nothing
    // counts, and switched on then, the next change is no fight yet.
    for (int i = 0; i < 40; ++i, now += 200)
        outside(RecVolume, 1000 + quint32(i));
    guard.SetOn(true);
    outside(RecVolume, 5000);
    now += 200;
    // Changes 4 s apart are no fight, however long they go on.
    for (int i = 0; i < 8; ++i) {
        outside(RecVolume, 1000 + quint32(i));
        now += 4000;
    }
    EXPECT_EQ(told.size(), 0);

    // Every 200 ms for 10 s: told once, past 5 s, that the board cannot say who.
    for (int i = 0; i < 50; ++i) {
        outside(RecVolume, 60000 + quint32(i));
        now += 200;
        if (i == 25) {
            EXPECT_EQ(told.size(), 0);
        }
    }
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told.at(0).at(0).toStringList().isEmpty());
    EXPECT_EQ(told.at(0).at(1).value<RecordingClientsState>(), RecordingClientsState::CannotTell);

    // Switched off and on again, a new fight is told again.
    guard.SetOn(false);
    guard.SetOn(true);
    for (int i = 0; i < 30; ++i) {
        outside(RecVolume, 1000 + quint32(i));
        now += 200;
    }
    EXPECT_EQ(told.size(), 2);
}

} // namespace
