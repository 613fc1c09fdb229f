// One stream per input: the strip meter of the recording line and the level
// monitor on the same input, on the real sound server. While the monitor
// captures, the meter reads its levels from the capture and its own peak
// stream is closed; when the monitor stops, the stream comes back. Across both
// changes the meter keeps showing the sound it showed, from tick to tick.
#include "support/LevelMonitorHarness.h"
#include "tests/server/MixerAlsaSupport.h"

#include "core/mixer/StripMeters.h"
#include "platform/sound/DesktopMixerService.h"
#include "platform/sound/DesktopWaveIn.h"

#include <QElapsedTimer>
#include <QProcess>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

using namespace nuvask;
using namespace nuvask::test;

namespace {

constexpr int Strip = 1;

// The meter's side of the window, which also notes every cover a tick sets
// (a tick that has no new level sets none, and the column keeps its height).
struct TickLog : StripMetersView
{
    explicit TickLog(StripHost &host) : host(host) { clock.start(); }
    void SetAutoMark(int strip, bool visible) override { host.SetAutoMark(strip, visible); }
    void SetPeakCover(int strip, int height) override
    {
        host.SetPeakCover(strip, height);
        if (strip == Strip)
            ticks.append({clock.elapsed(), height});
    }
    int MeterFullHeight(int strip) const override { return host.MeterFullHeight(strip); }

    struct Tick
    {
        qint64 at; // ms
        int cover; // px
    };
    StripHost &host;
    QElapsedTimer clock;
    QList<Tick> ticks;
};

// The server's own account of record streams opened, from `pactl subscribe`.
class StreamsOpened
{
public:
    StreamsOpened()
    {
        m_process.start(QStringLiteral("pactl"), {QStringLiteral("subscribe")});
        m_process.waitForStarted(5000);
        Spin(200); // subscribed before anything is counted
    }
    ~StreamsOpened()
    {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
    int count()
    {
        m_seen += QString::fromUtf8(m_process.readAllStandardOutput());
        return int(m_seen.count(QStringLiteral("'new' on source-output")));
    }

private:
    QProcess m_process;
    QString m_seen;
};

class StripMeterSharedCaptureTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SKIP_WITHOUT_PULSE();
        OpenCapturePath();
        Pactl({"set-sink-volume", "rec_sink", "100%"});
        rig.strips.host.meters = &meters;
        meters.ApplySettings(true, false);
        // As in the main window: the meters' ticks ride the monitor's buffers.
        QObject::connect(rig.monitor.get(), &LevelMonitor::levelMeasured, &meters, &StripMeters::TickAlong);
        ASSERT_EQ(rig.strips.open(), QString());
        int device = -1;
        for (int d = 0; d < rig.strips.layer.DeviceCount(); ++d) {
            if (PulseMixerService::ownsHandle(rig.strips.layer.MixerHandles(d)))
                device = d;
        }
        ASSERT_GE(device, 0);
        pulseDevice = device;
        // The sound server's recording line is its default source, the
        // monitor's input too.
        recording = int(rig.strips.layer.DestNameList(device).indexOf(QStringLiteral("Recording")));
        ASSERT_GE(recording, 0);
        others = RecordStreams();
        ASSERT_EQ(rig.strips.bind(Strip, device, recording, 0), QString());
        source = service.connection().server().defaultSource;
        full = rig.strips.strips[Strip]->volumeBarHeight();
    }
    void TearDown() override
    {
        rig.strips.host.meters = nullptr;
        if (!qEnvironmentVariableIsEmpty("PULSE_SERVER"))
            Pactl({"set-source-volume", "@DEFAULT_SOURCE@", "100%"});
    }

    const PulsePeakMeters &levels() { return service.connection().peakMeters(); }

    // The ticks logged from `from` on that show something else than `cover`
    // (more than a pixel off), and the longest time without a new cover.
    // With `startsCapture`, the first tick may read louder: a capture that
    // starts in the middle of a tone goes through the server's resampler
    // from nothing, and PipeWire's first block overshoots the tone by a few
    // percent. That is sound the monitor captured too; quieter is a gap.
    void expectSteady(qsizetype from, int cover, const char *phase, bool startsCapture = false)
    {
        ASSERT_GT(log.ticks.size(), from + 5) << phase;
        qint64 gap = 0;
        for (qsizetype i = from; i < log.ticks.size(); ++i) {
            const int shown = log.ticks[i].cover;
            if (startsCapture && i == from && shown < cover)
                continue;
            EXPECT_NEAR(shown, cover, 1) << phase << ": tick " << i - from << " at " << log.ticks[i].at << " ms";
            if (i > from)
                gap = std::max(gap, log.ticks[i].at - log.ticks[i - 1].at);
        }
        // A tick without a new level keeps the column; more than two in a
        // row would be a meter that stopped.
        EXPECT_LE(gap, 3 * StripMeters::PollIntervalMs + 50) << phase;
        std::printf("%s: %lld ticks at %d px, longest gap %lld ms\n", phase,
                    static_cast<long long>(log.ticks.size() - from), cover, static_cast<long long>(gap));
    }

