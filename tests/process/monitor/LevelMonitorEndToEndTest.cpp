// The real binary's level monitor on the private PulseAudio and a real X
// display: a loud tone plays into the null sink, a real mouse click on "Auto"
// starts the monitor, and the default source's volume falls in steps of 8 until
// the tone stays under the cut level; closing saves the cut level.
#include "platform/linux/SettingsFileStore.h"
#include "platform/linux/LocalInstance.h"
#include "support/TempXdg.h"
#include "support/TestProcesses.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <gtest/gtest.h>

using namespace nuvask;

TEST(LevelMonitorEndToEnd, AutoClickedInTheRealWindowLowersTheCaptureVolumeUntilTheToneFits)
{
    if (const QString why = test::MissingForRealWindow({"xdotool", "sox"}); !why.isEmpty())
        GTEST_SKIP() << why.toStdString();
    test::TempXdg xdg;
    test::StoreInstalledSettings({{"FP", "0,0"}, {"V_CUT", "16384"}});
    test::RunProgram("pactl", {"set-sink-volume", "rec_sink", "100%"});
    test::RunProgram("pactl", {"set-source-volume", "@DEFAULT_SOURCE@", "100%"});
    test::RunProgram("pactl", {"set-source-mute", "@DEFAULT_SOURCE@", "0"});

    // A 1 kHz tone at 30000 of 32768, played with low latency so that the
    // sink never idles.
    const QString tone = xdg.root() + "/tone.wav";
    test::RunProgram("sox", {"-n", "-r", "44100", "-c", "2", "-b", "16", tone, "synth", "30", "sine", "1000", "vol", "0.9155"});
    QProcess player;
    player.start("paplay", {"--latency-msec=20", "--device=rec_sink", tone});
    ASSERT_TRUE(player.waitForStarted(5000));

    QProcess app;
    ASSERT_TRUE(test::StartOnTestDisplay(app));
    const QProcessEnvironment env = test::TestDisplayEnvironment();
    LocalInstanceProbe probe(200, 1000);
    ASSERT_TRUE(QTest::qWaitFor([&] { return probe.windowExists("TKELDO_NUVASK"); }, 10000));
    QTest::qWait(1500); // the strips are bound 300 ms after the window exists

    // "Auto" sits at the top of the level meter panel, the right-most panel while the editor
    // is closed; the client area (top row 17 + panels 223) is under the menu.
    const QString window = test::RunProgram("xdotool", {"search", "--onlyvisible", "--name", "^nuvASK$"}, env).section('\n', 0, 0).trimmed();
    ASSERT_FALSE(window.isEmpty());
    const QString geometry = test::RunProgram("xdotool", {"getwindowgeometry", "--shell", window}, env);
    const int width = QRegularExpression("WIDTH=(\\d+)").match(geometry).captured(1).toInt();
    const int height = QRegularExpression("HEIGHT=(\\d+)").match(geometry).captured(1).toInt();
    ASSERT_GT(height, 17 + 223) << geometry.toStdString();
    const int menu = height - (17 + 223);
    const QString x = QString::number(width - 38 + 1 + 18), y = QString::number(menu + 17 + 2 + 8);
    test::RunProgram("xdotool", {"mousemove", "--window", window, x, y, "click", "1"}, env);

    // Falls in steps of 2048 units (the server's 65536 is the mixer's 65535),
    // then holds once the tone stays below 16384: 208 of 256 steps.
    QElapsedTimer stable;
    int last = test::SourceVolume();
    stable.start();
    QList<int> seen{last};
    const bool settled = QTest::qWaitFor(
        [&] {
            const int now = test::SourceVolume();
            if (now != last) {
                last = now;
                seen.append(now);
                stable.restart();
            }
            return seen.size() > 1 && stable.elapsed() > 2000;
        },
        25000);
    EXPECT_TRUE(settled) << "volume stayed at " << last;
    for (const int volume : seen) {
        // The server's 100 % is 65536 where the mixer's is 65535: a step is
        // 256 server units give or take one.
        EXPECT_NEAR(volume, qRound(volume / 2048.0) * 2048, 2) << volume;
    }
    EXPECT_LE(qRound(last / 256.0), 208);
    EXPECT_GE(qRound(last / 256.0), 192);
    // Through its own record stream on the server, not ALSA's pulse plugin.
    EXPECT_TRUE(test::RunProgram("pactl", {"list", "source-outputs"}).contains("nuvASK recording level"))
        << "the monitor does not capture through the server's own stream";

    app.terminate(); // SIGTERM: closed as the user would close it
    ASSERT_TRUE(app.waitForFinished(10000));
    EXPECT_EQ(app.exitStatus(), QProcess::NormalExit);
    player.kill();
    player.waitForFinished(5000);
    EXPECT_EQ(test::StoredSetting("V_CUT"), QString("16384"));
    test::RunProgram("pactl", {"set-source-volume", "@DEFAULT_SOURCE@", "100%"});
}
