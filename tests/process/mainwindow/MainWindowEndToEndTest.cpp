// The real binary on the private PulseAudio and a real X display: it starts,
// binds its strips, is asked to close, and leaves its bindings on disk.
#include "platform/linux/SettingsFileStore.h"
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
    if (const QString why = test::MissingForRealWindow(); !why.isEmpty())
        GTEST_SKIP() << why.toStdString();
    test::TempXdg xdg;
    test::StoreInstalledSettings();

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

    EXPECT_EQ(test::StoredSetting("ML_Mixer2"), QString("0"));
    EXPECT_EQ(test::StoredSetting("ML_DST2"), QString("7"));
    EXPECT_EQ(test::StoredSetting("ML_SRC2"), QString("7"));
    EXPECT_EQ(test::StoredSetting("ML_DST0"), QString("4"));
    EXPECT_FALSE(test::StoredSetting("FP").isEmpty());
    EXPECT_EQ(test::StoredSetting("V_CUT"), QString("32763"));
}
