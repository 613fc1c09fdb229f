#pragma once
// The mixer access layer: opens every mixer device, lists each device's
// destination lines and their source lines into parallel text lists that the
// main window shows in its combo boxes, and owns the per-strip control records
// that binding a strip fills. Line identifiers and component types are kept as
// unsigned decimal text. Tables grow with the machine: any number of devices
// and destinations.

#include "core/mixer/MixerHost.h"
#include "core/mixer/MixerService.h"
#include "core/mixer/StripView.h"
#include "core/mixer/StripVolumeWatcher.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <new>
#include <optional>

namespace nuvask {

// Counts a mixer reports are only trusted up to this many records per buffer;
// a larger count is treated like a failed allocation instead of asking the
// system for gigabytes on the word of a broken driver.
constexpr qint64 MixerMaxRecords = 1 << 16;

// Sizes `buffer` to `count` records; false when the count is out of reason or
// the memory is not there.
template <class T>
bool MixerAllocate(QList<T> &buffer, qint64 count)
{
    if (count < 0 || count > MixerMaxRecords)
        return false;
    try {
        buffer = QList<T>(qsizetype(count));
    } catch (const std::bad_alloc &) {
        return false;
    }
    return true;
}

// Values in a details buffer of a control: one per channel unless the control
// is uniform, times one per item when it has multiple items.
qint64 MixerValueCount(quint32 flags, quint32 channels, quint32 multipleItems);

// One of a strip's five controls, with its details record and value buffer.
struct StripControl {
    bool present = false;
    quint32 controlId = 0;     // dwControlID
    quint32 multipleItems = 0; // cMultipleItems
    quint32 flags = 0;         // fdwControl
    MixerControlDetails details;
    QList<quint32> values;     // the value buffer details are read into and written from
};

enum StripControlKind { StripVolume = 0, StripMute, StripDestMux, StripPeakMeter, StripOwnMux, StripControlKinds };

// What the layer keeps about one strip's bound line.
struct StripRecord {
    std::array<StripControl, StripControlKinds> controls; // indexed by StripControlKind
    quint32 VolMax = 0;    // mixer units
    qint64 VolScale = 1;   // mixer units per pixel of the volume bar
    qint32 PeakMax = 0;    // meter units
    qint64 PeakScale = 1;  // meter units per pixel of the meter bar
    qint64 PeakHold = 0;   // meter units
    quint32 LineChannels = 0;
    quint32 BoundLineId = 0;
};

class MixerLayer {
public:
    static constexpr int StripCount = 3;
    // The strip the user binds to the recording line: the one the level
    // monitor lowers and the registered volumes set.
    static constexpr int RecordingStrip = 2;

    MixerLayer(MixerService &service, MixerHost &host);
    ~MixerLayer();
    MixerLayer(const MixerLayer &) = delete;
    MixerLayer &operator=(const MixerLayer &) = delete;

    // Forgets every strip binding (buffers are dropped, not closed devices).
    void MixerReset();
    // Counts, names, opens and lists every device; empty error = success.
    void MixerOpenAll(QString &error);
    // Closes every device and frees every list and buffer.
    void MixerCloseAll();
    // Builds the destination and source lists of one open device.
    void MixerEnumLines(int device, QString &error);
    // Fills the MUX indexes of one destination; returns the error text, which
    // callers during enumeration discard.
    QString MixerMapMuxItems(int device, int destination, quint32 lineId);

    // Read access for the main window; an index out of range gives an empty list.
    int DeviceCount() const { return m_deviceCount; }
    MixerHandle MixerHandles(int device) const;
    int DestCount(int device) const;
    const QStringList &DeviceNameList() const { return m_deviceNameList; }
    const QStringList &DestTypeList(int device) const;
    const QStringList &DestNameList(int device) const;
    const QStringList &DestLineIdList(int device) const;
    const QStringList &SrcTypeList(int device, int destination) const;
    const QStringList &SrcNameList(int device, int destination) const;
    const QStringList &SrcLineIdList(int device, int destination) const;
    const QStringList &SrcMuxIndexList(int device, int destination) const;

