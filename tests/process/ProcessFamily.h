#pragma once
// The processes a test started and every process those start in turn, found
// by process id, never by the file they run: a copy of the program that the
// user runs from the build folder meanwhile is none of them.
//
// The test process makes itself the child subreaper of its descendants, so
// that a program that detaches a process (a double fork, as starting the
// uninstaller copy is) leaves it below the test instead of handing it to
// init; it is still found, and ended with the family.

#include <QDir>
#include <QFile>
#include <QHash>
#include <QList>
#include <QSet>

#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

namespace nuvask::test {

class ProcessFamily
{
public:
    // The family starts empty: whatever lives below the test now is not of it.
    ProcessFamily()
    {
        ::prctl(PR_SET_CHILD_SUBREAPER, 1);
        for (pid_t pid : descendants())
            m_before.insert(pid);
    }
    // Whatever of the family still lives is ended.
    ~ProcessFamily()
    {
        for (pid_t pid : Living())
            ::kill(pid, SIGKILL);
    }
    ProcessFamily(const ProcessFamily &) = delete;
    ProcessFamily &operator=(const ProcessFamily &) = delete;

    // The living members (an ended process that nobody has waited for yet
    // counts as ended).
    QList<pid_t> Living() const
    {
        QList<pid_t> living;
        for (pid_t pid : descendants()) {
            if (!m_before.contains(pid))
                living << pid;
        }
        return living;
    }

private:
    // Every living process below this one, parents before their children.
    static QList<pid_t> descendants()
    {
        QHash<pid_t, QList<pid_t>> children;
        for (const QString &entry : QDir("/proc").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            bool isPid = false;
            const pid_t pid = entry.toInt(&isPid);
            if (!isPid)
                continue;
            QFile stat("/proc/" + entry + "/stat");
            if (!stat.open(QIODevice::ReadOnly))
                continue;
            // "pid (name) state ppid ...": the name may hold blanks and parentheses.
            const QByteArray line = stat.readAll();
            const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
            if (fields.size() < 2 || fields[0] == "Z" || fields[0] == "X")
                continue;
            children[pid_t(fields[1].toInt())] << pid;
        }
        QList<pid_t> found{::getpid()};
        for (qsizetype i = 0; i < found.size(); ++i)
            found += children.value(found[i]);
        found.removeFirst();
        return found;
    }

    QSet<pid_t> m_before;
};

} // namespace nuvask::test
