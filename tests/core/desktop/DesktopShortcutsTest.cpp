// The Startup item and the desktop launcher as the Options menu drives them:
// which item shows, what is sent, what is shown, and that a launcher someone
// else put there is left alone.
#include "core/desktop/DesktopShortcuts.h"
#include "core/settings/SettingsStore.h"
#include "platform/linux/SettingsFileStore.h"
#include "support/TempXdg.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace nuvask;

namespace {

const QString kTitle = QStringLiteral("DORIVA SOUND ボリューム");
const QString kKey = SettingsKeyPath(QStringLiteral("NUVASK"));

struct FakeView : ShortcutsView
{
    int busyDepth = 0;
    bool trayBusy = false;
    QStringList shown;
    int redraws = 0;
    void SetBusyCursor(bool on) override { busyDepth += on ? 1 : -1; }
    void ProcessPendingEvents() override {}
    void SetTrayMenuBusy(bool busy) override { trayBusy = busy; }
    void ShowOK(const QString &text) override { shown << text; }
    void Redraw() override { ++redraws; }
};

struct FakeEntries : IDesktopEntries
{
    QString desktop;
    QString startup;
    QString group = QStringLiteral("Startup");
    QStringList created; // targets
    QString FolderPath(ShellFolder f) const override { return f == ShellFolder::Desktop ? desktop : startup; }
    QString StartupGroupName() const override { return group; }
    QString LinkExtension() const override { return QStringLiteral(".desktop"); }
    void CreateShortcut(const QString &target, ShellFolder) override { created << target; }
};

struct FakeGroups : IMenuGroups
{
    QStringList sent;
    QList<bool> trayBusyWhileSent;
    const FakeView *view = nullptr;
    QString answer; // for every command
    QString ExecuteGroupCommand(const QString &command) override
    {
        sent << command;
        trayBusyWhileSent << view->trayBusy;
        return answer;
    }
    std::optional<QString> RequestGroupsReply() override { return std::nullopt; }
};

struct DesktopShortcutsTest : ::testing::Test
{
    test::TempXdg xdg;
    SettingsFileStore settingsTree;
    QTemporaryDir desktop;
    QTemporaryDir startup;
    FakeView view;
    FakeEntries entries;
    FakeGroups groups;
    DesktopShortcuts shortcuts{entries, groups, settingsTree, kKey, kTitle, view};

    void SetUp() override
    {
        entries.desktop = desktop.path();
        entries.startup = startup.path();
        groups.view = &view;
        shortcuts.BuildLinkPaths();
    }
    QString desktopLink() const { return desktop.path() + "/" + kTitle + ".desktop"; }
};

void touch(const QString &path, const QByteArray &bytes = "x")
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

TEST_F(DesktopShortcutsTest, EachPairShowsOneItemByThePresenceOfTheFileAtEveryOpening)
{
    EXPECT_EQ(shortcuts.DesktopLinkPath(), desktopLink());
    auto items = shortcuts.OptionsMenuOpening();
    EXPECT_TRUE(items.deskSet && !items.deskDel && items.iconSet && !items.iconDel);

    touch(desktopLink());
    touch(shortcuts.StartupLinkPath());
    items = shortcuts.OptionsMenuOpening();
    EXPECT_TRUE(!items.deskSet && items.deskDel && !items.iconSet && items.iconDel);

    shortcuts.DesktopClick(false, "/opt/nuvask/nuvask");
    EXPECT_FALSE(QFileInfo::exists(desktopLink()));
    items = shortcuts.OptionsMenuOpening();
    EXPECT_TRUE(items.deskSet && !items.deskDel);
    EXPECT_TRUE(!items.iconSet && items.iconDel); // the other pair is decided on its own
    EXPECT_EQ(view.busyDepth, 0);
}

TEST_F(DesktopShortcutsTest, CreatingOverAnExistingLauncherOnlySaysSo)
{
    touch(desktopLink(), "made by hand");
    shortcuts.DesktopClick(true, "/opt/nuvask/nuvask");
    EXPECT_EQ(view.shown, QStringList{ShortcutText::AlreadyOnDesktop()});
    EXPECT_TRUE(entries.created.isEmpty());
    QFile f(desktopLink());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("made by hand"));
    EXPECT_FALSE(view.trayBusy);
    EXPECT_EQ(view.busyDepth, 0);
}

