// The setup window: clicks on its buttons, every message box answered from a
// script (SetupWindowFixture).
#include "SetupWindowFixture.h"

#include "support/EnglishTexts.h"

#include "core/desktop/MenuGroups.h"
#include "core/setup/SetupInstaller.h"
#include "core/setup/SetupTexts.h"
#include "ui/folders/FolderBrowser.h"
#include "ui/folders/FolderBrowserWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

using namespace nuvask;
using namespace nuvask::test;

using SetupWindowTest = SetupWindowFixture;

TEST_F(SetupWindowTest, GroupListEndsWithTheMakersGroupsAndPrefersTheStoredOne)
{
    for (const char *g : {"Zeta", "KELDO SOFT", "alpha", "KELDO SOFT32"})
        ASSERT_EQ(groups.ExecuteGroupCommand(*CreateGroupCommand(g)), QString());
    Open(StartNormal, source + "/nuvask");
    QTest::qWait(20);
    auto *combo = Child<QComboBox>("ComboBox1");
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    EXPECT_EQ(items, QStringList({"alpha", "Zeta", "KELDO SOFT", "KELDO SOFT32"}));
    EXPECT_EQ(combo->currentText(), "KELDO SOFT32");
    EXPECT_EQ(Child<QLineEdit>("Edit1")->text(), xdg.dataHome() + "/KELDOP32/NUVASK");
    EXPECT_EQ(w->windowTitle(), "DORIVA SOUND ボリューム V2.3 登録");

    w.reset();
    settingsTree.open(SettingsRoot::CurrentUser, SettingsKeyPath("NUVASK"), true)->writeString("Group", "Zeta");
    Open(StartNormal, source + "/nuvask");
    QTest::qWait(20);
    EXPECT_EQ(Child<QComboBox>("ComboBox1")->currentText(), "Zeta");
}

TEST_F(SetupWindowTest, TwoMissingLevelsAskOnceAndNoCreatesNothing)
{
    Open(StartNormal, source + "/nuvask");
    const QString folder = xdg.root() + "/new/deeper";
    Child<QLineEdit>("Edit1")->setText(folder);
    script.answers = {7};
    Click("Button3");
    EXPECT_EQ(script.texts, QStringList({folder + "\n" + setupText::CreateFolder()}));
    EXPECT_FALSE(QFileInfo::exists(xdg.root() + "/new"));
    EXPECT_TRUE(Child<ColourButton>("Button3")->isVisible());
    EXPECT_EQ(Setting("EXEPATH"), QString());

    script.texts.clear();
    script.answers = {-1}; // the countdown takes Yes
    Click("Button3");
    ASSERT_TRUE(WaitFinished());
    EXPECT_EQ(script.texts.size(), 2) << script.texts.join("|").toStdString();
    EXPECT_EQ(script.texts.value(1), setupText::Done().arg("KELDO SOFT32"));
    EXPECT_EQ(ReadFile(folder + "/nuvask"), "program bytes");
    EXPECT_EQ(Setting("Version"), "23");
}

TEST_F(SetupWindowTest, MissingTextFileStopsTheCopyAfterTheProgram)
{
    QFile::remove(source + "/NUVASK.TXT");
    Open(StartNormal, source + "/nuvask");
    const QString folder = xdg.root() + "/inst";
    QDir().mkpath(folder);
    Child<QLineEdit>("Edit1")->setText(folder);
    Click("Button3");
    EXPECT_EQ(script.texts, QStringList({"NUVASK.TXT\nコピーに失敗しました\nファイルのコピーに失敗しました・・・"}));
    EXPECT_TRUE(QFileInfo::exists(folder + "/nuvask"));
    EXPECT_FALSE(QFileInfo::exists(folder + "/NUVASK.TXT"));
    EXPECT_FALSE(QFileInfo::exists(folder + "/NUVASK.HLP"));
    EXPECT_EQ(Setting("Version"), QString());
    EXPECT_TRUE(Child<ColourButton>("Button3")->isVisible());
}

