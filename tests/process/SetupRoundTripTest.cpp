// The real program installed and uninstalled again in private HOME and XDG
// folders on a virtual X display, every message box answered with Enter as
// a user would (each question defaults to Yes).
#include "ProgramRuns.h"

#include "core/settings/SettingsStore.h"
#include "platform/linux/HiveFileRegistry.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <gtest/gtest.h>

using namespace nuvask;
using test::ProgramRuns;

namespace {

// xdotool on the test display; its output in `out`.
int Xdo(const QStringList &args, int limitMs = 5000, QString *out = nullptr)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", qEnvironmentVariable("NUVASK_TEST_DISPLAY"));
    p.setProcessEnvironment(env);
    p.start("xdotool", args);
    if (!p.waitForFinished(limitMs))
        return -1;
    if (out)
        *out = QString::fromLocal8Bit(p.readAllStandardOutput());
    return p.exitCode();
}

// Enter on the program's newest window (the open message box, else the
// setup window). The focus is given to it first: without a window manager
// nothing else hands it over, and another client may hold it.
void PressEnter()
{
    QString ids;
    Xdo({"search", "--onlyvisible", "--name", "DORIVA SOUND|UNINSTALL_KELDO"}, 3000, &ids);
    const QStringList list = ids.split('\n', Qt::SkipEmptyParts);
    if (list.isEmpty())
        return;
    Xdo({"windowfocus", list.last()}, 3000);
    Xdo({"key", "Return"});
}

const QString kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\NUVASK";

class SetupRoundTrip : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("NUVASK_TEST_DISPLAY") || QStandardPaths::findExecutable("xdotool").isEmpty())
            GTEST_SKIP() << "needs the test X display and xdotool (scripts/with-services.sh)";
        m_runs.setEnv("QT_QPA_PLATFORM", "xcb");
        m_runs.setEnv("DISPLAY", qEnvironmentVariable("NUVASK_TEST_DISPLAY"));
    }

    // Every file and folder below the temporary root, relative to it; the
    // socket folder of the running copies is left out.
    QStringList Tree() const
    {
        QStringList list;
        QDirIterator it(m_runs.xdg.root(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next().mid(m_runs.xdg.root().size());
            if (!path.startsWith("/runtime"))
                list << path;
        }
        list.sort();
        return list;
    }

    // Presses Enter every 300 ms until no process runs the file at `exe`
    // (or the QProcess ended); false after the limit.
    static bool AnswerUntilGone(const QString &exe, int limitMs = 20000)
    {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < limitMs) {
            QThread::msleep(300);
            if (!Running(exe))
                return true;
            PressEnter();
        }
        return false;
    }

    static bool Running(const QString &exe)
    {
        for (const QString &pid : QDir("/proc").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            const QString target = QFile::symLinkTarget("/proc/" + pid + "/exe");
            if (target == exe || target == exe + " (deleted)")
                return true;
        }
        return false;
    }

    // Arguments of the stored uninstall command as a shell-like start reads it.
    static QStringList UninstallCommand()
    {
        HiveFileRegistry reg;
        auto key = reg.open(RegRoot::LocalMachine, kUninstallKey, false);
        return key ? QProcess::splitCommand(key->readString("UninstallString")) : QStringList();
    }

    void Install()
    {
        QProcess *p = m_runs.launch();
        ASSERT_TRUE(AnswerUntilGone(QFileInfo(NUVASK_BINARY).canonicalFilePath())) << "the setup did not end";
        p->waitForFinished(3000);
        EXPECT_EQ(p->exitCode(), 0);
    }

    void Uninstall(const QStringList &command)
    {
        ASSERT_EQ(command.size(), 2);
        QProcess p;
        p.setProgram(command[0]);
        p.setArguments(command.mid(1));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "xcb");
        env.insert("DISPLAY", qEnvironmentVariable("NUVASK_TEST_DISPLAY"));
        p.setProcessEnvironment(env);
        p.start();
        ASSERT_TRUE(p.waitForStarted(5000));
        ASSERT_TRUE(AnswerUntilGone(command[0])) << "the installed copy did not end";
        p.waitForFinished(3000);
        // The uninstaller copy goes on until it has deleted the program.
        ASSERT_TRUE(AnswerUntilGone(UninstallerCopy())) << "the uninstaller copy did not end";
    }

    QString UninstallerCopy() const { return m_runs.xdg.dataHome() + "/nuvask/unin_keldo000.exe"; }

    ProgramRuns m_runs;
};

} // namespace

