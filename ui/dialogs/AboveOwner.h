#pragma once
// Keeps a dialog above the window it belongs to while the dialog is shown.
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

class QWidget;

namespace nuvask {

class AboveOwner
{
public:
    // Call before showing `dialog`. Its owner is the window it is centred
    // over: `source` when the caller named one, else the main window; none
    // (nothing to do) when that window is gone. The watch ends when the
    // dialog is hidden or either window goes.
    static void Keep(QWidget *dialog, QWidget *source, bool sourceGiven);
};

} // namespace nuvask
