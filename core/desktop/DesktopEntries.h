#pragma once
// The desktop shell's folders and its launcher files, as far as the program
// needs them: where the desktop, the Startup group and the program groups
// live, what the Startup group is called, and writing one launcher for the
// program into such a folder.
//
// Realised in platform/linux/XdgDesktopEntries (XDG user dirs, the autostart
// folder, .desktop files); tests use temporary XDG folders or a fake.

#include <QString>

namespace nuvask {

enum class ShellFolder {
    Desktop,  // the user's desktop folder
    Startup,  // what is started at log-in
    Programs, // the menu's program groups
};

class IDesktopEntries
{
public:
    virtual ~IDesktopEntries() = default;

    // Absolute folder path without a trailing separator; empty when the
    // desktop has no such folder.
    virtual QString FolderPath(ShellFolder folder) const = 0;
    // The Startup group's name as the program-group commands know it; empty
    // when the desktop has none.
    virtual QString StartupGroupName() const = 0;
    // What a launcher file's name ends in (".desktop" here, ".lnk" elsewhere).
    virtual QString LinkExtension() const = 0;
    // Writes a launcher named after the program's title into `folder` that
    // starts `target` in the target's own folder. Failures are silent: the
    // caller sees them as a launcher that is not there.
    virtual void CreateShortcut(const QString &target, ShellFolder folder) = 0;
};

// Folder + '/' + title + extension; empty when the folder is empty or not
// absolute, so that a missing folder never names a file in the current
// directory.
QString LinkPathIn(const QString &folder, const QString &title, const QString &extension);

} // namespace nuvask
