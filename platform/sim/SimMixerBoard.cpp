// The simulated mixer board for tests and the demo.

#include "platform/sim/SimMixerBoard.h"

#include <QMetaObject>

namespace nuvask {

namespace {

// Booleans (mute, on/off, MUX items) read back as exactly 1 whatever non-zero
// value was written, as the mixer the layer was designed around does.
bool isBooleanType(quint32 controlType)
{
    return (controlType & 0x00FF0000u) == 0x00010000u;
}

void store(SimControl &control, const QList<quint32> &values)
{
    control.values = values;
    if (isBooleanType(control.control.controlType)) {
        for (quint32 &v : control.values)
            v = v != 0 ? 1 : 0;
    }
}

} // namespace

SimMixerBoard::SimMixerBoard(QList<SimDevice> devices, QObject *parent)
    : QObject(parent), m_devices(std::move(devices))
{
}

std::optional<quint32> SimMixerBoard::fault(SimCall call, qint64 device, qint64 target, qint64 source)
{
    for (qsizetype i = 0; i < m_faults.size(); ++i) {
        SimFault &f = m_faults[i];
        if (f.call != call || (f.device >= 0 && f.device != device) || (f.target >= 0 && f.target != target)
            || (f.source >= 0 && f.source != source))
            continue;
        if (f.skip > 0) {
            --f.skip;
            continue;
        }
        const quint32 rc = f.rc;
        if (f.times > 0 && --f.times == 0)
            m_faults.removeAt(i);
        return rc;
    }
    return std::nullopt;
}

int SimMixerBoard::deviceOf(MixerHandle handle) const
{
    const auto it = m_open.constFind(handle);
    return it == m_open.cend() ? -1 : it->device;
}

MixerLine SimMixerBoard::describe(const SimLine &line, quint32 destination, quint32 source, quint32 connections)
{
    MixerLine info;
    info.destination = destination;
    info.source = source;
    info.lineId = line.lineId;
    info.componentType = line.componentType;
    info.channels = line.channels;
    info.connections = connections;
    info.controls = line.reportedControls.value_or(quint32(line.controls.size()));
    info.name = line.name;
    return info;
}

const SimLine *SimMixerBoard::findLine(int device, quint32 lineId, quint32 *destination, quint32 *source) const
{
    const QList<SimDestination> &dests = m_devices.at(device).destinations;
    for (qsizetype i = 0; i < dests.size(); ++i) {
        *destination = quint32(i);
        *source = 0;
        if (dests.at(i).line.lineId == lineId)
            return &dests.at(i).line;
        for (qsizetype j = 0; j < dests.at(i).sources.size(); ++j) {
            if (dests.at(i).sources.at(j).lineId == lineId) {
                *source = quint32(j);
                return &dests.at(i).sources.at(j);
            }
        }
    }
    return nullptr;
}

SimControl *SimMixerBoard::findControl(int device, quint32 controlId)
{
    if (device < 0 || device >= m_devices.size())
        return nullptr;
    for (SimDestination &dest : m_devices[device].destinations) {
        for (SimControl &control : dest.line.controls) {
            if (control.control.controlId == controlId)
                return &control;
        }
        for (SimLine &src : dest.sources) {
            for (SimControl &control : src.controls) {
                if (control.control.controlId == controlId)
                    return &control;
            }
        }
    }
    return nullptr;
}

void SimMixerBoard::postNotify(int device, quint32 controlId)
{
    for (auto it = m_open.cbegin(); it != m_open.cend(); ++it) {
        if (it->device != device || !it->notify)
            continue;
        const MixerHandle handle = it.key();
        QMetaObject::invokeMethod(
            this,
            [this, handle, controlId] {
                // A handle closed meanwhile gets nothing more.
                const auto open = m_open.constFind(handle);
                if (open != m_open.cend() && open->notify)
                    open->notify(handle, controlId);
            },
            Qt::QueuedConnection);
    }
}

void SimMixerBoard::announceDevicesChanged()
{
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_devicesChanged)
                m_devicesChanged();
        },
        Qt::QueuedConnection);
}

bool SimMixerBoard::changeExternally(int device, quint32 controlId, const QList<quint32> &values)
{
    SimControl *control = findControl(device, controlId);
    if (!control)
        return false;
    store(*control, values);
    postNotify(device, controlId);
    return true;
}

QList<quint32> SimMixerBoard::valuesOf(int device, quint32 controlId) const
{
    SimControl *control = const_cast<SimMixerBoard *>(this)->findControl(device, controlId);
    return control ? control->values : QList<quint32>();
}

quint32 SimMixerBoard::deviceCount()
{
    return quint32(m_devices.size());
}

quint32 SimMixerBoard::deviceCaps(quint32 device, MixerCaps &caps)
{
    if (device >= quint32(m_devices.size()))
        return MixerRc::BadDeviceId;
    if (auto rc = fault(SimCall::DeviceCaps, device, -1))
        return *rc;
    caps.productName = m_devices.at(device).productName;
    caps.destinations = quint32(m_devices.at(device).destinations.size());
    return MixerRc::NoError;
}

quint32 SimMixerBoard::open(quint32 device, const MixerNotify &notify, MixerHandle &handle)
{
    ++m_openCalls;
    if (device >= quint32(m_devices.size()))
        return MixerRc::BadDeviceId;
    if (auto rc = fault(SimCall::Open, device, -1))
        return *rc;
    handle = m_nextHandle++;
    m_open.insert(handle, OpenDevice{int(device), notify});
    return MixerRc::NoError;
}

