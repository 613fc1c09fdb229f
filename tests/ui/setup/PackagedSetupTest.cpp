// The setup window's icon step and a program the package manager installed,
// in this process on private XDG folders with the real settings files and
// menu groups, every message box answered from a script.
#include "support/ModalScript.h"

#include "core/settings/SettingsStore.h"
#include "core/setup/MadeFolders.h"
#include "core/setup/SetupTexts.h"
#include "platform/linux/SettingsFileStore.h"
#include "platform/linux/PackagedProgram.h"
#include "platform/linux/XdgDesktopEntries.h"
#include "platform/linux/XdgMenuGroups.h"
#include "platform/linux/XdgSetupPlatform.h"
#include "support/ReadOnlyFolder.h"
#include "support/TempXdg.h"
#include "support/TestFiles.h"
#include "ui/setup/SetupWindow.h"
#include "ui/widgets/ColourButton.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

using namespace nuvask;
using namespace nuvask::test;

namespace {

// Records the start of an uninstaller copy instead of starting it.
class NoStartPlatform : public XdgSetupPlatform
{
public:
    using XdgSetupPlatform::XdgSetupPlatform;
    bool StartDetached(const QString &program, const QStringList &arguments, const QString &) override
    {
        started << program << arguments;
        return true;
    }
    QStringList started;
};

class PackagedSetupTest : public ::testing::Test
{
protected:
    TempXdg xdg;
    SettingsFileStore settingsTree;
    XdgDesktopEntries desktop{"DORIVA SOUND ボリューム", "nuvask"};
    XdgMenuGroups groups{"nuvask", "Startup"};
    NoStartPlatform platform{groups, "DORIVA SOUND ボリューム アンインストール"};
    StartValues start = MakeStartValues("/x/nuvask", '/');
    std::unique_ptr<SetupWindow> w;
    ModalScript script;
    QString icons = xdg.dataHome() + "/icons";

    void SetUp() override
    {
        SetupWindow::SetTimeScalePermille(10);
        MessageBoxWindow::SetTickIntervalMs(5);
    }
    void TearDown() override
    {
        w.reset();
        SetupWindow::SetTimeScalePermille(1000);
        MessageBoxWindow::SetTickIntervalMs(1000);
    }

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
        const SetupServices services{settingsTree, groups, desktop, platform, exe, {}};
        w = std::make_unique<SetupWindow>(mode, services, start);
        bool done = false;
        QObject::connect(w.get(), &SetupWindow::Finished, [&done] { done = true; });
        if (mode == StartNormal) {
            w->show();
            offered = w->findChild<QLineEdit *>("Edit1")->text();
            w->findChild<ColourButton *>("Button3")->Click();
        }
        QElapsedTimer t;
        t.start();
        while (!done && t.elapsed() < 5000)
            QTest::qWait(10);
        ASSERT_TRUE(done);
    }

    QString Setting(const char *name)
    {
        auto key = settingsTree.open(SettingsRoot::CurrentUser, SettingsKeyPath("NUVASK"), false);
        return key ? key->readString(name) : QString();
    }

    // Every file below `folder`, relative to it.
    static QStringList Files(const QString &folder)
    {
        QStringList list;
        QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            list << it.next().mid(folder.size() + 1);
        list.sort();
        return list;
    }

    QString offered; // the install folder the window showed
};

} // namespace

TEST_F(PackagedSetupTest, PerUserInstallPutsTheIconIntoTheThemeAndItsUninstallTakesItAway)
{
    // The icon folder is there, empty, before the install: it stays.
    QDir().mkpath(icons);
    const QString source = xdg.root() + "/download";
    PlaceProgram(source, false);
    script.answers = {6}; // the install folder is made
    Run(StartNormal, source + "/nuvask");
    ASSERT_EQ(script.texts.value(1), setupText::Done().arg("KELDO SOFT32"));
    EXPECT_EQ(offered, xdg.dataHome() + "/KELDOP32/NUVASK");
    EXPECT_EQ(Files(icons).size(), 9) << Files(icons).join(' ').toStdString();
    EXPECT_TRUE(QFileInfo::exists(icons + "/hicolor/48x48/apps/nuvask.png"));
    EXPECT_TRUE(QFileInfo::exists(icons + "/hicolor/scalable/apps/nuvask.svg"));

    // A second install (a new version) over the first keeps the record of
    // the folders the first one made.
    script.texts.clear();
    Run(StartNormal, source + "/nuvask");
    ASSERT_EQ(script.texts.value(0), setupText::Done().arg("KELDO SOFT32"));

    script.answers = {6, 6, 6};
    Run(StartUninstallRequested, offered + "/nuvask");
    EXPECT_TRUE(QFileInfo(icons).isDir());
    EXPECT_EQ(QDir(icons).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList())
        << "icons or their folders left";
}

