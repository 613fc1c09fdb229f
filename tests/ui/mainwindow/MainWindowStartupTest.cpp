// The main window's deferred start-up and close over a simulated sound board.
#include "support/ModalScript.h"
#include "core/settings/SettingsFileDocument.h"
#include "core/startup/ProgramEntry.h"
#include "platform/linux/SettingsFileStore.h"
#include "platform/sim/SimTopology.h"
#include "support/TempXdg.h"
#include "support/TestBoards.h"
#include "support/MainWindowFixture.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/dialogs/MessageBoxWindow.h"
#include "ui/mixer/VolumeStrip.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <gtest/gtest.h>

using namespace nuvask;

namespace {

const QString kKey = test::kSettingsKey;
using test::BoxAnswerer;

struct MainWindowStartup : test::MainWindowFixture
{
};

} // namespace

TEST_F(MainWindowStartup, FirstStartBindsTheDefaultLinesOnDeviceZero)
{
    SimMixerBoard board({sim::DemoDevice(), test::RecordingOnlyDevice()});
    MainWindow w(reg, board);
    w.show();
    EXPECT_EQ(w.StartupCompleted(), 0);
    ASSERT_TRUE(waitForStartup(w));
    for (int n = 0; n < 3; ++n)
        EXPECT_EQ(w.strip(n)->deviceIndex(), 0) << n;
    EXPECT_EQ(w.strip(0)->destinationIndex(), 0); // speakers, MAIN
    EXPECT_EQ(w.strip(0)->sourceIndex(), 0);
    EXPECT_EQ(w.strip(1)->sourceIndex(), 1);      // wave out within the speakers
    EXPECT_EQ(w.strip(2)->destinationIndex(), 1); // the recording line itself
    EXPECT_EQ(w.strip(2)->sourceIndex(), 0);
    EXPECT_EQ(w.findChild<QComboBox *>("CB_Mixer1")->count(), 2);
    EXPECT_EQ(w.trayTip(), QString::fromUtf8("DORIVA SOUND ボリューム").left(63));
    // Reading never creates the settings key; the obsolete value is gone.
    EXPECT_FALSE(reg.keyExists(SettingsRoot::CurrentUser, kKey));
}

TEST_F(MainWindowStartup, SavedDeviceThatIsGoneFallsBackToDeviceZero)
{
    store("ML_Mixer1", "5");
    store("ML_Mixer2", "1");
    store("ML_DST2", "7");
    store("ML_SRC2", "4099"); // microphone: exists on device 1
    store("ML_DST0", "7");
    store("ML_SRC0", "4104"); // no wave-out source under the recording line
    SimMixerBoard board({sim::DemoDevice(), test::RecordingOnlyDevice()});
    MainWindow w(reg, board);
    ASSERT_TRUE(waitForStartup(w));
    EXPECT_EQ(w.strip(1)->deviceIndex(), 0);
    EXPECT_EQ(w.strip(2)->deviceIndex(), 1);
    EXPECT_EQ(w.strip(2)->sourceIndex(), 1);
    EXPECT_EQ(w.strip(0)->destinationIndex(), 0); // silently destination 0, source 0
    EXPECT_EQ(w.strip(0)->sourceIndex(), 0);
}

TEST_F(MainWindowStartup, NoMixerDeviceShowsTheErrorAndClosesWithoutSaving)
{
    store("FP", "1,2");
    BoxAnswerer boxes;
    SimMixerBoard board(QList<SimDevice>{});
    MainWindow w(reg, board);
    w.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.isVisible(); }, 5000));
    ASSERT_EQ(boxes.texts.size(), 1);
    EXPECT_EQ(boxes.texts[0], QString::fromUtf8("No audio mixer devices found.\nエラー発生の為、強制終了・・・MON"));
    EXPECT_EQ(w.StartupCompleted(), 0);
    EXPECT_EQ(stored("FP"), QString("1,2"));
    EXPECT_EQ(stored("V_CUT"), QString("<missing>"));
}

TEST_F(MainWindowStartup, StripThatCannotBeBoundClosesAtOnceAndNothingIsSaved)
{
    BoxAnswerer boxes;
    SimMixerBoard board({sim::DemoDevice()});
    // Strip 1 is bound to the wave line (0x00000001): its query fails.
    board.addFault(SimFault{SimCall::LineById, 0, 0x00000001u});
    MainWindow w(reg, board);
    w.show();
    ASSERT_TRUE(waitForStartup(w)); // the initialisation still runs to its end
    EXPECT_TRUE(w.closeGuardSet());
    EXPECT_FALSE(w.isVisible());
    ASSERT_EQ(boxes.texts.size(), 1);
    EXPECT_TRUE(boxes.texts[0].startsWith("mixerGetLineInfo(lineid=00000001h) failed.  rc="));
    EXPECT_TRUE(boxes.texts[0].endsWith(QString::fromUtf8("\nエラー発生の為、強制終了・・・V1")));
    // Strip 2 was still bound after the failure.
    EXPECT_EQ(w.strip(2)->destinationIndex(), 1);
    w.close(); // a later close request does nothing more
    EXPECT_FALSE(reg.keyExists(SettingsRoot::CurrentUser, kKey));
}

