// The volume strips under real mouse and key events, bound through their lists
// to a simulated board.
#include "support/VolumeStripHarness.h"

#include "platform/sim/SimTopology.h"
#include "ui/widgets/ColourButton.h"
#include "ui/widgets/ColourLabel.h"
#include "ui/widgets/UpDown.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

using namespace nuvask;
using namespace nuvask::test;

namespace {

constexpr int Speakers = 0, Recording = 1;
constexpr int Wave = 1, CdAudio = 2;    // sources of Speakers
constexpr int Microphone = 1, LineIn = 2; // sources of Recording
constexpr quint32 MasterVolume = 1, WaveVolume = 3, WaveMute = 4, RecMux = 11;

// The demo card, and a second card whose recording line has one source only.
QList<SimDevice> twoCards()
{
    SimDevice second = sim::DemoDevice(QStringLiteral("Second Card"));
    second.destinations[0].line.controls[0].values = {65535};
    second.destinations[1].sources = {
        sim::Line(0x00010005u, MixerComponent::SrcAuxiliary, QStringLiteral("Aux"), {sim::Volume(14, 0)})};
    return {sim::DemoDevice(), second};
}

class VolumeStripTest : public ::testing::Test {
protected:
    SimMixerBoard board{twoCards()};
    StripTestWindow w{board};

    void SetUp() override
    {
        ASSERT_EQ(w.open(), QString());
        w.window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.window.get()));
    }
    QString now(int strip) const { return w.child<QLabel>(strip, "Label_NOW_")->text(); }
    int black(int strip) const { return w.child<ColourLabel>(strip, "Label_VM1_")->height(); }
    quint32 value(quint32 controlId, int device = 0) const { return board.valuesOf(device, controlId).value(0); }
};

TEST(VolumeStripLayout, DesignGeometryNamesAndStacking)
{
    SimMixerBoard board;
    StripTestWindow w{board};
    EXPECT_EQ(w.strips[0]->objectName(), "PV0");
    EXPECT_EQ(w.strips[1]->size(), QSize(58, 223));
    EXPECT_EQ(w.strips[2]->size(), QSize(91, 223));

    const auto geometry = [&](int n, const char *name) { return w.child<QWidget>(n, name)->geometry(); };
    EXPECT_EQ(geometry(0, "Label_VM0_"), QRect(4, 61, 10, 96));
    EXPECT_EQ(w.strips[0]->volumeBarHeight(), 96);
    EXPECT_EQ(geometry(0, "ComboBox_SRC"), QRect(2, 24, 88, 20));
    EXPECT_EQ(geometry(2, "ComboBox_SRC"), QRect(2, 2, 88, 20));
    EXPECT_EQ(geometry(0, "P_PK"), QRect(38, 61, 10, 115));
    EXPECT_EQ(geometry(2, "P_PK"), QRect(40, 61, 10, 115));
    EXPECT_EQ(geometry(1, "Btn_MIN_"), QRect(2, 157, 15, 15));
    EXPECT_EQ(geometry(2, "Btn_MIN_"), QRect(2, 157, 15, 17));
    EXPECT_EQ(geometry(2, "B_PK"), QRect(24, 44, 35, 17)); // ends where the meter starts
    EXPECT_EQ(geometry(0, "UpDown_L"), QRect(26, 116, 12, 41));

    // A later sibling covers an earlier one where they overlap.
    const auto above = [&](int n, const char *upper, const char *lower) {
        const QObjectList &order = w.strips[n]->children();
        return order.indexOf(w.child<QWidget>(n, upper)) > order.indexOf(w.child<QWidget>(n, lower));
    };
    EXPECT_TRUE(above(0, "Ch_MX", "Ch_MT"));
    EXPECT_TRUE(above(0, "Ch_MT", "CB_MX"));
    EXPECT_TRUE(above(0, "ComboBox_SRC", "CB_Mixer"));
    EXPECT_TRUE(above(2, "ComboBox_SRC", "ComboBox_DST"));
    EXPECT_TRUE(above(0, "Label_VM1_", "Label_VM0_"));

    // Hints and the captions a strip has before it is bound.
    EXPECT_EQ(w.child<QComboBox>(0, "ComboBox_DST")->toolTip(), "再生／録音／その他、の選択");
    EXPECT_EQ(w.child<QWidget>(1, "UpDown")->toolTip(), "ボリューム 高速アップ／ダウン");
    EXPECT_EQ(w.child<QCheckBox>(2, "Ch_MT")->toolTip(), "一時的に、音を消す");
    EXPECT_EQ(w.child<ColourButton>(0, "Btn_MAX_")->Caption(), "Max");
    EXPECT_EQ(w.child<ColourButton>(0, "Btn_MIN_")->Caption(), "Min");
    EXPECT_TRUE(w.child<QWidget>(0, "P_PK")->isHidden());
    EXPECT_TRUE(w.child<QWidget>(0, "B_PK")->isHidden());
    EXPECT_TRUE(w.child<QWidget>(0, "Label_AUTO_")->isHidden());
}

