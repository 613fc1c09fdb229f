// The Help menu's own commands and the Options menu's icon items as the
// menus drive them: help window, version number deletion, contact text,
// version display, and which icon item shows when the menu opens.
#include "support/ModalScript.h"
#include "core/startup/ProgramEntry.h"
#include "core/settings/SettingsStore.h"
#include "platform/linux/SettingsFileStore.h"
#include "platform/linux/XdgDesktopEntries.h"
#include "platform/linux/XdgMenuGroups.h"
#include "platform/sim/SimMixerBoard.h"
#include "platform/sim/SimTopology.h"
#include "support/TempXdg.h"
#include "ui/help/AboutBox.h"
#include "ui/help/HelpMenu.h"
#include "ui/help/HelpWindow.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/dialogs/MessageBox.h"
#include "ui/mainwindow/MainMenu.h"
#include "ui/mainwindow/MainWindowTexts.h"
#include "ui/desktop/ShortcutMenu.h"

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBrowser>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace nuvask;

namespace {

const QString kKey = SettingsKeyPath("NUVASK");
const QString kHelp = QStringLiteral(NUVASK_SOURCE_DIR) + "/data/NUVASK.HLP";

struct MenuWindow : ::testing::Test
{
    test::TempXdg xdg;
    SettingsFileStore reg;
    QMainWindow window;
    MainMenu menu;
    MessageBox *box = nullptr;
    test::ModalScript script;

    void SetUp() override
    {
        SetStartValues(MakeStartValues("/opt/nuvask/nuvask", '/'));
        menu.build(window.menuBar());
        box = new MessageBox(&window);
    }
    void TearDown() override { MessageBoxWindow::SetTickIntervalMs(1000); }
    std::optional<QString> stored(const QString &name)
    {
        auto key = reg.open(SettingsRoot::CurrentUser, kKey, false);
        return key ? key->readStringIfPresent(name) : std::nullopt;
    }
    void store(const QString &name, const QString &value)
    {
        reg.open(SettingsRoot::CurrentUser, kKey, true)->writeString(name, value);
    }
};

struct HelpMenuTest : MenuWindow
{
    HelpMenu *help = nullptr;
    void SetUp() override
    {
        MenuWindow::SetUp();
        help = new HelpMenu(&window, menu, box, reg, kKey, kHelp);
    }
};

} // namespace

TEST_F(HelpMenuTest, VersionNumberIsKeptUnlessTheAnswerIsYes)
{
    store("Version", "23");
    script.answers = {7, 1}; // No, then the OK of the notice
    menu.MHELP_VERCUT->trigger();
    script.answers = {2, 1}; // closed through the title bar
    menu.MHELP_VERCUT->trigger();
    EXPECT_EQ(stored("Version"), QString("23"));
    EXPECT_EQ(script.texts, QStringList({helpMenuText::AskVersionCut(), helpMenuText::VersionCutStopped(),
                                         helpMenuText::AskVersionCut(), helpMenuText::VersionCutStopped()}));
}

TEST_F(HelpMenuTest, VersionNumberLeftUnansweredIsEmptiedNotDeleted)
{
    store("Version", "23");
    MessageBoxWindow::SetTickIntervalMs(5);
    script.answers = {-1};
    menu.MHELP_VERCUT->trigger();
    EXPECT_EQ(stored("Version"), QString(""));
    EXPECT_EQ(script.texts.size(), 1);
    // The next start reads it as "not installed".
    EXPECT_EQ(SettingsStore(reg, "NUVASK").readVersion(), "255");
}

TEST_F(HelpMenuTest, VersionDisplayShowsTheStoredVersion)
{
    QStringList shown;
    script.onAbout = [&](AboutBoxWindow *about) {
        shown << about->findChild<QLabel *>("Version")->text();
        about->done(1);
    };
    menu.HELP2->trigger(); // no key at all
    store("Version", "7");
    menu.HELP2->trigger();
    store("Version", "123");
    menu.HELP2->trigger();
    store("Version", "x1");
    menu.HELP2->trigger();
    EXPECT_EQ(shown, QStringList({"Version ?.?", "Version 0.7", "Version 12.3", "Version ?.?"}));
    EXPECT_FALSE(reg.keyExists(SettingsRoot::CurrentUser, "Software\\KELDO SOFT32\\OTHER"));
    EXPECT_EQ(help->aboutBox()->Comment0(), helpMenuText::Comment0());
    EXPECT_EQ(help->aboutBox()->ProductName(), Start().ProgramTitle);
}

