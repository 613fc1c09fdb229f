#pragma once
// The mixer access layer: opens every mixer device, lists each device's
// destination lines and their source lines into parallel text lists that the
// main window shows in its combo boxes, and owns the per-strip control records
// that binding a strip fills. Line identifiers and component types are kept as
// unsigned decimal text. Tables grow with the machine: any number of devices
// and destinations.

#include "core/MixerHost.h"
#include "core/MixerService.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <new>

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

    MixerService &m_service;
    MixerHost &m_host;
    int m_deviceCount = 0;
    QStringList m_deviceNameList;
    QList<Device> m_devices;
    std::array<StripRecord, StripCount> m_strips;
    bool m_setVolumeBusy = false;
    bool m_readPeakBusy = false;
    QList<MixerListText> m_listTextScratch;
};

} // namespace nuvask