TEST_F(PackagedSetupTest, APackagedProgramRegistersForTheUserInItsOwnFolderAndCopiesNothing)
{
    // An earlier per-user install is stored: the package's program stays
    // where the package manager put it all the same.
    settingsTree.open(SettingsRoot::CurrentUser, SettingsKeyPath("NUVASK"), true)
        ->writeStrings({{"EXEPATH", xdg.dataHome() + "/KELDOP32/NUVASK"}, {"Version", "22"}});
    const QString folder = xdg.root() + "/usr/lib/nuvask";
    PlaceProgram(folder, true);
    const QStringList before = Files(xdg.root());
    Run(StartNormal, folder + "/nuvask");

    EXPECT_EQ(offered, folder);
    EXPECT_EQ(script.texts, QStringList({setupText::Done().arg("KELDO SOFT32")}));
    EXPECT_EQ(Setting("Version"), "23");
    EXPECT_EQ(Setting("EXEPATH"), folder);
    EXPECT_TRUE(QFileInfo::exists(groups.ItemFile("KELDO SOFT32", "DORIVA SOUND ボリューム")));
    // Nothing new but settings and launchers: no copy, no icon (the package
    // put its icons into the system's theme).
    for (const QString &file : Files(xdg.root())) {
        if (!before.contains(file)) {
            EXPECT_TRUE(file.startsWith("config/nuvask/registry/") || file.startsWith("config/menus/")
                        || file.startsWith("data/applications/") || file.startsWith("data/desktop-directories/"))
                << "written: " << file.toStdString();
        }
    }
}

TEST_F(PackagedSetupTest, UninstallingAPackagedProgramLeavesItsFilesToThePackageManager)
{
    const QString folder = xdg.root() + "/usr/lib/nuvask";
    PlaceProgram(folder, true);
    Run(StartNormal, folder + "/nuvask");
    ASSERT_EQ(Setting("Version"), "23");
    // What using the program adds: registered volumes in the user's data
    // folder (which the program makes) and a desktop launcher.
    const QString data = platform.DataDir();
    ASSERT_TRUE(MadeFolders(settingsTree, SettingsKeyPath("NUVASK")).MakePath(data));
    WriteFile(data + "NUVASKVN.LIS", "n");
    WriteFile(data + "NUVASKVR.LIS", "v");
    const QString link = xdg.home() + "/Desktop/DORIVA SOUND ボリューム.desktop";
    WriteFile(link, "[Desktop Entry]\n");

    script.texts.clear();
    script.answers = {6, 6, 6};
    Run(StartUninstallRequested, folder + "/nuvask");
    ASSERT_EQ(script.texts.size(), 4) << script.texts.join("|").toStdString();
    EXPECT_EQ(script.texts.last(), setupText::RemovedPackaged());
    EXPECT_EQ(Files(folder), QStringList({"NUVASK.HLP", "NUVASK.TXT", "nuvask", "nuvask.packaged"}));
    EXPECT_TRUE(platform.started.isEmpty()) << "an uninstaller copy was started";
    EXPECT_FALSE(QFileInfo::exists(data)) << "the emptied data folder stays";
    EXPECT_FALSE(QFileInfo::exists(link));
    EXPECT_FALSE(QFileInfo::exists(groups.ItemFile("KELDO SOFT32", "DORIVA SOUND ボリューム")));
    EXPECT_FALSE(settingsTree.keyExists(SettingsRoot::CurrentUser, SettingsKeyPath("NUVASK")));
    EXPECT_FALSE(settingsTree.keyExists(SettingsRoot::LocalMachine,
                                    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\NUVASK"));
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
