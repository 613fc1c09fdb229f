// The mixer layer's device and line lists over a simulated board.
#include "core/mixer/MixerLayer.h"
#include "platform/sim/SimTopology.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

using namespace nuvask;

namespace {

struct RecordingHost : MixerHost {
    QStringList log;
    QList<std::pair<MixerHandle, quint32>> notifications;
    void SetAutoMarkVisible(int strip, bool visible) override
    {
        log << QStringLiteral("auto%1=%2").arg(strip).arg(visible);
    }
    void SetPeakTimerRunning(bool running) override { log << QStringLiteral("timer=%1").arg(running); }
    void MixerControlChange(MixerHandle handle, quint32 controlId) override
    {
        log << QStringLiteral("change %1").arg(controlId);
        notifications.append({handle, controlId});
    }
    bool AutoRecVChecked() const override { return false; }
};

constexpr quint32 RecLine = 0xFFFF0002u; // a line identifier with the top bit set

// Speakers with a source without controls; a destination with nothing on it; a
// recording destination whose MUX names two of its sources (the last item
// repeats the microphone, and must win) and one line that is not among them.
SimDevice boardWithSkips()
{
    SimDevice device;
    device.productName = QStringLiteral("Board A");
    SimDestination speakers;
    speakers.line = sim::Line(0xFFFF0000u, MixerComponent::DstSpeakers, "Speakers", {sim::Volume(1, 100)});
    speakers.sources = {sim::Line(1, MixerComponent::SrcWaveOut, "Wave", {sim::Volume(2, 5)}),
                        sim::Line(2, MixerComponent::SrcCompactDisc, "CD", {}),
                        sim::Line(3, MixerComponent::SrcMicrophone, "Mic", {sim::Mute(3, false)})};
    SimDestination empty;
    empty.line = sim::Line(0xFFFF0001u, MixerComponent::DstUndefined, "Nothing", {});
    SimDestination recording;
    recording.line = sim::Line(RecLine, MixerComponent::DstWaveIn, "Recording",
                               {sim::Volume(40, 7), sim::Mux(42, {{0x20, "Mic"}, {0x21, "Line"}, {0x20, "Mic again"}}, 0)});
    recording.sources = {sim::Line(0x20, MixerComponent::SrcMicrophone, "Mic", {sim::Volume(43, 1)}),
                         sim::Line(0x22, MixerComponent::SrcAuxiliary, "Aux", {sim::Volume(44, 1)}),
                         sim::Line(0x21, MixerComponent::SrcLine, "Line", {sim::Volume(45, 1)})};
    device.destinations = {speakers, empty, recording};
    return device;
}

class MixerLayerTest : public ::testing::Test {
protected:
    SimMixerBoard board;
    RecordingHost host;
    MixerLayer layer{board, host};

