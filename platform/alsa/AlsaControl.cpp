// One ALSA mixer element seen as mixer controls.

#include "platform/alsa/AlsaControl.h"

#include "core/base/TextHelpers.h"

#include <alsa/asoundlib.h>

#include <algorithm>

namespace nuvask {

namespace {

quint32 rcOf(int err)
{
    switch (-err) {
    case ENODEV:
    case ENXIO:
    case EBADFD:
    case ENOTCONN:
    case EPIPE:
    case EIO:
        return MixerRc::NoDriver;
    case EINVAL:
        return MixerRc::InvalidValue;
    default:
        return MixerRc::Error;
    }
}

bool switchOn(snd_mixer_elem_t *elem, bool capture, int ch)
{
    int on = 0;
    if (capture)
        snd_mixer_selem_get_capture_switch(elem, snd_mixer_selem_channel_id_t(ch), &on);
    else
        snd_mixer_selem_get_playback_switch(elem, snd_mixer_selem_channel_id_t(ch), &on);
    return on != 0;
}

bool anyCaptureSwitchOn(snd_mixer_elem_t *elem)
{
    for (int ch : AlsaChannelsOf(elem, true)) {
        if (switchOn(elem, true, ch))
            return true;
    }
    return false;
}

int enumItemOf(snd_mixer_elem_t *elem)
{
    unsigned int item = 0;
    return snd_mixer_selem_get_enum_item(elem, SND_MIXER_SCHN_MONO, &item) < 0 ? -1 : int(item);
}

// Selects an item of an enumeration on every channel it has.
int selectEnumItem(snd_mixer_elem_t *elem, int item)
{
    int err = 0;
    for (int ch = 0; ch <= SND_MIXER_SCHN_LAST; ++ch) {
        const int rc = snd_mixer_selem_set_enum_item(elem, snd_mixer_selem_channel_id_t(ch), unsigned(item));
        if (ch == 0)
            err = rc;
        else if (rc < 0)
            break;
    }
    return err;
}

// Switches on one of a group of exclusive capture switches, then the others
// off. When the group stands for an enumeration, the simple mixer writes only
// the chosen one and re-reads an element it writes, so a deselected element
// keeps reporting itself on (no event comes back for our own write) until it
// is written after the choice.
int selectExclusive(const QList<snd_mixer_elem_t *> &group, snd_mixer_elem_t *chosen)
{
    if (!chosen)
        return -ENODEV;
    const int err = snd_mixer_selem_set_capture_switch_all(chosen, 1);
    if (err < 0)
        return err;
    for (snd_mixer_elem_t *other : group) {
        if (other && other != chosen)
            snd_mixer_selem_set_capture_switch_all(other, 0);
    }
    return 0;
}

} // namespace

QList<int> AlsaChannelsOf(snd_mixer_elem_t *elem, bool capture)
{
    QList<int> channels;
    for (int ch = 0; ch <= SND_MIXER_SCHN_LAST; ++ch) {
        const auto id = snd_mixer_selem_channel_id_t(ch);
        if (capture ? snd_mixer_selem_has_capture_channel(elem, id) : snd_mixer_selem_has_playback_channel(elem, id))
            channels.append(ch);
    }
    if (channels.isEmpty())
        channels.append(SND_MIXER_SCHN_MONO);
    return channels;
}

quint32 AlsaControl::read(bool perChannel, QList<quint32> &values) const
{
    values.clear();
    switch (kind) {
    case Kind::Volume: {
        if (!elem)
            return MixerRc::NoDriver;
        quint32 loudest = 0;
        for (int ch : channels) {
            long raw = 0;
            const auto id = snd_mixer_selem_channel_id_t(ch);
            const int err = capture ? snd_mixer_selem_get_capture_volume(elem, id, &raw)
                                    : snd_mixer_selem_get_playback_volume(elem, id, &raw);
            if (err < 0)
                return rcOf(err);
            const qint64 span = qMax<qint64>(qint64(rawMax) - rawMin, 1);
            const qint64 scaled = RoundDiv((std::clamp(raw, rawMin, rawMax) - qint64(rawMin)) * VolumeMax, span);
            values.append(quint32(scaled));
            loudest = qMax(loudest, quint32(scaled));
        }
        // Read as one value, a volume is its loudest channel.
        if (!perChannel)
            values = {loudest};
        return MixerRc::NoError;
    }
    case Kind::Mute: {
        if (!elem)
            return MixerRc::NoDriver;
        // Muted while no channel is switched on.
        bool anyOn = false;
        for (int ch : channels)
            anyOn = anyOn || switchOn(elem, capture, ch);
        values = {anyOn ? 0u : 1u};
        return MixerRc::NoError;
    }
    case Kind::Select:
        if (!elem)
            return MixerRc::NoDriver;
        values = {quint32(enumItem >= 0 ? enumItemOf(elem) == enumItem : anyCaptureSwitchOn(elem))};
        return MixerRc::NoError;
    case Kind::Mux:
        if (elem) {
            const int chosen = enumItemOf(elem);
            for (qsizetype n = 0; n < itemLineIds.size(); ++n)
                values.append(n == chosen ? 1 : 0);
        } else {
            for (snd_mixer_elem_t *item : itemElems)
                values.append(item && anyCaptureSwitchOn(item) ? 1 : 0);
        }
        return MixerRc::NoError;
    }
    return MixerRc::Error;
}

quint32 AlsaControl::write(const QList<quint32> &values, quint32 channelCount,
                           const QList<snd_mixer_elem_t *> &group) const
{
    int err = 0;
    switch (kind) {
    case Kind::Volume: {
        if (!elem)
            return MixerRc::NoDriver;
        const bool perChannel = channelCount > 1;
        if (perChannel && channelCount != quint32(channels.size()))
            return MixerRc::InvalidParam;
        for (qsizetype i = 0; i < channels.size() && err >= 0; ++i) {
            // Clamp first: the pulse plugin silently ignores an out-of-range value.
            const qint64 v = qMin<quint32>(values.at(perChannel ? i : 0), VolumeMax);
            const long raw = long(rawMin + RoundDiv(v * (qint64(rawMax) - rawMin), VolumeMax));
            const auto id = snd_mixer_selem_channel_id_t(channels.at(i));
            err = capture ? snd_mixer_selem_set_capture_volume(elem, id, raw)
                          : snd_mixer_selem_set_playback_volume(elem, id, raw);
        }
        break;
    }
    case Kind::Mute:
        if (!elem)
            return MixerRc::NoDriver;
        err = capture ? snd_mixer_selem_set_capture_switch_all(elem, values.at(0) ? 0 : 1)
                      : snd_mixer_selem_set_playback_switch_all(elem, values.at(0) ? 0 : 1);
        break;
    case Kind::Select:
        if (!elem)
            return MixerRc::NoDriver;
        if (enumItem >= 0) {
            // An enumeration always has one choice; clearing it changes nothing.
            if (values.at(0))
                err = selectEnumItem(elem, enumItem);
        } else if (values.at(0)) {
            err = selectExclusive(group, elem);
        } else {
            err = snd_mixer_selem_set_capture_switch_all(elem, 0);
        }
        break;
    case Kind::Mux: {
        // One item is chosen: the first non-zero one. None leaves the choice as it is.
        const qsizetype items = itemLineIds.size();
        qsizetype chosen = -1;
        for (qsizetype n = 0; n < items && n < values.size() && chosen < 0; ++n) {
            if (values.at(n))
                chosen = n;
        }
        if (chosen >= 0 && elem)
            err = selectEnumItem(elem, int(chosen));
        else if (chosen >= 0)
            err = selectExclusive(itemElems, itemElems.at(chosen));
        break;
    }
    }
    return err < 0 ? rcOf(err) : MixerRc::NoError;
}

void AlsaControl::forget(snd_mixer_elem_t *gone)
{
    if (elem == gone)
        elem = nullptr;
    for (snd_mixer_elem_t *&item : itemElems) {
        if (item == gone)
            item = nullptr;
    }
}

} // namespace nuvask