TEST_F(DesktopShortcutsTest, LauncherPointsAtTheInstalledCopyOrElseAtTheRunningOne)
{
    settingsTree.open(SettingsRoot::CurrentUser, kKey, true)->writeString("EXEPATH", "/home/u/KELDO/nuvASK");
    shortcuts.DesktopClick(true, "/tmp/build/app/nuvask");
    // Not installed: a bare file name would be looked up on the search path.
    settingsTree.open(SettingsRoot::CurrentUser, kKey, true)->writeString("EXEPATH", "");
    shortcuts.DesktopClick(true, "/tmp/build/app/nuvask");
    EXPECT_EQ(entries.created, QStringList({"/home/u/KELDO/nuvASK/nuvask", "/tmp/build/app/nuvask"}));
}

TEST_F(DesktopShortcutsTest, AnUnknownFolderNeverNamesAFileInTheCurrentDirectory)
{
    const QString cwd = QDir::currentPath();
    QTemporaryDir here;
    QDir::setCurrent(here.path());
    touch(here.path() + "/" + kTitle + ".desktop", "someone's file");
    entries.desktop.clear();
    entries.startup = QStringLiteral("relative/autostart");
    shortcuts.BuildLinkPaths();
    EXPECT_TRUE(shortcuts.DesktopLinkPath().isEmpty());
    EXPECT_TRUE(shortcuts.StartupLinkPath().isEmpty());
    const auto items = shortcuts.OptionsMenuOpening();
    EXPECT_TRUE(items.deskSet && !items.deskDel && items.iconSet && !items.iconDel);
    shortcuts.DesktopClick(false, "/opt/nuvask/nuvask");
    EXPECT_TRUE(QFileInfo::exists(here.path() + "/" + kTitle + ".desktop"));
    QDir::setCurrent(cwd);
}

TEST_F(DesktopShortcutsTest, NoStartupGroupNameSendsNothingAndSaysWhy)
{
    entries.group.clear();
    shortcuts.StartupItemClick(true, "/opt/nuvask/nuvask");
    EXPECT_TRUE(groups.sent.isEmpty());
    EXPECT_EQ(view.shown, QStringList{ShortcutText::NoStartupGroup()});
    EXPECT_EQ(view.redraws, 1);
    EXPECT_FALSE(view.trayBusy);
}

TEST_F(DesktopShortcutsTest, StartupItemSendsGroupThenItemUnderTheTrayBusyFlag)
{
    shortcuts.StartupItemClick(true, "/opt/nu vask/nuvask");
    shortcuts.StartupItemClick(false, "/opt/nu vask/nuvask");
    EXPECT_EQ(groups.sent, QStringList({"[CreateGroup(Startup)]\r\n",
                                        "[AddItem(\"/opt/nu vask/nuvask\",\"DORIVA SOUND ボリューム\")]\r\n",
                                        "[CreateGroup(Startup)]\r\n",
                                        "[DeleteItem(\"DORIVA SOUND ボリューム\")]\r\n"}));
    EXPECT_EQ(groups.trayBusyWhileSent, QList<bool>({true, true, true, true}));
    EXPECT_FALSE(view.trayBusy);
    EXPECT_TRUE(view.shown.isEmpty());
    EXPECT_EQ(view.busyDepth, 0);
}

TEST_F(DesktopShortcutsTest, UnreachableGroupsGiveOneMessageForTheItemCommandOnly)
{
    groups.answer = menuGroupText::OpenFailed();
    EXPECT_EQ(shortcuts.StartupItem(true, "/opt/nuvask/nuvask"), menuGroupText::OpenFailed());
    EXPECT_EQ(groups.sent.size(), 2);
    EXPECT_EQ(view.shown, QStringList{menuGroupText::OpenFailed()});
}

TEST_F(DesktopShortcutsTest, AProgramPathTheCommandCannotCarryIsRefusedBeforeAnythingIsSent)
{
    shortcuts.StartupItemClick(true, "/opt/\"quoted\"/nuvask");
    EXPECT_TRUE(groups.sent.isEmpty());
    ASSERT_EQ(view.shown.size(), 1);
    EXPECT_TRUE(view.shown[0].startsWith(menuGroupText::BadPath()));
}
