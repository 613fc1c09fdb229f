// The real program installed, installed again and uninstalled in private
// HOME and XDG folders on a virtual X display, every message box answered
// with Enter as a user would (each question defaults to Yes).
#include "process/ProcessFamily.h"
#include "process/ProgramRuns.h"

#include "core/settings/SettingsStore.h"
#include "platform/linux/SettingsFileStore.h"
#include "support/TestFiles.h"

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
using test::ReadFile;

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

// The visible windows of the given processes, bottom to top.
QStringList WindowsOf(const QList<pid_t> &pids)
{
    QStringList ids;
    for (pid_t pid : pids) {
        QString found;
        Xdo({"search", "--onlyvisible", "--pid", QString::number(pid)}, 3000, &found);
        ids += found.split('\n', Qt::SkipEmptyParts);
    }
    return ids;
}

// Enter on the newest window of the test's programs (the open message box,
// else the setup window). The focus is given to it first: without a window
// manager nothing else hands it over, and another client may hold it.
void PressEnter(const QList<pid_t> &pids)
{
    const QStringList list = WindowsOf(pids);
    if (list.isEmpty())
        return;
    Xdo({"windowfocus", list.last()}, 3000);
    Xdo({"key", "Return"});
}

const QString kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\NUVASK";
const QString kTitle = "DORIVA SOUND ボリューム";

// A list one entry a line, for readable failures.
std::string Lines(const QStringList &list)
{
    return list.join('\n').toStdString();
}

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

    // Presses Enter every 300 ms until every process the test started, and
    // every one those started, has ended; false after the limit.
    bool AnswerUntilGone(int limitMs = 30000)
    {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < limitMs) {
            QThread::msleep(300);
            const QList<pid_t> living = m_family.Living();
            if (living.isEmpty())
                return true;
            PressEnter(living);
        }
        return false;
    }

    // Arguments of the stored uninstall command as a shell-like start reads it.
    static QStringList UninstallCommand()
    {
        SettingsFileStore reg;
        auto key = reg.open(SettingsRoot::LocalMachine, kUninstallKey, false);
        return key ? QProcess::splitCommand(key->readString("UninstallString")) : QStringList();
    }

    static QString Setting(const char *name)
    {
        SettingsFileStore reg;
        auto settings = reg.open(SettingsRoot::CurrentUser, SettingsKeyPath("NUVASK"), false);
        return settings ? settings->readString(name) : QString();
    }

    // As a newer version finds it: the next start opens the setup window.
    static void ForgetVersion()
    {
        SettingsFileStore reg;
        reg.open(SettingsRoot::CurrentUser, SettingsKeyPath("NUVASK"), false)->deleteValue("Version");
    }

    // The setup run by the built program; `group` typed into the group box
    // when given, everything else as offered.
    void Install(const QString &group = QString())
    {
        QProcess *p = m_runs.launch();
        if (!group.isEmpty()) {
            QString id;
            Xdo({"search", "--sync", "--onlyvisible", "--pid", QString::number(p->processId())}, 10000, &id);
            id = id.section('\n', 0, 0);
            ASSERT_FALSE(id.isEmpty()) << "no setup window";
            Xdo({"windowfocus", "--sync", id});
            Xdo({"mousemove", "--window", id, "60", "116"}); // ComboBox1 at (8,104), 313 x 24
            Xdo({"click", "1"});
            Xdo({"key", "ctrl+a"});
            Xdo({"type", group});
        }
        ASSERT_TRUE(AnswerUntilGone()) << "the setup did not end";
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
        // The uninstaller copy goes on until it has deleted the program.
        ASSERT_TRUE(AnswerUntilGone()) << "the installed copy or the uninstaller copy did not end";
        p.waitForFinished(3000);
    }

    QString UninstallerCopy() const { return m_runs.xdg.dataHome() + "/nuvask/unin_keldo000.exe"; }
    QString Applications() const { return m_runs.xdg.dataHome() + "/applications"; }

    ProgramRuns m_runs;
    test::ProcessFamily m_family;
};

} // namespace

