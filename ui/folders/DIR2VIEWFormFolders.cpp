// The folder browser's moves between folders: drives, the tree and list
// views, the file list, and the recovery after a failure.
#include "ui/folders/DIR2VIEWForm.h"

#include "core/base/BusyMark.h"
#include "core/folders/FolderNamespace.h"
#include "core/folders/FolderPaths.h"
#include "ui/folders/Dir2Pictures.h"
#include "ui/folders/Dir2ViewTexts.h"
#include "ui/folders/FileListModel.h"
#include "ui/folders/FolderItemDelegates.h"
#include "ui/dialogs/MKBoxDlg.h"
#include "ui/dialogs/MkBox.h"

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

namespace nuvask {

namespace {

const QString kRoot = QStringLiteral("/");

} // namespace

QString TDIR2VIEWForm::CheckOrTranslate(const QString &path) const
{
    const QString folder = NormalisedFolder(path, m_state.CurrentFolder());
    if (folder.isEmpty())
        return {};
    if (CanOpenFolder(folder))
        return folder;
    return TranslateDisplayPath(folder);
}

QString TDIR2VIEWForm::DriveOf(const QString &path) const
{
    return DriveRootOf(path, m_drives);
}

QStringList TDIR2VIEWForm::DriveComponents(const QString &path) const
{
    const QString drive = DriveOf(path);
    QStringList components{drive};
    components.append(path.mid(drive.size()).split(kFolderSeparator, Qt::SkipEmptyParts));
    return components;
}

bool TDIR2VIEWForm::ShowHidden() const
{
    return MasksShowHidden(m_currentMask);
}

void TDIR2VIEWForm::Enter(const QString &folder)
{
    // The process's working folder stays where it is: a resident program
    // sitting in a folder of a removable medium would keep it from being
    // unmounted.
    m_state.Enter(folder, DriveOf(folder));
    m_editFolder->setText(folder);
}

bool TDIR2VIEWForm::GoToFolder(const QString &path)
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

bool TDIR2VIEWForm::ChooseDrive(const QString &root)
{
    if (!DriveReady(root)) {
        m_mkBoxDlg1->ShowOKTimer(Msg(dir2_texts::kDriveError) + root + u'\n' + Msg(dir2_texts::kDriveBack),
                                 mkresult::kOk);
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

bool TDIR2VIEWForm::ShowFolderHandled(const QString &path)
{
    if (!ShowInMode(path)) {
        m_mkBoxDlg1->ShowOKTimer(Msg(dir2_texts::kFolderError) + path + u'\n' + Msg(dir2_texts::kTryAvoid),
                                 mkresult::kOk);
        if (!m_recovering)
            Recover(NearestOpenableFolder(path));
        return false;
    }
    if (!RefillFiles()) {
        m_mkBoxDlg1->ShowOK(Msg(dir2_texts::kFileListError) + m_state.CurrentFolder() + u'\n' +
                            Msg(dir2_texts::kChooseOther));
    }
    return true;
}

void TDIR2VIEWForm::Recover(const QString &target)
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
        m_mkBoxDlg1->ShowOK(Msg(dir2_texts::kRecoverFailed) + kRoot + u'\n' + Msg(dir2_texts::kChooseOther));
    }
}

void TDIR2VIEWForm::GoToProgramFolder()
{
    const QString program = ProgramFolder();
    if (!GoToFolder(program))
        Recover(NearestOpenableFolder(program));
}

bool TDIR2VIEWForm::ShowInMode(const QString &path)
{
    return m_treeMode ? ShowTree(path) : ShowList(path);
}

void TDIR2VIEWForm::SetHeaderText(const QString &text)
{
    m_headerModel->setHeaderData(0, Qt::Horizontal, text);
}

bool TDIR2VIEWForm::ShowList(const QString &path)
{
    SetHeaderText(Msg(dir2_texts::kFilling) + Msg(dir2_texts::kListSuffix));
    const QString folder = CheckOrTranslate(path);
    if (folder.isEmpty())
        return false;
    Enter(folder);

    const QSignalBlocker block(m_listBox1);
    m_listBox1->clear();
    const QStringList components = DriveComponents(folder);
    const QPixmap open = OpenFolderPicture();
    for (qsizetype i = 0; i < components.size(); ++i) {
        auto *item = new QListWidgetItem(components[i], m_listBox1);
        item->setData(dir2role::kPicture, open);
        item->setData(dir2role::kIndent, static_cast<int>(i));
        item->setData(dir2role::kPath, JoinFolderComponents(components, i + 1));
    }
    const QPixmap closed = ClosedFolderPicture();
    const int subIndent = static_cast<int>(components.size());
    for (const SubFolder &sub : SubFolders(folder, ShowHidden())) {
        auto *item = new QListWidgetItem(sub.display, m_listBox1);
        item->setData(dir2role::kPicture, closed);
        item->setData(dir2role::kIndent, subIndent);
        item->setData(dir2role::kPath, sub.path);
    }
    m_listBox1->setCurrentRow(static_cast<int>(components.size()) - 1);
    SetHeaderText(QString::number(m_listBox1->count()) + Msg(dir2_texts::kCount) + Msg(dir2_texts::kListSuffix));
    return true;
}

void TDIR2VIEWForm::ListBox1Click(int row)
{
    QListWidgetItem *item = m_listBox1->item(row);
    if (!item)
        return;
    ShowFolderHandled(item->data(dir2role::kPath).toString());
}

void TDIR2VIEWForm::AddTreeChildren(QTreeWidgetItem *parent, const QString &path, bool reportFailure)
{
    bool ok = true;
    const QList<SubFolder> subs = SubFolders(path, ShowHidden(), &ok);
    if (!ok && reportFailure) {
        m_mkBoxDlg1->ShowOKTimer(Msg(dir2_texts::kFolderError) + path + u'\n' + Msg(dir2_texts::kChooseOtherFolder),
                                 mkresult::kOk);
    }
    for (const SubFolder &sub : subs)
        new QTreeWidgetItem(parent, {sub.display});
}

QString TDIR2VIEWForm::TreePath(const QTreeWidgetItem *item) const
{
    QStringList texts;
    for (const QTreeWidgetItem *node = item; node; node = node->parent())
        texts.prepend(node->text(0));
    return JoinFolderComponents(texts, texts.size());
}

bool TDIR2VIEWForm::ShowTree(const QString &path)
{
    SetHeaderText(Msg(dir2_texts::kFilling) + Msg(dir2_texts::kTreeSuffix));
    const BusyMark filling(m_treeFilling);
    const QSignalBlocker block(m_treeView1);
    const QString folder = CheckOrTranslate(path);
    if (folder.isEmpty())
        return false;
    Enter(folder);

    m_treeView1->clear();
    const QStringList components = DriveComponents(folder);
    auto *node = new QTreeWidgetItem(m_treeView1, {components.first()});
    int nodes = 1;
    for (qsizetype level = 1; level < components.size(); ++level) {
        const QString sofar = JoinFolderComponents(components, level);
        AddTreeChildren(node, sofar, true);
        const QString wanted = components[level];
        QTreeWidgetItem *next = nullptr;
        for (int i = 0; i < node->childCount() && !next; ++i) {
            if (node->child(i)->text(0) == wanted)
                next = node->child(i);
        }
        for (int i = 0; i < node->childCount() && !next; ++i) {
            if (node->child(i)->text(0).toUpper() == wanted.toUpper())
                next = node->child(i);
        }
        // A dot-folder the user went into is on the path though the filter
        // hides its kind.
        if (!next && CanOpenFolder(WithTrailingSeparator(sofar) + wanted))
            next = new QTreeWidgetItem(node, {wanted});
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
    m_treeView1->setCurrentItem(node);
    m_treeView1->scrollToItem(node);
    m_treeView1->setFocus(Qt::OtherFocusReason);
    SetHeaderText(QString::number(nodes) + Msg(dir2_texts::kCount) + Msg(dir2_texts::kTreeSuffix));
    return true;
}

void TDIR2VIEWForm::TreeView1Change(QTreeWidgetItem *current)
{
    if (!current || m_treeFilling || m_treeSelecting)
        return;
    const BusyMark selecting(m_treeSelecting);
    const QString path = TreePath(current);
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QCoreApplication::processEvents(); // the hourglass shows; queued work runs
    // Work that ran meanwhile may have filled the tree anew and deleted the
    // node: go on only with the node that is selected now, if it is the same.
    current = m_treeView1->currentItem();
    if (!current || TreePath(current) != path) {
        QGuiApplication::restoreOverrideCursor();
        return;
    }
    const QString folder = CheckOrTranslate(path);
    if (folder.isEmpty()) {
        QGuiApplication::restoreOverrideCursor();
        m_mkBoxDlg1->ShowOKTimer(Msg(dir2_texts::kFolderError) + path + u'\n' + Msg(dir2_texts::kTryAvoid),
                                 mkresult::kOk);
        Recover(NearestOpenableFolder(path));
        return;
    }
    Enter(folder);
    if (current->childCount() == 0) {
        const QSignalBlocker block(m_treeView1);
        AddTreeChildren(current, folder, false);
    }
    if (current->childCount() > 0)
        current->setExpanded(true);
    const bool listed = RefillFiles();
    QGuiApplication::restoreOverrideCursor();
    if (!listed) {
        m_mkBoxDlg1->ShowOK(Msg(dir2_texts::kFileListError) + folder + u'\n' + Msg(dir2_texts::kChooseOther));
    }
}

void TDIR2VIEWForm::SetFilesUpdating(bool on)
{
    m_listView1->setUpdatesEnabled(!on);
}

bool TDIR2VIEWForm::RefillFiles()
{
    m_files->SetNameCaption(Msg(dir2_texts::kFilling) + Msg(dir2_texts::kFilesSuffix));
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
    m_files->SetNameCaption(QString::number(m_files->rowCount()) + Msg(dir2_texts::kCount) +
                            Msg(dir2_texts::kFilesSuffix));
    return listing.ok;
}

} // namespace nuvask
