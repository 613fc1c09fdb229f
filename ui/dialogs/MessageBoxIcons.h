#pragma once
// The two 32 x 32 pictures of the message box, drawn in code, with transparent
// corners outside the disc. Shown on black they are the box's stored bitmaps;
// black is the colour that counts as transparent when the icon is painted.

#include <QColor>
#include <QImage>

namespace nuvask {

// Blue disc, white rim, white information mark (a dot over a bar).
QImage MessageBoxInfoIcon();
// Red disc, white rim, white question mark.
QImage MessageBoxQuestionIcon();
// The icon over `background`, every black pixel becoming the background.
QImage MessageBoxIconOn(const QImage &icon, const QColor &background);

} // namespace nuvask
