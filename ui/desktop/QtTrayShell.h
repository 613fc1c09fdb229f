#pragma once
// The notification area realised with QSystemTrayIcon: one QSystemTrayIcon per
// icon identifier. Add shows it with its image and tip, modify updates them,
// delete hides it. Its activations come back to the record's notify window as
// the mouse message of a button press (QSystemTrayIcon reports presses, not
// releases): Trigger a left press, Context a right press, MiddleClick a middle
// press, DoubleClick a left double click.
//
// Every icon carries the context menu given here, because some desktops hide
// an icon that has none. Where the desktop or Qt opens that menu on a right
// press by itself, the owner's own popup of the same menu only places it again.
//
// Whether a notification area is there is looked at four times a second
// while icons stand in it (Qt tells it only on request). When one returns,
// the icons are added to it again: Qt docks its own icons in a new X11 tray,
// but a tray reached over D-Bus learns of them only when they are added.

#include "core/desktop/TrayShell.h"

#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QTimer>
#include <map>

class QMenu;

namespace nuvask {

class QtTrayShell : public QObject, public TrayShell
{
    Q_OBJECT
public:
    explicit QtTrayShell(QObject *parent = nullptr);
    ~QtTrayShell() override;

    bool Shell_NotifyIcon(quint32 message, const NotifyIconRecord &record) override;
    bool IconShown(quint32 id) const override;
    QPoint GetCursorPos() const override;
    bool SetForegroundWindow(QObject *owner) override;
    void Popup(QObject *menu, QPoint at) override;

    void SetContextMenu(QMenu *menu);

    // Whether the desktop offers a notification area at all.
    virtual bool TrayAvailable() const;

    // The mouse message an activation stands for; 0 for none.
    static quint32 MouseMessage(QSystemTrayIcon::ActivationReason reason);

    // The icon standing for an identifier, or nullptr.
    QSystemTrayIcon *TrayIconFor(quint32 id) const;

    // Milliseconds between two looks at the notification area while icons
    // stand in it.
    static constexpr int kTrayPollMs = 250;

private:
    struct Entry
    {
        QSystemTrayIcon *icon = nullptr;
        QPointer<TrayEventRouter> window;
    };

    void apply(Entry &entry, const NotifyIconRecord &record);
    void activated(quint32 id, QSystemTrayIcon::ActivationReason reason);
    // Compares with the last known state; a change is told to the handler.
    void checkTray();

    std::map<quint32, Entry> m_icons;
    QPointer<QMenu> m_contextMenu;
    QTimer m_trayPoll;
    bool m_trayAvailable = false;
};

} // namespace nuvask
