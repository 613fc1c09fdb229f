// The folder browser's rules on real temporary folder trees: filters, the
// file list and its sorts, paths and recovery targets, drives. Its moves are
// tested in FolderNavigatorTest.cpp.
#include "core/base/Cp932.h"
#include "core/folders/FileListing.h"
#include "core/folders/FolderFilter.h"
#include "core/folders/FolderNamespace.h"
#include "core/folders/FolderPaths.h"
#include "core/folders/MountedDrives.h"
#include "support/TempFolderTree.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace nuvask;
using nuvask::test::AsUnprivileged;
using nuvask::test::TempFolderTree;

namespace {

QStringList Captions(const QList<FilterEntry> &entries)
{
    QStringList out;
    for (const FilterEntry &e : entries)
        out << e.caption;
    return out;
}

QStringList Names(const QList<FileRow> &rows)
{
    QStringList out;
    for (const FileRow &r : rows)
        out << r.name;
    return out;
}

QStringList Roots(const QList<DriveEntry> &drives)
{
    QStringList out;
    for (const DriveEntry &d : drives)
        out << d.root;
    return out;
}

} // namespace

TEST(FolderFilterTest, PairsGiveEntriesAndTheAllFilesEntryIsAddedOnlyWhenMissing)
{
    EXPECT_EQ(Captions(ParseFilter(QStringLiteral("Text|*.txt"))),
              (QStringList{QStringLiteral("Text (*.txt)"), QStringLiteral("ALL files (*.*)")}));
    EXPECT_EQ(Captions(ParseFilter(QStringLiteral("Text|*.txt|Any|*.*"))),
              (QStringList{QStringLiteral("Text (*.txt)"), QStringLiteral("Any (*.*)")}));
    EXPECT_EQ(Captions(ParseFilter(QString())), (QStringList{QStringLiteral("ALL files (*.*)")}));
    // An empty mask is skipped; a trailing description without "|" ends the reading.
    const QList<FilterEntry> odd = ParseFilter(QStringLiteral("None||Logs|*.log;*.txt|Dangling"));
    EXPECT_EQ(Captions(odd), (QStringList{QStringLiteral("Logs (*.log;*.txt)"), QStringLiteral("ALL files (*.*)")}));
    EXPECT_EQ(odd.first().mask, QStringLiteral("*.log;*.txt"));
}

TEST(FolderFilterTest, MasksAreSortedOnce)
{
    EXPECT_EQ(SplitMasks(QStringLiteral("*.txt;;*.log;*.txt")),
              (QStringList{QStringLiteral("*.log"), QStringLiteral("*.txt")}));
}

TEST(FileListingTest, AllFilesMaskListsNamesWithoutDotHiddenAndSystemEntriesButNoFolders)
{
    TempFolderTree tree;
    tree.File(QStringLiteral("README"));
    tree.File(QStringLiteral("a.TXT"));
    tree.File(QStringLiteral(".profile"));
    tree.Folder(QStringLiteral("sub.d"));
    const FileListing all = ListFiles(tree.Root(), QStringLiteral("*.*"));
    ASSERT_TRUE(all.ok);
    EXPECT_EQ(Names(all.rows), (QStringList{QStringLiteral(".profile"), QStringLiteral("a.TXT"), QStringLiteral("README")}));
    EXPECT_TRUE(all.rows[0].hidden);
    EXPECT_EQ(all.rows[0].attributes, QStringLiteral("  H "));
    EXPECT_EQ(all.rows[1].type, QStringLiteral("txt"));

    // Masks ignore letter case, and a file matching two masks is listed twice.
    const FileListing twice = ListFiles(tree.Root(), QStringLiteral("*.txt;a*"));
    EXPECT_EQ(Names(twice.rows), (QStringList{QStringLiteral("a.TXT"), QStringLiteral("a.TXT")}));

    EXPECT_FALSE(ListFiles(tree.Path(QStringLiteral("gone")), QStringLiteral("*.*")).ok);
}

