// The width a window's title needs.

#include "ui/widgets/WindowCaption.h"

#include <QApplication>
#include <QFontMetrics>

namespace nuvask {

namespace {
// The window icon, three buttons and the margins of a title bar as the
// common window managers draw them (openbox, xfwm, KWin, Mutter), pixels.
constexpr int kTitleBarParts = 110;
} // namespace

int CaptionWidth(const QString &title)
{
    QFont font = QApplication::font();
    font.setBold(true);
    return QFontMetrics(font).horizontalAdvance(title) + kTitleBarParts;
}

} // namespace nuvask
