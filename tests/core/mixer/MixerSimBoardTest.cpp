// The simulated board's own promises that the mixer layer relies on.
#include "platform/sim/SimTopology.h"

#include <gtest/gtest.h>

using namespace nuvask;

namespace {

TEST(MixerSimBoardTest, BooleansReadBackAsExactlyOne)
{
    SimMixerBoard board({sim::DemoDevice()});
    MixerHandle handle = NoMixerHandle;
    ASSERT_EQ(board.open(0, {}, handle), MixerRc::NoError);
    // The recording MUX (control 11) has two items.
    MixerControlDetails mux{11, 1, 2};
    ASSERT_EQ(board.setControlValues(handle, mux, {0, 0xFFFFFFFFu}), MixerRc::NoError);
    QList<quint32> values;
    ASSERT_EQ(board.controlValues(handle, mux, values), MixerRc::NoError);
    EXPECT_EQ(values, (QList<quint32>{0, 1}));
    // A volume keeps its value.
    MixerControlDetails volume{1, 1, 0};
    ASSERT_EQ(board.setControlValues(handle, volume, {0xFFFFFFFFu}), MixerRc::NoError);
    ASSERT_EQ(board.controlValues(handle, volume, values), MixerRc::NoError);
    EXPECT_EQ(values, QList<quint32>{0xFFFFFFFFu});
}

TEST(MixerSimBoardTest, FaultsMatchSkipAndRetire)
{
    SimMixerBoard board({sim::DemoDevice(), sim::DemoDevice()});
    board.addFault({SimCall::DeviceCaps, 1, -1, -1, 77, 1, 2});
    MixerCaps caps;
    EXPECT_EQ(board.deviceCaps(0, caps), MixerRc::NoError); // other device
    EXPECT_EQ(board.deviceCaps(1, caps), MixerRc::NoError); // skipped once
    EXPECT_EQ(board.deviceCaps(1, caps), 77u);
    EXPECT_EQ(board.deviceCaps(1, caps), 77u);
    EXPECT_EQ(board.deviceCaps(1, caps), MixerRc::NoError); // retired after two
    EXPECT_EQ(caps.destinations, 2u);
}

} // namespace
