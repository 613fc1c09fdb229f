#include "ui/WindowPlacer.h"

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

void WindowPlacer::placeAtStart(const std::optional<QPoint> &stored)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QSize screenSize = screen ? screen->geometry().size() : QSize(1024, 768);
    QPoint position = CentredPosition(screenSize, m_window.size());
    if (stored)
        position = *stored;
    m_window.move(ClampToWorkArea(position, m_window.size(), WorkArea()));
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
}

} // namespace nuvask
