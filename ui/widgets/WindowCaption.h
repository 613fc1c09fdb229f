#pragma once
// How wide a window must be for the desktop to show its whole title: the
// title in the title bar's font and the bar's own parts beside it (the icon
// and the buttons). Windows whose width follows their contents (message,
// input and about boxes) are made at least this wide; a title cut in the
// middle ("DORIVA SOU… V2.3 Setup") tells the user nothing.

#include <QString>

class QWidget;

namespace nuvask {

// Pixels of the window's client area. The title bar's font is the
// desktop's and cannot be asked for: the application's font in bold stands
// for it.
int CaptionWidth(const QString &title);

} // namespace nuvask
