// The ALSA backend against a real PulseAudio through the ALSA pulse plugin: the
// private server of the test script, and one of the test's own that it kills.
#include "MixerAlsaSupport.h"

#include "platform/alsa/AlsaMixerService.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>

using namespace nuvask;
using namespace nuvask::test;

namespace {

#define SKIP_WITHOUT_PULSE()                                                                                            \
    if (qEnvironmentVariableIsEmpty("PULSE_SERVER"))                                                                   \
    GTEST_SKIP() << "PULSE_SERVER is not set: run under scripts/with-services.sh for the private PulseAudio"

QString pactl(const QStringList &args)
{
    QProcess process;
    process.start(QStringLiteral("pactl"), args);
    process.waitForFinished(5000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

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
    EXPECT_TRUE(WaitFor([] { return pactl({"get-sink-volume", "@DEFAULT_SINK@"}).contains("50%"); }, 2000))
        << pactl({"get-sink-volume", "@DEFAULT_SINK@"}).toStdString();
    // A value beyond the range is clamped, not dropped by the plugin.
    ASSERT_EQ(service.setControlValues(handle, {volume.controlId, 1, 0}, {0xFFFFFFFFu}), MixerRc::NoError);
    EXPECT_TRUE(WaitFor([] { return pactl({"get-sink-volume", "@DEFAULT_SINK@"}).contains("100%"); }, 2000));
    QList<quint32> values;
    ASSERT_EQ(service.controlValues(handle, {volume.controlId, 1, 0}, values), MixerRc::NoError);
    EXPECT_EQ(values, QList<quint32>{65535});
}

TEST_F(MixerAlsaPulseTest, SourceVolumeSetByPactlArrivesAsOneNotification)
{
    SKIP_WITHOUT_PULSE();
    pactl({"set-source-volume", "@DEFAULT_SOURCE@", "100%"});
    openDefault();
    const MixerControl volume = FindControl(service, handle, destLine(1), MixerControlType::Volume);
    ASSERT_NE(volume.controlId, 0u);
    Spin(200);
    host.changes.clear();

    pactl({"set-source-volume", "@DEFAULT_SOURCE@", "30%"});
    ASSERT_TRUE(WaitFor([&] { return !host.changes.isEmpty(); }, 1000));
    Spin(300);
    ASSERT_EQ(host.changes.size(), 1);
    EXPECT_EQ(host.changes.first(), std::make_pair(handle, volume.controlId));
    QList<quint32> values;
    ASSERT_EQ(service.controlValues(handle, {volume.controlId, 1, 0}, values), MixerRc::NoError);
    EXPECT_NEAR(double(values.first()), 0.3 * 65535, 400);
}

// A PulseAudio of the test's own, stopped by its process id.
class OwnPulseAudio {
public:
    OwnPulseAudio() : m_server("unix:" + m_dir.filePath("runtime") + "/pulse/native") {}
    bool start()
    {
        if (!m_dir.isValid())
            return false;
        const QString runtime = m_dir.filePath("runtime");
        QDir().mkpath(runtime + "/pulse");
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", runtime);
        env.insert("PULSE_RUNTIME_PATH", runtime + "/pulse");
        env.insert("PULSE_STATE_PATH", m_dir.filePath("state"));
        env.insert("HOME", m_dir.path());
        env.remove("PULSE_SERVER");
        env.remove("DISPLAY");
        env.remove("DBUS_SESSION_BUS_ADDRESS");
        m_process.setProcessEnvironment(env);
        m_process.setProgram("pulseaudio");
        m_process.setArguments({"-n", "--daemonize=no", "--exit-idle-time=-1", "--disallow-exit",
                                "--log-target=file:" + m_dir.filePath("pulse.log"), "-L", "module-native-protocol-unix",
                                "-L", "module-null-sink sink_name=own_sink", "-L", "module-always-sink"});
        m_process.start();
        if (!m_process.waitForStarted(5000))
            return false;
        return WaitFor([this] {
            QProcess probe;
            QProcessEnvironment probeEnv = QProcessEnvironment::systemEnvironment();
            probeEnv.insert("PULSE_SERVER", m_server);
            probe.setProcessEnvironment(probeEnv);
            probe.start("pactl", {"info"});
            probe.waitForFinished(2000);
            return probe.exitCode() == 0 && probe.exitStatus() == QProcess::NormalExit;
        }, 10000);
    }
    void kill()
    {
        if (m_process.processId() > 0)
            ::kill(pid_t(m_process.processId()), SIGKILL);
        m_process.waitForFinished(5000);
    }
    ~OwnPulseAudio() { kill(); }
    bool isRunning() const { return m_process.state() == QProcess::Running; }
    QByteArray server() const { return m_server.toUtf8(); }

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    QString m_server;
};

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
    ASSERT_TRUE(pulse.start());
    ScopedEnv server("PULSE_SERVER", pulse.server());

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
