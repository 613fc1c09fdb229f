#pragma once
// The desktop's folders and launchers on a freedesktop desktop: the desktop
// folder of the XDG user dirs, the XDG autostart folder as the Startup group
// (named "Startup"), the XDG applications folder for the program groups, and
// launchers as .desktop files.

#include "core/desktop/DesktopEntries.h"

namespace nuvask {

class MadeFolders;

class XdgDesktopEntries : public IDesktopEntries
{
public:
    // title: the launcher's name (file name and Name key); icon: the Icon value
    // (a file path or a theme name), none when empty; made: where a folder
    // made for a launcher is remembered (none: not remembered).
    XdgDesktopEntries(QString title, QString icon, MadeFolders *made = nullptr);

    QString FolderPath(ShellFolder folder) const override;
    QString StartupGroupName() const override;
    QString LinkExtension() const override;
    void CreateShortcut(const QString &target, ShellFolder folder) override;

    // The Icon value for a program in programDir: the theme name when an
    // icon theme of the user or the system holds the icon (the install put
    // it there), else an icon file beside the program when there is one,
    // else the theme name all the same.
    static QString ProgramIconValue(const QString &programDir);
    // The Startup group's name here.
    static QString StartupName();

private:
    QString m_title;
    QString m_icon;
    MadeFolders *m_made;
};

} // namespace nuvask
