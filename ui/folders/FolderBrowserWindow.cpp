// The folder browser form: its construction and its controls' handlers,
// which hand every move to the navigator.

#include "ui/folders/FolderBrowserWindow.h"

#include "core/folders/FolderFilter.h"
#include "ui/folders/FolderBrowserTexts.h"
#include "ui/folders/FileListModel.h"
#include "ui/folders/FolderItemDelegates.h"
#include "ui/folders/FolderTree.h"
#include "ui/dialogs/MessageBox.h"
#include "ui/dialogs/ModalResult.h"
#include "ui/dialogs/InputBox.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStandardItemModel>
#include <QTreeView>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace nuvask {

namespace {

constexpr int kFontHeight = 13;  // pixels
constexpr int kDriveRowH = 33;   // Panel_DRV height, pixels
constexpr int kSmallButton = 25; // HF, BF, NF, DF: 25×25 pixels
constexpr int kRowGap = 7;       // between the drive row's controls, pixels

QPushButton *MakeButton(QWidget *parent, const char *name, const QString &caption, QSize size)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setFixedSize(size);
    // Enter presses the focused button, whichever it is; with the focus
    // elsewhere it presses "設定".
    button->setAutoDefault(true);
    return button;
}

// The hourglass for the length of a handler.
class WaitCursor
{
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

} // namespace

FolderBrowserWindow::FolderBrowserWindow(QWidget *parent)
    : ColouredDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint |
                          Qt::WindowStaysOnTopHint),
      m_navigator(*this)
{
    setObjectName(QStringLiteral("FolderBrowser"));
    setModal(true);
    setSizeGripEnabled(true);
    setWindowTitle(folder_browser_texts::kDesignCaption());
    QFont formFont(QStringLiteral("ＭＳ Ｐゴシック"));
    formFont.setPixelSize(kFontHeight);
    setFont(formFont);
    resize(kClientWidth, kClientHeight);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    BuildDriveRow();
    BuildFolderView();
    BuildFileList();
    m_splitter1 = new QSplitter(Qt::Horizontal, this);
    m_splitter1->setObjectName(QStringLiteral("Splitter1"));
    m_splitter1->setHandleWidth(3);
    m_splitter1->setChildrenCollapsible(false);
    m_splitter1->addWidget(m_panelDir);
    m_splitter1->addWidget(m_listView1);
    m_splitter1->setStretchFactor(1, 1);
    m_splitter1->setSizes({168, kClientWidth - 168 - 3});
    layout->addWidget(m_panelDrv);
    layout->addWidget(m_splitter1, 1);
    BuildBottom();

    m_messageBox = new MessageBox(this);
    m_inputBox = new InputBox(this);

    connect(m_comboBox2, &QComboBox::activated, this, &FolderBrowserWindow::ComboBox2Change);
    connect(m_comboBoxKaku, &QComboBox::activated, this, &FolderBrowserWindow::ComboBox_KAKUChange);
    connect(m_headerControl1, &QHeaderView::sectionClicked, this, &FolderBrowserWindow::HeaderControl1SectionClick);
    connect(m_treeView1, &QTreeWidget::currentItemChanged, this, &FolderBrowserWindow::TreeView1Changed);
    connect(m_listBox1, &QListWidget::itemClicked, this,
            [this](QListWidgetItem *item) { ListBox1Click(m_listBox1->row(item)); });
    connect(m_listView1->header(), &QHeaderView::sectionClicked, this, &FolderBrowserWindow::ListView1ColumnClick);
    connect(m_buttonHF, &QPushButton::clicked, this, &FolderBrowserWindow::Button_HFClick);
    connect(m_button5, &QPushButton::clicked, this, &FolderBrowserWindow::Button5Click);
    connect(m_button3, &QPushButton::clicked, this, &FolderBrowserWindow::Button3Click);
    connect(m_button4, &QPushButton::clicked, this, &FolderBrowserWindow::Button4Click);
    connect(m_button2, &QPushButton::clicked, this, &FolderBrowserWindow::Button2Click);
    connect(m_button1, &QPushButton::clicked, this, [this] { done(modal::kCancel); });
    m_panelDir->installEventFilter(this);
}

FolderBrowserWindow::~FolderBrowserWindow() = default;

