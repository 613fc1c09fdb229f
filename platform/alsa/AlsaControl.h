#pragma once
// One mixer control as the ALSA device realises it, and how its values map
// between the simple mixer's raw ranges and switches and the mixer units the
// logic sees (0..65535 volumes, 0/1 booleans, one 0/1 per MUX item). Private
// to platform/alsa.

#include "core/mixer/MixerService.h"

#include <QList>
#include <QStringList>

typedef struct _snd_mixer_elem snd_mixer_elem_t;

namespace nuvask {

struct AlsaControl
{
    enum class Kind { Volume, Mute, Select, Mux };
    static constexpr quint32 VolumeMax = 65535; // mixer units of a volume control

    MixerControl info;
    Kind kind = Kind::Volume;
    bool capture = false;
    snd_mixer_elem_t *elem = nullptr;    // the element, or the enumeration
    int enumItem = -1;                   // Select: the enumeration item it stands for
    QList<snd_mixer_elem_t *> itemElems; // Mux over exclusive capture switches
    QList<quint32> itemLineIds;          // Mux: line of each item
    QStringList itemNames;               // Mux: name of each item
    QList<int> channels;                 // the element's channel ids on its side
    long rawMin = 0;
    long rawMax = 0;
    QList<quint32> cache; // last values seen, per channel

    // Current values: per channel for a volume when `perChannel`, else one
    // value (a volume's loudest channel); one per item for a MUX.
    quint32 read(bool perChannel, QList<quint32> &values) const;
    // Writes `values` (already checked to be long enough). `group` is the
    // set of exclusive switches a Select belongs to, the element alone when
    // it belongs to none.
    quint32 write(const QList<quint32> &values, quint32 channelCount, const QList<snd_mixer_elem_t *> &group) const;
    // The element went away: its calls fail as "no driver" from now on.
    void forget(snd_mixer_elem_t *gone);
};

// A line (destination or source) and the indexes of its controls.
struct AlsaLine
{
    MixerLine info;
    QList<int> controls;
};

// The channel ids an element has on the playback or capture side (mono when none).
QList<int> AlsaChannelsOf(snd_mixer_elem_t *elem, bool capture);

} // namespace nuvask
