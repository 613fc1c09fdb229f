#pragma once
// The sound server's sinks and sources as one mixer device, computed from a
// picture of the server (no server needed, so every mapping is testable on
// hand-made pictures):
//   destination 0 "Playback" (speakers): MAIN is the default sink, followed as
//     it changes; one source line per sink;
//   destination 1 "Recording" (wave-in): MAIN is the default source, one source
//     line per source (monitors too); its MUX selects the default source.
// Every line has a volume (0..65535 for 0..100 % on each channel; the server's
// own per-channel volume, above 100 % too, as the device volume) and a mute;
// every recording line a peak meter (-32768..32767), read by the service.
// A line's identifier belongs to its server name for the life of the process,
// so a device that goes and comes back (or a restarted server) keeps it.

#include "core/mixer/MixerService.h"
#include "platform/pulse/PulseConnection.h"

#include <QHash>
#include <QList>

#include <utility>

namespace nuvask {

class PulseMixerLines
{
public:
    static constexpr quint32 PlaybackLineId = 0x10000;
    static constexpr quint32 RecordingLineId = 0x20000;
    static constexpr quint32 MixerVolumeMax = 65535; // mixer units for 100 %

    // Mixer units from the server's volume (above 100 % reads as 100 %), and back.
    static quint32 toMixer(quint32 serverVolume);
    static quint32 toServer(quint32 mixerVolume);

    // Takes a new picture; names seen for the first time get their identifiers.
    void update(const PulseServerState &server);
    const PulseServerState &server() const { return m_server; }

    quint32 destinationCount() const { return 2; }
    quint32 lineByDestination(quint32 destination, MixerLine &line) const;
    quint32 lineBySource(quint32 destination, quint32 source, MixerLine &line) const;
    quint32 lineById(quint32 lineId, MixerLine &line) const;
    quint32 lineControls(quint32 lineId, QList<MixerControl> &controls) const;
    quint32 values(const MixerControlDetails &details, QList<quint32> &values) const;
    quint32 listTexts(const MixerControlDetails &details, QList<MixerListText> &texts) const;

    // The source whose level the control `controlId` shows, when it is a peak
    // meter; false for every other control. `source` is empty when the
    // meter is MAIN's and the server has no default source.
    bool peakMeterSource(quint32 controlId, QString &source) const;
    // The source a recording line stands for (MAIN: the default source, empty
    // when there is none); false for any other line.
    bool recordingSource(quint32 lineId, QString &source) const;
    static constexpr qint32 PeakMax = 32767; // meter units for full scale

    // The server's own volume of the line behind a volume control: every
    // channel, the whole range; `input` names the device (MAIN: the default
    // one now).
    quint32 deviceVolume(quint32 controlId, DeviceVolume &volume) const;
    // The volume and mute controls of MAIN of either destination: they follow
    // the server's default sink or source.
    static QList<quint32> mainControls(bool source);

    // What a value write asks of the server.
    struct Write
    {
        enum Kind { Volume, Mute, DefaultSource } kind = Volume;
        bool source = false; // a source (else a sink)
        QString name;
        QList<quint32> volumes; // server scale, every channel of the device
        bool muted = false;
    };
    quint32 planWrite(const MixerControlDetails &details, const QList<quint32> &values, Write &write) const;
    // A write of every channel on the server's scale (deviceVolume's).
    quint32 planDeviceWrite(quint32 controlId, const QList<quint32> &channels, Write &write) const;

    // The values of every control, keyed by control id (volumes as the server
    // keeps them): what the change filter compares.
    QHash<quint32, QList<quint32>> allValues() const;
    // The lines in their order with their names: changes when lines come, go or are renamed.
    using Signature = QList<std::pair<quint32, QString>>;
    Signature lineSignature() const;

private:
    enum Kind : quint32 { VolumeKind = 1, MuteKind = 2, MuxKind = 3, PeakKind = 4 };
    struct Target
    {
        bool source = false;
        const PulseDeviceInfo *device = nullptr; // nullptr: MAIN without a default device
        bool main = false;
    };
    static quint32 controlId(quint32 lineId, Kind kind) { return lineId * 8 + kind; }
    bool target(quint32 lineId, Target &out) const;
    // The device behind a volume control, or an error code.
    quint32 volumeTarget(quint32 controlId, Target &out) const;
    const PulseDeviceInfo *byName(bool source, const QString &name) const;
    quint32 idOf(bool source, const QString &name) const;
    quint32 sourceLine(const PulseDeviceInfo &device, bool source, quint32 number, MixerLine &line) const;
    QList<quint32> volumeValues(const PulseDeviceInfo &device, quint32 channels) const;

    PulseServerState m_server;
    QHash<QString, quint32> m_sinkIds;   // name -> line id, never forgotten
    QHash<QString, quint32> m_sourceIds; // name -> line id, never forgotten
};

} // namespace nuvask
