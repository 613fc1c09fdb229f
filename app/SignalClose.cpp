// Closing the program on SIGTERM, SIGINT and SIGHUP as its close box would.

#include "SignalClose.h"

#include <QApplication>
#include <QWidget>

namespace nuvask {

SignalClose::SignalClose(QObject *parent) : QObject(parent)
{
    m_timer.setInterval(kStepMs);
    connect(&m_timer, &QTimer::timeout, this, &SignalClose::step);
}

void SignalClose::request()
{
    if (m_requested)
        return;
    m_requested = true;
    m_timer.start();
    step();
}

void SignalClose::step()
{
    // A dialog's caller runs on once its loop has returned; the windows are
    // closed only when no dialog is left, so that no caller wakes up to a
    // window that has already closed under it.
    if (QWidget *popup = QApplication::activePopupWidget()) {
        popup->close();
        return;
    }
    if (QWidget *modal = QApplication::activeModalWidget()) {
        modal->close();
        return;
    }
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *w : windows) {
        if (w->isVisible() || w == m_programWindow)
            w->close();
    }
    QCoreApplication::quit();
}

} // namespace nuvask
