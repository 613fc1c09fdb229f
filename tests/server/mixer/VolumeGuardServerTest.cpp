// The volume guard against real devices: the private sound server of the test
// script (PulseAudio, or PipeWire through pipewire-pulse) with another program
// raising the recording volume every 200 ms, and the ALSA fixture card changed
// by amixer, a program of its own.
#include "tests/server/MixerAlsaSupport.h"

#include "core/mixer/VolumeGuard.h"
#include "platform/alsa/AlsaMixerService.h"
#include "platform/pulse/PulseConnection.h"
#include "platform/sound/DesktopMixerService.h"
#include "support/MixerFakes.h"

#include <QAbstractEventDispatcher>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QSignalSpy>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>

using namespace nuvask;
using namespace nuvask::test;

namespace {

constexpr int Strip = VolumeGuard::GuardedStrip;
constexpr int RogueEveryMs = 200;
constexpr int RestoreWithinMs = 100;

// A mixer service that counts the volume writes reaching the device.
class CountingService : public MixerService
{
public:
    explicit CountingService(MixerService &inner) : m(inner) {}
    int writes = 0;

    quint32 deviceCount() override { return m.deviceCount(); }
    quint32 deviceCaps(quint32 d, MixerCaps &c) override { return m.deviceCaps(d, c); }
    quint32 open(quint32 d, const MixerNotify &n, MixerHandle &h) override { return m.open(d, n, h); }
    quint32 close(MixerHandle h) override { return m.close(h); }
    quint32 lineInfoByDestination(MixerHandle h, quint32 d, MixerLine &l) override
    {
        return m.lineInfoByDestination(h, d, l);
    }
    quint32 lineInfoBySource(MixerHandle h, quint32 d, quint32 s, MixerLine &l) override
    {
        return m.lineInfoBySource(h, d, s, l);
    }
    quint32 lineInfoById(MixerHandle h, quint32 id, MixerLine &l) override { return m.lineInfoById(h, id, l); }
    quint32 lineControls(MixerHandle h, quint32 id, QList<MixerControl> &c) override { return m.lineControls(h, id, c); }
    quint32 controlValues(MixerHandle h, const MixerControlDetails &d, QList<quint32> &v) override
    {
        return m.controlValues(h, d, v);
    }
    quint32 controlListTexts(MixerHandle h, const MixerControlDetails &d, QList<MixerListText> &t) override
    {
        return m.controlListTexts(h, d, t);
    }
    quint32 setControlValues(MixerHandle h, const MixerControlDetails &d, const QList<quint32> &v) override
    {
        ++writes;
        return m.setControlValues(h, d, v);
    }
    void recordingClients(MixerHandle h, quint32 id, const RecordingClientsAnswer &a) override
    {
        m.recordingClients(h, id, a);
    }

private:
    MixerService &m;
};

// Strip 2's line under the guard, as the window has it.
struct GuardedStrip {
    explicit GuardedStrip(MixerService &inner) : counting(inner)
    {
        host.layer = &layer;
        host.views = views;
        for (int n = 0; n < 3; ++n)
            layer.SetStripView(n, &views[n]);
    }
    QString open()
    {
        QString error;
        layer.MixerOpenAll(error);
        return error;
    }
    QString bind(int device, int destination, int source)
    {
        views[Strip].device = device;
        views[Strip].destination = destination;
        views[Strip].source = source;
        QString error;
        layer.StripBindLine(Strip, device, destination, error,
                            MixerLayer::NumberFromText(layer.SrcLineIdList(device, destination).value(source)));
        return error;
    }

    CountingService counting;
    FakeHost host;
    MixerLayer layer{counting, host};
    FakeStripView views[3];
    VolumeGuard guard{layer};
};

// The default source's volume (its loudest channel) as a client of its own
// sees it, with the time of each change.
class SourceWatcher
{
public:
    SourceWatcher()
    {
        m_clock.start();
        QObject::connect(&m_connection, &PulseConnection::serverChanged, [this] { look(); });
        m_connection.start();
        m_connection.waitForFirstAnswer(3000);
    }
    bool ready() const { return m_connection.state() == PulseConnection::State::Ready; }
    struct Seen {
        qint64 ms;
        quint32 volume; // server scale
    };
    QList<Seen> seen;

private:
    void look()
    {
        const PulseServerState &s = m_connection.server();
        for (const PulseDeviceInfo &source : s.sources) {
            if (source.name != s.defaultSource || source.volumes.isEmpty())
                continue;
            const quint32 volume = *std::max_element(source.volumes.cbegin(), source.volumes.cend());
            if (seen.isEmpty() || seen.last().volume != volume)
                seen.append({m_clock.elapsed(), volume});
        }
    }
    PulseConnection m_connection;
    QElapsedTimer m_clock;
};

// Another program: `pactl set-source-volume` every 200 ms, each time a new
// value above the guarded one.
class Rogue
{
public:
    // Runs for `changes` changes; returns the server values it set, in order.
    static QList<quint32> run(int changes)
    {
        QList<quint32> values;
        QList<QProcess *> running;
        QTimer timer;
        timer.setInterval(RogueEveryMs);
        timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer, &QTimer::timeout, [&] {
            const quint32 value = 45000 + quint32(values.size()) * 300;
            values.append(value);
            auto *pactl = new QProcess;
            pactl->start("pactl", {"set-source-volume", "@DEFAULT_SOURCE@", QString::number(value)});
            running.append(pactl);
            if (values.size() == changes)
                timer.stop();
        });
        timer.start();
        WaitFor([&] { return !timer.isActive(); }, changes * RogueEveryMs * 3);
        for (QProcess *pactl : running) {
            pactl->waitForFinished(3000);
            delete pactl;
        }
        Spin(RogueEveryMs);
        return values;
    }
};

class VolumeGuardServerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SKIP_WITHOUT_PULSE();
        Pactl({"set-source-volume", "@DEFAULT_SOURCE@", QString::number(Guarded)});
        Pactl({"set-source-mute", "@DEFAULT_SOURCE@", "0"});
        ASSERT_TRUE(watcher.ready());
        ASSERT_EQ(strip.open(), QString());
        int device = -1;
        for (int d = 0; d < strip.layer.DeviceCount(); ++d) {
            if (PulseMixerService::ownsHandle(strip.layer.MixerHandles(d)))
                device = d;
        }
        ASSERT_GE(device, 0);
        const int recording = int(strip.layer.DestNameList(device).indexOf("Recording"));
        ASSERT_EQ(strip.bind(device, recording, 0), QString()); // MAIN: the default source
        Spin(100);
    }
    void TearDown() override { Pactl({"set-source-volume", "@DEFAULT_SOURCE@", "100%"}); }

    static constexpr quint32 Guarded = 26214; // 40 %, server scale
    SourceWatcher watcher;
    DesktopMixerService service;
    GuardedStrip strip{service};
};

TEST_F(VolumeGuardServerTest, RogueRaisesAreWrittenBackAtOnceOncePerChangeAndTheUserToldOnce)
{
    // A program recording from the input: the one the user is told of.
    QProcess recorder;
    recorder.setStandardOutputFile(QProcess::nullDevice());
    recorder.start("pacat", {"--record", "--device=@DEFAULT_SOURCE@", "--property=application.name=RogueCall"});
    ASSERT_TRUE(recorder.waitForStarted(3000));
    ASSERT_TRUE(WaitFor([] { return Pactl({"list", "source-outputs"}).contains("RogueCall"); }, 3000));

    QSignalSpy told(&strip.guard, &VolumeGuard::fightNoticed);
    strip.guard.SetOn(true);
    ASSERT_TRUE(strip.guard.GuardedLevel());
    const int writesBefore = strip.counting.writes;
    watcher.seen.clear();

    const QList<quint32> rogue = Rogue::run(10000 / RogueEveryMs);
    const int writes = strip.counting.writes - writesBefore;

    // Each raise the watcher saw was followed by the guarded level within 100 ms.
    int seenRaises = 0;
    qint64 slowest = 0;
    for (qsizetype i = 0; i < watcher.seen.size(); ++i) {
        if (!rogue.contains(watcher.seen[i].volume))
            continue;
        ++seenRaises;
        ASSERT_LT(i + 1, watcher.seen.size()) << "the last raise was never written back";
        EXPECT_EQ(watcher.seen[i + 1].volume, Guarded);
        slowest = std::max(slowest, watcher.seen[i + 1].ms - watcher.seen[i].ms);
    }
    std::printf("raises %d, seen by another client %d, program writes %d, slowest restore %lld ms\n",
                int(rogue.size()), seenRaises, writes, static_cast<long long>(slowest));
    EXPECT_GT(seenRaises, rogue.size() / 2);
    EXPECT_LE(slowest, RestoreWithinMs);
    EXPECT_EQ(SourceVolume(), int(Guarded));
    // At most one write per outside change, and at least one for each seen.
    EXPECT_LE(writes, rogue.size());
    EXPECT_GE(writes, seenRaises);
    EXPECT_EQ(strip.guard.Restores(), writes);

    // Told once, naming the recording program and not this one.
    ASSERT_TRUE(WaitFor([&] { return told.size() > 0; }, 2000));
    EXPECT_EQ(told.size(), 1);
    EXPECT_TRUE(told.at(0).at(1).toBool());
    EXPECT_TRUE(told.at(0).at(0).toStringList().contains("RogueCall")) << told.at(0).at(0).toStringList().join(',').toStdString();
    EXPECT_FALSE(told.at(0).at(0).toStringList().contains("nuvASK"));
    recorder.kill();
    recorder.waitForFinished(3000);
}

