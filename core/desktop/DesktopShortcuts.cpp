// The program's launchers in the Startup group and on the desktop.

#include "core/desktop/DesktopShortcuts.h"

#include "core/settings/SettingsTree.h"
#include "core/settings/SettingsStore.h"
#include "core/base/TextHelpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace nuvask {

QString LinkPathIn(const QString &folder, const QString &title, const QString &extension)
{
    if (folder.isEmpty() || !QDir::isAbsolutePath(folder))
        return {};
    return AddTrailingBackslash(folder, '/') + title + extension;
}

DesktopShortcuts::DesktopShortcuts(IDesktopEntries &entries, IMenuGroups &groups, ISettingsTree &settingsTree,
                                   QString settingsKeyPath, QString programTitle, ShortcutsView &view)
    : m_entries(entries), m_groups(groups), m_settingsTree(settingsTree), m_settingsKeyPath(std::move(settingsKeyPath)),
      m_title(std::move(programTitle)), m_view(view)
{
}

void DesktopShortcuts::BuildLinkPaths()
{
    const QString extension = m_entries.LinkExtension();
    m_desktopLinkPath = LinkPathIn(m_entries.FolderPath(ShellFolder::Desktop), m_title, extension);
    m_startupLinkPath = LinkPathIn(m_entries.FolderPath(ShellFolder::Startup), m_title, extension);
}

namespace {

bool present(const QString &path)
{
    return !path.isEmpty() && QFileInfo::exists(path);
}

} // namespace

DesktopShortcuts::MenuItems DesktopShortcuts::OptionsMenuOpening()
{
    m_view.SetBusyCursor(true);
    m_view.ProcessPendingEvents();
    MenuItems items;
    const bool onDesktop = present(m_desktopLinkPath);
    items.deskSet = !onDesktop;
    items.deskDel = onDesktop;
    const bool inStartup = present(m_startupLinkPath);
    items.iconSet = !inStartup;
    items.iconDel = inStartup;
    m_view.SetBusyCursor(false);
    return items;
}

void DesktopShortcuts::StartupItemClick(bool add, const QString &runningExecutable)
{
    m_view.SetBusyCursor(true);
    m_view.ProcessPendingEvents();
    m_view.SetTrayMenuBusy(true);
    StartupItem(add, runningExecutable);
    m_view.SetTrayMenuBusy(false);
    m_view.SetBusyCursor(false);
}

QString DesktopShortcuts::StartupItem(bool add, const QString &programFile)
{
    m_view.SetBusyCursor(true);
    m_view.ProcessPendingEvents();
    QString shown;
    const QString group = m_entries.StartupGroupName();
    if (group.isEmpty()) {
        shown = ShortcutText::NoStartupGroup();
        m_view.ShowOK(shown);
    } else {
        // A name the commands cannot carry is refused before anything is sent.
        QString refused;
        const std::optional<QString> createGroup = CreateGroupCommand(group, &refused);
        const std::optional<QString> itemCommand =
            refused.isEmpty() ? (add ? AddItemCommand(programFile, m_title, &refused) : DeleteItemCommand(m_title, &refused))
                              : std::nullopt;
        if (!createGroup || !itemCommand) {
            shown = refused;
            m_view.ShowOK(shown);
        } else {
            m_groups.ExecuteGroupCommand(*createGroup); // a failure here shows with the next command
            m_view.ProcessPendingEvents();
            shown = m_groups.ExecuteGroupCommand(*itemCommand);
            if (!shown.isEmpty())
                m_view.ShowOK(shown);
            m_view.ProcessPendingEvents();
        }
    }
    m_view.Redraw();
    m_view.SetBusyCursor(false);
    return shown;
}

void DesktopShortcuts::DesktopClick(bool create, const QString &runningExecutable)
{
    m_view.SetBusyCursor(true);
    m_view.ProcessPendingEvents();
    m_view.SetTrayMenuBusy(true);
    if (!create) {
        if (!m_desktopLinkPath.isEmpty())
            QFile::remove(m_desktopLinkPath);
    } else if (present(m_desktopLinkPath)) {
        m_view.ShowOK(ShortcutText::AlreadyOnDesktop());
    } else {
        QString folder;
        if (auto key = m_settingsTree.open(SettingsRoot::CurrentUser, m_settingsKeyPath, false))
            folder = key->readString(QLatin1String(setting::ExePath.name));
        // Not installed yet: the launcher points at the running copy rather
        // than at a bare file name that would be looked up on the search path.
        if (folder.isEmpty() || !QDir::isAbsolutePath(folder))
            folder = QFileInfo(runningExecutable).absolutePath();
        const QString target = AddTrailingBackslash(folder, '/') + QFileInfo(runningExecutable).fileName();
        m_entries.CreateShortcut(target, ShellFolder::Desktop);
    }
    m_view.SetTrayMenuBusy(false);
    m_view.Redraw();
    m_view.SetBusyCursor(false);
}

} // namespace nuvask
