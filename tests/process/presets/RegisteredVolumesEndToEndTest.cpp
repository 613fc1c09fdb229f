// The real binary, copied into a folder of its own beside its registered-volume
// files, on the private PulseAudio and a real X display: the user chooses a
// preset with the mouse and keyboard and applies it, and the server's recording
// volume is that value on the step scale; at close both files are written back
// and the chosen name is remembered. Files past the read limits are reported
// at start and left exactly as they were.
#include "platform/linux/LocalInstance.h"
#include "support/TempXdg.h"
#include "support/TestFiles.h"
#include "support/TestProcesses.h"

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

class RegisteredVolumesEndToEnd : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (const QString why = test::MissingForRealWindow({"xdotool"}); !why.isEmpty())
            GTEST_SKIP() << why.toStdString();
        env.insert("QT_QPA_PLATFORM", "xcb");
        env.insert("DISPLAY", qEnvironmentVariable("NUVASK_TEST_DISPLAY"));
    }

    // The program in a folder of its own (the files live beside it), with
    // these settings and list files; started on the test display.
    void Start(const QList<QPair<QString, QString>> &settings, const QByteArray &namesBytes,
               const QByteArray &valuesBytes, QProcess::ProcessChannelMode channels)
    {
        test::StoreInstalledSettings(settings);
        const QString program = programDir.path() + "/nuvask";
        ASSERT_TRUE(QFile::copy(QStringLiteral(NUVASK_BINARY), program));
        test::WriteFile(names(), namesBytes);
        test::WriteFile(values(), valuesBytes);
        app.setProcessEnvironment(env);
        app.setProgram(program);
        app.setProcessChannelMode(channels);
        app.start();
        ASSERT_TRUE(app.waitForStarted(5000));
    }

    QString xdotool(const QStringList &args) const { return test::RunProgram("xdotool", args, env).trimmed(); }
    QString names() const { return programDir.path() + "/NUVASKVN.LIS"; }
    QString values() const { return programDir.path() + "/NUVASKVR.LIS"; }

    test::TempXdg xdg;
    QTemporaryDir programDir;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QProcess app;
};

} // namespace

TEST_F(RegisteredVolumesEndToEnd, AChosenPresetSetsTheServersRecordingVolume)
{
    test::RunProgram("pactl", {"set-source-volume", "@DEFAULT_SOURCE@", "50%"});
    Start({{"FP", "0,0"}, {"V_Name", "QUIET"}}, "quiet\r\nloud\r\n", "40\r\n100\r\n",
          QProcess::ForwardedChannels);
    LocalInstanceProbe probe(200, 1000);
    ASSERT_TRUE(QTest::qWaitFor([&] { return probe.windowExists("TKELDO_NUVASK"); }, 10000));
    QTest::qWait(2500); // milliseconds: the strips and the list are filled 300 ms after the window exists

    // Where the window is: xdotool reports the whole window, menu bar included;
    // the client area (top row 17 + panels 223 pixels) is at its bottom.
    const QString id = xdotool({"search", "--onlyvisible", "--name", "^nuvASK$"}).section('\n', 0, 0);
    ASSERT_FALSE(id.isEmpty());
    const QString shell = xdotool({"getwindowgeometry", "--shell", id});
    const auto field = [&](const char *name) {
        return QRegularExpression(QStringLiteral("%1=(-?\\d+)").arg(QLatin1String(name)))
            .match(shell)
            .captured(1)
            .toInt();
    };
    const int clientTop = field("Y") + field("HEIGHT") - (17 + 223);
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
    EXPECT_EQ(bytesOf(names()), QByteArray("loud\r\nquiet\r\n"));
    EXPECT_EQ(bytesOf(values()), QByteArray("100\r\n40\r\n"));
    EXPECT_EQ(test::StoredSetting("V_Name"), QString("loud"));
    test::RunProgram("pactl", {"set-source-volume", "@DEFAULT_SOURCE@", "100%"});
}

TEST_F(RegisteredVolumesEndToEnd, FilesPastTheLimitsAreToldAtStartAndUntouchedAtClose)
{
    // 10 050 names, one of them 300 bytes long, and a values file past a mebibyte.
    QByteArray namesBytes, valuesBytes;
    for (int i = 0; i < 10050; ++i)
        namesBytes += (i == 7 ? QByteArray(300, 'L') : "name" + QByteArray::number(i)) + "\r\n";
    while (valuesBytes.size() <= 1024 * 1024)
        valuesBytes += QByteArray::number(valuesBytes.size() % 257) + "\r\n";
    Start({{"FP", "0,0"}}, namesBytes, valuesBytes, QProcess::SeparateChannels);

    // Told at start, on the error output and in a box, which the user closes.
    QByteArray told;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            told += app.readAllStandardError();
            return told.contains(QString::fromUtf8("一部しか読めませんでした").toUtf8());
        },
        15000));
    EXPECT_TRUE(told.contains("10000")) << told.constData();
    EXPECT_TRUE(told.contains("255")) << told.constData();
    EXPECT_TRUE(told.contains("1048576")) << told.constData();
    // The box carries the program's title; the main window is "nuvASK".
    const QString box = xdotool(
        {"search", "--sync", "--onlyvisible", "--all", "--pid", QString::number(app.processId()), "--name", "DORIVA SOUND"});
    ASSERT_FALSE(box.isEmpty());
    xdotool({"windowfocus", box.section('\n', 0, 0)});
    xdotool({"key", "Return"});
    QTest::qWait(2500); // milliseconds: the rest of the start-up

    app.terminate(); // closed as the user would close it: everything is saved
    ASSERT_TRUE(app.waitForFinished(10000));
    EXPECT_EQ(bytesOf(names()), namesBytes);
    EXPECT_EQ(bytesOf(values()), valuesBytes);
    // The close did save (the settings of a completed start-up), only not the lists.
    EXPECT_EQ(test::StoredSetting("V_Name"), QString(255, QLatin1Char('L'))); // the first in the list
}
