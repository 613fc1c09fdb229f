#pragma once
// Where dialogs go: the usable screen area, the main window that dialogs take
// their colours and hint setting from, and the placement rule every dialog of
// the program shares (centred over a chosen window, kept inside the work area).

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <optional>

class QWidget;

namespace nuvask {

// --- the main window hook ----------------------------------------------------
// The main window registers itself once it exists (and passes nullptr when it
// goes). Dialogs then centre over it by default, take its Window / WindowText
// palette colours, and show hints exactly when its bool property "ShowHint" is
// true (a window without that property counts as hints on). Held weakly: a
// destroyed main window reads back as none.
void SetMainWindow(QWidget *window);
QWidget *FindMainWindow();

// The program's title, the caption of a dialog that has no title of its own.
// Falls back to the application name until the program entry sets it. (The
// application display name is deliberately not used: Qt appends it to every
// caption on X11.)
void SetApplicationTitle(const QString &title);
QString ApplicationTitle();

// --- work area ---------------------------------------------------------------
// Refreshes the process-wide work area: the part of the primary screen that
// panels and task bars leave free. True when something takes screen space;
// false (with the whole screen) when nothing does or the area came out empty.
bool GetWorkArea();
// The work area as the last GetWorkArea call found it (whole screen before).
QRect WorkAreaRect();

// --- placement -----------------------------------------------------------------
// The rectangle of the window a dialog is centred over: `source` when the
// caller named one, else the main window; none when that window is gone (a
// stale source, or no main window) so that the work area is the reference.
std::optional<QRect> ReferenceRect(const QWidget *source, bool sourceGiven);

// Top-left corner (screen pixels) for a dialog of outer size `box`: centred on
// `reference` (the work area when there is none), then pulled inside
// `workArea`; a dialog larger than the work area sticks to its left and top.
QPoint DialogTopLeft(const QSize &box, const std::optional<QRect> &reference, const QRect &workArea);

// The whole rule: refresh the work area, centre over the reference, clamp.
QPoint PlaceDialog(const QSize &box, const QWidget *source, bool sourceGiven);

} // namespace nuvask
