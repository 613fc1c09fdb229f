// The two list files of the registered volumes: line breaks, code page 932
// bytes, limits on hostile files, and a save that leaves a matching pair
// whatever stops it.
#include "core/presets/RegisteredVolumeFiles.h"
#include "support/FileSizeLimit.h"
#include "support/ReadOnlyFolder.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace nuvask;

namespace {

class RegisteredVolumeFilesTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString folder() const { return dir.path() + QLatin1Char('/'); }
    RegisteredVolumeFiles files() const { return RegisteredVolumeFiles(folder(), QStringLiteral("NUVASK")); }
    QString names() const { return folder() + "NUVASKVN.LIS"; }
    QString values() const { return folder() + "NUVASKVR.LIS"; }

    static void put(const QString &path, const QByteArray &bytes) { test::WriteFile(path, bytes); }
    static QByteArray bytesOf(const QString &path) { return test::ReadFile(path, "<missing>"); }
    QStringList leftovers() const { return QDir(dir.path()).entryList({"*.new*"}, QDir::Files); }
};

QList<QByteArray> split(const char *bytes, bool truncated = false)
{
    return RegisteredVolumeFiles::SplitLines(QByteArray(bytes), truncated);
}

} // namespace

TEST_F(RegisteredVolumeFilesTest, LinesEndInCrLfCrOrLfAndAFinalBreakStartsNoLine)
{
    using L = QList<QByteArray>;
    EXPECT_EQ(split("a\r\nb\r\n"), (L{"a", "b"}));
    EXPECT_EQ(split("a\nb\n"), (L{"a", "b"}));
    EXPECT_EQ(split("a\rb\r"), (L{"a", "b"}));
    EXPECT_EQ(split("a\rb"), (L{"a", "b"}));
    // Mixed endings; an empty line between is an entry (an empty name).
    EXPECT_EQ(split("a\r\n\nb\rc"), (L{"a", "", "b", "c"}));
    EXPECT_EQ(split("a\r\r\nb"), (L{"a", "", "b"}));
    EXPECT_EQ(split(""), L{});
    EXPECT_EQ(split("\r\n"), L{""});
    // The head of a longer file: its cut last line is not an entry.
    EXPECT_EQ(split("a\r\nbc", true), L{"a"});
    EXPECT_EQ(split("a\r\n", true), L{"a"});

    put(names(), "b\nA\nc");
    put(values(), "1\r2\r3\r");
    RegisteredVolumeFiles f = files();
    const RegisteredVolumeLists read = f.read();
    EXPECT_EQ(read.names, (QStringList{"b", "A", "c"}));
    EXPECT_EQ(read.values, (QStringList{"1", "2", "3"}));
}

TEST_F(RegisteredVolumeFilesTest, WritesCodePage932WithCrLfByteForByte)
{
    RegisteredVolumeFiles f = files();
    ASSERT_EQ(f.write({"A", QString::fromUtf8("録音"), "R_V000", ""}, {"2", "128", "20", "7"}), QString());
    EXPECT_EQ(bytesOf(names()), QByteArray::fromHex("410d0a 985e89b90d0a 525f563030300d0a 0d0a"));
    EXPECT_EQ(bytesOf(values()), QByteArray("2\r\n128\r\n20\r\n7\r\n"));
    EXPECT_TRUE(leftovers().isEmpty());

    // Read back as written, the empty last name included.
    const RegisteredVolumeLists read = files().read();
    EXPECT_EQ(read.names, (QStringList{"A", QString::fromUtf8("録音"), "R_V000", ""}));
    EXPECT_EQ(read.values, (QStringList{"2", "128", "20", "7"}));
}

TEST_F(RegisteredVolumeFilesTest, LinesTheCodecCannotReproduceKeepTheirBytes)
{
    // Bytes that are not code page 932 text, next to a plain line.
    const QByteArray foreign = QByteArray::fromHex("41fdfeff42");
    put(names(), foreign + "\r\nplain\r\n");
    put(values(), "5\r\n6\r\n");
    RegisteredVolumeFiles f = files();
    const RegisteredVolumeLists read = f.read();
    ASSERT_EQ(read.names.size(), 2);
    ASSERT_EQ(f.write(read.names, read.values), QString());
    EXPECT_EQ(bytesOf(names()), foreign + "\r\nplain\r\n");
}

