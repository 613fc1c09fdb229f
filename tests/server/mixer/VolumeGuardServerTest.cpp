// The volume guard against real devices: the private sound server of the test
// script (PulseAudio, or PipeWire through pipewire-pulse) with another program
// raising the recording volume every 200 ms, and the ALSA fixture card changed
// by amixer, a process of its own.
#include "support/VolumeStripHarness.h"
#include "tests/server/MixerAlsaSupport.h"

#include "core/mixer/VolumeGuard.h"
#include "platform/alsa/AlsaMixerService.h"
#include "platform/sound/DesktopMixerService.h"

#include <QLabel>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace nuvask;
using namespace nuvask::test;

namespace {

constexpr int RogueEveryMs = 200;
const QString Source = QStringLiteral("@DEFAULT_SOURCE@");

// Another program: pactl raising the default source every 200 ms, each time
// to a new value. Returns the values, in order.
QList<quint32> RunRogue(int changes)
{
    QList<quint32> values;
    std::vector<std::unique_ptr<QProcess>> running;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        values.append(45000 + quint32(values.size()) * 300);
        running.push_back(std::make_unique<QProcess>());
        running.back()->start("pactl", {"set-source-volume", Source, QString::number(values.last())});
        if (values.size() == changes)
            timer.stop();
    });
    timer.start(RogueEveryMs);
    WaitFor([&] { return !timer.isActive(); }, changes * RogueEveryMs * 3);
    for (auto &pactl : running)
        pactl->waitForFinished(3000);
    Spin(RogueEveryMs);
    return values;
}

// A source's channels as pactl prints them (server volumes).
QList<quint32> Channels(const QString &source = Source)
{
    QList<quint32> out;
    auto m = QRegularExpression(QStringLiteral(":\\s*(\\d+)\\s*/")).globalMatch(Pactl({"get-source-volume", source}));
    while (m.hasNext())
        out.append(m.next().captured(1).toUInt());
    return out;
}

// The default source's volume as a client of its own sees it: (ms, every
// channel) at each change.
struct SourceWatcher {
    PulseConnection connection;
    QElapsedTimer clock;
    QList<std::pair<qint64, QList<quint32>>> seen;
    SourceWatcher()
    {
        clock.start();
        QObject::connect(&connection, &PulseConnection::serverChanged, [this] {
            for (const PulseDeviceInfo &s : connection.server().sources) {
                if (s.name == connection.server().defaultSource && (seen.isEmpty() || seen.last().second != s.volumes))
                    seen.append({clock.elapsed(), s.volumes});
            }
        });
        connection.start();
        connection.waitForFirstAnswer(3000);
    }
    // Milliseconds from the first picture showing `changed` to the next
    // showing `back`; -1 when it did not come back.
    qint64 restoreMs(const QList<quint32> &changed, const QList<quint32> &back) const
    {
        for (qsizetype i = 0; i + 1 < seen.size(); ++i) {
            if (seen[i].second == changed)
                return seen[i + 1].second == back ? seen[i + 1].first - seen[i].first : -1;
        }
        return -1;
    }
};

class VolumeGuardServerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SKIP_WITHOUT_PULSE();
        Pactl({"set-source-volume", Source, QString::number(Guarded)});
        ASSERT_EQ(watcher.connection.state(), PulseConnection::State::Ready);
        ASSERT_EQ(w.open(), QString());
        const int device = int(w.layer.DeviceNameList().indexOf("PulseAudio"));
        ASSERT_GE(device, 0);
        ASSERT_EQ(w.bind(2, device, int(w.layer.DestNameList(device).indexOf("Recording")), 0), QString());
        // PipeWire applies a volume a moment after pactl returns.
        ASSERT_TRUE(WaitFor([&] { return w.child<QLabel>(2, "Label_NOW_")->text() == "102"; }, 2000));
    }
    void TearDown() override { Pactl({"set-source-volume", Source, "100%"}); }

    static constexpr quint32 Guarded = 26214; // 40 %, server scale
    SourceWatcher watcher;
    DesktopMixerService service;
    StripTestWindow w{service};
    VolumeGuard guard{w.layer};
};

