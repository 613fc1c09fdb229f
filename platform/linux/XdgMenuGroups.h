#pragma once
// The program-group commands carried out on a freedesktop desktop. A group
// is a submenu of the applications menu: a .directory file in the user's
// desktop-directories folder names it and a merged .menu file in the user's
// applications-merged folder lists its items. An item is a .desktop file in
// the user's applications folder, in the categories AudioVideo;Audio;Mixer;
// so that desktops that ignore merged submenus (GNOME) still list it. The
// Startup group is the XDG autostart folder, whose items are named after
// the item.
//
// A folder is made only when a file goes into it (the autostart folder only
// for a Startup item), and through MadeFolders when one is given, so that
// the uninstall knows which of them the program made.
//
// Files this class writes carry the prefix "nuvask-"; the group list holds
// exactly the groups it created. The active group (the last one created or
// shown) is kept for the life of the object, as the desktop's group service
// keeps it between conversations.

#include "core/desktop/MenuGroups.h"

namespace nuvask {

class MadeFolders;

class XdgMenuGroups : public IMenuGroups
{
public:
    // icon: the Icon value of the items (a file path or a theme name).
    // made: where the folders this class makes are remembered (none: not remembered).
    explicit XdgMenuGroups(QString icon, QString startupGroupName = QStringLiteral("Startup"),
                              MadeFolders *made = nullptr);

    QString ExecuteGroupCommand(const QString &command) override;
    std::optional<QString> RequestGroupsReply() override;

    // Where the files of a group and of its items go (for tests and for the
    // uninstaller's checks); empty while the XDG folders are unknown.
    QString DirectoryFile(const QString &group) const;
    QString MenuFile(const QString &group) const;
    QString ItemFile(const QString &group, const QString &item) const;

    // An item of an existing group that starts a command line (the program
    // with arguments), which the command strings cannot express; and its
    // removal. The uninstaller's launcher is such an item: the menu shows
    // `shownName` (in the user's language) and lists it with the system
    // settings, not among the sound programs, while its file keeps the name
    // `item` in every language, for the removal to find.
    bool AddCommandItem(const QString &group, const QString &item, const QString &shownName, const QStringList &command);
    bool RemoveItem(const QString &group, const QString &item);
    // Takes away a group that no longer holds any item (the Startup group
    // is never taken away).
    void RemoveGroupIfEmpty(const QString &group);

private:
    struct Folders
    {
        QString directories;  // desktop-directories
        QString applications; // applications
        QString merged;       // menus/applications-merged
        QString autostart;    // autostart
    };
    static Folders folders();
    // The folder a file is about to go into; false (and the command fails as
    // unable to reach the desktop) when it cannot be made.
    bool ensure(const QString &folder);
    bool ensureFor(const QString &file); // the folder of the file

    bool isStartup(const QString &group) const;
    bool groupExists(const QString &group) const;
    bool createGroup(const QString &group);
    bool addItem(const QString &program, const QString &item);
    bool deleteItem(const QString &item);
    bool writeMenu(const QString &group);

    QString m_icon;
    QString m_startupGroup;
    QString m_activeGroup;
    MadeFolders *m_made;
    bool m_unreachable = false; // a folder could not be made during this command
};

} // namespace nuvask