TEST_F(VolumeStripTest, BarDragWritesOnlyOnRelease)
{
    ASSERT_EQ(w.bind(0, 0, Speakers, Wave), QString());
    EXPECT_EQ(now(0), "160");
    EXPECT_EQ(w.child<ColourButton>(0, "Btn_MAX_")->Caption(), "256");
    EXPECT_EQ(w.child<ColourButton>(0, "Btn_MIN_")->Caption(), "0");
    auto *bar = w.child<ColourLabel>(0, "Label_VM0_");

    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(5, 60));
    QTest::mouseMove(bar, QPoint(5, 30));
    EXPECT_EQ(black(0), 30);
    Deliver();
    EXPECT_EQ(value(WaveVolume), 40960u); // nothing written while dragging
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(5, 30));
    EXPECT_EQ(value(WaveVolume), quint32(65535 - 30 * 683));
    Deliver();
    EXPECT_EQ(now(0), "176");
    EXPECT_EQ(black(0), 30);

    // Past either end of the bar: all the way up, all the way down.
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(5, 50));
    QTest::mouseMove(bar, QPoint(5, -40));
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(5, -40));
    EXPECT_EQ(value(WaveVolume), 65535u);
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(5, 50));
    QTest::mouseMove(bar, QPoint(5, 300));
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(5, 300));
    EXPECT_EQ(value(WaveVolume), 0u);
    Deliver();
    EXPECT_EQ(now(0), "0");
    EXPECT_EQ(black(0), 96);

    // A move without a press does nothing.
    QTest::mouseMove(bar, QPoint(5, 10));
    EXPECT_EQ(black(0), 96);
}

TEST_F(VolumeStripTest, UpDownMaxAndMinWriteAndASecondStripFollows)
{
    ASSERT_EQ(w.bind(0, 0, Speakers, Wave), QString());
    ASSERT_EQ(w.bind(1, 0, Speakers, Wave), QString());
    auto *fast = w.child<UpDown>(0, "UpDown");
    auto *single = w.child<UpDown>(0, "UpDown_L");
    EXPECT_EQ(fast->Max(), 256);
    EXPECT_EQ(fast->Increment(), 8);
    EXPECT_EQ(single->Increment(), 1);

    QTest::mouseClick(fast, Qt::LeftButton, {}, QPoint(6, 5)); // upper arrow
    EXPECT_EQ(single->Position(), 168);
    EXPECT_EQ(value(WaveVolume), 168u * 256);
    QTest::mouseClick(single, Qt::LeftButton, {}, QPoint(6, 35)); // lower arrow
    EXPECT_EQ(fast->Position(), 167);
    EXPECT_EQ(value(WaveVolume), 167u * 256);
    Deliver();
    EXPECT_EQ(now(1), "167");
    EXPECT_EQ(w.child<UpDown>(1, "UpDown_L")->Position(), 167);

    QTest::mouseClick(w.child<ColourButton>(0, "Btn_MAX_"), Qt::LeftButton);
    EXPECT_EQ(value(WaveVolume), 65535u);
    Deliver();
    EXPECT_EQ(now(1), "256");
    EXPECT_EQ(black(1), 0);
    QTest::mouseClick(w.child<ColourButton>(1, "Btn_MIN_"), Qt::LeftButton);
    Deliver();
    EXPECT_EQ(now(0), "0");
    EXPECT_EQ(black(0), 96);

    // Another program's change shows in both.
    board.changeExternally(0, WaveMute, {1});
    Deliver();
    EXPECT_TRUE(w.child<QCheckBox>(0, "Ch_MT")->isChecked());
    EXPECT_TRUE(w.child<QCheckBox>(1, "Ch_MT")->isChecked());
}

TEST_F(VolumeStripTest, BoxesActOnMouseReleaseOnly)
{
    ASSERT_EQ(w.bind(0, 0, Speakers, Wave), QString());
    auto *mute = w.child<QCheckBox>(0, "Ch_MT");
    mute->setFocus();
    QTest::keyClick(mute, Qt::Key_Space);
    EXPECT_FALSE(mute->isChecked()); // the keyboard toggled nothing in the mixer, so the box shows that
    EXPECT_EQ(value(WaveMute), 0u);
    QTest::mouseClick(mute, Qt::LeftButton, {}, QPoint(6, 8));
    EXPECT_EQ(value(WaveMute), 1u);
    QTest::mouseClick(mute, Qt::LeftButton, {}, QPoint(6, 8));
    EXPECT_EQ(value(WaveMute), 0u);

    ASSERT_EQ(w.bind(1, 0, Recording, Microphone), QString());
    ASSERT_EQ(w.bind(2, 0, Recording, LineIn), QString());
    auto *mic = w.child<QCheckBox>(1, "Ch_MX");
    auto *line = w.child<QCheckBox>(2, "Ch_MX");
    EXPECT_EQ(mic->text(), "選択");
    EXPECT_TRUE(mic->isVisible());
    EXPECT_FALSE(w.child<QCheckBox>(1, "Ch_MT")->isVisible());
    EXPECT_TRUE(mic->isChecked());

    // Unchecking the selected source puts the check back and writes nothing.
    QTest::mouseClick(mic, Qt::LeftButton, {}, QPoint(6, 8));
    EXPECT_TRUE(mic->isChecked());
    EXPECT_EQ(board.valuesOf(0, RecMux), (QList<quint32>{1, 0}));

    QTest::mouseClick(line, Qt::LeftButton, {}, QPoint(6, 8));
    EXPECT_EQ(board.valuesOf(0, RecMux), (QList<quint32>{0, 1}));
    Deliver();
    EXPECT_FALSE(mic->isChecked());
    EXPECT_TRUE(line->isChecked());
}

