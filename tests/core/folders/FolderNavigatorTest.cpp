// The folder browser's moves and its recovery on real temporary folder
// trees, against a recording fake of the form: unreadable, vanished and
// looping folders, a drive that went, back and up, a recovery that fails
// too, and what one run remembers.
#include "core/folders/FolderBrowserView.h"
#include "core/folders/FolderNavigator.h"
#include "core/folders/FolderPaths.h"
#include "core/startup/ProgramEntry.h"
#include "support/TempFolderTree.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace nuvask;
using nuvask::test::AsUnprivileged;
using nuvask::test::TempFolderTree;

namespace {

const QString kFolderError = QStringLiteral("フォルダー・エラー発生\n");
const QString kTryAvoid = QStringLiteral("\nエラーを回避してみます。");

struct RecordingView : FolderBrowserView
{
    QStringList calls; // what the navigator did, in order
    QStringList messages;
    QString drive, field, shown;
    QHash<QString, QString> labels;
    bool back = false;
    bool showFails = false;

    void ShowDrives(const QList<DriveEntry> &) override {}
    void SelectDriveEntry(const QString &root) override { drive = root; }
    void LabelDriveEntry(const QString &root, const QString &text) override { labels[root] = text; }
    void ShowFolderFilling() override {}
    bool ShowFolder(const QString &folder, const QStringList &) override
    {
        shown = folder;
        return !showFails;
    }
    void OpenChosenNode(const QString &folder) override { calls << QStringLiteral("open ") + folder; }
    void EndNodeWait() override { calls << QStringLiteral("wait over"); }
    void ShowFilesFilling() override {}
    void ShowFiles(QList<FileRow>) override {}
    void EnableBack(bool enabled) override { back = enabled; }
    void SetFolderText(const QString &text) override { field = text; }
    void ShowMessageTimer(const QString &text) override { Said(text); }
    void ShowMessage(const QString &text) override { Said(text); }
    bool AskYesNo(const QString &) override { return false; }
    std::optional<QString> AskFolderName(const QString &) override { return std::nullopt; }
    void Said(const QString &text) { calls << QStringLiteral("message"), messages << text; }
};

class FolderNavigatorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_savedStart = Start();
        StartValues start = m_savedStart;
        start.ProgramDir = m_tree.Folder(QStringLiteral("prog")) + u'/';
        SetStartValues(start);
    }
    void TearDown() override { SetStartValues(m_savedStart); }

    void Open(const QString &start, const QList<DriveEntry> &drives = {Drive(QStringLiteral("/"))})
    {
        m_nav.Start(start, drives);
        m_view.calls.clear();
        m_view.messages.clear();
    }
    static DriveEntry Drive(const QString &root) { return {root, DriveKind::Fixed, QString(), QString()}; }
    QString Current() const { return m_nav.State().CurrentFolder(); }

    TempFolderTree m_tree;
    StartValues m_savedStart;
    RecordingView m_view;
    FolderNavigator m_nav{m_view};
};

} // namespace

TEST_F(FolderNavigatorTest, UnreadableFolderRecoversToItsParentWithTheMessage)
{
    const QString a = m_tree.Folder(QStringLiteral("a"));
    const QString lockedFolder = m_tree.Path(QStringLiteral("a/locked"));
    const QString inner = m_tree.Folder(QStringLiteral("a/locked/inner"));
    TempFolderTree::Mode(lockedFolder, 0);
    {
        AsUnprivileged user;
        ASSERT_TRUE(user.Effective());
        Open(a);
        // Its tree node chosen: the wait ends before the message.
        m_nav.NodeChosen(lockedFolder);
        EXPECT_EQ(m_view.calls.mid(0, 2), (QStringList{"wait over", "message"}));
        EXPECT_EQ(m_view.messages.value(0), kFolderError + lockedFolder + kTryAvoid);
        EXPECT_EQ(Current(), a);
        EXPECT_EQ(m_view.field, a);
        // Going there directly fails the same way and lands in the same place.
        m_view.messages.clear();
        EXPECT_FALSE(m_nav.ShowFolder(inner));
        EXPECT_EQ(m_view.messages, QStringList{kFolderError + inner + kTryAvoid});
        EXPECT_EQ(Current(), a);
    }
    TempFolderTree::Mode(lockedFolder, 0755);
}

TEST_F(FolderNavigatorTest, VanishedFolderRecoversToTheDeepestFolderLeft)
{
    const QString a = m_tree.Folder(QStringLiteral("a"));
    const QString c = m_tree.Folder(QStringLiteral("a/b/c"));
    Open(c);
    QDir(m_tree.Path(QStringLiteral("a/b"))).removeRecursively();
    EXPECT_FALSE(m_nav.ShowFolder(c));
    EXPECT_EQ(m_view.messages, QStringList{kFolderError + c + kTryAvoid});
    EXPECT_EQ(Current(), a);
    EXPECT_EQ(m_view.shown, a);

    // Up from a folder whose parent went too: the program's folder.
    m_tree.Folder(QStringLiteral("a/b/c"));
    ASSERT_TRUE(m_nav.GoToFolder(c));
    QDir(m_tree.Path(QStringLiteral("a/b"))).removeRecursively();
    m_nav.Up();
    EXPECT_EQ(Current(), m_tree.Path(QStringLiteral("prog")));
}

