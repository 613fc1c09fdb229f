// The recording level monitor on its panels: buffer sizes, the meter and its
// hold, every open failure, re-entrancy, the cut level's setters and marker,
// and the automatic lowering of strip 2, over the simulated capture device.
#include "support/LevelMonitorHarness.h"

#include "ui/widgets/ColourButton.h"
#include "ui/widgets/ColourLabel.h"
#include "ui/widgets/UpDown.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <gtest/gtest.h>

using namespace nuvask;
using namespace nuvask::test;

namespace {

constexpr quint32 FramesPerBuffer = 8820 / 4; // "1": 50 ms of 16-bit stereo

class LevelMonitorTest : public ::testing::Test {
protected:
    int cover() const { return w.monitorChild<ColourLabel>("Label_RPK1")->height(); }
    int markerTop() const { return w.monitorChild<ColourLabel>("Label_RPK_VC")->y(); }
    QString hold() const { return w.monitorChild<ColourButton>("Btn_RPK")->Caption(); }
    bool offShown() const { return !w.monitorChild<ColourButton>("Btn_RPK_OFF")->isHidden(); }
    bool autoRed() const
    {
        const ColourButton *b = w.monitorChild<ColourButton>("Btn_RAuto");
        return !b->ParentColor() && b->Color() == QColor(255, 0, 0) && b->FontColor() == QColor(255, 255, 255);
    }
    void click(const char *name) const { w.click(name); }
    void selectInterval(int index) const
    {
        const QSignalBlocker quiet(w.rlWait);
        w.rlWait->setCurrentIndex(index);
    }

