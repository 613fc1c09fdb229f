// The real binary, copied into a folder of its own beside its registered-volume
// files, on the private PulseAudio and a real X display: the user chooses a
// preset with the mouse and keyboard and applies it, and the server's recording
// volume is that value on the step scale; at close both files are written back
// and the chosen name is remembered.
#include "platform/linux/HiveFileRegistry.h"
#include "platform/linux/LocalInstance.h"
#include "support/TempXdg.h"
#include "support/TestProcesses.h"
#include "support/TestFiles.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <cmath>

using namespace nuvask;

namespace {

QByteArray bytesOf(const QString &path)
{
    return test::ReadFile(path, "<missing>");
}

} // namespace

TEST(RegisteredVolumesEndToEnd, AChosenPresetSetsTheServersRecordingVolume)
{
    if (const QString why = test::MissingForRealWindow({"xdotool"}); !why.isEmpty())
        GTEST_SKIP() << why.toStdString();

    test::TempXdg xdg;
    test::StoreInstalledSettings({{"FP", "0,0"}, {"V_Name", "QUIET"}});

    // The files live beside the program: give this run a program folder.
    QTemporaryDir programDir;
    const QString program = programDir.path() + "/nuvask";
    ASSERT_TRUE(QFile::copy(QStringLiteral(NUVASK_BINARY), program));
    const QString names = programDir.path() + "/NUVASKVN.LIS";
    const QString values = programDir.path() + "/NUVASKVR.LIS";
    test::WriteFile(names, "quiet\r\nloud\r\n");
    test::WriteFile(values, "40\r\n100\r\n");
    test::RunProgram("pactl", {"set-source-volume", "@DEFAULT_SOURCE@", "50%"});

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("DISPLAY", qEnvironmentVariable("NUVASK_TEST_DISPLAY"));
    QProcess app;
    app.setProcessEnvironment(env);
    app.setProgram(program);
    app.setProcessChannelMode(QProcess::ForwardedChannels);
    app.start();
    ASSERT_TRUE(app.waitForStarted(5000));
    LocalInstanceProbe probe(200, 1000);
    ASSERT_TRUE(QTest::qWaitFor([&] { return probe.windowExists("TKELDO_NUVASK"); }, 10000));
    QTest::qWait(2500); // milliseconds: the strips and the list are filled 300 ms after the window exists

    // Where the window is: xdotool reports the whole window, menu bar included;
    // the client area (top row 17 + panels 201 pixels) is at its bottom.
    const auto xdotool = [&](const QStringList &args) { return test::RunProgram("xdotool", args, env).trimmed(); };
    const QString id = xdotool({"search", "--onlyvisible", "--name", "^nuvASK$"}).section('\n', 0, 0);
    ASSERT_FALSE(id.isEmpty());
    const QString shell = xdotool({"getwindowgeometry", "--shell", id});
    const auto field = [&](const char *name) {
        return QRegularExpression(QStringLiteral("%1=(-?\\d+)").arg(QLatin1String(name)))
            .match(shell)
            .captured(1)
            .toInt();
    };
    const int clientTop = field("Y") + field("HEIGHT") - (17 + 201);
    const int pv2Left = field("X") + 58 + 3 + 58 + 3; // strips 0 and 1 with their splitters
    const int pv2Top = clientTop + 17;
    const auto clickAt = [&](int x, int y) {
        xdotool({"mousemove", "--sync", QString::number(x), QString::number(y)});
        xdotool({"click", "1"});
        QTest::qWait(200);
    };

    // The saved name picked "quiet" (40); choose "loud" (100) in the list.
    clickAt(pv2Left + 30, pv2Top + 34); // ComboBox_REC: its popup opens
    xdotool({"key", "Up"});
    xdotool({"key", "Return"});
    QTest::qWait(200);
    clickAt(pv2Left + 52 + 18, pv2Top + 110 + 8); // "設定値"

    int server = -1;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            server = test::SourceVolume();
            return std::lround(server * 65535.0 / 65536.0 / 256.0) == 100;
        },
        5000))
        << "server volume " << server;

    app.terminate(); // closed as the user would close it: the lists are saved
    ASSERT_TRUE(app.waitForFinished(10000));
    EXPECT_EQ(bytesOf(names), QByteArray("loud\r\nquiet\r\n"));
    EXPECT_EQ(bytesOf(values), QByteArray("100\r\n40\r\n"));
    EXPECT_EQ(test::StoredSetting("V_Name"), QString("loud"));
    test::RunProgram("pactl", {"set-source-volume", "@DEFAULT_SOURCE@", "100%"});
}
