// Saved strip bindings against the lists of an opened (simulated) mixer.
#include "core/mixer/MixerLayer.h"
#include "core/mixer/StripBindingRestore.h"
#include "platform/sim/SimTopology.h"
#include "support/TestBoards.h"

#include <gtest/gtest.h>

using namespace nuvask;

namespace {

struct QuietHost : MixerHost {
    void SetAutoMarkVisible(int, bool) override {}
    void SetPeakTimerRunning(bool) override {}
    void MixerControlChange(MixerHandle, quint32) override {}
    bool AutoRecVChecked() const override { return false; }
};

struct BindingRestore : ::testing::Test
{
    SimMixerBoard board{{sim::DemoDevice(), test::RecordingOnlyDevice()}};
    QuietHost host;
    MixerLayer layer{board, host};
    void SetUp() override
    {
        QString error;
        layer.MixerOpenAll(error);
        ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    }
    StripSelection resolve(int device, const char *dst, const char *src)
    {
        return ResolveStripBinding(layer, StripBinding{device, dst, src});
    }
};

} // namespace

TEST_F(BindingRestore, DefaultsFindTheSpeakersTheWaveAndTheRecordingLine)
{
    StripSelection s = resolve(0, "4", "4");
    EXPECT_EQ(s.destination, 0);
    EXPECT_EQ(s.source, 0); // MAIN
    s = resolve(0, "4", "4104");
    EXPECT_EQ(s.destination, 0);
    EXPECT_EQ(s.source, 1);
    s = resolve(0, "7", "7");
    EXPECT_EQ(s.destination, 1);
    EXPECT_EQ(s.source, 0);
    s = resolve(0, "7", "4098"); // line in
    EXPECT_EQ(s.destination, 1);
    EXPECT_EQ(s.source, 2);
}

TEST_F(BindingRestore, BindingsThatNoLongerExistFallBackSilently)
{
    // A device index beyond the devices is device 0.
    StripSelection s = resolve(5, "7", "7");
    EXPECT_EQ(s.device, 0);
    EXPECT_EQ(s.destination, 1);
    EXPECT_EQ(resolve(-1, "4", "4").device, 0);
    // The source type is missing in that destination: both indexes fall back.
    s = resolve(1, "7", "4104");
    EXPECT_EQ(s.device, 1);
    EXPECT_EQ(s.destination, 0);
    EXPECT_EQ(s.source, 0);
    // No destination of that type on the device.
    s = resolve(1, "4", "4");
    EXPECT_EQ(s.device, 1);
    EXPECT_EQ(s.destination, 0);
    // Types compare as text: " 7" is not "7".
    EXPECT_EQ(resolve(0, " 7", "7").destination, 0);
}

TEST_F(BindingRestore, TakingABindingForSavingAndReadingItBack)
{
    const StripBinding taken = TakeStripBinding(layer, {0, 1, 2});
    EXPECT_EQ(taken.device, 0);
    EXPECT_EQ(taken.destType, QString("7"));
    EXPECT_EQ(taken.srcType, QString("4098"));
    const StripSelection back = ResolveStripBinding(layer, taken);
    EXPECT_EQ(back.device, 0);
    EXPECT_EQ(back.destination, 1);
    EXPECT_EQ(back.source, 2);
    // Items that name no line (no device any more): index 0, empty types.
    const StripBinding none = TakeStripBinding(layer, {3, 0, 0});
    EXPECT_EQ(none.device, 0);
    EXPECT_TRUE(none.destType.isEmpty() && none.srcType.isEmpty());
    layer.MixerCloseAll();
    EXPECT_TRUE(TakeStripBinding(layer, {0, 1, 2}).destType.isEmpty());
}

TEST(BindingRestoreByName, AmongLinesOfOneTypeTheSavedNameDecides)
{
    // An HDA card: four microphone inputs of one type.
    SimDevice hda;
    hda.productName = QStringLiteral("HDA");
    SimDestination rec;
    rec.line = sim::Line(0xFFFF0007u, MixerComponent::DstWaveIn, "Capture", {sim::Volume(1, 30000)});
    const QStringList mics{"Front Mic", "Rear Mic", "Front Mic Boost", "Rear Mic Boost"};
    for (int i = 0; i < mics.size(); ++i)
        rec.sources.append(sim::Line(10 + i, MixerComponent::SrcMicrophone, mics[i], {sim::Volume(20 + i, 5)}));
    hda.destinations = {rec};
    SimMixerBoard board{{hda}};
    QuietHost host;
    MixerLayer layer{board, host};
    QString error;
    layer.MixerOpenAll(error);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();

    const StripBinding taken = TakeStripBinding(layer, {0, 0, 4});
    EXPECT_EQ(taken.srcName, "Rear Mic Boost");
    EXPECT_EQ(ResolveStripBinding(layer, taken).source, 4);
    // Settings from before names were kept, or a name no line has: the first microphone.
    EXPECT_EQ(ResolveStripBinding(layer, {0, "7", "4099", ""}).source, 1);
    EXPECT_EQ(ResolveStripBinding(layer, {0, "7", "4099", "Side Mic"}).source, 1);
    // The name only chooses among lines of the saved type.
    EXPECT_EQ(ResolveStripBinding(layer, {0, "7", "7", "Rear Mic"}).source, 0);
}
