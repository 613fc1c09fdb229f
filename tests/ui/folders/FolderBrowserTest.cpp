// The folder browser on temporary folder trees: where it starts, what it
// returns, the filter and sorts, new and deleted folders, hidden folders and
// the back and up buttons, a tree refilled while a node waits, the controls'
// places and hints. The moves and their recovery on their own are tested in
// tests/core/folders/FolderNavigatorTest.cpp.
#include "FolderBrowserFixture.h"

using namespace nuvask;
using namespace nuvask::test;
using namespace nuvask::test::folder_browser;

TEST_F(FolderBrowserTest, MissingDirectoryStartsAtItsDeepestAncestorAndCancelLeavesItEmpty)
{
    const QString b = m_tree.Folder(QStringLiteral("a/b"));
    FolderBrowser dlg;
    dlg.SetDirectory(m_tree.Path(QStringLiteral("a/b/gone/deeper")));
    dlg.SetFilename(QStringLiteral("/x/name.txt"));
    QString started, edit;
    const int result = Run(dlg, [&](FolderBrowserWindow *form) {
        started = form->State().CurrentFolder();
        edit = Child<QLineEdit>(form, "Edit_Folder")->text();
        EXPECT_EQ(Child<QLineEdit>(form, "Edit_File")->text(), QStringLiteral("name.txt"));
        EXPECT_FALSE(Child(form, "Panel_Edit_File")->isVisible());
        form->GoToFolder(m_tree.Path(QStringLiteral("a"))); // a folder is selected ...
        Press(form, "Button1");                          // ... and "キャンセル" pressed
    });
    EXPECT_EQ(result, 3);
    EXPECT_EQ(started, b);
    EXPECT_EQ(edit, b);
    EXPECT_TRUE(dlg.Directory().isEmpty());
    EXPECT_EQ(dlg.Filename(), QStringLiteral("/x/name.txt"));
    EXPECT_TRUE(m_driver.Messages().isEmpty());

    dlg.SetDirectory(b);
    EXPECT_EQ(Run(dlg, [](FolderBrowserWindow *form) { QTest::keyClick(form, Qt::Key_Escape); }), 3);
    EXPECT_TRUE(dlg.Directory().isEmpty());
}

