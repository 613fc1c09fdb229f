#pragma once
// The folder browser form: drives, a folder view (tree or indented list), the
// files of the listed folder, buttons for the previous folder, one level up,
// a new folder and deleting a folder, and the chosen folder. FolderBrowser
// creates one for a single call.
//
// The form only shows and forwards: every move between folders, and the
// recovery after a folder that cannot be read or shown, is decided by its
// FolderNavigator (core/folders), for which the form is the
// FolderBrowserView. Construction and the handlers are in
// FolderBrowserWindow.cpp, the folder view, the file list and the rest of the
// view in FolderBrowserWindowViews.cpp.

#include "core/folders/FileListing.h"
#include "core/folders/FolderBrowserView.h"
#include "core/folders/FolderNavigator.h"

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

class FolderBrowserWindow : public ColouredDialog, private FolderBrowserView
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

    // --- for the component and tests --------------------------------------------
    // What the run remembers; a move to `path` (FolderNavigator::GoToFolder).
    const FolderBrowserState &State() const { return m_navigator.State(); }
    bool GoToFolder(const QString &path) { return m_navigator.GoToFolder(path); }
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

    // handlers (those of the folder views in FolderBrowserWindowViews.cpp)
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

    // FolderBrowserView (FolderBrowserWindowViews.cpp)
    void ShowDrives(const QList<DriveEntry> &drives) override;
    void SelectDriveEntry(const QString &root) override;
    void LabelDriveEntry(const QString &root, const QString &text) override;
    void ShowFolderFilling() override;
    bool ShowFolder(const QString &folder, const QStringList &components) override;
    void OpenChosenNode(const QString &folder) override;
    void EndNodeWait() override;
    void ShowFilesFilling() override;
    void ShowFiles(QList<FileRow> rows) override;
    void EnableBack(bool enabled) override;
    void SetFolderText(const QString &text) override;
    void ShowMessageTimer(const QString &text) override;
    void ShowMessage(const QString &text) override;
    bool AskYesNo(const QString &text) override;
    std::optional<QString> AskFolderName(const QString &prompt) override;

    // the folder views (FolderBrowserWindowViews.cpp)
    void ShowList(const QString &folder, const QStringList &components);
    void ShowTree(const QString &folder, const QStringList &components);
    void AddTreeChildren(QTreeWidgetItem *parent, const QString &path, bool reportFailure);
    void HandleNode(const QString &path);
    QString TreePath(const QTreeWidgetItem *item) const;
    void SetHeaderText(const QString &text);

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
    FolderNavigator m_navigator;
    QStringList m_masks;
    FileSortState m_sortState;
    QString m_chosen;
    bool m_treeMode = true;
    bool m_standardColor = true;

    // Re-entrancy marks: pending events run inside these handlers.
    bool m_treeFilling = false;
    bool m_treeSelecting = false;
    bool m_sorting = false;
    // The tree node chosen last and not yet handled, by its path.
    QString m_pendingNode;
    bool m_nodeQueued = false;
};

} // namespace nuvask