TEST_F(SetupRoundTrip, InstallThenUninstallLeavesOnlyTheUninstallerCopyAndEmptyFolders)
{
    const QStringList before = Tree();
    Install();
    const QString folder = m_runs.xdg.dataHome() + "/KELDOP32/NUVASK";
    for (const char *name : {"nuvask", "NUVASK.TXT", "NUVASK.HLP"})
        EXPECT_TRUE(QFileInfo::exists(folder + "/" + name)) << name;
    EXPECT_TRUE(QFileInfo(folder + "/nuvask").isExecutable());
    EXPECT_LE(QFileInfo(folder + "/nuvask").size(), 5 << 20) << "the installed program carries its debug information";
    // Every launcher names the icon the install put into the user's theme.
    EXPECT_TRUE(QFileInfo::exists(m_runs.xdg.dataHome() + "/icons/hicolor/48x48/apps/nuvask.png"));
    const QDir launchers(m_runs.xdg.dataHome() + "/applications");
    const QStringList items = launchers.entryList({"nuvask-*.desktop"}, QDir::Files);
    EXPECT_EQ(items.size(), 2) << "the program's and the uninstaller's";
    for (const QString &item : items) {
        QFile f(launchers.filePath(item));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_TRUE(f.readAll().contains("\nIcon=nuvask\n")) << item.toStdString();
    }
    {
        HiveFileRegistry reg;
        auto settings = reg.open(RegRoot::CurrentUser, SettingsKeyPath("NUVASK"), false);
        ASSERT_TRUE(settings);
        EXPECT_EQ(settings->readString("Version"), "23");
        EXPECT_EQ(settings->readString("EXEPATH"), folder);
        EXPECT_EQ(settings->readString("Group"), "KELDO SOFT32");
    }
    const QStringList command = UninstallCommand();
    ASSERT_EQ(command, QStringList({folder + "/nuvask", "/uninstall"}));
    // What using the program adds: a desktop launcher and the registered
    // volumes beside the program (the countdowns take Yes for them too).
    for (const QString &file : {m_runs.xdg.home() + "/Desktop/DORIVA SOUND ボリューム.desktop",
                                folder + "/NUVASKVR.LIS", folder + "/NUVASKVN.LIS"}) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }

    Uninstall(command);
    EXPECT_FALSE(QFileInfo::exists(m_runs.xdg.dataHome() + "/KELDOP32")) << "emptied folders stay";
    HiveFileRegistry reg;
    for (RegRoot root : {RegRoot::CurrentUser, RegRoot::LocalMachine, RegRoot::Users})
        EXPECT_TRUE(reg.subKeys(root, QString()).isEmpty()) << "keys left in " << reg.fileFor(root).toStdString();

    // What may stay: the uninstaller copy, the emptied settings files and
    // the desktop's own menu and autostart folders.
    const QStringList folders{"/data/nuvask", "/config/nuvask", "/config/nuvask/registry", "/config/menus",
                              "/config/menus/applications-merged", "/config/autostart", "/data/applications",
                              "/data/desktop-directories"};
    for (const QString &path : Tree()) {
        if (before.contains(path))
            continue;
        const bool allowed = QFileInfo(m_runs.xdg.root() + path).isDir()
                                 ? folders.contains(path)
                                 : path == "/data/nuvask/unin_keldo000.exe" || path.startsWith("/config/nuvask/registry/");
        EXPECT_TRUE(allowed) << "left behind: " << path.toStdString();
    }
}

TEST_F(SetupRoundTrip, FolderWithBlanksAndJapaneseWorksEndToEnd)
{
    // The folder is taken from the stored install path, as an earlier
    // install leaves it; the parent exists, the folder itself does not.
    const QString parent = m_runs.xdg.home() + "/マイ ソフト";
    const QString folder = parent + "/音量 ツール";
    QDir().mkpath(parent);
    {
        HiveFileRegistry reg;
        reg.open(RegRoot::CurrentUser, SettingsKeyPath("NUVASK"), true)->writeString("EXEPATH", folder);
    }
    Install();
    ASSERT_TRUE(QFileInfo::exists(folder + "/nuvask"));
    const QStringList command = UninstallCommand();
    ASSERT_EQ(command, QStringList({folder + "/nuvask", "/uninstall"}));
    Uninstall(command);
    EXPECT_FALSE(QFileInfo::exists(folder));
    EXPECT_TRUE(QFileInfo(parent).isDir()) << "a folder that was there before the install went";
}

TEST_F(SetupRoundTrip, UninstallerCopyStartedByHandDeletesNothing)
{
    Install();
    const QString program = m_runs.xdg.dataHome() + "/KELDOP32/NUVASK/nuvask";
    QDir().mkpath(m_runs.xdg.dataHome() + "/nuvask");
    ASSERT_TRUE(QFile::copy(program, UninstallerCopy()));
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("DISPLAY", qEnvironmentVariable("NUVASK_TEST_DISPLAY"));
    p.setProcessEnvironment(env);
    p.start(UninstallerCopy(), {});
    ASSERT_TRUE(p.waitForStarted(5000));
    // The parameter error is the only box, captioned UNINSTALL_KELDO000.
    EXPECT_EQ(Xdo({"search", "--sync", "--name", "UNINSTALL_KELDO000"}, 10000), 0);
    ASSERT_TRUE(AnswerUntilGone(UninstallerCopy(), 5000));
    EXPECT_TRUE(p.waitForFinished(3000));
    EXPECT_TRUE(QFileInfo::exists(program));
    HiveFileRegistry reg;
    EXPECT_EQ(reg.open(RegRoot::CurrentUser, SettingsKeyPath("NUVASK"), false)->readString("Version"), "23");
}
