// The real binary on Xvfb with a real notification area (trayer): "Tray"
// puts the window away and an icon appears in the tray; the tray menu's two
// items (back, and the level history without coming back), a click on that
// icon, a second start and a SIGTERM each do what they must while it is there.
// Clicks are real X events from xdotool.
#include "platform/linux/SettingsFileStore.h"
#include "support/TempXdg.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRect>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTest>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/types.h>

using namespace nuvask;

namespace {

const QString kKey = "Software\\KELDO SOFT32\\NUVASK";

// Where Btn_TRAY sits in the window (pixels): PV2 starts after PV0, Splitter1,
// PV1 and Splitter2 (58 + 3 + 58 + 3) below the menu bar and the 17-pixel
// top row; the button is 30 x 15 at (58, 131) on PV2.
constexpr int kClientHeight = 17 + 223; // the top row and the panels
constexpr QPoint kTrayButtonCentre(122 + 58 + 15, 17 + 131 + 7);

struct TrayOnXvfb : ::testing::Test
{
    test::TempXdg xdg;
    SettingsFileStore reg;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QList<QProcess *> procs;

    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("PULSE_SERVER") || qEnvironmentVariableIsEmpty("NUVASK_TEST_DISPLAY") ||
            qEnvironmentVariableIsEmpty("NUVASK_TEST_TRAYER_PID"))
            GTEST_SKIP() << "needs the PulseAudio, Xvfb and trayer of scripts/with-services.sh";
        if (QStandardPaths::findExecutable("xdotool").isEmpty())
            GTEST_SKIP() << "needs xdotool";
        reg.open(SettingsRoot::CurrentUser, kKey, true)->writeString("Version", "23");
        env.insert("QT_QPA_PLATFORM", "xcb");
        env.insert("DISPLAY", qEnvironmentVariable("NUVASK_TEST_DISPLAY"));
    }
    // An X server of the test's own, with no notification area on it.
    bool startBareDisplay()
    {
        auto *x = new QProcess;
        procs << x;
        // -displayfd 1: Xvfb picks a free display and writes its number to stdout.
        x->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        x->start("Xvfb", {"-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp", "-noreset"});
        if (!x->waitForStarted(5000) || !QTest::qWaitFor([&] { return x->canReadLine(); }, 10000))
            return false;
        env.insert("DISPLAY", ":" + QString::fromLatin1(x->readLine()).trimmed());
        // Xvfb names its display a moment before it takes connections: a client
        // started at once is now and then refused ("could not connect to display").
        return QTest::qWaitFor([&] { return !xdotool({"getdisplaygeometry"}).isEmpty(); }, 10000);
    }
    void TearDown() override
    {
        // Newest first: the programs before the display they run on.
        std::reverse(procs.begin(), procs.end());
        for (QProcess *p : procs) {
            if (p->state() != QProcess::NotRunning) {
                p->kill();
                p->waitForFinished(3000);
            }
            delete p;
        }
    }
    QProcess *launch()
    {
        auto *p = new QProcess;
        procs << p;
        p->setProcessEnvironment(env);
        p->setProgram(QStringLiteral(NUVASK_BINARY));
        p->setProcessChannelMode(QProcess::ForwardedChannels);
        p->start();
        p->waitForStarted(5000);
        return p;
    }
    QString xdotool(const QStringList &args)
    {
        QProcess x;
        x.setProcessEnvironment(env);
        x.start("xdotool", args);
        x.waitForFinished(5000);
        return QString::fromLocal8Bit(x.readAllStandardOutput()).trimmed();
    }
    QRect geometry(const QString &window)
    {
        QRect r;
        for (const QString &line : xdotool({"getwindowgeometry", "--shell", window}).split('\n')) {
            const QString value = line.section('=', 1);
            if (line.startsWith("X="))
                r.moveLeft(value.toInt());
            else if (line.startsWith("Y="))
                r.moveTop(value.toInt());
            else if (line.startsWith("WIDTH="))
                r.setWidth(value.toInt());
            else if (line.startsWith("HEIGHT="))
                r.setHeight(value.toInt());
        }
        return r;
    }
    // Shown windows of the program: the main window (its caption), the icon
    // that trayer holds in its 200 x 32 panel at the top right, and any other
    // (the tray menu, a message box).
    enum class Kind { Main, TrayIcon, Other };
    Kind kindOf(const QString &id, const QRect &r)
    {
        if (r.top() < 32 && r.height() <= 32 && r.width() <= 32)
            return Kind::TrayIcon;
        return xdotool({"getwindowname", id}) == "nuvASK" ? Kind::Main : Kind::Other;
    }
    QString shown(Kind kind)
    {
        const QStringList ids =
            xdotool({"search", "--onlyvisible", "--class", "nuvask"}).split('\n', Qt::SkipEmptyParts);
        for (const QString &id : ids) {
            const QRect r = geometry(id);
            if (r.width() > 0 && kindOf(id, r) == kind)
                return id;
        }
        return {};
    }
    bool inTray() { return shown(Kind::Main).isEmpty() && !shown(Kind::TrayIcon).isEmpty(); }
    bool backFromTray() { return !shown(Kind::Main).isEmpty() && shown(Kind::TrayIcon).isEmpty(); }
    QString describeShown()
    {
        QStringList out;
        for (const QString &id :
             xdotool({"search", "--onlyvisible", "--class", "nuvask"}).split('\n', Qt::SkipEmptyParts)) {
            const QRect r = geometry(id);
            out << QString("%1 '%2' %3,%4 %5x%6")
                       .arg(id, xdotool({"getwindowname", id}))
                       .arg(r.x())
                       .arg(r.y())
                       .arg(r.width())
                       .arg(r.height());
        }
        return out.join("; ");
    }
    bool waitFor(const std::function<bool()> &condition, int ms = 5000) { return QTest::qWaitFor(condition, ms); }
    // The window the pointer finds at `screen`: the one in front there.
    QString windowAt(QPoint screen)
    {
        xdotool({"mousemove", QString::number(screen.x()), QString::number(screen.y())});
        for (const QString &line : xdotool({"getmouselocation", "--shell"}).split('\n')) {
            if (line.startsWith("WINDOW="))
                return line.section('=', 1);
        }
        return {};
    }
    void click(QPoint screen, int button = 1)
    {
        xdotool(
            {"mousemove", QString::number(screen.x()), QString::number(screen.y()), "click", QString::number(button)});
    }
    // Clicks "Tray" (the window shown again may be a new native window: it is
    // looked up anew).
    void clickTray()
    {
        const QString window = shown(Kind::Main);
        ASSERT_FALSE(window.isEmpty());
        const QRect r = geometry(window);
        const int menuHeight = r.height() - kClientHeight;
        click(r.topLeft() + QPoint(0, menuHeight) + kTrayButtonCentre);
    }
    // Clicks "Tray" and waits until the window is gone and its icon stands.
    void putAway()
    {
        ASSERT_NO_FATAL_FAILURE(clickTray());
        ASSERT_TRUE(waitFor([&] { return inTray(); }))
            << "window still shown or no icon in the tray; shown: " << describeShown().toStdString();
    }
};

} // namespace

