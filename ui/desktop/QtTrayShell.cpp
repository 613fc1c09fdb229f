// The notification area realised with QSystemTrayIcon.

#include "ui/desktop/QtTrayShell.h"

#include "core/desktop/TrayComponent.h"

#include <QCursor>
#include <QIcon>
#include <QMenu>
#include <QWidget>

namespace nuvask {

QtTrayShell::QtTrayShell(QObject *parent) : QObject(parent)
{
    m_trayPoll.setInterval(kTrayPollMs);
    connect(&m_trayPoll, &QTimer::timeout, this, &QtTrayShell::checkTray);
}

void QtTrayShell::checkTray()
{
    const bool available = TrayAvailable();
    if (available == m_trayAvailable)
        return;
    m_trayAvailable = available;
    if (available) {
        for (auto &[id, entry] : m_icons) {
            entry.icon->hide();
            entry.icon->show();
        }
    }
    TrayChanged(available);
}

QtTrayShell::~QtTrayShell()
{
    for (auto &[id, entry] : m_icons)
        delete entry.icon;
}

bool QtTrayShell::TrayAvailable() const
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

quint32 QtTrayShell::MouseMessage(QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        return WM_LBUTTONDOWN;
    case QSystemTrayIcon::Context:
        return WM_RBUTTONDOWN;
    case QSystemTrayIcon::MiddleClick:
        return WM_MBUTTONDOWN;
    case QSystemTrayIcon::DoubleClick:
        return WM_LBUTTONDBLCLK;
    case QSystemTrayIcon::Unknown:
        break;
    }
    return 0;
}

QSystemTrayIcon *QtTrayShell::TrayIconFor(quint32 id) const
{
    const auto it = m_icons.find(id);
    return it == m_icons.end() ? nullptr : it->second.icon;
}

void QtTrayShell::apply(Entry &entry, const NotifyIconRecord &record)
{
    if (record.hWnd)
        entry.window = record.hWnd;
    if (record.uFlags & NIF_ICON)
        entry.icon->setIcon(record.hIcon.value<QIcon>());
    if (record.uFlags & NIF_TIP)
        entry.icon->setToolTip(record.szTip);
    else
        entry.icon->setToolTip(QString());
}

bool QtTrayShell::Shell_NotifyIcon(quint32 message, const NotifyIconRecord &record)
{
    const auto it = m_icons.find(record.uID);
    switch (message) {
    case NIM_ADD: {
        if (it != m_icons.end())
            return false; // one icon per identifier
        Entry entry;
        entry.icon = new QSystemTrayIcon(this);
        entry.icon->setObjectName(QStringLiteral("TrayIcon%1").arg(record.uID));
        entry.icon->setContextMenu(m_contextMenu);
        const quint32 id = record.uID;
        connect(entry.icon, &QSystemTrayIcon::activated, this,
                [this, id](QSystemTrayIcon::ActivationReason reason) { activated(id, reason); });
        apply(entry, record);
        entry.icon->show();
        m_icons.emplace(id, entry);
        m_trayAvailable = TrayAvailable();
        m_trayPoll.start();
        return m_trayAvailable;
    }
    case NIM_MODIFY:
        if (it == m_icons.end())
            return false;
        apply(it->second, record);
        return true;
    case NIM_DELETE: {
        if (it == m_icons.end())
            return false;
        QSystemTrayIcon *icon = it->second.icon;
        m_icons.erase(it);
        if (m_icons.empty())
            m_trayPoll.stop();
        icon->hide();
        // The delete may come from inside this icon's own activation.
        icon->deleteLater();
        return true;
    }
    default:
        return false;
    }
}

bool QtTrayShell::IconShown(quint32 id) const
{
    const QSystemTrayIcon *icon = TrayIconFor(id);
    return icon && icon->isVisible() && TrayAvailable();
}

void QtTrayShell::activated(quint32 id, QSystemTrayIcon::ActivationReason reason)
{
    const quint32 message = MouseMessage(reason);
    const auto it = m_icons.find(id);
    if (message == 0 || it == m_icons.end() || !it->second.window)
        return;
    // Handed on from the event loop, as the shell posts its callback: the
    // handler may open menus and message boxes of its own.
    QPointer<TrayEventRouter> window = it->second.window;
    QMetaObject::invokeMethod(
        window,
        [window, id, message] {
            if (window)
                window->WM_TRAY_NOTIFY(id, message);
        },
        Qt::QueuedConnection);
}

QPoint QtTrayShell::GetCursorPos() const
{
    return QCursor::pos();
}

bool QtTrayShell::SetForegroundWindow(QObject *owner)
{
    auto *form = qobject_cast<QWidget *>(owner);
    if (!form || !form->isWindow())
        return false;
    if (form->isVisible()) {
        form->raise();
        form->activateWindow();
    }
    return true;
}

void QtTrayShell::Popup(QObject *menu, QPoint at)
{
    if (auto *popup = qobject_cast<QMenu *>(menu))
        popup->popup(at);
}

void QtTrayShell::SetContextMenu(QMenu *menu)
{
    m_contextMenu = menu;
    for (auto &[id, entry] : m_icons)
        entry.icon->setContextMenu(menu);
}

} // namespace nuvask
