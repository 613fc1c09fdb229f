// The registered-volume list: loading in case-insensitive order with the
// values kept beside their names, picking, renaming, new names, deleting, and
// what is written back, against a recording fake of the panel's widgets.
#include "core/presets/RegisteredVolumes.h"
#include "core/mixer/MixerLayer.h"
#include "core/presets/RegisteredVolumeFiles.h"
#include "core/presets/RegisteredVolumeTexts.h"
#include "platform/sim/SimMixerBoard.h"
#include "support/TestFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace nuvask;

namespace {

struct FakePresetView : RegisteredVolumeView
{
    QStringList names;
    int picked = -2;
    QString value, editName, registerCaption;
    bool panel = false;
    QString now = QStringLiteral("256");
    bool nowShown = true;
    QStringList messages;

    void ShowNames(const QStringList &n, int p) override { names = n, picked = p; }
    void ShowValue(const QString &v) override { value = v; }
    void ShowEditName(const QString &n) override { editName = n; }
    QString EditName() const override { return editName; }
    void ShowRegisterCaption(const QString &c) override { registerCaption = c; }
    void ShowEditPanel(bool shown) override { panel = shown; }
    QString CurrentVolumeText() const override { return now; }
    bool CurrentVolumeShown() const override { return nowShown; }
    void ShowMessage(const QString &text) override { messages.append(text); }
};

struct NoHost : MixerHost
{
    void SetAutoMarkVisible(int, bool) override {}
    void SetPeakTimerRunning(bool) override {}
    void MixerControlChange(MixerHandle, quint32) override {}
    bool AutoRecVChecked() const override { return false; }
};

class RegisteredVolumesTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    SimMixerBoard board{QList<SimDevice>{}};
    NoHost host;
    MixerLayer layer{board, host};
    FakePresetView view;
    RegisteredVolumes presets{layer, view};
    RegisteredVolumeFiles files{dir.path() + QLatin1Char('/'), QStringLiteral("NUVASK")};

    void put(const char *name, const QByteArray &bytes) { test::WriteFile(dir.filePath(name), bytes); }
    QByteArray bytesOf(const char *name) const { return test::ReadFile(dir.filePath(name), "<missing>"); }
    void load(const QByteArray &names, const QByteArray &values, const QString &saved = QString())
    {
        put("NUVASKVN.LIS", names);
        put("NUVASKVR.LIS", values);
        presets.Load(files, saved);
    }
    // Picks an entry as the user does in the list.
    void pick(int index)
    {
        view.picked = index;
        presets.ComboBox_RECChange(index);
    }
};

} // namespace

TEST_F(RegisteredVolumesTest, LoadSortsIgnoringCaseAndSavesInScreenOrder)
{
    load("b\r\nA\r\nc\r\n", "1\r\n2\r\n3\r\n");
    EXPECT_EQ(presets.Names(), (QStringList{"A", "b", "c"}));
    EXPECT_EQ(presets.Values(), (QStringList{"2", "1", "3"}));
    EXPECT_EQ(view.names, presets.Names());
    EXPECT_EQ(view.picked, 0);
    EXPECT_EQ(view.value, "2");

    ASSERT_EQ(presets.Save(files), QString());
    EXPECT_EQ(bytesOf("NUVASKVN.LIS"), QByteArray("A\r\nb\r\nc\r\n"));
    EXPECT_EQ(bytesOf("NUVASKVR.LIS"), QByteArray("2\r\n1\r\n3\r\n"));
}

TEST_F(RegisteredVolumesTest, NamesEqualButForCaseKeepTheirOwnValues)
{
    // Looking a name up again after inserting it would find "a" for "A" and
    // put 3 beside the wrong entry.
    load("b\r\na\r\nA\r\nB\r\n", "1\r\n2\r\n3\r\n4\r\n", QStringLiteral("B"));
    EXPECT_EQ(presets.Names(), (QStringList{"a", "A", "b", "B"}));
    EXPECT_EQ(presets.Values(), (QStringList{"2", "3", "1", "4"}));
    // The saved name is found ignoring case: the first such entry.
    EXPECT_EQ(presets.Picked(), 2);
    EXPECT_EQ(view.value, "1");
}