TEST_F(HelpMenuTest, ContactTextListsThreePagesAnEmptyLineAndTheMail)
{
    menu.MQ_A->trigger();
    ASSERT_EQ(script.texts.size(), 1);
    const QStringList lines = script.texts[0].split('\n');
    ASSERT_EQ(lines.size(), 8);
    EXPECT_EQ(lines[0], "お問い合わせは、下記へどうぞ☆☆☆");
    EXPECT_EQ(lines[1], "ホームページ：");
    for (int i = 2; i <= 4; ++i)
        EXPECT_TRUE(QUrl(lines[i]).host().endsWith("example.com")) << lines[i].toStdString();
    EXPECT_EQ(lines[5], "");
    EXPECT_EQ(lines[6], "電子メール宛先：");
    EXPECT_TRUE(lines[7].endsWith("@example.com"));
}

TEST_F(HelpMenuTest, HelpWindowContentsKeywordSearchHelpOnHelpAndQuit)
{
    menu.HELP_MOKUJI->trigger();
    HelpWindow *w = help->helpWindow();
    ASSERT_TRUE(w);
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->FileLoaded());
    auto *contents = w->findChild<QTreeWidget *>("HelpContents");
    EXPECT_GT(contents->topLevelItemCount(), 10);

    auto *browser = w->findChild<QTextBrowser *>("HelpBrowser");
    menu.HELP_HELP->trigger();
    EXPECT_EQ(w->CurrentTopic(), "helponhelp");
    QTest::qWait(20);
    // The topic lies far down the text: the view really moved there.
    EXPECT_GT(browser->verticalScrollBar()->value(), 0);

    menu.HELP_KEYWORD->trigger();
    auto *edit = w->findChild<QLineEdit *>("HelpKeywordEdit");
    auto *list = w->findChild<QListWidget *>("HelpKeywordList");
    EXPECT_TRUE(edit->text().isEmpty());
    EXPECT_EQ(list->count(), [&] {
        int n = 0;
        for (const QString &k : w->Index().Keywords())
            n += w->Index().TopicsFor(k).size();
        return n;
    }());
    QTest::keyClicks(edit, "Mute");
    ASSERT_GT(list->count(), 0);
    EXPECT_TRUE(list->item(0)->text().startsWith("Mute"));
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(w->CurrentTopic(), "stripmute");

    // Enter on a focused button presses it, as in the program's dialogs.
    auto *helpOnHelp = w->findChild<QPushButton *>("HelpOnHelp");
    helpOnHelp->setFocus(Qt::TabFocusReason);
    QTest::keyClick(helpOnHelp, Qt::Key_Return);
    EXPECT_EQ(w->CurrentTopic(), "helponhelp");

    help->QuitHelp();
    EXPECT_FALSE(w->isVisible());
}

TEST_F(MenuWindow, MissingHelpFileIsSaidInTheHelpWindow)
{
    HelpMenu help(&window, menu, box, reg, kKey, xdg.root() + "/NUVASK.HLP");
    menu.HELP_MOKUJI->trigger();
    ASSERT_TRUE(help.helpWindow());
    EXPECT_FALSE(help.helpWindow()->FileLoaded());
    EXPECT_TRUE(help.helpWindow()->findChild<QTextBrowser *>("HelpBrowser")->toPlainText().contains(xdg.root()));
    help.QuitHelp();
}

