// Folders the program made in shared places, remembered for the uninstall.

#include "core/setup/MadeFolders.h"

#include "core/settings/SettingsTree.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace nuvask {

namespace {
const QChar kSeparator = QLatin1Char('\n');
} // namespace

MadeFolders::MadeFolders(ISettingsTree &settingsTree, QString settingsKeyPath)
    : m_settingsTree(settingsTree), m_key(std::move(settingsKeyPath))
{
}

bool MadeFolders::MakePath(const QString &folder)
{
    if (folder.isEmpty())
        return false;
    const QString target = QDir::cleanPath(QDir::current().absoluteFilePath(folder));
    if (QFileInfo(target).isDir())
        return true;
    // The levels that are missing now, deepest first.
    QStringList missing;
    for (QString level = target; !level.isEmpty() && !QFileInfo::exists(level);) {
        missing << level;
        const QString parent = QFileInfo(level).absolutePath();
        if (parent == level)
            break;
        level = parent;
    }
    const bool made = QDir().mkpath(target) && QFileInfo(target).isDir();
    QStringList remembered = Remembered();
    bool added = false;
    for (const QString &level : std::as_const(missing)) {
        // A line break inside a name would split it into two paths.
        if (QFileInfo(level).isDir() && !level.contains(kSeparator) && !remembered.contains(level)) {
            remembered << level;
            added = true;
        }
    }
    if (added)
        Remember(remembered);
    return made;
}

bool MadeFolders::MakePath(MadeFolders *made, const QString &folder)
{
    return made ? made->MakePath(folder) : !folder.isEmpty() && QDir().mkpath(folder);
}

QStringList MadeFolders::Remembered() const
{
    const auto key = m_settingsTree.open(SettingsRoot::CurrentUser, m_key, false);
    return key ? key->readString(ValueName).split(kSeparator, Qt::SkipEmptyParts) : QStringList();
}

void MadeFolders::Remember(const QStringList &folders)
{
    const auto key = m_settingsTree.open(SettingsRoot::CurrentUser, m_key, false);
    if (!key)
        return;
    if (folders.isEmpty())
        key->deleteValue(ValueName);
    else
        key->writeString(ValueName, folders.join(kSeparator));
}

QStringList MadeFolders::RemoveEmpty(const QStringList &folders)
{
    QStringList order = folders;
    // Deeper paths are longer than their parents.
    std::sort(order.begin(), order.end(), [](const QString &a, const QString &b) { return a.size() > b.size(); });
    QStringList left;
    for (const QString &folder : std::as_const(order)) {
        const QFileInfo info(folder);
        // Only a real folder given by its full path; rmdir refuses one that holds anything.
        if (!info.isAbsolute() || (info.exists() && (info.isSymLink() || !info.isDir())))
            continue;
        if (info.exists() && !QDir().rmdir(folder))
            left << folder;
    }
    return left;
}

} // namespace nuvask