    QString openAll()
    {
        QString error = QStringLiteral("stale");
        layer.MixerOpenAll(error);
        return error;
    }
};

TEST_F(MixerLayerTest, SkipsUnusableLinesAndMovesIndexesDown)
{
    board.devices() = {boardWithSkips()};
    ASSERT_EQ(openAll(), QString());

    EXPECT_EQ(layer.DeviceNameList(), QStringList{"Board A"});
    EXPECT_EQ(layer.DestCount(0), 2);
    EXPECT_EQ(layer.DestNameList(0), (QStringList{"Speakers", "Recording"}));
    EXPECT_EQ(layer.DestTypeList(0), (QStringList{"4", "7"}));
    EXPECT_EQ(layer.DestLineIdList(0), (QStringList{"4294901760", "4294901762"}));

    // MAIN (the destination itself) first, then the sources that have controls.
    EXPECT_EQ(layer.SrcNameList(0, 0), (QStringList{"MAIN", "Wave", "Mic"}));
    EXPECT_EQ(layer.SrcTypeList(0, 0), (QStringList{"4", "4104", "4099"}));
    EXPECT_EQ(layer.SrcLineIdList(0, 0), (QStringList{"4294901760", "1", "3"}));
    EXPECT_EQ(layer.SrcNameList(0, 1), (QStringList{"MAIN", "Mic", "Aux", "Line"}));
    EXPECT_EQ(layer.SrcTypeList(0, 1).first(), "7");
    EXPECT_EQ(layer.SrcLineIdList(0, 1).first(), "4294901762");

    // Destination without a MUX: no indexes. Recording: MAIN and Aux are no
    // items; Line is item 1; Mic is items 0 and 2, the last one wins.
    EXPECT_EQ(layer.SrcMuxIndexList(0, 0), (QStringList{"", "", ""}));
    EXPECT_EQ(layer.SrcMuxIndexList(0, 1), (QStringList{"", "2", "", "1"}));

    // The top-bit identifier reads back unchanged and reaches the board again.
    EXPECT_EQ(MixerLayer::NumberFromText(layer.DestLineIdList(0).at(1)), RecLine);
    EXPECT_EQ(layer.MixerMapMuxItems(0, 1, MixerLayer::NumberFromText(layer.DestLineIdList(0).at(1))), QString());

    // Out-of-range reads are empty, not a crash.
    EXPECT_TRUE(layer.SrcNameList(0, 2).isEmpty());
    EXPECT_TRUE(layer.DestNameList(5).isEmpty());
}

TEST_F(MixerLayerTest, FailedLineQueriesAreSkippedNotErrors)
{
    board.devices() = {boardWithSkips()};
    board.addFault({SimCall::LineByDestination, 0, 0});           // speakers gone
    board.addFault({SimCall::LineBySource, 0, 2, 0});             // recording's Mic gone
    ASSERT_EQ(openAll(), QString());
    EXPECT_EQ(layer.DestNameList(0), QStringList{"Recording"});
    EXPECT_EQ(layer.SrcNameList(0, 0), (QStringList{"MAIN", "Aux", "Line"}));
    EXPECT_EQ(layer.SrcMuxIndexList(0, 0), (QStringList{"", "", "1"}));
}

TEST_F(MixerLayerTest, TablesGrowBeyondFourDevicesAndEightDestinations)
{
    QList<SimDevice> devices;
    for (int d = 0; d < 6; ++d) {
        SimDevice device;
        device.productName = QStringLiteral("Card %1").arg(d);
        for (quint32 i = 0; i < 11; ++i) {
            SimDestination dest;
            dest.line = sim::Line(0xFFFF0000u + i, MixerComponent::DstSpeakers, QStringLiteral("Dest %1").arg(i),
                                  {sim::Volume(i + 1, 0)});
            device.destinations.append(dest);
        }
        devices.append(device);
    }
    board.devices() = devices;
    ASSERT_EQ(openAll(), QString());
    EXPECT_EQ(layer.DeviceCount(), 6);
    EXPECT_EQ(layer.DeviceNameList().last(), "Card 5");
    EXPECT_EQ(layer.DestCount(5), 11);
    EXPECT_EQ(layer.DestNameList(5).last(), "Dest 10");
    EXPECT_EQ(layer.SrcNameList(5, 10), QStringList{"MAIN"});
}

TEST_F(MixerLayerTest, SecondOpenAllFreesTheFirst)
{
    board.devices() = {boardWithSkips(), sim::DemoDevice()};
    ASSERT_EQ(openAll(), QString());
    const MixerHandle first = layer.MixerHandles(0);
    ASSERT_EQ(openAll(), QString());
    EXPECT_EQ(board.openHandleCount(), 2);
    EXPECT_NE(layer.MixerHandles(0), first);
    EXPECT_EQ(layer.DeviceNameList().size(), 2);
    EXPECT_EQ(layer.DestNameList(0).size(), 2);
    EXPECT_EQ(layer.SrcNameList(1, 0).size(), 4);
}

TEST_F(MixerLayerTest, FailureOnSecondDeviceClosesTheFirstAndNamesTheFailure)
{
    board.devices() = {boardWithSkips(), sim::DemoDevice()};
    // The name query of device 1 succeeds; its query during enumeration fails.
    board.addFault({SimCall::DeviceCaps, 1, -1, -1, MixerRc::Error, 1});
    EXPECT_EQ(openAll(), QStringLiteral("ラインデータの取得に失敗しました・・・"));
    EXPECT_EQ(board.openHandleCount(), 0);
    EXPECT_EQ(layer.DeviceCount(), 0);
    EXPECT_TRUE(layer.DeviceNameList().isEmpty());
    EXPECT_TRUE(layer.DestNameList(0).isEmpty());
}

TEST_F(MixerLayerTest, DeviceWithoutUsableDestinationIsAnError)
{
    SimDevice bare = boardWithSkips();
    bare.destinations.removeLast(); // only speakers (query fails) and the empty one
    board.devices() = {sim::DemoDevice(), bare};
    board.addFault({SimCall::LineByDestination, 1, 0});
    EXPECT_EQ(openAll(), QStringLiteral("Error, component not found!"));
    EXPECT_EQ(board.openHandleCount(), 0);
}

TEST_F(MixerLayerTest, NoDeviceAndOpenFailure)
{
    EXPECT_EQ(openAll(), QStringLiteral("No audio mixer devices found."));
    EXPECT_TRUE(layer.DeviceNameList().isEmpty());
    EXPECT_EQ(board.openCount(), 0);

    board.devices() = {sim::DemoDevice("One"), sim::DemoDevice("Two"), sim::DemoDevice("Three")};
    board.addFault({SimCall::Open, 1, -1, -1, MixerRc::NoDriver});
    // The text names device 0 whichever device failed; earlier devices stay open
    // until the next close.
    EXPECT_EQ(openAll(), QStringLiteral("Error opening mixer DevId = 0"));
    EXPECT_EQ(board.openHandleCount(), 1);
    EXPECT_EQ(layer.DeviceNameList(), (QStringList{"One", "Two", "Three"}));
    layer.MixerCloseAll();
    EXPECT_EQ(board.openHandleCount(), 0);
}

// Each failure inside the MUX mapping is returned by MixerMapMuxItems, is
// dropped during enumeration, and leaves the destination without MUX indexes.
TEST_F(MixerLayerTest, MuxMappingFailuresLeaveNoIndexes)
{
    struct Case {
        const char *name;
        std::function<void(SimMixerBoard &)> arrange;
        QString expected;
    };
    const QList<Case> cases = {
        {"line query", [](SimMixerBoard &b) { b.addFault({SimCall::LineById, 0, RecLine, -1, MixerRc::InvalidLine}); },
         QStringLiteral("mixerGetLineInfo(lineid=FFFF0002h) failed.  rc=1024!")},
        {"controls query",
         [](SimMixerBoard &b) { b.addFault({SimCall::LineControls, 0, RecLine, -1, MixerRc::InvalidHandle}); },
         QStringLiteral("mixerGetLineControls(ctrlid=FFFF0002h) failed.  rc=5!")},
        {"disabled",
         [](SimMixerBoard &b) { b.devices()[0].destinations[2].line.controls[1].control.flags |= MixerControlFlag::Disabled; },
         QStringLiteral("This control (ctrlid=0000002Ah) is disabled.")},
        {"absurd control count",
         [](SimMixerBoard &b) { b.devices()[0].destinations[2].line.reportedControls = 0x7FFFFFFFu; },
         QStringLiteral("Unable to allocate memory needed...")},
        {"absurd item count",
         [](SimMixerBoard &b) { b.devices()[0].destinations[2].line.controls[1].control.multipleItems = 0xFFFFFFFFu; },
         QStringLiteral("Unable to allocate required memory...")},
        {"list texts", [](SimMixerBoard &b) { b.addFault({SimCall::ControlListTexts, 0, 42}); }, QString()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        board.clearFaults();
        board.devices() = {boardWithSkips()};
        c.arrange(board);
        ASSERT_EQ(openAll(), QString());
        EXPECT_EQ(layer.SrcMuxIndexList(0, 1), (QStringList{"", "", "", ""}));
        EXPECT_EQ(layer.MixerMapMuxItems(0, 1, RecLine), c.expected);
    }
}

TEST_F(MixerLayerTest, ResetAndCloseHideMarksStopTimerAndDropBindings)
{
    board.devices() = {sim::DemoDevice()};
    ASSERT_EQ(openAll(), QString());
    for (int n = 0; n < MixerLayer::StripCount; ++n) {
        layer.Strip(n).controls[StripVolume].present = true;
        layer.Strip(n).controls[StripVolume].values = {1, 2};
    }
    host.log.clear();
    layer.MixerReset();
    EXPECT_EQ(host.log, (QStringList{"auto0=0", "auto1=0", "auto2=0", "timer=0"}));
    for (int n = 0; n < MixerLayer::StripCount; ++n) {
        EXPECT_FALSE(layer.Strip(n).controls[StripVolume].present);
        EXPECT_TRUE(layer.Strip(n).controls[StripVolume].values.isEmpty());
    }

    // A change posted before the close still reaches the window: the close lets
    // pending messages run before the handles go.
    layer.Strip(2).controls[StripMute].present = true;
    ASSERT_TRUE(board.changeExternally(0, 2, {1}));
    host.log.clear();
    layer.MixerCloseAll();
    EXPECT_EQ(host.log, (QStringList{"timer=0", "auto0=0", "auto1=0", "auto2=0", "change 2"}));
    EXPECT_FALSE(layer.Strip(2).controls[StripMute].present);
    EXPECT_EQ(board.openHandleCount(), 0);
}

TEST_F(MixerLayerTest, ChangesArriveLaterThroughTheHostWithTheirHandle)
{
    board.devices() = {sim::DemoDevice(), sim::DemoDevice()};
    ASSERT_EQ(openAll(), QString());
    MixerControlDetails details{9, 1, 0};
    ASSERT_EQ(board.setControlValues(layer.MixerHandles(1), details, {1234}), MixerRc::NoError);
    EXPECT_TRUE(host.notifications.isEmpty()); // never inside the writing call
    QCoreApplication::processEvents();
    ASSERT_EQ(host.notifications.size(), 1);
    EXPECT_EQ(host.notifications.first(), std::make_pair(layer.MixerHandles(1), quint32(9)));

    // Nothing arrives for a device closed before the event loop ran.
    ASSERT_EQ(board.setControlValues(layer.MixerHandles(0), details, {1}), MixerRc::NoError);
    const MixerHandle closed = layer.MixerHandles(0);
    board.close(closed);
    QCoreApplication::processEvents();
    EXPECT_EQ(host.notifications.size(), 1);
}

} // namespace
