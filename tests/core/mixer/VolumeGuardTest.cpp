// The volume guard over the simulated board, its recording MAIN made like a
// sound server's default input: what it writes back (every channel, above
// 100 % too), what it leaves alone (another input, a channel nobody moved),
// how it tells its own writes from another program's on a device that rounds
// them, and the limits that keep it from fighting or storming.
#include "core/mixer/VolumeGuard.h"
#include "platform/sim/SimTopology.h"
#include "support/ServerInputBoard.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace nuvask;
using namespace nuvask::test;

namespace {

// DemoDevice: speakers' Wave has volume 3 (40960) and mute 4; recording's
// Microphone line has volume 12.
constexpr int Speakers = 0, Recording = 1;
constexpr quint32 WaveVolume = 3, WaveMute = 4, MicVolume = 12;
constexpr int Strip = VolumeGuard::GuardedStrip;
using Level = QList<quint32>;
const Level Start{32768, 32768};

class VolumeGuardTest : public ::testing::Test {
protected:
    ServerInputBoard board{QList<SimDevice>{sim::DemoDevice()}};
    FakeHost host;
    MixerLayer layer{board, host};
    FakeStripView views[3];
    VolumeGuard guard{layer};
    qint64 now = 1000; // ms of the guard's clock

    void SetUp() override
    {
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
    // Another program sets the line's channels and the notification arrives;
    // returns the writes the program made in answer.
    int outside(const Level &level)
    {
        const int before = board.writes;
        board.outside(level);
        deliver();
        return board.writes - before;
    }
    int outside(quint32 controlId, quint32 value)
    {
        const int before = board.writes;
        board.changeExternally(0, controlId, {value});
        deliver();
        return board.writes - before;
    }
    // The user holds up/down for `ms`: a step every 100 ms.
    void holdUpDown(int from, int ms)
    {
        for (int t = 0; t < ms; t += 100, now += 100) {
            layer.StripSetVolume(Strip, from + t / 100, 0);
            deliver();
        }
    }
};

TEST_F(VolumeGuardTest, WritesBackEveryChannelOnceAboveFullTooAndNeverAChannelNobodyMoved)
{
    QSignalSpy restores(&guard, &VolumeGuard::restored);
    guard.SetOn(true);
    EXPECT_EQ(guard.GuardedLevel(), Start); // the line's volume when switched on

    // Up, beyond 100 % (which the strip's control cannot show) and down:
    // each written back once, and the restore's own echo is quiet. The strip
    // is drawn as written back, never with the value answered.
    views[Strip].stepsShown.clear();
    EXPECT_EQ(outside({60000, 60000}), 1);
    EXPECT_EQ(outside({98304, 98304}), 1); // 150 %
    EXPECT_EQ(outside({1000, 1000}), 1);
    EXPECT_EQ(board.channels, Start);
    EXPECT_EQ(views[Strip].steps, 128);
    EXPECT_EQ(views[Strip].stepsShown, QList<int>(views[Strip].stepsShown.size(), 128));
    ASSERT_EQ(restores.size(), 3);
    EXPECT_EQ(restores.at(1).at(1).toUInt(), 98304u); // the real before: 384 steps
    EXPECT_EQ(restores.at(1).at(2).toUInt(), 32768u);

    // One channel, louder or quieter than the other: that channel is put
    // back and the other is never written a value it did not have.
    board.written.clear();
    EXPECT_EQ(outside({32768, 50000}), 1);
    EXPECT_EQ(outside({32768, 9000}), 1);
    EXPECT_EQ(board.channels, Start);
    for (const Level &w : std::as_const(board.written))
        EXPECT_EQ(w.at(0), 32768u);

    // A line seen above full shows its real steps on a full bar.
    guard.SetOn(false);
    outside({98304, 65535});
    EXPECT_EQ(views[Strip].steps, 384);
    EXPECT_EQ(views[Strip].black, 0);
}

TEST_F(VolumeGuardTest, OwnWritesAreTheLevelAsADeviceThatRoundsKeepsThem)
{
    board.step = 3000; // a device with coarse steps, shown a moment after each write
    QSignalSpy told(&guard, &VolumeGuard::fightNoticed);
    guard.SetOn(true);
    layer.StripSetVolume(Strip, 100, 0); // 25600 units, kept as 27000
    deliver();
    now += 10000;
    QTest::qWait(20);
    EXPECT_EQ(board.channels, Level({27000, 27000}));
    EXPECT_EQ(guard.GuardedLevel(), board.channels);

    // The user holds up/down for 8 s, and an automatic lowering comes.
    holdUpDown(100, 8000);
    layer.StripAutoLower(Strip);
    deliver();
    now += 10000;
    QTest::qWait(20);
    EXPECT_EQ(guard.Restores(), 0);
    EXPECT_EQ(told.size(), 0);
    EXPECT_EQ(guard.GuardedLevel(), board.channels);

    // Another program's change, near the level but long after the write: put back.
    const Level kept = board.channels;
    EXPECT_EQ(outside({kept.at(0) + 3000, kept.at(1)}), 1);
    EXPECT_EQ(board.channels, kept);
}

TEST_F(VolumeGuardTest, AnotherInputBehindTheLineKeepsItsOwnLevelAndNothingIsWrittenToEither)
{
    QSignalSpy marks(&guard, &VolumeGuard::guardingChanged);
    guard.SetOn(true);
    EXPECT_TRUE(marks.at(0).at(0).toBool());
    layer.StripSetVolume(Strip, 200, 0);
    deliver();
    const int writes = board.writes;

    // Another default input (a headset plugged in, the desktop's settings):
    // its own level is taken, and it is the one guarded from then on.
    board.switchInput("headset", {20000, 24000});
    deliver();
    EXPECT_EQ(board.writes, writes);
    EXPECT_EQ(guard.GuardedLevel(), Level({20000, 24000}));
    EXPECT_EQ(outside({30000, 24000}), 1);
    EXPECT_EQ(board.channels, Level({20000, 24000}));

    // Back to the microphone, which another program set meanwhile: its level then.
    board.switchInput("mic", {40000, 40000});
    deliver();
    EXPECT_EQ(board.writes, writes + 1);
    EXPECT_EQ(guard.GuardedLevel(), Level({40000, 40000}));
    EXPECT_EQ(guard.Restores(), 1);

    // Another line chosen in the lists: its own volume.
    bind(Strip, Recording, 1); // Microphone, 32768
    EXPECT_EQ(guard.GuardedLevel(), Start);
    EXPECT_EQ(outside(MicVolume, 5000), 1);
    EXPECT_EQ(board.valuesOf(0, MicVolume).value(0), 32768u);

    // Unbound: nothing to guard, nothing written; the mark follows.
    layer.StripUnbind(Strip);
    EXPECT_FALSE(guard.Guarding());
    EXPECT_EQ(outside(MicVolume, 100), 0);
    EXPECT_FALSE(marks.last().at(0).toBool());
}

TEST_F(VolumeGuardTest, OffGuardsNothingAndMuteIsLeftAlone)
{
    EXPECT_EQ(outside({24000, 24000}), 0);
    EXPECT_EQ(board.channels, Level({24000, 24000}));

    // Switched on, the level is what the line has then, not what it had before.
    guard.SetOn(true);
    EXPECT_EQ(guard.GuardedLevel(), Level({24000, 24000}));
    EXPECT_EQ(outside({9000, 9000}), 1);
    EXPECT_EQ(board.channels, Level({24000, 24000}));
    guard.SetOn(false);
    EXPECT_EQ(outside({9000, 9000}), 0);

    // On a line with a mute: another program's mute stays, its volume does not.
    bind(Strip, Speakers, 1);
    guard.SetOn(true);
    EXPECT_EQ(outside(WaveMute, 1), 0);
    EXPECT_EQ(board.valuesOf(0, WaveMute).value(0), 1u);
    EXPECT_EQ(outside(WaveVolume, 0), 1);
    EXPECT_EQ(board.valuesOf(0, WaveVolume).value(0), 40960u);
}

TEST_F(VolumeGuardTest, AWriteThroughAnotherStripIsTheProgramsOwnOnlyOnTheGuardedInput)
{
    guard.SetOn(true);
    bind(1, Recording, 0);
    layer.StripSetVolume(1, 64, 0);
    deliver();
    EXPECT_EQ(board.channels, Level({16384, 16384}));
    EXPECT_EQ(guard.GuardedLevel(), board.channels);
    EXPECT_EQ(guard.Restores(), 0);

    // A write to another line while another program's change waits to be
    // heard does not make that change the program's own.
    board.outside({50000, 50000});
    layer.StripSetVolume(0, 10, 0);
    deliver();
    EXPECT_EQ(board.channels, Level({16384, 16384}));
    EXPECT_EQ(guard.Restores(), 1);
}

TEST_F(VolumeGuardTest, RestoresAreBoundedAndAHeldBackChangeIsAnsweredLater)
{
    guard.SetOn(true);
    // A program changing the line as fast as it can, all within one instant:
    // the bucket's burst answers the first ones, one change waits.
    int writes = 0;
    for (quint32 i = 0; i < 30; ++i)
        writes += outside({1000 + i, 1000 + i});
    EXPECT_EQ(writes, VolumeGuard::BurstRestores);
    EXPECT_EQ(board.channels, Level({1029, 1029}));

    // A token comes after 1/15 s: the change that waited is answered, once.
    now += 1000 / VolumeGuard::RestoresPerSecond + 1;
    EXPECT_TRUE(QTest::qWaitFor([&] { return board.channels == Start; }, 1000));
    EXPECT_EQ(guard.Restores(), VolumeGuard::BurstRestores + 1);
    QTest::qWait(100);
    EXPECT_EQ(guard.Restores(), VolumeGuard::BurstRestores + 1);

    // A steady 50 changes a second for a second: at most 20 restores in it.
    const int before = guard.Restores();
    now += 2000; // the bucket full again
    for (quint32 i = 0; i < 50; ++i) {
        outside({2000 + i, 2000 + i});
        now += 20;
    }
    EXPECT_LE(guard.Restores() - before, 20);
    EXPECT_GE(guard.Restores() - before, 15);
}

TEST_F(VolumeGuardTest, TellsOnceWhenAnotherProgramKeepsChangingTheLineWhileOn)
{
    QSignalSpy told(&guard, &VolumeGuard::fightNoticed);
    // Off, another program changes the line every 200 ms for 8 s: nothing
    // counts, and switched on afterwards the next change is no fight yet.
    for (quint32 i = 0; i < 40; ++i, now += 200)
        outside({1000 + i, 1000});
    guard.SetOn(true);
    outside({5000, 5000});
    now += 200;
    // Changes 4 s apart are no fight, however long they go on.
    for (quint32 i = 0; i < 8; ++i, now += 4000)
        outside({1000 + i, 1000});
    EXPECT_EQ(told.size(), 0);

    // Every 200 ms for 10 s: told once, past 5 s, that the board cannot say who.
    for (quint32 i = 0; i < 50; ++i, now += 200) {
        outside({60000 + i, 1000});
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
    for (quint32 i = 0; i < 30; ++i, now += 200)
        outside({1000 + i, 1000});
    EXPECT_EQ(told.size(), 2);
}

} // namespace
