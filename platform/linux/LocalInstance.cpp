// One running copy per user: the lock file and the local socket.

#include "platform/linux/LocalInstance.h"

#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace nuvask {

namespace {

const QByteArray kMagic("NUVASK-WM1\n");
constexpr quint32 kMaxTextBytes = 64 * 1024; // far above an atom; refuses garbage
constexpr char kAnswer = '\x01';
constexpr int kConnectSliceMs = 250; // one connection attempt while the holder starts up
constexpr int kRetryPauseMs = 50;
constexpr int kListenBacklog = 64;

QByteArray frame(unsigned message, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    QByteArray out = kMagic;
    QDataStream ds(&out, QIODevice::Append);
    ds.setByteOrder(QDataStream::BigEndian);
    ds << quint32(message) << quint32(utf8.size());
    out += utf8;
    return out;
}

// Returns true and fills message/text once buffer holds a whole frame.
// Sets bad when the buffer can never become a valid frame.
bool unframe(const QByteArray &buffer, unsigned &message, QString &text, bool &bad)
{
    bad = false;
    const qsizetype head = kMagic.size() + 8;
    if (!kMagic.startsWith(buffer.left(kMagic.size()))) {
        bad = true;
        return false;
    }
    if (buffer.size() < head)
        return false;
    QDataStream ds(buffer.mid(kMagic.size(), 8));
    ds.setByteOrder(QDataStream::BigEndian);
    quint32 msg = 0, len = 0;
    ds >> msg >> len;
    if (len > kMaxTextBytes) {
        bad = true;
        return false;
    }
    if (buffer.size() < head + qsizetype(len))
        return false;
    message = msg;
    text = QString::fromUtf8(buffer.mid(head, len));
    return true;
}

enum class Exchange { Answered, Dropped, TimedOut };

// Sends one frame on a connected socket and waits for the answer.
Exchange exchange(QLocalSocket &socket, const QByteArray &bytes, int timeoutMs)
{
    QElapsedTimer t;
    t.start();
    auto left = [&] { return int(std::max<qint64>(0, timeoutMs - t.elapsed())); };
    socket.write(bytes);
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(left()))
            return socket.state() == QLocalSocket::ConnectedState ? Exchange::TimedOut : Exchange::Dropped;
    }
    while (socket.bytesAvailable() < 1) {
        if (!socket.waitForReadyRead(left()))
            return socket.state() == QLocalSocket::ConnectedState ? Exchange::TimedOut : Exchange::Dropped;
    }
    return socket.read(1) == QByteArray(1, kAnswer) ? Exchange::Answered : Exchange::Dropped;
}

QString lockPath(const QString &folder, const QString &windowClass)
{
    return folder + QStringLiteral("/nuvask-") + windowClass + QStringLiteral(".lock");
}

} // namespace

InstanceFolder CheckInstanceFolder()
{
    InstanceFolder f;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir()) {
        // Made private to the user by the session; nothing to create.
        f.path = runtime;
        return f;
    }
    f.path = QDir::tempPath() + QStringLiteral("/nuvask-") + QString::number(::getuid());
    const QByteArray native = QFile::encodeName(f.path);
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST) {
        f.problem = InstanceFolder::CannotCreate;
        return f;
    }
    // Whoever made it, it is used only when it is this user's own private
    // folder: a folder another user made would let that user answer our
    // starts, read the texts they send, or keep the program from starting.
    struct stat st {};
    if (::lstat(native.constData(), &st) != 0) {
        f.problem = InstanceFolder::CannotCreate;
    } else if (!S_ISDIR(st.st_mode)) {
        f.problem = InstanceFolder::NotAFolder;
    } else if (st.st_uid != ::getuid()) {
        f.problem = InstanceFolder::ForeignOwner;
    } else if ((st.st_mode & 07777) != 0700) {
        f.problem = InstanceFolder::OpenMode;
    }
    return f;
}

QString InstanceSocketPath(const QString &windowClass)
{
    const InstanceFolder folder = CheckInstanceFolder();
    if (folder.problem != InstanceFolder::None)
        return {};
    return folder.path + QStringLiteral("/nuvask-") + windowClass;
}

std::unique_ptr<InstanceLock> InstanceLock::tryAcquire(const QString &windowClass)
{
    const InstanceFolder folder = CheckInstanceFolder();
    if (folder.problem != InstanceFolder::None)
        return nullptr;
    // Close-on-exec: a program started from here (the uninstaller copy) must
    // not inherit the lock and keep it after this process ends.
    const QByteArray path = QFile::encodeName(lockPath(folder.path, windowClass));
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return nullptr;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return nullptr;
    }
    // The lock file itself is never removed: a start that opened it just
    // before a removal would lock a file nobody else sees.
    return std::unique_ptr<InstanceLock>(new InstanceLock(windowClass, fd));
}

InstanceLock::~InstanceLock()
{
    ::close(m_fd); // releases the lock
}

InstanceServer::InstanceServer(QObject *parent) : QObject(parent) {}

InstanceServer::~InstanceServer()
{
    close();
}

bool InstanceServer::listen(const QString &windowClass)
{
    close();
    auto lock = InstanceLock::tryAcquire(windowClass);
    if (!lock) {
        m_error = QStringLiteral("another window of the class %1 is running").arg(windowClass);
        return false;
    }
    return listen(std::move(lock));
}