void FolderBrowserWindow::BuildDriveRow()
{
    m_panelDrv = new QWidget(this);
    m_panelDrv->setObjectName(QStringLiteral("Panel_DRV"));
    m_panelDrv->setFixedHeight(kDriveRowH);
    auto *row = new QHBoxLayout(m_panelDrv);
    row->setContentsMargins(0, 8, 0, 0);
    row->setSpacing(kRowGap);

    m_comboBox2 = new QComboBox(m_panelDrv);
    m_comboBox2->setObjectName(QStringLiteral("ComboBox2"));
    m_comboBox2->setFixedWidth(169);
    m_comboBox2->setIconSize(QSize(16, 9));
    m_comboBox2->setItemDelegate(new PictureItemDelegate(18, 1, 5, 0, false, m_comboBox2));
    m_buttonHF = MakeButton(m_panelDrv, "Button_HF", folder_browser_texts::kButtonPrevious(), {kSmallButton, kSmallButton});
    m_button5 = MakeButton(m_panelDrv, "Button5", folder_browser_texts::kButtonUp(), {kSmallButton, kSmallButton});
    m_button3 = MakeButton(m_panelDrv, "Button3", folder_browser_texts::kButtonNew(), {kSmallButton, kSmallButton});
    m_button4 = MakeButton(m_panelDrv, "Button4", folder_browser_texts::kButtonDelete(), {kSmallButton, kSmallButton});
    m_comboBoxKaku = new QComboBox(m_panelDrv);
    m_comboBoxKaku->setObjectName(QStringLiteral("ComboBox_KAKU"));
    for (QWidget *w : std::initializer_list<QWidget *>{m_comboBox2, m_buttonHF, m_button5, m_button3, m_button4})
        row->addWidget(w, 0, Qt::AlignTop);
    row->addWidget(m_comboBoxKaku, 1, Qt::AlignTop);
}

void FolderBrowserWindow::BuildFolderView()
{
    m_panelDir = new QWidget(this);
    m_panelDir->setObjectName(QStringLiteral("Panel_DIR"));
    m_panelDir->resize(168, m_panelDir->height());
    auto *column = new QVBoxLayout(m_panelDir);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    m_headerModel = new QStandardItemModel(0, 1, this);
    m_headerModel->setHeaderData(0, Qt::Horizontal, folder_browser_texts::kHeaderFolder());
    m_headerControl1 = new QHeaderView(Qt::Horizontal, m_panelDir);
    m_headerControl1->setObjectName(QStringLiteral("HeaderControl1"));
    m_headerControl1->setModel(m_headerModel);
    m_headerControl1->setSectionsClickable(true);
    m_headerControl1->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_headerControl1->resizeSection(0, 168 + 10);
    // A header row, not a pane: as high as its text needs.
    m_headerControl1->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    m_headerControl1->setFixedHeight(m_headerControl1->sizeHint().height());

    m_treeView1 = new FolderTree(m_panelDir);
    m_treeView1->setObjectName(QStringLiteral("TreeView1"));
    m_treeView1->setHeaderHidden(true);
    m_treeView1->setIndentation(21);
    m_treeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_treeView1->setItemDelegate(new BoldSelectionDelegate(m_treeView1));

    m_listBox1 = new QListWidget(m_panelDir);
    m_listBox1->setObjectName(QStringLiteral("ListBox1"));
    m_listBox1->setItemDelegate(new PictureItemDelegate(16, 2, 0, 4, true, m_listBox1));
    m_listBox1->hide();

    column->addWidget(m_headerControl1);
    column->addWidget(m_treeView1, 1);
    column->addWidget(m_listBox1, 1);
}

void FolderBrowserWindow::BuildFileList()
{
    m_files = new FileListModel(this);
    m_listView1 = new QTreeView(this);
    m_listView1->setObjectName(QStringLiteral("ListView1"));
    m_listView1->setModel(m_files);
    m_listView1->setRootIsDecorated(false);
    m_listView1->setUniformRowHeights(true);
    m_listView1->setItemsExpandable(false);
    m_listView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_listView1->setSelectionMode(QAbstractItemView::SingleSelection);
    m_listView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_listView1->setItemDelegate(new BoldSelectionDelegate(m_listView1));
    m_listView1->header()->setSectionsClickable(true);
    m_listView1->header()->setStretchLastSection(false);
    // Column widths from the list width at creation, as the list was designed.
    const int width = kClientWidth - 168 - 3;
    const int widths[kFileColumns] = {width / 3 - 24, width / 5 - 10, width / 9 - 10, width / 3 - 10, width / 9 - 10};
    for (int c = 0; c < kFileColumns; ++c)
        m_listView1->setColumnWidth(c, widths[c]);
}

