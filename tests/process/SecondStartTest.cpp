// The real binary, started twice.
#include "core/ProgramEntry.h"
#include "platform/linux/HiveFileRegistry.h"
#include "platform/linux/LocalInstance.h"
#include "support/TempXdg.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLocalServer>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

using namespace nuvask;

namespace {

struct SecondStart : ::testing::Test
{
    test::TempXdg xdg;
    QList<QProcess *> procs;

    void SetUp() override { qputenv("QT_QPA_PLATFORM", "offscreen"); }
    void TearDown() override
    {
        for (QProcess *p : procs) {
            if (p->state() != QProcess::NotRunning) {
                p->terminate();
                if (!p->waitForFinished(3000))
                    p->kill();
                p->waitForFinished(3000);
            }
            delete p;
        }
    }
    QProcess *launch(const QStringList &args = {})
    {
        auto *p = new QProcess;
        p->setProgram(QStringLiteral(NUVASK_BINARY));
        p->setArguments(args);
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p->start();
        p->waitForStarted(5000);
        procs << p;
        return p;
    }
    void storeVersion(const QString &v)
    {
        HiveFileRegistry reg;
        reg.open(RegRoot::CurrentUser, "Software\\KELDO SOFT32\\NUVASK", true)->writeString("Version", v);
    }
    // Waits until a window of the class answers on its socket.
    bool waitForWindow(const QString &cls, int ms = 10000)
    {
        LocalInstanceProbe probe(200, 1000);
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < ms) {
            if (probe.windowExists(cls))
                return true;
            QThread::msleep(50);
        }
        return false;
    }
};

} // namespace

TEST_F(SecondStart, NoSettingsOpensTheSetupWindowAndAVersionOpensTheMainWindow)
{
    QProcess *setup = launch();
    ASSERT_TRUE(waitForWindow(kSetupWindowClass));
    EXPECT_FALSE(LocalInstanceProbe().windowExists(kMainWindowClass));
    // A second start while setup runs and the version differs ends silently.
    QProcess *again = launch();
    ASSERT_TRUE(again->waitForFinished(5000));
    EXPECT_EQ(again->exitCode(), 0);
    EXPECT_EQ(setup->state(), QProcess::Running);
    setup->terminate();
    setup->waitForFinished(5000);

    storeVersion("23");
    launch();
    EXPECT_TRUE(waitForWindow(kMainWindowClass));
}

TEST_F(SecondStart, SecondStartHandsOverAndExitsWithinASecond)
{
    storeVersion("23");
    QProcess *first = launch();
    ASSERT_TRUE(waitForWindow(kMainWindowClass));
    QElapsedTimer t;
    t.start();
    QProcess *second = launch({"X", "y z"});
    ASSERT_TRUE(second->waitForFinished(5000));
    EXPECT_LT(t.elapsed(), 2000); // well under a second here; the margin absorbs a loaded machine
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_EQ(first->state(), QProcess::Running);
}

TEST_F(SecondStart, SocketLeftByAKilledProcessDoesNotBlockTheNextStart)
{
    storeVersion("23");
    QProcess *first = launch();
    ASSERT_TRUE(waitForWindow(kMainWindowClass));
    first->kill();
    first->waitForFinished(3000);
    EXPECT_TRUE(QFile::exists(InstanceSocketPath(kMainWindowClass)));
    // The next start must not try to hand over to the dead window.
    QProcess *next = launch();
    EXPECT_TRUE(waitForWindow(kMainWindowClass));
    EXPECT_EQ(next->state(), QProcess::Running);
}

TEST(HandOver, HungWindowCannotMakeTheSenderWaitForever)
{
    test::TempXdg xdg;
    // A server that accepts but never answers.
    QLocalServer hung;
    ASSERT_TRUE(hung.listen(InstanceSocketPath("TKELDO_NUVASK")));
    LocalInstanceProbe probe(500, 300);
    QElapsedTimer t;
    t.start();
    EXPECT_FALSE(probe.sendSecondInstance("TKELDO_NUVASK", "x"));
    EXPECT_LT(t.elapsed(), 3000);
}

TEST(HandOver, TextArrivesAndTheAnswerComesAfterTheHandler)
{
    test::TempXdg xdg;
    InstanceServer server;
    ASSERT_TRUE(server.listen("TKELDO_NUVASK"));
    QStringList got;
    server.setHandler([&](unsigned msg, const QString &text) {
        EXPECT_EQ(msg, kWmSecondInstance);
        got << text;
    });
    // The sender blocks, so it runs on another thread here.
    bool answered = false;
    QThread *sender = QThread::create([&] {
        LocalInstanceProbe probe;
        answered = probe.sendSecondInstance("TKELDO_NUVASK", QString::fromUtf8("X?y z ソ"));
    });
    sender->start();
    QElapsedTimer t;
    t.start();
    while (!sender->isFinished() && t.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    sender->wait();
    delete sender;
    EXPECT_TRUE(answered);
    EXPECT_EQ(got, QStringList{QString::fromUtf8("X?y z ソ")});
    // A second server for the same live class is refused.
    InstanceServer other;
    EXPECT_FALSE(other.listen("TKELDO_NUVASK"));
}
