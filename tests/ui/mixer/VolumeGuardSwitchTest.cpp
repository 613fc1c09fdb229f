// The volume guard in the main window: switched by the stored "Guard_RecV" and
// the Options menu, shown by strip 2's "G", and its notice a box that leaves
// the guard running.
#include "support/MainWindowFixture.h"

#include "core/mixer/VolumeGuard.h"
#include "core/monitor/LevelHistory.h"
#include "platform/sim/SimTopology.h"
#include "ui/mixer/VolumeGuardSwitch.h"
#include "ui/mixer/VolumeStrip.h"

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
        answer({QStringLiteral("RogueCall"), QStringLiteral("Browser")}, RecordingClientsState::Named);
    }
};

using VolumeGuardSwitchTest = test::MainWindowFixture;

TEST_F(VolumeGuardSwitchTest, StoredSwitchGuardsStripTwoTellsWithoutStoppingAndTheMenuTurnsItOff)
{
    ServerLikeBoard board{QList<SimDevice>{sim::DemoDevice()}};
    const auto outside = [&](quint32 value) {
        board.changeExternally(0, RecVolume, {value});
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
        return board.valuesOf(0, RecVolume).value(0);
    };
    store("Version", "23");
    store("Guard_RecV", "1");
    {
        MainWindow w(reg, board);
        w.show();
        ASSERT_TRUE(waitForStartup(w));
        auto *mark = w.strip(2)->findChild<QLabel *>("Label_GUARD_2");
        ASSERT_TRUE(mark && mark->isVisible() && w.menu().MO_Guard_RecV->isChecked());
        qint64 now = 0;
        w.guard().SetClock([&now] { return now; });

        // Fought for 6 s: told once in a box that is not modal, and the guard goes on.
        for (int i = 0; i < 30; ++i, now += 200)
            EXPECT_EQ(outside(50000 + quint32(i)), 32768u);
        // The level history keeps each restore with what the other program had set
        // (the guard answers before the strip shows the change, so no outside change
        // is kept beside it); restores within a second share a record and its count.
        const LevelHistory &h = w.history();
        QList<std::pair<LevelEvent, int>> kept;
        int counted = 0;
        for (qint64 seq = h.FirstSeq(); seq < h.EndSeq(); ++seq) {
            const LevelRecord &r = h.At(seq);
            if (r.event() == LevelEvent::OutsideChange || r.event() == LevelEvent::GuardRestore) {
                kept.append({r.event(), int(r.before) * 1000 + int(r.after)});
                counted += r.count();
            }
        }
        ASSERT_EQ(counted, w.guard().Restores());
        EXPECT_EQ(kept.at(0), std::make_pair(LevelEvent::GuardRestore, 195 * 1000 + 128)); // 50000 -> 32768 units
        MessageBoxWindow *box = w.guardSwitch().NoticeBox();
        ASSERT_TRUE(box && box->isVisible() && !box->isModal());
        EXPECT_TRUE(test::BoxText(box).contains("録音ボリューム ガード：\n")) << test::BoxText(box).toStdString();
        EXPECT_TRUE(test::BoxText(box).contains("　RogueCall\n　Browser\n"));
        for (int i = 0; i < 30; ++i, now += 200)
            EXPECT_EQ(outside(1000 + quint32(i)), 32768u);
        EXPECT_EQ(w.guardSwitch().NoticeBox(), box);

        w.menu().MO_Guard_RecV->trigger();
        EXPECT_FALSE(mark->isVisible());
        EXPECT_EQ(outside(60000), 60000u);
        w.close();
    }
    EXPECT_EQ(stored("Guard_RecV"), "0");
    // A missing value is off.
    reg.open(SettingsRoot::CurrentUser, test::kSettingsKey, false)->deleteValue("Guard_RecV");
    MainWindow again(reg, board);
    ASSERT_TRUE(waitForStartup(again));
    EXPECT_FALSE(again.menu().MO_Guard_RecV->isChecked() || again.guard().On());
}

} // namespace
