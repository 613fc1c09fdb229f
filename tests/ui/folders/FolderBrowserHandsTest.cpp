// The folder browser as hands and eyes meet it: hidden folders reached by
// clicks, a click on a folder that vanished, Enter on each button, names that
// are not UTF-8 or hold a line break, and names too long for the tree.
#include "FolderBrowserFixture.h"

#include "core/folders/FileNames.h"

#include <QFile>
#include <QScopeGuard>
#include <QScrollBar>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace nuvask;
using namespace nuvask::test;
using namespace nuvask::test::folder_browser;

namespace {

QTreeWidget *Tree(FolderBrowserWindow *form)
{
    return Child<QTreeWidget>(form, "TreeView1");
}

QString Field(FolderBrowserWindow *form)
{
    return Child<QLineEdit>(form, "Edit_Folder")->text();
}

QStringList SelectedTexts(FolderBrowserWindow *form)
{
    QStringList out;
    for (const QTreeWidgetItem *item : Tree(form)->selectedItems())
        out << item->text(0);
    return out;
}

// Enter on `button` with the focus on it, as the keyboard gives it.
void EnterOn(FolderBrowserWindow *form, const char *button)
{
    QWidget *b = Child(form, button);
    b->setFocus(Qt::TabFocusReason);
    QTest::keyClick(b, Qt::Key_Return);
    QCoreApplication::processEvents();
}

} // namespace

