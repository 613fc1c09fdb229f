#pragma once
// The mixer devices of a desktop: every ALSA card, and the sound server as its
// own device whenever a server answers (it then takes the place of ALSA's
// "default" device, which would only reach the same server through the pulse
// plugin, bound to whatever sink was the default when it was opened). Without
// a server the ALSA devices are all there is. The program creates this one.

#include "core/mixer/MixerService.h"
#include "platform/alsa/AlsaMixerService.h"
#include "platform/pulse/PulseConnection.h"
#include "platform/pulse/PulseMixerService.h"

#include <QFileSystemWatcher>
#include <QObject>

namespace nuvask {

class DesktopMixerService : public QObject, public MixerService
{
    Q_OBJECT
public:
    // Connects to the sound server and waits for its first answer at most
    // `waitMs` milliseconds (running the event loop meanwhile). Cards come and
    // go as entries of `cardFolder` (the kernel's sound device folder).
    explicit DesktopMixerService(int waitMs = 1500, const QString &cardFolder = QStringLiteral("/dev/snd"),
                                 QObject *parent = nullptr);

    PulseConnection &connection() { return m_connection; }
    PulseMixerService &pulse() { return m_pulse; }

    quint32 deviceCount() override;
    quint32 deviceCaps(quint32 device, MixerCaps &caps) override;
    quint32 open(quint32 device, const MixerNotify &notify, MixerHandle &handle) override;
    quint32 close(MixerHandle handle) override;
    quint32 lineInfoByDestination(MixerHandle handle, quint32 destination, MixerLine &line) override;
    quint32 lineInfoBySource(MixerHandle handle, quint32 destination, quint32 source, MixerLine &line) override;
    quint32 lineInfoById(MixerHandle handle, quint32 lineId, MixerLine &line) override;
    quint32 lineControls(MixerHandle handle, quint32 lineId, QList<MixerControl> &controls) override;
    quint32 controlValues(MixerHandle handle, const MixerControlDetails &details, QList<quint32> &values) override;
    quint32 controlListTexts(MixerHandle handle, const MixerControlDetails &details,
                             QList<MixerListText> &texts) override;
    quint32 setControlValues(MixerHandle handle, const MixerControlDetails &details,
                             const QList<quint32> &values) override;
    void setDevicesChanged(std::function<void()> changed) override { m_devicesChanged = std::move(changed); }
    quint32 deviceVolume(MixerHandle handle, const MixerControlDetails &details, DeviceVolume &volume) override
    {
        return serviceOf(handle).deviceVolume(handle, details, volume);
    }
    quint32 setDeviceVolume(MixerHandle handle, const MixerControlDetails &details,
                            const QList<quint32> &channels) override
    {
        return serviceOf(handle).setDeviceVolume(handle, details, channels);
    }
    void recordingClients(MixerHandle handle, quint32 lineId, const RecordingClientsAnswer &answer) override
    {
        serviceOf(handle).recordingClients(handle, lineId, answer);
    }

signals:
    // The device list or a device's lines may have changed: list them again.
    void devicesChanged();

private:
    struct Entry
    {
        bool pulse = false;
        quint32 index = 0; // in its service's own numbering
    };
    MixerService &serviceOf(MixerHandle handle);
    const Entry *entry(quint32 device) const;

    AlsaMixerService m_alsa;
    PulseConnection m_connection;
    PulseMixerService m_pulse;
    QList<Entry> m_devices;
    std::function<void()> m_devicesChanged;
    QFileSystemWatcher m_cards;
};

} // namespace nuvask
