#pragma once
// The folder browser form: drives, a folder view (tree or indented list), the
// files of the listed folder, buttons for the previous folder, one level up,
// a new folder and deleting a folder, and the chosen folder. FolderBrowser
// creates one for a single call.
//
// Every move between folders goes through GoToFolder / ChooseDrive /
// ShowFolderHandled; a failure shows its message and ends in a folder that
// can be opened (the deepest one above the failed path, else "/"), so the
// browser never closes on its own and never loops.

#include "core/folders/FileListing.h"
#include "core/folders/FolderBrowserState.h"
#include "core/folders/FolderFilter.h"
#include "core/folders/MountedDrives.h"

#include "ui/dialogs/ColouredDialog.h"

class QComboBox;
class QHeaderView;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSplitter;
class QStandardItemModel;
class QTreeView;
class QTreeWidget;
class QTreeWidgetItem;

namespace nuvask {

class FileListModel;
class FolderTree;
class MessageBox;
class InputBox;

// What FolderBrowser hands the form for one run.
struct FolderBrowserRun
{
    QString filter;
    QString startFolder;
    QString fileName;
    bool standardColor = true;
    QString title; // message box title (already the application title when empty)
    bool hintsOn = true;
};

class FolderBrowserWindow : public ColouredDialog
{
    Q_OBJECT
public:
    // Client area as designed, pixels.
    static constexpr int kClientWidth = 614;
    static constexpr int kClientHeight = 262;

    explicit FolderBrowserWindow(QWidget *parent = nullptr);
    ~FolderBrowserWindow() override;

    // Filter, drives, start folder, texts and colours of one run. `drives`
    // replaces the machine's mounted file systems (tests); empty means those.
    void Prepare(const FolderBrowserRun &setup, const QList<DriveEntry> &drives = {});
    // Set by "設定" only; empty otherwise.
    QString ChosenFolder() const { return m_chosen; }

    // --- moving between folders (also used by the buttons) ------------------
    // False when `path` names no folder that can be opened. A folder that
    // cannot be shown once found is reported and recovered from inside.
    bool GoToFolder(const QString &path);
    bool ChooseDrive(const QString &root);
    bool ShowFolderHandled(const QString &path);
    void Recover(const QString &target);
    // Goes to the program's folder; if that fails, recovers from it.
    void GoToProgramFolder();
    bool RefillFiles();

    // --- state for the component and for tests --------------------------------
    const FolderBrowserState &State() const { return m_state; }
    bool TreeMode() const { return m_treeMode; }
    QString CurrentMask() const { return m_currentMask; }
    const QList<DriveEntry> &Drives() const { return m_drives; }
    FileListModel *Files() const { return m_files; }
    MessageBox *messageBox() const { return m_messageBox; }
    InputBox *inputBox() const { return m_inputBox; }

protected:
    void ApplyColours() override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void reject() override;

private:
    // construction (FolderBrowserWindow.cpp)
    void BuildDriveRow();
    void BuildFolderView();
    void BuildFileList();
    void BuildBottom();
    void ApplyHints(bool on);
    void FillFilter(const QString &filter);
    void FillDrives();
    void SelectDriveEntry(const QString &root);
    void LabelDrive(const QString &root);

    // handlers
    void ComboBox2Change(int index);
    void ComboBox_KAKUChange(int index);
    void HeaderControl1SectionClick();
    void TreeView1Changed(QTreeWidgetItem *current);
    void TreeView1Change();
    void ListBox1Click(int row);
    void ListView1ColumnClick(int column);
    void Button_HFClick();
    void Button5Click();
    void Button3Click();
    void Button4Click();
    void Button2Click();

    // folder views (FolderBrowserWindowFolders.cpp)
    QString CheckOrTranslate(const QString &path) const;
    void Enter(const QString &folder);
    QString DriveOf(const QString &path) const;
    QStringList DriveComponents(const QString &path) const;
    bool ShowInMode(const QString &path);
    bool ShowList(const QString &path);
    bool ShowTree(const QString &path);
    void AddTreeChildren(QTreeWidgetItem *parent, const QString &path, bool reportFailure);
    void HandleNode(const QString &path);
    QString TreePath(const QTreeWidgetItem *item) const;
    void SetHeaderText(const QString &text);
    void SetFilesUpdating(bool on);

    // head, the path as a person reads it, a line break and tail.
    QString PathMessage(const QString &head, const QString &path, const QString &tail) const;

    // widgets, named as the controls they are
    QWidget *m_panelDrv;
    QComboBox *m_comboBox2;
    QPushButton *m_buttonHF;
    QPushButton *m_button5;
    QPushButton *m_button3;
    QPushButton *m_button4;
    QComboBox *m_comboBoxKaku;
    QSplitter *m_splitter1;
    QWidget *m_panelDir;
    QHeaderView *m_headerControl1;
    QStandardItemModel *m_headerModel;
    FolderTree *m_treeView1;
    QListWidget *m_listBox1;
    QTreeView *m_listView1;
    FileListModel *m_files;
    QWidget *m_panelEditFolder;
    QLabel *m_label4;
    QLineEdit *m_editFolder;
    QWidget *m_panelEditFile;
    QLabel *m_label5;
    QLineEdit *m_editFile;
    QPushButton *m_button2;
    QPushButton *m_button1;
    MessageBox *m_messageBox;
    InputBox *m_inputBox;

    // one run
    FolderBrowserState m_state;
    QList<DriveEntry> m_drives;
    QStringList m_masks;
    QString m_currentMask = QStringLiteral("*.*");
    FileSortState m_sortState;
    QString m_chosen;
    bool m_treeMode = true;
    bool m_standardColor = true;

    // Re-entrancy marks: pending events run inside these handlers.
    bool m_treeFilling = false;
    bool m_treeSelecting = false;
    bool m_sorting = false;
    bool m_recovering = false;
    // The tree node chosen last and not yet handled, by its path.
    QString m_pendingNode;
    bool m_nodeQueued = false;
};

} // namespace nuvask