TEST_F(RegisteredVolumeFilesTest, HugeBinaryAndLongLinedFilesAreCutAtTheLimits)
{
    // Two mebibytes of noise as names, far more lines than kept as values.
    QByteArray noise(2 * RegisteredVolumeFiles::MaxFileBytes, '\0');
    QRandomGenerator random(12345);
    for (char &c : noise)
        c = char(random.bounded(256));
    put(names(), noise);
    put(values(), QByteArray("9\r\n").repeated(3 * RegisteredVolumeFiles::MaxLines));

    QElapsedTimer clock;
    clock.start();
    RegisteredVolumeFiles f = files();
    const RegisteredVolumeLists read = f.read();
    EXPECT_LT(clock.elapsed(), 3000); // milliseconds: no stall at start
    EXPECT_GT(read.names.size(), 0);
    EXPECT_LE(read.names.size(), RegisteredVolumeFiles::MaxLines);
    EXPECT_EQ(read.values.size(), RegisteredVolumeFiles::MaxLines);
    // Neither file is written over with the part that was read.
    EXPECT_FALSE(f.LimitMessage().isEmpty());
    EXPECT_EQ(f.write(read.names, read.values), QString());
    EXPECT_EQ(bytesOf(names()), noise);
    EXPECT_TRUE(leftovers().isEmpty());

    // A line of double-byte characters is cut without halving one: あ = 82 A0.
    put(names(), QByteArray::fromHex("82a0").repeated(200) + "\r\n");
    const QStringList cut = files().read().names;
    ASSERT_EQ(cut.size(), 1);
    EXPECT_EQ(cut[0], QString::fromUtf8("あ").repeated(RegisteredVolumeFiles::MaxLineBytes / 2));
}

TEST_F(RegisteredVolumeFilesTest, ASaveStoppedAtAnyStepLeavesAMatchingPair)
{
    const QStringList oldNames{"A", "b"}, oldValues{"1", "2"};
    const QStringList newNames{"x", "y", "z"}, newValues{"7", "8", "9"};
    for (int step = 0; step <= 4; ++step) {
        SCOPED_TRACE(step);
        RegisteredVolumeFiles first = files();
        ASSERT_EQ(first.write(oldNames, oldValues), QString());

        RegisteredVolumeFiles dying = files();
        dying.setStopAfterStep(step);
        ASSERT_EQ(dying.write(newNames, newValues), QString());

        // The next start sees one whole pair: the old one until both new
        // files were complete, the new one from then on.
        const RegisteredVolumeLists read = files().read();
        if (step < 2) {
            EXPECT_EQ(read.names, oldNames);
            EXPECT_EQ(read.values, oldValues);
        } else {
            EXPECT_EQ(read.names, newNames);
            EXPECT_EQ(read.values, newValues);
        }
        EXPECT_TRUE(leftovers().isEmpty()) << leftovers().join(' ').toStdString();
    }

    // Stopped twice in a row, without a start in between: the second save
    // must not pair its values with the first save's names.
    RegisteredVolumeFiles a = files();
    a.setStopAfterStep(3); // values renamed, names still pending
    ASSERT_EQ(a.write(oldNames, oldValues), QString());
    RegisteredVolumeFiles b = files();
    b.setStopAfterStep(1); // values written, names not
    ASSERT_EQ(b.write(newNames, newValues), QString());
    const RegisteredVolumeLists read = files().read();
    EXPECT_EQ(read.names, oldNames);
    EXPECT_EQ(read.values, oldValues);
}

TEST_F(RegisteredVolumeFilesTest, AReadOnlyFolderGivesAMessageAndKeepsTheOldFiles)
{
    RegisteredVolumeFiles f = files();
    ASSERT_EQ(f.write({"old"}, {"1"}), QString());
    const QByteArray oldNames = bytesOf(names()), oldValues = bytesOf(values());
    {
        test::ReadOnlyFolder readOnly(dir.path());
        if (!readOnly.active())
            GTEST_SKIP() << "this file system cannot make a folder read-only for this user";
        const QString error = f.write({"new", "entries"}, {"2", "3"});
        EXPECT_TRUE(error.contains(QString::fromUtf8("登録ボリュームを保存できませんでした☆"))) << error.toStdString();
        EXPECT_TRUE(error.contains(dir.path())) << error.toStdString();
        // Reading still works while the folder is read-only.
        EXPECT_EQ(files().read().names, QStringList{"old"});
    }
    EXPECT_EQ(bytesOf(names()), oldNames);
    EXPECT_EQ(bytesOf(values()), oldValues);
    EXPECT_TRUE(leftovers().isEmpty());
}

TEST_F(RegisteredVolumeFilesTest, AFullDiskOrAnUnencodableNameKeepsTheOldFiles)
{
    RegisteredVolumeFiles f = files();
    ASSERT_EQ(f.write({"old"}, {"1"}), QString());
    const QByteArray oldNames = bytesOf(names()), oldValues = bytesOf(values());

    // No file may grow past 64 bytes: the values fit, the names do not.
    QString full;
    {
        test::FileSizeLimit disk(64); // bytes
        ASSERT_TRUE(disk.active());
        full = f.write({QString(100, QLatin1Char('n'))}, {"2"});
    }
    EXPECT_FALSE(full.isEmpty());
    EXPECT_EQ(bytesOf(names()), oldNames);
    EXPECT_EQ(bytesOf(values()), oldValues);
    EXPECT_TRUE(leftovers().isEmpty()) << leftovers().join(' ').toStdString();

    // A character code page 932 has no place for.
    const QString emoji = QString::fromUtf8("録音\xF0\x9F\x8E\xA4");
    const QString refused = f.write({"fine", emoji}, {"1", "2"});
    EXPECT_TRUE(refused.contains(emoji)) << refused.toStdString();
    EXPECT_EQ(bytesOf(names()), oldNames);
    EXPECT_EQ(bytesOf(values()), oldValues);
}
