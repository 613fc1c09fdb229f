// The folders the program made in shared places: only the levels it made are
// remembered, and only empty ones are ever taken away again.
#include "core/settings/SettingsStore.h"
#include "core/setup/MadeFolders.h"
#include "platform/linux/SettingsFileStore.h"
#include "support/TempXdg.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace nuvask;

TEST(MadeFolders, RemembersTheLevelsItMadeAndTakesAwayOnlyEmptyOnes)
{
    test::TempXdg xdg;
    SettingsFileStore settingsTree;
    const QString key = SettingsKeyPath("NUVASK");
    MadeFolders made(settingsTree, key);
    const QString a = xdg.root() + "/a/b", c = a + "/c", d = c + "/d";

    // Not installed (no settings key): made, but neither remembered nor a key made for it.
    ASSERT_TRUE(made.MakePath(a));
    EXPECT_TRUE(made.Remembered().isEmpty());
    EXPECT_FALSE(settingsTree.keyExists(SettingsRoot::CurrentUser, key));

    settingsTree.open(SettingsRoot::CurrentUser, key, true)->writeString("Version", "23");
    ASSERT_TRUE(made.MakePath(d));
    ASSERT_TRUE(made.MakePath(d)); // there already: nothing more to remember
    EXPECT_EQ(made.Remembered(), (QStringList{d, c}));

    // Someone else's file in the deepest one keeps it and its parent.
    test::WriteFile(d + "/theirs", "x");
    EXPECT_EQ(MadeFolders::RemoveEmpty(made.Remembered()), (QStringList{d, c}));
    ASSERT_TRUE(QFile::remove(d + "/theirs"));
    EXPECT_TRUE(MadeFolders::RemoveEmpty(made.Remembered()).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(c));
    EXPECT_TRUE(QFileInfo(a).isDir()) << "a folder it did not make went";

    // An entry that is no folder given in full is never acted on (the value is
    // the user's to edit), and an empty list takes the value away.
    const QString file = xdg.root() + "/file";
    test::WriteFile(file, "x");
    const QString link = xdg.root() + "/link";
    ASSERT_TRUE(QDir().mkpath(xdg.root() + "/target"));
    ASSERT_TRUE(QFile::link(xdg.root() + "/target", link));
    EXPECT_TRUE(MadeFolders::RemoveEmpty({"a", file, link}).isEmpty());
    EXPECT_TRUE(QFileInfo::exists(file));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_TRUE(QFileInfo(xdg.root() + "/target").isDir());
    made.Remember({});
    EXPECT_FALSE(settingsTree.valueNames(SettingsRoot::CurrentUser, key).contains(MadeFolders::ValueName));
}