TEST_F(FolderBrowserTest, HiddenDataFolderIsReachedByClicksFromHome)
{
    const QString home = m_tree.Folder(QStringLiteral("home"));
    m_tree.Folder(QStringLiteral("home/.local/share/KELDOP32"));
    m_tree.Folder(QStringLiteral("home/Music"));
    FolderBrowser dlg;
    dlg.SetDirectory(home);
    const int result = Run(dlg, [&](FolderBrowserWindow *form) {
        QTreeWidgetItem *local = Node(form, QStringLiteral(".local"));
        ASSERT_NE(local, nullptr);
        ClickNode(form, local);
        EXPECT_EQ(form->State().CurrentFolder(), home + QStringLiteral("/.local"));
        QTreeWidgetItem *share = Node(form, QStringLiteral("share"));
        ASSERT_NE(share, nullptr);
        ClickNode(form, share);
        ClickNode(form, Node(form, QStringLiteral("KELDOP32")));
        Press(form, "Button2");
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(dlg.Directory(), home + QStringLiteral("/.local/share/KELDOP32"));
    EXPECT_TRUE(m_driver.Messages().isEmpty());
}

TEST_F(FolderBrowserTest, ClickOnAFolderThatVanishedLeavesTheTreeOnTheFolderTheFieldNames)
{
    const QString a = m_tree.Folder(QStringLiteral("walk/a"));
    const QString c = m_tree.Folder(QStringLiteral("walk/a/b/c"));
    for (const bool listMode : {false, true}) {
        m_tree.Folder(QStringLiteral("walk/a/b/c"));
        m_driver.Clear();
        FolderBrowser dlg;
        dlg.SetDirectory(c);
        QStringList selected;
        QString field;
        Run(dlg, [&](FolderBrowserWindow *form) {
            if (listMode)
                SwitchView(form);
            QDir(m_tree.Path(QStringLiteral("walk/a/b"))).removeRecursively();
            if (listMode) {
                auto *list = Child<QListWidget>(form, "ListBox1");
                const QListWidgetItem *b = list->findItems(QStringLiteral("b"), Qt::MatchExactly).value(0);
                ASSERT_NE(b, nullptr);
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(b).center());
                for (const QListWidgetItem *item : list->selectedItems())
                    selected << item->text();
            } else {
                // The row under the pointer after the tree is filled anew is
                // another folder ("walk"): the click must not select it.
                ClickNode(form, Node(form, QStringLiteral("b")));
                selected = SelectedTexts(form);
                EXPECT_EQ(Tree(form)->currentItem()->text(0), QStringLiteral("a"));
            }
            field = Field(form);
            Press(form, "Button2");
        });
        EXPECT_TRUE(m_driver.Said(kFolderError + m_tree.Path(QStringLiteral("walk/a/b"))));
        EXPECT_EQ(selected, QStringList{QStringLiteral("a")}) << (listMode ? "list" : "tree");
        EXPECT_EQ(field, a);
        EXPECT_EQ(dlg.Directory(), a);
    }
}

TEST_F(FolderBrowserTest, EnterPressesTheFocusedButtonAndSettingFromAnywhereElse)
{
    const QString p = m_tree.Folder(QStringLiteral("p"));
    const QString q = m_tree.Folder(QStringLiteral("p/q"));
    auto form = Open(q);
    // Going up and back.
    EnterOn(form.get(), "Button5"); // BF
    EXPECT_EQ(form->State().CurrentFolder(), p);
    EXPECT_TRUE(form->isVisible());
    EnterOn(form.get(), "Button_HF");
    EXPECT_EQ(form->State().CurrentFolder(), q);
    // A new folder: the name is asked for (and not given).
    QString asked;
    m_driver.SetInput([&](InputBoxWindow *box) {
        asked = box->windowTitle();
        QTest::keyClick(box->findChild<QWidget *>(QStringLiteral("Edit1")), Qt::Key_Escape);
    });
    EnterOn(form.get(), "Button3"); // NF
    EXPECT_EQ(asked, QStringLiteral("新規作成フォルダー名を入力して下さい☆"));
    // Deleting: the question comes, No keeps the folder.
    m_driver.SetQuestion(ModalDriver::Question::No);
    EnterOn(form.get(), "Button4"); // DF
    EXPECT_TRUE(m_driver.Said(q + QStringLiteral("\nこのフォルダーを削除します☆")));
    EXPECT_TRUE(QFileInfo(q).isDir());
    EXPECT_TRUE(form->isVisible());

    FolderBrowser dlg;
    dlg.SetDirectory(q);
    EXPECT_EQ(Run(dlg, [](FolderBrowserWindow *f) { EnterOn(f, "Button1"); }), 3); // キャンセル
    EXPECT_TRUE(dlg.Directory().isEmpty());
    // The tree has the focus when the browser opens: Enter there is "設定".
    dlg.SetDirectory(q);
    EXPECT_EQ(Run(dlg, [](FolderBrowserWindow *f) { EnterOn(f, "TreeView1"); }), 1);
    EXPECT_EQ(dlg.Directory(), q);
}

TEST_F(FolderBrowserTest, NamesThatAreNotUtf8AreShownAndReturnedWithTheirBytesAndALineBreakIsOneRow)
{
    const QString p = m_tree.Folder(QStringLiteral("p"));
    const QByteArray rawName("bad\xff\xfe" "name");
    const QByteArray rawPath = QFile::encodeName(p) + '/' + rawName;
    ASSERT_EQ(::mkdir(rawPath.constData(), 0755), 0);
    ASSERT_EQ(::mkdir((rawPath + "/inner").constData(), 0755), 0);
    m_tree.Folder(QStringLiteral("p/two\nlines"));
    m_tree.Folder(QStringLiteral("p/plain"));
    const QByteArray rawFile = rawPath + "/file\xe9.txt";
    ::close(::open(rawFile.constData(), O_CREAT | O_WRONLY, 0644));
    // Qt cannot remove what it cannot name: the tree's clean-up needs help.
    const auto cleanUp = qScopeGuard([&] {
        ::unlink(rawFile.constData());
        ::rmdir((rawPath + "/inner").constData());
        ::rmdir(rawPath.constData());
    });

    FolderBrowser dlg;
    dlg.SetDirectory(p);
    QString header;
    QStringList files;
    int lineHeight = 0;
    int twoLinesHeight = 0;
    const int result = Run(dlg, [&](FolderBrowserWindow *form) {
        QTreeWidgetItem *bad = Node(form, QStringLiteral("bad\uFFFD\uFFFDname"));
        ASSERT_NE(bad, nullptr);
        QTreeWidgetItem *lines = Node(form, QStringLiteral("two\u23CElines"));
        ASSERT_NE(lines, nullptr);
        lineHeight = Tree(form)->visualItemRect(Node(form, QStringLiteral("plain"))).height();
        twoLinesHeight = Tree(form)->visualItemRect(lines).height();
        // Every sub-folder is counted: "/", the folders down to p, and its three.
        SwitchView(form);
        header = Child<QHeaderView>(form, "HeaderControl1")->model()->headerData(0, Qt::Horizontal).toString();
        SwitchView(form);
        ClickNode(form, Node(form, QStringLiteral("bad\uFFFD\uFFFDname")));
        EXPECT_EQ(Field(form), DisplayName(DecodeFileName(rawPath)));
        for (const FileRow &row : form->Files()->Rows())
            files << row.name;
        Press(form, "Button2");
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(EncodeFileName(dlg.Directory()), rawPath);
    EXPECT_EQ(files, QStringList{QStringLiteral("file\uFFFD.txt")});
    EXPECT_EQ(lineHeight, twoLinesHeight);
    const int depth = static_cast<int>(FolderComponents(p).size());
    EXPECT_EQ(header, QString::number(depth + 3) + QStringLiteral("ｺ　フォルダー"));
    EXPECT_TRUE(m_driver.Messages().isEmpty());

    // The folder chosen last time is where the next run starts, bytes and all.
    QString started;
    Run(dlg, [&](FolderBrowserWindow *form) {
        started = form->State().CurrentFolder();
        Press(form, "Button1");
    });
    EXPECT_EQ(EncodeFileName(started), rawPath);
}

TEST_F(FolderBrowserTest, ADeepNameInTheTreeIsScrolledIntoViewWholeAndALongerOneCanBeScrolledTo)
{
    // Seven levels below "/": the indent alone is about as wide as the tree.
    const QString shortName = QStringLiteral("ＳＨＡＲＥ");
    const QString longName = QStringLiteral("とても長い名前のフォルダー_with_a_long_tail");
    for (const QString &name : {shortName, longName}) {
        const QString deep = m_tree.Folder(QStringLiteral("one/two/three/four/five/") + name);
        // Its own sub-folders make the column wider still.
        m_tree.Folder(QStringLiteral("one/two/three/four/five/") + name + QStringLiteral("/") + longName + longName);
        auto form = Open(deep);
        QCoreApplication::processEvents();
        QTreeWidget *tree = Tree(form.get());
        QTreeWidgetItem *node = tree->currentItem();
        ASSERT_NE(node, nullptr);
        ASSERT_EQ(node->text(0), name);
        QFont bold = tree->font();
        bold.setBold(true);
        const int text = QFontMetrics(bold).horizontalAdvance(name); // pixels
        const int width = tree->viewport()->width();
        QRect rect = tree->visualItemRect(node);
        EXPECT_GE(rect.width(), text); // no ellipsis
        EXPECT_TRUE(tree->horizontalScrollBar()->isVisible());
        EXPECT_GE(rect.left(), 0); // its start is in view
        if (name == shortName) {
            EXPECT_LE(rect.left() + text, width) << "a name that fits is shown whole";
            // Up one level ("BF"): the folder above, whole too.
            Press(form.get(), "Button5");
            node = tree->currentItem();
            ASSERT_EQ(node->text(0), QStringLiteral("five"));
            rect = tree->visualItemRect(node);
            EXPECT_GE(rect.left(), 0);
            EXPECT_LE(rect.left() + QFontMetrics(bold).horizontalAdvance(node->text(0)), width);
        } else {
            tree->horizontalScrollBar()->setValue(tree->horizontalScrollBar()->maximum());
            rect = tree->visualItemRect(node);
            EXPECT_LE(rect.left() + text, width) << "the end of a longer one can be scrolled to";
        }
    }
}

