#pragma once
// The mixer service on ALSA: every sound card is a mixer device, and so is the
// "default" control device when it is not one of them (on a desktop, PulseAudio
// or PipeWire through the ALSA pulse plugin). Changes are watched through the
// mixers' poll descriptors on the Qt event loop.

#include "core/mixer/MixerService.h"

#include <QObject>
#include <QStringList>

#include <functional>
#include <map>
#include <memory>

class QSocketNotifier;

namespace nuvask {

class AlsaMixerDevice;

class AlsaMixerService : public QObject, public MixerService {
    Q_OBJECT
public:
    explicit AlsaMixerService(QObject *parent = nullptr);
    ~AlsaMixerService() override;

    // The ALSA names of the devices the last deviceCount() found ("hw:0", "default").
    QStringList deviceNames() const { return m_deviceNames; }
    // False once the device behind an open handle went away.
    bool isAlive(MixerHandle handle) const;

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

private:
    struct OpenDevice;

    OpenDevice *find(MixerHandle handle);
    // Runs `call` on the device behind an open handle that is still there.
    quint32 withDevice(MixerHandle handle, const std::function<quint32(AlsaMixerDevice &)> &call);
    void onReadable(MixerHandle handle);
    void stopWatching(OpenDevice &open);
    void post(MixerHandle handle, const QList<quint32> &controlIds);

    QStringList m_deviceNames;
    std::map<MixerHandle, std::unique_ptr<OpenDevice>> m_open;
    MixerHandle m_nextHandle = 1;
};

} // namespace nuvask
