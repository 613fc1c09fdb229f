// What a user outside Japan sees: the main window, a message box and the
// about box in English, the tray tip and the about box's product line
// measured as shown, and the English help file chosen beside the program.
#include "core/desktop/TrayComponent.h"
#include "core/startup/ProgramEntry.h"
#include "platform/linux/SettingsFileStore.h"
#include "platform/sim/SimTopology.h"
#include "support/EnglishTexts.h"
#include "support/MainWindowFixture.h"
#include "support/ModalScript.h"
#include "support/TempXdg.h"
#include "ui/dialogs/MessageBox.h"
#include "ui/dialogs/MessageBoxWindow.h"
#include "ui/help/AboutBoxWindow.h"
#include "ui/help/HelpMenu.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/mainwindow/MainMenu.h"
#include "ui/widgets/AppIcon.h"
#include "ui/widgets/ColourButton.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace nuvask;

using EnglishMainWindow = test::MainWindowFixture;

TEST_F(EnglishMainWindow, MenusTrayTipAndTheNoTrayMessage)
{
    test::EnglishTexts english;
    ASSERT_TRUE(english.loaded());
    QApplication::setWindowIcon(ApplicationIcon()); // as the program entry does
    SimMixerBoard board{QList<SimDevice>{sim::DemoDevice()}};
    MainWindow w(reg, board);
    w.show();
    ASSERT_TRUE(waitForStartup(w));

    EXPECT_EQ(w.menu().MOption0->title(), "&Options");
    EXPECT_EQ(w.menu().MHelp0->title(), "&Help");
    EXPECT_EQ(w.menu().MO_History->text(), "&Recording Level History...");
    EXPECT_EQ(w.menu().HELP2->text(), "&About...");
    // The tip is the whole English title: 19 bytes, far from the 63-byte cut.
    EXPECT_EQ(w.findChild<TrayComponent *>("TaskTray1")->TipString(), "DORIVA SOUND Volume");

    // The offscreen platform has no notification area: "Tray" says so.
    test::ModalScript boxes;
    auto *tray = w.findChild<ColourButton *>("Btn_TRAY");
    ASSERT_NE(tray, nullptr);
    QTest::mouseClick(tray, Qt::LeftButton, {}, tray->rect().center());
    EXPECT_EQ(boxes.texts, QStringList{"No system tray (notification area) was found: the window cannot be hidden there."});
    w.close();
}

TEST(EnglishWindows, MessageBoxButtons)
{
    test::EnglishTexts english;
    ASSERT_TRUE(english.loaded());
    MessageBoxWindow box(MessageBoxWindow::YesNoBox);
    QStringList captions;
    for (const char *name : {"Btn_OK", "Btn_Yes", "Btn_No", "Btn_TM_STOP", "Btn_TM_OPEN"})
        captions << box.findChild<ColourButton *>(name)->Caption();
    EXPECT_EQ(captions, QStringList({"OK", "Yes", "No", "Pause", "Resume"}));
}

// The about box as the Help menu opens it: the English title is 19 bytes, so
// the product line takes the "ProductName " prefix the Japanese title (23
// bytes) goes without.
TEST_F(EnglishMainWindow, AboutBoxFromTheHelpMenu)
{
    auto about = [&] {
        QMainWindow window;
        MainMenu menu;
        menu.build(window.menuBar());
        auto *box = new MessageBox(&window);
        HelpMenu help(&window, menu, box, reg, SettingsKeyPath("NUVASK"), QString());
        test::ModalScript script;
        QStringList seen;
        script.onAbout = [&](AboutBoxWindow *b) {
            seen << b->findChild<QLabel *>("ProductName")->text() << b->findChild<QLabel *>("Comment0")->text()
                 << b->windowTitle();
            b->done(1);
        };
        menu.HELP2->trigger();
        return seen;
    };
    EXPECT_EQ(about(), QStringList({"DORIVA SOUND ボリューム", "自動録音ボリューム調整ソフト☆☆☆",
                                    "DORIVA SOUND ボリューム バージョン情報"}));
    test::EnglishTexts english;
    ASSERT_TRUE(english.loaded());
    EXPECT_EQ(about(), QStringList({"ProductName DORIVA SOUND Volume", "Automatic recording volume",
                                    "DORIVA SOUND Volume - About"}));
}

TEST(EnglishWindows, HelpFileBesideTheProgramInTheLanguageShownElseTheJapaneseOne)
{
    QTemporaryDir dir;
    SetStartValues(MakeStartValues(dir.path() + "/nuvask", '/'));
    for (const char *name : {"NUVASK.HLP", "NUVASK_EN.HLP"}) {
        QFile f(dir.path() + "/" + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    EXPECT_EQ(HelpMenu::HelpFilePath(), dir.path() + "/NUVASK.HLP");
    test::EnglishTexts english;
    ASSERT_TRUE(english.loaded());
    EXPECT_EQ(HelpMenu::HelpFilePath(), dir.path() + "/NUVASK_EN.HLP");
    QFile::remove(dir.path() + "/NUVASK_EN.HLP");
    EXPECT_EQ(HelpMenu::HelpFilePath(), dir.path() + "/NUVASK.HLP");
}
