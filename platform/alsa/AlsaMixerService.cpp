// The mixer service over ALSA's control devices (sound cards and "default").

#include "platform/alsa/AlsaMixerService.h"

#include "core/base/TextHelpers.h"
#include "platform/alsa/AlsaMixerDevice.h"

#include <alsa/asoundlib.h>

#include <QMetaObject>
#include <QSocketNotifier>

namespace nuvask {

namespace {

constexpr qsizetype ProductNameBytes = 31; // szPname holds 31 bytes and a NUL

// The card behind `name` when it is a kernel card, else -1.
int hardwareCardOf(const char *name)
{
    snd_ctl_t *ctl = nullptr;
    if (snd_ctl_open(&ctl, name, SND_CTL_NONBLOCK) < 0)
        return -2; // not openable at all
    int card = -1;
    if (snd_ctl_type(ctl) == SND_CTL_TYPE_HW) {
        snd_ctl_card_info_t *info = nullptr;
        snd_ctl_card_info_alloca(&info);
        if (snd_ctl_card_info(ctl, info) >= 0)
            card = snd_ctl_card_info_get_card(info);
    }
    snd_ctl_close(ctl);
    return card;
}

} // namespace

struct AlsaMixerService::OpenDevice {
    std::unique_ptr<AlsaMixerDevice> device;
    MixerNotify notify;
    QList<QSocketNotifier *> notifiers;
    bool gone = false;
};

AlsaMixerService::AlsaMixerService(QObject *parent) : QObject(parent) {}

AlsaMixerService::~AlsaMixerService()
{
    for (auto &entry : m_open)
        stopWatching(*entry.second);
}

AlsaMixerService::OpenDevice *AlsaMixerService::find(MixerHandle handle)
{
    const auto it = m_open.find(handle);
    return it == m_open.end() ? nullptr : it->second.get();
}

bool AlsaMixerService::isAlive(MixerHandle handle) const
{
    const auto it = m_open.find(handle);
    return it != m_open.end() && !it->second->gone;
}

quint32 AlsaMixerService::deviceCount()
{
    snd_config_update_free_global();
    m_deviceNames.clear();
    QList<int> cards;
    int card = -1;
    while (snd_card_next(&card) >= 0 && card >= 0) {
        const QString name = QStringLiteral("hw:%1").arg(card);
        int err = 0;
        // A card without a playback or recording line (no mixer elements, or
        // only settings such as an auto-mute mode) is not a mixer device: the
        // program could do nothing with it, and listing it would make the
        // whole start-up fail.
        const auto device = AlsaMixerDevice::open(name, &err);
        if (device && device->destinationCount() > 0) {
            m_deviceNames.append(name);
            cards.append(card);
        }
    }
    const int defaultCard = hardwareCardOf("default");
    if (defaultCard == -1 || (defaultCard >= 0 && !cards.contains(defaultCard))) {
        int err = 0;
        const auto device = AlsaMixerDevice::open(QStringLiteral("default"), &err);
        if (device && device->destinationCount() > 0)
            m_deviceNames.append(QStringLiteral("default"));
    }
    return quint32(m_deviceNames.size());
}

quint32 AlsaMixerService::deviceCaps(quint32 device, MixerCaps &caps)
{
    if (device >= quint32(m_deviceNames.size()))
        return MixerRc::BadDeviceId;
    int err = 0;
    const auto opened = AlsaMixerDevice::open(m_deviceNames.at(device), &err);
    if (!opened)
        return MixerRc::NoDriver;
    caps.productName = TruncateDbcs(opened->cardName(), ProductNameBytes);
    caps.destinations = opened->destinationCount();
    return MixerRc::NoError;
}

quint32 AlsaMixerService::open(quint32 device, const MixerNotify &notify, MixerHandle &handle)
{
    if (device >= quint32(m_deviceNames.size()))
        return MixerRc::BadDeviceId;
    int err = 0;
    auto opened = AlsaMixerDevice::open(m_deviceNames.at(device), &err);
    if (!opened)
        return MixerRc::NoDriver;

    handle = m_nextHandle++;
    auto entry = std::make_unique<OpenDevice>();
    entry->device = std::move(opened);
    entry->notify = notify;
    for (int fd : entry->device->pollDescriptors()) {
        auto *notifier = new QSocketNotifier(qintptr(fd), QSocketNotifier::Read, this);
        const MixerHandle h = handle;
        connect(notifier, &QSocketNotifier::activated, this, [this, h] { onReadable(h); });
        entry->notifiers.append(notifier);
    }
    m_open.emplace(handle, std::move(entry));
    return MixerRc::NoError;
}

quint32 AlsaMixerService::close(MixerHandle handle)
{
    const auto it = m_open.find(handle);
    if (it == m_open.end())
        return MixerRc::InvalidHandle;
    stopWatching(*it->second);
    m_open.erase(it);
    return MixerRc::NoError;
}

void AlsaMixerService::stopWatching(OpenDevice &open)
{
    for (QSocketNotifier *notifier : std::as_const(open.notifiers)) {
        notifier->setEnabled(false);
        notifier->deleteLater();
    }
    open.notifiers.clear();
}

void AlsaMixerService::onReadable(MixerHandle handle)
{
    OpenDevice *open = find(handle);
    if (!open || open->gone)
        return;
    QList<quint32> changed;
    if (!open->device->handleEvents(changed)) {
        // The server or card went away: stop watching, answer calls with errors.
        open->gone = true;
        stopWatching(*open);
        return;
    }
    post(handle, changed);
}

void AlsaMixerService::post(MixerHandle handle, const QList<quint32> &controlIds)
{
    for (quint32 controlId : controlIds) {
        QMetaObject::invokeMethod(
            this,
            [this, handle, controlId] {
                OpenDevice *open = find(handle);
                if (open && open->notify)
                    open->notify(handle, controlId);
            },
            Qt::QueuedConnection);
    }
}

quint32 AlsaMixerService::withDevice(MixerHandle handle, const std::function<quint32(AlsaMixerDevice &)> &call)
{
    OpenDevice *open = find(handle);
    if (!open)
        return MixerRc::InvalidHandle;
    if (open->gone)
        return MixerRc::NoDriver;
    return call(*open->device);
}

quint32 AlsaMixerService::lineInfoByDestination(MixerHandle handle, quint32 destination, MixerLine &line)
{
    return withDevice(handle, [&](AlsaMixerDevice &d) { return d.lineByDestination(destination, line); });
}

quint32 AlsaMixerService::lineInfoBySource(MixerHandle handle, quint32 destination, quint32 source, MixerLine &line)
{
    return withDevice(handle, [&](AlsaMixerDevice &d) { return d.lineBySource(destination, source, line); });
}

quint32 AlsaMixerService::lineInfoById(MixerHandle handle, quint32 lineId, MixerLine &line)
{
    return withDevice(handle, [&](AlsaMixerDevice &d) { return d.lineById(lineId, line); });
}

quint32 AlsaMixerService::lineControls(MixerHandle handle, quint32 lineId, QList<MixerControl> &controls)
{
    return withDevice(handle, [&](AlsaMixerDevice &d) { return d.lineControls(lineId, controls); });
}

quint32 AlsaMixerService::controlValues(MixerHandle handle, const MixerControlDetails &details, QList<quint32> &values)
{
    return withDevice(handle, [&](AlsaMixerDevice &d) { return d.values(details, values); });
}

quint32 AlsaMixerService::controlListTexts(MixerHandle handle, const MixerControlDetails &details,
                                           QList<MixerListText> &texts)
{
    return withDevice(handle, [&](AlsaMixerDevice &d) { return d.listTexts(details, texts); });
}

quint32 AlsaMixerService::setControlValues(MixerHandle handle, const MixerControlDetails &details,
                                           const QList<quint32> &values)
{
    QList<quint32> changed;
    const quint32 rc = withDevice(handle, [&](AlsaMixerDevice &d) { return d.setValues(details, values, changed); });
    // ALSA does not report a handle's own writes; tell the window ourselves.
    if (rc == MixerRc::NoError)
        post(handle, changed);
    return rc;
}

} // namespace nuvask