TEST_F(TrayOnXvfb, TrayPutsTheWindowAwayAndTheMenuClickSecondStartAndTerminationWork)
{
    QProcess *app = launch();
    ASSERT_TRUE(waitFor([&] { return !shown(Kind::Main).isEmpty(); }, 10000));
    // The icon gets its image in the deferred start, once the mixer is open.
    QTest::qWait(1500);
    EXPECT_TRUE(shown(Kind::TrayIcon).isEmpty()); // no icon before "Tray"

    // Right press: the menu at the cursor; its first item brings the window back.
    ASSERT_NO_FATAL_FAILURE(putAway());
    const QRect icon = geometry(shown(Kind::TrayIcon));
    EXPECT_GE(icon.left(), 1280 - 200); // inside trayer's panel
    const auto openMenu = [&] {
        click(geometry(shown(Kind::TrayIcon)).center(), 3);
        QString menu;
        EXPECT_TRUE(waitFor([&] { return !(menu = shown(Kind::Other)).isEmpty(); })) << describeShown().toStdString();
        EXPECT_EQ(xdotool({"search", "--onlyvisible", "--class", "nuvask"}).split('\n').size(), 2); // one menu only
        return geometry(menu);
    };
    const int itemMiddle = 12; // pixels from the menu's edge into its first or last item
    QRect menu = openMenu();
    click(QPoint(menu.center().x(), menu.top() + itemMiddle));
    ASSERT_TRUE(waitFor([&] { return backFromTray(); })) << "the menu item did not bring the window back";

    // Its last item opens the level history, and the window stays in the tray.
    ASSERT_NO_FATAL_FAILURE(putAway());
    menu = openMenu();
    click(QPoint(menu.center().x(), menu.bottom() - itemMiddle));
    QString history;
    ASSERT_TRUE(waitFor([&] {
        return !(history = xdotool({"search", "--onlyvisible", "--name", "録音レベルの履歴"})).isEmpty();
    })) << describeShown().toStdString();
    EXPECT_TRUE(inTray());
    xdotool({"key", "--window", history, "Escape"});
    ASSERT_TRUE(waitFor([&] { return xdotool({"search", "--onlyvisible", "--name", "録音レベルの履歴"}).isEmpty(); }))
        << "Esc did not close the level history";

    // Left press: back at once (the menu's showing ended the busy time).
    click(geometry(shown(Kind::TrayIcon)).center());
    ASSERT_TRUE(waitFor([&] { return backFromTray(); })) << "a click on the icon did not bring the window back";

    ASSERT_NO_FATAL_FAILURE(putAway());
    QProcess *second = launch();
    ASSERT_TRUE(second->waitForFinished(5000));
    EXPECT_EQ(second->exitCode(), 0);
    ASSERT_TRUE(waitFor([&] { return backFromTray(); })) << "a second start did not bring the window back";

    // Ended while in the tray: closed as the user would close it, saving.
    ASSERT_NO_FATAL_FAILURE(putAway());
    app->terminate();
    ASSERT_TRUE(app->waitForFinished(10000));
    EXPECT_EQ(app->exitStatus(), QProcess::NormalExit);
    auto settings = reg.open(SettingsRoot::CurrentUser, kKey, false);
    ASSERT_NE(settings, nullptr);
    EXPECT_FALSE(settings->readString("FP").isEmpty());
}