TEST_F(FolderNavigatorTest, LinkLoopsNeitherHangNorStopTheBrowser)
{
    const QString a = m_tree.Folder(QStringLiteral("a"));
    m_tree.Link(QStringLiteral("a/self"), m_tree.Path(QStringLiteral("a/self")));
    m_tree.Link(QStringLiteral("a/up"), a);
    Open(StartFolder(m_tree.Path(QStringLiteral("a/self/x")), QString(), ProgramFolder()));
    EXPECT_EQ(Current(), a);
    const QString deep = m_tree.Path(QStringLiteral("a/up/up/up"));
    EXPECT_TRUE(m_nav.GoToFolder(deep));
    EXPECT_EQ(Current(), deep);
    EXPECT_EQ(m_view.shown, deep);
    EXPECT_EQ(m_nav.ChosenFolder(m_view.field), deep);
    EXPECT_TRUE(m_view.messages.isEmpty());
}

TEST_F(FolderNavigatorTest, DriveThatIsNotReadyLeadsBackToTheListedFolder)
{
    const QString here = m_tree.Folder(QStringLiteral("here"));
    const QString stick = m_tree.Folder(QStringLiteral("media/STICK")); // no longer a mount root
    Open(here, {Drive(QStringLiteral("/")), DriveEntry{stick, DriveKind::Removable, QStringLiteral("STICK"), QString()}});
    EXPECT_EQ(m_view.labels.value(QStringLiteral("/")), QStringLiteral("/[]"));
    m_nav.DriveChosen(stick);
    EXPECT_EQ(m_view.messages, QStringList{QStringLiteral("ドライブ・エラー発生\n") + stick + QStringLiteral("\n元のドライブに戻します")});
    EXPECT_EQ(Current(), here);
    EXPECT_EQ(m_view.drive, QStringLiteral("/"));
    EXPECT_EQ(m_view.field, here);
}

TEST_F(FolderNavigatorTest, BackReturnsToThePreviousFolderAndUpGoesOneLevel)
{
    const QString p = m_tree.Folder(QStringLiteral("p"));
    const QString seen = m_tree.Folder(QStringLiteral("p/seen"));
    Open(p);
    EXPECT_FALSE(m_view.back);
    m_nav.GoToFolder(seen);
    EXPECT_TRUE(m_view.back);
    m_nav.Back();
    EXPECT_EQ(Current(), p);
    m_nav.Up();
    EXPECT_EQ(Current(), m_tree.Root());
    EXPECT_TRUE(m_view.messages.isEmpty());
}

TEST_F(FolderNavigatorTest, ARecoveryThatFailsTooIsReportedOnceAndNeverLoops)
{
    const QString a = m_tree.Folder(QStringLiteral("a"));
    Open(a);
    m_view.showFails = true;
    EXPECT_FALSE(m_nav.ShowFolder(a));
    EXPECT_EQ(m_view.messages, (QStringList{kFolderError + a + kTryAvoid, kFolderError + m_tree.Root() + kTryAvoid,
                                            kFolderError + QStringLiteral("/") + kTryAvoid,
                                            QStringLiteral("エラー回避に失敗しました\n/\n別のドライブか、フォルダーを選択してみて下さい")}));
}

TEST(FolderBrowserStateTest, GoesBackThroughListedFoldersAndRemembersOneFolderPerDrive)
{
    FolderBrowserState state;
    EXPECT_TRUE(state.TakePrevious().isEmpty());
    state.Listed(QStringLiteral("/a"));
    EXPECT_FALSE(state.CanGoBack());
    state.Listed(QStringLiteral("/b"));
    state.Listed(QStringLiteral("/c"));
    // Back drops the last folder and the one before it: listing it adds it again.
    EXPECT_EQ(state.TakePrevious(), QStringLiteral("/b"));
    EXPECT_EQ(state.History(), (QStringList{"/a"}));

    state.Enter(QStringLiteral("/media/d/A"), QStringLiteral("/media/d"));
    state.Enter(QStringLiteral("/"), QStringLiteral("/"));
    EXPECT_EQ(state.LastFolderOf(QStringLiteral("/media/d")), QStringLiteral("/media/d/A"));
    state.Enter(QStringLiteral("/media/d/B"), QStringLiteral("/media/d"));
    EXPECT_EQ(state.LastFolderOf(QStringLiteral("/media/d")), QStringLiteral("/media/d/B"));
    EXPECT_EQ(state.CurrentFolder(), QStringLiteral("/media/d/B"));
}
