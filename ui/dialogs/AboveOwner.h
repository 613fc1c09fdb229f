#pragma once
// Keeps a dialog above the window it belongs to while the dialog is shown;
// the same for the windows the main window opens beside itself (the help,
// the level history), which would otherwise open under a main window kept
// on top ("MostTOP") and stay there.
//
// The program's dialogs are modal: a dialog hidden behind its owner leaves a
// window that answers nothing and a box nobody finds. Both are stay-on-top
// windows, and the owner raises itself on its own (the start-up applies the
// stay-on-top setting and brings the window forward 300 ms after it opened,
// which may be while a box is already up), so the stacking of equal
// stay-on-top windows alone does not settle which is in front. Two things do:
//  - the dialog is shown as a transient window of its owner, which a window
//    manager keeps above the owner whatever else happens;
//  - without a window manager nothing keeps it there; but whenever the owner
//    comes up over the dialog, the X server tells the owner that part of it
//    became visible (an expose), and the dialog is raised again at once.
// A plain window cannot be a transient one (X11 under Qt): it follows the
// owner into and out of the stay-on-top layer instead, and is raised on the
// owner's expose likewise.

class QWidget;

namespace nuvask {

class AboveOwner
{
public:
    // Call before showing `dialog`. Its owner is the window it is centred
    // over: `source` when the caller named one, else the main window; none
    // (nothing to do) when that window is gone. The watch ends when the
    // dialog is hidden or either window goes; a second call while it runs
    // changes nothing.
    static void Keep(QWidget *dialog, QWidget *source, bool sourceGiven);
    // `owner` went into or out of the stay-on-top layer: the plain windows
    // kept above it follow, and come forward.
    static void OwnerLayerChanged(QWidget *owner);
};

} // namespace nuvask