quint32 SimMixerBoard::close(MixerHandle handle)
{
    return m_open.remove(handle) ? MixerRc::NoError : MixerRc::InvalidHandle;
}

quint32 SimMixerBoard::lineInfoByDestination(MixerHandle handle, quint32 destination, MixerLine &line)
{
    const int device = deviceOf(handle);
    if (device < 0)
        return MixerRc::InvalidHandle;
    if (auto rc = fault(SimCall::LineByDestination, device, destination))
        return *rc;
    const QList<SimDestination> &dests = m_devices.at(device).destinations;
    if (destination >= quint32(dests.size()))
        return MixerRc::InvalidLine;
    const SimDestination &dest = dests.at(destination);
    line = describe(dest.line, destination, 0, quint32(dest.sources.size()));
    return MixerRc::NoError;
}

quint32 SimMixerBoard::lineInfoBySource(MixerHandle handle, quint32 destination, quint32 source, MixerLine &line)
{
    const int device = deviceOf(handle);
    if (device < 0)
        return MixerRc::InvalidHandle;
    if (auto rc = fault(SimCall::LineBySource, device, destination, source))
        return *rc;
    const QList<SimDestination> &dests = m_devices.at(device).destinations;
    if (destination >= quint32(dests.size()) || source >= quint32(dests.at(destination).sources.size()))
        return MixerRc::InvalidLine;
    line = describe(dests.at(destination).sources.at(source), destination, source, 0);
    return MixerRc::NoError;
}

quint32 SimMixerBoard::resolveLine(SimCall call, MixerHandle handle, quint32 lineId, int &device,
                                   quint32 &destination, quint32 &source, const SimLine *&line)
{
    device = deviceOf(handle);
    if (device < 0)
        return MixerRc::InvalidHandle;
    if (auto rc = fault(call, device, lineId))
        return *rc;
    line = findLine(device, lineId, &destination, &source);
    return line ? MixerRc::NoError : MixerRc::InvalidLine;
}

quint32 SimMixerBoard::lineInfoById(MixerHandle handle, quint32 lineId, MixerLine &line)
{
    int device = -1;
    quint32 destination = 0;
    quint32 source = 0;
    const SimLine *found = nullptr;
    if (const quint32 rc = resolveLine(SimCall::LineById, handle, lineId, device, destination, source, found))
        return rc;
    const SimDestination &dest = m_devices.at(device).destinations.at(destination);
    const bool isDestination = found == &dest.line;
    line = describe(*found, destination, source, isDestination ? quint32(dest.sources.size()) : 0);
    return MixerRc::NoError;
}

quint32 SimMixerBoard::lineControls(MixerHandle handle, quint32 lineId, QList<MixerControl> &controls)
{
    int device = -1;
    quint32 destination = 0;
    quint32 source = 0;
    const SimLine *found = nullptr;
    if (const quint32 rc = resolveLine(SimCall::LineControls, handle, lineId, device, destination, source, found))
        return rc;
    controls.clear();
    for (const SimControl &control : found->controls)
        controls.append(control.control);
    return MixerRc::NoError;
}

quint32 SimMixerBoard::resolveControl(SimCall call, MixerHandle handle, quint32 controlId, int &device,
                                      SimControl *&control)
{
    device = deviceOf(handle);
    if (device < 0)
        return MixerRc::InvalidHandle;
    if (auto rc = fault(call, device, controlId))
        return *rc;
    control = findControl(device, controlId);
    return control ? MixerRc::NoError : MixerRc::InvalidControl;
}

quint32 SimMixerBoard::controlValues(MixerHandle handle, const MixerControlDetails &details, QList<quint32> &values)
{
    int device = -1;
    SimControl *control = nullptr;
    if (const quint32 rc = resolveControl(SimCall::ControlValues, handle, details.controlId, device, control))
        return rc;
    const quint32 items = qMax<quint32>(details.multipleItems, 1);
    values.clear();
    for (quint32 c = 0; c < qMax<quint32>(details.channels, 1); ++c) {
        for (quint32 n = 0; n < items; ++n)
            values.append(n < quint32(control->values.size()) ? control->values.at(n) : 0);
    }
    return MixerRc::NoError;
}

quint32 SimMixerBoard::controlListTexts(MixerHandle handle, const MixerControlDetails &details, QList<MixerListText> &texts)
{
    int device = -1;
    SimControl *control = nullptr;
    if (const quint32 rc = resolveControl(SimCall::ControlListTexts, handle, details.controlId, device, control))
        return rc;
    if (control->listTexts.isEmpty())
        return MixerRc::InvalidControl;
    texts = control->listTexts.mid(0, qMax<quint32>(details.multipleItems, 1));
    return MixerRc::NoError;
}

quint32 SimMixerBoard::setControlValues(MixerHandle handle, const MixerControlDetails &details, const QList<quint32> &values)
{
    int device = -1;
    SimControl *control = nullptr;
    if (const quint32 rc = resolveControl(SimCall::SetControlValues, handle, details.controlId, device, control))
        return rc;
    const qsizetype items = qMax<quint32>(details.multipleItems, 1);
    if (values.size() < items)
        return MixerRc::InvalidParam;
    store(*control, values.mid(0, items));
    postNotify(device, details.controlId);
    return MixerRc::NoError;
}

} // namespace nuvask
