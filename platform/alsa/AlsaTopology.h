#pragma once
// What a device's simple-mixer elements become: a playback destination and a
// recording destination, the other elements as their source lines, and the
// volume, mute, selection and MUX controls of each line. Identifiers are
// given once, when the elements are discovered, and never change. Private to
// platform/alsa.

#include "platform/alsa/AlsaControl.h"

#include <QList>
#include <QString>

namespace nuvask {

class AlsaTopology
{
public:
    // Shapes the active elements of one device (in the mixer's order).
    void discover(const QList<snd_mixer_elem_t *> &elems);

    const AlsaLine *findLine(quint32 lineId) const;
    const AlsaControl *findControl(quint32 controlId) const;
    // The exclusive switches that share a MUX with `elem` (elem included).
    QList<snd_mixer_elem_t *> groupOf(snd_mixer_elem_t *elem) const;
    // An element was removed: every control on it fails cleanly from now on.
    void forgetElement(snd_mixer_elem_t *elem);

    QList<AlsaLine> destinations;
    QList<QList<AlsaLine>> sources; // per destination
    QList<AlsaControl> controls;    // control id = index + 1

private:
    int addControl(AlsaControl control);
    static AlsaLine makeLine(quint32 lineId, quint32 componentType, const QString &name, quint32 destination,
                             quint32 source);
    void addElementControls(AlsaLine &line, snd_mixer_elem_t *elem, bool capture, bool withSwitchAsMute);
};

} // namespace nuvask
