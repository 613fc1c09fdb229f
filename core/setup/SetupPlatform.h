#pragma once
// What installation and uninstallation need from the operating system beyond
// the registry, the program groups and the desktop's folders: the folders
// they use, the launcher of the uninstaller in the program's group, the
// private hand-over record between the two uninstalling processes, and
// starting the uninstaller copy.
//
// Realised in platform/linux/XdgSetupPlatform; tests use it on temporary XDG
// folders.

#include "core/settings/SettingsTree.h"

#include <QString>
#include <QStringList>

namespace nuvask {

// The names the installed files take.
struct InstalledNames
{
    QString program; // the executable
    QString text;    // the text file read before use
    QString help;    // the help file
    QString index;   // the help index the help viewer may leave beside it
    QString helpEnglish; // the English help file, copied when the source has it
};

// The five values handed from the installed copy to the uninstaller copy;
// besides them the install folder as the settings named it when the
// uninstall began, and the folder above which emptied folders are never
// removed.
struct HandoverRecord
{
    QString file;
    QString title;
    QString rmDir;
    QString color;
    QString fontColor;
    QString installDir;
    QString keepDir;
};

class ISetupPlatform
{
public:
    virtual ~ISetupPlatform() = default;

    enum class ReadResult {
        Read,
        Missing,
        Refused, // not private to this user: never acted on
    };

    // The per-user data folder, ending in the separator: the uninstaller copy
    // lives there, and the list files of a program the package manager owns.
    virtual QString DataDir() const = 0;
    // The install folder offered when none is stored.
    virtual QString DefaultInstallDir() const = 0;
    virtual InstalledNames Names() const = 0;
    // The user's icon folder ($XDG_DATA_HOME/icons); empty when unknown.
    virtual QString IconThemeDir() const = 0;
    // Whether the program in `folder` belongs to the package manager (see
    // platform/linux/PackagedProgram.h): setup and uninstall then never copy
    // or delete its files, only what belongs to the user.
    virtual bool PackageManaged(const QString &folder) const = 0;

    // A launcher in `group` that starts `program` with "/uninstall".
    virtual bool AddUninstallLauncher(const QString &group, const QString &program) = 0;
    // Takes that launcher away again, and the group with it when nothing
    // else is left in it.
    virtual void RemoveUninstallLauncher(const QString &group) = 0;

    virtual bool WriteHandover(const HandoverRecord &record) = 0;
    virtual ReadResult ReadHandover(HandoverRecord &record) = 0;
    // Deletes the record, and the program's own folders once empty.
    virtual void DeleteHandover() = 0;
    // The program's own settings folders, each once nothing is left in it
    // (an uninstall that kept the settings keeps them).
    virtual void RemoveEmptyProgramFolders() = 0;

    // Whether a process still runs the executable at path (it cannot be
    // removed yet as far as the uninstaller is concerned).
    virtual bool ProgramRunning(const QString &path) const = 0;
    virtual bool StartDetached(const QString &program, const QStringList &arguments, const QString &folder) = 0;
};

} // namespace nuvask
