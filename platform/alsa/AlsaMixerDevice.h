#pragma once
// One ALSA control device seen through alsa-lib's simple mixer and shaped as a
// mixer device: a playback destination and a recording destination, their
// elements as source lines, and volume, mute, selection and MUX controls.
// Identifiers are fixed when the device is opened and stay valid until it is
// closed.

#include "core/mixer/MixerService.h"
#include "platform/alsa/AlsaTopology.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

typedef struct _snd_mixer snd_mixer_t;

namespace nuvask {

class AlsaMixerDevice {
public:
    // Opens `name` (e.g. "hw:0", "default") from a freshly read ALSA
    // configuration; nullptr and a negative errno in *error on failure.
    static std::unique_ptr<AlsaMixerDevice> open(const QString &name, int *error);
    ~AlsaMixerDevice();
    AlsaMixerDevice(const AlsaMixerDevice &) = delete;
    AlsaMixerDevice &operator=(const AlsaMixerDevice &) = delete;

    QString cardName() const { return m_cardName; }
    quint32 destinationCount() const { return quint32(m_topology.destinations.size()); }

    quint32 lineByDestination(quint32 destination, MixerLine &line) const;
    quint32 lineBySource(quint32 destination, quint32 source, MixerLine &line) const;
    quint32 lineById(quint32 lineId, MixerLine &line) const;
    quint32 lineControls(quint32 lineId, QList<MixerControl> &controls) const;
    quint32 values(const MixerControlDetails &details, QList<quint32> &values) const;
    quint32 listTexts(const MixerControlDetails &details, QList<MixerListText> &texts) const;
    // Writes; `changed` gets the written control and every other control whose
    // value the write changed (ALSA does not report a handle's own writes).
    quint32 setValues(const MixerControlDetails &details, const QList<quint32> &values, QList<quint32> &changed);

    // The descriptors to watch for changes.
    QList<int> pollDescriptors() const;
    // Reads every pending event and lists the controls whose values changed.
    // False when the device went away (server gone, card removed).
    bool handleEvents(QList<quint32> &changed);

private:
    AlsaMixerDevice() = default;
    // Finds the active elements, hooks their callbacks and shapes them.
    void discover();
    void collectChanges(QList<quint32> &changed);
    static int elementCallback(snd_mixer_elem_t *elem, unsigned int mask);

    snd_mixer_t *m_mixer = nullptr;
    QString m_name;
    QString m_cardName;
    int m_idleWakeups = 0;
    AlsaTopology m_topology;
};

} // namespace nuvask
