// The Options menu's launcher (icon) items.

#include "ui/desktop/ShortcutMenu.h"

#include "core/startup/ProgramEntry.h"
#include "ui/dialogs/MessageBox.h"
#include "ui/mainwindow/MainMenu.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QWidget>

namespace nuvask {

namespace {

// A desktop with no folders and no Startup group.
class NoDesktopEntries : public IDesktopEntries
{
public:
    QString FolderPath(ShellFolder) const override { return {}; }
    QString StartupGroupName() const override { return {}; }
    QString LinkExtension() const override { return QStringLiteral(".desktop"); }
    void CreateShortcut(const QString &, ShellFolder) override {}
};

class NoMenuGroups : public IMenuGroups
{
public:
    QString ExecuteGroupCommand(const QString &) override { return menuGroupText::OpenFailed(); }
    std::optional<QString> RequestGroupsReply() override { return std::nullopt; }
};

} // namespace

ShortcutMenu::ShortcutMenu(QWidget *window, const MainMenu &menu, MessageBox *messageBox, ISettingsTree &settingsTree,
                           QString settingsKeyPath)
    : QObject(window), m_window(window), m_menu(menu), m_messageBox(messageBox), m_settingsTree(settingsTree),
      m_settingsKeyPath(std::move(settingsKeyPath)), m_noEntries(std::make_unique<NoDesktopEntries>()),
      m_noGroups(std::make_unique<NoMenuGroups>())
{
    SetDesktop(nullptr, nullptr);
    connect(m_menu.MOption0, &QMenu::aboutToShow, this, &ShortcutMenu::MOption0Click);
    connect(m_menu.MICON_SET, &QAction::triggered, this, [this] { MICON_Click(true); });
    connect(m_menu.MICON_DEL, &QAction::triggered, this, [this] { MICON_Click(false); });
    connect(m_menu.MDESK_SET, &QAction::triggered, this, [this] { MDESK_Click(true); });
    connect(m_menu.MDESK_DEL, &QAction::triggered, this, [this] { MDESK_Click(false); });
}

ShortcutMenu::~ShortcutMenu() = default;

void ShortcutMenu::SetDesktop(IDesktopEntries *entries, IMenuGroups *groups)
{
    const QString title = Start().ProgramTitle;
    m_shortcuts = std::make_unique<DesktopShortcuts>(entries ? *entries : *m_noEntries, groups ? *groups : *m_noGroups,
                                                     m_settingsTree, m_settingsKeyPath, title,
                                                     static_cast<ShortcutsView &>(*this));
}

DesktopShortcuts &ShortcutMenu::shortcuts()
{
    return *m_shortcuts;
}

void ShortcutMenu::MOption0Click()
{
    const DesktopShortcuts::MenuItems items = m_shortcuts->OptionsMenuOpening();
    m_menu.MDESK_SET->setVisible(items.deskSet);
    m_menu.MDESK_DEL->setVisible(items.deskDel);
    m_menu.MICON_SET->setVisible(items.iconSet);
    m_menu.MICON_DEL->setVisible(items.iconDel);
}

void ShortcutMenu::MICON_Click(bool add)
{
    m_shortcuts->StartupItemClick(add, QCoreApplication::applicationFilePath());
}

void ShortcutMenu::MDESK_Click(bool create)
{
    m_shortcuts->DesktopClick(create, QCoreApplication::applicationFilePath());
}

void ShortcutMenu::SetBusyCursor(bool on)
{
    if (on)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QGuiApplication::restoreOverrideCursor();
}

void ShortcutMenu::ProcessPendingEvents()
{
    QCoreApplication::processEvents();
}

void ShortcutMenu::SetTrayMenuBusy(bool busy)
{
    if (m_trayBusy)
        m_trayBusy(busy);
}

void ShortcutMenu::ShowOK(const QString &text)
{
    if (m_messageBox)
        m_messageBox->ShowOK(text);
}

void ShortcutMenu::Redraw()
{
    if (m_window)
        m_window->update();
}

} // namespace nuvask
