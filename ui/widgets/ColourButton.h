#pragma once
// The program's push button: a panel that takes the colour of the window it
// sits on and is drawn in a darker shade of that colour while pressed, instead
// of the platform's grey. Enter, Esc, Space and the caption's accelerator work
// as on a standard push button through the shared dialog-key mechanism
// (ui/DialogKeys.h), which every window with colour buttons joins.

#include <QColor>
#include <QString>
#include <QWidget>

#include <optional>

namespace nuvask {

class ColourButton : public QWidget {
    Q_OBJECT
public:
    explicit ColourButton(QWidget *parent = nullptr);

    QString Caption() const { return m_caption; }
    void SetCaption(const QString &caption);
    // The character after a single "&" in the caption, or a null QChar.
    QChar Accelerator() const;

    // Width of the outer bevel in pixels (1 normally, 2 on the active button).
    int BevelWidth() const { return m_bevelWidth; }
    void SetBevelWidth(int pixels);
    bool BevelLowered() const { return m_down; }

    bool TabStop() const { return m_tabStop; }
    void SetTabStop(bool on);

    // Background colour: the window's (ParentColor) unless set on the button.
    QColor Color() const;
    void SetColor(const QColor &color);
    bool ParentColor() const { return !m_ownColor.has_value(); }
    void SetParentColor(bool on);
    // Caption colour: the window's text colour (ParentFont) unless set here.
    QColor FontColor() const;
    void SetFontColor(const QColor &color);
    bool ParentFont() const { return !m_ownFontColor.has_value(); }
    void SetParentFont(bool on);

    bool Cancel() const { return m_cancel; }
    void SetCancel(bool on) { m_cancel = on; }
    bool Default() const { return m_default; }
    // Stores Default and lets every colour button of the window recompute at
    // once which of them Enter presses now.
    void SetDefault(bool on);

    // True while this is the button that Enter presses.
    bool IsActive() const { return m_active; }
    bool IsDown() const { return m_down; }

    // Every way of pressing the button ends here.
    void Click();

    // Called by the dialog-key mechanism; true when the button took the key.
    bool DialogChar(QChar character);
    bool DialogKey(int key, Qt::KeyboardModifiers modifiers);
    // Called by the dialog-key mechanism whenever the focus moves in the window.
    void FocusChanged(const QWidget *focused);

    // Visible and enabled up to the window, so that it may take the focus.
    bool CanFocus() const;

signals:
    void OnClick();
    void OnMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);
    void OnMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint pos);
    void OnMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);
    void OnKeyDown(int key, Qt::KeyboardModifiers modifiers);
    void OnKeyUp(int key, Qt::KeyboardModifiers modifiers);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void GoDown();
    void GoUp();
    void TakeFocus();

    QString m_caption;
    int m_bevelWidth = 1; // pixels
    bool m_tabStop = true;
    bool m_cancel = false;
    bool m_default = false;

    bool m_active = false; // Enter presses this button now
    bool m_held = false;   // left mouse button went down here, not yet released
    bool m_left = false;   // pointer left while held: popped up, may go down again
    bool m_down = false;   // drawn pressed

    // Colours set on the button itself; empty means "from the window".
    std::optional<QColor> m_ownColor;
    std::optional<QColor> m_ownFontColor;
    // What the pressed look replaced, for the release to restore.
    QColor m_savedColor;
    QColor m_savedFontColor;
    bool m_savedParentColor = true;
    bool m_savedParentFont = true;
};

// A button that stands for a switch: red with a white font while on (as
// "Auto"), the window's own colours while off.
void ShowSwitchedOn(ColourButton &button, bool on);

} // namespace nuvask
