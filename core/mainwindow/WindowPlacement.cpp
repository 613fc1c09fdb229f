// Where the main window goes and how wide it is (pure rectangle rules).

#include "core/mainwindow/WindowPlacement.h"

#include <algorithm>

namespace nuvask {

QPoint CentredPosition(QSize screen, QSize window)
{
    // C++ integer division truncates toward zero, as the rule wants.
    return {(screen.width() - window.width()) / 2, (screen.height() - window.height()) / 2};
}

QPoint ClampToWorkArea(QPoint position, QSize window, const QRect &work)
{
    int left = std::min(position.x(), work.left() + work.width() - window.width());
    int top = std::min(position.y(), work.top() + work.height() - window.height());
    left = std::max(left, work.left());
    top = std::max(top, work.top());
    return {left, top};
}

QPoint CornerPosition(Corner corner, QSize window, const QRect &work)
{
    int left = work.left();
    int top = work.top();
    if (corner == Corner::RightTop || corner == Corner::RightBottom)
        left = work.left() + work.width() - window.width();
    if (corner == Corner::LeftBottom || corner == Corner::RightBottom)
        top = work.top() + work.height() - window.height();
    return {left, top};
}

std::array<bool, 3> StripBoxesAfterClick(std::array<bool, 3> checked, int clicked)
{
    if (clicked >= 0 && clicked < 3 && !checked[clicked]) {
        for (int n = 0; n < 3; ++n)
            if (n != clicked)
                checked[n] = true;
    }
    return checked;
}

StripLayout ComputeStripLayout(const std::array<bool, 3> &checked, const StripWidths &widths)
{
    StripLayout out;
    out.visible = checked;
    int width = widths.fixed;
    out.splitter1Visible = checked[0] && checked[1];
    if (!out.splitter1Visible)
        width -= widths.splitter;
    out.splitter2Visible = checked[2];
    if (!out.splitter2Visible)
        width -= widths.splitter;
    for (int n = 0; n < 3; ++n)
        if (checked[n])
            width += widths.design[n];
    out.windowWidth = width;
    return out;
}

} // namespace nuvask
