#pragma once
// The notification area interface.
//
// The desktop's notification area as the tray component talks to it: one call
// that adds, modifies or deletes an icon described by a notification record,
// plus the few window services a click on the icon needs (cursor position,
// foreground switch, opening a popup menu). Realised with QSystemTrayIcon in
// ui/QtTrayShell; tests use a recording fake.
//
// Mouse activity over an icon comes back as a call of
// TrayEventRouter::WM_TRAY_NOTIFY(identifier, mouse message) on the event loop,
// on the notify window named in the record.

#include <QPoint>
#include <QString>
#include <QVariant>
#include <QtGlobal>

#include <functional>
#include <utility>

class QObject;

namespace nuvask {

class TrayEventRouter;

// The callback message given to the shell (WM_USER + 0x66).
inline constexpr quint32 WM_TRAY_NOTIFY = 0x466;

// Operations of Shell_NotifyIcon.
inline constexpr quint32 NIM_ADD = 0;
inline constexpr quint32 NIM_MODIFY = 1;
inline constexpr quint32 NIM_DELETE = 2;

// Which fields of the record are valid.
inline constexpr quint32 NIF_MESSAGE = 1;
inline constexpr quint32 NIF_ICON = 2;
inline constexpr quint32 NIF_TIP = 4;

// Mouse messages reported over an icon (the callback's lParam).
inline constexpr quint32 WM_MOUSEMOVE = 0x200;
inline constexpr quint32 WM_LBUTTONDOWN = 0x201;
inline constexpr quint32 WM_LBUTTONUP = 0x202;
inline constexpr quint32 WM_LBUTTONDBLCLK = 0x203;
inline constexpr quint32 WM_RBUTTONDOWN = 0x204;
inline constexpr quint32 WM_RBUTTONUP = 0x205;
inline constexpr quint32 WM_RBUTTONDBLCLK = 0x206;
inline constexpr quint32 WM_MBUTTONDOWN = 0x207;
inline constexpr quint32 WM_MBUTTONUP = 0x208;
inline constexpr quint32 WM_MBUTTONDBLCLK = 0x209;

// Room for the tip text, terminating zero included (bytes).
inline constexpr int kTipFieldBytes = 64;

// One icon as the shell is told about it. The component fills one record at
// construction and reuses it for every call.
struct NotifyIconRecord
{
    quint32 cbSize = 88;           // bytes of the record the shell expects
    TrayEventRouter *hWnd = nullptr; // receives WM_TRAY_NOTIFY
    quint32 uID = 0;               // icon identifier within the process
    quint32 uFlags = 0;            // NIF_*
    quint32 uCallbackMessage = 0;
    QVariant hIcon; // the image, as the shell understands it; null = none
    QString szTip;  // at most kTipFieldBytes - 1 code-page-932 bytes
};

class TrayShell
{
public:
    virtual ~TrayShell() = default;

    // NIM_ADD, NIM_MODIFY or NIM_DELETE. True when the shell took the call.
    virtual bool Shell_NotifyIcon(quint32 message, const NotifyIconRecord &record) = 0;

    // Whether the icon with this identifier really stands in a notification
    // area now: added, not deleted, and a notification area exists to show it.
    virtual bool IconShown(quint32 id) const = 0;

    // Cursor position in screen pixels.
    virtual QPoint GetCursorPos() const = 0;

    // Brings `owner` to the foreground when it is a window (a form); false
    // when it is none, so that nothing was done.
    virtual bool SetForegroundWindow(QObject *owner) = 0;

    // Opens a popup menu at screen pixels `at` and returns at once.
    virtual void Popup(QObject *menu, QPoint at) = 0;

    // A notification area comes and goes with the desktop's panel (it ends,
    // crashes or restarts). `handler` hears each change, with whether one is
    // there now; icons still added stand in a returning area again without
    // being added anew.
    void SetTrayChangedHandler(std::function<void(bool available)> handler) { m_trayChanged = std::move(handler); }

protected:
    void TrayChanged(bool available)
    {
        if (m_trayChanged)
            m_trayChanged(available);
    }

private:
    std::function<void(bool)> m_trayChanged;
};

} // namespace nuvask
