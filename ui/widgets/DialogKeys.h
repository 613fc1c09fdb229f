#pragma once
// The one dialog-key broadcast shared by every window with colour buttons.
//
// Qt has no equivalent of a dialog manager that offers Enter, Esc and
// accelerator characters to every button of a window before the focused
// control sees them, nor of a "focus changed" notice sent to every control.
// A window joins by Attach(window); a colour button attaches its window
// itself when it is shown, so windows built from colour buttons need no code.
// One application event filter then, for a key pressed anywhere in a joined
// window:
//  - Enter / Return and Esc are offered to the window's colour buttons in
//    creation order (ColourButton::DialogKey); the first one that takes it ends
//    the key. Enter stays with a focused editable multi-line text field.
//  - A printable character is offered as an accelerator (ColourButton::DialogChar)
//    when Alt is held or the focused control does not take typed text.
// and whenever the focus moves inside a joined window, every colour button of
// it hears which control has the focus now (ColourButton::FocusChanged).

class QKeyEvent;
class QWidget;

namespace nuvask {

class DialogKeys {
public:
    // Idempotent; the window leaves the mechanism when it is destroyed.
    static void Attach(QWidget *window);
    static bool IsAttached(const QWidget *window);

    // Tells every colour button of `window` that `focused` has the focus now.
    static void BroadcastFocus(QWidget *window, const QWidget *focused);

    // For a dialog's keyPressEvent: Enter, Return and Esc belong to its colour
    // buttons alone, so a plain QDialog must not accept or reject on them
    // itself (an OK box would close on Esc). Returns true when it took the key.
    static bool SwallowDefaultKeys(QKeyEvent *event);
};

} // namespace nuvask
