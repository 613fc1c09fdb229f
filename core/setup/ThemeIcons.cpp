// The program's icon in the user's icon theme.

#include "core/setup/ThemeIcons.h"

#include "core/settings/SettingsTree.h"
#include "core/settings/SettingsStore.h"
#include "core/setup/MadeFolders.h"
#include "core/setup/SetupNames.h"
#include "core/setup/SetupPlatform.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace nuvask {

namespace {
const QString kFilesValue = QStringLiteral("IconFiles"); // of the uninstall entry
const QString kTheme = QStringLiteral("hicolor");
const QChar kListSeparator = QLatin1Char('|');

// One of the program's icon files, by a path that stays inside the icon folder.
bool isIconFile(const QString &relative)
{
    const QString name = QFileInfo(relative).fileName();
    return QDir::cleanPath(relative) == relative && !QDir::isAbsolutePath(relative)
        && relative.startsWith(kTheme + QLatin1Char('/'))
        && (name == ThemeIcons::kThemeName + QLatin1String(".png")
            || name == ThemeIcons::kThemeName + QLatin1String(".svg"));
}
} // namespace

ThemeIcons::ThemeIcons(QString source, QString iconFolder) : m_source(std::move(source)), m_folder(std::move(iconFolder))
{
}

bool ThemeIcons::Install(MadeFolders *made, QStringList &files) const
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
    icons.sort();
    bool ok = !icons.isEmpty();
    for (const QString &relative : std::as_const(icons)) {
        const QString target = m_folder + QLatin1Char('/') + relative;
        if (!MadeFolders::MakePath(made, QFileInfo(target).path())) {
            ok = false;
            continue;
        }
        if (QFileInfo(target).isFile() && !QFileInfo(target).isSymLink())
            QFile::remove(target);
        if (!QFile::copy(m_source + QLatin1Char('/') + relative, target)) {
            ok = false;
            continue;
        }
        // Compiled-in files come read-only.
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser
                                          | QFile::ReadGroup | QFile::ReadOther);
        if (!files.contains(relative))
            files << relative;
    }
    return ok;
}

void ThemeIcons::Remove(const QStringList &files) const
{
    if (m_folder.isEmpty())
        return;
    for (const QString &relative : files) {
        const QFileInfo file(m_folder + QLatin1Char('/') + relative);
        if (isIconFile(relative) && file.isFile() && !file.isSymLink())
            QFile::remove(file.filePath());
    }
}

bool InstallThemeIcons(const SetupContext &c, const QString &installFolder)
{
    if (c.platform.PackageManaged(installFolder))
        return true;
    auto entry = c.settingsTree.open(SettingsRoot::LocalMachine, c.names.UninstallKey, true);
    // An earlier install's files are the uninstall's to take away too.
    QStringList files = entry ? entry->readString(kFilesValue).split(kListSeparator, Qt::SkipEmptyParts) : QStringList();
    MadeFolders made(c.settingsTree, SettingsKeyPath(c.start.ProgramShortName));
    const bool installed = ThemeIcons(ThemeIcons::kCompiledIcons, c.platform.IconThemeDir()).Install(&made, files);
    return entry && entry->writeString(kFilesValue, files.join(kListSeparator)) && installed;
}

void RemoveThemeIcons(const SetupContext &c)
{
    auto entry = c.settingsTree.open(SettingsRoot::LocalMachine, c.names.UninstallKey, false);
    if (entry) {
        ThemeIcons(ThemeIcons::kCompiledIcons, c.platform.IconThemeDir())
            .Remove(entry->readString(kFilesValue).split(kListSeparator, Qt::SkipEmptyParts));
    }
}

} // namespace nuvask
