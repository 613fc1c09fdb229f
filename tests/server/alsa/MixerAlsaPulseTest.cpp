// The ALSA backend against a real PulseAudio through the ALSA pulse plugin: the
// private server of the test script, and one of the test's own that it kills.
#include "tests/server/MixerAlsaSupport.h"

#include "platform/alsa/AlsaMixerService.h"

#include <QProcess>
#include <gtest/gtest.h>

using namespace nuvask;
using namespace nuvask::test;

namespace {

class MixerAlsaPulseTest : public ::testing::Test {
protected:
    void openDefault()
    {
        QString error;
        layer.MixerOpenAll(error);
        ASSERT_EQ(error, QString());
        device = int(service.deviceNames().indexOf(QStringLiteral("default")));
        ASSERT_GE(device, 0) << service.deviceNames().join(',').toStdString();
        handle = layer.MixerHandles(device);
    }
    quint32 destLine(int k) const { return MixerLayer::NumberFromText(layer.DestLineIdList(device).at(k)); }

    AlsaMixerService service;
    RecordingMixerHost host;
    MixerLayer layer{service, host};
    int device = -1;
    MixerHandle handle = NoMixerHandle;
};

TEST_F(MixerAlsaPulseTest, DefaultDeviceHasPlaybackMasterAndRecordingCapture)
{
    SKIP_WITHOUT_PULSE();
    openDefault();
    EXPECT_EQ(layer.DeviceNameList().at(device), "PulseAudio");
    EXPECT_EQ(layer.DestNameList(device), (QStringList{"Playback", "Recording"}));
    EXPECT_EQ(layer.DestTypeList(device), (QStringList{"4", "7"}));
    EXPECT_EQ(layer.SrcNameList(device, 0), QStringList{"MAIN"});
    EXPECT_EQ(layer.SrcNameList(device, 1), QStringList{"MAIN"});
    EXPECT_EQ(FindControl(service, handle, destLine(0), MixerControlType::Volume).name, "Master Volume");
    EXPECT_EQ(FindControl(service, handle, destLine(0), MixerControlType::Mute).name, "Master Mute");
    EXPECT_EQ(FindControl(service, handle, destLine(1), MixerControlType::Volume).name, "Capture Volume");
    EXPECT_EQ(FindControl(service, handle, destLine(1), MixerControlType::Mute).name, "Capture Mute");
}

TEST_F(MixerAlsaPulseTest, VolumeWrittenThroughTheServiceIsSeenByPactl)
{
    SKIP_WITHOUT_PULSE();
    openDefault();
    const MixerControl volume = FindControl(service, handle, destLine(0), MixerControlType::Volume);
    ASSERT_NE(volume.controlId, 0u);
    ASSERT_EQ(service.setControlValues(handle, {volume.controlId, 1, 0}, {32768}), MixerRc::NoError);
    EXPECT_TRUE(WaitFor([] { return Pactl({"get-sink-volume", "@DEFAULT_SINK@"}).contains("50%"); }, 2000))
        << Pactl({"get-sink-volume", "@DEFAULT_SINK@"}).toStdString();
    // A value beyond the range is clamped, not dropped by the plugin.
    ASSERT_EQ(service.setControlValues(handle, {volume.controlId, 1, 0}, {0xFFFFFFFFu}), MixerRc::NoError);
    EXPECT_TRUE(WaitFor([] { return Pactl({"get-sink-volume", "@DEFAULT_SINK@"}).contains("100%"); }, 2000));
    QList<quint32> values;
    ASSERT_EQ(service.controlValues(handle, {volume.controlId, 1, 0}, values), MixerRc::NoError);
    EXPECT_EQ(values, QList<quint32>{65535});
}

TEST_F(MixerAlsaPulseTest, SourceVolumeSetByPactlArrivesAsOneNotification)
{
    SKIP_WITHOUT_PULSE();
    Pactl({"set-source-volume", "@DEFAULT_SOURCE@", "100%"});
    openDefault();
    const MixerControl volume = FindControl(service, handle, destLine(1), MixerControlType::Volume);
    ASSERT_NE(volume.controlId, 0u);
    Spin(200);
    host.changes.clear();

    Pactl({"set-source-volume", "@DEFAULT_SOURCE@", "30%"});
    ASSERT_TRUE(WaitFor([&] { return !host.changes.isEmpty(); }, 1000));
    Spin(300);
    ASSERT_EQ(host.changes.size(), 1);
    EXPECT_EQ(host.changes.first(), std::make_pair(handle, volume.controlId));
    QList<quint32> values;
    ASSERT_EQ(service.controlValues(handle, {volume.controlId, 1, 0}, values), MixerRc::NoError);
    EXPECT_NEAR(double(values.first()), 0.3 * 65535, 400);
}

TEST(MixerAlsaPulseLateTest, ServerStartedAfterTheFirstLookIsFoundOnTheNext)
{
    SKIP_WITHOUT_PULSE();
    OwnPulseAudio pulse;
    ScopedEnv server("PULSE_SERVER", pulse.server());
    AlsaMixerService service;
    service.deviceCount();
    EXPECT_FALSE(service.deviceNames().contains("default")) << "no server runs yet";

    ASSERT_TRUE(pulse.start());
    ASSERT_GE(service.deviceCount(), 1u);
    const int device = int(service.deviceNames().indexOf("default"));
    ASSERT_GE(device, 0);
    MixerCaps caps;
    ASSERT_EQ(service.deviceCaps(quint32(device), caps), MixerRc::NoError);
    EXPECT_EQ(caps.productName, "PulseAudio");
    EXPECT_EQ(caps.destinations, 2u);
}

TEST(MixerAlsaPulseGoneTest, KillingTheServerLeavesTheProgramRunning)
{
    SKIP_WITHOUT_PULSE();
    OwnPulseAudio pulse;
    ASSERT_TRUE(pulse.startInUse());

    AlsaMixerService service;
    RecordingMixerHost host;
    MixerLayer layer(service, host);
    QString error;
    layer.MixerOpenAll(error);
    ASSERT_EQ(error, QString());
    const int device = int(service.deviceNames().indexOf(QStringLiteral("default")));
    ASSERT_GE(device, 0);
    const MixerHandle handle = layer.MixerHandles(device);
    const quint32 playback = MixerLayer::NumberFromText(layer.DestLineIdList(device).at(0));
    const MixerControl volume = FindControl(service, handle, playback, MixerControlType::Volume);
    ASSERT_NE(volume.controlId, 0u);

    pulse.kill();
    // The device is noticed gone and its descriptors are no longer watched.
    EXPECT_TRUE(WaitFor([&] { return !service.isAlive(handle); }, 3000));
    Spin(200);
    EXPECT_NE(service.setControlValues(handle, {volume.controlId, 1, 0}, {1000}), MixerRc::NoError);
    QList<quint32> values;
    EXPECT_NE(service.controlValues(handle, {volume.controlId, 1, 0}, values), MixerRc::NoError);
    layer.MixerCloseAll();
    EXPECT_EQ(layer.DeviceCount(), 0);
}

} // namespace
