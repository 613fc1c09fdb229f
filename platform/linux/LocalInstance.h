#pragma once
// A window that a later start must find by its class name listens on a
// per-user local socket of that name while it exists. The later start connects
// to find it, and sends WM_SECOND_INSTANCE with its text over the same socket,
// waiting for the answer that the window sends once it has handled it.

#include "core/ProgramEntry.h"

#include <QHash>
#include <QObject>
#include <functional>

class QLocalServer;
class QLocalSocket;

namespace nuvask {

// Socket path for a window class: in $XDG_RUNTIME_DIR (private to the user),
// else in a per-user folder under the temporary folder.
QString InstanceSocketPath(const QString &windowClass);

class InstanceServer : public QObject
{
    Q_OBJECT
public:
    using Handler = std::function<void(unsigned message, const QString &text)>;

    explicit InstanceServer(QObject *parent = nullptr);
    ~InstanceServer() override;

    // Listens for the class; a socket left behind by a killed process is
    // removed. Returns false when another live window of the class answers.
    bool listen(const QString &windowClass);
    void close();
    // Called on the event loop for each message; the sender is answered when
    // it returns.
    void setHandler(Handler handler) { m_handler = std::move(handler); }

private:
    void onNewConnection();
    void onReadyRead(QLocalSocket *socket);

    QLocalServer *m_server = nullptr;
    Handler m_handler;
    QHash<QLocalSocket *, QByteArray> m_pending;
};

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

} // namespace nuvask