TEST_F(VolumeGuardServerTest, RogueRaisesAreWrittenBackAtOnceOncePerChangeAndTheUserToldOnce)
{
    QProcess recorder; // records from the input: the program the user is told of
    const auto stop = qScopeGuard([&] { recorder.kill(), recorder.waitForFinished(3000); });
    recorder.setStandardOutputFile(QProcess::nullDevice());
    recorder.start("pacat", {"--record", "--device=" + Source, "--property=application.name=RogueCall"});
    ASSERT_TRUE(WaitFor([] { return Pactl({"list", "source-outputs"}).contains("RogueCall"); }, 3000));
    QSignalSpy told(&guard, &VolumeGuard::fightNoticed);
    guard.SetOn(true);
    const quint64 writesBefore = w.layer.VolumeWrites();
    watcher.seen.clear();

    const QList<quint32> rogue = RunRogue(10000 / RogueEveryMs);
    const int writes = int(w.layer.VolumeWrites() - writesBefore);
    // Every raise another client saw was followed by the guarded level within 100 ms.
    int seenRaises = 0;
    qint64 slowest = 0;
    for (qsizetype i = 0; i < watcher.seen.size(); ++i) {
        if (!rogue.contains(watcher.seen[i].second.value(0)))
            continue;
        ++seenRaises;
        ASSERT_LT(i + 1, watcher.seen.size()) << "the last raise stayed";
        EXPECT_EQ(watcher.seen[i + 1].second.value(0), Guarded);
        slowest = std::max(slowest, watcher.seen[i + 1].first - watcher.seen[i].first);
    }
    std::printf("raises %d, seen by another client %d, program writes %d, slowest restore %lld ms\n",
                int(rogue.size()), seenRaises, writes, static_cast<long long>(slowest));
    EXPECT_GT(seenRaises, rogue.size() / 2);
    EXPECT_LE(slowest, 100);
    EXPECT_EQ(SourceVolume(), int(Guarded));
    EXPECT_LE(writes, rogue.size()); // at most one write per outside change
    EXPECT_GE(writes, seenRaises);

    ASSERT_TRUE(WaitFor([&] { return told.size() > 0; }, 2000));
    EXPECT_EQ(told.size(), 1);
    const QStringList clients = told.at(0).at(0).toStringList();
    EXPECT_TRUE(clients.contains("RogueCall") && !clients.contains("nuvASK")) << clients.join(',').toStdString();
}

TEST_F(VolumeGuardServerTest, AnotherDefaultSourceKeepsItsOwnLevelAndNeitherIsWritten)
{
    // A second input of its own level (a remap of the null sink's monitor, which both servers know).
    const QString first = Pactl({"get-default-source"}).trimmed(), second = "guard_second";
    const QString module = Pactl({"load-module", "module-remap-source", "master=rec_sink.monitor", "source_name=" + second});
    const auto unload = qScopeGuard([&] { Pactl({"unload-module", module.trimmed()}); });
    ASSERT_TRUE(WaitFor([&] { return !Channels(second).isEmpty(); }, 3000));
    Pactl({"set-source-volume", second, "20000"});
    ASSERT_TRUE(WaitFor([&] { return Channels(second).value(0) == 20000; }, 2000));
    guard.SetOn(true);
    const quint64 writes = w.layer.VolumeWrites();

    // The desktop switches the default input (a headset plugged in): both keep
    // their levels, and the new one is guarded at its own.
    Pactl({"set-default-source", second});
    Spin(1000);
    EXPECT_EQ(Channels(first), QList<quint32>({Guarded, Guarded}));
    EXPECT_EQ(Channels(second), QList<quint32>({20000, 20000}));
    EXPECT_EQ(w.layer.VolumeWrites(), writes);
    Pactl({"set-source-volume", second, "30000"});
    EXPECT_TRUE(WaitFor([&] { return Channels(second).value(0) == 20000; }, 2000));

    // Back to the first input, which another program moved meanwhile: its level then.
    Pactl({"set-source-volume", first, "40000"});
    Pactl({"set-default-source", first});
    Spin(1000);
    EXPECT_EQ(Channels(first), QList<quint32>({40000, 40000}));
    EXPECT_EQ(guard.Restores(), 1);
}

TEST_F(VolumeGuardServerTest, ABoostAbove100AndOneChannelAreWrittenBackAndTheOtherChannelNeverMoves)
{
    // Above 100 %, the strip shows the real steps (150 %: 384) over a full bar.
    const QList<quint32> full{65536, 65536};
    Pactl({"set-source-volume", Source, "150%"});
    EXPECT_TRUE(WaitFor([&] { return w.child<QLabel>(2, "Label_NOW_")->text() == "384"; }, 2000));
    Pactl({"set-source-volume", Source, "100%"});
    ASSERT_TRUE(WaitFor([&] { return w.child<QLabel>(2, "Label_NOW_")->text() == "256"; }, 2000));
    guard.SetOn(true);
    const auto rogue = [&](const QStringList &volumes, const QList<quint32> &seen) {
        watcher.seen.clear();
        Pactl(QStringList{"set-source-volume", Source} + volumes);
        EXPECT_TRUE(WaitFor([&] { return watcher.seen.size() >= 2 && watcher.seen.last().second == full; }, 2000));
        const qint64 ms = watcher.restoreMs(seen, full);
        EXPECT_TRUE(ms >= 0 && ms <= 100) << ms << " ms";
        return ms;
    };
    const qint64 boost = rogue({"150%"}, {98304, 98304});
    const qint64 channel = rogue({"65536", "45000"}, {65536, 45000});
    Spin(300);
    for (const auto &[ms, volumes] : std::as_const(watcher.seen))
        EXPECT_EQ(volumes.value(0), 65536u) << "the left channel was written at " << ms << " ms";
    EXPECT_EQ(Channels(), full);
    std::printf("restored from 150 %% in %lld ms, one channel in %lld ms\n", static_cast<long long>(boost),
                static_cast<long long>(channel));
}