TEST_F(SetupWindowTest, InstallingFromTheInstallFolderCopiesNothingButRegistersEverything)
{
    // Reached through a symbolic link: still the same folder. The side files
    // are missing there, so any copy would fail.
    const QString folder = xdg.root() + "/inst";
    WriteFile(folder + "/nuvask", "installed");
    ASSERT_TRUE(QFile::link(folder, xdg.root() + "/link"));
    Open(StartNormal, xdg.root() + "/link/nuvask");
    Child<QLineEdit>("Edit1")->setText(folder);
    Child<QCheckBox>("CheckBoxST")->setChecked(true);
    Click("Button3");
    ASSERT_TRUE(WaitFinished());
    EXPECT_EQ(script.texts, QStringList({setupText::Done().arg("KELDO SOFT32")}));
    EXPECT_TRUE(QFileInfo::exists(groups.ItemFile("Startup", "DORIVA SOUND ボリューム")));
    EXPECT_EQ(ReadFile(folder + "/nuvask"), "installed");
    EXPECT_FALSE(QFileInfo::exists(folder + "/NUVASK.TXT"));
    EXPECT_EQ(Setting("Version"), "23");
    EXPECT_TRUE(QFileInfo::exists(groups.ItemFile("KELDO SOFT32", "DORIVA SOUND ボリューム")));
}

TEST_F(SetupWindowTest, AFolderDifferingOnlyInLetterCaseIsAnotherFolder)
{
    const QString folder = xdg.root() + "/Inst";
    for (const char *name : {"nuvask", "NUVASK.TXT", "NUVASK.HLP"})
        WriteFile(xdg.root() + "/inst/" + name, "other");
    Open(StartNormal, xdg.root() + "/inst/nuvask");
    Child<QLineEdit>("Edit1")->setText(folder);
    script.answers = {6};
    Click("Button3");
    ASSERT_TRUE(WaitFinished());
    EXPECT_EQ(ReadFile(folder + "/nuvask"), "other");
    EXPECT_EQ(Setting("EXEPATH"), folder);
}

TEST_F(SetupWindowTest, AFailedGroupCommandIsReportedAndTheVersionNotWritten)
{
    // The applications folder is a file: no group item can be written.
    WriteFile(xdg.dataHome() + "/applications", "not a folder");
    Open(StartNormal, source + "/nuvask");
    const QString folder = xdg.root() + "/inst";
    QDir().mkpath(folder);
    Child<QLineEdit>("Edit1")->setText(folder);
    Click("Button3");
    QTest::qWait(50);
    ASSERT_EQ(script.texts.size(), 1);
    EXPECT_EQ(script.texts[0], setupText::NotDone() + "\n" + setupText::FailedGroup());
    EXPECT_EQ(Setting("Version"), QString());
    EXPECT_EQ(Setting("EXEPATH"), folder);
    EXPECT_TRUE(Child<ColourButton>("Button3")->isVisible());
    EXPECT_TRUE(w->isVisible());
}

TEST_F(SetupWindowTest, TheTwoColourBoxesNeverStayCheckedTogether)
{
    Open(StartNormal, source + "/nuvask");
    auto *keldo = Child<QCheckBox>("KELDO_COLOR");
    auto *back = Child<QCheckBox>("CheckBoxBkColor");
    EXPECT_TRUE(keldo->isChecked());
    EXPECT_EQ(w->palette().color(QPalette::Window), QColor(0, 128, 0));
    QTest::mouseClick(back, Qt::LeftButton, {}, QPoint(5, back->height() / 2));
    EXPECT_TRUE(back->isChecked());
    EXPECT_FALSE(keldo->isChecked());
    EXPECT_NE(w->palette().color(QPalette::Window), QColor(0, 128, 0));
    QTest::mouseClick(keldo, Qt::LeftButton, {}, QPoint(5, keldo->height() / 2));
    EXPECT_TRUE(keldo->isChecked());
    EXPECT_FALSE(back->isChecked());
}

