// The folder browser's moves between folders and the recovery after a failure.

#include "core/folders/FolderNavigator.h"

#include "core/base/BusyMark.h"
#include "core/folders/FileListing.h"
#include "core/folders/FileNames.h"
#include "core/folders/FolderBrowserMessages.h"
#include "core/folders/FolderBrowserView.h"
#include "core/folders/FolderNamespace.h"
#include "core/folders/FolderPaths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <utility>

namespace nuvask {

namespace texts = folder_browser_texts;

namespace {

QString Root()
{
    return QStringLiteral("/");
}

} // namespace

FolderNavigator::FolderNavigator(FolderBrowserView &view) : m_view(view) {}

void FolderNavigator::Start(const QString &startFolder, const QList<DriveEntry> &drives)
{
    m_drives = drives.isEmpty() ? CurrentDrives() : drives;
    m_view.ShowDrives(m_drives);
    const QString programDrive = DriveOf(ProgramFolder());
    m_view.SelectDriveEntry(programDrive);
    LabelDrive(programDrive);
    m_state.ClearHistory();
    m_view.EnableBack(false);
    if (!GoToFolder(startFolder))
        GoToProgramFolder();
    m_view.SetFolderText(m_state.CurrentFolder());
}

QString FolderNavigator::CheckOrTranslate(const QString &path) const
{
    const QString folder = NormalisedFolder(path, m_state.CurrentFolder());
    if (folder.isEmpty())
        return {};
    if (CanOpenFolder(folder))
        return folder;
    return TranslateDisplayPath(folder);
}

QString FolderNavigator::DriveOf(const QString &path) const
{
    return DriveRootOf(path, m_drives);
}

QStringList FolderNavigator::DriveComponents(const QString &path) const
{
    const QString drive = DriveOf(path);
    QStringList components{drive};
    components.append(path.mid(drive.size()).split(kFolderSeparator, Qt::SkipEmptyParts));
    return components;
}

void FolderNavigator::LabelDrive(const QString &root)
{
    for (const DriveEntry &drive : m_drives) {
        if (drive.root == root)
            m_view.LabelDriveEntry(root, root + DriveLabelText(drive));
    }
}

void FolderNavigator::Enter(const QString &folder)
{
    m_state.Enter(folder, DriveOf(folder));
    m_view.SetFolderText(DisplayName(folder));
}

bool FolderNavigator::GoToFolder(const QString &path)
{
    const QString folder = CheckOrTranslate(path);
    if (folder.isEmpty())
        return false;
    m_state.Enter(folder, DriveOf(folder));
    const QString drive = DriveOf(folder);
    m_view.SelectDriveEntry(drive);
    // Outside a recovery a folder that fails to show has been reported and
    // left for a folder that opens: the move is over. Inside one, the
    // recovery needs to know, to try the next folder.
    return ChooseDrive(drive) || !m_recovering;
}

bool FolderNavigator::ChooseDrive(const QString &root)
{
    if (!DriveReady(root)) {
        m_view.ShowMessageTimer(texts::PathMessage(texts::kDriveError(), root, texts::kDriveBack()));
        if (!m_recovering) {
            const QString listed = m_state.ListedFolder();
            Recover(listed.isEmpty() || DriveOf(listed) == root ? Root() : listed);
        }
        return false;
    }
    LabelDrive(root);
    QString target = m_state.LastFolderOf(root);
    if (target.isEmpty())
        target = root;
    return ShowFolder(target);
}

bool FolderNavigator::ShowInMode(const QString &path)
{
    m_view.ShowFolderFilling();
    const QString folder = CheckOrTranslate(path);
    if (folder.isEmpty())
        return false;
    Enter(folder);
    return m_view.ShowFolder(folder, DriveComponents(folder));
}

bool FolderNavigator::ShowFolder(const QString &path)
{
    if (!ShowInMode(path)) {
        m_view.ShowMessageTimer(texts::PathMessage(texts::kFolderError(), path, texts::kTryAvoid()));
        if (!m_recovering)
            Recover(NearestOpenableFolder(path));
        return false;
    }
    if (!RefillFiles())
        m_view.ShowMessage(texts::PathMessage(texts::kFileListError(), m_state.CurrentFolder(), texts::kChooseOther()));
    return true;
}

void FolderNavigator::Recover(const QString &target)
{
    // A failure while recovering is reported but never recovered from again:
    // a folder vanishing over and over cannot keep the browser busy.
    if (m_recovering)
        return;
    bool ok = false;
    {
        const BusyMark mark(m_recovering);
        ok = GoToFolder(target) || GoToFolder(Root());
    }
    if (!ok)
        m_view.ShowMessage(texts::kRecoverFailed() + Root() + u'\n' + texts::kChooseOther());
}

void FolderNavigator::GoToProgramFolder()
{
    const QString program = ProgramFolder();
    if (!GoToFolder(program))
        Recover(NearestOpenableFolder(program));
}

void FolderNavigator::GoToOrProgramFolder(const QString &path)
{
    if (!GoToFolder(path))
        GoToProgramFolder();
}

bool FolderNavigator::RefillFiles()
{
    m_view.ShowFilesFilling();
    const QString folder = CheckOrTranslate(m_state.CurrentFolder());
    if (folder.isEmpty())
        return false;
    m_state.Listed(folder);
    m_view.EnableBack(m_state.CanGoBack());
    FileListing listing = ListFiles(folder, m_mask);
    m_view.ShowFiles(std::move(listing.rows));
    return listing.ok;
}

void FolderNavigator::DriveChosen(const QString &root)
{
    ChooseDrive(root);
    m_view.SetFolderText(m_state.CurrentFolder());
}

void FolderNavigator::FilterChosen(const QString &mask)
{
    m_mask = mask;
    if (!m_state.ListedFolder().isEmpty() && !RefillFiles())
        m_view.ShowMessage(texts::PathMessage(texts::kFileListError(), m_state.ListedFolder(), texts::kChooseOther()));
}

void FolderNavigator::ViewSwitched()
{
    if (!ShowInMode(m_state.CurrentFolder()))
        m_view.ShowMessage(texts::kViewChangeError());
}

void FolderNavigator::NodeChosen(const QString &path)
{
    const QString folder = CheckOrTranslate(path);
    bool listed = false;
    if (!folder.isEmpty()) {
        Enter(folder);
        m_view.OpenChosenNode(folder);
        listed = RefillFiles();
    }
    m_view.EndNodeWait();
    if (folder.isEmpty()) {
        m_view.ShowMessageTimer(texts::PathMessage(texts::kFolderError(), path, texts::kTryAvoid()));
        Recover(NearestOpenableFolder(path));
    } else if (!listed) {
        m_view.ShowMessage(texts::PathMessage(texts::kFileListError(), folder, texts::kChooseOther()));
    }
}

void FolderNavigator::Back()
{
    if (!m_state.CanGoBack())
        return;
    GoToOrProgramFolder(m_state.TakePrevious());
}

void FolderNavigator::Up()
{
    if (m_state.CurrentFolder().isEmpty())
        return;
    GoToOrProgramFolder(ParentFolder(m_state.CurrentFolder()));
}

void FolderNavigator::NewFolder()
{
    const QString folder = m_state.CurrentFolder();
    if (folder.isEmpty())
        return;
    const std::optional<QString> name = m_view.AskFolderName(NewFolderPrompt(folder));
    if (!name)
        return;
    const QString path = WithTrailingSeparator(folder) + *name;
    // Only a plain name: "../x" or "a/b" would reach outside this folder.
    bool made = false;
    if (IsPlainFolderName(*name)) {
        ::mkdir(EncodeFileName(path).constData(), 0777); // an existing folder of that name is as good
        made = CanOpenFolder(path);
    }
    if (!made) {
        m_view.ShowMessageTimer(texts::PathMessage(QString(), path, texts::kCreateFailed()));
        return;
    }
    GoToOrProgramFolder(path);
}

void FolderNavigator::DeleteFolder()
{
    const QString path = StripTrailingSeparator(m_state.CurrentFolder());
    if (path.isEmpty())
        return;
    if (!m_view.AskYesNo(texts::PathMessage(QString(), path, texts::kDeleteAsk())))
        return;
    // rmdir removes an empty folder and nothing else: not a link, not a
    // mount point, never what is inside.
    const bool hasParent = path != Root();
    const bool removed = hasParent && ::rmdir(EncodeFileName(path).constData()) == 0;
    if (!removed) {
        m_view.ShowMessageTimer(texts::PathMessage(QString(), path, texts::kDeleteFailed()));
        return;
    }
    GoToOrProgramFolder(ParentFolder(path));
}

QString FolderNavigator::ChosenFolder(const QString &typed) const
{
    const QString text = StripTrailingSeparator(typed);
    const QString current = m_state.CurrentFolder();
    return !current.isEmpty() && text == DisplayName(current) ? current : text;
}

} // namespace nuvask
