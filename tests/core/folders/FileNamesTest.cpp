// File names that are not UTF-8: read from the disk, shown, and written back
// byte for byte; a line break or a control character shown on one line.
#include "core/folders/FileListing.h"
#include "core/folders/FileNames.h"
#include "core/folders/FolderNamespace.h"
#include "core/folders/FolderPaths.h"
#include "support/TempFolderTree.h"

#include <QFile>
#include <QScopeGuard>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace nuvask;
using nuvask::test::TempFolderTree;

TEST(FileNamesTest, EveryByteStringComesBackAsItWentInAndOnlyUndecodableBytesAreEscaped)
{
    const QList<QByteArray> samples{
        QByteArray("plain"),
        QByteArray("日本語のフォルダー"),
        QByteArray("emoji \xF0\x9F\x8E\xB5 ok"),  // four bytes, one pair of UTF-16 units
        QByteArray("latin1 caf\xE9"),             // a lone lead byte
        QByteArray("cp932 \x83\x74\x83\x48"),    // Shift-JIS "フォ"
        QByteArray("overlong \xC0\xAF"),          // "/" written in two bytes
        QByteArray("surrogate \xED\xA0\x80"),     // U+D800 in UTF-8 form
        QByteArray("cut \xE3\x81"),               // a sequence cut short at the end
        QByteArray("past max \xF4\x90\x80\x80"),  // above U+10FFFF
        QByteArray("\xFF\xFE\x80\xBF"),
    };
    for (const QByteArray &bytes : samples) {
        const QString name = DecodeFileName(bytes);
        EXPECT_EQ(EncodeFileName(name), bytes) << bytes.toHex().constData();
        // Valid UTF-8 decodes as usual.
        if (QString::fromUtf8(bytes).toUtf8() == bytes) {
            EXPECT_EQ(name, QString::fromUtf8(bytes));
        }
    }
    // As a settings value (the fuzz target tries every byte string): a UTF-8
    // name as it stands, as earlier versions stored it; others as a file URL.
    EXPECT_EQ(StoredFileName(QStringLiteral("/home/日本語")), QStringLiteral("/home/日本語"));
    EXPECT_EQ(StoredFileName(DecodeFileName("/home/caf\xE9")), QStringLiteral("file:///home/caf%E9"));
    EXPECT_EQ(FileNameFromStored(StoredFileName(QStringLiteral("file:///x%41"))), QStringLiteral("file:///x%41"));
    EXPECT_EQ(DecodeFileName("a\xFF"), QStringLiteral("a") + QChar(0xDCFF));
    EXPECT_EQ(DecodeFileName("\xC0\xAF").size(), 2); // each byte on its own
    // Text the decoder never makes (an unpaired high surrogate) cannot become
    // a byte: it is written as the replacement character.
    EXPECT_EQ(EncodeFileName(QString(QChar(0xD800))), QByteArray("\xEF\xBF\xBD"));
}

TEST(FileNamesTest, ShownNamesStayOnOneLineAndMarkWhatCannotBeShown)
{
    EXPECT_EQ(DisplayName(DecodeFileName("bad\xFF\xFEname")), QStringLiteral("bad\uFFFD\uFFFDname"));
    EXPECT_EQ(DisplayName(QStringLiteral("two\nlines\r")), QStringLiteral("two\u23CElines\u23CE"));
    EXPECT_EQ(DisplayName(QStringLiteral("tab\tbell\x07 del\x7F sep\u2028")),
              QStringLiteral("tab\uFFFDbell\uFFFD del\uFFFD sep\uFFFD"));
    EXPECT_EQ(DisplayName(QStringLiteral("日本語 \U0001F3B5")), QStringLiteral("日本語 \U0001F3B5"));
}

TEST(FileNamesTest, FoldersAndFilesWithSuchNamesAreListedAndTheirPathsOpen)
{
    TempFolderTree tree;
    const QByteArray root = QFile::encodeName(tree.Root());
    const QByteArray folder = root + "/bad\xFF" "folder";
    const QByteArray file = root + "/bad\xE9.txt";
    ASSERT_EQ(::mkdir(folder.constData(), 0755), 0);
    ::close(::open(file.constData(), O_CREAT | O_WRONLY, 0644));
    tree.Folder(QStringLiteral(".hidden"));
    tree.Folder(QStringLiteral("two\nlines"));
    const auto cleanUp = qScopeGuard([&] {
        ::unlink(file.constData());
        ::rmdir(folder.constData());
    });

    bool ok = false;
    const QList<SubFolder> subs = SubFolders(tree.Root(), &ok);
    ASSERT_TRUE(ok);
    QStringList shown;
    for (const SubFolder &sub : subs)
        shown << sub.display;
    EXPECT_EQ(shown, (QStringList{".hidden", "bad\uFFFDfolder", "two\u23CElines"}));
    const SubFolder &bad = subs[1];
    EXPECT_EQ(EncodeFileName(bad.path), folder);
    EXPECT_TRUE(CanOpenFolder(bad.path));
    // A path typed as shown finds the folder too.
    EXPECT_EQ(EncodeFileName(TranslateDisplayPath(tree.Root() + QStringLiteral("/bad\uFFFDfolder"))), folder);

    const FileListing files = ListFiles(tree.Root(), QStringLiteral("*.txt"));
    ASSERT_TRUE(files.ok);
    ASSERT_EQ(files.rows.size(), 1);
    EXPECT_EQ(files.rows[0].name, QStringLiteral("bad\uFFFD.txt"));
    EXPECT_EQ(files.rows[0].type, QStringLiteral("txt"));
}
