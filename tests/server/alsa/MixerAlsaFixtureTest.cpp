// The ALSA backend on the fixture card: what the private PulseAudio cannot
// show (several sources, a capture-source enumeration, an input-source
// enumeration without volume), with nothing but alsa-lib and a test plugin.
#include "tests/server/MixerAlsaSupport.h"

#include "platform/alsa/AlsaMixerService.h"

#include <gtest/gtest.h>

using namespace nuvask;
using namespace nuvask::test;

namespace {

class MixerAlsaFixtureTest : public ::testing::Test {
protected:
    void openLayer()
    {
        ASSERT_TRUE(config.isValid());
        QString error;
        layer.MixerOpenAll(error);
        ASSERT_EQ(error, QString());
        ASSERT_EQ(service.deviceNames(), QStringList{"default"});
        handle = layer.MixerHandles(0);
    }
    quint32 recordingLine() const { return MixerLayer::NumberFromText(layer.DestLineIdList(0).at(1)); }
    MixerControl recordingMux() { return FindControl(service, handle, recordingLine(), MixerControlType::Mux); }
    QList<quint32> read(const MixerControl &control)
    {
        QList<quint32> values;
        EXPECT_EQ(service.controlValues(handle, {control.controlId, 1, control.multipleItems}, values), MixerRc::NoError);
        return values;
    }

