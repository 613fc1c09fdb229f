// The folder browser's moves between folders: drives, the tree and list
// views, the file list, and the recovery after a failure.
#include "ui/folders/FolderBrowserWindow.h"

#include "core/base/BusyMark.h"
#include "core/folders/FileNames.h"
#include "core/folders/FolderNamespace.h"
#include "core/folders/FolderPaths.h"
#include "ui/folders/FolderBrowserPictures.h"
#include "ui/folders/FolderBrowserTexts.h"
#include "ui/folders/FileListModel.h"
#include "ui/folders/FolderItemDelegates.h"
#include "ui/folders/FolderTree.h"
#include "ui/dialogs/MessageBox.h"
#include "ui/dialogs/MessageBoxWindow.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStandardItemModel>
#include <QTreeView>
#include <QTreeWidget>

#include <utility>

namespace nuvask {

namespace {

const QString kRoot = QStringLiteral("/");

} // namespace

QString FolderBrowserWindow::CheckOrTranslate(const QString &path) const
{
    const QString folder = NormalisedFolder(path, m_state.CurrentFolder());
    if (folder.isEmpty())
        return {};
    if (CanOpenFolder(folder))
        return folder;
    return TranslateDisplayPath(folder);
}

QString FolderBrowserWindow::DriveOf(const QString &path) const
{
    return DriveRootOf(path, m_drives);
}

QStringList FolderBrowserWindow::DriveComponents(const QString &path) const
{
    const QString drive = DriveOf(path);
    QStringList components{drive};
    components.append(path.mid(drive.size()).split(kFolderSeparator, Qt::SkipEmptyParts));
    return components;
}

void FolderBrowserWindow::Enter(const QString &folder)
{
    // The process's working folder stays where it is: a resident program
    // sitting in a folder of a removable medium would keep it from being
    // unmounted.
    m_state.Enter(folder, DriveOf(folder));
    m_editFolder->setText(DisplayName(folder));
}

bool FolderBrowserWindow::GoToFolder(const QString &path)
{
    const QString folder = CheckOrTranslate(path);
    if (folder.isEmpty())
        return false;
    m_state.Enter(folder, DriveOf(folder));
    const QString drive = DriveOf(folder);
    SelectDriveEntry(drive);
    // Outside a recovery a folder that fails to show has been reported and
    // left for a folder that opens: the move is over. Inside one, the
    // recovery needs to know, to try the next folder.
    return ChooseDrive(drive) || !m_recovering;
}

bool FolderBrowserWindow::ChooseDrive(const QString &root)
{
    if (!DriveReady(root)) {
        m_messageBox->ShowOKTimer(PathMessage(folder_browser_texts::kDriveError(), root, folder_browser_texts::kDriveBack()), mkresult::kOk);
        if (!m_recovering) {
            const QString listed = m_state.ListedFolder();
            Recover(listed.isEmpty() || DriveOf(listed) == root ? kRoot : listed);
        }
        return false;
    }
    LabelDrive(root);
    QString target = m_state.LastFolderOf(root);
    if (target.isEmpty())
        target = root;
    return ShowFolderHandled(target);
}

bool FolderBrowserWindow::ShowFolderHandled(const QString &path)
{
    if (!ShowInMode(path)) {
        m_messageBox->ShowOKTimer(PathMessage(folder_browser_texts::kFolderError(), path, folder_browser_texts::kTryAvoid()), mkresult::kOk);
        if (!m_recovering)
            Recover(NearestOpenableFolder(path));
        return false;
    }
    if (!RefillFiles())
        m_messageBox->ShowOK(PathMessage(folder_browser_texts::kFileListError(), m_state.CurrentFolder(), folder_browser_texts::kChooseOther()));
    return true;
}

void FolderBrowserWindow::Recover(const QString &target)
{
    // A failure while recovering is reported but never recovered from again:
    // a folder vanishing over and over cannot keep the browser busy.
    if (m_recovering)
        return;
    bool ok = false;
    {
        const BusyMark mark(m_recovering);
        ok = GoToFolder(target) || GoToFolder(kRoot);
    }
    if (!ok) {
        m_messageBox->ShowOK(folder_browser_texts::kRecoverFailed() + kRoot + u'\n' + folder_browser_texts::kChooseOther());
    }
}

void FolderBrowserWindow::GoToProgramFolder()
{
    const QString program = ProgramFolder();
    if (!GoToFolder(program))
        Recover(NearestOpenableFolder(program));
}

bool FolderBrowserWindow::ShowInMode(const QString &path)
{
    return m_treeMode ? ShowTree(path) : ShowList(path);
}

void FolderBrowserWindow::SetHeaderText(const QString &text)
{
    m_headerModel->setHeaderData(0, Qt::Horizontal, text);
}

bool FolderBrowserWindow::ShowList(const QString &path)
{
    SetHeaderText(folder_browser_texts::kFilling() + folder_browser_texts::kListSuffix());
    const QString folder = CheckOrTranslate(path);
    if (folder.isEmpty())
        return false;
    Enter(folder);

    const QSignalBlocker block(m_listBox1);
    m_listBox1->clear();
    const QStringList components = DriveComponents(folder);
    const QPixmap open = OpenFolderPicture();
    for (qsizetype i = 0; i < components.size(); ++i) {
        auto *item = new QListWidgetItem(DisplayName(components[i]), m_listBox1);
        item->setData(folder_browser_role::kPicture, open);
        item->setData(folder_browser_role::kIndent, static_cast<int>(i));
        item->setData(folder_browser_role::kPath, JoinFolderComponents(components, i + 1));
    }
    const QPixmap closed = ClosedFolderPicture();
    const int subIndent = static_cast<int>(components.size());
    for (const SubFolder &sub : SubFolders(folder)) {
        auto *item = new QListWidgetItem(sub.display, m_listBox1);
        item->setData(folder_browser_role::kPicture, closed);
        item->setData(folder_browser_role::kIndent, subIndent);
        item->setData(folder_browser_role::kPath, sub.path);
    }
    m_listBox1->setCurrentRow(static_cast<int>(components.size()) - 1);
    SetHeaderText(QString::number(m_listBox1->count()) + folder_browser_texts::kCount() + folder_browser_texts::kListSuffix());
    return true;
}

void FolderBrowserWindow::ListBox1Click(int row)
{
    QListWidgetItem *item = m_listBox1->item(row);
    if (!item)
        return;
    ShowFolderHandled(item->data(folder_browser_role::kPath).toString());
}

namespace {

// A tree node shows the folder's display name and keeps its path, every byte
// of it, for the way back to the disk.
QTreeWidgetItem *AddNode(QTreeWidgetItem *parent, const QString &display, const QString &path)
{
    auto *node = new QTreeWidgetItem(parent, {display});
    node->setData(0, folder_browser_role::kPath, path);
    return node;
}

} // namespace

void FolderBrowserWindow::AddTreeChildren(QTreeWidgetItem *parent, const QString &path, bool reportFailure)
{
    bool ok = true;
    const QList<SubFolder> subs = SubFolders(path, &ok);
    if (!ok && reportFailure) {
        m_messageBox->ShowOKTimer(PathMessage(folder_browser_texts::kFolderError(), path, folder_browser_texts::kChooseOtherFolder()),
                                 mkresult::kOk);
    }
    for (const SubFolder &sub : subs)
        AddNode(parent, sub.display, sub.path);
}

QString FolderBrowserWindow::TreePath(const QTreeWidgetItem *item) const
{
    return item ? item->data(0, folder_browser_role::kPath).toString() : QString();
}

bool FolderBrowserWindow::ShowTree(const QString &path)
{
    SetHeaderText(folder_browser_texts::kFilling() + folder_browser_texts::kTreeSuffix());
    const BusyMark filling(m_treeFilling);
    const QSignalBlocker block(m_treeView1);
    const QString folder = CheckOrTranslate(path);
    if (folder.isEmpty())
        return false;
    Enter(folder);

    m_treeView1->clear();
    const QStringList components = DriveComponents(folder);
    auto *root = new QTreeWidgetItem(m_treeView1, {DisplayName(components.first())});
    root->setData(0, folder_browser_role::kPath, components.first());
    QTreeWidgetItem *node = root;
    int nodes = 1;
    for (qsizetype level = 1; level < components.size(); ++level) {
        const QString sofar = JoinFolderComponents(components, level);
        const QString wanted = JoinFolderComponents(components, level + 1);
        AddTreeChildren(node, sofar, true);
        QTreeWidgetItem *next = nullptr;
        for (int i = 0; i < node->childCount() && !next; ++i) {
            if (TreePath(node->child(i)) == wanted)
                next = node->child(i);
        }
        for (int i = 0; i < node->childCount() && !next; ++i) {
            if (TreePath(node->child(i)).compare(wanted, Qt::CaseInsensitive) == 0)
                next = node->child(i);
        }
        // A folder whose parent lets it be entered but not listed is on the
        // path all the same.
        if (!next && CanOpenFolder(wanted))
            next = AddNode(node, DisplayName(components[level]), wanted);
        nodes += node->childCount();
        if (next)
            node = next;
    }
    // The folder's own sub-folders, so that the way down is open too.
    if (TreePath(node) == folder) {
        AddTreeChildren(node, folder, true);
        nodes += node->childCount();
    }
    m_treeView1->expandAll();
    m_treeView1->FitColumn();
    m_treeView1->setCurrentItem(node);
    // (scrollToItem would bypass the tree's own sideways scrolling.)
    m_treeView1->scrollTo(m_treeView1->currentIndex());
    m_treeView1->setFocus(Qt::OtherFocusReason);
    SetHeaderText(QString::number(nodes) + folder_browser_texts::kCount() + folder_browser_texts::kTreeSuffix());
    return true;
}

void FolderBrowserWindow::TreeView1Changed(QTreeWidgetItem *current)
{
    // The node is handled once the input that chose it is over. A failure
    // fills the tree anew; were that done inside a mouse press, the press
    // would go on to select whatever row now lies under the pointer, and the
    // tree would show another folder than the one the field names.
    if (!current || m_treeFilling)
        return;
    m_pendingNode = TreePath(current);
    if (!m_nodeQueued) {
        m_nodeQueued = true;
        QMetaObject::invokeMethod(this, &FolderBrowserWindow::TreeView1Change, Qt::QueuedConnection);
    }
}

void FolderBrowserWindow::TreeView1Change()
{
    m_nodeQueued = false;
    // A node chosen while another is handled waits for it (see the end).
    if (m_treeSelecting || m_pendingNode.isEmpty())
        return;
    {
        const BusyMark selecting(m_treeSelecting);
        HandleNode(std::exchange(m_pendingNode, QString()));
    }
    if (!m_pendingNode.isEmpty() && !m_nodeQueued) {
        m_nodeQueued = true;
        QMetaObject::invokeMethod(this, &FolderBrowserWindow::TreeView1Change, Qt::QueuedConnection);
    }
}

void FolderBrowserWindow::HandleNode(const QString &path)
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QCoreApplication::processEvents(); // the hourglass shows; queued work runs
    // Work that ran meanwhile may have filled the tree anew and deleted the
    // node: go on only with the node that is selected now, if it is the same.
    QTreeWidgetItem *current = m_treeView1->currentItem();
    if (!current || TreePath(current) != path) {
        QGuiApplication::restoreOverrideCursor();
        return;
    }
    const QString folder = CheckOrTranslate(path);
    bool listed = false;
    if (!folder.isEmpty()) {
        Enter(folder);
        if (current->childCount() == 0) {
            const QSignalBlocker block(m_treeView1);
            AddTreeChildren(current, folder, false);
        }
        if (current->childCount() > 0) {
            current->setExpanded(true);
            m_treeView1->FitColumn();
        }
        listed = RefillFiles();
    }
    QGuiApplication::restoreOverrideCursor();
    if (folder.isEmpty()) {
        m_messageBox->ShowOKTimer(PathMessage(folder_browser_texts::kFolderError(), path, folder_browser_texts::kTryAvoid()), mkresult::kOk);
        Recover(NearestOpenableFolder(path));
    } else if (!listed) {
        m_messageBox->ShowOK(PathMessage(folder_browser_texts::kFileListError(), folder, folder_browser_texts::kChooseOther()));
    }
}

QString FolderBrowserWindow::PathMessage(const QString &head, const QString &path, const QString &tail) const
{
    return head + DisplayName(path) + u'\n' + tail;
}

void FolderBrowserWindow::SetFilesUpdating(bool on)
{
    m_listView1->setUpdatesEnabled(!on);
}

bool FolderBrowserWindow::RefillFiles()
{
    m_files->SetNameCaption(folder_browser_texts::kFilling() + folder_browser_texts::kFilesSuffix());
    const QString folder = CheckOrTranslate(m_state.CurrentFolder());
    if (folder.isEmpty())
        return false;
    m_state.Listed(folder);
    m_buttonHF->setEnabled(m_state.CanGoBack());
    SetFilesUpdating(true);
    FileListing listing = ListFiles(folder, m_currentMask);
    m_files->SetRows(std::move(listing.rows));
    m_sortState.Reset();
    SetFilesUpdating(false);
    m_files->SetNameCaption(QString::number(m_files->rowCount()) + folder_browser_texts::kCount() +
                            folder_browser_texts::kFilesSuffix());
    return listing.ok;
}

} // namespace nuvask
