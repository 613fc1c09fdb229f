// The setup window in this process on private XDG folders with the real
// settings files, menu groups and hand-over record: clicks on its buttons,
// every message box answered from a script.
#include "support/ModalScript.h"

#include "core/settings/SettingsStore.h"
#include "core/setup/SetupTexts.h"
#include "platform/linux/HiveFileRegistry.h"
#include "platform/linux/XdgDesktopEntries.h"
#include "platform/linux/XdgProgramGroups.h"
#include "platform/linux/XdgSetupPlatform.h"
#include "support/TempXdg.h"
#include "ui/widgets/ColorBtn.h"
#include "ui/folders/DIR2OPENDLG.h"
#include "ui/folders/DIR2VIEWForm.h"
#include "ui/setup/NuvaskSetupFm.h"
#include "support/TestFiles.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace nuvask;
using namespace nuvask::test;

namespace {

// Records the start of the uninstaller copy instead of starting it.
class RecordingPlatform : public XdgSetupPlatform
{
public:
    using XdgSetupPlatform::XdgSetupPlatform;
    bool StartDetached(const QString &program, const QStringList &arguments, const QString &) override
    {
        started << program << arguments;
        return true;
    }
    bool ProgramRunning(const QString &path) const override
    {
        return neverEnds || XdgSetupPlatform::ProgramRunning(path);
    }
    QStringList started;
    bool neverEnds = false;
};

using test::ReadFile;
using test::WriteFile;

class SetupWindowTest : public ::testing::Test
{
protected:
    TempXdg xdg;
    HiveFileRegistry registry;
    XdgDesktopEntries desktop{"DORIVA SOUND ボリューム", "nuvask"};
    XdgProgramGroups groups{"nuvask", "Startup"};
    RecordingPlatform platform{groups, "DORIVA SOUND ボリューム アンインストール"};
    StartValues start = MakeStartValues("/x/nuvask", '/');
    QString source; // folder of the "running" program
    std::unique_ptr<TNUVASK_SETUPFM> w;
    ModalScript script;

    void SetUp() override
    {
        TNUVASK_SETUPFM::SetTimeScalePermille(10);
        TMKBox::SetTickIntervalMs(5);
        source = xdg.root() + "/src";
        WriteFile(source + "/nuvask", "program bytes");
        WriteFile(source + "/NUVASK.TXT", "text");
        WriteFile(source + "/NUVASK.HLP", "help");
    }
    void TearDown() override
    {
        w.reset();
        TNUVASK_SETUPFM::SetTimeScalePermille(1000);
        TMKBox::SetTickIntervalMs(1000);
    }

    void Open(int mode, const QString &exe, const QStringList &parameters = {})
    {
        const SetupServices services{registry, groups, desktop, platform, exe, parameters};
        w = std::make_unique<TNUVASK_SETUPFM>(mode, services, start);
        if (mode == StartNormal)
            w->show();
    }

    template<class T> T *Child(const char *name) { return w->findChild<T *>(name); }

    void Click(const char *button) { Child<TColorBtn>(button)->Click(); }

    // Runs the event loop until the window says it has finished.
    bool WaitFinished(int ms = 5000)
    {
        bool done = false;
        QObject::connect(w.get(), &TNUVASK_SETUPFM::Finished, [&done] { done = true; });
        QElapsedTimer t;
        t.start();
        while (!done && t.elapsed() < ms)
            QTest::qWait(10);
        return done;
    }

    QString Setting(const char *name)
    {
        auto key = registry.open(RegRoot::CurrentUser, SettingsKeyPath("NUVASK"), false);
        return key ? key->readString(name) : QString();
    }
};

} // namespace

