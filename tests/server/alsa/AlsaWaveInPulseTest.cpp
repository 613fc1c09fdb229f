// ALSA capture on "default" through the pulse plugin: a tone played into the
// private server's null sink is captured from its monitor; resets, restarts and
// a server that goes away.
#include "tests/server/CaptureBuffers.h"
#include "tests/server/MixerAlsaSupport.h"

#include "platform/alsa/AlsaWaveIn.h"

#include <QElapsedTimer>
#include <QSet>
#include <gtest/gtest.h>

#include <array>

using namespace nuvask;
using namespace nuvask::test;

namespace {

constexpr quint32 Buffer = CaptureBufferBytes;

struct AlsaDevice
{
    AlsaWaveIn device;
};

class AlsaWaveInPulseTest : public ::testing::Test, protected AlsaDevice, protected CaptureBuffers
{
protected:
    AlsaWaveInPulseTest() : CaptureBuffers(device) {}
};

TEST_F(AlsaWaveInPulseTest, ToneIntoTheSinkIsCapturedWithItsPeakBufferAfterBuffer)
{
    SKIP_WITHOUT_PULSE();
    Pactl({"set-sink-volume", "rec_sink", "100%"});
    Pactl({"set-source-volume", "rec_sink.monitor", "100%"});
    Pactl({"set-source-mute", "rec_sink.monitor", "0"});
    TonePlayer tone;
    ASSERT_TRUE(tone.start("rec_sink", 16384, 6));
    ASSERT_EQ(device.deviceCount(), 1u);
    ASSERT_EQ(open(), WaveRc::NoError);
    queueAll();
    const double cpu = ProcessCpuSeconds();
    ASSERT_EQ(device.start(handle), WaveRc::NoError);

    ASSERT_TRUE(WaitFor([&] { return returned.size() >= 1; }, FirstBufferMs));
    // Waiting for the first period, the plugin's descriptor is readable with
    // nothing behind it; watching it naively burns the whole core meanwhile.
    EXPECT_LT(ProcessCpuSeconds() - cpu, 0.25);
    // Once running, buffers follow at their own pace: 20 of 50 ms in about 1 s.
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(WaitFor([&] { return returned.size() >= 21; }, 3000)) << returned.size();
    EXPECT_LT(clock.elapsed(), 2000);
    EXPECT_EQ(returned[0], &headers[0]);
    EXPECT_EQ(returned[1], &headers[1]);
    EXPECT_EQ(returned[5], &headers[0]) << "requeued buffers are filled in turn";
    for (qsizetype i = 0; i < returned.size(); ++i)
        EXPECT_EQ(bytes[i], Buffer);
    // The tone reaches the monitor unchanged at 100 %; allow the first buffers
    // to hold the silence before it started.
    EXPECT_NEAR(peaks.last(), 16384, 200);
    EXPECT_EQ(device.streamOpenCount(handle), 1);
}

TEST_F(AlsaWaveInPulseTest, ResetHandsBackEveryBufferAndStartOpensAFreshStreamWithoutSpinning)
{
    SKIP_WITHOUT_PULSE();
    TonePlayer tone;
    ASSERT_TRUE(tone.start("rec_sink", 8000, 8));
    ASSERT_EQ(open(), WaveRc::NoError);
    queueAll();
    ASSERT_EQ(device.start(handle), WaveRc::NoError);
    ASSERT_TRUE(WaitFor([&] { return returned.size() >= 3; }, FirstBufferMs));

    for (int round = 0; round < 3; ++round) {
        requeue = false;
        returned.clear();
        bytes.clear();
        ASSERT_EQ(device.reset(handle), WaveRc::NoError);
        ASSERT_TRUE(WaitFor([&] { return returned.size() == 5; }, 500)) << returned.size();
        Spin(50);
        ASSERT_EQ(returned.size(), 5);
        // Each buffer once, in queue order: what the stream still held fills
        // the head, at most one comes back partly filled, the rest empty.
        EXPECT_EQ(QSet<WaveHeader *>(returned.begin(), returned.end()).size(), 5);
        for (int i = 1; i < 5; ++i) {
            if (bytes[i - 1] < Buffer) {
                EXPECT_EQ(bytes[i], 0u) << i;
            }
        }
        for (const WaveHeader &header : headers)
            EXPECT_EQ(header.flags & WaveHeaderFlag::InQueue, 0u);

        requeue = true;
        returned.clear();
        queueAll();
        ASSERT_EQ(device.start(handle), WaveRc::NoError);
        const double cpu = ProcessCpuSeconds();
        ASSERT_TRUE(WaitFor([&] { return returned.size() >= 6; }, FirstBufferMs)) << round;
        Spin(300);
        // Capturing a stream costs next to nothing; a readable descriptor with
        // nothing behind it would burn the whole core.
        EXPECT_LT(ProcessCpuSeconds() - cpu, 0.25) << round;
        EXPECT_EQ(device.streamOpenCount(handle), round + 2) << "a restart opens a fresh stream";
    }
}

TEST(AlsaWaveInGoneTest, ServerKilledWhileCapturingEndsTheCaptureWithoutSpinning)
{
    SKIP_WITHOUT_PULSE();
    OwnPulseAudio pulse;
    ASSERT_TRUE(pulse.startInUse());
    TonePlayer tone;
    ASSERT_TRUE(tone.start("own_sink", 12000, 10));

    AlsaWaveIn device;
    CaptureBuffers buffers(device);
    ASSERT_EQ(buffers.open(), WaveRc::NoError);
    buffers.queueAll();
    ASSERT_EQ(device.start(buffers.handle), WaveRc::NoError);
    ASSERT_TRUE(WaitFor([&] { return buffers.returned.size() >= 2; }, FirstBufferMs));

    buffers.requeue = false;
    buffers.returned.clear();
    pulse.kill();
    tone.stop();
    ASSERT_TRUE(WaitFor([&] { return !device.isAlive(buffers.handle); }, 3000));
    ASSERT_TRUE(WaitFor([&] { return buffers.returned.size() == 5; }, 1000)) << buffers.returned.size();
    for (const WaveHeader &header : buffers.headers)
        EXPECT_FALSE(header.flags & WaveHeaderFlag::InQueue);

    const double cpu = ProcessCpuSeconds();
    Spin(2000);
    EXPECT_LT(ProcessCpuSeconds() - cpu, 0.2) << "the event loop spins on a dead stream";
    EXPECT_EQ(device.addBuffer(buffers.handle, &buffers.headers[0]), WaveRc::NoDriver);
    EXPECT_EQ(device.start(buffers.handle), WaveRc::NoDriver);
    for (WaveHeader &header : buffers.headers)
        EXPECT_EQ(device.unprepareHeader(buffers.handle, &header), WaveRc::NoError);
    EXPECT_EQ(device.close(buffers.handle), WaveRc::NoError);
    buffers.handle = NoWaveInHandle;

    // With no server at all the device cannot be opened.
    WaveInHandle again = NoWaveInHandle;
    EXPECT_EQ(device.open(0, WaveFormat{}, {}, again), WaveRc::NoDriver);
}

} // namespace
