// One ALSA control device seen as a mixer device.

#include "platform/alsa/AlsaMixerDevice.h"

#include <alsa/asoundlib.h>

#include <poll.h>

namespace nuvask {

std::unique_ptr<AlsaMixerDevice> AlsaMixerDevice::open(const QString &name, int *error)
{
    // A configuration read before the sound server started names the wrong
    // "default"; read it afresh for every open.
    snd_config_update_free_global();

    std::unique_ptr<AlsaMixerDevice> device(new AlsaMixerDevice);
    device->m_name = name;
    const QByteArray name8 = name.toUtf8();
    int err = snd_mixer_open(&device->m_mixer, 0);
    if (err >= 0) {
        err = snd_mixer_attach(device->m_mixer, name8.constData());
        if (err >= 0)
            err = snd_mixer_selem_register(device->m_mixer, nullptr, nullptr);
        if (err >= 0)
            err = snd_mixer_load(device->m_mixer);
    } else {
        device->m_mixer = nullptr;
    }
    if (err < 0) {
        *error = err;
        return nullptr;
    }

    snd_hctl_t *hctl = nullptr;
    snd_ctl_card_info_t *info = nullptr;
    snd_ctl_card_info_alloca(&info);
    if (snd_mixer_get_hctl(device->m_mixer, name8.constData(), &hctl) >= 0
        && snd_ctl_card_info(snd_hctl_ctl(hctl), info) >= 0)
        device->m_cardName = QString::fromUtf8(snd_ctl_card_info_get_name(info));
    if (device->m_cardName.isEmpty())
        device->m_cardName = name;

    device->discover();
    *error = 0;
    return device;
}

AlsaMixerDevice::~AlsaMixerDevice()
{
    if (m_mixer)
        snd_mixer_close(m_mixer);
}

void AlsaMixerDevice::discover()
{
    QList<snd_mixer_elem_t *> elems;
    for (snd_mixer_elem_t *elem = snd_mixer_first_elem(m_mixer); elem; elem = snd_mixer_elem_next(elem)) {
        if (!snd_mixer_selem_is_active(elem))
            continue;
        elems.append(elem);
        snd_mixer_elem_set_callback(elem, &AlsaMixerDevice::elementCallback);
        snd_mixer_elem_set_callback_private(elem, this);
    }
    m_topology.discover(elems);
}

quint32 AlsaMixerDevice::lineByDestination(quint32 destination, MixerLine &line) const
{
    if (destination >= quint32(m_topology.destinations.size()))
        return MixerRc::InvalidLine;
    line = m_topology.destinations.at(destination).info;
    return MixerRc::NoError;
}

quint32 AlsaMixerDevice::lineBySource(quint32 destination, quint32 source, MixerLine &line) const
{
    if (destination >= quint32(m_topology.destinations.size())
        || source >= quint32(m_topology.sources.at(destination).size()))
        return MixerRc::InvalidLine;
    line = m_topology.sources.at(destination).at(source).info;
    return MixerRc::NoError;
}

quint32 AlsaMixerDevice::lineById(quint32 lineId, MixerLine &line) const
{
    const AlsaLine *found = m_topology.findLine(lineId);
    if (!found)
        return MixerRc::InvalidLine;
    line = found->info;
    return MixerRc::NoError;
}

quint32 AlsaMixerDevice::lineControls(quint32 lineId, QList<MixerControl> &controls) const
{
    const AlsaLine *found = m_topology.findLine(lineId);
    if (!found)
        return MixerRc::InvalidLine;
    controls.clear();
    for (int index : found->controls)
        controls.append(m_topology.controls.at(index).info);
    return MixerRc::NoError;
}

quint32 AlsaMixerDevice::values(const MixerControlDetails &details, QList<quint32> &values) const
{
    const AlsaControl *control = m_topology.findControl(details.controlId);
    if (!control)
        return MixerRc::InvalidControl;
    const bool perChannel = control->kind == AlsaControl::Kind::Volume && details.channels > 1;
    if (perChannel && details.channels != quint32(control->channels.size()))
        return MixerRc::InvalidParam;
    return control->read(perChannel, values);
}

quint32 AlsaMixerDevice::listTexts(const MixerControlDetails &details, QList<MixerListText> &texts) const
{
    const AlsaControl *control = m_topology.findControl(details.controlId);
    if (!control || control->kind != AlsaControl::Kind::Mux)
        return MixerRc::InvalidControl;
    texts.clear();
    for (qsizetype n = 0; n < control->itemLineIds.size(); ++n) {
        const quint32 lineId = control->itemLineIds.at(n);
        MixerLine line;
        lineById(lineId, line);
        texts.append(MixerListText{lineId, line.componentType, control->itemNames.at(n)});
    }
    return MixerRc::NoError;
}

quint32 AlsaMixerDevice::setValues(const MixerControlDetails &details, const QList<quint32> &values,
                                   QList<quint32> &changed)
{
    changed.clear();
    const AlsaControl *control = m_topology.findControl(details.controlId);
    if (!control)
        return MixerRc::InvalidControl;
    const qsizetype needed = qsizetype(qMax<quint32>(details.channels, 1)) * qMax<quint32>(details.multipleItems, 1);
    if (values.size() < needed)
        return MixerRc::InvalidParam;

    // Only a selection needs its group: choosing it switches the others off.
    const QList<snd_mixer_elem_t *> group =
        control->kind == AlsaControl::Kind::Select ? m_topology.groupOf(control->elem) : QList<snd_mixer_elem_t *>{};
    const quint32 rc = control->write(values, details.channels, group);
    if (rc != MixerRc::NoError)
        return rc;

    collectChanges(changed);
    changed.removeOne(details.controlId);
    changed.prepend(details.controlId);
    return MixerRc::NoError;
}

int AlsaMixerDevice::elementCallback(snd_mixer_elem_t *elem, unsigned int mask)
{
    // Values are compared after the events are read; only a removed element
    // needs handling here, before its pointer dangles.
    if (mask == SND_CTL_EVENT_MASK_REMOVE) {
        if (auto *self = static_cast<AlsaMixerDevice *>(snd_mixer_elem_get_callback_private(elem)))
            self->m_topology.forgetElement(elem);
    }
    return 0;
}

void AlsaMixerDevice::collectChanges(QList<quint32> &changed)
{
    // Compared with the last values seen, so that an event that leaves a
    // control as it was does not notify.
    for (AlsaControl &control : m_topology.controls) {
        QList<quint32> now;
        if (control.read(true, now) != MixerRc::NoError || now == control.cache)
            continue;
        control.cache = now;
        changed.append(control.info.controlId);
    }
}

QList<int> AlsaMixerDevice::pollDescriptors() const
{
    QList<int> fds;
    const int count = snd_mixer_poll_descriptors_count(m_mixer);
    if (count <= 0)
        return fds;
    QList<pollfd> pfds(count);
    const int filled = snd_mixer_poll_descriptors(m_mixer, pfds.data(), unsigned(count));
    for (int i = 0; i < filled; ++i)
        fds.append(pfds.at(i).fd);
    return fds;
}

bool AlsaMixerDevice::handleEvents(QList<quint32> &changed)
{
    changed.clear();
    const int count = snd_mixer_poll_descriptors_count(m_mixer);
    if (count <= 0)
        return false;
    QList<pollfd> pfds(count);
    const int filled = snd_mixer_poll_descriptors(m_mixer, pfds.data(), unsigned(count));
    if (filled <= 0)
        return false;
    // Nothing blocks here: ask which descriptors are ready without waiting.
    if (::poll(pfds.data(), nfds_t(filled), 0) < 0)
        return false;
    unsigned short revents = 0;
    if (snd_mixer_poll_descriptors_revents(m_mixer, pfds.data(), unsigned(filled), &revents) < 0)
        return false;
    if (revents & (POLLERR | POLLNVAL | POLLHUP))
        return false;
    const int handled = snd_mixer_handle_events(m_mixer);
    if (handled < 0)
        return false;
    // A descriptor that keeps waking us without events would spin the event
    // loop; after a run of such wake-ups the device counts as gone.
    m_idleWakeups = handled > 0 ? 0 : m_idleWakeups + 1;
    if (m_idleWakeups > 100)
        return false;
    collectChanges(changed);
    return true;
}

} // namespace nuvask