TEST_F(RegisteredVolumesTest, MissingValuesAre20AndMissingNamesGiveTheDefaultEntry)
{
    load("x\r\ny\r\nz\r\n", "5\r\n", QStringLiteral("Z"));
    EXPECT_EQ(presets.Values(), (QStringList{"5", "20", "20"}));
    EXPECT_EQ(presets.PickedName(), "z");

    QFile::remove(dir.path() + "/NUVASKVN.LIS");
    RegisteredVolumes second{layer, view};
    second.Load(files, QString());
    EXPECT_EQ(second.Names(), QStringList{"R_V000"});
    EXPECT_EQ(second.Values(), QStringList{"20"}); // whatever the values file holds
}

TEST_F(RegisteredVolumesTest, RenamingToAnExistingNameInAnyCaseIsRefused)
{
    load("R_V000\r\nvocal\r\n", "10\r\n30\r\n");
    pick(0);
    presets.Btn_REC_EDITClick();
    EXPECT_TRUE(view.panel);
    EXPECT_EQ(view.editName, "R_V000");
    EXPECT_EQ(view.registerCaption, QString::fromUtf8("登録256"));

    for (const char *taken : {"r_v000", "R_V000", "VOCAL"}) {
        view.editName = QLatin1String(taken);
        presets.Btn_REC_HENKOClick();
        EXPECT_EQ(view.messages.last(), QLatin1String(taken) + QString::fromUtf8("\nこの名称は、既に使われています☆"));
        EXPECT_TRUE(view.panel);
    }
    EXPECT_EQ(view.messages.size(), 3);
    EXPECT_EQ(presets.Names(), (QStringList{"R_V000", "vocal"}));

    // Accepted: in place, not sorted again, still picked, panel closed. A
    // line break would split the entry across two lines of the file.
    view.editName = QStringLiteral("zz\r\ntop");
    presets.Btn_REC_HENKOClick();
    EXPECT_EQ(presets.Names(), (QStringList{"zz top", "vocal"}));
    EXPECT_EQ(presets.Values(), (QStringList{"10", "30"}));
    EXPECT_EQ(view.picked, 0);
    EXPECT_FALSE(view.panel);
}

TEST_F(RegisteredVolumesTest, NewTakesTheFirstFreeNameAndCopiesTheShownValue)
{
    load("R_V000\r\nr_v001\r\n", "40\r\n50\r\n");
    pick(1);
    presets.Btn_REC_EDITClick();
    presets.Btn_REC_SHINKIClick();
    EXPECT_EQ(view.editName, "R_V002");
    EXPECT_EQ(presets.Names(), (QStringList{"R_V000", "r_v001", "R_V002"}));
    EXPECT_EQ(presets.Values(), (QStringList{"40", "50", "50"}));
    EXPECT_EQ(view.picked, 2);
    EXPECT_TRUE(view.panel);

    // Deleting R_V000 frees its name for the next new entry.
    pick(0);
    presets.Btn_REC_DELClick();
    presets.Btn_REC_SHINKIClick();
    EXPECT_EQ(presets.Names(), (QStringList{"r_v001", "R_V002", "R_V000"}));

    // One value under three names: registering on one changes only that one.
    EXPECT_EQ(presets.Values(), (QStringList{"50", "50", "50"}));
    view.now = QStringLiteral("77");
    presets.Btn_REC_SETClick();
    EXPECT_EQ(presets.Values(), (QStringList{"50", "50", "77"}));
    EXPECT_EQ(view.value, "77");
    EXPECT_FALSE(view.panel);

    // Past 999 the counter is written in full.
    QStringList thousand;
    for (int i = 0; i < 1000; ++i)
        thousand.append(QStringLiteral("R_V%1").arg(i, 3, 10, QLatin1Char('0')));
    EXPECT_EQ(RegisteredVolumes::FirstFreeName(thousand), "R_V1000");
}

