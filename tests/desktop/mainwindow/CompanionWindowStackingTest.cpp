// The windows the main window opens (the help, the level history) under a
// real window manager: with "MostTOP" on they must come above the main
// window, which sits in the stay-on-top layer, and stay there when the main
// window is brought forward again.
#include "desktop/DesktopFixture.h"

#include "ui/help/HelpMenu.h"
#include "ui/help/HelpWindow.h"
#include "ui/mainwindow/MainMenu.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/monitor/LevelHistoryWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QTest>
#include <gtest/gtest.h>

using namespace nuvask;

using CompanionWindowStacking = test::DesktopFixture;

TEST_F(CompanionWindowStacking, HelpAndLevelHistoryComeAboveAStayOnTopMainWindow)
{
    store("MostTOP", "1");
    MainWindow w(reg, board);
    w.show();
    const auto main = std::uint32_t(w.winId());
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.StartupCompleted() == MainWindow::kStartupCompletedValue; }, 5000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return x->isFramed(main); }, 3000));

    w.menu().MO_History->trigger();
    w.menu().HELP_MOKUJI->trigger();
    QWidget *history = &w.historyWindow();
    QWidget *help = w.helpMenu().helpWindow();
    ASSERT_NE(help, nullptr);
    for (QWidget *opened : {history, help})
        ASSERT_TRUE(QTest::qWaitFor([&] { return x->isFramed(std::uint32_t(opened->winId())); }, 3000));
    // The main window comes forward over them, as a click on it brings it.
    for (bool mainRaised : {false, true}) {
        if (mainRaised) {
            for (QWidget *opened : {history, help})
                opened->move(w.pos());
            QTest::qWait(200);
            w.raise();
            w.activateWindow();
        }
        QTest::qWait(400); // the window manager restacks
        EXPECT_TRUE(x->stackedAbove(std::uint32_t(history->winId()), main)) << "history, main raised: " << mainRaised;
        EXPECT_TRUE(x->stackedAbove(std::uint32_t(help->winId()), main)) << "help, main raised: " << mainRaised;
    }
    // "MostTOP" off: they leave the stay-on-top layer with the main window.
    auto *top = w.findChild<QCheckBox *>("Ch_Top");
    QTest::mouseClick(top, Qt::LeftButton, {}, QPoint(6, 7));
    ASSERT_FALSE(top->isChecked());
    for (QWidget *opened : {history, help})
        EXPECT_FALSE(opened->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint)) << opened->objectName().toStdString();
    history->close();
    help->close();
}