TEST_F(TrayOnXvfb, OnAnXServerWithoutATrayTrayKeepsTheWindowAndSaysWhy)
{
    ASSERT_TRUE(startBareDisplay());
    QProcess *app = launch();
    ASSERT_TRUE(waitFor([&] { return !shown(Kind::Main).isEmpty(); }, 10000));
    QTest::qWait(1500); // the deferred start
    ASSERT_NO_FATAL_FAILURE(clickTray());
    QString box;
    ASSERT_TRUE(waitFor([&] { return !(box = shown(Kind::Other)).isEmpty(); })) << describeShown().toStdString();
    EXPECT_FALSE(shown(Kind::Main).isEmpty());
    EXPECT_TRUE(shown(Kind::TrayIcon).isEmpty());
    xdotool({"key", "--window", box, "Return"});
    ASSERT_TRUE(waitFor([&] { return shown(Kind::Other).isEmpty(); })) << "the message box did not close";
    EXPECT_FALSE(shown(Kind::Main).isEmpty());
    app->terminate();
    ASSERT_TRUE(app->waitForFinished(10000));
    EXPECT_EQ(app->exitStatus(), QProcess::NormalExit);
}

TEST_F(TrayOnXvfb, ATrayClickWhileTheWindowStartsShowsItsMessageInFrontWhateverItsStayOnTop)
{
    // "Tray" pressed before the window has its tray image (the first 300 ms)
    // says so in a message box; the start then goes on under the box and
    // brings the window forward. The box must stay in front: a window blocked
    // by a box nobody sees looks frozen. Whether the click lands before the
    // start is done is up to timing, so a start that was quicker is tried again.
    for (const QString &stayOnTop : {QStringLiteral("1"), QStringLiteral("0")}) {
        reg.open(SettingsRoot::CurrentUser, kKey, true)->writeString("MostTOP", stayOnTop);
        bool sawBox = false;
        for (int attempt = 0; attempt < 8 && !sawBox; ++attempt) {
            QProcess *app = launch();
            ASSERT_TRUE(waitFor([&] { return !shown(Kind::Main).isEmpty(); }, 10000));
            ASSERT_NO_FATAL_FAILURE(clickTray());
            // The message box, by its caption (a tool-tip of "Tray" is a
            // window of the program too).
            QString box;
            const auto boxShown = [&] {
                box = shown(Kind::Other);
                return !box.isEmpty() && xdotool({"getwindowname", box}) == QStringLiteral("DORIVA SOUND ボリューム");
            };
            waitFor([&] { return boxShown() || inTray(); }, 5000);
            if (boxShown()) {
                sawBox = true;
                QTest::qWait(1500); // the start has run under the box
                EXPECT_EQ(windowAt(geometry(box).center()), box)
                    << "MostTOP=" << stayOnTop.toStdString() << ", shown: " << describeShown().toStdString();
                // Both halves of the key through the server: a release sent
                // to a box gone already would leave Enter held down.
                xdotool({"windowfocus", "--sync", box, "key", "Return"});
                EXPECT_TRUE(waitFor([&] { return shown(Kind::Other).isEmpty(); })) << "the box did not close";
            }
            app->terminate();
            ASSERT_TRUE(app->waitForFinished(10000));
        }
        EXPECT_TRUE(sawBox) << "every start was done before the click (MostTOP=" << stayOnTop.toStdString() << ")";
    }
}