TEST_F(VolumeStripTest, OwnSourceListTakesTheBoxesRowAndSelects)
{
    ASSERT_EQ(w.bind(2, 0, Recording, LineIn), QString());
    ASSERT_EQ(w.bind(0, 0, Recording, 0), QString());
    auto *list = w.child<QComboBox>(0, "CB_MX");
    EXPECT_TRUE(list->isVisible());
    EXPECT_EQ(list->y(), 176); // no box on the recording line itself
    EXPECT_EQ(list->currentText(), "Microphone");
    EXPECT_TRUE(w.child<QWidget>(0, "P_PK")->isVisible());

    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down); // a user's choice, as the list reports it
    EXPECT_EQ(board.valuesOf(0, RecMux), (QList<quint32>{0, 1}));
    Deliver();
    EXPECT_TRUE(w.child<QCheckBox>(2, "Ch_MX")->isChecked());
}

TEST_F(VolumeStripTest, DeviceChangeResetsOnlyItsOwnStrip)
{
    ASSERT_EQ(w.bind(0, 0, Speakers, Wave), QString());
    ASSERT_EQ(w.bind(1, 0, Recording, LineIn), QString());
    auto *device1 = w.child<QComboBox>(1, "CB_Mixer");
    device1->setFocus();
    QTest::keyClick(device1, Qt::Key_Down);

    EXPECT_EQ(w.strips[1]->deviceIndex(), 1);
    EXPECT_EQ(w.strips[1]->destinationIndex(), 0);
    EXPECT_EQ(w.strips[1]->sourceIndex(), 0);
    EXPECT_EQ(now(1), "256"); // the second card's speakers
    EXPECT_FALSE(w.child<QCheckBox>(1, "Ch_MX")->isVisible());
    EXPECT_EQ(w.strips[0]->deviceIndex(), 0);
    EXPECT_EQ(w.strips[0]->sourceIndex(), Wave);
    EXPECT_EQ(now(0), "160");

    // Writes go to the device the strip shows.
    QTest::mouseClick(w.child<ColourButton>(1, "Btn_MIN_"), Qt::LeftButton);
    EXPECT_EQ(value(MasterVolume, 1), 0u);
    EXPECT_EQ(value(MasterVolume, 0), 49152u);

    // A destination chosen on strip 0 lists strip 0's own device's sources.
    auto *dest0 = w.child<QComboBox>(0, "ComboBox_DST");
    dest0->setFocus();
    QTest::keyClick(dest0, Qt::Key_Down);
    auto *sources0 = w.child<QComboBox>(0, "ComboBox_SRC");
    ASSERT_EQ(sources0->count(), 3);
    EXPECT_EQ(sources0->itemText(2), "Line In");
    EXPECT_EQ(w.strips[0]->selectedLineId(), 0xFFFF0001u);
    EXPECT_TRUE(w.child<QWidget>(0, "CB_MX")->isVisible());
}

TEST_F(VolumeStripTest, MeterButtonsAndAutoMark)
{
    w.host.autoRecV = true;
    ASSERT_EQ(w.bind(2, 0, Recording, 0), QString());
    EXPECT_TRUE(w.child<QLabel>(2, "Label_AUTO_")->isVisible());
    auto *cover = w.child<ColourLabel>(2, "Label_PM1_");
    EXPECT_EQ(cover->height(), 96);
    board.devices()[0].destinations[1].line.controls[1].values = {1000}; // below the cut level
    cover->resize(10, w.layer.StripReadPeak(2));
    EXPECT_EQ(cover->height(), 93);
    EXPECT_EQ(w.child<ColourButton>(2, "B_PK")->Caption(), "1000");

    QTest::mouseClick(w.child<ColourButton>(2, "B_PK"), Qt::LeftButton);
    EXPECT_EQ(w.child<ColourButton>(2, "B_PK")->Caption(), "0");
    QTest::mouseClick(w.child<ColourButton>(2, "Btn_Peek"), Qt::LeftButton);
    EXPECT_EQ(cover->height(), 96);
    EXPECT_FALSE(w.host.timerRunning);
    EXPECT_EQ(w.layer.StripReadPeak(2), -1);
}

} // namespace