TEST_F(VolumeGuardServerTest, GuardOffWritesNothingBack)
{
    const quint64 writesBefore = w.layer.VolumeWrites();
    const QList<quint32> rogue = RunRogue(10);
    EXPECT_EQ(w.layer.VolumeWrites(), writesBefore);
    EXPECT_EQ(SourceVolume(), int(rogue.last()));
}

TEST(PulseConnectionWriteTest, APictureAskedForBeforeAWriteNeverTurnsTheWriteBack)
{
    SKIP_WITHOUT_PULSE();
    Pactl({"set-source-volume", Source, "30000"});
    SourceWatcher watcher;
    PulseConnection &connection = watcher.connection;
    const QString source = connection.server().defaultSource;
    // Another program's change makes the connection read the server; while
    // that read is on its way, this program writes. The picture that comes
    // shows the server before the write and must not undo it.
    connection.holdLoads(true);
    Pactl({"set-source-volume", Source, "40000"});
    ASSERT_TRUE(WaitFor([&] { return connection.holdsLoad(); }, 2000));
    watcher.seen.clear();
    ASSERT_TRUE(connection.setVolumes(true, source, {50000, 50000}));
    connection.holdLoads(false);
    Spin(300);
    const auto held = std::find_if(connection.server().sources.cbegin(), connection.server().sources.cend(),
                                   [&](const PulseDeviceInfo &s) { return s.name == source; });
    ASSERT_NE(held, connection.server().sources.cend());
    EXPECT_EQ(held->volumes.value(0), 50000u);
    for (const auto &[ms, volumes] : std::as_const(watcher.seen))
        EXPECT_EQ(volumes.value(0), 50000u) << "a picture from before the write was taken";

    // A write another program overrides at once is not held for ever.
    ASSERT_TRUE(connection.setVolumes(true, source, {20000, 20000}));
    QCoreApplication::processEvents(); // the write goes out; the server's answer waits
    QThread::msleep(50);
    Pactl({"set-source-volume", Source, "30000"});
    EXPECT_TRUE(WaitFor([&] { return !watcher.seen.isEmpty() && watcher.seen.last().second.value(0) == 30000; },
                        PulseConnection::ConfirmMs + 1000));
    Pactl({"set-source-volume", Source, "100%"});
}

TEST(VolumeGuardAlsaTest, AmixerChangesOfTheFixtureCardAreWrittenBack)
{
    FixtureAlsaConfig config;
    ASSERT_TRUE(config.isValid());
    AlsaMixerService alsa;
    StripTestWindow w{alsa};
    VolumeGuard guard{w.layer};
    ASSERT_EQ(w.open(), QString());
    ASSERT_EQ(w.bind(2, 0, 1, 0), QString()); // the card's recording MAIN: "Capture"
    guard.SetOn(true);
    const auto capture = [] { return RunProgram("amixer", {"-D", "default", "sget", "Capture"}); };
    const QString before = capture();
    int changes = 0;
    // Both channels, and one alone (left as it was, the right moved).
    for (const char *level : {"60", "5", "63", "10", "50", "31,5"}) {
        RunProgram("amixer", {"-q", "-D", "default", "sset", "Capture", level});
        ++changes;
        EXPECT_TRUE(WaitFor([&] { return w.layer.VolumeWrites() == quint64(changes); }, 2000)) << level;
        EXPECT_EQ(capture(), before) << level;
    }
    Spin(200);
    EXPECT_EQ(w.layer.VolumeWrites(), quint64(changes)); // once per change

    guard.SetOn(false);
    RunProgram("amixer", {"-q", "-D", "default", "sset", "Capture", "7"});
    Spin(300);
    EXPECT_EQ(w.layer.VolumeWrites(), quint64(changes));
    EXPECT_NE(capture(), before);
}

} // namespace