TEST_F(MainWindowStartup, StoredLineThatFailsToBindIsDroppedSoTheNextStartWorks)
{
    store("FP", "7,8");
    store("ML_Mixer1", "0");
    store("ML_DST1", "4");
    store("ML_SRC1", "4099"); // the microphone under the speakers (0x00000003)
    store("ML_DST2", "7");
    store("ML_SRC2", "4099");
    SimMixerBoard board({sim::DemoDevice()});
    board.addFault(SimFault{SimCall::LineById, 0, 0x00000003u});
    {
        BoxAnswerer boxes;
        MainWindow w(reg, board);
        w.show();
        ASSERT_TRUE(waitForStartup(w));
        EXPECT_FALSE(w.isVisible());
        ASSERT_EQ(boxes.texts.size(), 1);
        EXPECT_TRUE(boxes.texts[0].endsWith(QString::fromUtf8("\nエラー発生の為、強制終了・・・V1")));
    }
    // Only the failed strip's binding is gone; nothing else was written.
    EXPECT_EQ(stored("ML_Mixer1"), QString("<missing>"));
    EXPECT_EQ(stored("ML_DST1"), QString("<missing>"));
    EXPECT_EQ(stored("ML_SRC1"), QString("<missing>"));
    EXPECT_EQ(stored("ML_SRC2"), QString("4099"));
    EXPECT_EQ(stored("FP"), QString("7,8"));
    EXPECT_EQ(stored("V_CUT"), QString("<missing>"));

    // The same board, the fault still there: strip 1 takes its default line
    // (wave out under the speakers) and the program runs.
    BoxAnswerer boxes;
    MainWindow again(reg, board);
    again.show();
    ASSERT_TRUE(waitForStartup(again));
    EXPECT_TRUE(boxes.texts.isEmpty()) << boxes.texts.join("|").toStdString();
    EXPECT_TRUE(again.isVisible());
    EXPECT_FALSE(again.closeGuardSet());
    EXPECT_EQ(again.strip(1)->selectedLineId(), 0x00000001u);
    EXPECT_EQ(again.strip(2)->sourceIndex(), 1); // the microphone under the recording line, as stored
    again.close();
    EXPECT_EQ(stored("ML_SRC1"), QString("4104"));
}

TEST_F(MainWindowStartup, CompletedRunSavesAndARestartRestoresTheSameState)
{
    store("Version", "23");
    {
        SimMixerBoard board({sim::DemoDevice(), test::RecordingOnlyDevice()});
        MainWindow w(reg, board);
        w.show();
        ASSERT_TRUE(waitForStartup(w));
        // Strip 2 to the line input of the recording line, as the user would.
        w.strip(2)->selectBinding(0, 1, 2);
        QString error;
        w.layer().StripBindLine(2, 0, 1, error, w.strip(2)->selectedLineId());
        QTest::mouseClick(w.findChild<QCheckBox *>("Ch_V1"), Qt::LeftButton, {}, QPoint(5, 7));
        QTest::mouseClick(w.findChild<QCheckBox *>("Ch_Top"), Qt::LeftButton, {}, QPoint(5, 7));
        w.KELDO_COLORClick();
        w.move(40, 50);
        w.close();
    }
    // Every value was written, in the close order.
    SettingsFileStore reader;
    const QStringList names = reader.valueNames(SettingsRoot::CurrentUser, kKey);
    const QStringList order{"Version", "FP", "BackColor", "minihelp", "KELDO_COLOR", "V_Name", "MostTOP",
                            "V_Panel", "ML_DST0", "ML_SRC0", "ML_DST1", "ML_SRC1", "ML_DST2", "ML_SRC2",
                            "ML_Mixer0", "ML_Mixer1", "ML_Mixer2", "Auto_RecV", "Meter_ON", "V_CUT", "RL_WAIT",
                            "ML_SRC_NAME0", "ML_SRC_NAME1", "ML_SRC_NAME2", "Guard_RecV"};
    EXPECT_EQ(names, order);
    EXPECT_EQ(stored("ML_DST2"), QString("7"));
    EXPECT_EQ(stored("ML_SRC2"), QString("4098"));
    EXPECT_EQ(stored("ML_SRC_NAME2"), QString("Line In"));
    EXPECT_EQ(stored("V_Panel"), QString("1"));
    EXPECT_EQ(stored("MostTOP"), QString("0"));
    EXPECT_EQ(stored("KELDO_COLOR"), QString("0"));

    SimMixerBoard board({sim::DemoDevice(), test::RecordingOnlyDevice()});
    MainWindow again(reg, board);
    ASSERT_TRUE(waitForStartup(again));
    EXPECT_EQ(again.strip(2)->destinationIndex(), 1);
    EXPECT_EQ(again.strip(2)->sourceIndex(), 2);
    EXPECT_FALSE(again.findChild<QCheckBox *>("Ch_V1")->isChecked());
    EXPECT_FALSE(again.findChild<QCheckBox *>("Ch_Top")->isChecked());
    EXPECT_FALSE(again.menu().KELDO_COLOR->isChecked());
    EXPECT_NE(again.palette().color(QPalette::Window), QColor(0, 128, 0));
}