TEST_F(SetupRoundTrip, InstallThenUninstallLeavesOnlyTheUninstallerCopy)
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
    for (const QString &item : items)
        EXPECT_TRUE(ReadFile(launchers.filePath(item)).contains("\nIcon=nuvask\n")) << item.toStdString();
    EXPECT_EQ(Setting("Version"), "23");
    EXPECT_EQ(Setting("EXEPATH"), folder);
    EXPECT_EQ(Setting("Group"), "KELDO SOFT32");
    // The Startup box was not checked: no autostart folder for nothing.
    EXPECT_FALSE(QFileInfo::exists(m_runs.xdg.configHome() + "/autostart"));
    const QStringList command = UninstallCommand();
    ASSERT_EQ(command, QStringList({folder + "/nuvask", "/uninstall"}));
    // What using the program adds: a desktop launcher and the registered
    // volumes beside the program (the countdowns take Yes for them too).
    for (const QString &file : {m_runs.xdg.home() + "/Desktop/" + kTitle + ".desktop", folder + "/NUVASKVR.LIS",
                                folder + "/NUVASKVN.LIS"}) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }

    Uninstall(command);
    QStringList after = Tree();
    EXPECT_EQ(after.removeAll("/data/nuvask/unin_keldo000.exe") + after.removeAll("/data/nuvask"), 2);
    EXPECT_EQ(Lines(after), Lines(before)) << "left behind or taken away";
}

TEST_F(SetupRoundTrip, ReinstallsIntoTheSameFolderAndAnotherGroupThenUninstallLeaveTheTreeAsItWas)
{
    const QStringList before = Tree();
    const QString folder = m_runs.xdg.dataHome() + "/KELDOP32/NUVASK";
    Install();
    ForgetVersion(); // the usual update: a newer version opens the setup again
    Install();
    ASSERT_EQ(Setting("EXEPATH"), folder);
    ForgetVersion();
    Install("Other Tools");
    ASSERT_EQ(Setting("Group"), "Other Tools");
    ASSERT_EQ(Setting("Version"), "23");

    // The launchers moved with the group: none is left in the old one, and
    // the old group, emptied, is gone from the menu.
    const QStringList items = QDir(Applications()).entryList({"nuvask-*.desktop"}, QDir::Files, QDir::Name);
    EXPECT_EQ(Lines(items), Lines({"nuvask-Other Tools-" + kTitle + " アンインストール.desktop",
                                   "nuvask-Other Tools-" + kTitle + ".desktop"}));
    EXPECT_FALSE(QFileInfo::exists(m_runs.xdg.dataHome() + "/desktop-directories/nuvask-KELDO SOFT32.directory"));

    Uninstall(UninstallCommand());
    // Only the uninstaller copy stays (it deletes the program and cannot
    // delete itself); the folders the installs made went, those that were
    // there before stayed.
    QStringList after = Tree();
    EXPECT_EQ(after.removeAll("/data/nuvask/unin_keldo000.exe") + after.removeAll("/data/nuvask"), 2);
    EXPECT_EQ(Lines(after), Lines(before)) << "left behind or taken away";
}

TEST_F(SetupRoundTrip, FolderWithBlanksAndJapaneseWorksEndToEnd)
{
    // The folder is taken from the stored install path, as an earlier
    // install leaves it; the parent exists, the folder itself does not.
    const QString parent = m_runs.xdg.home() + "/マイ ソフト";
    const QString folder = parent + "/音量 ツール";
    QDir().mkpath(parent);
    {
        SettingsFileStore reg;
        reg.open(SettingsRoot::CurrentUser, SettingsKeyPath("NUVASK"), true)->writeString("EXEPATH", folder);
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
    EXPECT_EQ(Xdo({"search", "--sync", "--all", "--pid", QString::number(p.processId()), "--name", "UNINSTALL_KELDO000"}, 10000),
              0);
    ASSERT_TRUE(AnswerUntilGone(5000));
    EXPECT_TRUE(p.waitForFinished(3000));
    EXPECT_TRUE(QFileInfo::exists(program));
    EXPECT_EQ(Setting("Version"), "23");
}
