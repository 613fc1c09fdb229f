// The program's icon in a user's icon folder: the install writes every
// rendering and remembers only what it created; the uninstall takes exactly
// that away, however the stored record was changed.
#include "core/setup/ThemeIcons.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace nuvask;
using test::ReadFile;
using test::WriteFile;

namespace {

const QString kSource = QStringLiteral(NUVASK_SOURCE_DIR "/data/icons");

// Every icon file the project renders, relative to its icon folder.
QStringList SourceIcons()
{
    QStringList list;
    QDirIterator it(kSource + "/hicolor", QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        list << it.next().mid(kSource.size() + 1);
    list.sort();
    return list;
}

class ThemeIconsTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString icons = dir.path() + "/data/icons";
};

} // namespace

TEST_F(ThemeIconsTest, InstallRecordsWhatItCreatedAndRemoveTakesOnlyThat)
{
    // Another program's icon in a size folder that was there before.
    WriteFile(icons + "/hicolor/48x48/apps/other.png", "other");
    ThemeIconRecord record;
    ASSERT_TRUE(ThemeIcons(kSource, icons).Install(record));

    const QStringList expected = SourceIcons();
    ASSERT_EQ(expected.size(), 9) << "eight sizes and the SVG";
    QStringList files = record.files;
    files.sort();
    EXPECT_EQ(files, expected);
    for (const QString &file : expected)
        EXPECT_EQ(ReadFile(icons + "/" + file), ReadFile(kSource + "/" + file)) << file.toStdString();
    EXPECT_TRUE(record.folders.contains("hicolor/16x16/apps"));
    for (const char *there : {".", "hicolor", "hicolor/48x48", "hicolor/48x48/apps"})
        EXPECT_FALSE(record.folders.contains(there)) << there;

    // Through the stored form, as the uninstall reads it.
    const ThemeIconRecord stored{ThemeIcons::SplitList(ThemeIcons::JoinList(record.files)),
                                 ThemeIcons::SplitList(ThemeIcons::JoinList(record.folders))};
    EXPECT_EQ(stored, record);
    ThemeIcons(kSource, icons).Remove(stored);
    for (const QString &file : expected)
        EXPECT_FALSE(QFileInfo::exists(icons + "/" + file)) << file.toStdString();
    EXPECT_FALSE(QFileInfo::exists(icons + "/hicolor/16x16"));
    EXPECT_FALSE(QFileInfo::exists(icons + "/hicolor/scalable"));
    EXPECT_EQ(ReadFile(icons + "/hicolor/48x48/apps/other.png"), "other");
}

TEST_F(ThemeIconsTest, AnIconFolderTheInstallMadeGoesWithItButNotItsParent)
{
    ThemeIconRecord record;
    ASSERT_TRUE(ThemeIcons(kSource, icons).Install(record));
    EXPECT_EQ(record.folders.value(0), ".");
    ThemeIcons(kSource, icons).Remove(record);
    EXPECT_FALSE(QFileInfo::exists(icons));
    EXPECT_TRUE(QFileInfo(dir.path() + "/data").isDir());
}

TEST_F(ThemeIconsTest, AChangedRecordRemovesNothingOutsideTheProgramsIcons)
{
    WriteFile(dir.path() + "/victim.png", "v");
    WriteFile(dir.path() + "/data/nuvask.png", "v");
    WriteFile(icons + "/hicolor/16x16/apps/notes.txt", "v");
    WriteFile(icons + "/hicolor/16x16/apps/nuvask.png", "ours");
    QDir().mkpath(dir.path() + "/empty");
    const ThemeIconRecord forged{
        {"../../victim.png", "../nuvask.png", "hicolor/../../nuvask.png", dir.path() + "/victim.png",
         "hicolor/16x16/apps/notes.txt", "hicolor/16x16/apps/./nuvask.png"},
        {"..", "../../empty", dir.path() + "/empty", "hicolor/16x16/apps"}};
    ThemeIcons(kSource, icons).Remove(forged);
    for (const QString &file : {dir.path() + "/victim.png", dir.path() + "/data/nuvask.png",
                                icons + "/hicolor/16x16/apps/notes.txt", icons + "/hicolor/16x16/apps/nuvask.png"})
        EXPECT_TRUE(QFileInfo::exists(file)) << file.toStdString();
    EXPECT_TRUE(QFileInfo(dir.path() + "/empty").isDir());
}

TEST_F(ThemeIconsTest, AFolderThatCannotBeMadeFailsAndRecordsWhatWasWritten)
{
    WriteFile(icons + "/hicolor/16x16", "a file where a folder belongs");
    ThemeIconRecord record;
    EXPECT_FALSE(ThemeIcons(kSource, icons).Install(record));
    EXPECT_FALSE(record.files.contains("hicolor/16x16/apps/nuvask.png"));
    EXPECT_TRUE(record.files.contains("hicolor/48x48/apps/nuvask.png")) << "the other sizes are still written";
    ThemeIcons(kSource, icons).Remove(record);
    EXPECT_FALSE(QFileInfo::exists(icons + "/hicolor/48x48"));
    EXPECT_EQ(ReadFile(icons + "/hicolor/16x16"), "a file where a folder belongs");
}