void FolderBrowserWindow::BuildBottom()
{
    auto *bottom = new QHBoxLayout;
    bottom->setContentsMargins(0, 2, 2, 2);
    auto *edits = new QVBoxLayout;
    edits->setSpacing(0);

    m_panelEditFolder = new QWidget(this);
    m_panelEditFolder->setObjectName(QStringLiteral("Panel_Edit_Folder"));
    auto *folderRow = new QHBoxLayout(m_panelEditFolder);
    folderRow->setContentsMargins(4, 2, 4, 2);
    m_label4 = new QLabel(folder_browser_texts::kLabelFolder(), m_panelEditFolder);
    m_label4->setObjectName(QStringLiteral("Label4"));
    m_editFolder = new QLineEdit(m_panelEditFolder);
    m_editFolder->setObjectName(QStringLiteral("Edit_Folder"));
    folderRow->addWidget(m_label4);
    folderRow->addWidget(m_editFolder, 1);

    m_panelEditFile = new QWidget(this);
    m_panelEditFile->setObjectName(QStringLiteral("Panel_Edit_File"));
    auto *fileRow = new QHBoxLayout(m_panelEditFile);
    fileRow->setContentsMargins(4, 2, 4, 2);
    m_label5 = new QLabel(folder_browser_texts::kLabelFile(), m_panelEditFile);
    m_label5->setObjectName(QStringLiteral("Label5"));
    m_editFile = new QLineEdit(m_panelEditFile);
    m_editFile->setObjectName(QStringLiteral("Edit_File"));
    fileRow->addWidget(m_label5);
    fileRow->addWidget(m_editFile, 1);
    m_panelEditFile->hide();

    edits->addWidget(m_panelEditFolder);
    edits->addWidget(m_panelEditFile);

    m_button2 = MakeButton(this, "Button2", folder_browser_texts::kButtonSet(), {75, 25});
    m_button2->setDefault(true);
    m_button1 = MakeButton(this, "Button1", folder_browser_texts::kButtonCancel(), {75, 25});
    auto *panel4 = new QWidget(this);
    panel4->setObjectName(QStringLiteral("Panel4"));
    auto *buttons = new QHBoxLayout(panel4);
    buttons->setContentsMargins(4, 2, 2, 2);
    buttons->addWidget(m_button2);
    auto *panel3 = new QWidget(this);
    panel3->setObjectName(QStringLiteral("Panel3"));
    auto *cancelRow = new QHBoxLayout(panel3);
    cancelRow->setContentsMargins(2, 2, 2, 2);
    cancelRow->addWidget(m_button1);

    bottom->addLayout(edits, 1);
    bottom->addWidget(panel4, 0, Qt::AlignBottom);
    bottom->addWidget(panel3, 0, Qt::AlignBottom);
    static_cast<QVBoxLayout *>(layout())->addLayout(bottom);
}

void FolderBrowserWindow::ApplyHints(bool on)
{
    const auto hint = [on](QWidget *w, const QString &text) { w->setToolTip(on ? text : QString()); };
    hint(m_comboBox2, folder_browser_texts::kHintDrive());
    hint(m_buttonHF, folder_browser_texts::kHintPrevious());
    hint(m_button5, folder_browser_texts::kHintUp());
    hint(m_button3, folder_browser_texts::kHintNew());
    hint(m_button4, folder_browser_texts::kHintDelete());
    hint(m_comboBoxKaku, folder_browser_texts::kHintFilter());
    hint(m_headerControl1, folder_browser_texts::kHintHeader());
    hint(m_treeView1, folder_browser_texts::kHintTree());
    hint(m_listBox1, folder_browser_texts::kHintList());
    hint(m_listView1, folder_browser_texts::kHintFiles());
    hint(m_editFolder, folder_browser_texts::kHintEditFolder());
    hint(m_editFile, folder_browser_texts::kHintEditFile());
}

