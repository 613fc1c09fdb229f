#pragma once
// Where the main window goes and how wide it is: pure rules over rectangles,
// so they can be checked without a screen.

#include <QPoint>
#include <QRect>
#include <QSize>
#include <array>

namespace nuvask {

// Centred on the screen, halves truncated toward zero.
QPoint CentredPosition(QSize screen, QSize window);

// Keeps a window on the usable area: first pulled left/up so its far edges
// fit, then pushed right/down so its near edges do. A window larger than the
// area therefore sits at the area's top-left corner.
QPoint ClampToWorkArea(QPoint position, QSize window, const QRect &work);

enum class Corner { LeftTop, RightTop, LeftBottom, RightBottom };
QPoint CornerPosition(Corner corner, QSize window, const QRect &work);

// The strip check boxes after one was clicked: at most one strip is hidden,
// so unchecking one checks the two others.
std::array<bool, 3> StripBoxesAfterClick(std::array<bool, 3> checked, int clicked);

// Widths (pixels) the strip layout works with.
struct StripWidths
{
    int fixed = 0;                     // everything that is not a strip
    std::array<int, 3> design{};       // design widths of PV0..PV2
    int splitter = 3;
};

struct StripLayout
{
    std::array<bool, 3> visible{};
    bool splitter1Visible = false;     // between PV0 and PV1
    bool splitter2Visible = false;     // left of PV2
    int windowWidth = 0;
};

// Splitter1 shows only when PV0 and PV1 both show; Splitter2 exactly when PV2
// shows. The window is the fixed width plus the visible strips' design widths
// less each hidden splitter.
StripLayout ComputeStripLayout(const std::array<bool, 3> &checked, const StripWidths &widths);

} // namespace nuvask