TEST_F(MenuWindow, OptionsMenuShowsOneIconItemPerPairAtEveryOpening)
{
    XdgDesktopEntries entries(Start().ProgramTitle, "nuvask");
    XdgMenuGroups groups("nuvask");
    ShortcutMenu icons(&window, menu, box, reg, kKey);
    icons.SetDesktop(&entries, &groups);
    QList<bool> busy;
    icons.SetTrayBusyHook([&](bool on) { busy << on; });
    icons.BuildLinkPaths();
    auto shown = [&] {
        emit menu.MOption0->aboutToShow();
        return QList<bool>{menu.MICON_SET->isVisible(), menu.MICON_DEL->isVisible(), menu.MDESK_SET->isVisible(),
                           menu.MDESK_DEL->isVisible()};
    };
    EXPECT_EQ(shown(), QList<bool>({true, false, true, false}));
    menu.MDESK_SET->trigger();
    EXPECT_TRUE(QFileInfo::exists(icons.shortcuts().DesktopLinkPath()));
    EXPECT_EQ(shown(), QList<bool>({true, false, false, true}));
    menu.MICON_SET->trigger();
    EXPECT_EQ(shown(), QList<bool>({false, true, false, true}));
    menu.MDESK_DEL->trigger();
    menu.MICON_DEL->trigger();
    EXPECT_EQ(shown(), QList<bool>({true, false, true, false}));
    EXPECT_EQ(busy, QList<bool>({true, false, true, false, true, false, true, false}));
    EXPECT_TRUE(script.texts.isEmpty()) << script.texts.join('|').toStdString();
}

TEST(MainWindowMenus, LauncherPathsAreBuiltAtStartAndTheHelpWindowClosesWithTheWindow)
{
    test::TempXdg xdg;
    SettingsFileStore reg;
    StartValues start = MakeStartValues(QStringLiteral(NUVASK_SOURCE_DIR) + "/data/nuvask", '/');
    SetStartValues(start);
    XdgDesktopEntries entries(start.ProgramTitle, "nuvask");
    XdgMenuGroups groups("nuvask");
    // A launcher put on the desktop before the program started.
    entries.CreateShortcut("/opt/nuvask/nuvask", ShellFolder::Desktop);

    SimMixerBoard board({sim::DemoDevice()});
    auto w = std::make_unique<MainWindow>(reg, board);
    w->SetDesktop(&entries, &groups);
    w->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->StartupCompleted() == MainWindow::kStartupCompletedValue; }, 5000));
    emit w->menu().MOption0->aboutToShow();
    EXPECT_FALSE(w->menu().MDESK_SET->isVisible());
    EXPECT_TRUE(w->menu().MDESK_DEL->isVisible());

    // The help file is the one beside the program.
    w->menu().HELP_MOKUJI->trigger();
    QPointer<HelpWindow> help = w->helpMenu().helpWindow();
    ASSERT_TRUE(help);
    EXPECT_TRUE(help->FileLoaded());
    EXPECT_TRUE(help->isVisible());
    w->close();
    EXPECT_FALSE(help && help->isVisible());
    w.reset();
    EXPECT_FALSE(help); // gone with its window
}

TEST(HalfWidthCaptions, StayHalfWidthKatakana)
{
    // Half-width katakana (U+FF61..U+FF9F) are one byte each in code page 932;
    // a normalising editor or a text conversion would quietly widen them.
    auto halfWidth = [](const QString &text, int count) {
        int n = 0;
        for (QChar c : text)
            n += c.unicode() >= 0xFF61 && c.unicode() <= 0xFF9F;
        return n == count;
    };
    EXPECT_EQ(mainText::MOption0(), QString::fromUtf16(u"\uFF75\uFF8C\uFF9F\uFF7C\uFF6E\uFF9D(&O)"));
    EXPECT_EQ(mainText::MHelp0(), QString::fromUtf16(u"\uFF8D\uFF99\uFF8C\uFF9F(&H)"));
    EXPECT_TRUE(halfWidth(mainText::MHELP_VERCUT(), 7));
    EXPECT_TRUE(mainText::MHELP_VERCUT().endsWith(QStringLiteral("番号削除...(&C)")));
    EXPECT_TRUE(halfWidth(ShortcutText::NoStartupGroup(), 4));
    EXPECT_TRUE(ShortcutText::NoStartupGroup().startsWith(QString::fromUtf16(u"\uFF71\uFF72\uFF7A\uFF9D:")));

    QMenuBar bar;
    MainMenu menu;
    menu.build(&bar);
    EXPECT_EQ(menu.MOption0->title(), mainText::MOption0());
    EXPECT_EQ(menu.MHelp0->title(), mainText::MHelp0());
    EXPECT_EQ(menu.MHELP_VERCUT->text(), mainText::MHELP_VERCUT());
}
