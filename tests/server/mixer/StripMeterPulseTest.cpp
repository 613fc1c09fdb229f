// A strip's peak meter on a real sound: a volume strip bound through the mixer
// layer to the sound server's recording line, the strip meters' timer polling
// it while a loud tone plays into the null sink whose monitor is recorded.
#include "support/VolumeStripHarness.h"
#include "tests/server/MixerAlsaSupport.h"

#include "core/mixer/StripMeters.h"
#include "platform/sound/DesktopMixerService.h"
#include "ui/widgets/ColourButton.h"
#include "ui/widgets/ColourLabel.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

using namespace nuvask;
using namespace nuvask::test;

namespace {

constexpr int Strip = 1;
constexpr int ToneLevel = 30000; // of 32767

class StripMeterPulseTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SKIP_WITHOUT_PULSE();
        OpenCapturePath();
        w.host.meters = &meters;
        meters.ApplySettings(true, false);
        ASSERT_EQ(w.open(), QString());
        for (int d = 0; d < w.layer.DeviceCount(); ++d) {
            if (PulseMixerService::ownsHandle(w.layer.MixerHandles(d)))
                device = d;
        }
        ASSERT_GE(device, 0) << w.layer.DeviceNameList().join(',').toStdString();
        recording = int(w.layer.DestNameList(device).indexOf(QStringLiteral("Recording")));
        ASSERT_GE(recording, 0) << w.layer.DestNameList(device).join(',').toStdString();
    }
    // The meters go before the window, whose closing still reports to its host.
    void TearDown() override { w.host.meters = nullptr; }

    int cover() const { return w.child<ColourLabel>(Strip, "Label_PM1_")->height(); }
    int hold() const { return w.child<ColourButton>(Strip, "B_PK")->Caption().toInt(); }

    DesktopMixerService service;
    StripTestWindow w{service};
    StripMeters meters{w.layer, w.host};
    int device = -1;
    int recording = -1;
};

TEST_F(StripMeterPulseTest, MeterOfTheRecordingStripRisesWithAToneAndFallsBackAfterIt)
{
    ASSERT_EQ(w.bind(Strip, device, recording, 0), QString());
    const int full = w.strips[Strip]->volumeBarHeight();
    ASSERT_GT(full, 20);
    EXPECT_TRUE(w.strips[Strip]->GroupShown(StripGroup::PeakMeter));
    EXPECT_TRUE(w.host.timerRunning);
    EXPECT_TRUE(meters.Timer_PK().isActive());
    EXPECT_EQ(cover(), full) << "a fresh meter shows nothing";
    EXPECT_EQ(hold(), 0);

    // The timer polls by itself; the lowest cover seen is the loudest reading.
    TonePlayer tone;
    ASSERT_TRUE(tone.start("rec_sink", ToneLevel, 6));
    QElapsedTimer clock;
    clock.start();
    int lowest = full;
    const bool rose = WaitFor(
        [&] {
            lowest = std::min(lowest, cover());
            return lowest < full / 2 && hold() > ToneLevel / 2;
        },
        4000); // the first period can take about 2 s while the sink idles
    std::printf("tone: cover %d of %d px, hold %d, after %lld ms\n", lowest, full, hold(),
                static_cast<long long>(clock.elapsed()));
    EXPECT_TRUE(rose) << "cover " << lowest << " of " << full << ", hold " << hold();
    EXPECT_LT(lowest, full / 2);
    EXPECT_GT(hold(), ToneLevel / 2);
    EXPECT_LE(hold(), 32768);

    // Silence: the column empties again, the hold stays.
    const int held = hold();
    tone.stop();
    clock.restart();
    const bool fell = WaitFor([&] { return cover() >= full - 1; }, 3000);
    std::printf("silence: cover %d of %d px after %lld ms, hold %d\n", cover(), full,
                static_cast<long long>(clock.elapsed()), hold());
    EXPECT_TRUE(fell) << "cover " << cover() << " of " << full;
    EXPECT_EQ(hold(), held);
}

} // namespace
