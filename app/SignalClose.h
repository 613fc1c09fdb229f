#pragma once
// Ends the program on a termination signal the way the user would: every open
// popup and modal dialog is closed first (each as its close box would close
// it, so its caller sees "closed" and goes no further), then the windows,
// which save as at any close, then the event loops. The steps repeat on a
// short timer, so a dialog that a caller opens after another was closed is
// closed too.

#include <QObject>
#include <QTimer>

namespace nuvask {

class SignalClose : public QObject
{
    Q_OBJECT
public:
    static constexpr int kStepMs = 20; // milliseconds between steps

    explicit SignalClose(QObject *parent = nullptr);

    void request();
    bool requested() const { return m_requested; }

private:
    void step();

    QTimer m_timer;
    bool m_requested = false;
};

} // namespace nuvask
