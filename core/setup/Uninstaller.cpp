// The uninstaller: the installed copy's part and the uninstaller copy's part.

#include "core/setup/Uninstaller.h"

#include "core/desktop/DesktopEntries.h"
#include "core/desktop/MenuGroups.h"
#include "core/settings/SettingsTree.h"
#include "core/settings/SettingsStore.h"
#include "core/setup/MadeFolders.h"
#include "core/setup/MenuGroupItems.h"
#include "core/setup/SetupFiles.h"
#include "core/setup/SetupInstaller.h"
#include "core/setup/SetupTexts.h"
#include "core/setup/ThemeIcons.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace nuvask {

namespace {
const QString kMakerKey = QStringLiteral("Software\\KELDO SOFT32");

void removeFile(const QString &path)
{
    if (QFileInfo(path).isFile() || QFileInfo(path).isSymLink())
        QFile::remove(path);
}
} // namespace

Uninstaller::Uninstaller(const SetupContext &context) : m_c(context)
{
}

void Uninstaller::RunInstalledCopy(const QString &exePath)
{
    if (m_c.view.ShowYesNoTimer(m_c.names.ShownDisplayName + QLatin1Char('\n') + setupText::AskUninstall(), kAnswerNo)
        != kAnswerYes) {
        m_c.view.ShowOK(setupText::UninstallCancelled());
        return;
    }
    QString keepDir;
    if (auto entry = m_c.settingsTree.open(SettingsRoot::LocalMachine, m_c.names.UninstallKey, false))
        keepDir = entry->readString(kKeepDirValue);
    RemoveThemeIcons(m_c);
    m_c.settingsTree.deleteKeyTree(SettingsRoot::LocalMachine, m_c.names.UninstallKey);

    const QString settingsKey = SettingsKeyPath(m_c.start.ProgramShortName);
    QString group, installDir;
    if (auto settings = m_c.settingsTree.open(SettingsRoot::CurrentUser, settingsKey, false)) {
        group = settings->readString(QLatin1String(setting::Group.name));
        installDir = settings->readString(QLatin1String(setting::ExePath.name));
    }
    // Read before the settings may go with the answer below.
    MadeFolders made(m_c.settingsTree, settingsKey);
    const QStringList madeDirs = made.Remembered();
    if (!group.isEmpty())
        TakeProgramItems(m_c, group);
    const QString startup = m_c.desktop.StartupGroupName();
    LetMessagesRun();
    if (!startup.isEmpty())
        TakeProgramItem(m_c, startup);

    const QString link =
        LinkPathIn(m_c.desktop.FolderPath(ShellFolder::Desktop), m_c.start.ProgramTitle, m_c.desktop.LinkExtension());
    if (!link.isEmpty())
        removeFile(link);

    const QString programDir = QFileInfo(exePath).absolutePath() + QLatin1Char('/');
    // The package manager's files stay for it to remove; the program kept
    // the user's files in the user's data folder.
    const bool packaged = m_c.platform.PackageManaged(programDir);
    const QString filesDir = packaged ? m_c.platform.DataDir() : programDir;
    const InstalledNames names = m_c.platform.Names();
    for (const QString &name : {names.text, names.help, names.helpEnglish, names.index}) {
        if (!packaged) {
            ClearReadOnly(programDir + name);
            removeFile(programDir + name);
        }
    }

    if (m_c.view.ShowYesNoTimer(setupText::AskVolumeFiles(), kAnswerNo) == kAnswerYes) {
        removeFile(filesDir + m_c.start.ProgramShortName + QStringLiteral("VR.LIS"));
        removeFile(filesDir + m_c.start.ProgramShortName + QStringLiteral("VN.LIS"));
    }

    LetMessagesRun();
    if (auto settings = m_c.settingsTree.open(SettingsRoot::CurrentUser, settingsKey, true)) {
        settings->deleteValue(QLatin1String(setting::Version.name));
        settings->deleteValue(QStringLiteral("REC_TXT"));
    }
    if (m_c.view.ShowYesNoTimer(setupText::AskSettings(), kAnswerNo) == kAnswerYes) {
        m_c.settingsTree.deleteKeyTree(SettingsRoot::CurrentUser, settingsKey);
        // The maker's key goes only when no other product keeps anything in it.
        if (auto maker = m_c.settingsTree.open(SettingsRoot::CurrentUser, kMakerKey, false)) {
            if (maker->subKeys().isEmpty() && maker->valueNames().isEmpty())
                m_c.settingsTree.deleteKeyTree(SettingsRoot::CurrentUser, kMakerKey);
        }
    }
    // The desktop's folders the program made and emptied again go; those
    // that still hold something stay remembered while the settings do.
    made.Remember(MadeFolders::RemoveEmpty(madeDirs));

    if (packaged) {
        // No copy follows to delete the program: what is left of the
        // program's own folders goes now.
        m_c.platform.RemoveEmptyProgramFolders();
        m_c.view.ShowOK(setupText::RemovedPackaged());
        return;
    }
    PlaceUninstallerCopy(exePath);

    LetMessagesRun();
    const QString dataDir = m_c.platform.DataDir();
    HandoverRecord record;
    record.file = exePath;
    record.title = m_c.view.Caption();
    record.color = QString::number(m_c.view.WindowColor());
    record.fontColor = QString::number(m_c.view.FontColor());
    record.installDir = installDir;
    record.keepDir = keepDir;
    const QString uninstaller = dataDir + m_c.start.UninstallerFileName;
    QString error;
    if (!m_c.platform.WriteHandover(record) || !QDir::setCurrent(QDir::cleanPath(dataDir)))
        error = setupText::StartError2();
    else if (!m_c.platform.StartDetached(uninstaller, {QStringLiteral("/DeleteFile")}, QDir::cleanPath(dataDir)))
        error = setupText::StartError1();
    if (!error.isEmpty()) {
        m_c.view.ShowOK(error);
        m_c.platform.DeleteHandover();
    }
}

