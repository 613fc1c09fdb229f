// The sound server's sinks and sources as mixer lines and controls.

#include "platform/pulse/PulseMixerLines.h"

#include <algorithm>

namespace nuvask {

namespace {

constexpr quint32 MaxLinesPerKind = 0xFFFF; // identifiers per destination (the low 16 bits)

quint32 sourceType(const PulseDeviceInfo &device, bool source)
{
    // A sink is fed by wave output, and so is its monitor ("what you hear");
    // anything else recorded is taken for a microphone.
    return !source || device.monitor ? MixerComponent::SrcWaveOut : MixerComponent::SrcMicrophone;
}

} // namespace

quint32 PulseMixerLines::toMixer(quint32 serverVolume)
{
    if (serverVolume >= PulseVolumeNorm)
        return MixerVolumeMax;
    return quint32((quint64(serverVolume) * MixerVolumeMax + PulseVolumeNorm / 2) / PulseVolumeNorm);
}

quint32 PulseMixerLines::toServer(quint32 mixerVolume)
{
    if (mixerVolume >= MixerVolumeMax)
        return PulseVolumeNorm;
    return quint32((quint64(mixerVolume) * PulseVolumeNorm + MixerVolumeMax / 2) / MixerVolumeMax);
}

void PulseMixerLines::update(const PulseServerState &server)
{
    m_server = server;
    const auto assign = [](QHash<QString, quint32> &ids, const QList<PulseDeviceInfo> &devices, quint32 base) {
        for (const PulseDeviceInfo &device : devices) {
            if (!ids.contains(device.name) && quint32(ids.size()) < MaxLinesPerKind)
                ids.insert(device.name, base + quint32(ids.size()) + 1);
        }
    };
    assign(m_sinkIds, m_server.sinks, PlaybackLineId);
    assign(m_sourceIds, m_server.sources, RecordingLineId);
}

const PulseDeviceInfo *PulseMixerLines::byName(bool source, const QString &name) const
{
    const QList<PulseDeviceInfo> &devices = source ? m_server.sources : m_server.sinks;
    for (const PulseDeviceInfo &device : devices) {
        if (device.name == name)
            return &device;
    }
    return nullptr;
}

quint32 PulseMixerLines::idOf(bool source, const QString &name) const
{
    return (source ? m_sourceIds : m_sinkIds).value(name, 0);
}

bool PulseMixerLines::target(quint32 lineId, Target &out) const
{
    out = Target();
    if (lineId == PlaybackLineId || lineId == RecordingLineId) {
        out.source = lineId == RecordingLineId;
        out.main = true;
        out.device = byName(out.source, out.source ? m_server.defaultSource : m_server.defaultSink);
        return true;
    }
    const bool source = (lineId & ~MaxLinesPerKind) == RecordingLineId;
    if (!source && (lineId & ~MaxLinesPerKind) != PlaybackLineId)
        return false;
    const QHash<QString, quint32> &ids = source ? m_sourceIds : m_sinkIds;
    for (auto it = ids.cbegin(); it != ids.cend(); ++it) {
        if (it.value() == lineId) {
            out.source = source;
            out.device = byName(source, it.key());
            return out.device != nullptr; // a line that is gone for now
        }
    }
    return false;
}

quint32 PulseMixerLines::lineByDestination(quint32 destination, MixerLine &line) const
{
    if (destination >= destinationCount())
        return MixerRc::InvalidParam;
    const bool source = destination == 1;
    Target main;
    target(source ? RecordingLineId : PlaybackLineId, main);
    line = MixerLine();
    line.destination = destination;
    line.lineId = source ? RecordingLineId : PlaybackLineId;
    line.componentType = source ? MixerComponent::DstWaveIn : MixerComponent::DstSpeakers;
    line.channels = main.device ? quint32(main.device->volumes.size()) : 2;
    line.connections = quint32((source ? m_server.sources : m_server.sinks).size());
    line.controls = source ? 4 : 2;
    line.name = source ? QStringLiteral("Recording") : QStringLiteral("Playback");
    return MixerRc::NoError;
}

quint32 PulseMixerLines::sourceLine(const PulseDeviceInfo &device, bool source, quint32 number, MixerLine &line) const
{
    line = MixerLine();
    line.destination = source ? 1 : 0;
    line.source = number;
    line.lineId = idOf(source, device.name);
    line.componentType = sourceType(device, source);
    line.channels = quint32(device.volumes.size());
    line.controls = source ? 3 : 2;
    line.name = device.description;
    return line.lineId == 0 ? MixerRc::InvalidLine : MixerRc::NoError;
}

quint32 PulseMixerLines::lineBySource(quint32 destination, quint32 source, MixerLine &line) const
{
    if (destination >= destinationCount())
        return MixerRc::InvalidParam;
    const QList<PulseDeviceInfo> &devices = destination == 1 ? m_server.sources : m_server.sinks;
    if (source >= quint32(devices.size()))
        return MixerRc::InvalidParam;
    return sourceLine(devices.at(source), destination == 1, source, line);
}

quint32 PulseMixerLines::lineById(quint32 lineId, MixerLine &line) const
{
    if (lineId == PlaybackLineId)
        return lineByDestination(0, line);
    if (lineId == RecordingLineId)
        return lineByDestination(1, line);
    Target t;
    if (!target(lineId, t))
        return MixerRc::InvalidLine;
    const QList<PulseDeviceInfo> &devices = t.source ? m_server.sources : m_server.sinks;
    return sourceLine(*t.device, t.source, quint32(t.device - devices.constData()), line);
}

quint32 PulseMixerLines::lineControls(quint32 lineId, QList<MixerControl> &controls) const
{
    Target t;
    if (!target(lineId, t))
        return MixerRc::InvalidLine;
    controls.clear();
    MixerControl volume;
    volume.controlId = controlId(lineId, VolumeKind);
    volume.controlType = MixerControlType::Volume;
    volume.maximum = MixerVolumeMax;
    volume.name = !t.main ? QStringLiteral("Volume")
                          : (t.source ? QStringLiteral("Capture Volume") : QStringLiteral("Master Volume"));
    controls.append(volume);
    MixerControl mute;
    mute.controlId = controlId(lineId, MuteKind);
    mute.controlType = MixerControlType::Mute;
    mute.flags = MixerControlFlag::Uniform;
    mute.maximum = 1;
    mute.name =
        !t.main ? QStringLiteral("Mute") : (t.source ? QStringLiteral("Capture Mute") : QStringLiteral("Master Mute"));
    controls.append(mute);
    if (t.source) {
        MixerControl peak;
        peak.controlId = controlId(lineId, PeakKind);
        peak.controlType = MixerControlType::PeakMeter;
        peak.minimum = quint32(-PeakMax - 1);
        peak.maximum = quint32(PeakMax);
        peak.name = QStringLiteral("Peak");
        controls.append(peak);
    }
    if (lineId == RecordingLineId) {
        MixerControl mux;
        mux.controlId = controlId(lineId, MuxKind);
        mux.controlType = MixerControlType::Mux;
        mux.flags = MixerControlFlag::Uniform | MixerControlFlag::Multiple;
        mux.multipleItems = quint32(m_server.sources.size());
        mux.maximum = 1;
        mux.name = QStringLiteral("Capture Source");
        controls.append(mux);
    }
    return MixerRc::NoError;
}

QList<quint32> PulseMixerLines::volumeValues(const PulseDeviceInfo &device, quint32 channels) const
{
    QList<quint32> out;
    if (device.volumes.isEmpty())
        return out;
    if (channels <= 1) {
        // One value for the whole line: the loudest channel, as a write of one
        // value scales every channel to it.
        out.append(toMixer(*std::max_element(device.volumes.cbegin(), device.volumes.cend())));
        return out;
    }
    for (quint32 c = 0; c < channels; ++c)
        out.append(toMixer(device.volumes.at(std::min<qsizetype>(c, device.volumes.size() - 1))));
    return out;
}

quint32 PulseMixerLines::values(const MixerControlDetails &details, QList<quint32> &values) const
{
    const quint32 lineId = details.controlId / 8;
    const quint32 kind = details.controlId % 8;
    Target t;
    if (!target(lineId, t) || kind < VolumeKind || kind > MuxKind || (kind == MuxKind && lineId != RecordingLineId))
        return MixerRc::InvalidControl;
    values.clear();
    if (kind == MuxKind) {
        for (const PulseDeviceInfo &source : m_server.sources)
            values.append(source.name == m_server.defaultSource ? 1 : 0);
        return MixerRc::NoError;
    }
    if (!t.device)
        return MixerRc::Error; // the server has no default device of this kind right now
    if (kind == VolumeKind) {
        values = volumeValues(*t.device, details.channels);
        return MixerRc::NoError;
    }
    for (quint32 c = 0; c < std::max<quint32>(details.channels, 1); ++c)
        values.append(t.device->muted ? 1 : 0);
    return MixerRc::NoError;
}

bool PulseMixerLines::peakMeterSource(quint32 controlId, QString &source) const
{
    return controlId % 8 == PeakKind && recordingSource(controlId / 8, source);
}

bool PulseMixerLines::recordingSource(quint32 lineId, QString &source) const
{
    Target t;
    if (!target(lineId, t) || !t.source)
        return false;
    source = t.device ? t.device->name : QString();
    return true;
}

quint32 PulseMixerLines::listTexts(const MixerControlDetails &details, QList<MixerListText> &texts) const
{
    if (details.controlId != controlId(RecordingLineId, MuxKind))
        return MixerRc::InvalidControl;
    texts.clear();
    for (const PulseDeviceInfo &source : m_server.sources)
        texts.append({idOf(true, source.name), sourceType(source, true), source.description});
    return MixerRc::NoError;
}

quint32 PulseMixerLines::planWrite(const MixerControlDetails &details, const QList<quint32> &values, Write &write) const
{
    const quint32 lineId = details.controlId / 8;
    const quint32 kind = details.controlId % 8;
    Target t;
    if (!target(lineId, t) || kind < VolumeKind || kind > MuxKind || (kind == MuxKind && lineId != RecordingLineId))
        return MixerRc::InvalidControl;
    if (values.isEmpty())
        return MixerRc::InvalidParam;
    write = Write();
    if (kind == MuxKind) {
        for (qsizetype i = 0; i < values.size() && i < m_server.sources.size(); ++i) {
            if (values.at(i) != 0) {
                write.kind = Write::DefaultSource;
                write.source = true;
                write.name = m_server.sources.at(i).name;
                return MixerRc::NoError;
            }
        }
        return MixerRc::InvalidValue; // a selection of nothing
    }
    if (!t.device)
        return MixerRc::Error;
    write.source = t.source;
    write.name = t.device->name;
    if (kind == MuteKind) {
        write.kind = Write::Mute;
        write.muted = values.at(0) != 0;
        return MixerRc::NoError;
    }
    write.kind = Write::Volume;
    const QList<quint32> &now = t.device->volumes;
    if (details.channels <= 1) {
        // One value: the loudest channel takes it and the others keep their
        // proportion to it, so a balance set elsewhere survives.
        const quint32 wanted = toServer(values.at(0));
        const quint32 loudest = now.isEmpty() ? 0 : *std::max_element(now.cbegin(), now.cend());
        for (quint32 channel : now)
            write.volumes.append(loudest == 0 ? wanted : quint32((quint64(channel) * wanted + loudest / 2) / loudest));
    } else {
        for (qsizetype c = 0; c < now.size(); ++c)
            write.volumes.append(toServer(values.at(std::min<qsizetype>(c, values.size() - 1))));
    }
    return MixerRc::NoError;
}

quint32 PulseMixerLines::volumeTarget(quint32 controlId, Target &out) const
{
    if (controlId % 8 != VolumeKind || !target(controlId / 8, out))
        return MixerRc::InvalidControl;
    return out.device ? MixerRc::NoError : MixerRc::Error; // MAIN without a default device
}

quint32 PulseMixerLines::deviceVolume(quint32 controlId, DeviceVolume &volume) const
{
    Target t;
    if (const quint32 rc = volumeTarget(controlId, t))
        return rc;
    volume.channels = t.device->volumes;
    volume.full = PulseVolumeNorm;
    // Sinks and sources are named apart: a sink and a source may share a name.
    volume.input = (t.source ? QStringLiteral("source ") : QStringLiteral("sink ")) + t.device->name;
    return MixerRc::NoError;
}

QList<quint32> PulseMixerLines::mainControls(bool source)
{
    const quint32 lineId = source ? RecordingLineId : PlaybackLineId;
    return {controlId(lineId, VolumeKind), controlId(lineId, MuteKind)};
}

quint32 PulseMixerLines::planDeviceWrite(quint32 controlId, const QList<quint32> &channels, Write &write) const
{
    Target t;
    if (const quint32 rc = volumeTarget(controlId, t))
        return rc;
    if (channels.size() != t.device->volumes.size())
        return MixerRc::InvalidParam;
    write = Write();
    write.source = t.source;
    write.name = t.device->name;
    write.volumes = channels;
    return MixerRc::NoError;
}

QHash<quint32, QList<quint32>> PulseMixerLines::allValues() const
{
    // Runs on every picture of the server: each device is taken as it is,
    // without looking its line up again.
    QHash<quint32, QList<quint32>> out;
    out.reserve((m_server.sinks.size() + m_server.sources.size() + 2) * 2 + 1);
    const auto add = [&out](quint32 lineId, const PulseDeviceInfo *device) {
        if (lineId == 0)
            return; // past the identifiers a destination has
        // A volume is compared as the server keeps it: a change above 100 %
        // changes nothing the control shows, and is a change. MAIN without
        // a default device reads nothing.
        QList<quint32> volume, mute;
        if (device) {
            volume = device->volumes;
            mute = QList<quint32>(qMax<qsizetype>(device->volumes.size(), 1), device->muted ? 1 : 0);
        }
        out.insert(controlId(lineId, VolumeKind), volume);
        out.insert(controlId(lineId, MuteKind), mute);
    };
    add(PlaybackLineId, byName(false, m_server.defaultSink));
    add(RecordingLineId, byName(true, m_server.defaultSource));
    for (const PulseDeviceInfo &sink : m_server.sinks)
        add(idOf(false, sink.name), &sink);
    for (const PulseDeviceInfo &source : m_server.sources)
        add(idOf(true, source.name), &source);
    QList<quint32> mux;
    values({controlId(RecordingLineId, MuxKind), 1, 0}, mux);
    out.insert(controlId(RecordingLineId, MuxKind), mux);
    return out;
}

PulseMixerLines::Signature PulseMixerLines::lineSignature() const
{
    Signature out;
    out.reserve(m_server.sinks.size() + m_server.sources.size());
    for (const PulseDeviceInfo &sink : m_server.sinks)
        out.append({idOf(false, sink.name), sink.description});
    for (const PulseDeviceInfo &source : m_server.sources)
        out.append({idOf(true, source.name), source.description});
    return out;
}

} // namespace nuvask