    MonitorTestWindow w;
};

// Sends a mouse event to a widget at a point in its own frame.
void mouse(QWidget *target, QEvent::Type type, QPoint pos)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, pos, target->mapToGlobal(pos), Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

TEST_F(LevelMonitorTest, IntervalListSetsTheBufferLengthAndItsChangeRestartsWithAuto)
{
    click("Btn_RPK_ON");
    ASSERT_TRUE(w.monitor->IsOpen());
    const WaveFormat f = w.wave.openedFormat();
    EXPECT_EQ(f.channels, 2);
    EXPECT_EQ(f.samplesPerSec, 44100u);
    EXPECT_EQ(f.bitsPerSample, 16);
    EXPECT_EQ(f.blockAlign, 4);
    EXPECT_EQ(f.avgBytesPerSec, 176400u);
    EXPECT_EQ(w.monitor->BufferBytes(), 8820u);
    EXPECT_EQ(w.wave.queuedCount(), 5);
    EXPECT_FALSE(w.monitor->AutoOn());

    click("Btn_RPK_OFF");
    selectInterval(8);
    click("Btn_RPK_ON");
    EXPECT_EQ(w.monitor->BufferBytes(), 79380u);

    // No selection counts as "1", and the list shows it without a restart.
    click("Btn_RPK_OFF");
    selectInterval(-1);
    const int opens = w.wave.callCount(SimWaveCall::Open);
    click("Btn_RPK_ON");
    EXPECT_EQ(w.monitor->BufferBytes(), 8820u);
    EXPECT_EQ(w.rlWait->currentIndex(), 0);
    EXPECT_EQ(w.wave.callCount(SimWaveCall::Open), opens + 1);

    // The user's choice closes the device and opens it again with "Auto" on.
    w.rlWait->setCurrentIndex(2);
    EXPECT_EQ(w.wave.callCount(SimWaveCall::Open), opens + 2);
    EXPECT_EQ(w.monitor->BufferBytes(), 26460u);
    EXPECT_TRUE(w.monitor->IsOpen());
    EXPECT_TRUE(autoRed());
    EXPECT_TRUE(offShown());
}

TEST_F(LevelMonitorTest, MeterCoverAndHoldFollowThePeak)
{
    click("Btn_RPK_ON");
    w.wave.queueSilence(FramesPerBuffer);
    w.captureOne();
    EXPECT_EQ(cover(), 96);
    EXPECT_EQ(hold(), "0");

    // One sample of -32768 among silence: the full scale, held as 32768.
    w.wave.queueSilence(100);
    w.wave.queueFullScale(1);
    w.captureOne();
    EXPECT_EQ(cover(), 0);
    EXPECT_EQ(hold(), "32768");
    EXPECT_EQ(w.monitor->WaveHold(), 32768);

    // The hold only grows; the cover follows each buffer.
    w.wave.queueLevel(1000, FramesPerBuffer);
    w.captureOne();
    EXPECT_EQ(cover(), 93); // round(31768 / 341)
    EXPECT_EQ(hold(), "32768");

    click("Btn_RPK");
    EXPECT_EQ(hold(), "0");
    w.wave.queueLevel(1000, FramesPerBuffer);
    w.captureOne();
    EXPECT_EQ(hold(), "1000");
    // Every buffer went back to the device.
    EXPECT_EQ(w.wave.queuedCount(), 5);

    // "ON" again starts from a zero hold.
    click("Btn_RPK_OFF");
    EXPECT_EQ(cover(), 96);
    click("Btn_RPK_ON");
    EXPECT_EQ(hold(), "0");
}

TEST(LevelMonitorOpen, EveryFailureHasItsTextAndLeavesTheMonitorOff)
{
    struct Case {
        SimWaveFault fault;
        QString text;
    };
    const QList<Case> cases{
        {{SimWaveCall::Open}, WaveMeterText::OpenFailed()},
        {{SimWaveCall::Prepare, WaveRc::Error, 0, 1}, WaveMeterText::PrepareFirstFailed()},
        {{SimWaveCall::Prepare, WaveRc::Error, 3, 1}, WaveMeterText::PrepareLaterFailed()},
        {{SimWaveCall::AddBuffer, WaveRc::Error, 2, 1}, WaveMeterText::AddFailed()},
        {{SimWaveCall::Start, WaveRc::Error, 0, 1}, WaveMeterText::StartFailed()},
    };
    for (const Case &c : cases) {
        MonitorTestWindow w;
        w.wave.addFault(c.fault);
        QString error;
        w.monitor->WaveMeterOpen(error);
        EXPECT_EQ(error, c.text);
        // Nothing stays open, even with no buffer queued to come back.
        EXPECT_FALSE(w.wave.isOpen()) << error.toStdString();
        EXPECT_FALSE(w.monitor->IsOpen());
        EXPECT_EQ(w.wave.queuedCount(), 0);
    }

    MonitorTestWindow w;
    int allocations = 0;
    w.monitor->setAllocator([&](std::size_t bytes) -> std::unique_ptr<char[]> {
        if (++allocations == 3)
            return nullptr;
        return std::make_unique<char[]>(bytes);
    });
    QString error;
    w.monitor->WaveMeterOpen(error);
    EXPECT_EQ(error, WaveMeterText::NoMemory());
    EXPECT_EQ(w.wave.callCount(SimWaveCall::Open), 0);

    // A failed open leaves "Auto" off: it must not look armed.
    w.wave.addFault({SimWaveCall::Start});
    w.monitorPanel->findChild<ColourButton *>("Btn_RAuto")->Click();
    EXPECT_FALSE(w.monitor->AutoOn());
    EXPECT_TRUE(w.monitorPanel->findChild<ColourButton *>("Btn_RAuto")->ParentColor());
    EXPECT_TRUE(w.monitorPanel->findChild<ColourButton *>("Btn_RPK_OFF")->isHidden());
    EXPECT_FALSE(w.wave.isOpen());
}

TEST_F(LevelMonitorTest, SecondOnWhileTheFirstIsOpeningDoesNothing)
{
    // The second click arrives while the first lets events run inside the open.
    QMetaObject::invokeMethod(
        qApp,
        [this] {
            QMetaObject::invokeMethod(
                qApp, [this] { click("Btn_RPK_ON"); }, Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
    click("Btn_RPK_ON");
    Deliver();
    EXPECT_EQ(w.wave.callCount(SimWaveCall::Open), 1);
    EXPECT_TRUE(w.monitor->IsOpen());
    EXPECT_EQ(w.wave.queuedCount(), 5);
}

TEST_F(LevelMonitorTest, CutLevelSettersClampAndMoveTheMarker)
{
    w.cutPanel->show();
    const auto level = [this] { return w.cutChild<QLineEdit>("Edit_RPK")->text(); };
    const auto now = [this] { return w.cutChild<QLabel>("Label_NOW_RPK")->text(); };

    click("Btn_MIN_RPK");
    EXPECT_EQ(level(), "0");
    EXPECT_EQ(markerTop(), 96);
    click("Btn_RPK_16");
    EXPECT_EQ(level(), "32763");
    EXPECT_EQ(markerTop(), 0);
    EXPECT_EQ(now(), "256");
    click("Btn_RPK_8");
    EXPECT_EQ(level(), "32512");
    click("Btn_RPK_L");
    EXPECT_EQ(level(), "27648");
    click("Btn_MIN_RPK");
    click("Btn_MAX_RPK");
    EXPECT_EQ(level(), "32763");
    EXPECT_EQ(w.cutChild<ColourButton>("Btn_MAX_RPK")->Caption(), "256");
    EXPECT_EQ(w.cutChild<ColourButton>("Btn_MIN_RPK")->Caption(), "0");

    // Either up/down moves the other and sets position x 128.
    UpDown *fine = w.cutChild<UpDown>("UpDown_RPK_L");
    UpDown *fast = w.cutChild<UpDown>("UpDown_RPK");
    fine->SetPosition(99);
    fine->Click(UpDown::Up);
    EXPECT_EQ(w.monitor->CutLevel(), 12800);
    EXPECT_EQ(now(), "100");
    EXPECT_EQ(fast->Position(), 100);
    fast->Click(UpDown::Down);
    EXPECT_EQ(w.monitor->CutLevel(), 92 * 128);
    EXPECT_EQ(fine->Position(), 92);

    // Typed text: numbers are clamped, anything else is ignored.
    QLineEdit *edit = w.cutChild<QLineEdit>("Edit_RPK");
    for (const auto &[typed, expected] : QList<std::pair<QString, int>>{
             {"1000", 1000}, {"abc", 1000}, {"12x", 1000}, {"", 1000}, {"-5", 0}, {"99999999999", 32763}, {"32764", 32763}}) {
        edit->setText(typed);
        click("Btn_RPK_SET");
        EXPECT_EQ(w.monitor->CutLevel(), expected) << typed.toStdString();
    }

    // Every setter clears the hold.
    click("Btn_RPK_ON");
    w.wave.queueLevel(500, FramesPerBuffer);
    w.captureOne();
    ASSERT_EQ(hold(), "500");
    click("Btn_RPK_8");
    EXPECT_EQ(hold(), "0");
}

TEST_F(LevelMonitorTest, MarkerDragsOnlyWithTheEditorOpenAndNeverJumps)
{
    ColourLabel *marker = w.monitorChild<ColourLabel>("Label_RPK_VC");
    ColourLabel *cover = w.monitorChild<ColourLabel>("Label_RPK1");
    mouse(marker, QEvent::MouseButtonPress, {5, 1});
    mouse(marker, QEvent::MouseMove, {5, 40});
    mouse(marker, QEvent::MouseButtonRelease, {5, 40});
    EXPECT_EQ(w.monitor->CutLevel(), 32763);

    w.cutPanel->show();
    w.monitor->CutLevelShow(12800);
    ASSERT_EQ(markerTop(), 59); // round(19967 / 341)
    // Grabbing the marker where it is keeps it there.
    mouse(marker, QEvent::MouseButtonPress, {5, 1});
    mouse(marker, QEvent::MouseMove, {5, 1});
    EXPECT_EQ(markerTop(), 60);
    EXPECT_EQ(w.monitor->CutLevel(), 32767 - 60 * 341);
    mouse(marker, QEvent::MouseMove, {5, 31});
    EXPECT_EQ(markerTop(), 91);
    mouse(marker, QEvent::MouseButtonRelease, {5, 31});
    EXPECT_EQ(w.monitor->CutLevel(), 32767 - 91 * 341);

    // Below the meter: the level stops at 0 while moving, and the release
    // keeps the marker on the meter's last pixel row.
    mouse(cover, QEvent::MouseButtonPress, {5, 10});
    mouse(cover, QEvent::MouseMove, {5, 150});
    EXPECT_EQ(w.monitor->CutLevel(), 0);
    EXPECT_EQ(markerTop(), 96);
    mouse(cover, QEvent::MouseButtonRelease, {5, 150});
    EXPECT_EQ(w.monitor->CutLevel(), 372);
    EXPECT_EQ(markerTop(), 95);
}

TEST_F(LevelMonitorTest, LoudBufferWithAutoLowersStripTwoByEightStepsAndKeepsCapturing)
{
    w.bindRecordingStrip(200);
    ASSERT_EQ(w.stripPosition(), 200);
    click("Btn_RAuto");
    ASSERT_TRUE(autoRed());
    ASSERT_TRUE(offShown());

    w.wave.queueFullScale(FramesPerBuffer);
    const int resets = w.wave.callCount(SimWaveCall::Reset);
    w.captureOne();
    EXPECT_EQ(w.recordingVolume(), 49152u);
    EXPECT_EQ(w.stripPosition(), 192);
    EXPECT_EQ(hold(), "0");
    EXPECT_EQ(w.wave.callCount(SimWaveCall::Reset), resets + 1);
    // The five buffers the reset handed back went back to the device.
    EXPECT_TRUE(w.monitor->IsOpen());
    EXPECT_TRUE(w.wave.isStarted());
    EXPECT_EQ(w.wave.queuedCount(), 5);
    EXPECT_EQ(w.monitor->RequeueCount(), 1);

    // Exactly at the cut level lowers too.
    w.monitor->CutLevelShow(1000);
    w.wave.queueLevel(1000, FramesPerBuffer);
    w.captureOne();
    EXPECT_EQ(w.stripPosition(), 184);

    // Near the bottom the volume stops at 0.
    w.strips.layer.StripSetVolume(2, 5, 0);
    Deliver();
    w.wave.queueLevel(5000, FramesPerBuffer);
    w.captureOne();
    EXPECT_EQ(w.recordingVolume(), 0u);

    // Below the cut level, or with "Auto" off, nothing is lowered.
    w.strips.layer.StripSetVolume(2, 100, 0);
    Deliver();
    w.wave.queueLevel(999, FramesPerBuffer);
    w.captureOne();
    EXPECT_EQ(w.stripPosition(), 100);
    click("Btn_RAuto");
    EXPECT_FALSE(autoRed());
    EXPECT_TRUE(w.monitor->IsOpen());
    w.wave.queueFullScale(FramesPerBuffer);
    w.captureOne();
    EXPECT_EQ(w.stripPosition(), 100);
    EXPECT_EQ(hold(), "32768");
}

TEST_F(LevelMonitorTest, EveryFullBufferIsMeasuredAndSoundFromBeforeALoweringIsNot)
{
    // A late read hands a loud buffer and a quiet one back together: the
    // loud one must still lower and hold, whatever follows it.
    w.bindRecordingStrip(200);
    click("Btn_RAuto");
    w.wave.queueFullScale(FramesPerBuffer);
    w.wave.queueLevel(100, FramesPerBuffer);
    ASSERT_EQ(w.wave.feed(2 * FramesPerBuffer * 4), 2 * FramesPerBuffer * 4);
    Deliver();
    EXPECT_EQ(w.stripPosition(), 192);

    // The lowering's reset hands back the next buffer half full of the same
    // loud sound: one lowering for it, not two.
    w.wave.queueFullScale(FramesPerBuffer + FramesPerBuffer / 2);
    w.wave.feed(FramesPerBuffer * 4 + FramesPerBuffer * 2);
    Deliver();
    EXPECT_EQ(w.stripPosition(), 184);
    EXPECT_TRUE(w.monitor->IsOpen());

    click("Btn_RAuto");
    w.wave.queueLevel(20000, FramesPerBuffer);
    w.wave.queueLevel(100, FramesPerBuffer);
    w.wave.feed(2 * FramesPerBuffer * 4);
    Deliver();
    EXPECT_EQ(hold(), "20000");
}

TEST_F(LevelMonitorTest, StripWithoutVolumeControlOnlyShowsTheLevel)
{
    w.strips.open();
    w.board.addFault({SimCall::LineControls});
    EXPECT_NE(w.strips.bind(2, 0, MonitorTestWindow::Recording, 0), QString());
    click("Btn_RAuto");
    const int resets = w.wave.callCount(SimWaveCall::Reset);
    w.wave.queueFullScale(FramesPerBuffer);
    w.captureOne();
    EXPECT_EQ(cover(), 0);
    EXPECT_EQ(hold(), "32768");
    EXPECT_EQ(w.wave.callCount(SimWaveCall::Reset), resets);
}

TEST_F(LevelMonitorTest, ResetHandingBuffersBackAtOnceDoesNotCloseAfterALowering)
{
    w.bindRecordingStrip(200);
    w.wave.setDeliverImmediately(true);
    click("Btn_RAuto");
    ASSERT_TRUE(w.monitor->IsOpen());
    w.wave.queueFullScale(FramesPerBuffer);
    w.captureOne();
    EXPECT_EQ(w.stripPosition(), 192);
    EXPECT_TRUE(w.monitor->IsOpen());
    EXPECT_TRUE(offShown());
    EXPECT_TRUE(autoRed());
    EXPECT_EQ(w.wave.queuedCount(), 5);
    // Capture goes on: the next loud buffer lowers again.
    w.wave.queueFullScale(FramesPerBuffer);
    w.captureOne();
    EXPECT_EQ(w.stripPosition(), 184);
}

TEST_F(LevelMonitorTest, OffDeviceLossAndClosingEndTheMonitorCleanly)
{
    click("Btn_RAuto");
    ASSERT_TRUE(autoRed());
    click("Btn_RPK_OFF");
    EXPECT_FALSE(w.wave.isOpen());
    EXPECT_FALSE(offShown());
    EXPECT_FALSE(autoRed());
    EXPECT_EQ(cover(), 96);

    // The device goes away while capturing: the monitor shows itself off.
    click("Btn_RAuto");
    w.wave.queueLevel(3000, FramesPerBuffer / 2);
    w.wave.feed(FramesPerBuffer * 2); // half a buffer in the one being filled
    w.wave.goAway();
    Deliver();
    EXPECT_FALSE(w.wave.isOpen());
    EXPECT_FALSE(w.monitor->IsOpen());
    EXPECT_FALSE(offShown());
    EXPECT_FALSE(autoRed());

    // Closing: buffers that come back are neither queued again nor analysed.
    click("Btn_RPK_ON");
    ASSERT_TRUE(w.monitor->IsOpen());
    w.wave.queueFullScale(FramesPerBuffer);
    const int adds = w.wave.callCount(SimWaveCall::AddBuffer);
    w.monitor->BeginClosing();
    Deliver();
    EXPECT_EQ(w.wave.callCount(SimWaveCall::AddBuffer), adds);
    EXPECT_EQ(hold(), "0");
    w.monitor->WaveMeterClose();
    EXPECT_FALSE(w.wave.isOpen());
}

} // namespace
