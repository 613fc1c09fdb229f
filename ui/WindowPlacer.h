#pragma once
// Where the main window sits on the desktop: its start position (centred, or
// the stored one) kept on the usable screen area, the moves to the work
// area's corners, and the top-most layer.

#include "core/WindowPlacement.h"

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
    void MoveToCorner(Corner corner);
    // In or out of the top-most layer without moving, sizing or activating
    // the window; then to the front.
    void ApplyTopMost(bool on);

private:
    QWidget &m_window;
};

} // namespace nuvask