TEST_F(RegisteredVolumesTest, DeletingPicksTheNeighbourAndTheLastDeletionLeavesTheDefault)
{
    load("a\r\nb\r\n", "1\r\n2\r\n");
    pick(1);
    presets.Btn_REC_DELClick(); // the last entry: the one before it is picked
    EXPECT_EQ(view.picked, 0);
    EXPECT_EQ(view.editName, "a");
    presets.Btn_REC_DELClick();
    EXPECT_EQ(presets.Names(), QStringList{"R_V000"});
    EXPECT_EQ(presets.Values(), QStringList{"20"});
    EXPECT_EQ(view.value, "20");
}

TEST_F(RegisteredVolumesTest, OnlyPlainNonNegativeNumbersAreVolumes)
{
    EXPECT_EQ(RegisteredVolumes::VolumeSteps("128"), 128);
    EXPECT_EQ(RegisteredVolumes::VolumeSteps(" 0 "), 0);
    // A negative number would make the layer set the volume by bar position.
    for (const char *bad : {"-5", "", "abc", "12a", "+3", "1.5", "99999999999"})
        EXPECT_FALSE(RegisteredVolumes::VolumeSteps(QLatin1String(bad)).has_value()) << bad;
}

TEST_F(RegisteredVolumesTest, FilesPastALimitAreToldAtLoadAndKeptByteForByteAtClose)
{
    using Files = RegisteredVolumeFiles;
    const auto lines = [](int count, const QByteArray &text) {
        QByteArray out;
        for (int i = 0; i < count; ++i)
            out += text + QByteArray::number(100000 + i) + "\r\n";
        return out;
    };
    const QString names = dir.path() + "/NUVASKVN.LIS", values = dir.path() + "/NUVASKVR.LIS";
    struct Case
    {
        const char *what;
        QByteArray names, values;
        QString file, limit;
    };
    const Case cases[] = {
        {"50 names too many", lines(Files::MaxLines + 50, "n"), lines(Files::MaxLines + 50, ""), names,
         presetText::PastLines().arg(Files::MaxLines)},
        {"a 300-byte name", "a\r\n" + QByteArray(300, 'x') + "\r\nc\r\n", "1\r\n2\r\n3\r\n", names,
         presetText::PastLineBytes().arg(Files::MaxLineBytes)},
        {"values past a mebibyte", "a\r\n", lines(Files::MaxFileBytes / 200, QByteArray(193, '7')), values,
         presetText::PastFileBytes().arg(Files::MaxFileBytes)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        view.messages.clear();
        load(c.names, c.values);
        ASSERT_EQ(view.messages.size(), 1);
        EXPECT_TRUE(view.messages[0].contains(c.file + "\n" + c.limit)) << view.messages[0].toStdString();
        EXPECT_TRUE(view.messages[0].endsWith(presetText::NotSaved()));
        // The user works with what could be read; the close keeps the files.
        presets.Btn_REC_SHINKIClick();
        EXPECT_EQ(presets.Save(files), QString());
        EXPECT_EQ(bytesOf("NUVASKVN.LIS"), c.names);
        EXPECT_EQ(bytesOf("NUVASKVR.LIS"), c.values);
    }

    // Right at every limit nothing is past it: read whole, written back as read.
    QByteArray atNames = lines(Files::MaxLines - 1, "n") + QByteArray(Files::MaxLineBytes, 'z') + "\r\n";
    QByteArray atValues = lines(Files::MaxLines, "");
    view.messages.clear();
    load(atNames, atValues);
    EXPECT_TRUE(view.messages.isEmpty()) << view.messages.join('|').toStdString();
    EXPECT_EQ(presets.Names().size(), Files::MaxLines);
    ASSERT_EQ(presets.Save(files), QString());
    EXPECT_EQ(bytesOf("NUVASKVN.LIS"), atNames);
    EXPECT_EQ(bytesOf("NUVASKVR.LIS"), atValues);
}