    FixtureAlsaConfig config;
    AlsaMixerService service;
    RecordingMixerHost host;
    MixerLayer layer{service, host};
    MixerHandle handle = NoMixerHandle;
};

TEST_F(MixerAlsaFixtureTest, ListsDestinationsSourcesAndMuxItemsOfTheCard)
{
    openLayer();
    EXPECT_EQ(layer.DeviceNameList(), QStringList{"nuvASK Fixture Card"});
    EXPECT_EQ(layer.DestNameList(0), (QStringList{"Playback", "Recording"}));
    EXPECT_EQ(layer.DestTypeList(0), (QStringList{"4", "7"}));

    // Master is the playback destination itself; the other playback elements
    // are its sources, typed by name. The simple mixer orders them.
    QStringList playback = layer.SrcNameList(0, 0);
    EXPECT_EQ(playback.takeFirst(), "MAIN");
    playback.sort();
    EXPECT_EQ(playback, (QStringList{"CD", "Line", "Mic", "PCM"}));
    const QStringList &names = layer.SrcNameList(0, 0);
    const QStringList &types = layer.SrcTypeList(0, 0);
    EXPECT_EQ(types.at(names.indexOf("PCM")), "4104");
    EXPECT_EQ(types.at(names.indexOf("Mic")), "4099");
    EXPECT_EQ(types.at(names.indexOf("Line")), "4098");
    EXPECT_EQ(types.at(names.indexOf("CD")), "4101");

    // The "Capture Source" enumeration becomes the recording MUX: every item
    // points at the recording source line of the same name.
    const QStringList &recNames = layer.SrcNameList(0, 1);
    EXPECT_EQ(recNames.size(), 4);
    EXPECT_EQ(recNames.first(), "MAIN");
    const MixerControl mux = recordingMux();
    ASSERT_NE(mux.controlId, 0u);
    EXPECT_EQ(mux.multipleItems, 3u);
    QList<MixerListText> texts;
    ASSERT_EQ(service.controlListTexts(handle, {mux.controlId, 1, mux.multipleItems}, texts), MixerRc::NoError);
    ASSERT_EQ(texts.size(), 3);
    EXPECT_EQ(layer.SrcMuxIndexList(0, 1).first(), QString());
    for (qsizetype p = 1; p < recNames.size(); ++p) {
        const int n = layer.SrcMuxIndexList(0, 1).at(p).toInt();
        EXPECT_EQ(texts.at(n).name, recNames.at(p));
        EXPECT_EQ(MixerLayer::TextFromNumber(texts.at(n).param1), layer.SrcLineIdList(0, 1).at(p));
    }
    // Each item line carries a selection control so that it is listed.
    MixerLine mic;
    ASSERT_EQ(service.lineInfoById(handle, MixerLayer::NumberFromText(layer.SrcLineIdList(0, 1).at(recNames.indexOf("Mic"))), mic),
              MixerRc::NoError);
    EXPECT_EQ(mic.componentType, MixerComponent::SrcMicrophone);
    EXPECT_NE(FindControl(service, handle, mic.lineId, MixerControlType::OnOff).controlId, 0u);
}

TEST_F(MixerAlsaFixtureTest, SelectionThroughTheServiceIsReadBackAndNotified)
{
    openLayer();
    const MixerControl mux = recordingMux();
    const int line = int(layer.SrcNameList(0, 1).indexOf("Line"));
    const int n = layer.SrcMuxIndexList(0, 1).at(line).toInt();
    QList<quint32> values(mux.multipleItems, 0);
    values[n] = 0xFFFFFFFFu; // any non-zero value selects
    host.changes.clear();
    ASSERT_EQ(service.setControlValues(handle, {mux.controlId, 1, mux.multipleItems}, values), MixerRc::NoError);
    QList<quint32> expected(mux.multipleItems, 0);
    expected[n] = 1;
    EXPECT_EQ(read(mux), expected);

    // ALSA is silent about our own write; the service reports it itself.
    ASSERT_TRUE(WaitFor([&] { return !host.changes.isEmpty(); }, 1000));
    EXPECT_EQ(host.changes.first(), std::make_pair(handle, mux.controlId));

    // A second service (a fresh open) sees the same choice.
    AlsaMixerService other;
    ASSERT_EQ(other.deviceCount(), 1u);
    MixerHandle otherHandle = NoMixerHandle;
    ASSERT_EQ(other.open(0, {}, otherHandle), MixerRc::NoError);
    QList<quint32> seen;
    ASSERT_EQ(other.controlValues(otherHandle, {mux.controlId, 1, mux.multipleItems}, seen), MixerRc::NoError);
    EXPECT_EQ(seen, expected);
}

TEST_F(MixerAlsaFixtureTest, ChoiceMadeElsewhereArrivesAsMuxChange)
{
    openLayer();
    const MixerControl mux = recordingMux();
    const QList<quint32> before = read(mux);

    // Another handle of the process picks a different item; the simple mixer
    // calls back only for the element that was deselected, so the MUX must be
    // re-read as a whole.
    AlsaMixerService other;
    ASSERT_EQ(other.deviceCount(), 1u);
    MixerHandle otherHandle = NoMixerHandle;
    ASSERT_EQ(other.open(0, {}, otherHandle), MixerRc::NoError);
    const int pick = before.indexOf(1) == 2 ? 0 : 2;
    QList<quint32> values(mux.multipleItems, 0);
    values[pick] = 1;
    host.changes.clear();
    ASSERT_EQ(other.setControlValues(otherHandle, {mux.controlId, 1, mux.multipleItems}, values), MixerRc::NoError);
    ASSERT_TRUE(WaitFor([&] { return host.changes.contains(std::make_pair(handle, mux.controlId)); }, 1000));
    QList<quint32> expected(mux.multipleItems, 0);
    expected[pick] = 1;
    EXPECT_EQ(read(mux), expected);
    Spin(100);
    EXPECT_EQ(host.changes.count(std::make_pair(handle, mux.controlId)), 1);
}

TEST_F(MixerAlsaFixtureTest, VolumeScalesClampsAndMuteInverts)
{
    openLayer();
    const quint32 playback = MixerLayer::NumberFromText(layer.DestLineIdList(0).at(0));
    const MixerControl volume = FindControl(service, handle, playback, MixerControlType::Volume);
    const MixerControl mute = FindControl(service, handle, playback, MixerControlType::Mute);
    ASSERT_NE(volume.controlId, 0u);
    ASSERT_NE(mute.controlId, 0u);
    EXPECT_EQ(volume.maximum, 65535u);

    // Master runs 0..31 on the card.
    const QList<std::pair<quint32, quint32>> cases = {{0, 0}, {65535, 65535}, {0xFFFFFFFFu, 65535}, {32768, 33825}, {1000, 0}};
    for (const auto &[written, readBack] : cases) {
        ASSERT_EQ(service.setControlValues(handle, {volume.controlId, 1, 0}, {written}), MixerRc::NoError);
        EXPECT_EQ(read(volume), QList<quint32>{readBack}) << written;
    }
    ASSERT_EQ(service.setControlValues(handle, {mute.controlId, 1, 0}, {7}), MixerRc::NoError);
    EXPECT_EQ(read(mute), QList<quint32>{1});
    ASSERT_EQ(service.setControlValues(handle, {mute.controlId, 1, 0}, {0}), MixerRc::NoError);
    EXPECT_EQ(read(mute), QList<quint32>{0});
}

TEST(MixerAlsaFixtureHdaTest, InputSourceWithoutVolumeIsSelectable)
{
    FixtureAlsaConfig config("hda");
    ASSERT_TRUE(config.isValid());
    AlsaMixerService service;
    RecordingMixerHost host;
    MixerLayer layer(service, host);
    QString error;
    layer.MixerOpenAll(error);
    ASSERT_EQ(error, QString());

    // Each choice of "Input Source" is a recording source line and an item of
    // the recording MUX.
    EXPECT_EQ(layer.SrcNameList(0, 1), (QStringList{"MAIN", "Front Mic", "Rear Mic", "Line"}));
    EXPECT_EQ(layer.SrcMuxIndexList(0, 1), (QStringList{"", "0", "1", "2"}));
    EXPECT_EQ(layer.SrcTypeList(0, 1).at(2), "4099");

    const MixerHandle handle = layer.MixerHandles(0);
    const MixerControl mux =
        FindControl(service, handle, MixerLayer::NumberFromText(layer.DestLineIdList(0).at(1)), MixerControlType::Mux);
    ASSERT_EQ(service.setControlValues(handle, {mux.controlId, 1, 3}, {0, 1, 0}), MixerRc::NoError);
    QList<quint32> values;
    ASSERT_EQ(service.controlValues(handle, {mux.controlId, 1, 3}, values), MixerRc::NoError);
    EXPECT_EQ(values, (QList<quint32>{0, 1, 0}));

    // The selection control of a line chooses it too.
    const MixerControl line =
        FindControl(service, handle, MixerLayer::NumberFromText(layer.SrcLineIdList(0, 1).at(3)), MixerControlType::OnOff);
    ASSERT_EQ(service.setControlValues(handle, {line.controlId, 1, 0}, {1}), MixerRc::NoError);
    ASSERT_EQ(service.controlValues(handle, {mux.controlId, 1, 3}, values), MixerRc::NoError);
    EXPECT_EQ(values, (QList<quint32>{0, 0, 1}));
}

} // namespace
