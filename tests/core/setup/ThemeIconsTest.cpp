// The program's icon in a user's icon folder: the install writes every
// rendering and remembers the folders it made; the uninstall takes exactly
// those files away, however the stored list was changed.
#include "core/settings/SettingsStore.h"
#include "core/setup/MadeFolders.h"
#include "core/setup/ThemeIcons.h"
#include "platform/linux/SettingsFileStore.h"
#include "support/TempXdg.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
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
    test::TempXdg xdg;
    QString icons = xdg.dataHome() + "/icons";
};

} // namespace

TEST_F(ThemeIconsTest, InstallWritesEveryRenderingAndTheUninstallTakesOnlyWhatItMade)
{
    SettingsFileStore settingsTree;
    settingsTree.open(SettingsRoot::CurrentUser, SettingsKeyPath("NUVASK"), true)->writeString("Version", "23");
    MadeFolders made(settingsTree, SettingsKeyPath("NUVASK"));
    // Another program's icon in a size folder that was there before.
    WriteFile(icons + "/hicolor/48x48/apps/other.png", "other");
    QStringList files;
    ASSERT_TRUE(ThemeIcons(kSource, icons).Install(&made, files));

    const QStringList expected = SourceIcons();
    ASSERT_EQ(expected.size(), 9) << "eight sizes and the SVG";
    files.sort();
    EXPECT_EQ(files, expected);
    for (const QString &file : expected)
        EXPECT_EQ(ReadFile(icons + "/" + file), ReadFile(kSource + "/" + file)) << file.toStdString();
    EXPECT_TRUE(made.Remembered().contains(icons + "/hicolor/16x16/apps"));
    EXPECT_FALSE(made.Remembered().contains(icons + "/hicolor/48x48/apps"));

    ThemeIcons(kSource, icons).Remove(files);
    EXPECT_TRUE(MadeFolders::RemoveEmpty(made.Remembered()).isEmpty());
    EXPECT_EQ(ReadFile(icons + "/hicolor/48x48/apps/other.png"), "other");
    QDirIterator left(icons, QDir::AllEntries | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    QStringList leftover;
    while (left.hasNext())
        leftover << left.next().mid(icons.size() + 1);
    leftover.sort();
    EXPECT_EQ(leftover, QStringList({"hicolor", "hicolor/48x48", "hicolor/48x48/apps", "hicolor/48x48/apps/other.png"}));
}

TEST_F(ThemeIconsTest, AChangedListRemovesNothingButTheProgramsIcons)
{
    WriteFile(xdg.root() + "/victim.png", "v");
    WriteFile(xdg.dataHome() + "/nuvask.png", "v");
    WriteFile(icons + "/hicolor/16x16/apps/notes.txt", "v");
    WriteFile(icons + "/hicolor/16x16/apps/nuvask.png", "ours");
    ThemeIcons(kSource, icons)
        .Remove({"../../victim.png", "../nuvask.png", "hicolor/../../nuvask.png", xdg.root() + "/victim.png",
                 "hicolor/16x16/apps/notes.txt", "hicolor/16x16/apps/./nuvask.png"});
    for (const QString &file : {xdg.root() + "/victim.png", xdg.dataHome() + "/nuvask.png",
                                icons + "/hicolor/16x16/apps/notes.txt", icons + "/hicolor/16x16/apps/nuvask.png"})
        EXPECT_TRUE(QFileInfo::exists(file)) << file.toStdString();
}

TEST_F(ThemeIconsTest, AFolderThatCannotBeMadeFailsAndListsWhatWasWritten)
{
    WriteFile(icons + "/hicolor/16x16", "a file where a folder belongs");
    QStringList files;
    EXPECT_FALSE(ThemeIcons(kSource, icons).Install(nullptr, files));
    EXPECT_FALSE(files.contains("hicolor/16x16/apps/nuvask.png"));
    EXPECT_TRUE(files.contains("hicolor/48x48/apps/nuvask.png")) << "the other sizes are still written";
    EXPECT_EQ(ReadFile(icons + "/hicolor/16x16"), "a file where a folder belongs");
}
