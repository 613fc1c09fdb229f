#include "platform/linux/LocalInstance.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace nuvask {

namespace {

const QByteArray kMagic("NUVASK-WM1\n");
constexpr quint32 kMaxTextBytes = 64 * 1024; // far above an atom; refuses garbage
constexpr char kAnswer = '\x01';

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
    if (buffer.size() < kMagic.size())
        return false;
    if (!buffer.startsWith(kMagic)) {
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

bool connectTo(QLocalSocket &socket, const QString &windowClass, int timeoutMs)
{
    socket.connectToServer(InstanceSocketPath(windowClass));
    return socket.waitForConnected(timeoutMs);
}

} // namespace

QString InstanceSocketPath(const QString &windowClass)
{
    QString dir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (dir.isEmpty() || !QFileInfo(dir).isDir()) {
        dir = QDir::tempPath() + QStringLiteral("/nuvask-") + QString::number(::getuid());
        QDir().mkpath(dir);
        QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    return dir + QStringLiteral("/nuvask-") + windowClass;
}

InstanceServer::InstanceServer(QObject *parent) : QObject(parent) {}

InstanceServer::~InstanceServer()
{
    close();
}

bool InstanceServer::listen(const QString &windowClass)
{
    close();
    const QString path = InstanceSocketPath(windowClass);
    // A live window of the class answers; a socket file left by a killed
    // process does not, and is removed. (The folder is private to the user.)
    QLocalSocket probe;
    if (connectTo(probe, windowClass, 500)) {
        probe.abort();
        return false;
    }
    QLocalServer::removeServer(path);
    m_server = new QLocalServer(this);
    if (!m_server->listen(path)) {
        delete m_server;
        m_server = nullptr;
        return false;
    }
    connect(m_server, &QLocalServer::newConnection, this, &InstanceServer::onNewConnection);
    return true;
}

void InstanceServer::close()
{
    if (!m_server)
        return;
    const QString path = m_server->fullServerName();
    m_server->close();
    delete m_server;
    m_server = nullptr;
    QFile::remove(path);
}

void InstanceServer::onNewConnection()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        m_pending.insert(socket, {});
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
            m_pending.remove(socket);
            socket->deleteLater();
        });
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
            socket->abort();
        return;
    }
    it.value().clear();
    if (m_handler)
        m_handler(message, text);
    // The handler may have closed this server (the window went away).
    if (m_pending.contains(socket)) {
        socket->write(&kAnswer, 1);
        socket->flush();
    }
}

LocalInstanceProbe::LocalInstanceProbe(int connectTimeoutMs, int answerTimeoutMs)
    : m_connectTimeoutMs(connectTimeoutMs), m_answerTimeoutMs(answerTimeoutMs)
{
}

bool LocalInstanceProbe::windowExists(const QString &windowClass)
{
    QLocalSocket socket;
    const bool found = connectTo(socket, windowClass, m_connectTimeoutMs);
    socket.abort();
    return found;
}

bool LocalInstanceProbe::sendSecondInstance(const QString &windowClass, const QString &text)
{
    QLocalSocket socket;
    if (!connectTo(socket, windowClass, m_connectTimeoutMs))
        return false;
    socket.write(frame(kWmSecondInstance, text));
    if (!socket.waitForBytesWritten(m_answerTimeoutMs))
        return false;
    while (socket.bytesAvailable() < 1) {
        if (!socket.waitForReadyRead(m_answerTimeoutMs))
            return false;
    }
    return socket.read(1) == QByteArray(1, kAnswer);
}

} // namespace nuvask
