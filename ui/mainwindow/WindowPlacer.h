#pragma once
// Where the main window sits on the desktop: its start position (centred, or
// the stored one) kept on the usable screen area, the moves to the work
// area's corners, and the top-most layer.
//
// Placement keeps the whole window frame (title bar and borders of the window
// manager) on the work area. The frame is only known once the window manager
// has taken the window, after it is shown: the start position is worked out
// with the client size first and checked again, once, when the frame appears.

#include "core/mainwindow/WindowPlacement.h"

#include <QObject>
#include <QPoint>
#include <QRect>

#include <optional>

class QWidget;

namespace nuvask {

class WindowPlacer : public QObject
{
    Q_OBJECT
public:
    explicit WindowPlacer(QWidget &window);

    // The usable screen area of the window's screen.
    QRect WorkArea() const;
    // Centred on the screen, or at `stored`; then kept on the work area.
    void placeAtStart(const std::optional<QPoint> &stored);
    // True until the start position has been checked with the real frame.
    bool frameCheckPending() const { return m_frameCheckPending; }
    void MoveToCorner(Corner corner);
    // In or out of the top-most layer without moving, sizing or activating
    // the window; then to the front.
    void ApplyTopMost(bool on);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Start position for a window (frame included) of `frame` size.
    QPoint startPosition(QSize frame) const;
    void checkWithFrame();

    QWidget &m_window;
    std::optional<QPoint> m_stored;
    bool m_frameCheckPending = false;
};

} // namespace nuvask
