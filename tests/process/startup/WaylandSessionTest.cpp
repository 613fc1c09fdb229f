// The real program in a Wayland session: weston, headless, with XWayland
// (scripts/with-services.sh). Where the compositor put the window is asked
// of the compositor itself (weston-debug scene-graph), not of the program.
#include "process/ProgramRuns.h"

#include "core/settings/SettingsStore.h"
#include "platform/linux/SettingsFileStore.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>
#include <gtest/gtest.h>

#include <optional>

using namespace nuvask;
using test::ProgramRuns;

namespace {

// weston gives an X window a frame with an invisible 32-pixel shadow around
// it; the view it lists starts at the shadow's edge, the frame one can see
// 32 pixels further in.
constexpr int kWestonShadow = 32; // pixels

// Where weston shows the top-level window titled `title` now (the view's
// top left).
std::optional<QPoint> WestonViewNow(const QString &title)
{
    const QRegularExpression view("top-level window '" + QRegularExpression::escape(title)
                                  + "'.*\\n\\s*position: \\((-?\\d+), (-?\\d+)\\)");
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("WAYLAND_DISPLAY", qEnvironmentVariable("NUVASK_TEST_WAYLAND_DISPLAY"));
    p.setProcessEnvironment(env);
    p.start("weston-debug", {"scene-graph"});
    if (!p.waitForFinished(3000))
        return std::nullopt;
    const QRegularExpressionMatch m = view.match(QString::fromUtf8(p.readAllStandardOutput()));
    return m.hasMatch() ? std::optional(QPoint(m.captured(1).toInt(), m.captured(2).toInt())) : std::nullopt;
}

// The same, once the window is there.
std::optional<QPoint> WestonView(const QString &title, int limitMs = 15000)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < limitMs) {
        if (const std::optional<QPoint> view = WestonViewNow(title))
            return view;
        QThread::msleep(100);
    }
    return std::nullopt;
}

// The X windows titled `title` on the XWayland display.
QStringList XWindows(const QString &title)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", qEnvironmentVariable("NUVASK_TEST_XWAYLAND_DISPLAY"));
    p.setProcessEnvironment(env);
    p.start("xdotool", {"search", "--name", "^" + title + "$"});
    p.waitForFinished(5000);
    return QString::fromLocal8Bit(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

class WaylandSession : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("NUVASK_TEST_WAYLAND_DISPLAY") || qEnvironmentVariableIsEmpty("PULSE_SERVER")
            || QStandardPaths::findExecutable("weston-debug").isEmpty()
            || QStandardPaths::findExecutable("xdotool").isEmpty())
            GTEST_SKIP() << "needs weston with XWayland, the private PulseAudio and xdotool (scripts/with-services.sh)";
        // A session as GNOME's or Plasma's: both displays (each test says
        // whether a platform is chosen).
        m_runs.setEnv("WAYLAND_DISPLAY", qEnvironmentVariable("NUVASK_TEST_WAYLAND_DISPLAY"));
        m_runs.setEnv("DISPLAY", qEnvironmentVariable("NUVASK_TEST_XWAYLAND_DISPLAY"));
        m_runs.setEnv("XDG_SESSION_TYPE", "wayland");
        // The window of a program an earlier test ended may still be listed.
        QElapsedTimer t;
        t.start();
        while ((WestonViewNow("nuvASK") || !XWindows("nuvASK").isEmpty()) && t.elapsed() < 10000)
            QThread::msleep(100);
        ASSERT_FALSE(WestonViewNow("nuvASK")) << "a window of an earlier program stays";
        SettingsFileStore reg;
        reg.open(SettingsRoot::CurrentUser, SettingsKeyPath("NUVASK"), true)
            ->writeStrings({{"Version", "23"}, {"FP", "300,200"}});
    }

    ProgramRuns m_runs;
};

} // namespace

TEST_F(WaylandSession, MainWindowRunsThroughXWaylandWhereItsSettingsPutIt)
{
    m_runs.unsetEnv("QT_QPA_PLATFORM");
    QProcess *p = m_runs.launch();
    const std::optional<QPoint> view = WestonView("nuvASK");
    ASSERT_TRUE(view) << "no window shown; the program said: " << p->readAllStandardError().toStdString();
    EXPECT_FALSE(XWindows("nuvASK").isEmpty()) << "the window is not an X window";
    // The stored "FP" is the frame's top left.
    EXPECT_EQ(view->x() + kWestonShadow, 300);
    EXPECT_EQ(view->y() + kWestonShadow, 200);
    // Still there once the program has checked its frame after showing it.
    QThread::msleep(1000);
    EXPECT_EQ(WestonView("nuvASK"), view);
}

TEST_F(WaylandSession, APlatformTheUserChoseIsKept)
{
    m_runs.setEnv("QT_QPA_PLATFORM", "wayland");
    QProcess *p = m_runs.launch();
    ASSERT_TRUE(WestonView("nuvASK")) << "no window shown; the program said: "
                                      << p->readAllStandardError().toStdString();
    EXPECT_TRUE(XWindows("nuvASK").isEmpty()) << "the program ran through XWayland";
}
