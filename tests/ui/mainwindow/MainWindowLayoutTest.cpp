#include "core/settings/SettingsTree.h"
#include "platform/linux/SettingsFileStore.h"
#include "platform/sim/SimTopology.h"
#include "support/TempXdg.h"
#include "ui/widgets/ColourButton.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/mainwindow/PanelSplitter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QTest>
#include <gtest/gtest.h>

using namespace nuvask;

namespace {

struct MainWindowLayout : ::testing::Test
{
    test::TempXdg xdg;
    SettingsFileStore reg;
    SimMixerBoard board{QList<SimDevice>{sim::DemoDevice()}};

    void store(const QString &name, const QString &value)
    {
        reg.open(SettingsRoot::CurrentUser, "Software\\KELDO SOFT32\\NUVASK", true)->writeString(name, value);
    }
    template <typename T> static T *child(QWidget &w, const char *name)
    {
        T *found = w.findChild<T *>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    static void clickBox(QWidget &w, const char *name)
    {
        QTest::mouseClick(child<QCheckBox>(w, name), Qt::LeftButton, {}, QPoint(5, 7));
    }
};

} // namespace

TEST_F(MainWindowLayout, DesignSizeWithTheEditorClosed)
{
    MainWindow w(reg, board);
    // 286 at design, less the cut-level editor (35) that starts closed.
    EXPECT_EQ(w.clientWidth(), 286 - 35);
    EXPECT_EQ(w.clientHeight(), 218 + 22); // and a row for a strip's own source list
    EXPECT_TRUE(child<QWidget>(w, "PV4")->isHidden());
    child<ColourButton>(w, "Btn_RPK_Edit")->Click();
    EXPECT_EQ(w.clientWidth(), 286);
    EXPECT_FALSE(child<QWidget>(w, "PV4")->isHidden());
    EXPECT_EQ(child<QWidget>(w, "PV4")->x(), child<QWidget>(w, "PV3")->geometry().right() + 1);
    child<ColourButton>(w, "Btn_RPK_Cancel")->Click();
    EXPECT_EQ(w.clientWidth(), 251);
}

TEST_F(MainWindowLayout, AtMostOneStripHiddenAndTheWidthFollows)
{
    MainWindow w(reg, board);
    w.show();
    const int full = w.clientWidth();
    clickBox(w, "Ch_V0");
    EXPECT_FALSE(child<QCheckBox>(w, "Ch_V0")->isChecked());
    EXPECT_TRUE(child<QWidget>(w, "PV0")->isHidden());
    EXPECT_TRUE(child<QWidget>(w, "Splitter1")->isHidden());
    EXPECT_FALSE(child<QWidget>(w, "Splitter2")->isHidden());
    EXPECT_EQ(w.clientWidth(), full - 58 - 3);

    // Hiding strip 1 now brings strip 0 back.
    clickBox(w, "Ch_V1");
    EXPECT_TRUE(child<QCheckBox>(w, "Ch_V0")->isChecked());
    EXPECT_FALSE(child<QCheckBox>(w, "Ch_V1")->isChecked());
    EXPECT_FALSE(child<QWidget>(w, "PV0")->isHidden());
    EXPECT_TRUE(child<QWidget>(w, "PV1")->isHidden());
    EXPECT_EQ(w.clientWidth(), full - 58 - 3);

    clickBox(w, "Ch_V2");
    EXPECT_TRUE(child<QCheckBox>(w, "Ch_V1")->isChecked());
    EXPECT_TRUE(child<QWidget>(w, "Splitter2")->isHidden());
    EXPECT_EQ(w.clientWidth(), full - 91 - 3);
    // Panels never overlap and end at the right edge.
    EXPECT_EQ(child<QWidget>(w, "PV3")->geometry().right() + 1, w.clientWidth());
    EXPECT_LE(child<QWidget>(w, "PV1")->geometry().right(), child<QWidget>(w, "PV3")->x());

    clickBox(w, "Ch_V2");
    EXPECT_EQ(w.clientWidth(), full);
}

TEST_F(MainWindowLayout, SpaceOnTheTopRowBoxesActsAsAClick)
{
    // The keyboard toggles a box as the mouse does, so it must run the same
    // action: a box that changed without its layout would leave them apart.
    MainWindow w(reg, board);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    const int full = w.clientWidth();
    auto space = [&](const char *name) {
        QCheckBox *box = child<QCheckBox>(w, name);
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Space);
    };
    space("Ch_V0");
    EXPECT_FALSE(child<QCheckBox>(w, "Ch_V0")->isChecked());
    EXPECT_TRUE(child<QWidget>(w, "PV0")->isHidden());
    EXPECT_EQ(w.clientWidth(), full - 58 - 3);
    // Still at most one strip hidden.
    space("Ch_V1");
    EXPECT_TRUE(child<QCheckBox>(w, "Ch_V0")->isChecked());
    EXPECT_FALSE(child<QWidget>(w, "PV0")->isHidden());
    EXPECT_TRUE(child<QWidget>(w, "PV1")->isHidden());
    space("Ch_V2");
    EXPECT_TRUE(child<QCheckBox>(w, "Ch_V1")->isChecked());
    EXPECT_TRUE(child<QWidget>(w, "PV2")->isHidden());
    EXPECT_EQ(w.clientWidth(), full - 91 - 3);
    space("Ch_V2");
    EXPECT_EQ(w.clientWidth(), full);

