#pragma once
// Ends the program on a termination signal the way the user would: every open
// popup and modal dialog is closed first (each as its close box would close
// it, so its caller sees "closed" and goes no further), then the windows,
// which save as at any close, then the event loops. The steps repeat on a
// short timer, so a dialog that a caller opens after another was closed is
// closed too.

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace nuvask {

class SignalClose : public QObject
{
    Q_OBJECT
public:
    static constexpr int kStepMs = 20; // milliseconds between steps

    explicit SignalClose(QObject *parent = nullptr);

    void request();
    bool requested() const { return m_requested; }
    // The program's own window is closed even when hidden: put away in the
    // tray, it must still save, and it is what ends the program.
    void SetProgramWindow(QWidget *window) { m_programWindow = window; }

private:
    void step();

    QTimer m_timer;
    QPointer<QWidget> m_programWindow;
    bool m_requested = false;
};

} // namespace nuvask
