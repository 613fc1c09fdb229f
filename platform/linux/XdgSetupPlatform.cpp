// What install and uninstall need from the desktop, in XDG places.

#include "platform/linux/XdgSetupPlatform.h"

#include "platform/linux/SettingsFileStore.h"
#include "platform/linux/PackagedProgram.h"
#include "platform/linux/XdgMenuGroups.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <sys/stat.h>
#include <unistd.h>

namespace nuvask {

namespace {
const QString kFile = QStringLiteral("File");
const QString kTitle = QStringLiteral("Title");
const QString kRmDir = QStringLiteral("RmDir");
const QString kColor = QStringLiteral("Color");
const QString kFColor = QStringLiteral("FColor");
const QString kKeepDir = QStringLiteral("KeepDir");
const QString kInstallDir = QStringLiteral("EXEPATH");

QString dataHome()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

// Owned by this user, not a symbolic link, and writable by nobody else
// (readable by nobody else either when `secret`).
bool privateEntry(const QString &path, bool folder, bool secret)
{
    struct stat st{};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0 || st.st_uid != ::getuid())
        return false;
    if (folder ? !S_ISDIR(st.st_mode) : !S_ISREG(st.st_mode))
        return false;
    return (st.st_mode & (secret ? 077 : 022)) == 0;
}

SettingsFileStore handoverStore()
{
    return SettingsFileStore(XdgSetupPlatform::HandoverFolder());
}
} // namespace

XdgSetupPlatform::XdgSetupPlatform(XdgMenuGroups &groups, QString uninstallItem, QString shownName)
    : m_groups(groups), m_uninstallItem(std::move(uninstallItem)), m_uninstallShown(std::move(shownName))
{
}

QString XdgSetupPlatform::DataDir() const
{
    const QString data = dataHome();
    return data.isEmpty() ? QString() : data + QStringLiteral("/nuvask/");
}

QString XdgSetupPlatform::DefaultInstallDir() const
{
    const QString data = dataHome();
    return data.isEmpty() ? QString() : data + QStringLiteral("/KELDOP32/NUVASK");
}

InstalledNames XdgSetupPlatform::Names() const
{
    return {QStringLiteral("nuvask"), QStringLiteral("NUVASK.TXT"), QStringLiteral("NUVASK.HLP"),
            QStringLiteral("NUVASK.GID"), QStringLiteral("NUVASK_EN.HLP")};
}

QString XdgSetupPlatform::IconThemeDir() const
{
    const QString data = dataHome();
    return data.isEmpty() ? QString() : data + QStringLiteral("/icons");
}

bool XdgSetupPlatform::PackageManaged(const QString &folder) const
{
    return IsPackageManaged(folder);
}

bool XdgSetupPlatform::AddUninstallLauncher(const QString &group, const QString &program)
{
    return m_groups.AddCommandItem(group, m_uninstallItem, m_uninstallShown, {program, QStringLiteral("/uninstall")});
}

void XdgSetupPlatform::RemoveUninstallLauncher(const QString &group)
{
    m_groups.RemoveItem(group, m_uninstallItem);
    // A group that only the program's items filled goes with them.
    m_groups.RemoveGroupIfEmpty(group);
}

QString XdgSetupPlatform::HandoverFolder()
{
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return config.isEmpty() ? QString() : config + QStringLiteral("/nuvask/handover");
}

QString XdgSetupPlatform::HandoverKey()
{
    return QStringLiteral(".Default\\Software\\Unin_KELDO SOFT32");
}

bool XdgSetupPlatform::WriteHandover(const HandoverRecord &r)
{
    const QString folder = HandoverFolder();
    if (folder.isEmpty() || !QDir().mkpath(folder)
        || !QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)
        || !privateEntry(folder, true, true))
        return false;
    SettingsFileStore store = handoverStore();
    auto key = store.open(SettingsRoot::Users, HandoverKey(), true);
    if (!key
        || !key->writeStrings({{kFile, r.file},
                               {kTitle, r.title},
                               {kRmDir, r.rmDir},
                               {kColor, r.color},
                               {kFColor, r.fontColor},
                               {kInstallDir, r.installDir},
                               {kKeepDir, r.keepDir}}))
        return false;
    return QFile::setPermissions(store.fileFor(SettingsRoot::Users), QFile::ReadOwner | QFile::WriteOwner);
}

ISetupPlatform::ReadResult XdgSetupPlatform::ReadHandover(HandoverRecord &r)
{
    const QString folder = HandoverFolder();
    SettingsFileStore store = handoverStore();
    const QString file = store.fileFor(SettingsRoot::Users);
    if (folder.isEmpty() || !QFileInfo::exists(file))
        return ReadResult::Missing;
    // Anyone who could write the record could name any file for deletion.
    if (!privateEntry(folder, true, false) || !privateEntry(file, false, true))
        return ReadResult::Refused;
    auto key = store.open(SettingsRoot::Users, HandoverKey(), false);
    if (!key)
        return ReadResult::Missing;
    r.file = key->readString(kFile);
    r.title = key->readString(kTitle);
    r.rmDir = key->readString(kRmDir);
    r.color = key->readString(kColor);
    r.fontColor = key->readString(kFColor);
    r.installDir = key->readString(kInstallDir);
    r.keepDir = key->readString(kKeepDir);
    return ReadResult::Read;
}

void XdgSetupPlatform::DeleteHandover()
{
    if (HandoverFolder().isEmpty())
        return;
    SettingsFileStore store = handoverStore();
    store.deleteKeyTree(SettingsRoot::Users, HandoverKey());
    // The folder holds nothing but the record: nothing of it stays behind.
    if (store.subKeys(SettingsRoot::Users, QString()).isEmpty()) {
        const QString file = store.fileFor(SettingsRoot::Users);
        QFile::remove(file);
        QFile::remove(file + QStringLiteral(".lock"));
        QDir().rmdir(HandoverFolder());
    }
    // The record is the last thing an uninstall keeps in the program's own
    // settings folder: once the settings are gone too, the folder goes.
    RemoveEmptyProgramFolders();
}

void XdgSetupPlatform::RemoveEmptyProgramFolders()
{
    if (HandoverFolder().isEmpty())
        return; // no config folder known: nothing of ours there
    const QString settings = SettingsFileStore::defaultFolder();
    // rmdir takes only an empty folder.
    QDir().rmdir(settings);
    QDir().rmdir(QFileInfo(settings).absolutePath());
}

bool XdgSetupPlatform::ProgramRunning(const QString &path) const
{
    // A running program's file can be unlinked here at any time; what the
    // uninstaller waits for is the end of every process running it.
    const QString wanted = QFileInfo(path).canonicalFilePath();
    if (wanted.isEmpty())
        return false;
    const QStringList pids = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    const QString self = QString::number(::getpid());
    for (const QString &pid : pids) {
        if (pid == self || pid.isEmpty() || !pid.front().isDigit())
            continue;
        const QString exe = QFile::symLinkTarget(QStringLiteral("/proc/") + pid + QStringLiteral("/exe"));
        if (exe == wanted)
            return true;
    }
    return false;
}

bool XdgSetupPlatform::StartDetached(const QString &program, const QStringList &arguments, const QString &folder)
{
    QFile::setPermissions(program, QFile::permissions(program) | QFile::ExeOwner | QFile::ReadOwner);
    return QProcess::startDetached(program, arguments, folder);
}

} // namespace nuvask
