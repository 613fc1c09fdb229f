// Binding strips to lines, writing volumes and selections, redrawing from
// change notifications and reading meters, over the simulated board and a
// recording fake of the strip widgets.
#include "core/mixer/MixerLayer.h"
#include "platform/sim/SimTopology.h"
#include "support/MixerFakes.h"

#include <QCoreApplication>
#include <QMap>
#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <utility>

using namespace nuvask;
using namespace nuvask::test;

namespace {

// DemoDevice: destination 0 speakers (MAIN, Wave, CD Audio, Microphone),
// destination 1 recording (MAIN, Microphone, Line In) with volume 9, meter 10
// and a multiplexer 11 over the microphone (item 0) and line in (item 1).
constexpr int Speakers = 0, Recording = 1;
constexpr quint32 RecVolume = 9, RecMeter = 10, RecMux = 11, MicVolume = 12, WaveVolume = 3, WaveMute = 4;

class MixerStripTest : public ::testing::Test {
protected:
    HookedBoard board{QList<SimDevice>{sim::DemoDevice()}};
    FakeHost host;
    MixerLayer layer{board, host};
    FakeStripView views[3];

    void SetUp() override { ASSERT_EQ(connectAndOpen(layer, host, views), QString()); }
    QString bind(int strip, int destination, int source, int device = 0)
    {
        return bindStrip(layer, views, strip, destination, source, device);
    }
    // Delivers the board's queued change notifications.
    static void deliver() { QCoreApplication::processEvents(); }
    SimControl &control(quint32 id)
    {
        for (SimDestination &dest : board.devices()[0].destinations) {
            QList<SimLine *> lines{&dest.line};
            for (SimLine &src : dest.sources)
                lines.append(&src);
            for (SimLine *line : lines) {
                for (SimControl &c : line->controls) {
                    if (c.control.controlId == id)
                        return c;
                }
            }
        }
        ADD_FAILURE() << "no control " << id;
        static SimControl none;
        return none;
    }
};

TEST_F(MixerStripTest, DestinationShowsItsControlsButNeverTheSelectionBox)
{
    ASSERT_EQ(bind(0, Recording, 0), QString());
    const FakeStripView &v = views[0];
    EXPECT_FALSE(v.shown.value(StripGroup::RecSelect));
    EXPECT_FALSE(v.shown.value(StripGroup::MuteBox));
    EXPECT_TRUE(v.shown.value(StripGroup::Volume));
    EXPECT_TRUE(v.shown.value(StripGroup::PeakMeter));
    EXPECT_EQ(v.messageRuns, 1);

    // Its own multiplexer lists the sources that are items, with the selected one.
    EXPECT_TRUE(v.shown.value(StripGroup::OwnMux));
    EXPECT_EQ(v.muxItems, (QStringList{"Microphone", "Line In"}));
    EXPECT_EQ(v.muxSelected, 0);
    EXPECT_FALSE(v.muxBesideBox); // no box shown: the list takes the boxes' row

    // The meter starts blank with the hold at 0, and the timer runs.
    EXPECT_EQ(v.cover, 96);
    EXPECT_EQ(v.holdCaption, "0");
    EXPECT_TRUE(host.timerRunning);
    EXPECT_FALSE(v.autoMark); // automatic recording volume is off
}

TEST_F(MixerStripTest, MuxSourcesShowTheSelectionBoxCheckedFromTheMixer)
{
    ASSERT_EQ(bind(1, Recording, 1), QString()); // Microphone: item 0, selected
    ASSERT_EQ(bind(2, Recording, 2), QString()); // Line In: item 1
    ASSERT_EQ(bind(0, Recording, 0), QString());
    EXPECT_EQ(views[1].captions.value(StripBox::RecSelect), "選択");
    EXPECT_TRUE(views[1].shown.value(StripGroup::RecSelect));
    EXPECT_TRUE(views[1].checked.value(StripBox::RecSelect));
    EXPECT_FALSE(views[2].checked.value(StripBox::RecSelect));
    EXPECT_FALSE(views[1].shown.value(StripGroup::OwnMux)); // a source has no multiplexer of its own

    // Choosing line in on strip 2 unselects the microphone in the mixer; every
    // strip follows once the notification arrives, not before.
    layer.StripSetRecSelect(2, true);
    EXPECT_EQ(board.valuesOf(0, RecMux), (QList<quint32>{0, 1}));
    EXPECT_TRUE(views[1].checked.value(StripBox::RecSelect));
    deliver();
    EXPECT_FALSE(views[1].checked.value(StripBox::RecSelect));
    EXPECT_TRUE(views[2].checked.value(StripBox::RecSelect));
    EXPECT_EQ(views[0].muxSelected, 1);

    // The destination's own list picks the microphone again.
    layer.StripSelectMuxItem(0, 0);
    EXPECT_EQ(board.valuesOf(0, RecMux), (QList<quint32>{1, 0}));
    deliver();
    EXPECT_TRUE(views[1].checked.value(StripBox::RecSelect));
    EXPECT_EQ(views[0].muxSelected, 0);
    // A position that no item has writes nothing.
    layer.StripSelectMuxItem(0, 5);
    EXPECT_EQ(board.valuesOf(0, RecMux), (QList<quint32>{1, 0}));
}

TEST_F(MixerStripTest, SelectionBoxesAreReadWhenTheMultiplexerChangesNotOnEveryNotification)
{
    ASSERT_EQ(bind(1, Recording, 1), QString());
    ASSERT_EQ(bind(2, Recording, 2), QString());
    // Binding shows the selection at once, whatever else the line has.
    EXPECT_TRUE(views[1].checked.value(StripBox::RecSelect));
    EXPECT_FALSE(views[2].checked.value(StripBox::RecSelect));

    control(RecMux).values = {0, 1}; // changed without a notification
    board.reads = 0;
    layer.MixerControlChanged(0xDEADBEEFu);
    layer.MixerControlChanged(MicVolume);
    EXPECT_EQ(board.reads, 1) << "only the microphone's volume is read";
    EXPECT_TRUE(views[1].checked.value(StripBox::RecSelect));

    // The multiplexer's own notification: one read for both strips.
    board.reads = 0;
    layer.MixerControlChanged(RecMux);
    EXPECT_EQ(board.reads, 1);
    EXPECT_FALSE(views[1].checked.value(StripBox::RecSelect));
    EXPECT_TRUE(views[2].checked.value(StripBox::RecSelect));
}

TEST_F(MixerStripTest, StripsBoundToOneControlShareOneReadPerNotification)
{
    ASSERT_EQ(bind(0, Speakers, 1), QString());
    ASSERT_EQ(bind(1, Speakers, 1), QString());
    board.reads = 0;
    board.changeExternally(0, WaveVolume, {512});
    deliver();
    EXPECT_EQ(board.reads, 1);
    EXPECT_EQ(views[0].steps, 2);
    EXPECT_EQ(views[1].steps, 2);

    // A read that fails fails for both: neither shows a value it did not get.
    board.addFault({SimCall::ControlValues, 0, WaveVolume, -1, MixerRc::Error, 0, 1});
    board.changeExternally(0, WaveVolume, {25600});
    deliver();
    EXPECT_EQ(views[0].steps, 2);
    EXPECT_EQ(views[1].steps, 2);

    // The recording multiplexer is strip 2's own list and strip 1's selection
    // box at once: still one read.
    ASSERT_EQ(bind(2, Recording, 0), QString());
    ASSERT_EQ(bind(1, Recording, 2), QString());
    board.reads = 0;
    board.changeExternally(0, RecMux, {0, 1});
    deliver();
    EXPECT_EQ(board.reads, 1);
    EXPECT_EQ(views[2].muxSelected, 1);
    EXPECT_TRUE(views[1].checked.value(StripBox::RecSelect));
}

TEST(MixerStripTwoBoardsTest, SameIdentifierOnTwoDevicesIsReadFromEach)
{
    // Identifiers are per device: a shared read must never cross devices.
    SimDevice second = sim::DemoDevice(QStringLiteral("Second"));
    HookedBoard board{QList<SimDevice>{sim::DemoDevice(), second}};
    FakeHost host;
    MixerLayer layer{board, host};
    FakeStripView views[3];
    ASSERT_EQ(connectAndOpen(layer, host, views), QString());
    QString error;
    for (int strip : {0, 1}) {
        views[strip].device = strip;
        views[strip].destination = Speakers;
        views[strip].source = 1;
        layer.StripBindLine(strip, strip, Speakers, error,
                            MixerLayer::NumberFromText(layer.SrcLineIdList(strip, Speakers).value(1)));
        ASSERT_EQ(error, QString());
    }
    board.changeExternally(1, WaveVolume, {2560});
    board.devices()[0].destinations[Speakers].sources[0].controls[0].values = {7680}; // Wave, unnotified
    QCoreApplication::processEvents();
    EXPECT_EQ(views[0].steps, 30);
    EXPECT_EQ(views[1].steps, 10);
}

TEST_F(MixerStripTest, StepScaleAndBarPixels)
{
    ASSERT_EQ(bind(0, Speakers, 1), QString()); // Wave: 40960 of 65535
    FakeStripView &v = views[0];
    EXPECT_EQ(v.rangeMax, 256);
    EXPECT_EQ(v.increment, 8);
    EXPECT_EQ(v.maxCaption, "256");
    EXPECT_EQ(v.minCaption, "0");
    EXPECT_EQ(layer.Strip(0).VolScale, 683);
    // Shown at once by the binding: 40960 / 256 = 160; (65535 - 40960) / 683 = 35.98.
    EXPECT_EQ(v.steps, 160);
    EXPECT_EQ(v.black, 36);
    EXPECT_TRUE(v.shown.value(StripGroup::MuteBox));
    EXPECT_EQ(v.captions.value(StripBox::Mute), "Mute");

    ASSERT_TRUE(layer.StripSetVolume(0, 255, 0));
    EXPECT_EQ(board.valuesOf(0, WaveVolume), QList<quint32>{65280});
    EXPECT_EQ(v.steps, 160); // nothing drawn before the notification
    deliver();
    EXPECT_EQ(v.steps, 255);
    EXPECT_EQ(v.black, 0);

    ASSERT_TRUE(layer.StripSetVolume(0, 256, 0));
    EXPECT_EQ(board.valuesOf(0, WaveVolume), QList<quint32>{65535});
    ASSERT_TRUE(layer.StripSetVolume(0, 1000, 0));
    EXPECT_EQ(board.valuesOf(0, WaveVolume), QList<quint32>{65535});
    ASSERT_TRUE(layer.StripSetVolume(0, -1, 96)); // 65535 - 96 x 683 < 0
    EXPECT_EQ(board.valuesOf(0, WaveVolume), QList<quint32>{0});
    ASSERT_TRUE(layer.StripSetVolume(0, -1, 0));
    EXPECT_EQ(board.valuesOf(0, WaveVolume), QList<quint32>{65535});
    ASSERT_TRUE(layer.StripSetVolume(0, -1, 48));
    EXPECT_EQ(board.valuesOf(0, WaveVolume), QList<quint32>{65535 - 48 * 683});
    deliver();
    EXPECT_EQ(v.black, 48);

    layer.StripSetMute(0, true);
    EXPECT_EQ(board.valuesOf(0, WaveMute), QList<quint32>{1});
    deliver();
    EXPECT_TRUE(v.checked.value(StripBox::Mute));
}

TEST_F(MixerStripTest, StripsOnOneLineFollowEachOtherAndOtherPrograms)
{
    ASSERT_EQ(bind(0, Speakers, 1), QString());
    ASSERT_EQ(bind(1, Speakers, 1), QString());
    ASSERT_EQ(bind(2, Speakers, 2), QString());
    ASSERT_TRUE(layer.StripSetVolume(0, 64, 0));
    deliver();
    EXPECT_EQ(views[1].steps, 64);
    EXPECT_EQ(views[1].position, 64);
    EXPECT_EQ(views[2].steps, 128); // CD Audio is another line

    board.changeExternally(0, WaveMute, {1});
    deliver();
    EXPECT_TRUE(views[0].checked.value(StripBox::Mute));
    EXPECT_TRUE(views[1].checked.value(StripBox::Mute));
}

TEST_F(MixerStripTest, BindingErrorsAreExactAndLeaveWhatWasFound)
{
    SimLine &wave = board.devices()[0].destinations[0].sources[0];
    wave.controls[0].control.flags |= MixerControlFlag::Disabled;
    wave.controls[0].control.controlId = 0x15;
    EXPECT_EQ(bind(0, Speakers, 1), "This control (ctrlid=00000015h) is disabled.");
    EXPECT_FALSE(views[0].shown.value(StripGroup::Volume));
    EXPECT_TRUE(views[0].shown.value(StripGroup::MuteBox)); // the mute search still ran
    EXPECT_FALSE(layer.StripSetVolume(0, 10, 0));

    board.addFault({SimCall::LineById, 0, 0xFFFF0000, -1, MixerRc::InvalidLine});
    EXPECT_EQ(bind(0, Speakers, 0), "mixerGetLineInfo(lineid=FFFF0000h) failed.  rc=1024!");
    EXPECT_FALSE(views[0].shown.value(StripGroup::MuteBox)); // everything hidden first
    board.clearFaults();
    board.addFault({SimCall::LineControls, 0, 2, -1, MixerRc::Error});
    EXPECT_EQ(bind(0, Speakers, 2), "mixerGetLineControls(ctrlid=00000002h) failed.  rc=1!");
    board.clearFaults();
    EXPECT_EQ(bind(0, Speakers, 2), QString());
    EXPECT_TRUE(views[0].shown.value(StripGroup::Volume));
}

TEST_F(MixerStripTest, BusyMarksRefuseNestedCallsAndAreReleasedAfterFailures)
{
    ASSERT_EQ(bind(0, Recording, 0), QString());
    bool nested = true;
    board.onWrite = [&] { nested = layer.StripSetVolume(0, 1, 0); };
    EXPECT_TRUE(layer.StripSetVolume(0, 100, 0));
    EXPECT_FALSE(nested);
    EXPECT_EQ(board.valuesOf(0, RecVolume), QList<quint32>{25600});

    board.addFault({SimCall::SetControlValues, 0, RecVolume, -1, MixerRc::Error, 0, 1});
    EXPECT_FALSE(layer.StripSetVolume(0, 10, 0));
    EXPECT_TRUE(layer.StripSetVolume(0, 10, 0)); // the failed write let go of the mark

    int nestedPeak = 0;
    board.onRead = [&] { nestedPeak = layer.StripReadPeak(0); };
    EXPECT_EQ(layer.StripReadPeak(0), 96);
    EXPECT_EQ(nestedPeak, -1);
    board.addFault({SimCall::ControlValues, 0, RecMeter, -1, MixerRc::Error, 0, 1});
    EXPECT_EQ(layer.StripReadPeak(0), -1);
    EXPECT_EQ(layer.StripReadPeak(0), 96);
}

TEST_F(MixerStripTest, RefusedBoxWritesPutTheBoxBackToWhatTheMixerHolds)
{
    const int wave = int(layer.SrcNameList(0, Speakers).indexOf("Wave"));
    ASSERT_GT(wave, 0);
    ASSERT_EQ(bind(0, Speakers, wave), QString());
    ASSERT_TRUE(views[0].shown.value(StripGroup::MuteBox));
    const QList<quint32> muteBefore = board.valuesOf(0, WaveMute);
    ASSERT_EQ(muteBefore, QList<quint32>{0});

    // The click has already ticked the box; the mixer refuses the write.
    board.addFault({SimCall::SetControlValues, 0, WaveMute, -1, MixerRc::NoDriver, 0, 1});
    views[0].checked[StripBox::Mute] = true;
    layer.StripSetMute(0, true);
    EXPECT_FALSE(views[0].checked.value(StripBox::Mute));
    EXPECT_EQ(board.valuesOf(0, WaveMute), muteBefore);
    // Refused, and unreadable as well (the device is gone): the box shows what it showed.
    board.addFault({SimCall::SetControlValues, 0, WaveMute, -1, MixerRc::NoDriver, 0, 1});
    board.addFault({SimCall::ControlValues, 0, WaveMute, -1, MixerRc::NoDriver, 0, 1});
    views[0].checked[StripBox::Mute] = true;
    layer.StripSetMute(0, true);
    EXPECT_FALSE(views[0].checked.value(StripBox::Mute));
    // A write that is taken leaves the box alone until the notification.
    layer.StripSetMute(0, true);
    EXPECT_EQ(board.valuesOf(0, WaveMute), QList<quint32>{1});

    // Line In (not the selected source) ticked, the selection refused.
    ASSERT_EQ(bind(2, Recording, 2), QString());
    ASSERT_FALSE(views[2].checked.value(StripBox::RecSelect));
    board.addFault({SimCall::SetControlValues, 0, RecMux, -1, MixerRc::Error, 0, 1});
    views[2].checked[StripBox::RecSelect] = true;
    layer.StripSetRecSelect(2, true);
    EXPECT_FALSE(views[2].checked.value(StripBox::RecSelect));
    EXPECT_EQ(board.valuesOf(0, RecMux), (QList<quint32>{1, 0}));
    // The next try goes through with the real selection, not the refused one.
    layer.StripSetRecSelect(2, true);
    EXPECT_EQ(board.valuesOf(0, RecMux), (QList<quint32>{0, 1}));
}

TEST_F(MixerStripTest, PeakCoverHoldAndToggle)
{
    ASSERT_EQ(bind(2, Recording, 0), QString());
    EXPECT_EQ(layer.Strip(2).PeakScale, 341);
    EXPECT_EQ(layer.StripReadPeak(0), -1); // no meter on strip 0
    const auto readAt = [&](qint32 level) {
        control(RecMeter).values = {quint32(level)};
        return layer.StripReadPeak(2);
    };
    EXPECT_EQ(readAt(32767), 0);
    EXPECT_EQ(views[2].holdCaption, "32767");
    EXPECT_EQ(readAt(-16384), 48);
    EXPECT_EQ(views[2].holdCaption, "32767"); // the hold only rises
    EXPECT_EQ(readAt(std::numeric_limits<qint32>::min()), 0);
    EXPECT_EQ(views[2].holdCaption, "2147483648");

    layer.StripTogglePeak(2);
    EXPECT_EQ(views[2].holdCaption, "0");
    EXPECT_FALSE(host.timerRunning);
    EXPECT_EQ(readAt(100), -1);
    layer.StripTogglePeak(2);
    EXPECT_TRUE(host.timerRunning);
    EXPECT_EQ(readAt(0), 96);
    EXPECT_EQ(layer.Strip(2).PeakHold, 0);
}

TEST_F(MixerStripTest, MeterReadingAboveTheCutLevelLowersByEightSteps)
{
    host.autoRecV = true;
    ASSERT_EQ(bind(2, Recording, 0), QString());
    EXPECT_TRUE(views[2].autoMark);
    EXPECT_TRUE(layer.StripCanAutoRecV(2));
    layer.SetCutLevel(40000);
    EXPECT_EQ(layer.CutLevel(), 32763);
    layer.SetCutLevel(16384); // threshold round(16384 / 32768 x 32767) = 16384

    ASSERT_TRUE(layer.StripSetVolume(2, 5, 0));
    deliver();
    ASSERT_EQ(views[2].position, 5);
    control(RecMeter).values = {16384};
    layer.StripReadPeak(2);
    EXPECT_EQ(board.valuesOf(0, RecVolume), QList<quint32>{1280}); // at the threshold: untouched
    EXPECT_EQ(views[2].holdCaption, "16384");

    control(RecMeter).values = {16385};
    EXPECT_EQ(layer.StripReadPeak(2), 48);
    EXPECT_EQ(board.valuesOf(0, RecVolume), QList<quint32>{0}); // 5 - 8 stops at 0
    EXPECT_EQ(views[2].holdCaption, "0");
    EXPECT_EQ(layer.Strip(2).PeakHold, 0);

    // Without the mark nothing is lowered.
    ASSERT_TRUE(layer.StripSetVolume(2, 100, 0));
    deliver();
    views[2].autoMark = false;
    layer.StripReadPeak(2);
    EXPECT_EQ(board.valuesOf(0, RecVolume), QList<quint32>{25600});

    // A source line has the meter only through its destination: no "A".
    ASSERT_EQ(bind(1, Recording, 1), QString());
    EXPECT_FALSE(views[1].autoMark);
    EXPECT_FALSE(layer.StripCanAutoRecV(1));
}

} // namespace
