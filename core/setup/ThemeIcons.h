#pragma once
// The program's icon in the user's icon theme. The per-user install copies
// every rendering the program carries (the hicolor sizes and the SVG) into
// the hicolor theme of the user's icon folder, so that launchers name the
// icon by its theme name and keep it once the folder the setup ran from is
// gone. What it wrote and which folders it had to create are kept in the
// uninstall entry; the uninstall takes away exactly those files and, when
// they are left empty, those folders.

#include <QString>
#include <QStringList>

namespace nuvask {

struct SetupContext;

// Paths relative to the icon folder, as "hicolor/48x48/apps/nuvask.png".
struct ThemeIconRecord
{
    QStringList files;
    QStringList folders; // created by the install, shallowest first

    bool operator==(const ThemeIconRecord &) const = default;
};

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

    // Copies every icon file; false when one could not be written. `record`
    // gets what was written and created, also after a failure.
    bool Install(ThemeIconRecord &record) const;
    // Deletes the record's files and then its folders that are empty. Names
    // that leave the icon folder or are not the program's icon are ignored.
    void Remove(const ThemeIconRecord &record) const;

    // The record as two values of the uninstall entry, and back.
    static QString JoinList(const QStringList &paths);
    static QStringList SplitList(const QString &value);

private:
    QString m_source;
    QString m_folder;
};

// The install's icon step: nothing for a program the package manager
// installed (its icons are in the system's theme), else the icons and the
// record (added to one an earlier install left). False when it failed.
bool InstallThemeIcons(const SetupContext &context, const QString &installFolder);
// The uninstall's icon step, before the uninstall entry goes.
void RemoveThemeIcons(const SetupContext &context);

} // namespace nuvask
