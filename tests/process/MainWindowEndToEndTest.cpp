// The real binary on the private PulseAudio and a real X display: it starts,
// binds its strips, is asked to close, and leaves its bindings on disk.
#include "platform/linux/HiveFileRegistry.h"
#include "platform/linux/LocalInstance.h"
#include "support/TestProcesses.h"
#include "support/TempXdg.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

using namespace nuvask;

TEST(MainWindowEndToEnd, StartsOnPulseAudioAndSavesItsBindingsAtClose)
{
    if (qEnvironmentVariableIsEmpty("PULSE_SERVER") || qEnvironmentVariableIsEmpty("NUVASK_TEST_DISPLAY"))
        GTEST_SKIP() << "needs the private PulseAudio and Xvfb of scripts/with-services.sh";
    test::TempXdg xdg;
    HiveFileRegistry reg;
    const QString key = "Software\\KELDO SOFT32\\NUVASK";
    reg.open(RegRoot::CurrentUser, key, true)->writeString("Version", "23");

    QProcess app;
    ASSERT_TRUE(test::StartOnTestDisplay(app));

    LocalInstanceProbe probe(200, 1000);
    ASSERT_TRUE(QTest::qWaitFor([&] { return probe.windowExists("TKELDO_NUVASK"); }, 10000));
    // The strips are bound 300 ms after the window exists; leave ample time.
    QTest::qWait(2500);
    ASSERT_EQ(app.state(), QProcess::Running);
    app.terminate(); // SIGTERM: closed as the user would close it
    ASSERT_TRUE(app.waitForFinished(10000));
    EXPECT_EQ(app.exitStatus(), QProcess::NormalExit);

    auto settings = reg.open(RegRoot::CurrentUser, key, false);
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(settings->readString("ML_Mixer2"), QString("0"));
    EXPECT_EQ(settings->readString("ML_DST2"), QString("7"));
    EXPECT_EQ(settings->readString("ML_SRC2"), QString("7"));
    EXPECT_EQ(settings->readString("ML_DST0"), QString("4"));
    EXPECT_FALSE(settings->readString("FP").isEmpty());
    EXPECT_EQ(settings->readString("V_CUT"), QString("32763"));
}
