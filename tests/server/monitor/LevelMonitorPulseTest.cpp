// The level monitor's closed loop on the private PulseAudio through the real
// ALSA services: a loud tone in the null sink, strip 2 on the capture volume,
// "Auto" lowers it in steps of 2048 units until the tone stays below the cut
// level; "OFF" closes the device; a server killed while monitoring leaves the
// program idle with the monitor shown off.
#include "support/LevelMonitorHarness.h"
#include "tests/server/MixerAlsaSupport.h"

#include "platform/alsa/AlsaMixerService.h"
#include "platform/alsa/AlsaWaveIn.h"
#include "ui/widgets/ColourLabel.h"

#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>

using namespace nuvask;
using namespace nuvask::test;

namespace {

constexpr int CutLevel = 16384;
constexpr int ToneLevel = 30000;
// The first period can take about 2 s while the sink idles.
constexpr int FirstBufferMs = 4000;

// The monitor's rig on the real services, strip 2 on the default device's
// recording line (the default source's volume).
struct PulseRig {
    AlsaMixerService mixer;
    AlsaWaveIn capture;
    MonitorRig rig{mixer, capture};
    QList<int> peaks;     // every analysed buffer
    QList<int> positions; // strip 2 after each change, in UI steps

    QString bindRecordingStrip()
    {
        if (QString error = rig.strips.open(); !error.isEmpty())
            return error;
        const int device = int(mixer.deviceNames().indexOf(QStringLiteral("default")));
        const int recording = int(rig.strips.layer.DestNameList(device).indexOf(QStringLiteral("Recording")));
        if (device < 0 || recording < 0)
            return QStringLiteral("no default recording line");
        const QString error = rig.strips.bind(2, device, recording, 0);
        positions = {rig.stripPosition()};
        QObject::connect(rig.monitor.get(), &LevelMonitor::levelMeasured, rig.monitor.get(), [this](int peak) {
            peaks.append(peak);
            if (rig.stripPosition() != positions.last())
                positions.append(rig.stripPosition());
        });
        return error;
    }
};

class LevelMonitorPulseTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SKIP_WITHOUT_PULSE();
        OpenCapturePath();
    }
    void TearDown() override
    {
        if (!qEnvironmentVariableIsEmpty("PULSE_SERVER"))
            Pactl({"set-source-volume", "@DEFAULT_SOURCE@", "100%"});
    }
};

TEST_F(LevelMonitorPulseTest, AutoLowersTheCaptureVolumeInStepsUntilTheToneStaysBelowTheCutLevel)
{
    TonePlayer tone;
    ASSERT_TRUE(tone.start("rec_sink", ToneLevel, 30));
    PulseRig p;
    ASSERT_EQ(p.bindRecordingStrip(), QString());
    ASSERT_EQ(p.rig.stripPosition(), 256);
    p.rig.monitor->CutLevelShow(CutLevel);

    p.rig.click("Btn_RAuto");
    ASSERT_TRUE(p.rig.monitor->IsOpen());
    ASSERT_TRUE(p.rig.monitor->AutoOn());
    ASSERT_EQ(p.rig.monitor->BufferBytes(), 8820u);

    // Falls while the tone reaches the cut level; settled once it has not
    // moved for a second and a half of buffers.
    QElapsedTimer sinceChange;
    sinceChange.start();
    qsizetype seen = 1;
    const bool settled = WaitFor(
        [&] {
            if (p.positions.size() != seen) {
                seen = p.positions.size();
                sinceChange.restart();
            }
            return seen > 1 && sinceChange.elapsed() > 1500;
        },
        25000);
    ASSERT_TRUE(settled) << "positions: " << p.positions.size() << ", buffers: " << p.peaks.size();

    // Every change was one lowering of 8 steps (2048 mixer units).
    for (qsizetype i = 1; i < p.positions.size(); ++i)
        EXPECT_EQ(p.positions[i - 1] - p.positions[i], 8) << i;
    // The tone is 30000; the monitor source scales it by the cube of the
    // volume, so 208 steps is the first to bring it under 16384.
    const int last = p.positions.last();
    EXPECT_LE(last, 208);
    EXPECT_GE(last, 192) << "a lowering or two may come from sound captured before the last write";
    EXPECT_NEAR(SourceVolume(), last * 256, 512);

    // From now on the tone stays below the cut level and nothing moves.
    const qsizetype from = p.peaks.size();
    Spin(1000);
    ASSERT_GT(p.peaks.size(), from + 10);
    for (qsizetype i = from; i < p.peaks.size(); ++i)
        EXPECT_LT(p.peaks[i], CutLevel) << i;
    EXPECT_GT(p.peaks.last(), CutLevel / 2);
    EXPECT_EQ(p.rig.stripPosition(), last);
    EXPECT_TRUE(p.rig.monitor->IsOpen());

    // "OFF" closes the device and ends "Auto".
    p.rig.click("Btn_RPK_OFF");
    EXPECT_FALSE(p.rig.monitor->IsOpen());
    EXPECT_FALSE(p.rig.monitor->AutoOn());
    EXPECT_FALSE(p.rig.monitor->Running());
    // Levels already posted (the part-filled buffer the reset handed back)
    // are still shown; then nothing more arrives and the monitor stays off.
    Spin(100);
    const qsizetype after = p.peaks.size();
    Spin(300);
    EXPECT_EQ(p.peaks.size(), after);
    EXPECT_FALSE(p.rig.monitor->Running());
    EXPECT_FALSE(p.rig.monitor->AutoOn());
}

TEST(LevelMonitorGoneTest, ServerKilledWhileMonitoringLeavesTheProgramIdleWithTheMonitorOff)
{
    SKIP_WITHOUT_PULSE();
    OwnPulseAudio pulse;
    ASSERT_TRUE(pulse.startInUse());
    TonePlayer tone;
    ASSERT_TRUE(tone.start("own_sink", 12000, 20));

    PulseRig p;
    ASSERT_EQ(p.bindRecordingStrip(), QString());
    p.rig.click("Btn_RAuto");
    ASSERT_TRUE(p.rig.monitor->IsOpen());
    ASSERT_TRUE(WaitFor([&] { return p.peaks.size() >= 3; }, FirstBufferMs));

    pulse.kill();
    ASSERT_TRUE(WaitFor([&] { return !p.rig.monitor->Running(); }, 5000));
    EXPECT_FALSE(p.rig.monitor->IsOpen());
    EXPECT_FALSE(p.rig.monitor->AutoOn());
    EXPECT_EQ(p.rig.monitorChild<ColourLabel>("Label_RPK1")->height(), 96);

    // Idle, yet answering: a queued call runs at once and the process burns
    // next to nothing for a second.
    const double cpu = ProcessCpuSeconds();
    bool answered = false;
    QTimer::singleShot(0, [&] { answered = true; });
    Spin(1000);
    EXPECT_TRUE(answered);
    EXPECT_LT(ProcessCpuSeconds() - cpu, 0.1);

    // "ON" now reports the failure and stays off.
    QString error;
    p.rig.monitor->WaveMeterOpen(error);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(p.rig.monitor->IsOpen());
}

} // namespace
