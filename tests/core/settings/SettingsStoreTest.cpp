#include "core/settings/SettingsStore.h"
#include "platform/linux/SettingsFileStore.h"
#include "support/TempXdg.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace nuvask;

namespace {

const QString kKey = "Software\\KELDO SOFT32\\NUVASK";

// A registry that records the order of writes and fails the n-th one.
class RecordingSettingsTree : public SettingsFileStore
{
public:
    QStringList written;
    QStringList deleted;
    int failAt = -1;
    bool writeString(SettingsRoot root, const QString &path, const QString &name, const QString &value) override
    {
        if (written.size() == failAt)
            return false;
        written << name;
        return SettingsFileStore::writeString(root, path, name, value);
    }
    // Value by value, so that each write is seen and can fail on its own.
    bool writeStrings(SettingsRoot root, const QString &path, const SettingsValues &values) override
    {
        ++batches;
        return ISettingsTree::writeStrings(root, path, values);
    }
    int batches = 0;
    bool deleteValue(SettingsRoot root, const QString &path, const QString &name) override
    {
        deleted << name;
        return SettingsFileStore::deleteValue(root, path, name);
    }
};

} // namespace

TEST(SettingsStore, MissingKeyGivesEveryDefault)
{
    test::TempXdg xdg;
    SettingsFileStore reg;
    SettingsStore store(reg);
    EXPECT_EQ(store.readVersion(), QString("255"));
    const CreationSettings c = store.readCreation();
    EXPECT_EQ(c.hiddenStrip, -1);
    EXPECT_FALSE(c.position.has_value());
    const StartupSettings s = store.readStartup();
    EXPECT_TRUE(s.miniHelp);
    EXPECT_FALSE(s.backColor);
    EXPECT_TRUE(s.keldoColor);
    EXPECT_TRUE(s.mostTop);
    EXPECT_FALSE(s.autoRecV);
    EXPECT_TRUE(s.meterOn);
    EXPECT_EQ(s.cutLevel, 32763);
    EXPECT_EQ(s.rlWait, 0);
    const char *dst[] = {"4", "4", "7"}, *src[] = {"4", "4104", "7"};
    for (int n = 0; n < kStripCount; ++n) {
        EXPECT_EQ(s.strips[n].device, 0);
        EXPECT_EQ(s.strips[n].destType, QString(dst[n]));
        EXPECT_EQ(s.strips[n].srcType, QString(src[n]));
    }
    // Reading never creates the key.
    EXPECT_FALSE(reg.keyExists(SettingsRoot::CurrentUser, kKey));
}

TEST(SettingsStore, EachValueIsGuardedOnItsOwn)
{
    test::TempXdg xdg;
    SettingsFileStore reg;
    auto key = reg.open(SettingsRoot::CurrentUser, kKey, true);
    key->writeString("minihelp", "abc");   // not a number: default on
    key->writeString("BackColor", "7");    // any non-zero number is on
    key->writeString("KELDO_COLOR", "0");
    key->writeString("MostTOP", " 1");     // blanks make it not a number
    key->writeString("ML_Mixer1", "5");
    key->writeString("ML_Mixer2", "99999999999"); // does not fit: default
    key->writeString("ML_SRC1", "");       // empty keeps the default text
    key->writeString("ML_DST2", "x7");     // kept as text, compared later
    key->writeString("V_CUT", "40000");    // clamped
    key->writeString("RL_WAIT", "3");
    key->writeString("V_Name", QString::fromUtf8("録音用"));
    const StartupSettings s = SettingsStore(reg).readStartup();
    EXPECT_TRUE(s.miniHelp);
    EXPECT_TRUE(s.backColor);
    EXPECT_FALSE(s.keldoColor);
    EXPECT_TRUE(s.mostTop);
    EXPECT_EQ(s.strips[1].device, 5);
    EXPECT_EQ(s.strips[2].device, 0);
    EXPECT_EQ(s.strips[1].srcType, QString("4104"));
    EXPECT_EQ(s.strips[2].destType, QString("x7"));
    EXPECT_EQ(s.cutLevel, 32763);
    EXPECT_EQ(s.rlWait, 3);
    EXPECT_EQ(s.vName, QString::fromUtf8("録音用"));
    key->writeString("V_CUT", "-5");
    EXPECT_EQ(SettingsStore(reg).readStartup().cutLevel, 0);
}