    // MostTOP is applied by the deferred initialisation.
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.StartupCompleted() == MainWindow::kStartupCompletedValue; }, 5000));
    ASSERT_TRUE(w.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    space("Ch_Top");
    EXPECT_FALSE(child<QCheckBox>(w, "Ch_Top")->isChecked());
    EXPECT_FALSE(w.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    space("Ch_Top");
    EXPECT_TRUE(w.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST_F(MainWindowLayout, SplitterDragKeepsFivePixelsAndIsGivenUpOnRelayout)
{
    MainWindow w(reg, board);
    w.show();
    auto *splitter = child<PanelSplitter>(w, "Splitter1");
    QWidget *pv0 = child<QWidget>(w, "PV0");
    QTest::mousePress(splitter, Qt::LeftButton, {}, QPoint(1, 50));
    QMouseEvent move(QEvent::MouseMove, QPointF(1, 50), splitter->mapToGlobal(QPointF(-200, 50)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(splitter, &move);
    QTest::mouseRelease(splitter, Qt::LeftButton, {}, QPoint(1, 50));
    EXPECT_EQ(pv0->width(), 5);
    EXPECT_EQ(child<QWidget>(w, "PV1")->x(), 5 + 3);
    clickBox(w, "Ch_V2");
    clickBox(w, "Ch_V2");
    EXPECT_EQ(pv0->width(), 58);
}

TEST_F(MainWindowLayout, StoredHiddenStripAndPosition)
{
    store("V_Panel", "1");
    store("FP", "100000,20");
    MainWindow w(reg, board);
    EXPECT_FALSE(child<QCheckBox>(w, "Ch_V1")->isChecked());
    EXPECT_TRUE(child<QWidget>(w, "PV1")->isHidden());
    const QRect work = w.WorkArea();
    // Far beyond the right edge: flush with the work area's right edge.
    EXPECT_EQ(w.x() + w.width(), work.left() + work.width());
    EXPECT_EQ(w.y(), std::max(20, work.top()));
}

TEST_F(MainWindowLayout, ColourSwitchesExcludeEachOther)
{
    MainWindow w(reg, board);
    const MainMenu &m = w.menu();
    EXPECT_TRUE(m.KELDO_COLOR->isChecked());
    EXPECT_EQ(w.palette().color(QPalette::Window), QColor(0, 128, 0));
    EXPECT_EQ(w.palette().color(QPalette::WindowText), QColor(255, 255, 255));
    // Checking BackColor while KELDO_COLOR is on turns the maker's colours off
    // and gives the lists the system window colour.
    w.BackColorClick();
    EXPECT_TRUE(m.BackColor->isChecked());
    EXPECT_FALSE(m.KELDO_COLOR->isChecked());
    EXPECT_EQ(w.palette().color(QPalette::Window), QApplication::palette().color(QPalette::Button));
    auto *list = child<QComboBox>(w, "CB_RL_WAIT");
    EXPECT_EQ(list->palette().color(QPalette::Base), QApplication::palette().color(QPalette::Base));
    // And back: the lists take their panel's colour again.
    w.KELDO_COLORClick();
    EXPECT_FALSE(m.BackColor->isChecked());
    EXPECT_TRUE(m.KELDO_COLOR->isChecked());
    EXPECT_EQ(list->palette().color(QPalette::Base), QColor(0, 128, 0));
    w.KELDO_COLORClick();
    EXPECT_FALSE(m.BackColor->isChecked());
    EXPECT_FALSE(m.KELDO_COLOR->isChecked());
}

TEST_F(MainWindowLayout, MenuBarItemsInOrder)
{
    MainWindow w(reg, board);
    QStringList names;
    for (QAction *a : w.menu().MOption0->actions())
        names << a->objectName();
    EXPECT_EQ(names, QStringList({"MO_Meter_ON", "MO_Auto_RecV", "MO_Guard_RecV", "MO_History", "N2", "BackColor",
                                  "KELDO_COLOR", "N5",
                                  "MICON_SET", "MICON_DEL", "N1", "MDESK_SET", "MDESK_DEL"}));
    names.clear();
    for (QAction *a : w.menu().MHelp0->actions())
        names << a->objectName();
    EXPECT_EQ(names, QStringList({"HELP_MOKUJI", "HELP_KEYWORD", "HELP3", "N3", "MHELP_VERCUT", "N4", "MQ_A",
                                  "HELP2", "HELP_HELP"}));
    EXPECT_FALSE(w.menu().HELP_HELP->isVisible());
    EXPECT_EQ(w.menu().MOption0->title(), QString::fromUtf8("ｵﾌﾟｼｮﾝ(&O)"));
    w.HELP3Click();
    EXPECT_FALSE(w.hintsShown());
    EXPECT_FALSE(w.menu().HELP3->isChecked());
    w.HELP3Click();
    EXPECT_TRUE(w.hintsShown());
}