    DesktopMixerService service;
    DesktopWaveIn capture{service.connection()};
    MonitorRig rig{service, capture};
    TickLog log{rig.strips.host};
    StripMeters meters{rig.strips.layer, log};
    QString source;
    int pulseDevice = -1;
    int recording = -1;
    int full = 0;
    int others = 0; // record streams before the meter's

};

TEST_F(StripMeterSharedCaptureTest, MonitorTakesOverTheMetersInputAndGivesItBackWithoutAGapInTheMeter)
{
    TonePlayer tone;
    ASSERT_TRUE(tone.start("rec_sink", 30000, 30));
    // The meter's own stream: the tone's level, tick after tick.
    ASSERT_TRUE(WaitFor([&] { return !log.ticks.isEmpty() && log.ticks.last().cover < full / 2; }, 4000));
    Spin(500);
    const int steady = log.ticks.last().cover;
    EXPECT_TRUE(levels().hasOwnStream(source));
    EXPECT_EQ(RecordStreams(), others + 1);

    // The monitor starts on the same input: one stream, the capture's.
    qsizetype from = log.ticks.size();
    rig.click("Btn_RPK_ON");
    ASSERT_TRUE(rig.monitor->IsOpen());
    EXPECT_TRUE(WaitFor([&] { return !levels().hasOwnStream(source) && RecordStreams() == others + 1; }, 2000))
        << "own stream " << levels().hasOwnStream(source) << ", streams " << RecordStreams();
    Spin(1500);
    EXPECT_TRUE(levels().watched().contains(source));
    expectSteady(from, steady, "monitor on", true);

    // The monitor stops: the meter's own stream comes back, the only one.
    from = log.ticks.size();
    rig.click("Btn_RPK_OFF");
    ASSERT_FALSE(rig.monitor->IsOpen());
    EXPECT_TRUE(WaitFor([&] { return levels().hasOwnStream(source) && RecordStreams() == others + 1; }, 2000))
        << "own stream " << levels().hasOwnStream(source) << ", streams " << RecordStreams();
    Spin(1500);
    expectSteady(from, steady, "monitor off");

    // On again, and the tone stops while the capture feeds the meter: the
    // meter follows the sound, not a level it kept.
    rig.click("Btn_RPK_ON");
    ASSERT_TRUE(WaitFor([&] { return !levels().hasOwnStream(source); }, 2000));
    Spin(500);
    tone.stop();
    EXPECT_TRUE(WaitFor([&] { return log.ticks.last().cover >= full - 1; }, 2000))
        << "cover " << log.ticks.last().cover << " of " << full;
    rig.click("Btn_RPK_OFF");
}

TEST_F(StripMeterSharedCaptureTest, AutoLoweringsRestartTheCaptureWithoutReopeningTheMetersStream)
{
    // Strip 2, the one "Auto" lowers, on the same input.
    ASSERT_EQ(rig.strips.bind(2, pulseDevice, recording, 0), QString());
    TonePlayer tone;
    ASSERT_TRUE(tone.start("rec_sink", 30000, 30));
    rig.monitor->CutLevelShow(16384);
    rig.click("Btn_RAuto");
    ASSERT_TRUE(rig.monitor->AutoOn());
    ASSERT_TRUE(WaitFor([&] { return !levels().hasOwnStream(source); }, 2000));
    // Each lowering resets and restarts the capture in one go: the meters
    // stay with the capture all along, and the server opens no stream.
    StreamsOpened opened;
    const int top = rig.stripPosition();
    const bool lowered = WaitFor([&] { return rig.stripPosition() <= top - 16; }, 10000);
    EXPECT_TRUE(lowered) << "strip 2 at " << rig.stripPosition() << " of " << top;
    Spin(300);
    EXPECT_EQ(opened.count(), 0);
    EXPECT_FALSE(levels().hasOwnStream(source));
    EXPECT_EQ(RecordStreams(), others + 1);
    rig.click("Btn_RPK_OFF");
}

TEST_F(StripMeterSharedCaptureTest, ToneOnOneChannelShowsTheSameLevelFromEitherSide)
{
    TonePlayer tone;
    ASSERT_TRUE(tone.start("rec_sink", 30000, 30, 6000));
    ASSERT_TRUE(WaitFor([&] { return !log.ticks.isEmpty() && log.ticks.last().cover < full - 5; }, 4000));
    Spin(500);
    const int own = log.ticks.last().cover;
    rig.click("Btn_RPK_ON");
    ASSERT_TRUE(WaitFor([&] { return !levels().hasOwnStream(source); }, 2000));
    Spin(500);
    const int shared = log.ticks.last().cover;
    std::printf("own stream %d px, capture %d px\n", own, shared);
    EXPECT_NEAR(shared, own, 1);
    rig.click("Btn_RPK_OFF");
}

} // namespace
