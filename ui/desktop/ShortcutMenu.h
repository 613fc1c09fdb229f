#pragma once
// The Options menu's icon items: which of each pair shows when the menu
// opens, and their actions, over the desktop's folders and program groups.
// The window lends its message box, cursor and redrawing; the tray lends its
// busy flag through SetTrayBusyHook.

#include "core/desktop/DesktopShortcuts.h"

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

class QWidget;

namespace nuvask {

struct MainMenu;
class MessageBox;

class ShortcutMenu : public QObject, private ShortcutsView
{
    Q_OBJECT
public:
    // window: redrawn after each action; the menu's items are connected here.
    ShortcutMenu(QWidget *window, const MainMenu &menu, MessageBox *messageBox, ISettingsTree &settingsTree,
                 QString settingsKeyPath);
    ~ShortcutMenu() override;

    // The desktop realisation; until it is set the program behaves as on a
    // desktop without folders or groups (the items show, the actions report
    // the unknown Startup group or do nothing).
    void SetDesktop(IDesktopEntries *entries, IMenuGroups *groups);
    // Called with true while an action runs and false after it (TrayMenuBusy).
    void SetTrayBusyHook(std::function<void(bool)> hook) { m_trayBusy = std::move(hook); }

    // Start-up step: the two launcher paths.
    void BuildLinkPaths() { shortcuts().BuildLinkPaths(); }
    DesktopShortcuts &shortcuts();

    // The handlers.
    void MOption0Click();
    void MICON_Click(bool add);
    void MDESK_Click(bool create);

private:
    void SetBusyCursor(bool on) override;
    void ProcessPendingEvents() override;
    void SetTrayMenuBusy(bool busy) override;
    void ShowOK(const QString &text) override;
    void Redraw() override;

    QPointer<QWidget> m_window;
    const MainMenu &m_menu;
    MessageBox *m_messageBox;
    ISettingsTree &m_settingsTree;
    QString m_settingsKeyPath;
    std::unique_ptr<IDesktopEntries> m_noEntries;
    std::unique_ptr<IMenuGroups> m_noGroups;
    std::unique_ptr<DesktopShortcuts> m_shortcuts;
    std::function<void(bool)> m_trayBusy;
};

} // namespace nuvask
