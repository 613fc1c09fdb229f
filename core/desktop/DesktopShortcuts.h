#pragma once
// The program's own icon in the Startup group and on the desktop: the two
// launcher paths, which item of each Options-menu pair is shown, and the two
// actions behind those items. The window supplies cursor, message box, the
// tray's busy flag and redrawing through ShortcutsView.

#include "core/desktop/DesktopEntries.h"
#include "core/desktop/MenuGroups.h"

#include <QCoreApplication>
#include <QString>

namespace nuvask {

class ISettingsTree;

class ShortcutsView
{
public:
    virtual ~ShortcutsView() = default;
    virtual void SetBusyCursor(bool on) = 0;
    // Lets pending events run (tray clicks, timers, mixer notifications).
    virtual void ProcessPendingEvents() = 0;
    // While set, tray button presses are ignored.
    virtual void SetTrayMenuBusy(bool busy) = 0;
    virtual void ShowOK(const QString &text) = 0;
    virtual void Redraw() = 0;
};

namespace ShortcutText {
inline QString NoStartupGroup()
{
    return QCoreApplication::translate("DesktopShortcuts", "ｱｲｺﾝ:スタートアップグループが不明ですので アイコン登録出来ません");
}
inline QString AlreadyOnDesktop() { return QCoreApplication::translate("DesktopShortcuts", "デスクトップには、既に登録されています☆☆☆"); }
} // namespace ShortcutText

class DesktopShortcuts
{
public:
    // settingsKeyPath: where "EXEPATH" is read (the installed copy's folder).
    DesktopShortcuts(IDesktopEntries &entries, IMenuGroups &groups, ISettingsTree &settingsTree, QString settingsKeyPath,
                     QString programTitle, ShortcutsView &view);

    // Reads the desktop and Startup folders and builds both launcher paths
    // (start-up, once). An unknown folder leaves its path empty.
    void BuildLinkPaths();
    QString DesktopLinkPath() const { return m_desktopLinkPath; }
    QString StartupLinkPath() const { return m_startupLinkPath; }

    // Which item of each pair the Options menu shows, decided by the files'
    // presence at this moment.
    struct MenuItems
    {
        bool iconSet = true;
        bool iconDel = false;
        bool deskSet = true;
        bool deskDel = false;
    };
    MenuItems OptionsMenuOpening();

    // MICON_SET (add) / MICON_DEL: the Startup item for the running program.
    void StartupItemClick(bool add, const QString &runningExecutable);
    // The routine itself, for the setup window as well; returns the error
    // text shown (empty when nothing went wrong).
    QString StartupItem(bool add, const QString &programFile);

    // MDESK_SET (create) / MDESK_DEL: the desktop launcher of the installed copy.
    void DesktopClick(bool create, const QString &runningExecutable);

private:
    IDesktopEntries &m_entries;
    IMenuGroups &m_groups;
    ISettingsTree &m_settingsTree;
    QString m_settingsKeyPath;
    QString m_title;
    ShortcutsView &m_view;
    QString m_desktopLinkPath;
    QString m_startupLinkPath;
};

} // namespace nuvask
