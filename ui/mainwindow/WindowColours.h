#pragma once
// The main window's colour and hint switches: the maker's green with white
// text or the desktop's colours, the list colours of menu BackColor, and
// whether tool-tips show (menu HELP3). The two colour switches exclude each
// other; a click on either menu item has toggled its mark before it acts.
// The hint switch holds for the windows the main window owns too.

#include <QObject>

class QMainWindow;

namespace nuvask {

struct MainMenu;

class WindowColours : public QObject
{
    Q_OBJECT
public:
    WindowColours(QMainWindow &window, MainMenu &menu);
    ~WindowColours() override;

    // Window, panel and text colours: green and white, else the system's
    // button face and window text. The menu bar keeps the desktop's colours.
    void applyWindowColours(bool keldo);
    // Lists take the system window colour when BackColor is checked, else
    // their panel's colour.
    void ApplyListColours();

    // Actions of the menu items after their mark toggled.
    void backColorToggled();
    void keldoColorToggled();
    void help3Toggled();

    void setHintsShown(bool on);
    bool hintsShown() const { return m_showHints; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QMainWindow &m_window;
    MainMenu &m_menu;
    bool m_showHints = true;
};

} // namespace nuvask
