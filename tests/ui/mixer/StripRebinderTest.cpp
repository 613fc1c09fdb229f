// Strips kept on their lines while the devices change under the running
// window: a card unplugged and plugged in again at another index, a line gone
// and back, and the binding saved while a strip waits for its line.
#include "support/VolumeStripHarness.h"

#include "platform/sim/SimTopology.h"
#include "support/TestBoards.h"
#include "ui/mixer/StripRebinder.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QThread>
#include <gtest/gtest.h>

using namespace nuvask;
using namespace nuvask::test;

namespace {

constexpr int Speakers = 0, Recording = 1;

class StripRebinderTest : public ::testing::Test {
protected:
    SimMixerBoard board{QList<SimDevice>{sim::DemoDevice(), RecordingOnlyDevice()}};
    StripTestWindow w{board};
    StripRebinder rebinder{w.layer, w.strips};

    void SetUp() override
    {
        ASSERT_EQ(w.open(), QString());
        board.setDevicesChanged([this] { rebinder.devicesChanged(); });
        wave = int(w.layer.SrcNameList(0, Speakers).indexOf("Wave"));
        ASSERT_GT(wave, 0);
        ASSERT_EQ(w.bind(0, 0, Speakers, wave), QString());
        ASSERT_EQ(w.bind(1, 1, 0, 1), QString()); // USB Mic: the microphone
        ASSERT_EQ(w.bind(2, 0, Recording, 0), QString());
        rebinder.start();
    }
    // Announces a change and waits for the one rebuild it causes.
    bool changeAndWait()
    {
        const int before = rebinder.rebuilds();
        board.announceDevicesChanged();
        QElapsedTimer timer;
        timer.start();
        while (rebinder.rebuilds() == before && timer.elapsed() < 2000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            QThread::msleep(5);
        }
        return rebinder.rebuilds() == before + 1;
    }
    bool volumeShown(int strip) const { return w.strips[strip]->GroupShown(StripGroup::Volume); }

    int wave = -1;
};

TEST_F(StripRebinderTest, CardUnpluggedShowsUnboundAndReturnsAtItsNewIndex)
{
    const SimDevice usb = board.devices().takeAt(1);
    ASSERT_TRUE(changeAndWait());
    EXPECT_FALSE(w.layer.StripBound(1));
    EXPECT_FALSE(volumeShown(1)) << "no stale values for a line that is gone";
    EXPECT_EQ(w.strips[1]->deviceIndex(), -1);
    EXPECT_EQ(w.child<QComboBox>(1, "CB_Mixer")->count(), 1) << "the devices there are can still be picked";
    // The others stay on their lines, with fresh handles.
    EXPECT_TRUE(w.layer.StripBound(0));
    EXPECT_EQ(w.strips[0]->sourceIndex(), wave);
    EXPECT_TRUE(volumeShown(0));
    EXPECT_TRUE(w.layer.StripBound(2));

    // Back, after another card took index 0: every strip finds its line by name.
    SimDevice other = sim::DemoDevice(QStringLiteral("Other Card"));
    board.devices() = {other, sim::DemoDevice(), usb};
    ASSERT_TRUE(changeAndWait());
    EXPECT_TRUE(w.layer.StripBound(1));
    EXPECT_EQ(w.strips[1]->deviceIndex(), 2);
    EXPECT_EQ(w.strips[1]->sourceIndex(), 1);
    EXPECT_TRUE(volumeShown(1));
    EXPECT_EQ(w.strips[0]->deviceIndex(), 1);
    EXPECT_EQ(w.strips[0]->sourceIndex(), wave);
    EXPECT_EQ(w.strips[2]->deviceIndex(), 1);

    // A write through a re-bound strip reaches the device it now shows.
    ASSERT_TRUE(w.layer.StripSetVolume(0, 100, 0));
    EXPECT_EQ(board.valuesOf(1, 3), QList<quint32>{25600});
    EXPECT_NE(board.valuesOf(0, 3), QList<quint32>{25600});
}

TEST_F(StripRebinderTest, LineGoneWaitsForItsOwnLineAndIsSavedAsThatLine)
{
    const StripBinding onWave = TakeStripBinding(w.layer, {0, Speakers, wave});
    QList<SimLine> &speakers = board.devices()[0].destinations[0].sources;
    const SimLine waveLine = speakers.takeAt(wave - 1);
    ASSERT_TRUE(changeAndWait());
    EXPECT_FALSE(w.layer.StripBound(0));
    EXPECT_FALSE(volumeShown(0));
    // Not moved onto the next line of the list, and saved as the line it waits for.
    const StripBinding shown = TakeStripBinding(w.layer, {w.strips[0]->deviceIndex(), w.strips[0]->destinationIndex(),
                                                          w.strips[0]->sourceIndex()});
    const StripBinding saved = rebinder.bindingToSave(0, shown);
    EXPECT_EQ(saved.srcName, "Wave");
    EXPECT_EQ(saved.srcType, onWave.srcType);

    // A second change while it is gone keeps it waiting for the same line.
    ASSERT_TRUE(changeAndWait());
    EXPECT_FALSE(w.layer.StripBound(0));
    speakers.insert(wave - 1, waveLine);
    ASSERT_TRUE(changeAndWait());
    EXPECT_TRUE(w.layer.StripBound(0));
    EXPECT_EQ(w.strips[0]->sourceIndex(), wave);
    EXPECT_TRUE(volumeShown(0));
}

TEST_F(StripRebinderTest, ChangesBeforeStartOrAfterStopRebuildNothingTooEarly)
{
    rebinder.stop();
    board.announceDevicesChanged();
    Deliver();
    QThread::msleep(StripRebinder::SettleMs + 50);
    Deliver();
    EXPECT_EQ(rebinder.rebuilds(), 0) << "a closing window lists nothing again";

    // Announced before the start-up ended: acted on once it has.
    StripRebinder early(w.layer, w.strips);
    board.setDevicesChanged([&early] { early.devicesChanged(); });
    board.announceDevicesChanged();
    Deliver();
    QThread::msleep(StripRebinder::SettleMs + 50);
    Deliver();
    EXPECT_EQ(early.rebuilds(), 0);
    early.start();
    QElapsedTimer timer;
    timer.start();
    while (early.rebuilds() == 0 && timer.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(early.rebuilds(), 1);
    EXPECT_TRUE(w.layer.StripBound(0));
}

} // namespace
