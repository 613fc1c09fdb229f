#pragma once
// One ALSA control device seen through alsa-lib's simple mixer and shaped as a
// mixer device: a playback destination and a recording destination, their
// elements as source lines, and volume, mute, selection and MUX controls.
// Identifiers are fixed when the device is opened and stay valid until it is
// closed.

#include "core/MixerService.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

typedef struct _snd_mixer snd_mixer_t;
typedef struct _snd_mixer_elem snd_mixer_elem_t;

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
    quint32 destinationCount() const { return quint32(m_destinations.size()); }

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
    enum class Kind { Volume, Mute, Select, Mux };
    struct Control {
        MixerControl info;
        Kind kind = Kind::Volume;
        bool capture = false;
        snd_mixer_elem_t *elem = nullptr;         // the element, or the enumeration
        int enumItem = -1;                        // Select: the enumeration item it stands for
        QList<snd_mixer_elem_t *> itemElems;      // Mux over exclusive capture switches
        QList<quint32> itemLineIds;               // Mux: line of each item
        QStringList itemNames;                    // Mux: name of each item
        QList<int> channels;                      // the element's channel ids on its side
        long rawMin = 0;
        long rawMax = 0;
        QList<quint32> cache;                     // last values seen, per channel
    };
    struct Line {
        MixerLine info;
        QList<int> controls; // indexes into m_controls
    };

    AlsaMixerDevice() = default;
    void build();
    int addControl(Control control);
    Line makeLine(quint32 lineId, quint32 componentType, const QString &name, quint32 destination, quint32 source);
    void addElementControls(Line &line, snd_mixer_elem_t *elem, bool capture, bool withSwitchAsMute);
    const Line *findLine(quint32 lineId) const;
    const Control *findControl(quint32 controlId) const;
    // The exclusive switches that share a MUX with `elem` (elem included).
    QList<snd_mixer_elem_t *> groupOf(snd_mixer_elem_t *elem) const;
    quint32 read(const Control &control, bool perChannel, QList<quint32> &values) const;
    void collectChanges(QList<quint32> &changed);
    static int elementCallback(snd_mixer_elem_t *elem, unsigned int mask);
    void forgetElement(snd_mixer_elem_t *elem);

    snd_mixer_t *m_mixer = nullptr;
    QString m_name;
    QString m_cardName;
    int m_idleWakeups = 0;
    QList<Line> m_destinations;
    QList<QList<Line>> m_sources;
    QList<Control> m_controls; // control id = index + 1
};

} // namespace nuvask