bool InstanceServer::listen(std::unique_ptr<InstanceLock> lock)
{
    close();
    m_error.clear();
    const QString path = InstanceSocketPath(lock->windowClass());
    if (path.isEmpty()) {
        m_error = QStringLiteral("the folder for the local sockets is refused");
        return false;
    }
    // Only the lock holder gets here: whatever socket is there was left by a
    // process that is gone.
    QLocalServer::removeServer(path);
    m_server = new QLocalServer(this);
    m_server->setMaxPendingConnections(kListenBacklog);
    if (!m_server->listen(path)) {
        m_error = m_server->errorString();
        delete m_server;
        m_server = nullptr;
        return false;
    }
    m_lock = std::move(lock);
    connect(m_server, &QLocalServer::newConnection, this, &InstanceServer::onNewConnection);
    return true;
}

void InstanceServer::close()
{
    if (m_server) {
        const QString path = m_server->fullServerName();
        m_server->close();
        delete m_server;
        m_server = nullptr;
        QFile::remove(path);
    }
    m_lock.reset(); // only after the socket is gone
}

void InstanceServer::onNewConnection()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        if (m_pending.size() >= kMaxClients) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        m_pending.insert(socket, {});
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
            m_pending.remove(socket);
            socket->deleteLater();
        });
        // A client that never completes its frame is dropped.
        auto *deadline = new QTimer(socket);
        deadline->setSingleShot(true);
        connect(deadline, &QTimer::timeout, socket, [socket] { socket->abort(); });
        deadline->start(kFrameDeadlineMs);
        if (socket->bytesAvailable() > 0)
            onReadyRead(socket);
    }
}

void InstanceServer::onReadyRead(QLocalSocket *socket)
{
    auto it = m_pending.find(socket);
    if (it == m_pending.end())
        return;
    it.value() += socket->readAll();
    unsigned message = 0;
    QString text;
    bool bad = false;
    if (!unframe(it.value(), message, text, bad)) {
        if (bad)
            socket->abort(); // at once: nothing it sends can make it right
        return;
    }
    it.value().clear();
    // The frame is whole: however long the window takes to handle it, the
    // sender is answered, not dropped.
    if (auto *deadline = socket->findChild<QTimer *>())
        deadline->stop();
    if (m_handler)
        m_handler(message, text);
    // The handler may have closed this server (the window went away).
    if (m_pending.contains(socket)) {
        socket->write(&kAnswer, 1);
        socket->disconnectFromServer(); // after the answer is written: one frame per connection
    }
}

LocalInstanceProbe::LocalInstanceProbe(int connectTimeoutMs, int answerTimeoutMs)
    : m_connectTimeoutMs(connectTimeoutMs), m_answerTimeoutMs(answerTimeoutMs)
{
}

bool LocalInstanceProbe::windowExists(const QString &windowClass)
{
    QLocalSocket socket;
    socket.connectToServer(InstanceSocketPath(windowClass));
    const bool found = socket.waitForConnected(m_connectTimeoutMs);
    socket.abort();
    return found;
}

bool LocalInstanceProbe::sendSecondInstance(const QString &windowClass, const QString &text)
{
    QLocalSocket socket;
    socket.connectToServer(InstanceSocketPath(windowClass));
    if (!socket.waitForConnected(m_connectTimeoutMs))
        return false;
    return exchange(socket, frame(kWmSecondInstance, text), m_answerTimeoutMs) == Exchange::Answered;
}

StartArbiter::StartArbiter(int handOverMs) : m_handOverMs(handOverMs) {}

StartArbiter::~StartArbiter() = default;

bool StartArbiter::windowExists(const QString &windowClass)
{
    if (m_claims.count(windowClass))
        return false; // this process holds it
    if (auto lock = InstanceLock::tryAcquire(windowClass)) {
        m_claims[windowClass] = std::move(lock);
        return false;
    }
    return true; // held by a live process: its window exists or is being made
}

bool StartArbiter::sendSecondInstance(const QString &windowClass, const QString &text)
{
    QElapsedTimer t;
    t.start();
    auto left = [&] { return int(std::max<qint64>(0, m_handOverMs - t.elapsed())); };
    const QByteArray bytes = frame(kWmSecondInstance, text);
    const QString path = InstanceSocketPath(windowClass);
    for (;;) {
        // The holder listens right after taking the lock; until then, or
        // while its queue is full, the connection is tried again.
        QLocalSocket socket;
        socket.connectToServer(path);
        if (socket.waitForConnected(std::min(left(), kConnectSliceMs))) {
            const Exchange result = exchange(socket, bytes, left());
            if (result == Exchange::Answered) {
                m_lastHandOver = HandOver::Delivered;
                return true;
            }
        }
        socket.abort();
        if (InstanceLock::tryAcquire(windowClass)) {
            m_lastHandOver = HandOver::HolderGone;
            return false;
        }
        if (left() == 0) {
            m_lastHandOver = HandOver::NoAnswer;
            return false;
        }
        QThread::msleep(std::min(left(), kRetryPauseMs));
    }
}

std::unique_ptr<InstanceLock> StartArbiter::takeClaim(const QString &windowClass)
{
    auto it = m_claims.find(windowClass);
    if (it == m_claims.end())
        return nullptr;
    auto lock = std::move(it->second);
    m_claims.erase(it);
    return lock;
}

} // namespace nuvask
