// The program's icon in the user's icon theme.

#include "core/setup/ThemeIcons.h"

#include "core/settings/Registry.h"
#include "core/setup/SetupNames.h"
#include "core/setup/SetupPlatform.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace nuvask {

namespace {
const QString kFilesValue = QStringLiteral("IconFiles");
const QString kFoldersValue = QStringLiteral("IconFolders");
const QString kTheme = QStringLiteral("hicolor");
const QChar kListSeparator = QLatin1Char('|');

// A relative path that stays inside the icon folder ("." is the folder).
bool staysInside(const QString &relative)
{
    return !relative.isEmpty() && QDir::cleanPath(relative) == relative && !QDir::isAbsolutePath(relative)
        && relative != QLatin1String("..") && !relative.startsWith(QLatin1String("../"));
}

bool isIconFile(const QString &relative)
{
    const QString name = QFileInfo(relative).fileName();
    return staysInside(relative) && relative.startsWith(kTheme + QLatin1Char('/'))
        && (name == ThemeIcons::kThemeName + QLatin1String(".png")
            || name == ThemeIcons::kThemeName + QLatin1String(".svg"));
}

bool isIconFolder(const QString &relative)
{
    return relative == QLatin1String(".")
        || (staysInside(relative) && (relative == kTheme || relative.startsWith(kTheme + QLatin1Char('/'))));
}

void addMissing(QStringList &list, const QStringList &more)
{
    for (const QString &item : more) {
        if (!list.contains(item))
            list << item;
    }
}
} // namespace

ThemeIcons::ThemeIcons(QString source, QString iconFolder) : m_source(std::move(source)), m_folder(std::move(iconFolder))
{
}

bool ThemeIcons::Install(ThemeIconRecord &record) const
{
    if (m_folder.isEmpty())
        return false;
    QStringList icons;
    QDirIterator it(m_source + QLatin1Char('/') + kTheme, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString relative = it.next().mid(m_source.size() + 1);
        if (isIconFile(relative))
            icons << relative;
    }
    if (icons.isEmpty())
        return false;
    icons.sort();
    // The folder's own parents are the user's data folders, not the icon's.
    if (!QDir().mkpath(QFileInfo(m_folder).absolutePath()))
        return false;

    bool ok = true;
    for (const QString &relative : icons) {
        // Every level from the icon folder down, the missing ones created
        // and remembered.
        QStringList levels{QStringLiteral(".")};
        const QStringList parts = QFileInfo(relative).path().split(QLatin1Char('/'));
        for (qsizetype i = 0; i < parts.size(); ++i)
            levels << parts.mid(0, i + 1).join(QLatin1Char('/'));
        bool placed = true;
        for (const QString &level : levels) {
            const QString path = level == QLatin1String(".") ? m_folder : m_folder + QLatin1Char('/') + level;
            if (QFileInfo(path).isDir())
                continue;
            if (!QDir().mkdir(path)) {
                placed = false;
                break;
            }
            addMissing(record.folders, {level});
        }
        const QString target = m_folder + QLatin1Char('/') + relative;
        if (placed && QFileInfo(target).isFile() && !QFileInfo(target).isSymLink())
            QFile::remove(target);
        if (!placed || !QFile::copy(m_source + QLatin1Char('/') + relative, target)) {
            ok = false;
            continue;
        }
        // Compiled-in files come read-only.
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser
                                          | QFile::ReadGroup | QFile::ReadOther);
        addMissing(record.files, {relative});
    }
    return ok;
}

void ThemeIcons::Remove(const ThemeIconRecord &record) const
{
    if (m_folder.isEmpty())
        return;
    for (const QString &relative : record.files) {
        const QFileInfo file(m_folder + QLatin1Char('/') + relative);
        if (isIconFile(relative) && file.isFile() && !file.isSymLink())
            QFile::remove(file.filePath());
    }
    QStringList folders = record.folders;
    // Deepest first: a folder empties only once the ones inside it are gone.
    const auto depth = [](const QString &relative) {
        return relative == QLatin1String(".") ? -1 : relative.count(QLatin1Char('/'));
    };
    std::stable_sort(folders.begin(), folders.end(),
                     [&depth](const QString &a, const QString &b) { return depth(a) > depth(b); });
    for (const QString &relative : folders) {
        if (!isIconFolder(relative))
            continue;
        const QString path = relative == QLatin1String(".") ? m_folder : m_folder + QLatin1Char('/') + relative;
        if (!QFileInfo(path).isSymLink())
            QDir().rmdir(path); // only an empty folder goes
    }
}

QString ThemeIcons::JoinList(const QStringList &paths)
{
    return paths.join(kListSeparator);
}

QStringList ThemeIcons::SplitList(const QString &value)
{
    return value.split(kListSeparator, Qt::SkipEmptyParts);
}

bool InstallThemeIcons(const SetupContext &c, const QString &installFolder)
{
    if (c.platform.PackageManaged(installFolder))
        return true;
    auto entry = c.registry.open(RegRoot::LocalMachine, c.names.UninstallKey, true);
    ThemeIconRecord record;
    if (entry) {
        // Another install before this one may have created folders that are
        // there now: the uninstall takes those away too.
        record.files = ThemeIcons::SplitList(entry->readString(kFilesValue));
        record.folders = ThemeIcons::SplitList(entry->readString(kFoldersValue));
    }
    const bool installed = ThemeIcons(ThemeIcons::kCompiledIcons, c.platform.IconThemeDir()).Install(record);
    const bool kept = entry
                   && entry->writeStrings({{kFilesValue, ThemeIcons::JoinList(record.files)},
                                           {kFoldersValue, ThemeIcons::JoinList(record.folders)}});
    return installed && kept;
}

void RemoveThemeIcons(const SetupContext &c)
{
    auto entry = c.registry.open(RegRoot::LocalMachine, c.names.UninstallKey, false);
    if (!entry)
        return;
    const ThemeIconRecord record{ThemeIcons::SplitList(entry->readString(kFilesValue)),
                                 ThemeIcons::SplitList(entry->readString(kFoldersValue))};
    ThemeIcons(ThemeIcons::kCompiledIcons, c.platform.IconThemeDir()).Remove(record);
}

} // namespace nuvask
