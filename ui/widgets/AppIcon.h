#pragma once
// The program's own icon: a mixer's level bars under a cut-level line, drawn
// for 16 pixels up. It is the window icon of every window and the image of
// the tray icon.

#include <QIcon>
#include <QList>

namespace nuvask {

// Pixel sizes of the PNG renderings compiled into the program.
inline const QList<int> kAppIconSizes{16, 22, 24, 32, 48, 64, 128, 256};

// Resource path of the rendering at `pixels` (one of kAppIconSizes).
QString AppIconPath(int pixels);

// Every rendering in one icon, so each size is drawn from its own pixels
// rather than scaled.
QIcon ApplicationIcon();

} // namespace nuvask