    StripRecord &Strip(int strip) { return m_strips[strip]; }
    const StripRecord &Strip(int strip) const { return m_strips[strip]; }
    bool &SetVolumeBusy() { return m_setVolumeBusy; }
    bool &ReadPeakBusy() { return m_readPeakBusy; }
    QList<MixerListText> &ListTextScratch() { return m_listTextScratch; }
    MixerService &Service() { return m_service; }
    MixerHost &Host() { return m_host; }

    // The low 32 bits of a stored decimal number (line identifiers, types).
    static quint32 NumberFromText(const QString &text);
    static QString TextFromNumber(quint32 value);

    // --- Strips: binding, writes, change notifications, meters ---

    // The widgets strip N is drawn on; nullptr leaves the strip without a display.
    void SetStripView(int strip, StripView *view);
    // Told about the strips' volumes besides their views (the volume guard); nullptr for none.
    void SetVolumeWatcher(StripVolumeWatcher *watcher) { m_volumeWatcher = watcher; }
    // The open device strip N's device list shows (NoMixerHandle when none).
    MixerHandle StripHandle(int strip) const { return stripHandle(strip); }
    // Binds strip N to line L of device d, destination k: searches the line's
    // volume, mute, own multiplexer and peak meter and its entry in the
    // destination's multiplexer, and shows what it finds. Empty error = success.
    void StripBindLine(int strip, int device, int destination, QString &error, quint32 lineId);
    // Leaves strip N bound to nothing: every control group hidden, nothing read
    // or written until it is bound again (its line is gone for now).
    void StripUnbind(int strip);
    bool StripBound(int strip) const { return validStrip(strip) && m_strips[strip].BoundLineId != 0; }
    // Writes `value` UI steps, or (value < 0) the volume at `pixel` pixels below
    // the bar's top. False when there is no volume control, another write is in
    // progress, or the mixer refused. Changes no widget.
    bool StripSetVolume(int strip, int value, int pixel);
    // The write path every volume write takes: `units` mixer units, cut to the
    // control's maximum. False when StripSetVolume would be.
    bool StripSetVolumeUnits(int strip, quint32 units);
    // The same path for a write of every channel on the device's own scale
    // (StripDeviceVolume's), as the volume guard writes back.
    bool StripSetDeviceVolume(int strip, const QList<quint32> &channels);
    // The strip's line as its device keeps it: per channel, over the device's
    // whole range, `full` filled in (the control's maximum when the device
    // has no scale of its own). False when it cannot be read.
    bool StripDeviceVolume(int strip, DeviceVolume &volume);
    // Mixer units of the strip's control for a device value of `volume`:
    // beyond the control's maximum for a channel above full.
    qint64 StripUnitsOf(int strip, const DeviceVolume &volume, quint32 value) const;
    // How many volume writes reached a mixer so far.
    quint64 VolumeWrites() const { return m_volumeWrites; }
    void StripSetMute(int strip, bool on);
    // Makes the strip's source the only selected item of its destination's multiplexer.
    void StripSetRecSelect(int strip, bool on);
    // Makes the item at `position` among the line's own multiplexer items the only selected one.
    void StripSelectMuxItem(int strip, int position);
    // A control changed: redraws every strip bound to it.
    void MixerControlChanged(quint32 controlId);
    // The meter cover's height in pixels, or -1 (no meter, read failed, busy).
    int StripReadPeak(int strip);
    // Switches strip N's meter off or on without searching the control again.
    void StripTogglePeak(int strip);
    // Clears the peak hold (B_PK click).
    void StripResetPeakHold(int strip);
    // The strip shows a volume control (its Label_NOW is visible).
    bool StripShowsVolume(int strip) const;
    // One automatic lowering: the strip's up/down position less 8 UI steps,
    // never below 0, through StripSetVolume. False when nothing was written.
    // The host hears of it (StripAutoLowered), written or not; a lowering
    // inside StripReadPeak is the mixer-meter form's.
    bool StripAutoLower(int strip);
    bool StripCanAutoRecV(int strip) const;
    // The cut level on the 16-bit sample scale, 0..32763.
    void SetCutLevel(int level);
    int CutLevel() const { return m_cutLevel; }

