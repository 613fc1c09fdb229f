#pragma once
// The main window's tray: the button Btn_TRAY that puts the window away into
// the notification area, the component TaskTray1 standing for it there, and
// the popup menu PopupMenu_TR with TR_IconOFF that brings it back (and
// TR_History, which opens the level history without it). A left
// press on the icon brings the window back too; a right press opens the menu.
//
// The window is hidden only while its icon really stands in a notification
// area. Without one (a desktop without a tray, a bare X server) the user is
// told so and the window stays where it is: it must never become unreachable.
// For the same reason a notification area that goes away while the window is
// in it (its panel ends or restarts) brings the window back at once; the icon
// stays registered and stands again when a notification area returns.

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <memory>

class QAction;
class QIcon;
class QMenu;
class QWidget;

namespace nuvask {

class ColourButton;
class MessageBox;
class TrayComponent;
class TrayShell;
enum class TrayMouseButton;

class TrayIcon : public QObject
{
    Q_OBJECT
public:
    // window: what goes into the tray; buttonPanel: holds Btn_TRAY (PV2);
    // box: tells the user why the window stays. shell: the notification area,
    // nullptr for the desktop's own; it must outlive this object.
    TrayIcon(QWidget *window, QWidget *buttonPanel, MessageBox *box = nullptr, TrayShell *shell = nullptr);
    ~TrayIcon() override;

    void SetMessageBox(MessageBox *box);

    // Deferred initialisation: the tip (already cut to the tip field) and the
    // window's icon as the tray image.
    void SetTipAndIcon(const QString &tip, const QIcon &icon);

    void Btn_TRAYClick();
    void TR_IconOFFClick();
    // The tray branch of bringing the window back on a second start: true
    // when the window was in the tray and has been brought back.
    bool RestoreFromTray();

    // While set, presses on the icon are ignored (the menu is opening, or a
    // desktop action of the window runs).
    bool TrayMenuBusy() const { return m_trayMenuBusy; }
    void SetTrayMenuBusy(bool on) { m_trayMenuBusy = on; }

    bool InTray() const;
    TrayComponent *TaskTray1 = nullptr;
    ColourButton *Btn_TRAY = nullptr;
    QMenu *PopupMenu_TR = nullptr;
    QAction *TR_IconOFF = nullptr;
    QAction *TR_History = nullptr; // opens the level history; the window wires it

private:
    void TaskTray1MouseDown(TrayComponent *sender, TrayMouseButton button, int x, int y);
    void PopupMenu_TRPopup();
    void TrayChanged(bool available);
    // The window on the screen and in front, with its "Tray" button.
    void BringWindowBack();
    void setBusyCursor(bool on);

    QWidget *m_window;
    QPointer<MessageBox> m_box;
    std::unique_ptr<TrayShell> m_ownShell;
    TrayShell *m_shell;
    bool m_trayMenuBusy = false;
    bool m_busyCursor = false; // this feature's hourglass is up
};

} // namespace nuvask
