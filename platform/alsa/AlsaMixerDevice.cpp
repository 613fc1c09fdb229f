#include "platform/alsa/AlsaMixerDevice.h"

#include "core/TextHelpers.h"

#include <alsa/asoundlib.h>

#include <poll.h>

#include <algorithm>

namespace nuvask {

namespace {

constexpr quint32 VolumeMax = 65535; // mixer units of a volume control
constexpr quint32 PlaybackDestination = 0;
constexpr quint32 RecordingDestination = 1;

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
    static const struct {
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

QList<int> channelsOf(snd_mixer_elem_t *elem, bool capture)
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
    for (int ch : channelsOf(elem, true)) {
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

    device->build();
    *error = 0;
    return device;
}

AlsaMixerDevice::~AlsaMixerDevice()
{
    if (m_mixer)
        snd_mixer_close(m_mixer);
}

int AlsaMixerDevice::addControl(Control control)
{
    control.info.controlId = quint32(m_controls.size() + 1);
    read(control, true, control.cache);
    m_controls.append(control);
    return int(m_controls.size() - 1);
}

AlsaMixerDevice::Line AlsaMixerDevice::makeLine(quint32 lineId, quint32 componentType, const QString &name,
                                                quint32 destination, quint32 source)
{
    Line line;
    line.info.lineId = lineId;
    line.info.componentType = componentType;
    line.info.name = name;
    line.info.destination = destination;
    line.info.source = source;
    line.info.channels = 1;
    return line;
}

void AlsaMixerDevice::addElementControls(Line &line, snd_mixer_elem_t *elem, bool capture, bool withSwitchAsMute)
{
    const QString name = elementName(elem);
    Control base;
    base.elem = elem;
    base.capture = capture;
    base.channels = channelsOf(elem, capture);
    line.info.channels = qMax(line.info.channels, quint32(base.channels.size()));

    const bool hasVolume = capture ? snd_mixer_selem_has_capture_volume(elem) : snd_mixer_selem_has_playback_volume(elem);
    if (hasVolume) {
        Control volume = base;
        volume.kind = Kind::Volume;
        if (capture)
            snd_mixer_selem_get_capture_volume_range(elem, &volume.rawMin, &volume.rawMax);
        else
            snd_mixer_selem_get_playback_volume_range(elem, &volume.rawMin, &volume.rawMax);
        volume.rawMax = qMax(volume.rawMax, volume.rawMin);
        volume.info = MixerControl{0, MixerControlType::Volume,
                                   volume.channels.size() == 1 ? MixerControlFlag::Uniform : 0u, 0,
                                   name + QStringLiteral(" Volume"), 0, VolumeMax};
        line.controls.append(addControl(volume));
    }
    const bool hasSwitch = capture ? snd_mixer_selem_has_capture_switch(elem) : snd_mixer_selem_has_playback_switch(elem);
    if (hasSwitch && withSwitchAsMute) {
        Control mute = base;
        mute.kind = Kind::Mute;
        mute.info = MixerControl{0, MixerControlType::Mute, MixerControlFlag::Uniform, 0,
                                 name + QStringLiteral(" Mute"), 0, 1};
        line.controls.append(addControl(mute));
    }
}

void AlsaMixerDevice::build()
{
    QList<snd_mixer_elem_t *> elems;
    for (snd_mixer_elem_t *elem = snd_mixer_first_elem(m_mixer); elem; elem = snd_mixer_elem_next(elem)) {
        if (!snd_mixer_selem_is_active(elem))
            continue;
        elems.append(elem);
        snd_mixer_elem_set_callback(elem, &AlsaMixerDevice::elementCallback);
        snd_mixer_elem_set_callback_private(elem, this);
    }
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
        return group >= 0 && elem && snd_mixer_selem_has_capture_switch_exclusive(elem)
               && snd_mixer_selem_get_capture_group(elem) == group;
    };

    QList<Line> playbackSources;
    for (snd_mixer_elem_t *elem : std::as_const(elems)) {
        if (elem == master || !isPlaybackLine(elem))
            continue;
        const quint32 j = quint32(playbackSources.size());
        Line line = makeLine((PlaybackDestination << 16) | j, componentTypeOf(elementName(elem)), elementName(elem),
                             PlaybackDestination, j);
        addElementControls(line, elem, false, true);
        playbackSources.append(line);
    }
    if (master || !playbackSources.isEmpty()) {
        Line dest = makeLine(0xFFFF0000u | PlaybackDestination, MixerComponent::DstSpeakers, QStringLiteral("Playback"),
                             PlaybackDestination, 0);
        if (master)
            addElementControls(dest, master, false, true);
        dest.info.connections = quint32(playbackSources.size());
        m_destinations.append(dest);
        m_sources.append(playbackSources);
    }

    const quint32 recIndex = quint32(m_destinations.size());
    QList<Line> recordingSources;
    Control mux;
    mux.kind = Kind::Mux;
    mux.capture = true;
    for (snd_mixer_elem_t *elem : std::as_const(elems)) {
        if (elem == capture || !isCaptureLine(elem))
            continue;
        const quint32 j = quint32(recordingSources.size());
        Line line = makeLine((recIndex << 16) | j, componentTypeOf(elementName(elem)), elementName(elem), recIndex, j);
        const bool member = inGroup(elem);
        addElementControls(line, elem, true, !member);
        if (member) {
            Control select;
            select.kind = Kind::Select;
            select.capture = true;
            select.elem = elem;
            select.channels = channelsOf(elem, true);
            select.info = MixerControl{0, MixerControlType::OnOff, MixerControlFlag::Uniform, 0,
                                       elementName(elem) + QStringLiteral(" Select"), 0, 1};
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
                                   [&itemName](const Line &l) { return l.info.name == itemName; });
            if (it == recordingSources.end()) {
                const quint32 j = quint32(recordingSources.size());
                recordingSources.append(makeLine((recIndex << 16) | j, componentTypeOf(itemName), itemName, recIndex, j));
                it = recordingSources.end() - 1;
            }
            Control select;
            select.kind = Kind::Select;
            select.capture = true;
            select.elem = inputEnum;
            select.enumItem = n;
            select.info = MixerControl{0, MixerControlType::OnOff, MixerControlFlag::Uniform, 0,
                                       itemName + QStringLiteral(" Select"), 0, 1};
            it->controls.append(addControl(select));
            mux.itemLineIds.append(it->info.lineId);
            mux.itemNames.append(itemName);
        }
    }
    if (capture || !recordingSources.isEmpty()) {
        Line dest = makeLine(0xFFFF0000u | recIndex, MixerComponent::DstWaveIn, QStringLiteral("Recording"), recIndex, 0);
        if (capture)
            addElementControls(dest, capture, true, true);
        if (!mux.itemLineIds.isEmpty()) {
            const quint32 items = quint32(mux.itemLineIds.size());
            mux.info = MixerControl{0, MixerControlType::Mux, MixerControlFlag::Uniform | MixerControlFlag::Multiple,
                                    items, QStringLiteral("Capture Source"), 0, items - 1};
            dest.controls.append(addControl(mux));
        }
        dest.info.connections = quint32(recordingSources.size());
        m_destinations.append(dest);
        m_sources.append(recordingSources);
    }
    for (QList<Line> &sources : m_sources) {
        for (Line &line : sources)
            line.info.controls = quint32(line.controls.size());
    }
    for (Line &dest : m_destinations)
        dest.info.controls = quint32(dest.controls.size());
}

int AlsaMixerDevice::elementCallback(snd_mixer_elem_t *elem, unsigned int mask)
{
    // Values are compared after the events are read; only a removed element
    // needs handling here, before its pointer dangles.
    if (mask == SND_CTL_EVENT_MASK_REMOVE) {
        if (auto *self = static_cast<AlsaMixerDevice *>(snd_mixer_elem_get_callback_private(elem)))
            self->forgetElement(elem);
    }
    return 0;
}

void AlsaMixerDevice::forgetElement(snd_mixer_elem_t *elem)
{
    for (Control &control : m_controls) {
        if (control.elem == elem)
            control.elem = nullptr;
        for (snd_mixer_elem_t *&item : control.itemElems) {
            if (item == elem)
                item = nullptr;
        }
    }
}

const AlsaMixerDevice::Line *AlsaMixerDevice::findLine(quint32 lineId) const
{
    for (qsizetype i = 0; i < m_destinations.size(); ++i) {
        if (m_destinations.at(i).info.lineId == lineId)
            return &m_destinations.at(i);
        for (const Line &line : m_sources.at(i)) {
            if (line.info.lineId == lineId)
                return &line;
        }
    }
    return nullptr;
}

QList<snd_mixer_elem_t *> AlsaMixerDevice::groupOf(snd_mixer_elem_t *elem) const
{
    for (const Control &control : m_controls) {
        if (control.kind == Kind::Mux && control.itemElems.contains(elem))
            return control.itemElems;
    }
    return {elem};
}

const AlsaMixerDevice::Control *AlsaMixerDevice::findControl(quint32 controlId) const
{
    return controlId >= 1 && controlId <= quint32(m_controls.size()) ? &m_controls.at(controlId - 1) : nullptr;
}

quint32 AlsaMixerDevice::lineByDestination(quint32 destination, MixerLine &line) const
{
    if (destination >= quint32(m_destinations.size()))
        return MixerRc::InvalidLine;
    line = m_destinations.at(destination).info;
    return MixerRc::NoError;
}

quint32 AlsaMixerDevice::lineBySource(quint32 destination, quint32 source, MixerLine &line) const
{
    if (destination >= quint32(m_destinations.size()) || source >= quint32(m_sources.at(destination).size()))
        return MixerRc::InvalidLine;
    line = m_sources.at(destination).at(source).info;
    return MixerRc::NoError;
}

quint32 AlsaMixerDevice::lineById(quint32 lineId, MixerLine &line) const
{
    const Line *found = findLine(lineId);
    if (!found)
        return MixerRc::InvalidLine;
    line = found->info;
    return MixerRc::NoError;
}

quint32 AlsaMixerDevice::lineControls(quint32 lineId, QList<MixerControl> &controls) const
{
    const Line *found = findLine(lineId);
    if (!found)
        return MixerRc::InvalidLine;
    controls.clear();
    for (int index : found->controls)
        controls.append(m_controls.at(index).info);
    return MixerRc::NoError;
}

quint32 AlsaMixerDevice::read(const Control &control, bool perChannel, QList<quint32> &values) const
{
    values.clear();
    switch (control.kind) {
    case Kind::Volume: {
        if (!control.elem)
            return MixerRc::NoDriver;
        quint32 loudest = 0;
        for (int ch : control.channels) {
            long raw = 0;
            const auto id = snd_mixer_selem_channel_id_t(ch);
            const int err = control.capture ? snd_mixer_selem_get_capture_volume(control.elem, id, &raw)
                                            : snd_mixer_selem_get_playback_volume(control.elem, id, &raw);
            if (err < 0)
                return rcOf(err);
            const qint64 span = qMax<qint64>(qint64(control.rawMax) - control.rawMin, 1);
            const qint64 scaled = RoundDiv((std::clamp(raw, control.rawMin, control.rawMax) - qint64(control.rawMin)) * VolumeMax, span);
            values.append(quint32(scaled));
            loudest = qMax(loudest, quint32(scaled));
        }
        // Read as one value, a volume is its loudest channel.
        if (!perChannel)
            values = {loudest};
        return MixerRc::NoError;
    }
    case Kind::Mute: {
        if (!control.elem)
            return MixerRc::NoDriver;
        // Muted while no channel is switched on.
        bool anyOn = false;
        for (int ch : control.channels)
            anyOn = anyOn || switchOn(control.elem, control.capture, ch);
        values = {anyOn ? 0u : 1u};
        return MixerRc::NoError;
    }
    case Kind::Select:
        if (!control.elem)
            return MixerRc::NoDriver;
        values = {quint32(control.enumItem >= 0 ? enumItemOf(control.elem) == control.enumItem
                                                : anyCaptureSwitchOn(control.elem))};
        return MixerRc::NoError;
    case Kind::Mux:
        if (control.elem) {
            const int chosen = enumItemOf(control.elem);
            for (qsizetype n = 0; n < control.itemLineIds.size(); ++n)
                values.append(n == chosen ? 1 : 0);
        } else {
            for (snd_mixer_elem_t *item : control.itemElems)
                values.append(item && anyCaptureSwitchOn(item) ? 1 : 0);
        }
        return MixerRc::NoError;
    }
    return MixerRc::Error;
}

quint32 AlsaMixerDevice::values(const MixerControlDetails &details, QList<quint32> &values) const
{
    const Control *control = findControl(details.controlId);
    if (!control)
        return MixerRc::InvalidControl;
    const bool perChannel = control->kind == Kind::Volume && details.channels > 1;
    if (perChannel && details.channels != quint32(control->channels.size()))
        return MixerRc::InvalidParam;
    return read(*control, perChannel, values);
}

quint32 AlsaMixerDevice::listTexts(const MixerControlDetails &details, QList<MixerListText> &texts) const
{
    const Control *control = findControl(details.controlId);
    if (!control || control->kind != Kind::Mux)
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
    const Control *control = findControl(details.controlId);
    if (!control)
        return MixerRc::InvalidControl;
    const qsizetype needed = qsizetype(qMax<quint32>(details.channels, 1)) * qMax<quint32>(details.multipleItems, 1);
    if (values.size() < needed)
        return MixerRc::InvalidParam;

    int err = 0;
    switch (control->kind) {
    case Kind::Volume: {
        if (!control->elem)
            return MixerRc::NoDriver;
        const bool perChannel = details.channels > 1;
        if (perChannel && details.channels != quint32(control->channels.size()))
            return MixerRc::InvalidParam;
        for (qsizetype i = 0; i < control->channels.size() && err >= 0; ++i) {
            // Clamp first: the pulse plugin silently ignores an out-of-range value.
            const qint64 v = qMin<quint32>(values.at(perChannel ? i : 0), VolumeMax);
            const long raw = long(control->rawMin + RoundDiv(v * (qint64(control->rawMax) - control->rawMin), VolumeMax));
            const auto id = snd_mixer_selem_channel_id_t(control->channels.at(i));
            err = control->capture ? snd_mixer_selem_set_capture_volume(control->elem, id, raw)
                                   : snd_mixer_selem_set_playback_volume(control->elem, id, raw);
        }
        break;
    }
    case Kind::Mute:
        if (!control->elem)
            return MixerRc::NoDriver;
        err = control->capture ? snd_mixer_selem_set_capture_switch_all(control->elem, values.at(0) ? 0 : 1)
                               : snd_mixer_selem_set_playback_switch_all(control->elem, values.at(0) ? 0 : 1);
        break;
    case Kind::Select:
        if (!control->elem)
            return MixerRc::NoDriver;
        if (control->enumItem >= 0) {
            // An enumeration always has one choice; clearing it changes nothing.
            if (values.at(0))
                err = selectEnumItem(control->elem, control->enumItem);
        } else if (values.at(0)) {
            err = selectExclusive(groupOf(control->elem), control->elem);
        } else {
            err = snd_mixer_selem_set_capture_switch_all(control->elem, 0);
        }
        break;
    case Kind::Mux: {
        // One item is chosen: the first non-zero one. None leaves the choice as it is.
        const qsizetype items = control->itemLineIds.size();
        qsizetype chosen = -1;
        for (qsizetype n = 0; n < items && n < values.size() && chosen < 0; ++n) {
            if (values.at(n))
                chosen = n;
        }
        if (chosen >= 0 && control->elem)
            err = selectEnumItem(control->elem, int(chosen));
        else if (chosen >= 0)
            err = selectExclusive(control->itemElems, control->itemElems.at(chosen));
        break;
    }
    }
    if (err < 0)
        return rcOf(err);

    collectChanges(changed);
    changed.removeOne(details.controlId);
    changed.prepend(details.controlId);
    return MixerRc::NoError;
}

void AlsaMixerDevice::collectChanges(QList<quint32> &changed)
{
    // Compared with the last values seen, so that an event that leaves a
    // control as it was does not notify.
    for (Control &control : m_controls) {
        QList<quint32> now;
        if (read(control, true, now) != MixerRc::NoError || now == control.cache)
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