TEST(SettingsStore, PositionAndHiddenStripAtCreation)
{
    test::TempXdg xdg;
    SettingsFileStore reg;
    SettingsStore store(reg);
    auto key = reg.open(SettingsRoot::CurrentUser, kKey, true);
    key->writeString("FP", "10,20");
    key->writeString("V_Panel", "1");
    EXPECT_EQ(store.readCreation().position, QPoint(10, 20));
    EXPECT_EQ(store.readCreation().hiddenStrip, 1);
    for (const char *bad : {"10;20", "10", ",20", "10,", "a,20", "10,20,30"}) {
        key->writeString("FP", bad);
        EXPECT_FALSE(store.readCreation().position.has_value()) << bad;
    }
    key->writeString("FP", "-30,-4");
    EXPECT_EQ(store.readCreation().position, QPoint(-30, -4));
    key->writeString("V_Panel", "one");
    EXPECT_EQ(store.readCreation().hiddenStrip, -1);
}

TEST(SettingsStore, ObsoleteValueIsDeletedInItsPlace)
{
    test::TempXdg xdg;
    RecordingSettingsTree reg;
    auto key = reg.open(SettingsRoot::CurrentUser, kKey, true);
    key->writeString("MIX_Line_ID", "123");
    SettingsStore(reg).readStartup();
    EXPECT_EQ(reg.deleted, QStringList{"MIX_Line_ID"});
    EXPECT_FALSE(key->readStringIfPresent("MIX_Line_ID").has_value());
}

TEST(SettingsStore, WritesInOrderAndStopsAtTheFirstFailure)
{
    test::TempXdg xdg;
    RecordingSettingsTree reg;
    SettingsStore store(reg);
    SavedSettings v;
    v.position = QPoint(12, 34);
    v.hiddenStrip = 1;
    v.strips[2] = {1, "7", "4099", "Rear Mic"};
    v.cutLevel = 20000;
    v.rlWait = 4;
    v.mostTop = false;
    ASSERT_TRUE(store.write(v));
    // One change of the store: each change is a lock and a synced file
    // replacement, and twenty of them kept the closing program alive.
    EXPECT_EQ(reg.batches, 1);
    const QStringList order{"FP", "BackColor", "minihelp", "KELDO_COLOR", "V_Name", "MostTOP", "V_Panel",
                            "ML_DST0", "ML_SRC0", "ML_DST1", "ML_SRC1", "ML_DST2", "ML_SRC2",
                            "ML_Mixer0", "ML_Mixer1", "ML_Mixer2", "Auto_RecV", "Meter_ON", "V_CUT", "RL_WAIT",
                            "ML_SRC_NAME0", "ML_SRC_NAME1", "ML_SRC_NAME2", "Guard_RecV"};
    EXPECT_EQ(reg.written, order);
    auto key = reg.open(SettingsRoot::CurrentUser, kKey, false);
    EXPECT_EQ(key->readString("FP"), QString("12,34"));
    EXPECT_EQ(key->readString("MostTOP"), QString("0"));
    EXPECT_EQ(key->readString("ML_SRC2"), QString("4099"));

    // A restart reads back what was written.
    const StartupSettings s = store.readStartup();
    EXPECT_EQ(s.strips[2].device, 1);
    EXPECT_EQ(s.strips[2].srcType, QString("4099"));
    EXPECT_EQ(s.strips[2].srcName, QString("Rear Mic"));
    EXPECT_EQ(s.strips[1].srcName, QString()); // a line without a name: restored by type alone
    EXPECT_EQ(s.cutLevel, 20000);
    EXPECT_EQ(store.readCreation().hiddenStrip, 1);

    // Fail the 8th write ("ML_DST0"): the values after it keep their old text.
    reg.written.clear();
    reg.failAt = 7;
    v.position = QPoint(1, 2);
    v.cutLevel = 5;
    EXPECT_FALSE(store.write(v));
    EXPECT_EQ(reg.written.size(), 7);
    EXPECT_EQ(key->readString("FP"), QString("1,2"));
    EXPECT_EQ(key->readString("V_CUT"), QString("20000"));
}
