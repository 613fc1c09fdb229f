// The sound server's picture as mixer lines, on hand-made pictures: volume
// scale, balance kept by writes, identifiers that survive a device's absence,
// MAIN following the default, the recording MUX, and what the change filter sees.
#include "platform/pulse/PulseMixerLines.h"

#include <gtest/gtest.h>

using namespace nuvask;

namespace {

PulseDeviceInfo device(const QString &name, QList<quint32> volumes, bool muted = false, bool monitor = false)
{
    PulseDeviceInfo info;
    info.name = name;
    info.description = name.toUpper();
    info.volumes = std::move(volumes);
    info.muted = muted;
    info.monitor = monitor;
    return info;
}

constexpr quint32 Norm = PulseVolumeNorm;

PulseServerState twoSinksTwoSources()
{
    PulseServerState s;
    s.sinks = {device("a", {Norm / 2, Norm / 4}), device("b", {Norm, Norm}, true)};
    s.sources = {device("a.monitor", {Norm, Norm}, false, true), device("mic", {Norm / 2})};
    s.defaultSink = "a";
    s.defaultSource = "mic";
    return s;
}

quint32 lineIdOf(const PulseMixerLines &lines, quint32 destination, const QString &description)
{
    MixerLine line;
    for (quint32 j = 0; lines.lineBySource(destination, j, line) == MixerRc::NoError; ++j) {
        if (line.name == description)
            return line.lineId;
    }
    return 0;
}

MixerControl control(const PulseMixerLines &lines, quint32 lineId, quint32 type)
{
    QList<MixerControl> controls;
    lines.lineControls(lineId, controls);
    for (const MixerControl &c : std::as_const(controls)) {
        if (c.controlType == type)
            return c;
    }
    return {};
}

TEST(PulseMixerLinesTest, VolumeScaleRoundTripsEveryMixerValueAndNeverPasses100Percent)
{
    for (quint32 m = 0; m <= PulseMixerLines::MixerVolumeMax; ++m)
        ASSERT_EQ(PulseMixerLines::toMixer(PulseMixerLines::toServer(m)), m) << m;
    EXPECT_EQ(PulseMixerLines::toServer(PulseMixerLines::MixerVolumeMax), Norm);
    EXPECT_EQ(PulseMixerLines::toServer(0xFFFFFFFFu), Norm);
    EXPECT_EQ(PulseMixerLines::toMixer(Norm * 3 / 2), PulseMixerLines::MixerVolumeMax);
    EXPECT_EQ(PulseMixerLines::toMixer(0xFFFFFFFFu), PulseMixerLines::MixerVolumeMax);
}

TEST(PulseMixerLinesTest, OneValueWriteScalesChannelsAndKeepsTheirBalance)
{
    PulseMixerLines lines;
    lines.update(twoSinksTwoSources());
    const MixerControl volume = control(lines, PulseMixerLines::PlaybackLineId, MixerControlType::Volume);
    QList<quint32> values;
    ASSERT_EQ(lines.values({volume.controlId, 1, 0}, values), MixerRc::NoError);
    EXPECT_EQ(values, QList<quint32>{32768}); // the louder channel
    ASSERT_EQ(lines.values({volume.controlId, 2, 0}, values), MixerRc::NoError);
    EXPECT_EQ(values, (QList<quint32>{32768, 16384}));

    PulseMixerLines::Write write;
    ASSERT_EQ(lines.planWrite({volume.controlId, 1, 0}, {65535}, write), MixerRc::NoError);
    EXPECT_EQ(write.kind, PulseMixerLines::Write::Volume);
    EXPECT_EQ(write.name, "a");
    EXPECT_EQ(write.volumes, (QList<quint32>{Norm, Norm / 2}));
    ASSERT_EQ(lines.planWrite({volume.controlId, 1, 0}, {0}, write), MixerRc::NoError);
    EXPECT_EQ(write.volumes, (QList<quint32>{0, 0}));
    // Per channel: each takes its own value, beyond 100 % is held at 100 %.
    ASSERT_EQ(lines.planWrite({volume.controlId, 2, 0}, {0xFFFFFFFFu, 0}, write), MixerRc::NoError);
    EXPECT_EQ(write.volumes, (QList<quint32>{Norm, 0}));

    // A silent device takes the value on every channel; one above 100 % comes down.
    PulseServerState loud = twoSinksTwoSources();
    loud.sinks[0].volumes = {0, 0};
    lines.update(loud);
    ASSERT_EQ(lines.planWrite({volume.controlId, 1, 0}, {65535}, write), MixerRc::NoError);
    EXPECT_EQ(write.volumes, (QList<quint32>{Norm, Norm}));
    loud.sinks[0].volumes = {Norm * 2, Norm};
    lines.update(loud);
    ASSERT_EQ(lines.planWrite({volume.controlId, 1, 0}, {65535}, write), MixerRc::NoError);
    EXPECT_EQ(write.volumes, (QList<quint32>{Norm, Norm / 2}));
}

TEST(PulseMixerLinesTest, LineKeepsItsIdentifierWhileAbsentAndAfterReturning)
{
    PulseMixerLines lines;
    PulseServerState s = twoSinksTwoSources();
    lines.update(s);
    const quint32 a = lineIdOf(lines, 0, "A");
    const quint32 b = lineIdOf(lines, 0, "B");
    ASSERT_NE(a, 0u);
    ASSERT_NE(b, 0u);
    ASSERT_NE(a, b);
    EXPECT_NE(a, lineIdOf(lines, 1, "MIC")) << "sinks and sources never share an identifier";

    const PulseMixerLines::Signature before = lines.lineSignature();
    s.sinks.removeFirst();
    s.defaultSink = "b";
    lines.update(s);
    MixerLine line;
    EXPECT_EQ(lines.lineById(a, line), MixerRc::InvalidLine);
    QList<MixerControl> controls;
    EXPECT_EQ(lines.lineControls(a, controls), MixerRc::InvalidLine);
    EXPECT_EQ(lineIdOf(lines, 0, "B"), b);
    EXPECT_NE(lines.lineSignature(), before);

    // Back, after a newcomer, and listed in the server's order again.
    s.sinks = {device("c", {Norm}), device("b", {Norm, Norm}), device("a", {Norm, Norm})};
    lines.update(s);
    EXPECT_EQ(lineIdOf(lines, 0, "A"), a);
    EXPECT_EQ(lineIdOf(lines, 0, "B"), b);
    ASSERT_EQ(lines.lineById(a, line), MixerRc::NoError);
    EXPECT_EQ(line.source, 2u);
    EXPECT_EQ(line.name, "A");
    EXPECT_EQ(line.channels, 2u);
}

TEST(PulseMixerLinesTest, MainFollowsTheDefaultAndTheFilterSeesOnlyRealChanges)
{
    PulseMixerLines lines;
    PulseServerState s = twoSinksTwoSources();
    lines.update(s);
    const quint32 masterMute = control(lines, PulseMixerLines::PlaybackLineId, MixerControlType::Mute).controlId;
    const QHash<quint32, QList<quint32>> first = lines.allValues();
    lines.update(s);
    EXPECT_EQ(lines.allValues(), first) << "the same picture again changes nothing";

    s.defaultSink = "b"; // muted, full volume
    lines.update(s);
    QList<quint32> values;
    ASSERT_EQ(lines.values({masterMute, 1, 0}, values), MixerRc::NoError);
    EXPECT_EQ(values, QList<quint32>{1});
    const QHash<quint32, QList<quint32>> second = lines.allValues();
    QList<quint32> changed;
    for (auto it = second.cbegin(); it != second.cend(); ++it) {
        if (first.value(it.key()) != it.value())
            changed.append(it.key());
    }
    std::sort(changed.begin(), changed.end());
    const quint32 masterVolume = control(lines, PulseMixerLines::PlaybackLineId, MixerControlType::Volume).controlId;
    EXPECT_EQ(changed, (QList<quint32>{masterVolume, masterMute})) << "only MAIN's controls, not the sinks' own";

    // No default sink at all: MAIN is there but cannot be read or written.
    s.defaultSink.clear();
    lines.update(s);
    EXPECT_EQ(lines.values({masterMute, 1, 0}, values), MixerRc::Error);
    PulseMixerLines::Write write;
    EXPECT_EQ(lines.planWrite({masterMute, 1, 0}, {1}, write), MixerRc::Error);
}

TEST(PulseMixerLinesTest, RecordingMuxListsEverySourceAndSelectsTheDefault)
{
    PulseMixerLines lines;
    lines.update(twoSinksTwoSources());
    MixerLine dest;
    ASSERT_EQ(lines.lineByDestination(1, dest), MixerRc::NoError);
    EXPECT_EQ(dest.componentType, MixerComponent::DstWaveIn);
    EXPECT_EQ(dest.connections, 2u);
    const MixerControl mux = control(lines, PulseMixerLines::RecordingLineId, MixerControlType::Mux);
    ASSERT_NE(mux.controlId, 0u);
    EXPECT_EQ(mux.multipleItems, 2u);
    EXPECT_EQ(control(lines, PulseMixerLines::PlaybackLineId, MixerControlType::Mux).controlId, 0u);

    QList<MixerListText> texts;
    ASSERT_EQ(lines.listTexts({mux.controlId, 1, 2}, texts), MixerRc::NoError);
    ASSERT_EQ(texts.size(), 2);
    EXPECT_EQ(texts[0].param1, lineIdOf(lines, 1, "A.MONITOR"));
    EXPECT_EQ(texts[0].param2, MixerComponent::SrcWaveOut) << "a monitor records what is heard";
    EXPECT_EQ(texts[1].param1, lineIdOf(lines, 1, "MIC"));
    EXPECT_EQ(texts[1].param2, MixerComponent::SrcMicrophone);
    QList<quint32> values;
    ASSERT_EQ(lines.values({mux.controlId, 1, 2}, values), MixerRc::NoError);
    EXPECT_EQ(values, (QList<quint32>{0, 1}));

    PulseMixerLines::Write write;
    ASSERT_EQ(lines.planWrite({mux.controlId, 1, 2}, {1, 0}, write), MixerRc::NoError);
    EXPECT_EQ(write.kind, PulseMixerLines::Write::DefaultSource);
    EXPECT_EQ(write.name, "a.monitor");
    EXPECT_EQ(lines.planWrite({mux.controlId, 1, 2}, {0, 0}, write), MixerRc::InvalidValue);
    // Every recording line has a meter, no playback line has; and every line
    // counts exactly the controls it lists (the layer sizes its buffers by the count).
    EXPECT_NE(control(lines, lineIdOf(lines, 1, "MIC"), MixerControlType::PeakMeter).controlId, 0u);
    EXPECT_NE(control(lines, PulseMixerLines::RecordingLineId, MixerControlType::PeakMeter).controlId, 0u);
    EXPECT_EQ(control(lines, lineIdOf(lines, 0, "A"), MixerControlType::PeakMeter).controlId, 0u);
    for (quint32 id : {PulseMixerLines::PlaybackLineId, PulseMixerLines::RecordingLineId, lineIdOf(lines, 0, "A"),
                       lineIdOf(lines, 1, "MIC")}) {
        MixerLine line;
        QList<MixerControl> controls;
        ASSERT_EQ(lines.lineById(id, line), MixerRc::NoError);
        ASSERT_EQ(lines.lineControls(id, controls), MixerRc::NoError);
        EXPECT_EQ(line.controls, quint32(controls.size())) << id;
    }
    QString meterSource;
    EXPECT_TRUE(lines.peakMeterSource(
        control(lines, PulseMixerLines::RecordingLineId, MixerControlType::PeakMeter).controlId, meterSource));
    EXPECT_EQ(meterSource, "mic") << "MAIN's meter listens to the default source";
    EXPECT_FALSE(lines.peakMeterSource(mux.controlId, meterSource));

    // Control ids that do not exist are refused, not mapped onto something.
    EXPECT_EQ(lines.values({mux.controlId + 1, 1, 0}, values), MixerRc::InvalidControl);
    EXPECT_EQ(lines.values({0, 1, 0}, values), MixerRc::InvalidControl);
    EXPECT_EQ(lines.listTexts(
                  {control(lines, PulseMixerLines::RecordingLineId, MixerControlType::Volume).controlId, 1, 0}, texts),
              MixerRc::InvalidControl);
}

} // namespace
