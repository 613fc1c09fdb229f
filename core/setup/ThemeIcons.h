#pragma once
// The program's icon in the user's icon theme. The per-user install copies
// every rendering the program carries (the hicolor sizes and the SVG) into
// the hicolor theme of the user's icon folder, so that launchers name the
// icon by its theme name and keep it once the folder the setup ran from is
// gone. The files it wrote are listed in the uninstall entry, the folders it
// had to make are remembered with the others the program made
// (MadeFolders); the uninstall takes away exactly those files, and those
// folders once they are empty.

#include <QString>
#include <QStringList>

namespace nuvask {

class MadeFolders;
struct SetupContext;

class ThemeIcons
{
public:
    // The renderings compiled into the program, in the theme's layout.
    static inline const QString kCompiledIcons = QStringLiteral(":/icons");
    // The name launchers give the icon.
    static inline const QString kThemeName = QStringLiteral("nuvask");

    // `source`: a folder holding hicolor/<size>/apps/nuvask.*;
    // `iconFolder`: the user's icon folder ($XDG_DATA_HOME/icons).
    ThemeIcons(QString source, QString iconFolder);

    // Copies every icon file, making its folders through `made` (none: they
    // are not remembered); false when one could not be written. `files`
    // gets the files written (relative to the icon folder, as
    // "hicolor/48x48/apps/nuvask.png"), also after a failure.
    bool Install(MadeFolders *made, QStringList &files) const;
    // Deletes those files. Names that leave the icon folder or are not the
    // program's icon are ignored.
    void Remove(const QStringList &files) const;

private:
    QString m_source;
    QString m_folder;
};

// The install's icon step: nothing for a program the package manager
// installed (its icons are in the system's theme), else the icons, their
// list in the uninstall entry (added to one an earlier install left) and the
// folders made in the settings. False when it failed.
bool InstallThemeIcons(const SetupContext &context, const QString &installFolder);
// The uninstall's icon step, before the uninstall entry goes.
void RemoveThemeIcons(const SetupContext &context);

} // namespace nuvask
