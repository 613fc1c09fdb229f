#include "core/startup/ProgramEntry.h"
#include "core/settings/SettingsStore.h"
#include "platform/linux/SettingsFileStore.h"
#include "support/TempXdg.h"

#include <gtest/gtest.h>

using namespace nuvask;

namespace {

class FakeProbe : public IInstanceProbe
{
public:
    QStringList running;
    QStringList asked;
    QList<QPair<QString, QString>> sent;
    bool windowExists(const QString &cls) override
    {
        asked << cls;
        return running.contains(cls);
    }
    bool sendSecondInstance(const QString &cls, const QString &text) override
    {
        sent.append({cls, text});
        return true;
    }
};

struct EntryFixture : ::testing::Test
{
    test::TempXdg xdg;
    SettingsFileStore reg;
    SettingsStore settings{reg};
    FakeProbe probe;
    void storeVersion(const QString &v)
    {
        reg.open(SettingsRoot::CurrentUser, settings.keyPath(), true)->writeString("Version", v);
    }
    StartDecision start(const QStringList &params, const QString &exe = "/opt/nuvask/nuvask", bool packaged = false)
    {
        return DecideStart(params, exe, probe, settings, packaged);
    }
};

} // namespace

TEST(StartValues, FixedValuesAndDerivedNames)
{
    const StartValues v = MakeStartValues("/opt/ソ/nuvask", '/');
    EXPECT_EQ(v.ProgramTitle, QString::fromUtf8("DORIVA SOUND ボリューム"));
    EXPECT_EQ(v.ProgramVersion, 23);
    EXPECT_EQ(v.ProgramShortName, QString("NUVASK"));
    EXPECT_EQ(v.ProgramDir, QString::fromUtf8("/opt/ソ/"));
    EXPECT_EQ(v.UninstallerFileName, QString("unin_keldo000.exe"));
    EXPECT_EQ(MakeUninstallerFileName(7), QString("unin_keldo007.exe"));
    EXPECT_EQ(MakeUninstallerFileName(1234), QString("unin_keldo234.exe"));
    EXPECT_EQ(VersionText(23), QString("2.3"));
    // The backslash form keeps a trail-byte 5C from counting as a separator.
    EXPECT_EQ(MakeStartValues(QString::fromUtf8("C:\\ソ\\NUVASK.EXE"), '\\').ProgramDir, QString::fromUtf8("C:\\ソ\\"));
}

TEST(StartValues, ParameterJoiningAndHandOverLimit)
{
    EXPECT_EQ(JoinParameters({}), QString());
    EXPECT_EQ(JoinParameters({"a"}), QString("a"));
    EXPECT_EQ(JoinParameters({"X", "y z"}), QString("X?y z"));
    EXPECT_EQ(JoinParameters({"a", "b", "c"}), QString("a?b?c"));
    EXPECT_EQ(HandOverText(QString(255, 'x')), QString(255, 'x'));
    EXPECT_EQ(HandOverText(QString(256, 'x')), QString());
    // Counted in code-page bytes: 128 double-byte characters are 256 bytes.
    EXPECT_EQ(HandOverText(QString(128, QChar(0x30BD))), QString());
    EXPECT_EQ(HandOverText(QString(127, QChar(0x30BD))), QString(127, QChar(0x30BD)));
}

TEST_F(EntryFixture, VersionDecidesBetweenMainAndSetupWindow)
{
    EXPECT_EQ(start({}).outcome, StartOutcome::OpenSetup); // nothing stored: "255"
    storeVersion("22");
    EXPECT_EQ(start({}).outcome, StartOutcome::OpenSetup);
    storeVersion("2.3");
    EXPECT_EQ(start({}).outcome, StartOutcome::OpenSetup); // not an integer
    storeVersion("23");
    EXPECT_EQ(start({}).outcome, StartOutcome::OpenMain);
    EXPECT_EQ(start({}).startMode, StartNormal);
}

TEST_F(EntryFixture, APackagedProgramOpensTheMainWindowAndRecordsItsVersion)
{
    // First start, and a start after another version's setup: never the
    // setup window, not even beside a setup window of another copy.
    probe.running = {"TNUVASK_SETUPFM"};
    for (const char *stored : {"", "22"}) {
        if (*stored)
            storeVersion(stored);
        EXPECT_EQ(start({}, "/usr/lib/nuvask/nuvask", true).outcome, StartOutcome::OpenMain) << stored;
        EXPECT_EQ(settings.readVersion(), "23") << stored;
    }
    // The uninstall still goes to the (hidden) setup window.
    probe.running.clear();
    EXPECT_EQ(start({"/uninstall"}, "/usr/lib/nuvask/nuvask", true).outcome, StartOutcome::OpenSetup);
}

TEST_F(EntryFixture, RunningWindowsRouteTheStart)
{
    storeVersion("23");
    probe.running = {"TNUVASK_SETUPFM"};
    // The setup window is looked for only when the version differs.
    EXPECT_EQ(start({}).outcome, StartOutcome::OpenMain);
    storeVersion("22");
    EXPECT_EQ(start({}).outcome, StartOutcome::ExitSilently);

    probe.running = {"TKELDO_NUVASK"};
    const StartDecision d = start({"X", "y z"});
    EXPECT_EQ(d.outcome, StartOutcome::HandedOver);
    ASSERT_EQ(probe.sent.size(), 1);
    EXPECT_EQ(probe.sent[0].first, QString("TKELDO_NUVASK"));
    EXPECT_EQ(probe.sent[0].second, QString("X?y z"));
}

TEST_F(EntryFixture, UninstallRequestsAndTheUninstallerCopy)
{
    storeVersion("23");
    StartDecision d = start({"/uninstall"});
    EXPECT_EQ(d.startMode, StartUninstallRequested);
    EXPECT_EQ(d.outcome, StartOutcome::OpenSetup);
    // Only the exact first parameter counts.
    EXPECT_EQ(start({"/UNINSTALL"}).outcome, StartOutcome::OpenMain);
    EXPECT_EQ(start({"x", "/uninstall"}).outcome, StartOutcome::OpenMain);
    d = start({}, "/tmp/UNIN_KELDO000.EXE");
    EXPECT_EQ(d.startMode, StartAsUninstaller);
    EXPECT_EQ(d.outcome, StartOutcome::OpenSetup);
    // Refused while either window of the program runs.
    for (const char *running : {"TKELDO_NUVASK", "TNUVASK_SETUPFM"}) {
        probe.running = {QString::fromLatin1(running)};
        d = start({"/uninstall"});
        EXPECT_EQ(d.startMode, StartUninstallRefused) << running;
        EXPECT_EQ(d.outcome, StartOutcome::OpenSetup) << running;
    }
    EXPECT_TRUE(probe.sent.isEmpty()); // an uninstall request is never forwarded
}
