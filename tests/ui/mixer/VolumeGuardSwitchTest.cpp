// The volume guard in the main window: switched by the Options menu and by
// the stored "Guard_RecV", shown by strip 2's "G", and its notice a box that
// leaves the guard running.
#include "support/MainWindowFixture.h"

#include "core/mixer/VolumeGuard.h"
#include "platform/sim/SimTopology.h"
#include "ui/mixer/VolumeGuardSwitch.h"
#include "ui/mixer/VolumeStrip.h"

#include <QApplication>
#include <QLabel>
#include <gtest/gtest.h>

using namespace nuvask;

namespace {

constexpr quint32 RecVolume = 9; // strip 2's default line: the demo board's recording MAIN

// A board that knows who records, as a sound server does.
struct ServerLikeBoard : SimMixerBoard {
    using SimMixerBoard::SimMixerBoard;
    void recordingClients(MixerHandle, quint32, const RecordingClientsAnswer &answer) override
    {
        answer({QStringLiteral("RogueCall"), QStringLiteral("Browser")}, true);
    }
};

struct VolumeGuardSwitchTest : test::MainWindowFixture {
    ServerLikeBoard board{QList<SimDevice>{sim::DemoDevice()}};

    quint32 outside(quint32 value)
    {
        board.changeExternally(0, RecVolume, {value});
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
        return board.valuesOf(0, RecVolume).value(0);
    }
    static QLabel *mark(const TKELDO_NUVASK &w) { return w.strip(2)->findChild<QLabel *>("Label_GUARD_2"); }
    // A window started with the guard switched on in the settings.
    std::unique_ptr<TKELDO_NUVASK> startGuarded()
    {
        store("Version", "23");
        store("Guard_RecV", "1");
        auto w = std::make_unique<TKELDO_NUVASK>(reg, board);
        w->show();
        EXPECT_TRUE(waitForStartup(*w));
        return w;
    }
};

TEST_F(VolumeGuardSwitchTest, StoredSwitchGuardsStripTwoAndTheMenuTurnsItOffAndSavesIt)
{
    {
        const std::unique_ptr<TKELDO_NUVASK> window = startGuarded();
        TKELDO_NUVASK &w = *window;
        EXPECT_TRUE(w.menu().MO_Guard_RecV->isChecked());
        ASSERT_NE(mark(w), nullptr);
        EXPECT_TRUE(mark(w)->isVisible());
        EXPECT_EQ(mark(w)->text(), "G");
        EXPECT_EQ(outside(60000), 32768u);

        w.menu().MO_Guard_RecV->trigger();
        EXPECT_FALSE(mark(w)->isVisible());
        EXPECT_EQ(outside(60000), 60000u);
        w.close();
    }
    EXPECT_EQ(stored("Guard_RecV"), "0");

    // A missing value is off.
    reg.open(RegRoot::CurrentUser, test::kSettingsKey, false)->deleteValue("Guard_RecV");
    TKELDO_NUVASK again(reg, board);
    ASSERT_TRUE(waitForStartup(again));
    EXPECT_FALSE(again.menu().MO_Guard_RecV->isChecked());
    EXPECT_FALSE(again.guard().On());
}

TEST_F(VolumeGuardSwitchTest, NoticeNamesTheRecordingProgramsAndDoesNotStopTheGuard)
{
    const std::unique_ptr<TKELDO_NUVASK> window = startGuarded();
    TKELDO_NUVASK &w = *window;
    qint64 now = 0;
    w.guard().SetClock([&now] { return now; });

    for (int i = 0; i < 30; ++i) {
        EXPECT_EQ(outside(50000 + quint32(i)), 32768u);
        now += 200;
    }
    TMKBox *box = w.guardSwitch().NoticeBox();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isVisible());
    EXPECT_FALSE(box->isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    const QString text = test::BoxText(box);
    EXPECT_TRUE(text.contains("録音ボリューム ガード")) << text.toStdString();
    EXPECT_TRUE(text.contains("　RogueCall\n　Browser\n")) << text.toStdString();

    // With the box standing, the guard goes on; the fight is told only once.
    for (int i = 0; i < 30; ++i) {
        EXPECT_EQ(outside(1000 + quint32(i)), 32768u);
        now += 200;
    }
    EXPECT_EQ(w.guardSwitch().NoticeBox(), box);
    box->done(mkresult::kOk);
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.guardSwitch().NoticeBox() == nullptr; }, 1000));
}

} // namespace