    static constexpr int StepUnits = 256;      // mixer units per UI step
    static constexpr int AutoLowerSteps = 8;   // UI steps one automatic lowering takes off
    static constexpr int MaxCutLevel = 32763;  // 16-bit sample scale

private:
    struct Destination {
        QStringList srcType, srcName, srcLineId, srcMuxIndex;
    };
    struct Device {
        MixerHandle handle = NoMixerHandle;
        QStringList destType, destName, destLineId;
        QList<Destination> destinations; // one per usable destination (DestCount)
    };

    const Destination *destinationAt(int device, int destination) const;
    void forgetStripControls();

    StripView &view(int strip) const;
    bool validStrip(int strip) const { return strip >= 0 && strip < StripCount; }
    // The device the strip's device list shows, and its destination's MUX indexes.
    MixerHandle stripHandle(int strip) const;
    const QStringList &stripMuxIndexes(int strip) const;
    // Reads or writes a control's value buffer through its details record.
    quint32 readControl(int strip, StripControl &control);
    quint32 readValues(MixerHandle handle, StripControl &control);
    static void storeValues(const QList<quint32> &read, StripControl &control);
    // Checks strip N's selection box from its destination multiplexer's buffer.
    void showRecSelect(int strip);
    // The destination multiplexer's item of the source the strip's list shows, or -1.
    qint64 ownMuxItem(int strip) const;
    quint32 writeControl(int strip, const StripControl &control);
    // The one write path of a strip's volume: `write` runs under the busy
    // mark; the watcher hears of what it wrote.
    bool writeVolume(int strip, const std::function<quint32(StripRecord &, StripControl &)> &write);
    // The details of a read or write of every channel of the strip's volume.
    MixerControlDetails channelDetails(int strip) const;
    // Mixer units the strip shows for `units` read from its control: more
    // than the maximum when the device holds the line above full.
    qint64 shownUnits(int strip, quint32 units);
    // The volume a strip shows from its buffer: with several values, the last one.
    static std::optional<quint32> shownVolume(const StripControl &volume);
    void tellUnbound(int strip);
    // Takes the first control of `type`; false (with the error text) when it is
    // disabled, absent, or its buffer cannot be had.
    bool takeControl(int strip, StripControlKind kind, const QList<MixerControl> &controls, quint32 type,
                     QString &error, const MixerControl **found);
    void findDestinationMux(int strip, int device, quint32 destLineId);
    void setUpVolume(int strip);
    void setUpMute(int strip);
    void setUpOwnMux(int strip, int device, int destination, MixerHandle handle);
    void setUpPeakMeter(int strip);
    void updateAutoMark(int strip);
    bool anyMeterPresent() const;
    // Position among the non-empty MUX indexes of the first selected item, or -1.
    static int selectedMuxPosition(const QStringList &muxIndexes, const StripControl &control);
    void clearMuxItems(int strip, StripControl &control);
    // After a refused write of a box's control: the box shows item `item` as the mixer holds it.
    void showRefusedBox(int strip, StripControl &control, const QList<quint32> &before, StripBox box, qint64 item);

    MixerService &m_service;
    MixerHost &m_host;
    int m_deviceCount = 0;
    QStringList m_deviceNameList;
    QList<Device> m_devices;
    std::array<StripRecord, StripCount> m_strips;
    bool m_setVolumeBusy = false;
    bool m_readPeakBusy = false;
    QList<MixerListText> m_listTextScratch;
    std::array<StripView *, StripCount> m_views{};
    StripVolumeWatcher *m_volumeWatcher = nullptr;
    quint64 m_volumeWrites = 0; // volume writes that reached a mixer
    int m_cutLevel = MaxCutLevel;
};

} // namespace nuvask