TEST(FileListingTest, SizeColumnSortsByValueBothWays)
{
    EXPECT_EQ(SizeText(999), QStringLiteral("     999"));
    EXPECT_EQ(SizeText(1000), QStringLiteral("   1,000"));
    EXPECT_EQ(SizeText(1234567890), QStringLiteral("1,234,567,890"));

    TempFolderTree tree;
    tree.File(QStringLiteral("nine"), 9);
    tree.File(QStringLiteral("ten"), 10);
    tree.File(QStringLiteral("k"), 1000);
    tree.File(QStringLiteral("nnn"), 999);
    tree.File(QStringLiteral("zero"), 0);
    FileListing listing = ListFiles(tree.Root(), QStringLiteral("*.*"));
    SortRows(listing.rows, FileColumn::Size, true);
    EXPECT_EQ(Names(listing.rows), (QStringList{"zero", "nine", "ten", "nnn", "k"}));
    SortRows(listing.rows, FileColumn::Size, false);
    EXPECT_EQ(Names(listing.rows), (QStringList{"k", "nnn", "ten", "nine", "zero"}));
    // Wider than the padded field: still by value.
    FileRow big;
    big.size = SizeText(12345678901LL);
    FileRow small;
    small.size = SizeText(99999999);
    EXPECT_GT(CompareRows(big, small, FileColumn::Size), 0);
}

TEST(FileListingTest, EachColumnKeepsItsOwnDirectionAndANewListingResetsThem)
{
    FileSortState state;
    EXPECT_FALSE(state.NextAscending(FileColumn::Name)); // the list is ascending already
    EXPECT_TRUE(state.NextAscending(FileColumn::Name));
    EXPECT_TRUE(state.NextAscending(FileColumn::Size));
    EXPECT_TRUE(state.NextAscending(FileColumn::Date));
    EXPECT_FALSE(state.NextAscending(FileColumn::Size));
    state.Reset();
    EXPECT_FALSE(state.NextAscending(FileColumn::Name));
    EXPECT_TRUE(state.NextAscending(FileColumn::Size));
}

TEST(FolderPathsTest, RootKeepsItsSeparatorAndParentsStopAtIt)
{
    EXPECT_EQ(StripTrailingSeparator(QStringLiteral("/a/b//")), QStringLiteral("/a/b"));
    EXPECT_EQ(StripTrailingSeparator(QStringLiteral("/")), QStringLiteral("/"));
    EXPECT_EQ(ParentFolder(QStringLiteral("/a/b")), QStringLiteral("/a"));
    EXPECT_EQ(ParentFolder(QStringLiteral("/a")), QStringLiteral("/"));
    EXPECT_EQ(ParentFolder(QStringLiteral("/")), QStringLiteral("/"));
    EXPECT_EQ(CumulativeFolders(QStringLiteral("/a/b")), (QStringList{"/", "/a", "/a/b"}));
    EXPECT_EQ(NormalisedFolder(QStringLiteral("x/../y/"), QStringLiteral("/base")), QStringLiteral("/base/y"));
}

TEST(FolderPathsTest, StartFolderFallsBackToTheDeepestOpenableAncestorThenTheProgramFolder)
{
    TempFolderTree tree;
    const QString a = tree.Folder(QStringLiteral("a/b"));
    const QString program = tree.Folder(QStringLiteral("prog"));
    EXPECT_EQ(StartFolder(tree.Path(QStringLiteral("a/b/gone/deeper")), QString(), program), a);
    EXPECT_EQ(StartFolder(QString(), tree.Path(QStringLiteral("a/gone")), program), tree.Path(QStringLiteral("a")));
    EXPECT_EQ(StartFolder(QString(), QString(), program), program);
    EXPECT_EQ(StartFolder(a + u'/', QString(), program), a);
}

