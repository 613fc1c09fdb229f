// The level monitor, cut level and strip meters inside the main window: the
// stored values they start from, the menu switches, the editor's "E" and
// "戻る", and the close sequence that stops capture and saves the cut level.
#include "support/MainWindowFixture.h"

#include "core/monitor/LevelMonitor.h"
#include "core/mixer/StripMeters.h"
#include "platform/sim/SimTopology.h"
#include "platform/sim/SimWaveIn.h"
#include "ui/widgets/ColourButton.h"
#include "ui/widgets/ColourLabel.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/mainwindow/StripPanels.h"
#include "ui/mixer/VolumeStrip.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

using namespace nuvask;

namespace {

struct MainWindowMonitor : test::MainWindowFixture {
    SimMixerBoard board{QList<SimDevice>{sim::DemoDevice()}};
    SimWaveIn wave;

    template <class T>
    static T *child(const MainWindow &w, const char *name)
    {
        return w.findChild<T *>(QLatin1String(name));
    }
};

TEST_F(MainWindowMonitor, StartsFromTheStoredValuesAndSavesTheCutLevelAfterStoppingCapture)
{
    store("V_CUT", "12800");
    store("RL_WAIT", "1");
    store("Meter_ON", "1");
    store("Auto_RecV", "1");
    MainWindow w(reg, board, &wave);
    w.show();
    ASSERT_TRUE(waitForStartup(w));
    EXPECT_EQ(child<QLineEdit>(w, "Edit_RPK")->text(), "12800");
    EXPECT_TRUE(child<QLineEdit>(w, "Edit_RPK")->isReadOnly());
    EXPECT_EQ(child<ColourLabel>(w, "Label_RPK_VC")->y(), 59);
    EXPECT_EQ(child<QLabel>(w, "Label_NOW_RPK")->text(), "100");
    EXPECT_FALSE(wave.isOpen()); // the monitor waits for the user
    // Strip 2 sits on the recording line with its meter: polled, marked.
    EXPECT_TRUE(w.meters().Timer_PK().isActive());
    EXPECT_FALSE(w.strip(2)->findChild<QLabel *>("Label_AUTO_2")->isHidden());

    child<ColourButton>(w, "Btn_RAuto")->Click();
    ASSERT_TRUE(wave.isOpen());
    EXPECT_EQ(w.monitor().BufferBytes(), 17640u);
    EXPECT_TRUE(w.monitor().AutoOn());

    // The editor: "E" makes the level typeable, "戻る" shows the level again.
    child<ColourButton>(w, "Btn_RPK_Edit")->Click();
    QLineEdit *edit = child<QLineEdit>(w, "Edit_RPK");
    EXPECT_FALSE(edit->isReadOnly());
    edit->setText("20000");
    child<ColourButton>(w, "Btn_RPK_SET")->Click();
    child<ColourButton>(w, "Btn_RPK_8")->Click();
    edit->setText("typed, never set");
    child<ColourButton>(w, "Btn_RPK_Cancel")->Click();
    EXPECT_TRUE(edit->isReadOnly());
    EXPECT_EQ(edit->text(), "32512");
    // The standard back colour reaches the level field like the lists.
    w.BackColorClick();
    EXPECT_EQ(edit->palette().color(QPalette::Base), QApplication::palette().color(QPalette::Base));

    // Menu switches: meters off stops the timer and hides the "A".
    w.menu().MO_Meter_ON->trigger();
    EXPECT_FALSE(w.meters().Timer_PK().isActive());
    EXPECT_TRUE(w.strip(2)->findChild<QLabel *>("Label_AUTO_2")->isHidden());

    w.close();
    EXPECT_FALSE(wave.isOpen());
    EXPECT_EQ(stored("V_CUT"), "32512");
    EXPECT_EQ(stored("RL_WAIT"), "1");
    EXPECT_EQ(stored("Meter_ON"), "0");
    EXPECT_EQ(stored("Auto_RecV"), "1");
}

TEST_F(MainWindowMonitor, WithoutACaptureDeviceTheMonitorStaysOff)
{
    MainWindow w(reg, board);
    ASSERT_TRUE(waitForStartup(w));
    test::BoxAnswerer boxes;
    child<ColourButton>(w, "Btn_RPK_ON")->Click();
    EXPECT_EQ(boxes.texts, QStringList{WaveMeterText::OpenFailed()});
    EXPECT_FALSE(w.monitor().IsOpen());
    EXPECT_TRUE(child<ColourButton>(w, "Btn_RPK_OFF")->isHidden());
    // "Auto" tries again, fails again, and stays off.
    child<ColourButton>(w, "Btn_RAuto")->Click();
    EXPECT_EQ(boxes.texts.size(), 2);
    EXPECT_FALSE(w.monitor().AutoOn());
    EXPECT_TRUE(child<ColourButton>(w, "Btn_RAuto")->ParentColor());
    // Closing with nothing open still saves.
    w.close();
    EXPECT_EQ(stored("V_CUT"), "32763");
}

// In the tray or minimised nobody sees the columns: the meters rest, unless
// a strip's "A" needs their readings.
TEST_F(MainWindowMonitor, MetersRestWhileTheWindowCannotBeSeen)
{
    store("Meter_ON", "1");
    store("Auto_RecV", "0");
    MainWindow w(reg, board, &wave);
    w.show();
    ASSERT_TRUE(waitForStartup(w));
    const QTimer &timer = w.meters().Timer_PK();
    EXPECT_TRUE(timer.isActive());
    w.hide();
    EXPECT_FALSE(timer.isActive());
    w.show();
    EXPECT_TRUE(timer.isActive());
    w.showMinimized();
    EXPECT_FALSE(timer.isActive());
    w.showNormal();
    EXPECT_TRUE(timer.isActive());

    w.menu().MO_Auto_RecV->trigger();
    w.hide();
    EXPECT_TRUE(timer.isActive());
    w.menu().MO_Auto_RecV->trigger();
    EXPECT_FALSE(timer.isActive());
    w.close();
}

// While the monitor captures, the meter ticks come with its buffers instead
// of waking the program apart.
TEST_F(MainWindowMonitor, MeterTicksRideTheMonitorsBuffers)
{
    store("Meter_ON", "1");
    store("RL_WAIT", "0"); // 50 ms buffers
    MainWindow w(reg, board, &wave);
    w.show();
    ASSERT_TRUE(waitForStartup(w));
    int own = 0;
    QObject::connect(&const_cast<QTimer &>(w.meters().Timer_PK()), &QTimer::timeout, [&] { ++own; });
    wave.setPaced(true);
    child<ColourButton>(w, "Btn_RPK_ON")->Click();
    ASSERT_TRUE(wave.isStarted());
    QTest::qWait(200); // the first buffers bring the ticks into step
    own = 0;
    QTest::qWait(1000);
    EXPECT_LE(own, 3) << "meter ticks that woke the program on their own in 1 s";
    child<ColourButton>(w, "Btn_RPK_OFF")->Click();
    own = 0;
    QTest::qWait(350);
    EXPECT_GE(own, 2); // alone again
    w.close();
}

} // namespace
