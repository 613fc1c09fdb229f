// How ALSA elements become destination and source lines.

#include "platform/alsa/AlsaTopology.h"

#include <alsa/asoundlib.h>

#include <algorithm>

namespace nuvask {

namespace {

constexpr quint32 PlaybackDestination = 0;

QString elementName(snd_mixer_elem_t *elem)
{
    const QString name = QString::fromUtf8(snd_mixer_selem_get_name(elem));
    const unsigned index = snd_mixer_selem_get_index(elem);
    return index == 0 ? name : QStringLiteral("%1 %2").arg(name).arg(index);
}

bool nameIs(snd_mixer_elem_t *elem, const char *name)
{
    return snd_mixer_selem_get_index(elem) == 0 && qstrcmp(snd_mixer_selem_get_name(elem), name) == 0;
}

bool isPlaybackLine(snd_mixer_elem_t *elem)
{
    return snd_mixer_selem_has_playback_volume(elem) || snd_mixer_selem_has_playback_switch(elem);
}

bool isCaptureLine(snd_mixer_elem_t *elem)
{
    return snd_mixer_selem_has_capture_volume(elem) || snd_mixer_selem_has_capture_switch(elem);
}

// The source component type an element's name suggests; names are matched as
// whole words so that "Front Mic" is a microphone and "Mic Boost" too.
quint32 componentTypeOf(const QString &name)
{
    static const struct
    {
        const char *words;
        quint32 type;
    } table[] = {
        {"PC Speaker", MixerComponent::SrcPcSpeaker}, {"PCM", MixerComponent::SrcWaveOut},
        {"Mic", MixerComponent::SrcMicrophone},       {"Line", MixerComponent::SrcLine},
        {"CD", MixerComponent::SrcCompactDisc},       {"Synth", MixerComponent::SrcSynthesizer},
        {"Phone", MixerComponent::SrcTelephone},      {"Aux", MixerComponent::SrcAuxiliary},
    };
    const QString padded = QLatin1Char(' ') + name + QLatin1Char(' ');
    for (const auto &entry : table) {
        if (padded.contains(QLatin1Char(' ') + QLatin1String(entry.words) + QLatin1Char(' ')))
            return entry.type;
    }
    return MixerComponent::SrcUndefined;
}

} // namespace

void AlsaTopology::discover(const QList<snd_mixer_elem_t *> &elems)
{
    if (elems.isEmpty())
        return;

    auto findNamed = [&elems](const char *name, bool (*usable)(snd_mixer_elem_t *)) -> snd_mixer_elem_t * {
        for (snd_mixer_elem_t *elem : std::as_const(elems)) {
            if (nameIs(elem, name) && usable(elem))
                return elem;
        }
        return nullptr;
    };

    // Playback: Master, else Headphone, else PCM. A card without any of them
    // still gets a playback destination (without controls of its own) when it
    // has playback elements, so that they can be reached.
    snd_mixer_elem_t *master = findNamed("Master", isPlaybackLine);
    if (!master)
        master = findNamed("Headphone", isPlaybackLine);
    if (!master)
        master = findNamed("PCM", isPlaybackLine);

    // Recording: Capture, else the first element with a capture volume, else
    // the first with a capture switch that is not one of a group's choices.
    snd_mixer_elem_t *capture = findNamed("Capture", isCaptureLine);
    for (snd_mixer_elem_t *elem : std::as_const(elems)) {
        if (!capture && snd_mixer_selem_has_capture_volume(elem))
            capture = elem;
    }
    for (snd_mixer_elem_t *elem : std::as_const(elems)) {
        if (!capture && snd_mixer_selem_has_capture_switch(elem) && !snd_mixer_selem_has_capture_switch_exclusive(elem))
            capture = elem;
    }

    // The recording MUX: the exclusive capture switches of one group (what a
    // "Capture Source" enumeration becomes in the simple mixer), else an input
    // source enumeration without volume of its own.
    int group = -1;
    snd_mixer_elem_t *inputEnum = nullptr;
    for (snd_mixer_elem_t *elem : std::as_const(elems)) {
        if (group < 0 && snd_mixer_selem_has_capture_switch_exclusive(elem))
            group = snd_mixer_selem_get_capture_group(elem);
        if (!inputEnum && snd_mixer_selem_is_enum_capture(elem) && !isCaptureLine(elem))
            inputEnum = elem;
    }
    auto inGroup = [group](snd_mixer_elem_t *elem) {
        return group >= 0 && elem && snd_mixer_selem_has_capture_switch_exclusive(elem) &&
               snd_mixer_selem_get_capture_group(elem) == group;
    };

    QList<AlsaLine> playbackSources;
    for (snd_mixer_elem_t *elem : std::as_const(elems)) {
        if (elem == master || !isPlaybackLine(elem))
            continue;
        const quint32 j = quint32(playbackSources.size());
        AlsaLine line = makeLine((PlaybackDestination << 16) | j, componentTypeOf(elementName(elem)), elementName(elem),
                                 PlaybackDestination, j);
        addElementControls(line, elem, false, true);
        playbackSources.append(line);
    }
    if (master || !playbackSources.isEmpty()) {
        AlsaLine dest = makeLine(0xFFFF0000u | PlaybackDestination, MixerComponent::DstSpeakers,
                                 QStringLiteral("Playback"), PlaybackDestination, 0);
        if (master)
            addElementControls(dest, master, false, true);
        dest.info.connections = quint32(playbackSources.size());
        destinations.append(dest);
        sources.append(playbackSources);
    }

    const quint32 recIndex = quint32(destinations.size());
    QList<AlsaLine> recordingSources;
    AlsaControl mux;
    mux.kind = AlsaControl::Kind::Mux;
    mux.capture = true;
    for (snd_mixer_elem_t *elem : std::as_const(elems)) {
        if (elem == capture || !isCaptureLine(elem))
            continue;
        const quint32 j = quint32(recordingSources.size());
        AlsaLine line =
            makeLine((recIndex << 16) | j, componentTypeOf(elementName(elem)), elementName(elem), recIndex, j);
        const bool member = inGroup(elem);
        addElementControls(line, elem, true, !member);
        if (member) {
            AlsaControl select;
            select.kind = AlsaControl::Kind::Select;
            select.capture = true;
            select.elem = elem;
            select.channels = AlsaChannelsOf(elem, true);
            select.info = MixerControl{0,
                                       MixerControlType::OnOff,
                                       MixerControlFlag::Uniform,
                                       0,
                                       elementName(elem) + QStringLiteral(" Select"),
                                       0,
                                       1};
            line.controls.append(addControl(select));
            mux.itemElems.append(elem);
            mux.itemLineIds.append(line.info.lineId);
            mux.itemNames.append(line.info.name);
        }
        recordingSources.append(line);
    }
    if (group < 0 && inputEnum) {
        // Each choice of the enumeration is a source line: the capture element of
        // the same name if there is one, else a line of its own. Either carries a
        // selection control (reads 1 while chosen, any non-zero write chooses it),
        // so that the line is listed and its MUX item can be set.
        mux.elem = inputEnum;
        const int items = snd_mixer_selem_get_enum_items(inputEnum);
        for (int n = 0; n < items; ++n) {
            char text[64] = {0};
            snd_mixer_selem_get_enum_item_name(inputEnum, unsigned(n), sizeof(text) - 1, text);
            const QString itemName = QString::fromUtf8(text);
            auto it = std::find_if(recordingSources.begin(), recordingSources.end(),
                                   [&itemName](const AlsaLine &l) { return l.info.name == itemName; });
            if (it == recordingSources.end()) {
                const quint32 j = quint32(recordingSources.size());
                recordingSources.append(
                    makeLine((recIndex << 16) | j, componentTypeOf(itemName), itemName, recIndex, j));
                it = recordingSources.end() - 1;
            }
            AlsaControl select;
            select.kind = AlsaControl::Kind::Select;
            select.capture = true;
            select.elem = inputEnum;
            select.enumItem = n;
            select.info = MixerControl{
                0, MixerControlType::OnOff, MixerControlFlag::Uniform, 0, itemName + QStringLiteral(" Select"), 0, 1};
            it->controls.append(addControl(select));
            mux.itemLineIds.append(it->info.lineId);
            mux.itemNames.append(itemName);
        }
    }
    if (capture || !recordingSources.isEmpty()) {
        AlsaLine dest =
            makeLine(0xFFFF0000u | recIndex, MixerComponent::DstWaveIn, QStringLiteral("Recording"), recIndex, 0);
        if (capture)
            addElementControls(dest, capture, true, true);
        if (!mux.itemLineIds.isEmpty()) {
            const quint32 items = quint32(mux.itemLineIds.size());
            mux.info = MixerControl{0,
                                    MixerControlType::Mux,
                                    MixerControlFlag::Uniform | MixerControlFlag::Multiple,
                                    items,
                                    QStringLiteral("Capture Source"),
                                    0,
                                    items - 1};
            dest.controls.append(addControl(mux));
        }
        dest.info.connections = quint32(recordingSources.size());
        destinations.append(dest);
        sources.append(recordingSources);
    }
    for (QList<AlsaLine> &sources : sources) {
        for (AlsaLine &line : sources)
            line.info.controls = quint32(line.controls.size());
    }
    for (AlsaLine &dest : destinations)
        dest.info.controls = quint32(dest.controls.size());
}

int AlsaTopology::addControl(AlsaControl control)
{
    control.info.controlId = quint32(controls.size() + 1);
    control.read(true, control.cache);
    controls.append(control);
    return int(controls.size() - 1);
}

AlsaLine AlsaTopology::makeLine(quint32 lineId, quint32 componentType, const QString &name, quint32 destination,
                                quint32 source)
{
    AlsaLine line;
    line.info.lineId = lineId;
    line.info.componentType = componentType;
    line.info.name = name;
    line.info.destination = destination;
    line.info.source = source;
    line.info.channels = 1;
    return line;
}

void AlsaTopology::addElementControls(AlsaLine &line, snd_mixer_elem_t *elem, bool capture, bool withSwitchAsMute)
{
    const QString name = elementName(elem);
    AlsaControl base;
    base.elem = elem;
    base.capture = capture;
    base.channels = AlsaChannelsOf(elem, capture);
    line.info.channels = qMax(line.info.channels, quint32(base.channels.size()));

    const bool hasVolume =
        capture ? snd_mixer_selem_has_capture_volume(elem) : snd_mixer_selem_has_playback_volume(elem);
    if (hasVolume) {
        AlsaControl volume = base;
        volume.kind = AlsaControl::Kind::Volume;
        if (capture)
            snd_mixer_selem_get_capture_volume_range(elem, &volume.rawMin, &volume.rawMax);
        else
            snd_mixer_selem_get_playback_volume_range(elem, &volume.rawMin, &volume.rawMax);
        volume.rawMax = qMax(volume.rawMax, volume.rawMin);
        volume.info = MixerControl{0,
                                   MixerControlType::Volume,
                                   volume.channels.size() == 1 ? MixerControlFlag::Uniform : 0u,
                                   0,
                                   name + QStringLiteral(" Volume"),
                                   0,
                                   AlsaControl::VolumeMax};
        line.controls.append(addControl(volume));
    }
    const bool hasSwitch =
        capture ? snd_mixer_selem_has_capture_switch(elem) : snd_mixer_selem_has_playback_switch(elem);
    if (hasSwitch && withSwitchAsMute) {
        AlsaControl mute = base;
        mute.kind = AlsaControl::Kind::Mute;
        mute.info =
            MixerControl{0, MixerControlType::Mute, MixerControlFlag::Uniform, 0, name + QStringLiteral(" Mute"), 0, 1};
        line.controls.append(addControl(mute));
    }
}

const AlsaLine *AlsaTopology::findLine(quint32 lineId) const
{
    for (qsizetype i = 0; i < destinations.size(); ++i) {
        if (destinations.at(i).info.lineId == lineId)
            return &destinations.at(i);
        for (const AlsaLine &line : sources.at(i)) {
            if (line.info.lineId == lineId)
                return &line;
        }
    }
    return nullptr;
}

QList<snd_mixer_elem_t *> AlsaTopology::groupOf(snd_mixer_elem_t *elem) const
{
    for (const AlsaControl &control : controls) {
        if (control.kind == AlsaControl::Kind::Mux && control.itemElems.contains(elem))
            return control.itemElems;
    }
    return {elem};
}

const AlsaControl *AlsaTopology::findControl(quint32 controlId) const
{
    return controlId >= 1 && controlId <= quint32(controls.size()) ? &controls.at(controlId - 1) : nullptr;
}

void AlsaTopology::forgetElement(snd_mixer_elem_t *elem)
{
    for (AlsaControl &control : controls)
        control.forget(elem);
}

} // namespace nuvask