TEST(FolderPathsTest, LoopsDanglingLinksAndUnreadableFoldersRecoverToAnOpenableAncestor)
{
    TempFolderTree tree;
    const QString a = tree.Folder(QStringLiteral("a"));
    tree.Link(QStringLiteral("a/self"), tree.Path(QStringLiteral("a/self")));
    tree.Link(QStringLiteral("a/dangling"), tree.Path(QStringLiteral("nowhere")));
    tree.Link(QStringLiteral("a/up"), a);
    EXPECT_FALSE(CanOpenFolder(tree.Path(QStringLiteral("a/self"))));
    EXPECT_EQ(NearestOpenableFolder(tree.Path(QStringLiteral("a/self/x"))), a);
    EXPECT_EQ(NearestOpenableFolder(tree.Path(QStringLiteral("a/dangling"))), a);
    // A cycle through a link is a valid (long) path, not a hang.
    EXPECT_TRUE(CanOpenFolder(tree.Path(QStringLiteral("a/up/up/up/up"))));
    // Loops never show up as sub-folders.
    bool ok = false;
    const QList<SubFolder> subs = SubFolders(a, &ok);
    ASSERT_TRUE(ok);
    ASSERT_EQ(subs.size(), 1);
    EXPECT_EQ(subs[0].display, QStringLiteral("up"));

    const QString locked = tree.Folder(QStringLiteral("a/locked/inner"));
    TempFolderTree::Mode(tree.Path(QStringLiteral("a/locked")), 0);
    {
        AsUnprivileged user;
        ASSERT_TRUE(user.Effective());
        EXPECT_FALSE(CanOpenFolder(tree.Path(QStringLiteral("a/locked"))));
        EXPECT_EQ(NearestOpenableFolder(locked), a);
        EXPECT_TRUE(TranslateDisplayPath(tree.Path(QStringLiteral("a/LOCKED"))).isEmpty());
    }
    TempFolderTree::Mode(tree.Path(QStringLiteral("a/locked")), 0755);
}

TEST(FolderPathsTest, TypedPathsFindFoldersIgnoringCaseOnlyWhenTheExactNameIsMissing)
{
    TempFolderTree tree;
    const QString mixed = tree.Folder(QStringLiteral("Music/日本語"));
    EXPECT_EQ(TranslateDisplayPath(tree.Path(QStringLiteral("music/日本語/"))), mixed);
    EXPECT_TRUE(TranslateDisplayPath(tree.Path(QStringLiteral("music/other"))).isEmpty());
    EXPECT_TRUE(TranslateDisplayPath(QStringLiteral("relative/path")).isEmpty());
    tree.Folder(QStringLiteral("Music/ab"));
    const QString upper = tree.Folder(QStringLiteral("Music/AB"));
    EXPECT_EQ(TranslateDisplayPath(upper), upper);
}

TEST(FolderPathsTest, NewFolderPromptKeepsWholeCharactersOfLongPaths)
{
    EXPECT_EQ(NewFolderPrompt(QStringLiteral("/short")), QStringLiteral("/short/     "));
    const QString ascii = QStringLiteral("/aaaaaaaaaa/bbbbbbbbbb/cccccccccc/dddddddddd");
    EXPECT_EQ(NewFolderPrompt(ascii), QStringLiteral("...") + (ascii + u'/').right(36) + QStringLiteral("     "));
    // 38 bytes exactly are shown whole.
    const QString exact = QStringLiteral("/") + QString(36, u'x');
    EXPECT_EQ(NewFolderPrompt(exact), exact + QStringLiteral("/     "));

    // Two-byte characters: 36 bytes from the end can start on a second byte,
    // which would show as a stray half.
    for (const QString &tail : {QStringLiteral("/ドライブ/ソフト/フォルダー/日本語の名前/x"),
                                QStringLiteral("/ドライブ/ソフト/フォルダー/日本語の名前/xy")}) {
        const QString prompt = NewFolderPrompt(QStringLiteral("/folder") + tail);
        ASSERT_TRUE(prompt.startsWith(QStringLiteral("...")));
        const QString shown = prompt.mid(3).chopped(5);
        EXPECT_FALSE(shown.contains(QChar::ReplacementCharacter)) << shown.toStdString();
        const auto bytes = Cp932::byteLength(shown);
        EXPECT_TRUE(bytes == 36 || bytes == 35) << bytes;
        EXPECT_TRUE((QStringLiteral("/folder") + tail + u'/').endsWith(shown));
    }
}

