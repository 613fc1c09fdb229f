// The mixer layer: opening the mixer devices, listing their lines, strip bindings.

#include "core/mixer/MixerLayer.h"

#include "core/mixer/MixerTexts.h"

#include <QCoreApplication>

namespace nuvask {

namespace {

const QStringList &emptyList()
{
    static const QStringList empty;
    return empty;
}

QString lineError(const char *format, quint32 lineId, quint32 rc)
{
    return QString::asprintf(format, lineId, rc);
}

} // namespace

qint64 MixerValueCount(quint32 flags, quint32 channels, quint32 multipleItems)
{
    const qint64 perItem = (flags & MixerControlFlag::Uniform) ? 1 : qint64(channels);
    const qint64 items = (flags & MixerControlFlag::Multiple) ? qint64(multipleItems) : 1;
    return perItem * items;
}

MixerLayer::MixerLayer(MixerService &service, MixerHost &host)
    : m_service(service), m_host(host)
{
}

MixerLayer::~MixerLayer()
{
    // Devices must not outlive the layer; pending notifications for them are
    // dropped by the service once the handles are closed.
    for (const Device &device : std::as_const(m_devices)) {
        if (device.handle != NoMixerHandle)
            m_service.close(device.handle);
    }
}

quint32 MixerLayer::NumberFromText(const QString &text)
{
    return quint32(text.toLongLong() & 0xFFFFFFFFll);
}

QString MixerLayer::TextFromNumber(quint32 value)
{
    return QString::number(value);
}

void MixerLayer::forgetStripControls()
{
    for (StripRecord &strip : m_strips) {
        for (StripControl &control : strip.controls)
            control.present = false;
    }
    for (int n = 0; n < StripCount; ++n) {
        m_host.SetAutoMarkVisible(n, false);
        tellUnbound(n);
    }
}

void MixerLayer::MixerReset()
{
    forgetStripControls();
    m_host.SetPeakTimerRunning(false);
    for (StripRecord &strip : m_strips) {
        for (StripControl &control : strip.controls)
            control.values.clear();
    }
}

void MixerLayer::MixerOpenAll(QString &error)
{
    error.clear();
    MixerCloseAll();

    m_deviceCount = int(qMin<quint32>(m_service.deviceCount(), quint32(MixerMaxRecords)));
    if (m_deviceCount == 0) {
        error = QString::fromUtf8(MixerTexts::NoDevices);
        return;
    }

    m_devices = QList<Device>(m_deviceCount);
    for (int d = 0; d < m_deviceCount; ++d) {
        MixerCaps caps;
        // A device whose capabilities cannot be read keeps an empty name so
        // that the list stays indexed by device.
        if (m_service.deviceCaps(quint32(d), caps) != MixerRc::NoError)
            caps.productName.clear();
        m_deviceNameList.append(caps.productName);
    }

    for (int d = 0; d < m_deviceCount; ++d) {
        MixerHandle handle = NoMixerHandle;
        MixerHost *host = &m_host;
        const quint32 rc = m_service.open(
            quint32(d), [host](MixerHandle h, quint32 controlId) { host->MixerControlChange(h, controlId); },
            handle);
        if (rc != MixerRc::NoError) {
            // Devices opened so far stay open; the next MixerCloseAll closes them.
            error = QString::fromUtf8(MixerTexts::OpenFailed);
            return;
        }
        m_devices[d].handle = handle;
        QString enumError;
        MixerEnumLines(d, enumError);
        if (!enumError.isEmpty()) {
            error = enumError;
            MixerCloseAll();
            return;
        }
    }
}

void MixerLayer::MixerCloseAll()
{
    m_host.SetPeakTimerRunning(false);
    forgetStripControls();
    QCoreApplication::processEvents();

    for (StripRecord &strip : m_strips) {
        for (StripControl &control : strip.controls)
            control.values.clear();
    }
    m_listTextScratch.clear();

    for (const Device &device : std::as_const(m_devices)) {
        if (device.handle != NoMixerHandle)
            m_service.close(device.handle);
    }
    m_devices.clear();
    m_deviceNameList.clear();
    m_deviceCount = 0;
}

void MixerLayer::MixerEnumLines(int d, QString &error)
{
    error.clear();
    if (d < 0 || d >= m_devices.size()) {
        error = MixerTexts::LineDataFailed();
        return;
    }
    Device &device = m_devices[d];
    MixerCaps caps;
    if (m_service.deviceCaps(quint32(d), caps) != MixerRc::NoError) {
        error = MixerTexts::LineDataFailed();
        return;
    }

    device.destType.clear();
    device.destName.clear();
    device.destLineId.clear();
    device.destinations.clear();

    for (quint32 i = 0; i < caps.destinations; ++i) {
        MixerLine dest;
        if (m_service.lineInfoByDestination(device.handle, i, dest) != MixerRc::NoError)
            continue;
        if (quint64(dest.controls) + dest.connections == 0)
            continue;
        device.destType.append(TextFromNumber(dest.componentType));
        device.destName.append(dest.name);
        device.destLineId.append(TextFromNumber(dest.lineId));

        Destination lists;
        lists.srcType.append(TextFromNumber(dest.componentType));
        lists.srcName.append(QStringLiteral("MAIN"));
        lists.srcLineId.append(TextFromNumber(dest.lineId));
        lists.srcMuxIndex.append(QString());
        for (quint32 j = 0; j < dest.connections; ++j) {
            MixerLine src;
            if (m_service.lineInfoBySource(device.handle, i, j, src) != MixerRc::NoError || src.controls == 0)
                continue;
            lists.srcType.append(TextFromNumber(src.componentType));
            lists.srcName.append(src.name);
            lists.srcLineId.append(TextFromNumber(src.lineId));
            lists.srcMuxIndex.append(QString());
        }
        device.destinations.append(lists);
    }

    if (device.destinations.isEmpty()) {
        error = QString::fromUtf8(MixerTexts::NoComponent);
        return;
    }
    for (int k = 0; k < device.destinations.size(); ++k)
        MixerMapMuxItems(d, k, NumberFromText(device.destLineId.at(k)));
}

QString MixerLayer::MixerMapMuxItems(int d, int k, quint32 lineId)
{
    if (d < 0 || d >= m_devices.size() || k < 0 || k >= m_devices[d].destinations.size())
        return lineError(MixerTexts::LineInfoFailed, lineId, MixerRc::InvalidParam);
    const MixerHandle handle = m_devices[d].handle;

    MixerLine line;
    quint32 rc = m_service.lineInfoById(handle, lineId, line);
    if (rc != MixerRc::NoError)
        return lineError(MixerTexts::LineInfoFailed, lineId, rc);
    if (line.controls == 0)
        return QString();

    QList<MixerControl> controls;
    if (!MixerAllocate(controls, line.controls))
        return QString::fromUtf8(MixerTexts::ControlsAllocFailed);
    rc = m_service.lineControls(handle, lineId, controls);
    if (rc != MixerRc::NoError)
        return lineError(MixerTexts::LineControlsFailed, lineId, rc);

    const MixerControl *mux = nullptr;
    for (const MixerControl &control : std::as_const(controls)) {
        if (control.controlType == MixerControlType::Mux) {
            mux = &control;
            break;
        }
    }
    if (!mux)
        return QString();
    if (mux->flags & MixerControlFlag::Disabled)
        return QString::asprintf(MixerTexts::ControlDisabled, static_cast<unsigned long>(mux->controlId));

    QList<MixerListText> texts;
    if (!MixerAllocate(texts, MixerValueCount(mux->flags, line.channels, mux->multipleItems)))
        return QString::fromUtf8(MixerTexts::DetailsAllocFailed);
    MixerControlDetails details;
    details.controlId = mux->controlId;
    details.channels = 1;
    details.multipleItems = mux->multipleItems;
    if (m_service.controlListTexts(handle, details, texts) != MixerRc::NoError)
        return QString();

    const qint64 items = (mux->flags & MixerControlFlag::Multiple) ? qint64(mux->multipleItems) : 1;
    Destination &lists = m_devices[d].destinations[k];
    // Every entry is compared with every item: the last matching item wins.
    for (qint64 n = 0; n < items && n < texts.size(); ++n) {
        const QString param = TextFromNumber(texts.at(n).param1);
        for (qsizetype p = 0; p < lists.srcLineId.size(); ++p) {
            if (lists.srcLineId.at(p) == param)
                lists.srcMuxIndex[p] = QString::number(n);
        }
    }
    return QString();
}

MixerHandle MixerLayer::MixerHandles(int device) const
{
    return device >= 0 && device < m_devices.size() ? m_devices.at(device).handle : NoMixerHandle;
}

int MixerLayer::DestCount(int device) const
{
    return device >= 0 && device < m_devices.size() ? int(m_devices.at(device).destinations.size()) : 0;
}

const QStringList &MixerLayer::DestTypeList(int device) const
{
    return device >= 0 && device < m_devices.size() ? m_devices.at(device).destType : emptyList();
}

const QStringList &MixerLayer::DestNameList(int device) const
{
    return device >= 0 && device < m_devices.size() ? m_devices.at(device).destName : emptyList();
}

const QStringList &MixerLayer::DestLineIdList(int device) const
{
    return device >= 0 && device < m_devices.size() ? m_devices.at(device).destLineId : emptyList();
}

const MixerLayer::Destination *MixerLayer::destinationAt(int device, int destination) const
{
    if (device < 0 || device >= m_devices.size())
        return nullptr;
    const QList<Destination> &dests = m_devices.at(device).destinations;
    return destination >= 0 && destination < dests.size() ? &dests.at(destination) : nullptr;
}

const QStringList &MixerLayer::SrcTypeList(int device, int destination) const
{
    const Destination *dest = destinationAt(device, destination);
    return dest ? dest->srcType : emptyList();
}

const QStringList &MixerLayer::SrcNameList(int device, int destination) const
{
    const Destination *dest = destinationAt(device, destination);
    return dest ? dest->srcName : emptyList();
}

const QStringList &MixerLayer::SrcLineIdList(int device, int destination) const
{
    const Destination *dest = destinationAt(device, destination);
    return dest ? dest->srcLineId : emptyList();
}

const QStringList &MixerLayer::SrcMuxIndexList(int device, int destination) const
{
    const Destination *dest = destinationAt(device, destination);
    return dest ? dest->srcMuxIndex : emptyList();
}

} // namespace nuvask
