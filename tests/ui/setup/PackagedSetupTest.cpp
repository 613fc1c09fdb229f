// The setup window's icon step and the uninstall of a program the package
// manager installed (SetupWindowFixture).
#include "SetupWindowFixture.h"

#include "core/desktop/MenuGroups.h"
#include "core/setup/SetupTexts.h"
#include "platform/linux/PackagedProgram.h"
#include "support/ReadOnlyFolder.h"

#include <QLineEdit>

using namespace nuvask;
using namespace nuvask::test;

namespace {

class PackagedSetupTest : public SetupWindowFixture
{
protected:
    QString icons = xdg.dataHome() + "/icons";
    QString offered; // the install folder the window showed

    // A program with its side files in `folder`; `packaged`: with the mark
    // the package's install rules put beside it.
    static void PlaceProgram(const QString &folder, bool packaged)
    {
        for (const char *name : {"nuvask", "NUVASK.TXT", "NUVASK.HLP"})
            WriteFile(folder + "/" + name, name);
        if (packaged)
            WriteFile(folder + "/" + kPackagedMark, "package");
    }

    // Runs the window in `mode` for the program at `exe` to its end; an
    // install takes the folder the window offers.
    void Run(int mode, const QString &exe)
    {
        Open(mode, exe);
        if (mode == StartNormal) {
            offered = Child<QLineEdit>("Edit1")->text();
            Click("Button3");
        }
        ASSERT_TRUE(WaitFinished());
    }
};

} // namespace

TEST_F(PackagedSetupTest, PerUserInstallPutsTheIconIntoTheThemeAndItsUninstallTakesItAway)
{
    // The icon folder is there, empty, before the install: it stays.
    QDir().mkpath(icons);
    const QString download = xdg.root() + "/download";
    PlaceProgram(download, false);
    script.answers = {6}; // the install folder is made
    Run(StartNormal, download + "/nuvask");
    ASSERT_EQ(script.texts.value(1), setupText::Done().arg("KELDO SOFT32"));
    EXPECT_EQ(offered, xdg.dataHome() + "/KELDOP32/NUVASK");
    EXPECT_EQ(Files(icons).size(), 9) << Files(icons).join(' ').toStdString();
    EXPECT_TRUE(QFileInfo::exists(icons + "/hicolor/48x48/apps/nuvask.png"));
    EXPECT_TRUE(QFileInfo::exists(icons + "/hicolor/scalable/apps/nuvask.svg"));

    // A second install (a new version) over the first keeps the record of
    // the folders the first one made.
    script.texts.clear();
    Run(StartNormal, download + "/nuvask");
    ASSERT_EQ(script.texts.value(0), setupText::Done().arg("KELDO SOFT32"));

    script.answers = {6, 6, 6};
    Run(StartUninstallRequested, offered + "/nuvask");
    EXPECT_TRUE(QFileInfo(icons).isDir());
    EXPECT_EQ(QDir(icons).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList())
        << "icons or their folders left";
}

TEST_F(PackagedSetupTest, UninstallingAPackagedProgramLeavesNothingOfTheUsersButThePackage)
{
    const QString folder = xdg.root() + "/usr/lib/nuvask";
    PlaceProgram(folder, true);
    const QStringList before = Files(xdg.root());
    // What using the program makes: its settings, the registered volumes in
    // the user's data folder, a desktop and an autostart launcher (with the
    // folders they needed), and from an earlier version's per-user
    // registration a menu group.
    SettingsStore(settingsTree).writeVersion(23);
    const QString data = platform.DataDir();
    ASSERT_TRUE(made.MakePath(data));
    WriteFile(data + "NUVASKVN.LIS", "n");
    WriteFile(data + "NUVASKVR.LIS", "v");
    for (ShellFolder where : {ShellFolder::Desktop, ShellFolder::Startup})
        desktop.CreateShortcut(folder + "/nuvask", where);
    ASSERT_EQ(Files(xdg.configHome() + "/autostart").size(), 1);
    settingsTree.open(SettingsRoot::CurrentUser, SettingsKeyPath("NUVASK"), false)->writeString("Group", "KELDO SOFT32");
    ASSERT_EQ(groups.ExecuteGroupCommand(*CreateGroupCommand("KELDO SOFT32") + *AddItemCommand(folder + "/nuvask", "DORIVA SOUND ボリューム")),
              QString());

    script.answers = {6, 6, 6};
    Run(StartUninstallRequested, folder + "/nuvask");
    ASSERT_EQ(script.texts.size(), 4) << script.texts.join("|").toStdString();
    EXPECT_EQ(script.texts.last(), setupText::RemovedPackaged());
    EXPECT_TRUE(platform.started.isEmpty()) << "an uninstaller copy was started";
    // The package's files stay; nothing else is left, no empty folder either.
    EXPECT_EQ(Files(xdg.root()), before);
    QStringList folders;
    QDirIterator it(xdg.root(), QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString dir = it.next();
        if (!folder.startsWith(dir) && QDir(dir).isEmpty())
            folders << dir.mid(xdg.root().size());
    }
    // The base folders the temporary home starts with stay.
    folders.removeAll("/config");
    folders.removeAll("/data");
    folders.removeAll("/home/Desktop");
    folders.removeAll("/runtime");
    EXPECT_EQ(folders, QStringList()) << "empty folders left";
}

TEST_F(PackagedSetupTest, AnUnwritableFolderOutsideTheSystemPrefixesIsNotThePackageManagers)
{
    // A read-only medium, say: the setup copies the program from there.
    const QString folder = xdg.root() + "/medium";
    PlaceProgram(folder, false);
    ReadOnlyFolder readOnly(folder);
    if (!readOnly.active())
        GTEST_SKIP() << "cannot make a folder unwritable here";
    EXPECT_FALSE(IsPackageManaged(folder));
    script.answers = {6};
    Run(StartNormal, folder + "/nuvask");
    EXPECT_EQ(offered, xdg.dataHome() + "/KELDOP32/NUVASK");
    EXPECT_EQ(ReadFile(offered + "/nuvask"), "nuvask");
}
