#pragma once
// The mixer service interface (devices, lines, controls).
//
// The multimedia mixer as the mixer layer sees it: devices, destination and
// source lines, their controls and control values, and change notifications.
// The calls and fields follow the mixer API the layer was designed around, so a
// Windows backend is a pass-through; return codes are numbers, 0 = success.
// Realised by platform/alsa (real sound devices) and platform/sim (tests, demo).

#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <functional>

namespace nuvask {

// An open mixer device. 0 is never a valid handle.
using MixerHandle = quint32;
constexpr MixerHandle NoMixerHandle = 0;

// Return codes, numbered as the mixer API numbers them so that error texts
// print familiar values.
namespace MixerRc {
constexpr quint32 NoError = 0;
constexpr quint32 Error = 1;          // unspecified failure
constexpr quint32 BadDeviceId = 2;
constexpr quint32 InvalidHandle = 5;
constexpr quint32 NoDriver = 6;       // the device went away
constexpr quint32 NoMemory = 7;
constexpr quint32 InvalidParam = 11;
constexpr quint32 InvalidLine = 1024;
constexpr quint32 InvalidControl = 1025;
constexpr quint32 InvalidValue = 1026;
} // namespace MixerRc

// Component types of lines (dwComponentType).
namespace MixerComponent {
constexpr quint32 DstUndefined = 0x0;
constexpr quint32 DstSpeakers = 0x4;
constexpr quint32 DstWaveIn = 0x7;
constexpr quint32 SrcUndefined = 0x1000;
constexpr quint32 SrcDigital = 0x1001;
constexpr quint32 SrcLine = 0x1002;
constexpr quint32 SrcMicrophone = 0x1003;
constexpr quint32 SrcSynthesizer = 0x1004;
constexpr quint32 SrcCompactDisc = 0x1005;
constexpr quint32 SrcTelephone = 0x1006;
constexpr quint32 SrcPcSpeaker = 0x1007;
constexpr quint32 SrcWaveOut = 0x1008;
constexpr quint32 SrcAuxiliary = 0x1009;
} // namespace MixerComponent

// Control types (dwControlType) and control flags (fdwControl).
namespace MixerControlType {
constexpr quint32 PeakMeter = 0x10020001;
constexpr quint32 OnOff = 0x20010000;
constexpr quint32 Mute = 0x20010002;
constexpr quint32 Volume = 0x50030001;
constexpr quint32 Mux = 0x70010001;
constexpr quint32 Mixer = 0x71010001; // multiple-select; never taken for a MUX
} // namespace MixerControlType
namespace MixerControlFlag {
constexpr quint32 Uniform = 0x1;
constexpr quint32 Multiple = 0x2;
constexpr quint32 Disabled = 0x80000000u;
} // namespace MixerControlFlag

struct MixerCaps {
    QString productName; // szPname: at most 31 bytes
    quint32 destinations = 0; // cDestinations
};

struct MixerLine {
    quint32 destination = 0;   // dwDestination
    quint32 source = 0;        // dwSource
    quint32 lineId = 0;        // dwLineID
    quint32 componentType = 0; // dwComponentType
    quint32 channels = 0;      // cChannels
    quint32 connections = 0;   // cConnections
    quint32 controls = 0;      // cControls
    QString name;              // szName
};

struct MixerControl {
    quint32 controlId = 0;     // dwControlID
    quint32 controlType = 0;   // dwControlType
    quint32 flags = 0;         // fdwControl
    quint32 multipleItems = 0; // cMultipleItems
    QString name;              // szName
    // Bounds: one pair of 32-bit fields read as unsigned (dwMinimum/dwMaximum)
    // or as signed (lMinimum/lMaximum), as the control type says.
    quint32 minimum = 0;
    quint32 maximum = 0;
    qint32 signedMinimum() const { return qint32(minimum); }
    qint32 signedMaximum() const { return qint32(maximum); }
};

// What a details call reads or writes: `channels` 1 treats the control as
// uniform over all channels; `multipleItems` is the control's item count (0 for
// a control without items). Values: channels x max(items, 1) 32-bit values,
// items of channel 0 first.
struct MixerControlDetails {
    quint32 controlId = 0;
    quint32 channels = 1;
    quint32 multipleItems = 0;
};

struct MixerListText {
    quint32 param1 = 0; // dwParam1: for a MUX item, the line identifier of the item
    quint32 param2 = 0; // dwParam2: for a MUX item, its component type
    QString name;       // szName
};

// A line's volume as the device itself keeps it, where a volume control's
// values are only the strips' picture of it: the volume guard compares and
// writes back this.
struct DeviceVolume {
    // One value per channel on the device's own scale, over the whole range
    // the device allows.
    QList<quint32> channels;
    // The device value the control's maximum stands for: a channel above it
    // is raised beyond what the control can show (a sound server's volume
    // above 100 %). 0 until the caller fills in the control's own maximum.
    quint32 full = 0;
    // What the line stands for now, where that can change under one line (the
    // sound server's default input behind MAIN); empty for a line that is
    // always the same input.
    QString input;
};

// Called for every change of a control of an open device: (handle, control id).
// Always delivered later from the Qt event loop, never inside the call that
// caused the change and never on another thread.
using MixerNotify = std::function<void(MixerHandle, quint32)>;

// Whether a device could name the programs recording from a line.
enum class RecordingClientsState {
    Named,       // it could (the list may be empty: nobody records)
    CannotTell,  // recording programs are not its business (a sound card's line)
    Unreachable, // it could, but it cannot be reached now (a sound server away)
};

// The programs recording from a line now, by the names they give themselves
// (empty unless `state` is Named).
using RecordingClientsAnswer = std::function<void(const QStringList &names, RecordingClientsState state)>;

class MixerService {
public:
    virtual ~MixerService() = default;

