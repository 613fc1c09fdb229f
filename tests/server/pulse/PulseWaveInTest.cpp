// Capture through the sound server's own record stream: a tone played into the
// private server's null sink is captured from the default source; sound that
// comes while no buffer is queued, resets and restarts, a server that goes away.
#include "tests/server/CaptureBuffers.h"
#include "tests/server/MixerAlsaSupport.h"

#include "platform/sound/DesktopWaveIn.h"
#include "platform/pulse/PulseConnection.h"

#include <QElapsedTimer>
#include <QSet>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>

using namespace nuvask;
using namespace nuvask::test;

namespace {

constexpr quint32 Buffer = CaptureBufferBytes;
// How far a captured tone's peak may stray from the tone's own: PipeWire
// resamples, and a block dropped under load rings up to about 8 % over.
constexpr int PeakSlack = 1700;

struct PulseDevice
{
    PulseConnection connection;
    PulseWaveIn device{connection};
};

// A connection, a capture service on it and five buffers, as the level
// monitor uses them.
struct Rig : PulseDevice, CaptureBuffers
{
    Rig() : CaptureBuffers(device) {}
    bool connect()
    {
        connection.start();
        connection.waitForFirstAnswer(3000);
        return connection.state() == PulseConnection::State::Ready;
    }
};

TEST(PulseWaveInTest, ToneIsCapturedBufferAfterBufferAndWhatCameMeanwhileIsKept)
{
    SKIP_WITHOUT_PULSE();
    Pactl({"set-sink-volume", "rec_sink", "100%"});
    TonePlayer tone;
    ASSERT_TRUE(tone.start("rec_sink", 16384, 8));
    Rig rig;
    ASSERT_TRUE(rig.connect());
    Pactl({"set-source-volume", rig.connection.server().defaultSource, "100%"});
    Pactl({"set-source-mute", rig.connection.server().defaultSource, "0"});
    ASSERT_EQ(rig.device.deviceCount(), 1u);
    ASSERT_EQ(rig.open(), WaveRc::NoError);
    EXPECT_TRUE(PulseWaveIn::ownsHandle(rig.handle));
    rig.queueAll();
    // Corked until started: nothing arrives before.
    Spin(300);
    const long idle = MainThreadWakeUps(1000);
    EXPECT_TRUE(rig.returned.isEmpty());

    const double cpu = ProcessCpuSeconds();
    ASSERT_EQ(rig.device.start(rig.handle), WaveRc::NoError);
    ASSERT_TRUE(WaitFor([&] { return rig.returned.size() >= 1; }, FirstBufferMs));
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(WaitFor([&] { return rig.returned.size() >= 21; }, 3000)) << rig.returned.size();
    EXPECT_GT(clock.elapsed(), 700) << "buffers come at the pace of the sound, not faster";
    EXPECT_LT(clock.elapsed(), 1600);
    EXPECT_LT(ProcessCpuSeconds() - cpu, 0.25);

    // The player's sink hands its sound over in blocks of about 5 ms (200 a
    // second); the program wakes for its buffers (20 a second here, with the
    // event loop's own wake-ups around each), not for each block.
    const qsizetype before = rig.returned.size();
    const long woke = MainThreadWakeUps(1000) - idle;
    std::printf("capturing woke the main thread %ld more times a second for %lld buffers\n", woke,
                static_cast<long long>(rig.returned.size() - before));
    EXPECT_GE(rig.returned.size() - before, 18);
    EXPECT_LT(woke, 50);
    // One by one, each about a buffer's length (50 ms) after the one before,
    // not several at once after a longer wait.
    QList<qint64> gaps;
    for (qsizetype i = before + 1; i < rig.times.size(); ++i)
        gaps.append(rig.times[i] - rig.times[i - 1]);
    std::sort(gaps.begin(), gaps.end());
    ASSERT_FALSE(gaps.isEmpty());
    EXPECT_GE(gaps[gaps.size() / 2], 25) << "median of the pauses between buffers, in ms";
    EXPECT_EQ(rig.returned[0], &rig.headers[0]);
    EXPECT_EQ(rig.returned[5], &rig.headers[0]) << "requeued buffers are filled in turn";
    for (qsizetype i = 0; i < rig.returned.size(); ++i)
        EXPECT_EQ(rig.bytes[i], Buffer);
    EXPECT_NEAR(rig.peaks.last(), 16384, PeakSlack);

    // Nothing queued for 300 ms: the sound of that time waits in the server
    // and fills the buffers as soon as they come.
    rig.requeue = false;
    ASSERT_TRUE(WaitFor(
        [&] {
            return std::none_of(rig.headers.begin(), rig.headers.end(),
                                [](const WaveHeader &h) { return h.flags & WaveHeaderFlag::InQueue; });
        },
        1000));
    Spin(300);
    rig.forget();
    rig.requeue = true;
    clock.restart();
    rig.queueAll();
    ASSERT_TRUE(WaitFor([&] { return rig.returned.size() >= 5; }, 1000));
    EXPECT_LT(clock.elapsed(), 150) << "the sound captured while no buffer was queued was lost";
    EXPECT_NEAR(rig.peaks.first(), 16384, PeakSlack);
}

TEST(PulseWaveInTest, ResetHandsBackEveryBufferAndARestartCapturesOnlyNewSound)
{
    SKIP_WITHOUT_PULSE();
    Pactl({"set-sink-volume", "rec_sink", "100%"});
    TonePlayer tone;
    ASSERT_TRUE(tone.start("rec_sink", 8000, 8));
    Rig rig;
    ASSERT_TRUE(rig.connect());
    ASSERT_EQ(rig.open(), WaveRc::NoError);
    rig.queueAll();
    ASSERT_EQ(rig.device.start(rig.handle), WaveRc::NoError);
    ASSERT_TRUE(WaitFor([&] { return rig.returned.size() >= 3; }, FirstBufferMs));

    for (int round = 0; round < 3; ++round) {
        rig.requeue = false;
        rig.forget();
        ASSERT_EQ(rig.device.reset(rig.handle), WaveRc::NoError);
        ASSERT_TRUE(WaitFor([&] { return rig.returned.size() == 5; }, 500)) << rig.returned.size();
        Spin(200);
        ASSERT_EQ(rig.returned.size(), 5) << "a reset stream went on capturing";
        EXPECT_EQ(QSet<WaveHeader *>(rig.returned.begin(), rig.returned.end()).size(), 5);
        for (int i = 1; i < 5; ++i) {
            if (rig.bytes[i - 1] < Buffer) {
                EXPECT_EQ(rig.bytes[i], 0u) << i;
            }
        }

        // Stopped for 400 ms: a restart must not hand over that old sound.
        rig.requeue = true;
        rig.forget();
        rig.queueAll();
        Spin(400);
        QElapsedTimer clock;
        clock.start();
        const double cpu = ProcessCpuSeconds();
        ASSERT_EQ(rig.device.start(rig.handle), WaveRc::NoError);
        ASSERT_TRUE(WaitFor([&] { return rig.returned.size() >= 6; }, FirstBufferMs)) << round;
        EXPECT_GT(clock.elapsed(), 200) << "a restart handed over sound from before it";
        EXPECT_LT(ProcessCpuSeconds() - cpu, 0.25) << round;
    }
}

TEST(PulseWaveInTest, ServerKilledWhileCapturingEndsTheCaptureAndANewServerIsUsedAgain)
{
    SKIP_WITHOUT_PULSE();
    OwnPulseAudio pulse;
    ASSERT_TRUE(pulse.startInUse());
    TonePlayer tone;
    ASSERT_TRUE(tone.start("own_sink", 12000, 10));
    Rig rig;
    ASSERT_TRUE(rig.connect());
    ASSERT_EQ(rig.open(), WaveRc::NoError);
    rig.queueAll();
    ASSERT_EQ(rig.device.start(rig.handle), WaveRc::NoError);
    ASSERT_TRUE(WaitFor([&] { return rig.returned.size() >= 2; }, FirstBufferMs));

    rig.requeue = false;
    rig.forget();
    pulse.kill();
    tone.stop();
    ASSERT_TRUE(WaitFor([&] { return !rig.device.isAlive(rig.handle); }, 3000));
    ASSERT_TRUE(WaitFor([&] { return rig.returned.size() == 5; }, 1000)) << rig.returned.size();
    const double cpu = ProcessCpuSeconds();
    Spin(1500);
    EXPECT_LT(ProcessCpuSeconds() - cpu, 0.15) << "the event loop spins on a dead stream";
    EXPECT_EQ(rig.device.addBuffer(rig.handle, &rig.headers[0]), WaveRc::NoDriver);
    EXPECT_EQ(rig.device.start(rig.handle), WaveRc::NoDriver);
    EXPECT_EQ(rig.device.deviceCount(), 0u);
    WaveInHandle again = NoWaveInHandle;
    EXPECT_EQ(rig.device.open(0, WaveFormat{}, {}, again), WaveRc::NoDriver);
    for (WaveHeader &header : rig.headers)
        EXPECT_EQ(rig.device.unprepareHeader(rig.handle, &header), WaveRc::NoError);
    EXPECT_EQ(rig.device.close(rig.handle), WaveRc::NoError);
    rig.handle = NoWaveInHandle;

    // The server back: the connection finds it by itself, and a new open captures.
    ASSERT_TRUE(pulse.start());
    ASSERT_TRUE(tone.start("own_sink", 12000, 10));
    ASSERT_TRUE(WaitFor([&] { return rig.connection.state() == PulseConnection::State::Ready; }, 15000));
    rig.requeue = true;
    rig.forget();
    ASSERT_EQ(rig.open(), WaveRc::NoError);
    rig.queueAll();
    ASSERT_EQ(rig.device.start(rig.handle), WaveRc::NoError);
    ASSERT_TRUE(WaitFor([&] { return rig.returned.size() >= 3; }, FirstBufferMs));
    EXPECT_NEAR(rig.peaks.last(), 12000, 600);
}

TEST(PulseWaveInTest, FormatsTheServerCannotTakeAreRefusedAndWithoutServerAlsaIsAskedInstead)
{
    SKIP_WITHOUT_PULSE();
    Rig rig;
    ASSERT_TRUE(rig.connect());
    WaveInHandle handle = NoWaveInHandle;
    for (const WaveFormat &bad : {WaveFormat{3, 2, 44100, 352800, 8, 32}, WaveFormat{1, 2, 44100, 176400, 4, 24},
                                  WaveFormat{1, 6, 44100, 529200, 12, 16}, WaveFormat{1, 2, 0, 0, 4, 16},
                                  WaveFormat{1, 2, 44100, 176400, 3, 16}})
        EXPECT_EQ(rig.device.open(0, bad, {}, handle), WaveRc::BadFormat);
    EXPECT_EQ(rig.device.open(1, WaveFormat{}, {}, handle), WaveRc::BadDeviceId);
    // 8-bit mono is a format the monitor may ask for.
    EXPECT_EQ(rig.device.open(0, WaveFormat{1, 1, 22050, 22050, 1, 8}, {}, handle), WaveRc::NoError);
    EXPECT_EQ(rig.device.close(handle), WaveRc::NoError);
    EXPECT_EQ(rig.device.close(handle), WaveRc::InvalidHandle);

    // On a desktop the server's own stream is used while it answers.
    DesktopWaveIn desktop(rig.connection);
    ASSERT_EQ(desktop.open(0, WaveFormat{}, {}, handle), WaveRc::NoError);
    EXPECT_TRUE(PulseWaveIn::ownsHandle(handle));
    EXPECT_EQ(desktop.close(handle), WaveRc::NoError);

    // No server: ALSA's "default" (the pulse plugin, failing as well) is asked.
    ScopedEnv gone("PULSE_SERVER", "unix:/nonexistent/nuvask-no-server");
    PulseConnection none;
    none.start();
    none.waitForFirstAnswer(3000);
    ASSERT_NE(none.state(), PulseConnection::State::Ready);
    DesktopWaveIn bare(none);
    EXPECT_EQ(bare.deviceCount(), 0u);
    EXPECT_NE(bare.open(0, WaveFormat{}, {}, handle), WaveRc::NoError);
}

} // namespace
