// The folder browser form as the navigator's view: the drive list, the tree
// and list views of a folder, the file list, the folder field and the boxes.
#include "ui/folders/FolderBrowserWindow.h"

#include "core/base/BusyMark.h"
#include "core/folders/FileNames.h"
#include "core/folders/FolderBrowserMessages.h"
#include "core/folders/FolderNamespace.h"
#include "core/folders/FolderPaths.h"
#include "ui/folders/FolderBrowserPictures.h"
#include "ui/folders/FolderBrowserTexts.h"
#include "ui/folders/FileListModel.h"
#include "ui/folders/FolderItemDelegates.h"
#include "ui/folders/FolderTree.h"
#include "ui/dialogs/InputBox.h"
#include "ui/dialogs/MessageBox.h"
#include "ui/dialogs/MessageBoxWindow.h"
#include "ui/dialogs/ModalResult.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStandardItemModel>
#include <QTreeView>
#include <QTreeWidget>

#include <utility>

namespace nuvask {

namespace texts = folder_browser_texts;

// --- the drive list -------------------------------------------------------------

void FolderBrowserWindow::ShowDrives(const QList<DriveEntry> &drives)
{
    const QSignalBlocker block(m_comboBox2);
    m_comboBox2->clear();
    for (const DriveEntry &drive : drives) {
        const QPixmap picture = DrivePicture(drive.kind);
        m_comboBox2->addItem(QIcon(picture), drive.root);
        const int row = m_comboBox2->count() - 1;
        m_comboBox2->setItemData(row, picture, folder_browser_role::kPicture);
        m_comboBox2->setItemData(row, drive.root, folder_browser_role::kPath);
    }
}

void FolderBrowserWindow::SelectDriveEntry(const QString &root)
{
    const QSignalBlocker block(m_comboBox2);
    const int row = m_comboBox2->findData(root, folder_browser_role::kPath);
    if (row >= 0)
        m_comboBox2->setCurrentIndex(row);
}

void FolderBrowserWindow::LabelDriveEntry(const QString &root, const QString &text)
{
    const int row = m_comboBox2->findData(root, folder_browser_role::kPath);
    if (row >= 0)
        m_comboBox2->setItemText(row, text);
}

// --- the folder view ----------------------------------------------------------------

void FolderBrowserWindow::ShowFolderFilling()
{
    SetHeaderText(texts::kFilling() + (m_treeMode ? texts::kTreeSuffix() : texts::kListSuffix()));
}

bool FolderBrowserWindow::ShowFolder(const QString &folder, const QStringList &components)
{
    // Either view shows any folder that opens.
    if (m_treeMode)
        ShowTree(folder, components);
    else
        ShowList(folder, components);
    return true;
}

void FolderBrowserWindow::SetHeaderText(const QString &text)
{
    m_headerModel->setHeaderData(0, Qt::Horizontal, text);
}

void FolderBrowserWindow::ShowList(const QString &folder, const QStringList &components)
{
    const QSignalBlocker block(m_listBox1);
    m_listBox1->clear();
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
    SetHeaderText(QString::number(m_listBox1->count()) + texts::kCount() + texts::kListSuffix());
}

void FolderBrowserWindow::ListBox1Click(int row)
{
    QListWidgetItem *item = m_listBox1->item(row);
    if (!item)
        return;
    m_navigator.ShowFolder(item->data(folder_browser_role::kPath).toString());
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
    if (!ok && reportFailure)
        ShowMessageTimer(texts::PathMessage(texts::kFolderError(), path, texts::kChooseOtherFolder()));
    for (const SubFolder &sub : subs)
        AddNode(parent, sub.display, sub.path);
}

QString FolderBrowserWindow::TreePath(const QTreeWidgetItem *item) const
{
    return item ? item->data(0, folder_browser_role::kPath).toString() : QString();
}

void FolderBrowserWindow::ShowTree(const QString &folder, const QStringList &components)
{
    const BusyMark filling(m_treeFilling);
    const QSignalBlocker block(m_treeView1);
    m_treeView1->clear();
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
    SetHeaderText(QString::number(nodes) + texts::kCount() + texts::kTreeSuffix());
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
    const QTreeWidgetItem *current = m_treeView1->currentItem();
    if (!current || TreePath(current) != path) {
        QGuiApplication::restoreOverrideCursor();
        return;
    }
    m_navigator.NodeChosen(path); // ends the wait (EndNodeWait)
}

void FolderBrowserWindow::OpenChosenNode(const QString &folder)
{
    QTreeWidgetItem *current = m_treeView1->currentItem();
    if (!current)
        return;
    if (current->childCount() == 0) {
        const QSignalBlocker block(m_treeView1);
        AddTreeChildren(current, folder, false);
    }
    if (current->childCount() > 0) {
        current->setExpanded(true);
        m_treeView1->FitColumn();
    }
}

void FolderBrowserWindow::EndNodeWait()
{
    QGuiApplication::restoreOverrideCursor();
}

// --- the file list, the field and the boxes -------------------------------------------

void FolderBrowserWindow::ShowFilesFilling()
{
    m_files->SetNameCaption(texts::kFilling() + texts::kFilesSuffix());
}

void FolderBrowserWindow::ShowFiles(QList<FileRow> rows)
{
    m_listView1->setUpdatesEnabled(false);
    m_files->SetRows(std::move(rows));
    m_sortState.Reset();
    m_listView1->setUpdatesEnabled(true);
    m_files->SetNameCaption(QString::number(m_files->rowCount()) + texts::kCount() + texts::kFilesSuffix());
}

void FolderBrowserWindow::EnableBack(bool enabled)
{
    m_buttonHF->setEnabled(enabled);
}

void FolderBrowserWindow::SetFolderText(const QString &text)
{
    m_editFolder->setText(text);
}

void FolderBrowserWindow::ShowMessageTimer(const QString &text)
{
    m_messageBox->ShowOKTimer(text, mkresult::kOk);
}

void FolderBrowserWindow::ShowMessage(const QString &text)
{
    m_messageBox->ShowOK(text);
}

bool FolderBrowserWindow::AskYesNo(const QString &text)
{
    return m_messageBox->ShowYesNoTimer(text, mkresult::kNo) == mkresult::kYes;
}

std::optional<QString> FolderBrowserWindow::AskFolderName(const QString &prompt)
{
    m_inputBox->SetTitle(texts::kNewFolderTitle());
    if (m_inputBox->Execute(prompt) != modal::kOk)
        return std::nullopt;
    return m_inputBox->SNText();
}

} // namespace nuvask
