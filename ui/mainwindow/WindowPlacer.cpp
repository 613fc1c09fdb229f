// Where the main window sits on the desktop, and stay-on-top.

#include "ui/mainwindow/WindowPlacer.h"

#include "ui/dialogs/AboveOwner.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace nuvask {

WindowPlacer::WindowPlacer(QWidget &window) : QObject(&window), m_window(window) {}

QRect WindowPlacer::WorkArea() const
{
    const QScreen *screen = m_window.screen() ? m_window.screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

QPoint WindowPlacer::startPosition(QSize frame) const
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QSize screenSize = screen ? screen->geometry().size() : QSize(1024, 768);
    const QPoint position = m_stored ? *m_stored : CentredPosition(screenSize, frame);
    return ClampToWorkArea(position, frame, WorkArea());
}

void WindowPlacer::placeAtStart(const std::optional<QPoint> &stored)
{
    m_stored = stored;
    // Before the window is shown its frame is unknown: frameGeometry() is the
    // client rectangle then, and the check below follows once it is known.
    m_window.move(startPosition(m_window.frameGeometry().size()));
    if (!m_frameCheckPending) {
        m_frameCheckPending = true;
        m_window.installEventFilter(this);
    }
}

bool WindowPlacer::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_window && m_frameCheckPending) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::WindowStateChange:
            checkWithFrame();
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

void WindowPlacer::checkWithFrame()
{
    // A window manager without decorations never gives a frame: the first
    // placement already was the whole window, and nothing is left to do.
    const QRect frame = m_window.frameGeometry();
    if (!m_window.isVisible() || frame.size() == m_window.size())
        return;
    m_frameCheckPending = false;
    m_window.removeEventFilter(this);
    const QPoint wanted = startPosition(frame.size());
    if (wanted != frame.topLeft())
        m_window.move(wanted);
}

void WindowPlacer::MoveToCorner(Corner corner)
{
    m_window.move(CornerPosition(corner, m_window.frameGeometry().size(), WorkArea()));
}

void WindowPlacer::ApplyTopMost(bool on)
{
    if (QWindow *handle = m_window.windowHandle()) {
        // On the native window the flag changes in place: no re-creation,
        // no move, no activation.
        handle->setFlag(Qt::WindowStaysOnTopHint, on);
    } else {
        m_window.setWindowFlag(Qt::WindowStaysOnTopHint, on);
    }
    if (m_window.isVisible() || m_window.windowHandle())
        m_window.show();
    m_window.raise();
    AboveOwner::OwnerLayerChanged(&m_window); // the help and the level history follow
}

} // namespace nuvask
