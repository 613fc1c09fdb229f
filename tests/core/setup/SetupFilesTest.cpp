// The file routines of installation and uninstallation at their boundaries:
// block-sized files, missing and unwritable files, and paths that only look
// alike.
#include "core/setup/SetupFiles.h"
#include "core/setup/SetupTexts.h"
#include "support/TestFiles.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace nuvask;

namespace {

QByteArray Pattern(qint64 size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qint64 i = 0; i < size; ++i)
        bytes[i] = char((i * 131 + i / 251) & 0xFF);
    return bytes;
}

QString Write(const QString &path, const QByteArray &bytes, const QDateTime &modified = {})
{
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    if (modified.isValid())
        f.setFileTime(modified, QFileDevice::FileModificationTime);
    return path;
}

QByteArray Read(const QString &path)
{
    return test::ReadFile(path);
}

} // namespace

TEST(SetupFiles, CopiesAtAndAroundTheBlockSizeByteForByteWithTheDate)
{
    QTemporaryDir dir;
    const QDateTime stamp = QDateTime::fromSecsSinceEpoch(1000000000); // 2001
    for (qint64 size : {qint64(0), kCopyBlockLarge - 1, kCopyBlockLarge, kCopyBlockLarge + 1, 2 * kCopyBlockLarge}) {
        const QByteArray bytes = Pattern(size);
        const QString from = Write(dir.filePath("from"), bytes, stamp);
        const QString to = dir.filePath("to");
        ASSERT_EQ(CopyFileChunked(from, to), QString()) << size;
        EXPECT_EQ(Read(to), bytes) << size;
        EXPECT_EQ(QFileInfo(to).lastModified(), stamp) << size;
    }
    // The small block over a file of exactly three of them.
    const QByteArray bytes = Pattern(3 * kCopyBlockSmall);
    ASSERT_EQ(CopyFileChunkedWith(Write(dir.filePath("s"), bytes), dir.filePath("t"), kCopyBlockSmall), QString());
    EXPECT_EQ(Read(dir.filePath("t")), bytes);
}

TEST(SetupFiles, AFailedCopyLeavesNoDestinationAndSaysSo)
{
    QTemporaryDir dir;
    const QString to = Write(dir.filePath("to"), "old");
    EXPECT_EQ(CopyFileChunked(dir.filePath("missing"), to), setupText::CopyError());
    EXPECT_EQ(Read(to), "old") << "a missing source truncated the destination";
    EXPECT_EQ(CopyFileChunked(Write(dir.filePath("from"), "x"), dir.filePath("no/such/folder/to")), setupText::CopyError());
    // A folder read as a file fails on its first read, and the half-made copy goes.
    QDir().mkdir(dir.filePath("sub"));
    EXPECT_EQ(CopyFileChunked(dir.filePath("sub"), dir.filePath("to2")), setupText::CopyError());
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("to2")));
}

TEST(SetupFiles, AncestorsShortestFirst)
{
    EXPECT_EQ(SplitAncestors("/a/b c/ソフト/"), QStringList({"/", "/a", "/a/b c", "/a/b c/ソフト"}));
    EXPECT_EQ(SplitAncestors("/"), QStringList({"/"}));
    EXPECT_TRUE(SplitAncestors(QString()).isEmpty());
}

TEST(SetupFiles, PathsCompareAsTheFileSystemDoes)
{
    QTemporaryDir dir;
    QDir().mkdir(dir.filePath("inst"));
    QFile::link(dir.filePath("inst"), dir.filePath("link"));
    EXPECT_TRUE(SamePath(dir.filePath("link") + "/", dir.filePath("inst")));
    EXPECT_TRUE(SamePath(dir.filePath("inst/../inst"), dir.filePath("inst")));
    EXPECT_FALSE(SamePath(dir.filePath("INST"), dir.filePath("inst")));
    EXPECT_FALSE(SamePath(dir.filePath("Inst"), dir.filePath("inst")));

    QString typed = dir.filePath("link");
    ASSERT_TRUE(ResolveShellPath(typed));
    EXPECT_EQ(typed, QFileInfo(dir.filePath("inst")).canonicalFilePath());
    QString otherCase = dir.filePath("INST");
    EXPECT_FALSE(ResolveShellPath(otherCase));
    QString relative = "inst";
    EXPECT_FALSE(ResolveShellPath(relative));
}

TEST(SetupFiles, ContentDecidesSameness)
{
    QTemporaryDir dir;
    const QString a = Write(dir.filePath("a"), Pattern(70000));
    QByteArray changed = Pattern(70000);
    changed[69999] = char(changed[69999] ^ 1);
    EXPECT_TRUE(SameContent(a, Write(dir.filePath("b"), Pattern(70000))));
    EXPECT_FALSE(SameContent(a, Write(dir.filePath("c"), changed))) << "same size, other bytes";
    EXPECT_FALSE(SameContent(a, dir.filePath("missing")));
}

TEST(SetupFiles, ClearReadOnlyReportsWhatItDid)
{
    QTemporaryDir dir;
    const QString f = Write(dir.filePath("f"), "x");
    EXPECT_EQ(ClearReadOnly(f), 0);
    QFile::setPermissions(f, QFile::ReadOwner);
    EXPECT_EQ(ClearReadOnly(f), 1);
    EXPECT_TRUE(QFileInfo(f).permissions() & QFile::WriteOwner);
    EXPECT_EQ(ClearReadOnly(dir.filePath("missing")), 255);
}
