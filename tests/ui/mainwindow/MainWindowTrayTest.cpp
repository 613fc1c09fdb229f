// The main window's tray on the offscreen platform, which has no notification
// area: the tip and image come with the deferred start, "Tray" must leave the
// window where the user can reach it, and the launcher actions keep tray
// presses out while they run.
#include "support/ModalScript.h"
#include "core/startup/ProgramEntry.h"
#include "core/desktop/TrayComponent.h"
#include "platform/linux/SettingsFileStore.h"
#include "platform/linux/XdgDesktopEntries.h"
#include "platform/linux/XdgMenuGroups.h"
#include "platform/sim/SimTopology.h"
#include "support/TempXdg.h"
#include "ui/widgets/AppIcon.h"
#include "ui/widgets/ColourButton.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/mainwindow/MainWindowTexts.h"
#include "ui/dialogs/MessageBoxWindow.h"
#include "ui/mainwindow/StripPanels.h"
#include "ui/desktop/TrayIcon.h"

#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace nuvask;

TEST(MainWindowTray, WithoutANotificationAreaTrayKeepsTheWindowAndSaysWhy)
{
    test::TempXdg xdg;
    SettingsFileStore reg;
    SetStartValues(MakeStartValues("/opt/nuvask/nuvask", '/'));
    QApplication::setWindowIcon(ApplicationIcon()); // as the program entry does
    SimMixerBoard board{QList<SimDevice>{sim::DemoDevice()}};
    MainWindow w(reg, board);
    w.show();
    auto *button = w.findChild<ColourButton *>("Btn_TRAY");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->parentWidget(), w.panels().panel(2));
    EXPECT_TRUE(w.panels().panel(2)->rect().contains(button->geometry())); // not cut off
    ASSERT_NE(w.findChild<QMenu *>("PopupMenu_TR"), nullptr);
    TrayComponent *tray = w.findChild<TrayComponent *>("TaskTray1");
    ASSERT_NE(tray, nullptr);
    EXPECT_EQ(tray->IconID(), 1);
    EXPECT_TRUE(tray->Icon()->Empty()); // given in the deferred start

    ASSERT_TRUE(QTest::qWaitFor([&] { return w.StartupCompleted() == MainWindow::kStartupCompletedValue; }, 5000));
    EXPECT_EQ(tray->TipString(), QString("DORIVA SOUND ボリューム"));
    EXPECT_FALSE(tray->Icon()->Empty());
    EXPECT_FALSE(tray->Registered());

    // Bound and filled, the strip and the registered volumes share PV2 with
    // it: nothing may cover the button.
    for (QWidget *other : w.panels().panel(2)->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (other != button && other->isVisibleTo(w.panels().panel(2)))
            EXPECT_FALSE(other->geometry().intersects(button->geometry())) << other->objectName().toStdString();
    }

    test::ModalScript boxes;
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(button->isVisible());
    EXPECT_FALSE(tray->Registered());
    EXPECT_EQ(boxes.texts, QStringList{mainText::NoTray()});

    w.close();
}

TEST(MainWindowTray, PressesWaitWhileALauncherActionRuns)
{
    test::TempXdg xdg;
    SettingsFileStore reg;
    const StartValues start = MakeStartValues("/opt/nuvask/nuvask", '/');
    SetStartValues(start);
    XdgDesktopEntries entries(start.ProgramTitle, "nuvask");
    XdgMenuGroups groups("nuvask");
    entries.CreateShortcut("/opt/nuvask/nuvask", ShellFolder::Desktop); // so the action says so and waits
    SimMixerBoard board{QList<SimDevice>{sim::DemoDevice()}};
    MainWindow w(reg, board);
    w.SetDesktop(&entries, &groups);
    w.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.StartupCompleted() == MainWindow::kStartupCompletedValue; }, 5000));

    // Read while the action's message box is open, in the middle of the action.
    QList<bool> busyDuringBox;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto *box = qobject_cast<MessageBoxWindow *>(QApplication::activeModalWidget())) {
            busyDuringBox << w.TrayMenuBusy();
            box->done(1);
        }
    });
    poll.start(10);
    w.menu().MDESK_SET->trigger();
    EXPECT_EQ(busyDuringBox, QList<bool>{true});
    EXPECT_FALSE(w.TrayMenuBusy());
    w.close();
}
