#pragma once
// Folders the program made in places it shares with the desktop and other
// programs (the menu, launcher and autostart folders, the desktop folder):
// each level it had to create is remembered in the value "MADE_DIRS" of the
// program's settings key, one absolute path a line, so that the uninstall
// takes away exactly those it made and that are empty again, and never a
// folder that was there before or still holds anything.
//
// Used by the desktop realisation whenever it needs a folder
// (platform/linux/XdgMenuGroups, XdgDesktopEntries) and by the uninstall.

#include <QString>
#include <QStringList>

namespace nuvask {

class ISettingsTree;

class MadeFolders
{
public:
    static inline const QString ValueName = QStringLiteral("MADE_DIRS");

    MadeFolders(ISettingsTree &settingsTree, QString settingsKeyPath);

    // Makes `folder` and every missing level above it; the levels made are
    // remembered while the settings key exists (it is never created for
    // this). True when the folder is there afterwards.
    bool MakePath(const QString &folder);
    // The same through `made` when there is one, else without remembering.
    static bool MakePath(MadeFolders *made, const QString &folder);

    // The remembered folders, as stored.
    QStringList Remembered() const;
    // Remembers exactly `folders` (none: the value goes); only while the
    // settings key exists.
    void Remember(const QStringList &folders);

    // Removes each of `folders` that is an empty folder, deepest first, so
    // that a parent emptied by its child goes too; returns those that stay.
    static QStringList RemoveEmpty(const QStringList &folders);

private:
    ISettingsTree &m_settingsTree;
    QString m_key;
};

} // namespace nuvask