void FolderBrowserWindow::Prepare(const FolderBrowserRun &setup, const QList<DriveEntry> &drives)
{
    FillFilter(setup.filter);
    m_navigator.Start(setup.startFolder, drives);
    m_editFile->setText(QFileInfo(setup.fileName).fileName());
    m_panelEditFile->hide();
    m_editFolder->setReadOnly(false);
    m_standardColor = setup.standardColor;
    ApplyColours();
    m_messageBox->SetTitle(setup.title);
    m_messageBox->SetSourceHandle(this);
    m_inputBox->SetSourceHandle(this);
    ApplyHints(setup.hintsOn);
    m_editFolder->setFocus(Qt::OtherFocusReason);
}

void FolderBrowserWindow::FillFilter(const QString &filter)
{
    const QSignalBlocker block(m_comboBoxKaku);
    m_masks.clear();
    m_comboBoxKaku->clear();
    for (const FilterEntry &entry : ParseFilter(filter)) {
        m_comboBoxKaku->addItem(entry.caption);
        m_masks.append(entry.mask);
    }
    m_comboBoxKaku->setCurrentIndex(0);
    m_navigator.SetMask(m_masks.value(0, QStringLiteral("*.*")));
}

void FolderBrowserWindow::ApplyColours()
{
    ColouredDialog::ApplyColours();
    const QColor base = m_standardColor ? QPalette().color(QPalette::Base) : palette().color(QPalette::Window);
    for (QWidget *w : std::initializer_list<QWidget *>{m_comboBox2, m_listBox1, m_treeView1, m_listView1,
                                                       m_comboBoxKaku, m_editFolder, m_editFile})
        SetRole(w, QPalette::Base, base);
}

// --- handlers -------------------------------------------------------------------

void FolderBrowserWindow::ComboBox2Change(int index)
{
    const QString root = m_comboBox2->itemData(index, folder_browser_role::kPath).toString();
    if (root.isEmpty())
        return;
    m_navigator.DriveChosen(root);
}

void FolderBrowserWindow::ComboBox_KAKUChange(int index)
{
    if (index < 0 || index >= m_masks.size())
        return;
    const WaitCursor wait;
    m_navigator.FilterChosen(m_masks[index]);
}

void FolderBrowserWindow::HeaderControl1SectionClick()
{
    m_treeMode = !m_treeMode;
    m_treeView1->setVisible(m_treeMode);
    m_listBox1->setVisible(!m_treeMode);
    m_navigator.ViewSwitched();
}

void FolderBrowserWindow::ListView1ColumnClick(int column)
{
    if (m_sorting || column < 0 || column >= kFileColumns)
        return;
    m_sorting = true;
    const WaitCursor wait;
    QCoreApplication::processEvents(); // the hourglass shows; queued work runs
    const QModelIndex current = m_listView1->currentIndex(); // after the list may have been refilled
    const auto which = static_cast<FileColumn>(column);
    const int kept = m_files->Sort(which, m_sortState.NextAscending(which), current.isValid() ? current.row() : -1);
    if (kept >= 0) {
        const QModelIndex now = m_files->index(kept, 0);
        m_listView1->setCurrentIndex(now);
        m_listView1->scrollTo(now);
    }
    m_sorting = false;
}

void FolderBrowserWindow::Button_HFClick()
{
    m_navigator.Back();
}

void FolderBrowserWindow::Button5Click()
{
    m_navigator.Up();
}

void FolderBrowserWindow::Button3Click()
{
    m_navigator.NewFolder();
}

void FolderBrowserWindow::Button4Click()
{
    m_navigator.DeleteFolder();
}

void FolderBrowserWindow::Button2Click()
{
    m_chosen = m_navigator.ChosenFolder(m_editFolder->text());
    done(modal::kOk);
}

// --- window events ----------------------------------------------------------------

void FolderBrowserWindow::reject()
{
    // Esc is "キャンセル".
    done(modal::kCancel);
}

bool FolderBrowserWindow::eventFilter(QObject *watched, QEvent *event)
{
    // The folder view's caption reaches 10 pixels past its panel, whatever
    // moved the panel's edge (the window, the splitter, the first layout).
    if (watched == m_panelDir && event->type() == QEvent::Resize)
        m_headerControl1->resizeSection(0, m_panelDir->width() + 10);
    return ColouredDialog::eventFilter(watched, event);
}

} // namespace nuvask
