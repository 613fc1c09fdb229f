#pragma once
// Starts the real program in private XDG folders and cleans up after it: a
// process still running at the end (stopped ones included) is ended.

#include "core/settings/SettingsStore.h"
#include "platform/linux/SettingsFileStore.h"
#include "platform/linux/LocalInstance.h"
#include "support/TempXdg.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QThread>

#include <csignal>
#include <memory>
#include <vector>

namespace nuvask::test {

class ProgramRuns
{
public:
    ProgramRuns() { m_env.insert("QT_QPA_PLATFORM", "offscreen"); }
    ~ProgramRuns()
    {
        for (auto &p : m_procs) {
            if (p->state() == QProcess::NotRunning)
                continue;
            ::kill(pid_t(p->processId()), SIGCONT);
            p->terminate();
            if (!p->waitForFinished(3000))
                p->kill();
            p->waitForFinished(3000);
        }
    }

    TempXdg xdg;

    // Changes for the programs started from now on.
    void setEnv(const QString &name, const QString &value) { m_env.insert(name, value); }
    void unsetEnv(const QString &name)
    {
        m_env.remove(name);
        m_removed << name;
    }

    QProcess *launch(const QStringList &args = {})
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const QString &k : m_env.keys())
            env.insert(k, m_env.value(k));
        for (const QString &k : m_removed)
            env.remove(k);
        auto p = std::make_unique<QProcess>();
        p->setProcessEnvironment(env);
        p->setProgram(QStringLiteral(NUVASK_BINARY));
        p->setArguments(args);
        p->start();
        p->waitForStarted(5000);
        m_procs.push_back(std::move(p));
        return m_procs.back().get();
    }

    static void storeVersion23()
    {
        SettingsFileStore reg;
        reg.open(SettingsRoot::CurrentUser, SettingsKeyPath("NUVASK"), true)->writeString("Version", "23");
    }

    // The state is only brought up to date by a wait.
    static bool running(QProcess *p) { return p->state() != QProcess::NotRunning && !p->waitForFinished(0); }

    // Until a window of the class answers on its socket.
    static bool waitForWindow(const QString &cls, int ms = 10000)
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

    // Until the process has written text to its error output.
    static bool waitForError(QProcess *p, const QString &text, int ms)
    {
        QElapsedTimer t;
        t.start();
        QByteArray seen;
        while (t.elapsed() < ms) {
            p->waitForReadyRead(50);
            seen += p->readAllStandardError();
            if (QString::fromLocal8Bit(seen).contains(text))
                return true;
        }
        return false;
    }

    // Sends SIGTERM and returns how long the process took to end (-1: it
    // did not end within limitMs).
    static qint64 terminateTimed(QProcess *p, int limitMs)
    {
        QElapsedTimer t;
        t.start();
        ::kill(pid_t(p->processId()), SIGTERM);
        return p->waitForFinished(limitMs) ? t.elapsed() : -1;
    }

private:
    QProcessEnvironment m_env;
    QStringList m_removed;
    std::vector<std::unique_ptr<QProcess>> m_procs;
};

} // namespace nuvask::test
