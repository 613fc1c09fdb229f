#include "platform/linux/SettingsFileStore.h"
#include "platform/sim/SimTopology.h"
#include "support/TempXdg.h"
#include "ui/mainwindow/MainWindow.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace nuvask;

TEST(MainWindowHandOver, SecondStartBringsAMinimisedOrBuriedWindowBack)
{
    test::TempXdg xdg;
    SettingsFileStore reg;
    SimMixerBoard board{QList<SimDevice>{sim::DemoDevice()}};
    MainWindow w(reg, board);
    EXPECT_EQ(w.objectName(), QString("TKELDO_NUVASK"));
    EXPECT_EQ(w.windowTitle(), QString("nuvASK"));
    w.show();
    w.showMinimized();
    QTest::qWait(10);
    w.WM_SECOND_INSTANCE("X?y z");
    EXPECT_FALSE(w.isMinimized());
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.lastHandOverText(), QString("X?y z"));
    // Already normal: minimise-then-restore still leaves it shown and normal.
    w.WM_SECOND_INSTANCE(QString());
    EXPECT_FALSE(w.isMinimized());
    EXPECT_TRUE(w.isVisible());
}