void Uninstaller::PlaceUninstallerCopy(const QString &exePath)
{
    const QString dataDir = m_c.platform.DataDir();
    const QString copy = dataDir + m_c.start.UninstallerFileName;
    QDir().mkpath(dataDir);
    // A copy that is not this very program (older, damaged, or another
    // program under the name) is replaced: it is what will do the deleting.
    if (QFileInfo(copy).isFile() && SameContent(copy, exePath))
        return;
    removeFile(copy);
    CopyFileChunked(exePath, copy);
}

bool Uninstaller::StartCopy(const QStringList &parameters, const QString &ownExe)
{
    HandoverRecord record;
    const ISetupPlatform::ReadResult read = m_c.platform.ReadHandover(record);
    if (read == ISetupPlatform::ReadResult::Read) {
        m_record = record;
        bool okWindow = true, okFont = true;
        const QString color = record.color.trimmed(), fontColor = record.fontColor.trimmed();
        const qint32 window = color.isEmpty() ? m_c.view.WindowColor() : color.toInt(&okWindow);
        const qint32 font = fontColor.isEmpty() ? m_c.view.FontColor() : fontColor.toInt(&okFont);
        if (okWindow && okFont)
            m_c.view.SetColors(window, font);
        m_c.platform.DeleteHandover();
    }
    QString caption = m_record.title.isEmpty() ? m_c.names.UninstallerTitle : m_record.title;
    m_c.view.SetCaption(caption);

    if (!m_record.file.isEmpty() && parameters.value(0) == QLatin1String("/DeleteFile") && MayDelete(ownExe)) {
        if (QFileInfo::exists(m_record.file) && !m_c.platform.ProgramRunning(m_record.file))
            QFile::remove(m_record.file);
        return true;
    }
    m_c.view.ResetColors();
    m_c.view.SetCaption(m_c.names.UninstallerTitle);
    m_c.view.ShowOK(setupText::ParameterError());
    return false;
}

bool Uninstaller::MayDelete(const QString &ownExe) const
{
    // The record names a file to delete together with its emptied folders:
    // only the installed program itself qualifies, never whatever a record
    // may name (nor a copy that was started with "/uninstall" from anywhere
    // else). It carries the program's file name, is the same program as this
    // copy (which was made from it) and lies in the install folder the
    // settings name, or named when the uninstall began.
    const QFileInfo file(m_record.file);
    if (!file.isAbsolute() || file.fileName() != m_c.platform.Names().program)
        return false;
    if (file.exists() && (file.isSymLink() || !SameContent(m_record.file, ownExe)))
        return false;
    const auto settings = m_c.settingsTree.open(SettingsRoot::CurrentUser, SettingsKeyPath(m_c.start.ProgramShortName), false);
    QString installDir = settings ? settings->readString(QLatin1String(setting::ExePath.name)) : QString();
    if (installDir.isEmpty())
        installDir = m_record.installDir;
    return !installDir.isEmpty() && SamePath(installDir, file.absolutePath());
}

bool Uninstaller::Tick()
{
    ++m_tries;
    if (QFileInfo::exists(m_record.file)
        && (m_c.platform.ProgramRunning(m_record.file) || !QFile::remove(m_record.file))) {
        if (m_tries < kDeleteTries)
            return false;
        m_c.view.ShowOK(setupText::StillRunning().arg(m_record.file));
        return true;
    }
    if (m_record.rmDir != QLatin1String("n"))
        RemoveFolders();
    m_c.view.ShowOK(setupText::Removed());
    return true;
}

void Uninstaller::RemoveFolders()
{
    const QString folder = QFileInfo(m_record.file).absolutePath();
    const QStringList list = SplitAncestors(folder);
    if (list.isEmpty())
        return;
    QDir::setCurrent(list.first());
    QDir::setCurrent(RemoveEmptiedFolders(folder, m_record.keepDir));
}

void Uninstaller::Refuse()
{
    m_c.view.ShowOK(setupText::Refused());
}

} // namespace nuvask