TEST_F(SetupWindowTest, GroupListEndsWithTheMakersGroupsAndPrefersTheStoredOne)
{
    for (const char *g : {"Zeta", "KELDO SOFT", "alpha", "KELDO SOFT32"})
        ASSERT_EQ(groups.ProgmanExecute(*CreateGroupCommand(g)), QString());
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
    registry.open(RegRoot::CurrentUser, SettingsKeyPath("NUVASK"), true)->writeString("Group", "Zeta");
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
    EXPECT_EQ(script.texts, QStringList({folder + "\n" + setupText::CreateFolder}));
    EXPECT_FALSE(QFileInfo::exists(xdg.root() + "/new"));
    EXPECT_TRUE(Child<TColorBtn>("Button3")->isVisible());
    EXPECT_EQ(Setting("EXEPATH"), QString());

    script.texts.clear();
    script.answers = {-1}; // the countdown takes Yes
    Click("Button3");
    ASSERT_TRUE(WaitFinished());
    EXPECT_EQ(script.texts.size(), 2) << script.texts.join("|").toStdString();
    EXPECT_EQ(script.texts.value(1), setupText::Done.arg("KELDO SOFT32"));
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
    EXPECT_TRUE(Child<TColorBtn>("Button3")->isVisible());
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
    EXPECT_EQ(script.texts, QStringList({setupText::Done.arg("KELDO SOFT32")}));
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
    EXPECT_EQ(script.texts[0], setupText::NotDone + "\n" + setupText::FailedGroup);
    EXPECT_EQ(Setting("Version"), QString());
    EXPECT_EQ(Setting("EXEPATH"), folder);
    EXPECT_TRUE(Child<TColorBtn>("Button3")->isVisible());
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
    auto settings = registry.open(RegRoot::CurrentUser, SettingsKeyPath("NUVASK"), true);
    settings->writeStrings({{"EXEPATH", folder}, {"Group", "KELDO SOFT32"}, {"Version", "23"}});
    registry.open(RegRoot::CurrentUser, "Software\\KELDO SOFT32\\OTHER", true)->writeString("x", "1");
    WriteFile(platform.WindowsDir() + start.UninstallerFileName, "program BYTES");

    Open(StartUninstallRequested, folder + "/nuvask");
    script.answers = {6, 7, 6}; // uninstall: yes; presets: keep; settings: delete
    ASSERT_TRUE(WaitFinished());
    EXPECT_EQ(script.texts.size(), 3) << script.texts.join("|").toStdString();
    EXPECT_FALSE(QFileInfo::exists(folder + "/NUVASK.TXT"));
    EXPECT_TRUE(QFileInfo::exists(folder + "/NUVASKVR.LIS"));
    EXPECT_FALSE(registry.keyExists(RegRoot::CurrentUser, SettingsKeyPath("NUVASK")));
    EXPECT_TRUE(registry.keyExists(RegRoot::CurrentUser, "Software\\KELDO SOFT32\\OTHER"));
    EXPECT_EQ(ReadFile(platform.WindowsDir() + start.UninstallerFileName), "program bytes");
    EXPECT_EQ(platform.started, QStringList({platform.WindowsDir() + start.UninstallerFileName, "/DeleteFile"}));

    // The record is private to the user and names the running program.
    const QString record = registry.fileFor(RegRoot::Users).replace(HiveFileRegistry::defaultFolder(),
                                                                     XdgSetupPlatform::HandoverFolder());
    EXPECT_EQ(QFile::permissions(record), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    HandoverRecord r;
    ASSERT_EQ(platform.ReadHandover(r), ISetupPlatform::ReadResult::Read);
    EXPECT_EQ(r.file, folder + "/nuvask");
    EXPECT_EQ(r.title, "DORIVA SOUND ボリューム V2.3 削除");
}

TEST_F(SetupWindowTest, ForgedHandOverRecordsDeleteNothing)
{
    const QString copy = platform.WindowsDir() + start.UninstallerFileName;
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
        EXPECT_EQ(script.texts, QStringList({setupText::ParameterError})) << c.what;
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
    EXPECT_EQ(script.texts, QStringList({setupText::Refused}));
    EXPECT_EQ(w->windowTitle(), "DORIVA SOUND ボリューム V2.3 削除");
    EXPECT_TRUE(QFileInfo::exists(source + "/nuvask"));
}

TEST_F(SetupWindowTest, CopyDeletesTheProgramAndEmptiedFoldersButGivesUpOnOneThatNeverEnds)
{
    const QString copy = platform.WindowsDir() + start.UninstallerFileName;
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
    EXPECT_EQ(script.texts, QStringList({setupText::StillRunning.arg(folder + "/nuvask")}));
    EXPECT_TRUE(QFileInfo::exists(folder + "/nuvask"));
    w.reset();

    platform.neverEnds = false;
    script.texts.clear();
    ASSERT_TRUE(platform.WriteHandover(r));
    Open(StartAsUninstaller, copy, {"/DeleteFile"});
    ASSERT_TRUE(WaitFinished());
    EXPECT_EQ(script.texts, QStringList({setupText::Removed}));
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
    TDIR2OPENDLG *browser = w->DIR2OPENDLG1();
    browser->SetDrivesForTest({DriveEntry{"/", DriveKind::Fixed, QString(), QString()}});
    QString started, title;
    auto choose = [&](bool accept) {
        QTimer::singleShot(0, [&, accept] {
            TDIR2VIEWForm *form = browser->Form();
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
