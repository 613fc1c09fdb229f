// The real program started many times at once, against a hung copy, with a
// socket folder another user could have made, and ended by a signal while a
// message box is open.
#include "app/StartTexts.h"
#include "process/ProgramRuns.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <atomic>
#include <sys/stat.h>
#include <unistd.h>

using namespace nuvask;
using test::ProgramRuns;

namespace {

ino_t InodeOf(const QString &path)
{
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
}

// Points the socket folder at a fresh temporary folder (no runtime folder)
// for the life of the object.
struct NoRuntimeFolder
{
    QTemporaryDir tmp;
    QByteArray savedTmp = qgetenv("TMPDIR");
    QByteArray savedRuntime = qgetenv("XDG_RUNTIME_DIR");
    NoRuntimeFolder()
    {
        qputenv("TMPDIR", QFile::encodeName(tmp.path()));
        qunsetenv("XDG_RUNTIME_DIR");
    }
    ~NoRuntimeFolder()
    {
        restore("TMPDIR", savedTmp);
        restore("XDG_RUNTIME_DIR", savedRuntime);
    }
    static void restore(const char *name, const QByteArray &value)
    {
        if (value.isEmpty())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    QString folder() const { return tmp.path() + "/nuvask-" + QString::number(::getuid()); }
};

} // namespace

TEST(StartArbitration, StartsAtTheSameMomentNeverGiveTwoWindows)
{
    ProgramRuns runs;
    ProgramRuns::storeVersion23();
    for (int pair = 0; pair < 6; ++pair) {
        QProcess *a = runs.launch();
        if (pair % 2)
            QThread::msleep(100); // the second start while the first is still starting up
        QProcess *b = runs.launch();
        QElapsedTimer t;
        t.start();
        while (ProgramRuns::running(a) && ProgramRuns::running(b) && t.elapsed() < 8000)
            QThread::msleep(20);
        QThread::msleep(300);
        const bool aRuns = ProgramRuns::running(a);
        const bool bRuns = ProgramRuns::running(b);
        ASSERT_NE(aRuns, bRuns) << "pair " << pair << ": " << (aRuns ? "two windows" : "no window");
        QProcess *window = aRuns ? a : b;
        QProcess *handedOver = aRuns ? b : a;
        EXPECT_EQ(handedOver->exitCode(), 0) << "pair " << pair;
        EXPECT_TRUE(ProgramRuns::waitForWindow(kMainWindowClass, 3000));
        EXPECT_GE(ProgramRuns::terminateTimed(window, 3000), 0);
    }
}

TEST(StartArbitration, FortyStartsAgainstAHungWindowNeitherOpenASecondNorRemoveItsSocket)
{
    ProgramRuns runs;
    ProgramRuns::storeVersion23();
    QProcess *hung = runs.launch();
    ASSERT_TRUE(ProgramRuns::waitForWindow(kMainWindowClass));
    const QString socket = InstanceSocketPath(kMainWindowClass);
    const ino_t inode = InodeOf(socket);
    ASSERT_NE(inode, ino_t(0));
    ::kill(pid_t(hung->processId()), SIGSTOP);

    // More than the listening queue holds: the late ones cannot even connect.
    std::vector<QProcess *> later;
    for (int i = 0; i < 40; ++i)
        later.push_back(runs.launch({QString::number(i)}));
    int ended = 0, saidSo = 0;
    const QDeadlineTimer bound(20000); // each waits at most its 5 s hand-over; all start at once
    for (QProcess *p : later) {
        if (!p->waitForFinished(int(std::max<qint64>(0, bound.remainingTime()))))
            continue;
        ++ended;
        if (p->exitCode() == 1 && QString::fromLocal8Bit(p->readAllStandardError()).contains(startText::NoAnswer()))
            ++saidSo;
    }
    EXPECT_EQ(ended, 40) << "a start that could not reach the window stayed: a second window";
    EXPECT_EQ(saidSo, 40);
    EXPECT_EQ(InodeOf(socket), inode) << "the hung window's socket was removed or replaced";

    // Once it runs again it is reached as before, and still the only one.
    ::kill(pid_t(hung->processId()), SIGCONT);
    QProcess *next = runs.launch();
    ASSERT_TRUE(next->waitForFinished(6000));
    EXPECT_EQ(next->exitCode(), 0);
    EXPECT_TRUE(ProgramRuns::running(hung));
}

TEST(StartArbitration, SocketFolderOfAnotherUserOrOpenToOthersIsRefused)
{
    NoRuntimeFolder noRuntime;
    const QByteArray folder = QFile::encodeName(noRuntime.folder());
    // Made by the program itself: private, used.
    InstanceFolder checked = CheckInstanceFolder();
    EXPECT_EQ(checked.problem, InstanceFolder::None);
    EXPECT_EQ(checked.path, noRuntime.folder());
    struct stat st {};
    ASSERT_EQ(::lstat(folder.constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0700u);

    // Open to others (another user made it so, or could have put a socket in
    // it), or only readable or enterable by them: they could list or reach
    // the sockets.
    for (const mode_t mode : {0755, 0750, 0711, 0777}) {
        ASSERT_EQ(::chmod(folder.constData(), mode), 0);
        EXPECT_EQ(CheckInstanceFolder().problem, InstanceFolder::OpenMode) << std::oct << mode;
    }
    EXPECT_EQ(InstanceLock::tryAcquire(kMainWindowClass), nullptr);
    InstanceServer server;
    EXPECT_FALSE(server.listen(QString(kMainWindowClass)));
    EXPECT_TRUE(InstanceSocketPath(kMainWindowClass).isEmpty());

    // A symbolic link to a private folder of the user is no better: whoever
    // made the link decides where it points.
    QTemporaryDir elsewhere;
    ASSERT_EQ(::chmod(QFile::encodeName(elsewhere.path()).constData(), 0700), 0);
    ASSERT_EQ(::rmdir(folder.constData()), 0);
    ASSERT_EQ(::symlink(QFile::encodeName(elsewhere.path()).constData(), folder.constData()), 0);
    EXPECT_EQ(CheckInstanceFolder().problem, InstanceFolder::NotAFolder);
    ASSERT_EQ(::unlink(folder.constData()), 0);

    // Owned by another user: only root can make one here.
    ASSERT_EQ(::mkdir(folder.constData(), 0700), 0);
    if (::getuid() == 0 && ::chown(folder.constData(), 65534, 65534) == 0) {
        EXPECT_EQ(CheckInstanceFolder().problem, InstanceFolder::ForeignOwner);
        ASSERT_EQ(::chown(folder.constData(), 0, 0), 0);
    }

    // The program refuses to start there, says why, and leaves nothing in it.
    ASSERT_EQ(::chmod(folder.constData(), 0777), 0);
    ProgramRuns runs;
    ProgramRuns::storeVersion23();
    runs.setEnv("TMPDIR", noRuntime.tmp.path());
    runs.unsetEnv("XDG_RUNTIME_DIR");
    QProcess *refused = runs.launch();
    EXPECT_TRUE(ProgramRuns::waitForError(refused, startText::FolderRefused().arg(noRuntime.folder()), 5000));
    // Its message box is open; a termination signal ends it.
    EXPECT_GE(ProgramRuns::terminateTimed(refused, 2000), 0);
    EXPECT_EQ(refused->exitCode(), 1);
    EXPECT_TRUE(QDir(noRuntime.folder()).isEmpty(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot));
}

TEST(StartArbitration, TerminationWhileTheFatalMixerMessageIsOpenEndsTheProcessAtOnce)
{
    ProgramRuns runs;
    ProgramRuns::storeVersion23();
    // No sound server and no ALSA default device: the mixer cannot be opened.
    QFile empty(runs.xdg.root() + "/empty-alsa.conf");
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    runs.setEnv("PULSE_SERVER", "unix:/nonexistent");
    runs.setEnv("ALSA_CONFIG_PATH", empty.fileName());
    QProcess *app = runs.launch();
    ASSERT_TRUE(ProgramRuns::waitForWindow(kMainWindowClass));
    QThread::msleep(1000); // the deferred start-up has shown its message by now
    ASSERT_TRUE(ProgramRuns::running(app));
    // The window still answers a second start while the box is open.
    QProcess *second = runs.launch();
    ASSERT_TRUE(second->waitForFinished(6000));
    EXPECT_EQ(second->exitCode(), 0);

    const qint64 took = ProgramRuns::terminateTimed(app, 2000);
    EXPECT_GE(took, 0) << "still running 2 s after SIGTERM";
    // Ended by its own close, not by the hard stop.
    EXPECT_EQ(app->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(app->exitCode(), 0);
    SettingsFileStore reg;
    if (reg.readString(SettingsRoot::CurrentUser, SettingsKeyPath("NUVASK"), "FP"))
        GTEST_SKIP() << "a mixer device opened here after all: no fatal message was shown";
    EXPECT_FALSE(QFile::exists(InstanceSocketPath(kMainWindowClass)));
}

TEST(StartArbitration, ClientsThatNeverSendAreDroppedSoARealStartGetsThrough)
{
    test::TempXdg xdg;
    InstanceServer server;
    ASSERT_TRUE(server.listen(QString(kMainWindowClass)));
    QStringList got;
    server.setHandler([&](unsigned, const QString &text) { got << text; });
    // More silent connections than the window serves at once.
    std::vector<std::unique_ptr<QLocalSocket>> silent;
    for (int i = 0; i < InstanceServer::kMaxClients + 4; ++i) {
        silent.push_back(std::make_unique<QLocalSocket>());
        silent.back()->connectToServer(InstanceSocketPath(kMainWindowClass));
        ASSERT_TRUE(silent.back()->waitForConnected(1000));
    }
    // A start meanwhile: the lock is held (by the server), so it keeps trying.
    std::atomic<int> result{-1};
    QThread *sender = QThread::create([&] {
        StartArbiter arbiter(InstanceServer::kFrameDeadlineMs + 3000);
        arbiter.sendSecondInstance(kMainWindowClass, "through");
        result = int(arbiter.lastHandOver());
    });
    sender->start();
    QElapsedTimer t;
    t.start();
    while (!sender->isFinished() && t.elapsed() < 8000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    ASSERT_TRUE(sender->wait(3000));
    delete sender;
    EXPECT_EQ(result.load(), int(StartArbiter::HandOver::Delivered));
    EXPECT_EQ(got, QStringList{"through"});
    int dropped = 0;
    for (auto &s : silent) {
        s->waitForDisconnected(0);
        dropped += s->state() == QLocalSocket::UnconnectedState;
    }
    EXPECT_EQ(dropped, int(silent.size()));
}
