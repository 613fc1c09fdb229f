// The desktop's folders and launchers in XDG places.

#include "platform/linux/XdgDesktopEntries.h"

#include "core/setup/MadeFolders.h"
#include "platform/linux/DesktopEntryFile.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace nuvask {

namespace {

QString writable(QStandardPaths::StandardLocation location)
{
    return QStandardPaths::writableLocation(location);
}

QString below(const QString &base, const char *child)
{
    return base.isEmpty() ? QString() : base + QLatin1Char('/') + QLatin1String(child);
}

} // namespace

XdgDesktopEntries::XdgDesktopEntries(QString title, QString icon, MadeFolders *made)
    : m_title(std::move(title)), m_icon(std::move(icon)), m_made(made)
{
}

QString XdgDesktopEntries::FolderPath(ShellFolder folder) const
{
    switch (folder) {
    case ShellFolder::Desktop:
        return writable(QStandardPaths::DesktopLocation);
    case ShellFolder::Startup:
        return below(writable(QStandardPaths::GenericConfigLocation), "autostart");
    case ShellFolder::Programs:
        return below(writable(QStandardPaths::GenericDataLocation), "applications");
    }
    return {};
}

QString XdgDesktopEntries::StartupName()
{
    return QStringLiteral("Startup");
}

QString XdgDesktopEntries::StartupGroupName() const
{
    return StartupName();
}

QString XdgDesktopEntries::LinkExtension() const
{
    return QStringLiteral(".desktop");
}

QString XdgDesktopEntries::ProgramIconValue(const QString &programDir)
{
    const QString theme = QStringLiteral("nuvask");
    for (const char *file : {"icons/hicolor/scalable/apps/nuvask.svg", "icons/hicolor/48x48/apps/nuvask.png"}) {
        if (!QStandardPaths::locate(QStandardPaths::GenericDataLocation, QLatin1String(file)).isEmpty())
            return theme;
    }
    for (const char *name : {"nuvask.svg", "nuvask.png"}) {
        if (!QDir::isAbsolutePath(programDir))
            break; // never an icon from whatever the current directory is
        const QString file = QDir(programDir).absoluteFilePath(QLatin1String(name));
        if (QFileInfo::exists(file))
            return file;
    }
    return theme;
}

void XdgDesktopEntries::CreateShortcut(const QString &target, ShellFolder folder)
{
    const QString folderPath = FolderPath(folder);
    const QString path = LinkPathIn(folderPath, m_title, LinkExtension());
    if (path.isEmpty() || !MadeFolders::MakePath(m_made, folderPath))
        return;
    const DesktopEntryFile::Entries entries = DesktopEntryFile::LauncherEntries(m_title, target, m_icon);
    if (!DesktopEntryFile::Write(path, entries, true))
        return;
    // GNOME's desktop starts a launcher only once it is marked trusted; the
    // mark is a nicety: without gio (or its daemon) the launcher still exists.
    const QString gio = QStandardPaths::findExecutable(QStringLiteral("gio"));
    if (!gio.isEmpty()) {
        QProcess::startDetached(gio, {QStringLiteral("set"), QStringLiteral("-t"), QStringLiteral("string"), path,
                                      QStringLiteral("metadata::trusted"), QStringLiteral("true")});
    }
}

} // namespace nuvask
