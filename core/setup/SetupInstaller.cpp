// The per-user install sequence of the setup window.

#include "core/setup/SetupInstaller.h"

#include "core/desktop/DesktopEntries.h"
#include "core/desktop/MenuGroups.h"
#include "core/settings/SettingsTree.h"
#include "core/settings/SettingsStore.h"
#include "core/setup/MenuGroupItems.h"
#include "core/setup/SetupFiles.h"
#include "core/setup/SetupPlatform.h"
#include "core/setup/SetupTexts.h"
#include "core/setup/ThemeIcons.h"
#include "core/base/TextHelpers.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace nuvask {

namespace {
QString withSlash(const QString &folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

QString withoutSlash(const QString &folder)
{
    return folder.size() > 1 && folder.endsWith(QLatin1Char('/')) ? folder.chopped(1) : folder;
}

// The uninstall entry's command: quoted, so that a folder with blanks stays
// one argument.
QString uninstallCommand(const QString &program)
{
    return QLatin1Char('"') + program + QStringLiteral("\" /uninstall");
}

QString sw(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}
} // namespace

SetupInstaller::SetupInstaller(const SetupContext &context) : m_c(context)
{
}

InstallOutcome SetupInstaller::Install(const InstallRequest &request)
{
    if (request.group.isEmpty()) {
        m_c.view.Beep();
        m_c.view.ShowOK(setupText::NoGroup());
        return InstallOutcome::Stopped;
    }
    if (request.folder.isEmpty()) {
        m_c.view.Beep();
        m_c.view.ShowOK(setupText::NoFolder());
        return InstallOutcome::Stopped;
    }
    QString folder = withSlash(QDir::cleanPath(QDir::current().absoluteFilePath(request.folder)));
    // What the group commands cannot carry is refused before anything is
    // made or copied, not found out after the copy.
    QString uncarried = GroupCommandNameError(request.group, true);
    if (uncarried.isEmpty())
        uncarried = GroupCommandPathError(folder + m_c.platform.Names().program);
    if (!uncarried.isEmpty()) {
        m_c.view.Beep();
        m_c.view.ShowOK(uncarried);
        return InstallOutcome::Stopped;
    }
    QString keepDir;
    if (!MakeFolder(folder, keepDir))
        return InstallOutcome::Stopped;

    const QStringList ancestors = SplitAncestors(folder);
    folder = ancestors.isEmpty() ? QString() : withSlash(ancestors.last());
    if (folder.isEmpty() || folder == QLatin1String("/")) {
        // The root alone is no install folder either: the uninstaller would
        // walk its contents.
        m_c.view.ShowOK(QStringLiteral("[  ]\n") + setupText::BadData());
        return InstallOutcome::Stopped;
    }
    keepDir = KeepDirFor(withoutSlash(folder), keepDir);
    const EarlierInstall earlier = ReadEarlierInstall();
    const bool sameFolder = !earlier.folder.isEmpty() && SamePath(earlier.folder, folder);
    if (!CopyFiles(request.sourceExe, folder))
        return InstallOutcome::Stopped;
    QStringList copied = sameFolder ? earlier.files : QStringList();
    for (const QString &name : std::as_const(m_copied)) {
        if (!copied.contains(name))
            copied << name;
    }

    QStringList failures;
    LetMessagesRun();
    const QString settingsKey = SettingsKeyPath(m_c.start.ProgramShortName);
    auto settings = m_c.settingsTree.open(SettingsRoot::CurrentUser, settingsKey, true);
    const QString oldGroup = settings ? settings->readString(QLatin1String(setting::Group.name)) : QString();
    if (!settings
        || !settings->writeStrings({{QLatin1String(setting::ExePath.name), withoutSlash(folder)},
                                    {QLatin1String(setting::Group.name), request.group}}))
        failures << setupText::FailedSettings();

    // Before the launchers, which name the icon by its theme name.
    LetMessagesRun();
    if (!InstallThemeIcons(m_c, folder))
        failures << setupText::FailedIcons();

    LetMessagesRun();
    if (AddToGroup(request.group) && m_c.platform.AddUninstallLauncher(request.group, m_installed)) {
        // Moved to another group: the old group's launchers (and the group,
        // left empty) go, as the uninstall would take them. The Startup
        // group is never the old group's to take.
        const QString startup = m_c.desktop.StartupGroupName();
        if (!oldGroup.isEmpty() && oldGroup != request.group
            && oldGroup.compare(startup, Qt::CaseInsensitive) != 0)
            TakeProgramItems(m_c, oldGroup);
    } else {
        failures << setupText::FailedGroup();
    }
    if (request.startup) {
        const QString startup = m_c.desktop.StartupGroupName();
        if (startup.isEmpty())
            m_c.view.ShowOK(setupText::NoStartup());
        else if (!AddToGroup(startup))
            failures << setupText::FailedStartup();
    }

    const QString command = uninstallCommand(m_installed);
    auto entry = m_c.settingsTree.open(SettingsRoot::LocalMachine, m_c.names.UninstallKey, true);
    if (!entry
        || !entry->writeStrings({{QStringLiteral("DisplayName"), m_c.names.UninstallDisplayName},
                                 {QStringLiteral("UninstallString"), command},
                                 {kKeepDirValue, keepDir},
                                 {kInstalledFilesValue, copied.join(QLatin1Char('|'))}}))
        failures << setupText::FailedUninstallEntry();

    // The version marks the install as done: a start finding it opens the
    // main window, so it is only written when everything else was.
    SettingsValues last;
    if (failures.isEmpty())
        last << std::pair{QString::fromLatin1(setting::Version.name), QString::number(m_c.start.ProgramVersion)};
    last << std::pair{QString::fromLatin1(setting::BackColor.name), sw(request.backColor)}
         << std::pair{QString::fromLatin1(setting::KeldoColor.name), sw(request.keldoColor)};
    if ((!settings || !settings->writeStrings(last)) && !failures.contains(setupText::FailedSettings()))
        failures << setupText::FailedSettings();

    LetMessagesRun();
    if (!failures.isEmpty()) {
        m_c.view.ShowOK(setupText::NotDone() + QLatin1Char('\n') + failures.join(QLatin1Char('\n')));
        return InstallOutcome::Failed;
    }
    // Moved: the earlier folder's copy would otherwise stay on the disk for
    // ever, since the uninstall entry now names the new one.
    if (!earlier.folder.isEmpty() && !sameFolder)
        RemoveEarlierInstall(earlier);
    return InstallOutcome::Done;
}

SetupInstaller::EarlierInstall SetupInstaller::ReadEarlierInstall() const
{
    EarlierInstall earlier;
    const auto settings = m_c.settingsTree.open(SettingsRoot::CurrentUser, SettingsKeyPath(m_c.start.ProgramShortName), false);
    const auto entry = m_c.settingsTree.open(SettingsRoot::LocalMachine, m_c.names.UninstallKey, false);
    if (!settings || !entry)
        return earlier;
    const QString folder = settings->readString(QLatin1String(setting::ExePath.name));
    // The entry is that install's only when it names the program there.
    if (folder.isEmpty()
        || entry->readString(QStringLiteral("UninstallString")) != uninstallCommand(withSlash(folder) + m_c.platform.Names().program))
        return earlier;
    earlier.folder = folder;
    earlier.files = entry->readString(kInstalledFilesValue).split(QLatin1Char('|'), Qt::SkipEmptyParts);
    earlier.keepDir = entry->readString(kKeepDirValue);
    return earlier;
}

void SetupInstaller::RemoveEarlierInstall(const EarlierInstall &earlier) const
{
    const InstalledNames names = m_c.platform.Names();
    const QStringList ours{names.program, names.text, names.help, names.helpEnglish};
    for (const QString &name : earlier.files) {
        // Only a file of the program's own names, right in that folder.
        const QFileInfo file(withSlash(earlier.folder) + name);
        if (name.isEmpty() || !ours.contains(name) || !file.isFile() || file.isSymLink())
            continue;
        ClearReadOnly(file.filePath());
        QFile::remove(file.filePath());
    }
    RemoveEmptiedFolders(earlier.folder, earlier.keepDir);
}

bool SetupInstaller::MakeFolder(const QString &folder, QString &keepDir)
{
    const QString ask = withoutSlash(folder);
    bool asked = false;
    for (QString p : SplitAncestors(folder)) {
        p = withoutSlash(QDir::cleanPath(p));
        QString resolved = p;
        if ((QFileInfo(p).isDir() || ResolveShellPath(resolved)) && QDir::setCurrent(p)) {
            if (!asked)
                keepDir = p;
            continue;
        }
        if (!asked) {
            // Making a folder loses nothing: the countdown may say Yes.
            if (m_c.view.ShowYesNoTimer(ask + QLatin1Char('\n') + setupText::CreateFolder(), kAnswerYes) != kAnswerYes)
                return false;
            asked = true;
        }
        if (!QDir().mkdir(p) || !QFileInfo(p).isDir()) {
            m_c.view.ShowOK(QStringLiteral("[ ") + p + QStringLiteral(" ]\n") + setupText::CreateFailed());
            return false;
        }
    }
    return true;
}

QString SetupInstaller::KeepDirFor(const QString &folder, const QString &found)
{
    const auto decided = m_keepDirs.constFind(folder);
    if (decided != m_keepDirs.cend())
        return *decided;
    QString keep = found;
    // Reinstalled into the folder of the install the uninstall entry is for:
    // that install's finding holds, as long as it still lies on the way.
    if (auto entry = m_c.settingsTree.open(SettingsRoot::LocalMachine, m_c.names.UninstallKey, false)) {
        const QString stored = entry->readString(kKeepDirValue);
        const QString program = withSlash(folder) + m_c.platform.Names().program;
        if (!stored.isEmpty() && entry->readString(QStringLiteral("UninstallString")) == uninstallCommand(program)
            && SplitAncestors(folder).contains(stored))
            keep = stored;
    }
    m_keepDirs.insert(folder, keep);
    return keep;
}

bool SetupInstaller::CopyFiles(const QString &sourceExe, const QString &folder)
{
    const InstalledNames names = m_c.platform.Names();
    m_installed = folder + names.program;
    m_copied.clear();
    const QString sourceFolder = withSlash(QFileInfo(sourceExe).absolutePath());
    if (SamePath(sourceFolder, folder))
        return true; // started from the install folder: the files are there
    QList<std::pair<QString, QString>> files{
        {sourceExe, names.program},
        {sourceFolder + names.text, names.text},
        {sourceFolder + names.help, names.help},
    };
    // A copy without the English help still installs: English then shows
    // the Japanese help.
    if (!names.helpEnglish.isEmpty() && QFileInfo::exists(sourceFolder + names.helpEnglish))
        files.append({sourceFolder + names.helpEnglish, names.helpEnglish});
    for (const auto &[from, name] : files) {
        const QString error = CopyFileChunked(from, folder + name);
        if (!error.isEmpty()) {
            m_c.view.ShowOK(name + QLatin1Char('\n') + error + QLatin1Char('\n') + setupText::CopyFailed());
            return false;
        }
        m_copied << name;
    }
    return true;
}

bool SetupInstaller::AddToGroup(const QString &group)
{
    const std::optional<QString> create = CreateGroupCommand(group);
    const std::optional<QString> add = AddItemCommand(m_installed, m_c.start.ProgramTitle);
    if (!create || !add)
        return false;
    const bool created = m_c.groups.ExecuteGroupCommand(*create).isEmpty();
    LetMessagesRun();
    const bool added = created && m_c.groups.ExecuteGroupCommand(*add).isEmpty();
    LetMessagesRun();
    return added;
}

} // namespace nuvask