TEST_F(VolumeGuardServerTest, GuardOffWritesNothingBack)
{
    const int writesBefore = strip.counting.writes;
    const QList<quint32> rogue = Rogue::run(10);
    EXPECT_EQ(strip.counting.writes, writesBefore);
    EXPECT_EQ(SourceVolume(), int(rogue.last()));
    EXPECT_EQ(strip.guard.Restores(), 0);
}

TEST(PulseConnectionWriteTest, APictureAskedForBeforeAWriteNeverTurnsTheWriteBack)
{
    SKIP_WITHOUT_PULSE();
    Pactl({"set-source-volume", "@DEFAULT_SOURCE@", "30000"});
    PulseConnection connection;
    connection.start();
    connection.waitForFirstAnswer(3000);
    ASSERT_EQ(connection.state(), PulseConnection::State::Ready);
    const QString source = connection.server().defaultSource;
    const auto volume = [&] {
        for (const PulseDeviceInfo &s : connection.server().sources) {
            if (s.name == source)
                return s.volumes.value(0);
        }
        return 0u;
    };
    QList<quint32> seen;
    QObject::connect(&connection, &PulseConnection::serverChanged, [&] { seen.append(volume()); });

    // Another program's change makes the connection ask for a new picture;
    // while that is on its way, this program writes. The picture that comes
    // back shows the server before the write, and must not undo it. The
    // write goes out when the event loop is about to wait for that picture;
    // a server that answered before the loop waited is asked again.
    bool written = false;
    int tries = 0;
    for (; tries < 20 && !written; ++tries) {
        QEventLoop loop;
        QTimer::singleShot(500, &loop, &QEventLoop::quit);
        const QMetaObject::Connection beforeWait =
            QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, [&] {
                if (!written && connection.loading()) {
                    seen.clear(); // what came before the write
                    written = connection.setVolumes(true, source, {50000, 50000});
                    loop.quit();
                }
            });
        QProcess::startDetached("pactl", {"set-source-volume", "@DEFAULT_SOURCE@", QString::number(40000 + tries)});
        loop.exec();
        QObject::disconnect(beforeWait);
    }
    std::printf("write while a picture was on its way: try %d\n", tries);
    ASSERT_TRUE(written);
    ASSERT_TRUE(WaitFor([&] { return !connection.loading() && !seen.isEmpty() && seen.last() == 50000; }, 2000));
    Spin(200);
    EXPECT_EQ(seen.last(), 50000u);
    EXPECT_EQ(seen.count(50000u), seen.size()) << "a picture from before the write was taken";

    // A write another program overrides at once is not held for ever: the
    // connection shows the other program's value once the write no longer stands.
    ASSERT_TRUE(connection.setVolumes(true, source, {20000, 20000}));
    QCoreApplication::processEvents(); // the write goes out; the server's answer waits
    QThread::msleep(50);
    Pactl({"set-source-volume", "@DEFAULT_SOURCE@", "30000"});
    EXPECT_TRUE(WaitFor([&] { return volume() == 30000; }, PulseConnection::ConfirmMs + 1000)) << volume();
    Pactl({"set-source-volume", "@DEFAULT_SOURCE@", "100%"});
}

TEST(VolumeGuardAlsaTest, AmixerChangesOfTheFixtureCardAreWrittenBack)
{
    FixtureAlsaConfig config;
    ASSERT_TRUE(config.isValid());
    AlsaMixerService alsa;
    GuardedStrip strip{alsa};
    ASSERT_EQ(strip.open(), QString());
    ASSERT_EQ(strip.bind(0, 1, 0), QString()); // the card's recording MAIN: "Capture"
    strip.guard.SetOn(true);
    const std::optional<quint32> guarded = strip.guard.GuardedLevel();
    ASSERT_TRUE(guarded);
    const QString before = RunProgram("amixer", {"-D", "default", "sget", "Capture"});

    // Another program (amixer, a process of its own) turns the card's capture
    // up and down: each change is written back, once.
    int changes = 0;
    for (const char *level : {"60", "5", "63", "10", "50"}) {
        RunProgram("amixer", {"-q", "-D", "default", "sset", "Capture", level});
        ++changes;
        EXPECT_TRUE(WaitFor([&] { return strip.counting.writes == changes; }, 2000)) << level;
        EXPECT_EQ(RunProgram("amixer", {"-D", "default", "sget", "Capture"}), before) << level;
    }
    Spin(200);
    EXPECT_EQ(strip.counting.writes, changes);
    EXPECT_EQ(strip.guard.GuardedLevel(), guarded);

    // Off: amixer's change stays.
    strip.guard.SetOn(false);
    RunProgram("amixer", {"-q", "-D", "default", "sset", "Capture", "7"});
    Spin(300);
    EXPECT_EQ(strip.counting.writes, changes);
    EXPECT_NE(RunProgram("amixer", {"-D", "default", "sget", "Capture"}), before);
}

} // namespace