    virtual quint32 deviceCount() = 0;
    virtual quint32 deviceCaps(quint32 device, MixerCaps &caps) = 0;
    virtual quint32 open(quint32 device, const MixerNotify &notify, MixerHandle &handle) = 0;
    virtual quint32 close(MixerHandle handle) = 0;

    virtual quint32 lineInfoByDestination(MixerHandle handle, quint32 destination, MixerLine &line) = 0;
    virtual quint32 lineInfoBySource(MixerHandle handle, quint32 destination, quint32 source, MixerLine &line) = 0;
    virtual quint32 lineInfoById(MixerHandle handle, quint32 lineId, MixerLine &line) = 0;
    // Every control of the line, in the line's order.
    virtual quint32 lineControls(MixerHandle handle, quint32 lineId, QList<MixerControl> &controls) = 0;

    // Values as raw 32-bit words (unsigned, boolean or signed as the type says).
    virtual quint32 controlValues(MixerHandle handle, const MixerControlDetails &details, QList<quint32> &values) = 0;
    virtual quint32 controlListTexts(MixerHandle handle, const MixerControlDetails &details, QList<MixerListText> &texts) = 0;
    virtual quint32 setControlValues(MixerHandle handle, const MixerControlDetails &details, const QList<quint32> &values) = 0;

    // A volume control's line as the device keeps it, `details.channels`
    // values when the device has no scale of its own beyond the control's
    // (then `full` stays 0); and a write of every channel on that scale. A
    // device whose volume reaches beyond its controls' range (a sound server)
    // or whose line can change its input answers with its own.
    virtual quint32 deviceVolume(MixerHandle handle, const MixerControlDetails &details, DeviceVolume &volume)
    {
        volume = DeviceVolume();
        return controlValues(handle, details, volume.channels);
    }
    virtual quint32 setDeviceVolume(MixerHandle handle, const MixerControlDetails &details,
                                    const QList<quint32> &channels)
    {
        return setControlValues(handle, details, channels);
    }

    // `changed` is called (later, from the Qt event loop) when devices came or
    // went or a device's lines changed: a sound server restarted, a default
    // device or a headset changed. The lists must then be built again. A
    // service whose devices never change keeps the default, which never calls.
    virtual void setDevicesChanged(std::function<void()> changed) { (void)changed; }

    // Asks which programs record from the line now. `answer` is called once,
    // inside this call or later from the event loop. A device that cannot
    // tell (a sound card: recording programs are not its business) keeps the
    // default, which answers at once that it cannot.
    virtual void recordingClients(MixerHandle handle, quint32 lineId, const RecordingClientsAnswer &answer)
    {
        (void)handle;
        (void)lineId;
        answer({}, RecordingClientsState::CannotTell);
    }
};

} // namespace nuvask
