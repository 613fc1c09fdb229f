// Three volume strips on the private PulseAudio through the ALSA backend:
// what pactl sets shows on the strips, what the strips set reaches pactl.
#include "support/VolumeStripHarness.h"
#include "tests/server/MixerAlsaSupport.h"

#include "platform/alsa/AlsaMixerService.h"
#include "ui/widgets/ColourButton.h"
#include "ui/widgets/ColourLabel.h"

#include <QCheckBox>
#include <QLabel>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>

using namespace nuvask;
using namespace nuvask::test;

namespace {

class MixerStripPulseTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("PULSE_SERVER"))
            GTEST_SKIP() << "PULSE_SERVER is not set: run under scripts/with-services.sh for the private PulseAudio";
        Pactl({"set-source-volume", "@DEFAULT_SOURCE@", "50%"});
        Pactl({"set-source-mute", "@DEFAULT_SOURCE@", "0"});
        ASSERT_EQ(w.open(), QString());
        device = int(service.deviceNames().indexOf(QStringLiteral("default")));
        ASSERT_GE(device, 0);
        recording = int(w.layer.DestNameList(device).indexOf(QStringLiteral("Recording")));
        ASSERT_GE(recording, 0);
        w.window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.window.get()));
    }
    void TearDown() override { Pactl({"set-source-volume", "@DEFAULT_SOURCE@", "100%"}); }

    int shown(int strip) const { return w.child<QLabel>(strip, "Label_NOW_")->text().toInt(); }

    AlsaMixerService service;
    StripTestWindow w{service};
    int device = -1;
    int recording = -1;
};

TEST_F(MixerStripPulseTest, RecordingStripsShowSetAndFollowTheSourceVolume)
{
    const int playback = recording == 0 ? 1 : 0;
    ASSERT_EQ(w.bind(0, device, playback, 0), QString());
    ASSERT_EQ(w.bind(1, device, recording, 0), QString());
    ASSERT_EQ(w.bind(2, device, recording, 0), QString());
    EXPECT_EQ(w.child<ColourButton>(2, "Btn_MAX_")->Caption(), "256");

    // The server's 50 %, on the step scale, at once.
    const int server = SourceVolume();
    ASSERT_GT(server, 0);
    EXPECT_NEAR(shown(2), server / 256.0, 1.0);
    EXPECT_EQ(shown(1), shown(2));

    // Max on strip 2 makes the source 100 %; strip 1 follows.
    QTest::mouseClick(w.child<ColourButton>(2, "Btn_MAX_"), Qt::LeftButton);
    EXPECT_TRUE(WaitFor([] { return Pactl({"get-source-volume", "@DEFAULT_SOURCE@"}).contains("100%"); }, 2000))
        << Pactl({"get-source-volume", "@DEFAULT_SOURCE@"}).toStdString();
    EXPECT_TRUE(WaitFor([&] { return shown(1) == 256; }, 1000));

    // Another program moves the source: both bars follow within a second.
    Pactl({"set-source-volume", "@DEFAULT_SOURCE@", "30%"});
    EXPECT_TRUE(WaitFor([&] { return shown(2) == 77 && shown(1) == 77; }, 1000)) << shown(2);
    auto *black = w.child<ColourLabel>(2, "Label_VM1_");
    EXPECT_NEAR(black->height(), (65535 - 0.3 * 65535) / 683, 1.0);

    // Mute from the box, seen by the server.
    auto *mute = w.child<QCheckBox>(2, "Ch_MT");
    ASSERT_TRUE(mute->isVisible());
    QTest::mouseClick(mute, Qt::LeftButton, {}, QPoint(6, 8));
    EXPECT_TRUE(WaitFor([] { return Pactl({"get-source-mute", "@DEFAULT_SOURCE@"}).contains("yes"); }, 2000));
    EXPECT_TRUE(WaitFor([&] { return w.child<QCheckBox>(1, "Ch_MT")->isChecked(); }, 1000));
    Pactl({"set-source-mute", "@DEFAULT_SOURCE@", "0"});
    EXPECT_TRUE(WaitFor([&] { return !mute->isChecked(); }, 1000));

    // The playback strip was left alone.
    EXPECT_TRUE(w.child<QWidget>(0, "Label_VM0_")->isVisible());
    EXPECT_FALSE(w.child<QCheckBox>(0, "Ch_MX")->isVisible());
}

} // namespace
