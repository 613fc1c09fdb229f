// A message box over the main window under a real window manager: "Tray"
// pressed before the window has its tray image says so in a box, and the
// start that runs meanwhile (it applies the stay-on-top setting and brings
// the window forward) must leave the box in front of the window it blocks.
#include "desktop/DesktopFixture.h"

#include "support/ModalScript.h"
#include "ui/dialogs/MessageBoxWindow.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/widgets/ColourButton.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace nuvask;

using MessageBoxStacking = test::DesktopFixture;

TEST_F(MessageBoxStacking, ATrayClickBeforeTheStartIsDoneKeepsItsBoxInFrontWhateverTheStayOnTop)
{
    for (const QString &stayOnTop : {QStringLiteral("1"), QStringLiteral("0")}) {
        SCOPED_TRACE(("MostTOP=" + stayOnTop).toStdString());
        store("MostTOP", stayOnTop);
        MainWindow w(reg, board);
        // The start waits until the window manager has the window; then it
        // runs under the box.
        auto *start = w.findChild<QTimer *>(QStringLiteral("Timer_Create"));
        ASSERT_NE(start, nullptr);
        start->stop();
        w.show();
        const auto id = std::uint32_t(w.winId());
        ASSERT_TRUE(QTest::qWaitFor([&] { return x->isFramed(id); }, 3000));
        QTest::qWait(200);
        start->start();

        bool started = false;
        bool inFront = false;
        QString said;
        QTimer poll;
        poll.setInterval(20);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto *box = qobject_cast<MessageBoxWindow *>(QApplication::activeModalWidget());
            if (!box)
                return;
            poll.stop();
            said = test::BoxText(box);
            started = QTest::qWaitFor(
                [&] { return w.StartupCompleted() == MainWindow::kStartupCompletedValue; }, 5000);
            QTest::qWait(300); // the window manager restacks
            inFront = x->stackedAbove(std::uint32_t(box->winId()), id);
            box->done(1);
        });
        poll.start();
        w.findChild<ColourButton *>(QStringLiteral("Btn_TRAY"))->Click();
        EXPECT_EQ(said, QStringLiteral("アイコンが指定されていません"));
        EXPECT_TRUE(started);
        EXPECT_TRUE(inFront);
    }
}
