// The mixer service the program uses: the sound server when one answers, else ALSA.

#include "platform/sound/DesktopMixerService.h"

namespace nuvask {

DesktopMixerService::DesktopMixerService(int waitMs, const QString &cardFolder, QObject *parent)
    : QObject(parent), m_pulse(m_connection)
{
    // A card plugged in or out adds or removes its control device there.
    if (!cardFolder.isEmpty())
        m_cards.addPath(cardFolder);
    connect(&m_cards, &QFileSystemWatcher::directoryChanged, this, &DesktopMixerService::devicesChanged);
    connect(&m_pulse, &PulseMixerService::linesChanged, this, &DesktopMixerService::devicesChanged);
    // Queued: the lines change inside the server's callbacks, and the window
    // builds its lists again from the event loop.
    connect(
        this, &DesktopMixerService::devicesChanged, this,
        [this] {
            if (m_devicesChanged)
                m_devicesChanged();
        },
        Qt::QueuedConnection);
    m_connection.start();
    m_connection.waitForFirstAnswer(waitMs);
}

quint32 DesktopMixerService::deviceCount()
{
    m_devices.clear();
    const quint32 cards = m_alsa.deviceCount();
    const bool server = m_pulse.deviceCount() > 0;
    for (quint32 i = 0; i < cards; ++i) {
        if (server && m_alsa.deviceNames().at(i) == QLatin1String("default"))
            continue;
        m_devices.append({false, i});
    }
    if (server)
        m_devices.append({true, 0});
    return quint32(m_devices.size());
}

const DesktopMixerService::Entry *DesktopMixerService::entry(quint32 device) const
{
    return device < quint32(m_devices.size()) ? &m_devices.at(device) : nullptr;
}

MixerService &DesktopMixerService::serviceOf(MixerHandle handle)
{
    return PulseMixerService::ownsHandle(handle) ? static_cast<MixerService &>(m_pulse) : m_alsa;
}

quint32 DesktopMixerService::deviceCaps(quint32 device, MixerCaps &caps)
{
    const Entry *e = entry(device);
    if (!e)
        return MixerRc::BadDeviceId;
    return e->pulse ? m_pulse.deviceCaps(e->index, caps) : m_alsa.deviceCaps(e->index, caps);
}

quint32 DesktopMixerService::open(quint32 device, const MixerNotify &notify, MixerHandle &handle)
{
    const Entry *e = entry(device);
    if (!e)
        return MixerRc::BadDeviceId;
    return e->pulse ? m_pulse.open(e->index, notify, handle) : m_alsa.open(e->index, notify, handle);
}

quint32 DesktopMixerService::close(MixerHandle handle)
{
    return serviceOf(handle).close(handle);
}

quint32 DesktopMixerService::lineInfoByDestination(MixerHandle handle, quint32 destination, MixerLine &line)
{
    return serviceOf(handle).lineInfoByDestination(handle, destination, line);
}

quint32 DesktopMixerService::lineInfoBySource(MixerHandle handle, quint32 destination, quint32 source, MixerLine &line)
{
    return serviceOf(handle).lineInfoBySource(handle, destination, source, line);
}

quint32 DesktopMixerService::lineInfoById(MixerHandle handle, quint32 lineId, MixerLine &line)
{
    return serviceOf(handle).lineInfoById(handle, lineId, line);
}

quint32 DesktopMixerService::lineControls(MixerHandle handle, quint32 lineId, QList<MixerControl> &controls)
{
    return serviceOf(handle).lineControls(handle, lineId, controls);
}

quint32 DesktopMixerService::controlValues(MixerHandle handle, const MixerControlDetails &details,
                                           QList<quint32> &values)
{
    return serviceOf(handle).controlValues(handle, details, values);
}

quint32 DesktopMixerService::controlListTexts(MixerHandle handle, const MixerControlDetails &details,
                                              QList<MixerListText> &texts)
{
    return serviceOf(handle).controlListTexts(handle, details, texts);
}

quint32 DesktopMixerService::setControlValues(MixerHandle handle, const MixerControlDetails &details,
                                              const QList<quint32> &values)
{
    return serviceOf(handle).setControlValues(handle, details, values);
}

} // namespace nuvask
