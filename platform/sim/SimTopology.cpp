// Topologies of the simulated mixer board.

#include "platform/sim/SimTopology.h"

namespace nuvask::sim {

SimControl Volume(quint32 controlId, quint32 value, quint32 maximum, quint32 flags)
{
    SimControl c;
    c.control = MixerControl{controlId, MixerControlType::Volume, flags, 0, QStringLiteral("Volume"), 0, maximum};
    c.values = {value};
    return c;
}

SimControl Mute(quint32 controlId, bool muted, quint32 flags)
{
    SimControl c;
    c.control = MixerControl{controlId, MixerControlType::Mute, flags, 0, QStringLiteral("Mute"), 0, 1};
    c.values = {muted ? 1u : 0u};
    return c;
}

SimControl PeakMeter(quint32 controlId, qint32 value, qint32 maximum)
{
    SimControl c;
    c.control = MixerControl{controlId, MixerControlType::PeakMeter, 0, 0, QStringLiteral("Peak"),
                             quint32(-maximum - 1), quint32(maximum)};
    c.values = {quint32(value)};
    return c;
}

SimControl Mux(quint32 controlId, const QList<std::pair<quint32, QString>> &items, int selected, quint32 flags)
{
    SimControl c;
    c.control = MixerControl{controlId, MixerControlType::Mux, flags, quint32(items.size()),
                             QStringLiteral("Recording Source"), 0, quint32(qMax<qsizetype>(items.size(), 1) - 1)};
    for (qsizetype n = 0; n < items.size(); ++n) {
        c.values.append(n == selected ? 1 : 0);
        c.listTexts.append(MixerListText{items.at(n).first, MixerComponent::SrcUndefined, items.at(n).second});
    }
    return c;
}

SimLine Line(quint32 lineId, quint32 componentType, const QString &name, QList<SimControl> controls, quint32 channels)
{
    SimLine line;
    line.lineId = lineId;
    line.componentType = componentType;
    line.name = name;
    line.channels = channels;
    line.controls = std::move(controls);
    return line;
}

SimDevice DemoDevice(const QString &productName)
{
    SimDevice device;
    device.productName = productName;

    SimDestination speakers;
    speakers.line = Line(0xFFFF0000u, MixerComponent::DstSpeakers, QStringLiteral("Volume Control"),
                         {Volume(1, 49152), Mute(2, false)});
    speakers.sources = {
        Line(0x00000001u, MixerComponent::SrcWaveOut, QStringLiteral("Wave"), {Volume(3, 40960), Mute(4, false)}),
        Line(0x00000002u, MixerComponent::SrcCompactDisc, QStringLiteral("CD Audio"), {Volume(5, 32768), Mute(6, true)}),
        Line(0x00000003u, MixerComponent::SrcMicrophone, QStringLiteral("Microphone"), {Volume(7, 16384), Mute(8, true)}),
    };

    SimDestination recording;
    recording.line = Line(0xFFFF0001u, MixerComponent::DstWaveIn, QStringLiteral("Recording Control"),
                          {Volume(9, 32768), PeakMeter(10, 0),
                           Mux(11, {{0x00010000u, QStringLiteral("Microphone")}, {0x00010001u, QStringLiteral("Line In")}}, 0)});
    recording.sources = {
        Line(0x00010000u, MixerComponent::SrcMicrophone, QStringLiteral("Microphone"), {Volume(12, 32768)}),
        Line(0x00010001u, MixerComponent::SrcLine, QStringLiteral("Line In"), {Volume(13, 32768)}),
    };

    device.destinations = {speakers, recording};
    return device;
}

} // namespace nuvask::sim