TEST_F(FolderBrowserTest, WithoutStartFoldersItOpensInTheProgramFolderAndReturnsAJapaneseNameWhole)
{
    const QString japanese = m_tree.Folder(QStringLiteral("日本語のフォルダー"));
    FolderBrowser dlg;
    QString started;
    const int result = Run(dlg, [&](FolderBrowserWindow *form) {
        started = form->State().CurrentFolder();
        EXPECT_TRUE(form->GoToFolder(japanese + u'/'));
        EXPECT_EQ(Child<QLineEdit>(form, "Edit_Folder")->text(), japanese);
        Press(form, "Button2");
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(started, m_tree.Path(QStringLiteral("prog")));
    EXPECT_EQ(dlg.Directory(), japanese);
    EXPECT_TRUE(QDir(dlg.Directory()).exists());

    // A typed path keeps its text but never its trailing separator; "/" stays.
    dlg.SetDirectory(QString());
    EXPECT_EQ(Run(dlg, [&](FolderBrowserWindow *form) {
                  Child<QLineEdit>(form, "Edit_Folder")->setText(japanese + QStringLiteral("//"));
                  QTest::keyClick(Child(form, "Edit_Folder"), Qt::Key_Return);
              }),
              1);
    EXPECT_EQ(dlg.Directory(), japanese);
    Run(dlg, [](FolderBrowserWindow *form) {
        Child<QLineEdit>(form, "Edit_Folder")->setText(QStringLiteral("/"));
        Press(form, "Button2");
    });
    EXPECT_EQ(dlg.Directory(), QStringLiteral("/"));
    EXPECT_EQ(Run(dlg, [](FolderBrowserWindow *form) { form->close(); }), 2);
    EXPECT_TRUE(dlg.Directory().isEmpty());
}

TEST_F(FolderBrowserTest, OneFilterPairGivesTwoEntriesAndTheChoiceRefillsTheList)
{
    const QString folder = m_tree.Folder(QStringLiteral("files"));
    m_tree.File(QStringLiteral("files/a.txt"));
    m_tree.File(QStringLiteral("files/b.log"));
    auto form = Open(folder, QStringLiteral("Text|*.txt"));
    auto *filter = Child<QComboBox>(form.get(), "ComboBox_KAKU");
    ASSERT_EQ(filter->count(), 2);
    EXPECT_EQ(filter->itemText(0), QStringLiteral("Text (*.txt)"));
    EXPECT_EQ(filter->itemText(1), QStringLiteral("ALL files (*.*)"));
    EXPECT_EQ(Column(form->Files(), FileColumn::Name), (QStringList{"a.txt"}));
    EXPECT_EQ(form->Files()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
              QStringLiteral("1ｺ　ファイル名"));
    filter->setCurrentIndex(1);
    emit filter->activated(1);
    EXPECT_EQ(Column(form->Files(), FileColumn::Name), (QStringList{"a.txt", "b.log"}));
}

TEST_F(FolderBrowserTest, SizeColumnSortsByValueKeepsTheSelectionAndIgnoresAClickWhileSorting)
{
    const QString folder = m_tree.Folder(QStringLiteral("sizes"));
    m_tree.File(QStringLiteral("sizes/k"), 1000);
    m_tree.File(QStringLiteral("sizes/nine"), 9);
    m_tree.File(QStringLiteral("sizes/nnn"), 999);
    m_tree.File(QStringLiteral("sizes/ten"), 10);
    auto form = Open(folder);
    auto *view = Child<QTreeView>(form.get(), "ListView1");
    view->setCurrentIndex(form->Files()->index(2, 0)); // "nnn"

    // A second click queued behind the first runs while the first sorts.
    QTimer::singleShot(0, [&] { ClickColumn(form.get(), 1); });
    ClickColumn(form.get(), 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(Column(form->Files(), FileColumn::Name), (QStringList{"nine", "ten", "nnn", "k"}));
    EXPECT_EQ(view->currentIndex().data().toString(), QStringLiteral("nnn"));

    ClickColumn(form.get(), 1);
    EXPECT_EQ(Column(form->Files(), FileColumn::Name), (QStringList{"k", "nnn", "ten", "nine"}));
    EXPECT_EQ(view->currentIndex().data().toString(), QStringLiteral("nnn"));
    ClickColumn(form.get(), 0); // name: descending first, the list is ascending
    EXPECT_EQ(Column(form->Files(), FileColumn::Name), (QStringList{"ten", "nnn", "nine", "k"}));
}

TEST_F(FolderBrowserTest, NewFolderNameJoinsTheHistoryAndANameReachingOutsideIsRefused)
{
    const QString here = m_tree.Folder(QStringLiteral("here"));
    auto form = Open(here);
    m_driver.SetInput([](InputBoxWindow *box) {
        box->findChild<QLineEdit *>(QStringLiteral("Edit1"))->insert(QStringLiteral("新規")); // typed through an input method
        QTest::mouseClick(box->findChild<QWidget *>(QStringLiteral("Button1")), Qt::LeftButton, {}, QPoint(5, 5));
    });
    Press(form.get(), "Button3");
    const QString made = here + QStringLiteral("/新規");
    EXPECT_TRUE(QFileInfo(made).isDir());
    EXPECT_EQ(form->State().CurrentFolder(), made);
    EXPECT_EQ(m_driver.Prompt(), NewFolderPrompt(here) + QStringLiteral("："));
    EXPECT_EQ(form->inputBox()->SN(), (QStringList{"新規"}));
    EXPECT_EQ(form->inputBox()->Title(), QStringLiteral("新規作成フォルダー名を入力して下さい☆"));
    EXPECT_TRUE(m_driver.Messages().isEmpty());

    m_driver.SetInput([](InputBoxWindow *box) {
        auto *edit = box->findChild<QLineEdit *>(QStringLiteral("Edit1"));
        edit->setText(QStringLiteral("../escaped"));
        QTest::mouseClick(box->findChild<QWidget *>(QStringLiteral("Button1")), Qt::LeftButton, {}, QPoint(5, 5));
    });
    Press(form.get(), "Button3");
    EXPECT_FALSE(QFileInfo::exists(here + QStringLiteral("/escaped")));
    EXPECT_TRUE(m_driver.Said(made + QStringLiteral("/../escaped\nフォルダーの作成に失敗しました・・・")));
    EXPECT_EQ(form->State().CurrentFolder(), made);
    EXPECT_EQ(form->inputBox()->SN(), (QStringList{"../escaped", "新規"}));
}

TEST_F(FolderBrowserTest, DeleteRemovesOnlyAnEmptyFolderAndAsksWithNoAsDefault)
{
    const QString full = m_tree.Folder(QStringLiteral("p/full"));
    const QString inside = m_tree.File(QStringLiteral("p/full/keep.txt"), 3);
    const QString target = m_tree.Folder(QStringLiteral("elsewhere/target"));
    const QString link = m_tree.Link(QStringLiteral("p/link"), target);
    const QString empty = m_tree.Folder(QStringLiteral("p/empty"));

    auto form = Open(full);
    Press(form.get(), "Button4"); // answered Yes
    EXPECT_TRUE(QFileInfo::exists(inside));
    EXPECT_TRUE(m_driver.Said(full + QStringLiteral("\nフォルダーの削除に失敗しました・・・")));
    EXPECT_EQ(form->State().CurrentFolder(), full);

    // A link to a folder elsewhere: neither the link nor its target goes.
    m_driver.Clear();
    form->GoToFolder(link);
    Press(form.get(), "Button4");
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_TRUE(QFileInfo(target).isDir());
    EXPECT_TRUE(m_driver.Said(QStringLiteral("フォルダーの削除に失敗しました・・・")));

    m_driver.Clear();
    m_driver.SetQuestion(ModalDriver::Question::TimeOut);
    form->GoToFolder(empty);
    Press(form.get(), "Button4");
    EXPECT_TRUE(m_driver.Said(empty + QStringLiteral("\nこのフォルダーを削除します☆")));
    EXPECT_TRUE(QFileInfo(empty).isDir()); // the countdown answered No

    m_driver.SetQuestion(ModalDriver::Question::Yes);
    Press(form.get(), "Button4");
    EXPECT_FALSE(QFileInfo::exists(empty));
    EXPECT_EQ(form->State().CurrentFolder(), m_tree.Path(QStringLiteral("p")));
}

TEST_F(FolderBrowserTest, HiddenFoldersShowWhateverTheFilterAndTheBackAndUpButtonsMove)
{
    const QString p = m_tree.Folder(QStringLiteral("p"));
    m_tree.Folder(QStringLiteral("p/.secret"));
    const QString seen = m_tree.Folder(QStringLiteral("p/seen"));
    auto form = Open(p, QStringLiteral("All|*.*|Text|*.txt"));
    EXPECT_NE(Node(form.get(), QStringLiteral("seen")), nullptr);
    EXPECT_NE(Node(form.get(), QStringLiteral(".secret")), nullptr);
    auto *filter = Child<QComboBox>(form.get(), "ComboBox_KAKU");
    filter->setCurrentIndex(1);
    emit filter->activated(1);
    EXPECT_NE(Node(form.get(), QStringLiteral(".secret")), nullptr);
    SwitchView(form.get());
    EXPECT_EQ(Child<QListWidget>(form.get(), "ListBox1")->findItems(QStringLiteral(".secret"), Qt::MatchExactly).size(), 1);
    SwitchView(form.get());

    auto *back = Child<QPushButton>(form.get(), "Button_HF");
    form->GoToFolder(seen);
    EXPECT_TRUE(back->isEnabled());
    Press(form.get(), "Button_HF");
    EXPECT_EQ(form->State().CurrentFolder(), p);
    Press(form.get(), "Button5"); // up
    EXPECT_EQ(form->State().CurrentFolder(), m_tree.Root());
}

TEST_F(FolderBrowserTest, SelectingANodeWhileQueuedWorkRefillsTheTreeTakesTheNewTree)
{
    const QString a = m_tree.Folder(QStringLiteral("a"));
    m_tree.Folder(QStringLiteral("a/b"));
    const QString other = m_tree.Folder(QStringLiteral("other/deep"));
    auto form = Open(a);
    QTreeWidgetItem *b = Node(form.get(), QStringLiteral("b"));
    ASSERT_NE(b, nullptr);
    // Runs while the selection waits with the hourglass: the tree is filled
    // anew and the node "b" deleted.
    QTimer::singleShot(0, [&] { form->GoToFolder(other); });
    Child<QTreeWidget>(form.get(), "TreeView1")->setCurrentItem(b);
    QTest::qWait(20);
    EXPECT_EQ(form->State().CurrentFolder(), other);
    EXPECT_EQ(Child<QTreeWidget>(form.get(), "TreeView1")->currentItem()->text(0), QStringLiteral("deep"));
    EXPECT_TRUE(m_driver.Messages().isEmpty());
}

TEST_F(FolderBrowserTest, ControlsKeepTheirPlacesWhenResizedAndHintsFollowTheMainWindow)
{
    const QString a = m_tree.Folder(QStringLiteral("a"));
    auto form = Open(a);
    QCoreApplication::processEvents();
    auto *folderCaption = Child<QHeaderView>(form.get(), "HeaderControl1");
    EXPECT_EQ(folderCaption->sectionSize(0), Child(form.get(), "Panel_DIR")->width() + 10);
    EXPECT_LT(folderCaption->height(), 40); // a caption row, not a pane
    form->resize(900, 400);
    QCoreApplication::processEvents();
    const auto x = [&](const char *name) { return Child(form.get(), name)->geometry(); };
    EXPECT_EQ(x("ComboBox2").topLeft(), QPoint(0, 8));
    EXPECT_EQ(x("ComboBox2").width(), 169);
    EXPECT_EQ(x("Button_HF"), QRect(176, 8, 25, 25));
    EXPECT_EQ(x("Button5"), QRect(208, 8, 25, 25));
    EXPECT_EQ(x("Button3"), QRect(240, 8, 25, 25));
    EXPECT_EQ(x("Button4"), QRect(272, 8, 25, 25));
    EXPECT_EQ(x("ComboBox_KAKU").left(), 304);
    EXPECT_EQ(x("ComboBox_KAKU").right(), Child(form.get(), "Panel_DRV")->width() - 1);
    EXPECT_EQ(Child<QHeaderView>(form.get(), "HeaderControl1")->sectionSize(0),
              Child(form.get(), "Panel_DIR")->width() + 10);
    auto *files = Child<QTreeView>(form.get(), "ListView1")->model();
    QStringList captions;
    for (int c = 1; c < 5; ++c)
        captions << files->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(captions, (QStringList{"サイズ", "種類", "日付", "属性"}));

    // The two hints keep their historic spelling.
    FolderBrowser dlg;
    QWidget main;
    main.setProperty("ShowHint", true);
    SetMainWindow(&main);
    QString up, made, caption;
    Run(dlg, [&](FolderBrowserWindow *f) {
        up = Child(f, "Button5")->toolTip();
        made = Child(f, "Button3")->toolTip();
        caption = f->windowTitle();
        Press(f, "Button1");
    });
    EXPECT_EQ(up, QStringLiteral("一つ上階層フォフォルダー"));
    EXPECT_EQ(made, QStringLiteral("新規作成ルダー"));
    EXPECT_EQ(caption, ApplicationTitle() + QStringLiteral("フォルダーの選択"));
    main.setProperty("ShowHint", false);
    dlg.SetTitle(QStringLiteral("セットアップ"));
    Run(dlg, [&](FolderBrowserWindow *f) {
        up = Child(f, "Button5")->toolTip();
        caption = f->windowTitle();
        EXPECT_EQ(f->messageBox()->Title(), QStringLiteral("セットアップ"));
        Press(f, "Button1");
    });
    SetMainWindow(nullptr);
    EXPECT_TRUE(up.isEmpty());
    EXPECT_EQ(caption, QStringLiteral("セットアップフォルダーの選択"));
}
