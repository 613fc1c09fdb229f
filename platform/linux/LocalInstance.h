#pragma once
// One running window per class and user, and the hand-over to it.
//
// The arbiter of "the running window of a class" is an exclusive lock on a
// per-user lock file, held for the life of the process that shows the window.
// Only the holder creates, replaces or removes the class's local socket, so a
// start that cannot reach the window never touches it, and a socket left by a
// killed process (whose lock the system released) is replaced by the next
// holder. A later start connects to the socket and sends WM_SECOND_INSTANCE
// with its text, waiting (bounded) for the answer that the window sends once
// it has handled it.
//
// The lock files and sockets live in a private folder: $XDG_RUNTIME_DIR when
// set, else a folder under the temporary folder that the program creates with
// mode 0700 and checks before every use; one that another user could have made
// or can write to is refused, never used.

#include "core/startup/ProgramEntry.h"

#include <QHash>
#include <QObject>
#include <functional>
#include <map>
#include <memory>

class QLocalServer;
class QLocalSocket;

namespace nuvask {

struct InstanceFolder
{
    enum Problem {
        None,
        CannotCreate,
        NotAFolder,   // a file or a symbolic link where the folder should be
        ForeignOwner, // made by another user
        OpenMode,     // others may enter or write (mode other than 0700)
    };
    QString path;
    Problem problem = None;
};

// The folder of the lock files and sockets, created when missing and checked.
InstanceFolder CheckInstanceFolder();

// Socket path for a window class; empty when the folder is refused.
QString InstanceSocketPath(const QString &windowClass);

// The lock of one window class, held while the object lives.
class InstanceLock
{
public:
    // Nothing when another process (or another lock object) holds it, or the
    // folder is refused.
    static std::unique_ptr<InstanceLock> tryAcquire(const QString &windowClass);
    ~InstanceLock();
    InstanceLock(const InstanceLock &) = delete;
    InstanceLock &operator=(const InstanceLock &) = delete;

    const QString &windowClass() const { return m_class; }

private:
    InstanceLock(QString windowClass, int fd) : m_class(std::move(windowClass)), m_fd(fd) {}
    QString m_class;
    int m_fd;
};

class InstanceServer : public QObject
{
    Q_OBJECT
public:
    using Handler = std::function<void(unsigned message, const QString &text)>;

    // A connection must deliver its frame within this time, and no more than
    // kMaxClients are served at once: a client that stalls or floods cannot
    // fill the queue in front of the real starts.
    static constexpr int kFrameDeadlineMs = 2000;
    static constexpr int kMaxClients = 16;

    explicit InstanceServer(QObject *parent = nullptr);
    ~InstanceServer() override;

    // Takes the class's lock and listens on its socket, replacing a socket
    // left behind by a killed process. False when another live window of the
    // class holds the lock, or listening failed (errorString() says why).
    bool listen(const QString &windowClass);
    // Listens with a lock already taken.
    bool listen(std::unique_ptr<InstanceLock> lock);
    QString errorString() const { return m_error; }
    // Stops listening, removes the socket and releases the lock.
    void close();
    // Called on the event loop for each message; the sender is answered when
    // it returns.
    void setHandler(Handler handler) { m_handler = std::move(handler); }

private:
    void onNewConnection();
    void onReadyRead(QLocalSocket *socket);

    QLocalServer *m_server = nullptr;
    std::unique_ptr<InstanceLock> m_lock;
    QString m_error;
    Handler m_handler;
    QHash<QLocalSocket *, QByteArray> m_pending;
};

// Looks for a window by asking its socket: true when it answers. Changes
// nothing; tests use it to watch the real program.
class LocalInstanceProbe : public IInstanceProbe
{
public:
    // waits in milliseconds; bounded so that a hung window cannot make every
    // later start hang.
    explicit LocalInstanceProbe(int connectTimeoutMs = 1000, int answerTimeoutMs = 5000);

    bool windowExists(const QString &windowClass) override;
    bool sendSecondInstance(const QString &windowClass, const QString &text) override;

private:
    int m_connectTimeoutMs;
    int m_answerTimeoutMs;
};

// The program entry's view of the running windows. Finding no window of a
// class takes that class's lock at once, so that of two starts at the same
// moment only one can go on to open the window; the other finds the lock
// held and hands over to its holder.
class StartArbiter : public IInstanceProbe
{
public:
    enum class HandOver {
        NotTried,
        Delivered,  // the window handled the text
        NoAnswer,   // the holder did not answer within the bound
        HolderGone, // the lock came free: the holder ended or opened another window
    };

    // handOverMs: the whole wait for the holder's answer, connection included.
    explicit StartArbiter(int handOverMs = 5000);
    ~StartArbiter() override;

    bool windowExists(const QString &windowClass) override;
    bool sendSecondInstance(const QString &windowClass, const QString &text) override;

    HandOver lastHandOver() const { return m_lastHandOver; }
    // The lock taken when no window of the class was found, if any.
    std::unique_ptr<InstanceLock> takeClaim(const QString &windowClass);
    void releaseClaims() { m_claims.clear(); }

private:
    int m_handOverMs;
    HandOver m_lastHandOver = HandOver::NotTried;
    std::map<QString, std::unique_ptr<InstanceLock>> m_claims;
};

} // namespace nuvask