TEST_F(SetupWindowTest, UninstallKeepsAnotherProductsMakerKeyAndReplacesAForeignCopy)
{
    // Installed, with another product of the maker beside it and an older
    // uninstaller copy of exactly the same size.
    const QString folder = xdg.root() + "/inst";
    WriteFile(folder + "/nuvask", "program bytes");
    WriteFile(folder + "/NUVASK.TXT", "t");
    WriteFile(folder + "/NUVASKVR.LIS", "v");
    auto settings = settingsTree.open(SettingsRoot::CurrentUser, SettingsKeyPath("NUVASK"), true);
    settings->writeStrings({{"EXEPATH", folder}, {"Group", "KELDO SOFT32"}, {"Version", "23"}});
    settingsTree.open(SettingsRoot::CurrentUser, "Software\\KELDO SOFT32\\OTHER", true)->writeString("x", "1");
    WriteFile(platform.DataDir() + start.UninstallerFileName, "program BYTES");

    Open(StartUninstallRequested, folder + "/nuvask");
    script.answers = {6, 7, 6}; // uninstall: yes; presets: keep; settings: delete
    ASSERT_TRUE(WaitFinished());
    EXPECT_EQ(script.texts.size(), 3) << script.texts.join("|").toStdString();
    EXPECT_FALSE(QFileInfo::exists(folder + "/NUVASK.TXT"));
    EXPECT_TRUE(QFileInfo::exists(folder + "/NUVASKVR.LIS"));
    EXPECT_FALSE(settingsTree.keyExists(SettingsRoot::CurrentUser, SettingsKeyPath("NUVASK")));
    EXPECT_TRUE(settingsTree.keyExists(SettingsRoot::CurrentUser, "Software\\KELDO SOFT32\\OTHER"));
    EXPECT_EQ(ReadFile(platform.DataDir() + start.UninstallerFileName), "program bytes");
    EXPECT_EQ(platform.started, QStringList({platform.DataDir() + start.UninstallerFileName, "/DeleteFile"}));

    // The record is private to the user and names the running program.
    const QString record = settingsTree.fileFor(SettingsRoot::Users).replace(SettingsFileStore::defaultFolder(),
                                                                     XdgSetupPlatform::HandoverFolder());
    EXPECT_EQ(QFile::permissions(record), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    HandoverRecord r;
    ASSERT_EQ(platform.ReadHandover(r), ISetupPlatform::ReadResult::Read);
    EXPECT_EQ(r.file, folder + "/nuvask");
    EXPECT_EQ(r.title, "DORIVA SOUND ボリューム V2.3 削除");
}

TEST_F(SetupWindowTest, UninstallQuestionsLeftAloneDeleteNothing)
{
    const QString folder = xdg.root() + "/inst";
    Open(StartNormal, source + "/nuvask");
    Child<QLineEdit>("Edit1")->setText(folder);
    script.answers = {6};
    Click("Button3");
    ASSERT_TRUE(WaitFinished());
    WriteFile(folder + "/NUVASKVR.LIS", "v");
    const QStringList installed = Files(xdg.root());

    // Nobody answers "uninstall?": it ends unanswered with No.
    script.texts.clear();
    script.answers = {-1, 1};
    Open(StartUninstallRequested, folder + "/nuvask");
    ASSERT_TRUE(WaitFinished());
    ASSERT_EQ(script.texts.size(), 2) << script.texts.join("|").toStdString();
    EXPECT_EQ(script.texts[1], setupText::UninstallCancelled());
    EXPECT_EQ(Files(xdg.root()), installed);

    // Yes to the uninstall, then nobody answers the two deleting questions:
    // the registered volumes and the settings stay.
    script.answers = {6, -1, -1};
    Open(StartUninstallRequested, folder + "/nuvask");
    ASSERT_TRUE(WaitFinished());
    EXPECT_EQ(ReadFile(folder + "/NUVASKVR.LIS"), "v");
    EXPECT_EQ(Setting("EXEPATH"), folder);
    EXPECT_FALSE(QFileInfo::exists(groups.ItemFile("KELDO SOFT32", "DORIVA SOUND ボリューム")));
}

TEST_F(SetupWindowTest, ForgedHandOverRecordsDeleteNothing)
{
    const QString copy = platform.DataDir() + start.UninstallerFileName;
    WriteFile(copy, "program bytes");
    const QString folder = xdg.root() + "/inst";
    WriteFile(folder + "/nuvask", "program bytes");
    const QString victim = xdg.root() + "/victim/data.txt";
    WriteFile(victim, "program bytes");

    struct Case
    {
        const char *what;
        QString file;
        QString installDir;
        bool worldWritable;
    };
    const Case cases[] = {
        {"another file", victim, xdg.root() + "/victim", false},
        {"the program, record open to all", folder + "/nuvask", folder, true},
        {"the program, never installed", folder + "/nuvask", QString(), false},
        {"the program, installed elsewhere", folder + "/nuvask", xdg.root() + "/elsewhere", false},
    };
    for (const Case &c : cases) {
        HandoverRecord r;
        r.file = c.file;
        r.installDir = c.installDir;
        ASSERT_TRUE(platform.WriteHandover(r));
        const QString record = XdgSetupPlatform::HandoverFolder() + "/HKEY_USERS.reg";
        if (c.worldWritable)
            QFile::setPermissions(record, QFile::permissions(record) | QFile::WriteOther | QFile::ReadOther);
        script.texts.clear();
        Open(StartAsUninstaller, copy, {"/DeleteFile"});
        ASSERT_TRUE(WaitFinished()) << c.what;
        EXPECT_EQ(script.texts, QStringList({setupText::ParameterError()})) << c.what;
        EXPECT_EQ(w->windowTitle(), "UNINSTALL_KELDO000") << c.what;
        EXPECT_TRUE(QFileInfo::exists(victim)) << c.what;
        EXPECT_TRUE(QFileInfo::exists(folder + "/nuvask")) << c.what;
        w.reset();
        QFile::remove(record);
    }
}

TEST_F(SetupWindowTest, UninstallWhileRunningIsRefused)
{
    Open(StartUninstallRefused, source + "/nuvask");
    ASSERT_TRUE(WaitFinished());
    EXPECT_EQ(script.texts, QStringList({setupText::Refused()}));
    EXPECT_EQ(w->windowTitle(), "DORIVA SOUND ボリューム V2.3 削除");
    EXPECT_TRUE(QFileInfo::exists(source + "/nuvask"));
}

TEST_F(SetupWindowTest, CopyDeletesTheProgramAndEmptiedFoldersButGivesUpOnOneThatNeverEnds)
{
    const QString copy = platform.DataDir() + start.UninstallerFileName;
    WriteFile(copy, "program bytes");
    const QString kept = xdg.root() + "/kept"; // there before the install
    const QString folder = kept + "/a/b";
    WriteFile(folder + "/nuvask", "program bytes");
    HandoverRecord r;
    r.file = folder + "/nuvask";
    r.installDir = folder;
    r.keepDir = kept;

    // A program that never ends: the tries are bounded, then the user is told.
    platform.neverEnds = true;
    ASSERT_TRUE(platform.WriteHandover(r));
    Open(StartAsUninstaller, copy, {"/DeleteFile"});
    ASSERT_TRUE(WaitFinished(10000));
    EXPECT_EQ(script.texts, QStringList({setupText::StillRunning().arg(folder + "/nuvask")}));
    EXPECT_TRUE(QFileInfo::exists(folder + "/nuvask"));
    w.reset();

    platform.neverEnds = false;
    script.texts.clear();
    ASSERT_TRUE(platform.WriteHandover(r));
    Open(StartAsUninstaller, copy, {"/DeleteFile"});
    ASSERT_TRUE(WaitFinished());
    EXPECT_EQ(script.texts, QStringList({setupText::Removed()}));
    EXPECT_EQ(w->windowTitle(), "UNINSTALL_KELDO000") << "a record without a title";
    EXPECT_FALSE(QFileInfo::exists(kept + "/a"));
    EXPECT_TRUE(QFileInfo(kept).isDir());
    EXPECT_FALSE(QFileInfo::exists(XdgSetupPlatform::HandoverFolder())) << "the record stays behind";
}

TEST_F(SetupWindowTest, BrowseStartsAtTheTypedFolderAndTakesTheChosenOne)
{
    const QString typed = xdg.root() + "/typed";
    const QString chosen = xdg.root() + "/選んだ フォルダー";
    QDir().mkpath(typed);
    QDir().mkpath(chosen);
    Open(StartNormal, source + "/nuvask");
    Child<QLineEdit>("Edit1")->setText(typed);
    FolderBrowser *browser = w->folderBrowser();
    browser->SetDrivesForTest({DriveEntry{"/", DriveKind::Fixed, QString(), QString()}});
    QString started, title;
    auto choose = [&](bool accept) {
        QTimer::singleShot(0, [&, accept] {
            FolderBrowserWindow *form = browser->Form();
            ASSERT_NE(form, nullptr);
            started = form->State().CurrentFolder();
            title = form->windowTitle();
            form->GoToFolder(chosen);
            QTest::mouseClick(form->findChild<QWidget *>(accept ? "Button2" : "Button1"), Qt::LeftButton);
        });
        Click("Button1");
    };
    choose(false); // キャンセル: the field keeps its text
    EXPECT_EQ(Child<QLineEdit>("Edit1")->text(), typed);
    choose(true);
    EXPECT_EQ(started, typed);
    EXPECT_TRUE(title.startsWith("登録先")) << title.toStdString();
    EXPECT_EQ(Child<QLineEdit>("Edit1")->text(), chosen);
}

namespace {

const QString kTitle = QStringLiteral("DORIVA SOUND ボリューム");
const QString kUninstallItem = kTitle + QStringLiteral(" アンインストール");

QString KeepDir(SettingsFileStore &settingsTree)
{
    auto entry = settingsTree.open(SettingsRoot::LocalMachine,
                               "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\NUVASK", false);
    return entry ? entry->readString(kKeepDirValue) : QString("<no entry>");
}

} // namespace

TEST_F(SetupWindowTest, TheFolderAnInstallFoundStaysItsThroughARetryAndAReinstall)
{
    // The first attempt makes the folder and stops at the copy.
    QFile::remove(source + "/NUVASK.TXT");
    const QString folder = xdg.root() + "/made/here";
    Open(StartNormal, source + "/nuvask");
    Child<QLineEdit>("Edit1")->setText(folder);
    script.answers = {6};
    Click("Button3");
    ASSERT_TRUE(QFileInfo(folder).isDir());
    ASSERT_EQ(Setting("Version"), QString());
    // Retried in the same window: the folder exists now, but this install made it.
    WriteFile(source + "/NUVASK.TXT", "text");
    Click("Button3");
    ASSERT_TRUE(WaitFinished());
    EXPECT_EQ(KeepDir(settingsTree), xdg.root());

    // The usual update, into the same folder: still what the first install found.
    settingsTree.open(SettingsRoot::CurrentUser, SettingsKeyPath("NUVASK"), false)->deleteValue("Version");
    Open(StartNormal, source + "/nuvask");
    EXPECT_EQ(Child<QLineEdit>("Edit1")->text(), folder);
    Click("Button3");
    ASSERT_TRUE(WaitFinished());
    EXPECT_EQ(KeepDir(settingsTree), xdg.root());

    // Into another folder the finding is made afresh.
    settingsTree.open(SettingsRoot::CurrentUser, SettingsKeyPath("NUVASK"), false)->deleteValue("Version");
    Open(StartNormal, source + "/nuvask");
    Child<QLineEdit>("Edit1")->setText(xdg.root() + "/made");
    Click("Button3");
    ASSERT_TRUE(WaitFinished());
    EXPECT_EQ(KeepDir(settingsTree), xdg.root() + "/made");
}

TEST_F(SetupWindowTest, AReinstallIntoAnotherFolderTakesOnlyWhatTheEarlierInstallPutThere)
{
    WriteFile(source + "/NUVASK_EN.HLP", "english help");
    // Each install into a folder two new levels deep, every question answered Yes.
    auto install = [this](const QString &folder) {
        settingsTree.open(SettingsRoot::CurrentUser, SettingsKeyPath("NUVASK"), true)->deleteValue("Version");
        Open(StartNormal, source + "/nuvask");
        Child<QLineEdit>("Edit1")->setText(folder);
        script.answers = {6};
        Click("Button3");
        ASSERT_TRUE(WaitFinished());
        ASSERT_EQ(Setting("Version"), "23");
    };
    const QString a = xdg.root() + "/made/a", b = xdg.root() + "/other/b", c = xdg.root() + "/c";
    install(a);
    WriteFile(a + "/notes.txt", "the user's");
    install(b);
    EXPECT_EQ(Files(xdg.root() + "/made"), QStringList{"a/notes.txt"});
    EXPECT_EQ(Files(b), QStringList({"NUVASK.HLP", "NUVASK.TXT", "NUVASK_EN.HLP", "nuvask"}));

    // A program unpacked by the user and installed where it lies: the
    // install copied nothing there, and the next move takes nothing from it.
    for (const char *name : {"nuvask", "NUVASK.TXT", "NUVASK.HLP"})
        WriteFile(c + "/" + name, name);
    const QString download = source;
    source = c;
    install(c);
    EXPECT_FALSE(QFileInfo::exists(xdg.root() + "/other")) << "emptied folders the install made stay";
    source = download;
    install(xdg.root() + "/d");
    EXPECT_EQ(Files(c).size(), 3) << "files the install did not copy went";
}

TEST_F(SetupWindowTest, TheUninstallerLauncherSpeaksTheUsersLanguageUnderItsFixedFileName)
{
    ASSERT_EQ(groups.ExecuteGroupCommand(*CreateGroupCommand("KELDO SOFT32")), QString());
    {
        EnglishTexts english;
        const SetupNames names = MakeSetupNames(start);
        XdgSetupPlatform englishRun(groups, names.UninstallItem, names.ShownUninstallItem);
        ASSERT_TRUE(englishRun.AddUninstallLauncher("KELDO SOFT32", "/x/nuvask"));
    }
    const QString file = groups.ItemFile("KELDO SOFT32", kUninstallItem);
    const QString launcher = QString::fromUtf8(ReadFile(file));
    EXPECT_TRUE(launcher.contains("\nName=Uninstall DORIVA SOUND Volume\n")) << launcher.toStdString();
    EXPECT_TRUE(launcher.contains("\nCategories=Settings;PackageManager;\n")) << "listed among the sound programs";
    // A Japanese run's uninstall finds it.
    platform.RemoveUninstallLauncher("KELDO SOFT32");
    EXPECT_FALSE(QFileInfo::exists(file));
}

TEST_F(SetupWindowTest, AnotherGroupTakesTheLaunchersAndTheOldGroupKeepsWhatIsNotOurs)
{
    const QString folder = xdg.root() + "/inst";
    QDir().mkpath(folder);
    Open(StartNormal, source + "/nuvask");
    Child<QLineEdit>("Edit1")->setText(folder);
    Click("Button3");
    ASSERT_TRUE(WaitFinished());
    // Someone else's launcher in the same group.
    ASSERT_EQ(groups.ExecuteGroupCommand(*ShowGroupCommand("KELDO SOFT32") + *AddItemCommand("/bin/true", "Other")),
              QString());

    settingsTree.open(SettingsRoot::CurrentUser, SettingsKeyPath("NUVASK"), false)->deleteValue("Version");
    Open(StartNormal, source + "/nuvask");
    QTest::qWait(20); // the group list
    Child<QComboBox>("ComboBox1")->setEditText("Zeta");
    Click("Button3");
    ASSERT_TRUE(WaitFinished());
    EXPECT_EQ(Setting("Group"), "Zeta");
    for (const QString &item : {kTitle, kUninstallItem}) {
        EXPECT_TRUE(QFileInfo::exists(groups.ItemFile("Zeta", item))) << item.toStdString();
        EXPECT_FALSE(QFileInfo::exists(groups.ItemFile("KELDO SOFT32", item))) << item.toStdString();
    }
    EXPECT_TRUE(QFileInfo::exists(groups.ItemFile("KELDO SOFT32", "Other")));
    EXPECT_TRUE(groups.RequestGroups().contains("KELDO SOFT32"));
}

TEST_F(SetupWindowTest, UninstallTakesAwayTheFoldersAndFilesTheInstallMadeAndNothingElse)
{
    // There before: an empty autostart folder, and a menu folder holding
    // another program's entry.
    QDir().mkpath(xdg.configHome() + "/autostart");
    WriteFile(xdg.dataHome() + "/applications/other.desktop", "[Desktop Entry]\n");
    const QString folder = xdg.root() + "/inst";
    Open(StartNormal, source + "/nuvask");
    Child<QLineEdit>("Edit1")->setText(folder);
    Child<QCheckBox>("CheckBoxST")->setChecked(true);
    script.answers = {-1}; // the folder question: the countdown takes Yes
    Click("Button3");
    ASSERT_TRUE(WaitFinished());
    ASSERT_TRUE(QFileInfo::exists(groups.ItemFile("Startup", kTitle)));
    // Besides the icon theme's folders (the icons' own test follows them).
    const QString icons = xdg.dataHome() + "/icons";
    EXPECT_TRUE(made.Remembered().contains(icons));
    QStringList remembered;
    for (const QString &dir : made.Remembered()) {
        if (dir != icons && !dir.startsWith(icons + "/"))
            remembered << dir;
    }
    remembered.sort();
    EXPECT_EQ(remembered, QStringList({xdg.configHome() + "/menus", xdg.configHome() + "/menus/applications-merged",
                                       xdg.dataHome() + "/desktop-directories"}));

    script.texts.clear();
    script.answers = {6, 6, 6};
    Open(StartUninstallRequested, folder + "/nuvask");
    ASSERT_TRUE(WaitFinished());
    ASSERT_EQ(platform.started.size(), 2);
    // The settings files held nothing but their headers: gone.
    for (SettingsRoot root : {SettingsRoot::CurrentUser, SettingsRoot::LocalMachine})
        EXPECT_FALSE(QFileInfo::exists(settingsTree.fileFor(root))) << settingsTree.fileFor(root).toStdString();
    EXPECT_TRUE(QDir(xdg.configHome() + "/autostart").isEmpty());
    EXPECT_EQ(QDir(xdg.dataHome() + "/applications").entryList(QDir::Files), QStringList{"other.desktop"});
    for (const char *gone : {"/config/menus", "/data/desktop-directories", "/data/icons"})
        EXPECT_FALSE(QFileInfo::exists(xdg.root() + gone)) << gone;

    // The uninstaller copy finishes: nothing of the program's settings folder stays.
    script.texts.clear();
    Open(StartAsUninstaller, platform.started[0], {"/DeleteFile"});
    ASSERT_TRUE(WaitFinished());
    EXPECT_EQ(script.texts, QStringList{setupText::Removed()});
    EXPECT_FALSE(QFileInfo::exists(folder));
    EXPECT_FALSE(QFileInfo::exists(xdg.configHome() + "/nuvask"));
}

TEST_F(SetupWindowTest, MessageBoxesTakeTheWindowsColoursInEveryMode)
{
    const QColor green(0, 128, 0);
    // Installing, in the maker's colours (the default).
    Open(StartNormal, source + "/nuvask");
    Click("Button2"); // its box is shown before the click returns
    EXPECT_EQ(script.texts, QStringList{setupText::Cancelled()});
    EXPECT_EQ(script.backgrounds, QList<QColor>{green});

    // The installed copy's questions.
    script.backgrounds.clear();
    script.answers = {7};
    Open(StartUninstallRequested, source + "/nuvask");
    ASSERT_TRUE(WaitFinished());
    EXPECT_EQ(script.backgrounds, (QList<QColor>{green, green}));

    // The uninstaller copy: the colours of the record (0x0000FF is red).
    const QString copy = platform.DataDir() + start.UninstallerFileName;
    WriteFile(copy, "program bytes");
    const QString folder = xdg.root() + "/inst";
    WriteFile(folder + "/nuvask", "program bytes");
    HandoverRecord r;
    r.file = folder + "/nuvask";
    r.installDir = folder;
    r.color = "255";
    r.fontColor = "16777215";
    ASSERT_TRUE(platform.WriteHandover(r));
    script.backgrounds.clear();
    Open(StartAsUninstaller, copy, {"/DeleteFile"});
    ASSERT_TRUE(WaitFinished());
    EXPECT_EQ(script.backgrounds, QList<QColor>{QColor(255, 0, 0)});
}

TEST_F(SetupWindowTest, EveryLauncherOfAFolderFullOfSpecialCharactersStartsUnderGioAndKde)
{
    // GLib's launcher always; KDE's where it is installed (kde-cli-tools).
    QList<QStringList> launchers;
    const QString gio = QStandardPaths::findExecutable("gio");
    ASSERT_FALSE(gio.isEmpty()) << "gio missing: install libglib2.0-bin (scripts/deps.sh)";
    launchers << QStringList{gio, "launch"};
    if (const QString kio = QStandardPaths::findExecutable("kioclient5"); !kio.isEmpty())
        launchers << QStringList{kio, "exec"};
    // The program leaves its own path and its arguments behind.
    const QString marker = xdg.root() + "/ran";
    WriteFile(source + "/nuvask", "#!/bin/sh\nprintf '%s|' \"$0\" \"$@\" > \"$MARKER\"\n");
    QFile::setPermissions(source + "/nuvask", QFile::permissions(source + "/nuvask") | QFile::ExeOwner);
    // A double quote or a control character cannot be carried by the group
    // commands: such a folder is refused before anything is made or copied.
    Open(StartNormal, source + "/nuvask");
    for (const QString &refused : {xdg.root() + "/say \"hi\"", xdg.root() + "/tab\there"}) {
        script.texts.clear();
        Child<QLineEdit>("Edit1")->setText(refused);
        Click("Button3");
        EXPECT_EQ(script.texts, QStringList{menuGroupText::BadPath() + refused + "/nuvask"});
        EXPECT_FALSE(QFileInfo::exists(refused));
        EXPECT_TRUE(Child<ColourButton>("Button3")->isVisible());
    }
    // Every other character the launcher format treats specially, and the
    // field codes.
    const QString folder = xdg.root() + "/100% a=b 'x' $HOME `id` ;&|*?#()<>~ [1]{2},! 音 \\ %u %%";
    QDir().mkpath(folder);
    Child<QLineEdit>("Edit1")->setText(folder);
    Child<QCheckBox>("CheckBoxST")->setChecked(true);
    Click("Button3");
    ASSERT_TRUE(WaitFinished()) << script.texts.join('|').toStdString();
    const QString program = folder + "/nuvask";
    desktop.CreateShortcut(program, ShellFolder::Desktop); // the Options menu's desktop launcher

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("MARKER", marker);
    QStringList launched;
    QDirIterator it(xdg.root(), {"*.desktop"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString launcher = it.next();
        launched << QFileInfo(launcher).fileName();
        for (const QStringList &tool : std::as_const(launchers)) {
            SCOPED_TRACE((tool.join(' ') + " " + launcher).toStdString());
            QFile::remove(marker);
            QProcess p;
            p.setProcessEnvironment(env);
            p.start(tool[0], {tool[1], launcher});
            ASSERT_TRUE(p.waitForFinished(20000));
            EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().constData();
            EXPECT_TRUE(
                QTest::qWaitFor([&] { return QFileInfo::exists(marker) && QFileInfo(marker).size() > 0; }, 5000));
            const QString expected = program + (launcher.contains("アンインストール") ? "|/uninstall|" : "|");
            EXPECT_EQ(QString::fromUtf8(ReadFile(marker)), expected);
        }
    }
    launched.sort();
    EXPECT_EQ(launched, QStringList({kTitle + ".desktop", kTitle + ".desktop",
                                     "nuvask-KELDO SOFT32-" + kTitle + " アンインストール.desktop",
                                     "nuvask-KELDO SOFT32-" + kTitle + ".desktop"}));
}