TEST_F(TrayOnXvfb, WhenTheTrayGoesTheWindowComesBackAndItsIconStandsInTheNextTray)
{
    const QString pidFile = qEnvironmentVariable("NUVASK_TEST_TRAYER_PIDFILE");
    const QString restart = qEnvironmentVariable("NUVASK_TEST_TRAYER_RESTART");
    if (pidFile.isEmpty() || restart.isEmpty())
        GTEST_SKIP() << "needs the restartable trayer of scripts/with-services.sh";
    QProcess *app = launch();
    ASSERT_TRUE(waitFor([&] { return !shown(Kind::Main).isEmpty(); }, 10000));
    QTest::qWait(1500); // the deferred start gives the icon its image
    ASSERT_NO_FATAL_FAILURE(putAway());

    // The notification area ends (its panel crashed, say): by its process id.
    QFile file(pidFile);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const auto trayer = static_cast<pid_t>(file.readAll().trimmed().toLongLong());
    ASSERT_GT(trayer, 0);
    bool restarted = false;
    // Whatever happens below, the tests after this one find a tray again.
    const auto again = qScopeGuard([&] {
        if (!restarted)
            QProcess::execute("bash", {restart});
    });
    ASSERT_EQ(::kill(trayer, SIGTERM), 0);
    EXPECT_TRUE(waitFor([&] { return !shown(Kind::Main).isEmpty(); }, 3000))
        << "the window stayed hidden with no tray to come back from; shown: " << describeShown().toStdString();
    EXPECT_TRUE(shown(Kind::TrayIcon).isEmpty());

    // A tray again: the icon stands in it; the window stays where it is.
    restarted = QProcess::execute("bash", {restart}) == 0;
    ASSERT_TRUE(restarted);
    EXPECT_TRUE(waitFor([&] { return !shown(Kind::TrayIcon).isEmpty(); }))
        << "no icon in the new tray; shown: " << describeShown().toStdString();
    EXPECT_FALSE(shown(Kind::Main).isEmpty());
    // It works as before: a click takes it away, and "Tray" puts the window
    // into the new tray.
    // A new tray lays out its icons after it embeds them: click where the icon settled.
    QRect icon;
    QElapsedTimer settled;
    settled.start();
    ASSERT_TRUE(waitFor([&] {
        const QRect now = geometry(shown(Kind::TrayIcon));
        if (now != icon)
            settled.restart();
        icon = now;
        return settled.elapsed() >= 500;
    })) << describeShown().toStdString();
    click(icon.center());
    ASSERT_TRUE(waitFor([&] { return backFromTray(); })) << describeShown().toStdString();
    ASSERT_NO_FATAL_FAILURE(putAway());
    app->terminate();
    ASSERT_TRUE(app->waitForFinished(10000));
}
