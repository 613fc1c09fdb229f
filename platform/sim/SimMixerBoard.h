#pragma once
// A simulated sound board answering the mixer service calls from a declared
// topology: devices, destinations, sources, controls with identifiers, bounds,
// flags, values and list texts. Any call can be made to fail on request, so that
// every error path of the mixer layer can be driven from a test.

#include "core/mixer/MixerService.h"

#include <QHash>
#include <QList>
#include <QObject>

#include <optional>

namespace nuvask {

struct SimControl {
    MixerControl control;
    // One value per item (or one value for a control without items); reads give
    // the same values for every channel, a write to channel 0 sets them.
    QList<quint32> values;
    QList<MixerListText> listTexts; // one per item
};

struct SimLine {
    quint32 lineId = 0;
    quint32 componentType = 0;
    quint32 channels = 2;
    QString name;
    QList<SimControl> controls;
    // Reports this cControls instead of the real number (a misbehaving driver).
    std::optional<quint32> reportedControls;
};

struct SimDestination {
    SimLine line;
    QList<SimLine> sources;
};

struct SimDevice {
    QString productName;
    QList<SimDestination> destinations;
};

enum class SimCall {
    DeviceCaps,
    Open,
    LineByDestination,
    LineBySource,
    LineById,
    LineControls,
    ControlValues,
    ControlListTexts,
    SetControlValues,
};

// Fails matching calls with `rc`. -1 matches anything. `target` is the
// destination number (LineByDestination, LineBySource), the line identifier
// (LineById, LineControls) or the control identifier (details calls).
struct SimFault {
    SimCall call = SimCall::Open;
    qint64 device = -1;
    qint64 target = -1;
    qint64 source = -1; // source number, for LineBySource
    quint32 rc = MixerRc::Error;
    int skip = 0;   // matching calls that still succeed first
    int times = -1; // failures before the fault retires; -1 = for ever
};

class SimMixerBoard : public QObject, public MixerService {
    Q_OBJECT
public:
    explicit SimMixerBoard(QList<SimDevice> devices = {}, QObject *parent = nullptr);

    QList<SimDevice> &devices() { return m_devices; }
    void addFault(const SimFault &fault) { m_faults.append(fault); }
    void clearFaults() { m_faults.clear(); }
    int openHandleCount() const { return int(m_open.size()); }
    int openCount() const { return m_openCalls; }

    // A change made outside the program (another mixer application): stores the
    // values and notifies every open handle of the device.
    bool changeExternally(int device, quint32 controlId, const QList<quint32> &values);
    // Current stored values of a control (empty when unknown).
    QList<quint32> valuesOf(int device, quint32 controlId) const;
    // After devices() was edited (a card plugged in, a line gone): tells the
    // program, later from the event loop, to build its lists again.
    void announceDevicesChanged();

    quint32 deviceCount() override;
    quint32 deviceCaps(quint32 device, MixerCaps &caps) override;
    quint32 open(quint32 device, const MixerNotify &notify, MixerHandle &handle) override;
    quint32 close(MixerHandle handle) override;
    quint32 lineInfoByDestination(MixerHandle handle, quint32 destination, MixerLine &line) override;
    quint32 lineInfoBySource(MixerHandle handle, quint32 destination, quint32 source, MixerLine &line) override;
    quint32 lineInfoById(MixerHandle handle, quint32 lineId, MixerLine &line) override;
    quint32 lineControls(MixerHandle handle, quint32 lineId, QList<MixerControl> &controls) override;
    quint32 controlValues(MixerHandle handle, const MixerControlDetails &details, QList<quint32> &values) override;
    quint32 controlListTexts(MixerHandle handle, const MixerControlDetails &details, QList<MixerListText> &texts) override;
    quint32 setControlValues(MixerHandle handle, const MixerControlDetails &details, const QList<quint32> &values) override;
    void setDevicesChanged(std::function<void()> changed) override { m_devicesChanged = std::move(changed); }

private:
    struct OpenDevice {
        int device = 0;
        MixerNotify notify;
    };

    std::optional<quint32> fault(SimCall call, qint64 device, qint64 target, qint64 source = -1);
    int deviceOf(MixerHandle handle) const;
    const SimLine *findLine(int device, quint32 lineId, quint32 *destination, quint32 *source) const;
    // The handle's device, the call's fault and the line by identifier, in that order.
    quint32 resolveLine(SimCall call, MixerHandle handle, quint32 lineId, int &device, quint32 &destination,
                        quint32 &source, const SimLine *&line);
    SimControl *findControl(int device, quint32 controlId);
    // Handle, injected fault and control of a details call; 0 when all is well.
    quint32 resolveControl(SimCall call, MixerHandle handle, quint32 controlId, int &device, SimControl *&control);
    void postNotify(int device, quint32 controlId);
    static MixerLine describe(const SimLine &line, quint32 destination, quint32 source, quint32 connections);

    QList<SimDevice> m_devices;
    QList<SimFault> m_faults;
    QHash<MixerHandle, OpenDevice> m_open;
    MixerHandle m_nextHandle = 1;
    int m_openCalls = 0;
    std::function<void()> m_devicesChanged;
};

} // namespace nuvask