TEST(FolderPathsTest, OnlyPlainNamesMakeANewFolder)
{
    EXPECT_TRUE(IsPlainFolderName(QStringLiteral("新しいフォルダー")));
    for (const QString &bad : {QString(), QStringLiteral("."), QStringLiteral(".."), QStringLiteral("../x"),
                               QStringLiteral("a/b"), QStringLiteral("a") + QChar(u'\0')})
        EXPECT_FALSE(IsPlainFolderName(bad)) << bad.toStdString();
}

TEST(MountedDrivesTest, OnlyFileSystemsAUserCaresAboutBecomeDrives)
{
    const QList<VolumeFacts> volumes{
        {"/", "overlay", "overlay", ""},
        {"/proc", "proc", "proc", ""},
        {"/sys/fs/cgroup", "cgroup2", "cgroup2", ""},
        {"/dev/shm", "tmpfs", "shm", ""},
        {"/snap/core/1", "squashfs", "/dev/loop0", ""},
        {"/boot/efi", "vfat", "/dev/sda1", "EFI"},
        {"/home", "ext4", "/dev/sda3", "HOME"},
        {"/media/me/STICK", "vfat", "/dev/sdb1", "STICK"},
        {"/run/media/me/DISC", "iso9660", "/dev/sr0", "DISC"},
        {"/mnt/nas", "nfs4", "nas:/export", ""},
        {"/mnt/ram", "tmpfs", "tmpfs", ""},
        {"/opt/prog", "xfs", "/dev/sdc1", ""},
        {"/home", "ext4", "/dev/sda3", "HOME"},
    };
    const QList<DriveEntry> drives = SelectDrives(volumes, {QStringLiteral("/opt/prog")});
    EXPECT_EQ(Roots(drives), (QStringList{"/", "/home", "/media/me/STICK", "/mnt/nas", "/mnt/ram", "/opt/prog",
                                          "/run/media/me/DISC"}));
    auto kind = [&drives](const char *root) {
        for (const DriveEntry &d : drives)
            if (d.root == QLatin1String(root))
                return d.kind;
        return DriveKind::Fixed;
    };
    EXPECT_EQ(kind("/media/me/STICK"), DriveKind::Removable);
    EXPECT_EQ(kind("/run/media/me/DISC"), DriveKind::CdRom);
    EXPECT_EQ(kind("/mnt/nas"), DriveKind::Network);
    EXPECT_EQ(kind("/mnt/ram"), DriveKind::Ram);
    EXPECT_EQ(DriveLabelText(drives[1]), QStringLiteral("[HOME]"));
    EXPECT_EQ(DriveLabelText(drives[0]), QStringLiteral("[]"));
    EXPECT_EQ(DriveLabelText(drives[3]), QStringLiteral("nas:/export"));

    // A drive holds its own folders, not those of a sibling with a longer name.
    EXPECT_EQ(DriveRootOf(QStringLiteral("/home/me/x"), drives), QStringLiteral("/home"));
    EXPECT_EQ(DriveRootOf(QStringLiteral("/homework"), drives), QStringLiteral("/"));
    EXPECT_EQ(DriveRootOf(QStringLiteral("/media/me/STICK"), drives), QStringLiteral("/media/me/STICK"));
    // Without any volume list "/" is still there.
    EXPECT_EQ(Roots(SelectDrives({}, {})), (QStringList{"/"}));
}

TEST(MountedDrivesTest, AFolderThatIsNoLongerAMountRootIsNotReady)
{
    EXPECT_TRUE(DriveReady(QStringLiteral("/")));
    TempFolderTree tree;
    // An empty mount folder left behind after the medium went away.
    EXPECT_FALSE(DriveReady(tree.Folder(QStringLiteral("media/STICK"))));
    EXPECT_FALSE(DriveReady(tree.Path(QStringLiteral("missing"))));
}
