// The strips' half of the mixer layer: binding a strip to a line's controls,
// writing what the user sets and redrawing from change notifications. The
// strips' peak meters and the mixer-meter lowering are in MixerLayerMeters.cpp.
#include "core/mixer/MixerLayer.h"

#include "core/base/BusyMark.h"
#include "core/mixer/MixerTexts.h"
#include "core/base/TextHelpers.h"

#include <QVarLengthArray>

namespace nuvask {

namespace {

constexpr qint64 FastStepUnits = 8192; // mixer units per step of the fast up/down control
constexpr int MuxNameChars = 64;        // longest item name the mixer hands out

// Stands in for a strip that has no widgets: shows nothing, has nothing selected.
class NoStripView final : public StripView {
public:
    void ShowGroup(StripGroup, bool) override {}
    bool GroupShown(StripGroup) const override { return false; }
    void SetVolumeRange(int, int) override {}
    void SetLimitCaptions(const QString &, const QString &) override {}
    void SetVolumeShown(int, int) override {}
    int UpDownPosition() const override { return 0; }
    int VolumeBarHeight() const override { return 0; }
    void SetBoxCaption(StripBox, const QString &) override {}
    void SetBoxChecked(StripBox, bool) override {}
    void FillMuxList(const QStringList &) override {}
    void SelectMuxItem(int) override {}
    void PlaceMuxList(bool) override {}
    void SetPeakCover(int) override {}
    void SetPeakHoldCaption(const QString &) override {}
    bool AutoMarkShown() const override { return false; }
    int DeviceIndex() const override { return -1; }
    int DestinationIndex() const override { return -1; }
    int SourceIndex() const override { return -1; }
    void LetMessagesRun() override {}
};

// The item number a MUX index entry names, or -1 for an empty entry.
qint64 muxItem(const QString &entry)
{
    if (entry.isEmpty())
        return -1;
    bool ok = false;
    const qint64 n = entry.toLongLong(&ok);
    return ok && n >= 0 ? n : -1;
}

} // namespace

void MixerLayer::SetStripView(int strip, StripView *view)
{
    if (validStrip(strip))
        m_views[strip] = view;
}

StripView &MixerLayer::view(int strip) const
{
    static NoStripView none;
    return validStrip(strip) && m_views[strip] ? *m_views[strip] : none;
}

MixerHandle MixerLayer::stripHandle(int strip) const
{
    return MixerHandles(view(strip).DeviceIndex());
}

const QStringList &MixerLayer::stripMuxIndexes(int strip) const
{
    const StripView &v = view(strip);
    return SrcMuxIndexList(v.DeviceIndex(), v.DestinationIndex());
}

qint64 MixerLayer::ownMuxItem(int strip) const
{
    const QStringList &muxIndexes = stripMuxIndexes(strip);
    const int source = view(strip).SourceIndex();
    return source >= 0 && source < muxIndexes.size() ? muxItem(muxIndexes.at(source)) : -1;
}

quint32 MixerLayer::readControl(int strip, StripControl &control)
{
    return readValues(stripHandle(strip), control);
}

quint32 MixerLayer::readValues(MixerHandle handle, StripControl &control)
{
    QList<quint32> read;
    const quint32 rc = m_service.controlValues(handle, control.details, read);
    if (rc == MixerRc::NoError)
        storeValues(read, control);
    return rc;
}

void MixerLayer::storeValues(const QList<quint32> &read, StripControl &control)
{
    // The buffer keeps its size; a short answer leaves the rest as it was.
    for (qsizetype i = 0; i < read.size() && i < control.values.size(); ++i)
        control.values[i] = read.at(i);
}

quint32 MixerLayer::writeControl(int strip, const StripControl &control)
{
    return m_service.setControlValues(stripHandle(strip), control.details, control.values);
}

bool MixerLayer::takeControl(int strip, StripControlKind kind, const QList<MixerControl> &controls, quint32 type,
                             QString &error, const MixerControl **found)
{
    const MixerControl *match = nullptr;
    for (const MixerControl &control : controls) {
        if (control.controlType == type) {
            match = &control;
            break;
        }
    }
    if (!match)
        return false;
    if (match->flags & MixerControlFlag::Disabled) {
        error = QString::asprintf(MixerTexts::ControlDisabled, static_cast<unsigned long>(match->controlId));
        return false;
    }
    StripRecord &record = m_strips[strip];
    StripControl &target = record.controls[kind];
    target.controlId = match->controlId;
    target.multipleItems = match->multipleItems;
    target.flags = match->flags;
    target.values.clear();
    // Room for at least what a one-channel details call moves, even when the
    // line reports no channels.
    const qint64 perCall = (match->flags & MixerControlFlag::Multiple) ? qMax<qint64>(match->multipleItems, 1) : 1;
    const qint64 count = qMax(MixerValueCount(match->flags, record.LineChannels, match->multipleItems), perCall);
    if (!MixerAllocate(target.values, count)) {
        error = QString::fromUtf8(MixerTexts::DetailsAllocFailed);
        return false;
    }
    target.details.controlId = match->controlId;
    target.details.channels = 1; // every read and write treats the control as uniform
    target.details.multipleItems = match->multipleItems;
    if (found)
        *found = match;
    return true;
}

void MixerLayer::StripBindLine(int strip, int device, int destination, QString &error, quint32 lineId)
{
    error.clear();
    if (!validStrip(strip))
        return;
    StripRecord &record = m_strips[strip];
    record.BoundLineId = lineId;
    for (StripControl &control : record.controls)
        control.present = false;
    tellUnbound(strip);

    m_host.SetAutoMarkVisible(strip, false);
    m_host.SetPeakTimerRunning(false);
    if (anyMeterPresent())
        m_host.SetPeakTimerRunning(true);

    StripView &v = view(strip);
    v.ShowGroup(StripGroup::Volume, false);
    v.LetMessagesRun();
    error.clear();
    v.ShowGroup(StripGroup::MuteBox, false);
    v.ShowGroup(StripGroup::RecSelect, false);
    v.ShowGroup(StripGroup::OwnMux, false);
    v.ShowGroup(StripGroup::PeakMeter, false);

    // The line's entry in its destination's multiplexer. Entry 0 is the
    // destination itself and never has one.
    const QStringList lineIds = SrcLineIdList(device, destination);
    const QStringList muxIndexes = SrcMuxIndexList(device, destination);
    const QString lineText = TextFromNumber(lineId);
    for (qsizetype p = 0; p < lineIds.size() && p < muxIndexes.size(); ++p) {
        if (lineIds.at(p) == lineText && !muxIndexes.at(p).isEmpty()) {
            v.SetBoxCaption(StripBox::RecSelect, StripCaption::RecSelect());
            v.ShowGroup(StripGroup::RecSelect, true);
            findDestinationMux(strip, device, NumberFromText(lineIds.at(0)));
            updateAutoMark(strip);
            break;
        }
    }

    const MixerHandle handle = MixerHandles(device);
    MixerLine line;
    quint32 rc = m_service.lineInfoById(handle, lineId, line);
    if (rc != MixerRc::NoError) {
        error = QString::asprintf(MixerTexts::LineInfoFailed, lineId, rc);
        return;
    }
    record.LineChannels = line.channels;
    if (line.controls == 0)
        return;

    QList<MixerControl> controls;
    if (!MixerAllocate(controls, line.controls)) {
        error = QString::fromUtf8(MixerTexts::ControlsAllocFailed);
        return;
    }
    rc = m_service.lineControls(handle, lineId, controls);
    if (rc != MixerRc::NoError) {
        error = QString::asprintf(MixerTexts::LineControlsFailed, lineId, rc);
        return;
    }

    // Each search runs whatever the one before found; a later error text
    // replaces an earlier one.
    const MixerControl *found = nullptr;
    if (takeControl(strip, StripVolume, controls, MixerControlType::Volume, error, &found)) {
        record.VolMax = found->maximum;
        setUpVolume(strip);
    }
    if (takeControl(strip, StripMute, controls, MixerControlType::Mute, error, &found))
        setUpMute(strip);
    if (takeControl(strip, StripOwnMux, controls, MixerControlType::Mux, error, &found)) {
        setUpOwnMux(strip, device, destination, handle);
        updateAutoMark(strip);
    }
    if (takeControl(strip, StripPeakMeter, controls, MixerControlType::PeakMeter, error, &found)) {
        record.PeakMax = found->signedMaximum();
        setUpPeakMeter(strip);
        updateAutoMark(strip);
    }
}

void MixerLayer::StripUnbind(int strip)
{
    if (!validStrip(strip))
        return;
    StripRecord &record = m_strips[strip];
    record.BoundLineId = 0;
    for (StripControl &control : record.controls)
        control.present = false;
    tellUnbound(strip);
    m_host.SetAutoMarkVisible(strip, false);
    m_host.SetPeakTimerRunning(anyMeterPresent());
    StripView &v = view(strip);
    for (StripGroup group :
         {StripGroup::Volume, StripGroup::MuteBox, StripGroup::RecSelect, StripGroup::OwnMux, StripGroup::PeakMeter})
        v.ShowGroup(group, false);
}

void MixerLayer::findDestinationMux(int strip, int device, quint32 destLineId)
{
    // Failures here only mean that the strip cannot select its source; their
    // texts are not the binding's.
    const MixerHandle handle = MixerHandles(device);
    MixerLine line;
    if (m_service.lineInfoById(handle, destLineId, line) != MixerRc::NoError)
        return;
    m_strips[strip].LineChannels = line.channels; // the bound line's own count replaces it
    QList<MixerControl> controls;
    if (line.controls == 0 || !MixerAllocate(controls, line.controls))
        return;
    if (m_service.lineControls(handle, destLineId, controls) != MixerRc::NoError)
        return;
    QString discarded;
    StripControl &destMux = m_strips[strip].controls[StripDestMux];
    if (takeControl(strip, StripDestMux, controls, MixerControlType::Mux, discarded, nullptr)) {
        destMux.present = true;
        // Shown now: later it is read only when the multiplexer changes.
        if (readValues(handle, destMux) == MixerRc::NoError)
            showRecSelect(strip);
    }
}

void MixerLayer::setUpVolume(int strip)
{
    StripRecord &record = m_strips[strip];
    StripView &v = view(strip);
    const qint64 barHeight = v.VolumeBarHeight(); // pixels
    record.VolScale = 1;
    if (barHeight > 0 && barHeight < qint64(record.VolMax))
        record.VolScale = qMax<qint64>(1, RoundDiv(record.VolMax, barHeight));
    const int maximum = int(RoundDiv(record.VolMax, StepUnits));
    v.SetVolumeRange(maximum, int(RoundDiv(record.VolMax, FastStepUnits)));
    v.SetLimitCaptions(QString::number(maximum), StripCaption::Zero);
    v.ShowGroup(StripGroup::Volume, true);
    StripControl &control = record.controls[StripVolume];
    control.present = true;
    if (m_volumeWatcher)
        m_volumeWatcher->StripVolumeBound(strip);
    // The window's own change handler, run at once so that the value shows now.
    MixerControlChanged(control.controlId);
}

void MixerLayer::setUpMute(int strip)
{
    StripView &v = view(strip);
    v.SetBoxCaption(StripBox::Mute, StripCaption::Mute);
    v.ShowGroup(StripGroup::MuteBox, true);
    StripControl &control = m_strips[strip].controls[StripMute];
    control.present = true;
    MixerControlChanged(control.controlId);
}

void MixerLayer::setUpOwnMux(int strip, int device, int destination, MixerHandle handle)
{
    StripControl &control = m_strips[strip].controls[StripOwnMux];
    StripView &v = view(strip);
    const QStringList muxIndexes = SrcMuxIndexList(device, destination);

    if (m_service.controlListTexts(handle, control.details, m_listTextScratch) == MixerRc::NoError) {
        QStringList names;
        for (const QString &entry : muxIndexes) {
            const qint64 n = muxItem(entry);
            if (n >= 0 && n < qint64(control.multipleItems) && n < m_listTextScratch.size())
                names.append(m_listTextScratch.at(n).name.left(MuxNameChars));
        }
        v.FillMuxList(names);
    }
    if (readValues(handle, control) == MixerRc::NoError) {
        const int position = selectedMuxPosition(muxIndexes, control);
        if (position >= 0)
            v.SelectMuxItem(position);
    }

    v.PlaceMuxList(v.GroupShown(StripGroup::MuteBox) || v.GroupShown(StripGroup::RecSelect));
    v.ShowGroup(StripGroup::OwnMux, true);
    control.present = true;
}

bool MixerLayer::StripSetVolume(int strip, int value, int pixel)
{
    if (!validStrip(strip))
        return false;
    const StripRecord &record = m_strips[strip];
    // Mixer units: from UI steps, or from pixels below the bar's top.
    const qint64 units = value < 0 ? qint64(record.VolMax) - qint64(pixel) * record.VolScale
                                   : qint64(value) * StepUnits;
    return StripSetVolumeUnits(strip, quint32(qBound<qint64>(0, units, record.VolMax)));
}

bool MixerLayer::StripSetVolumeUnits(int strip, quint32 units)
{
    if (!validStrip(strip) || m_setVolumeBusy)
        return false;
    StripRecord &record = m_strips[strip];
    StripControl &control = record.controls[StripVolume];
    if (!control.present || control.values.isEmpty())
        return false;
    const BusyMark busy(m_setVolumeBusy);
    control.values[0] = qMin(units, record.VolMax);
    if (writeControl(strip, control) != MixerRc::NoError)
        return false;
    ++m_volumeWrites;
    // What the line holds now, not what was asked: a card keeps its own
    // steps, and the watcher compares later reads with this value.
    if (m_volumeWatcher && readControl(strip, control) == MixerRc::NoError) {
        if (const std::optional<quint32> held = shownVolume(control))
            m_volumeWatcher->StripVolumeWritten(strip, *held);
    }
    return true;
}

std::optional<quint32> MixerLayer::shownVolume(const StripControl &volume)
{
    const qsizetype count = (volume.flags & MixerControlFlag::Multiple) ? qsizetype(volume.multipleItems) : 1;
    const qsizetype last = qMin(count, volume.values.size()) - 1;
    if (last < 0)
        return std::nullopt;
    return volume.values.at(last);
}

void MixerLayer::tellUnbound(int strip)
{
    if (m_volumeWatcher)
        m_volumeWatcher->StripVolumeUnbound(strip);
}

void MixerLayer::StripSetMute(int strip, bool on)
{
    if (!validStrip(strip))
        return;
    StripControl &control = m_strips[strip].controls[StripMute];
    if (!control.present || control.values.isEmpty())
        return;
    const QList<quint32> before = control.values;
    control.values[0] = on ? 1 : 0;
    if (writeControl(strip, control) != MixerRc::NoError)
        showRefusedBox(strip, control, before, StripBox::Mute, 0);
}

void MixerLayer::showRefusedBox(int strip, StripControl &control, const QList<quint32> &before, StripBox box,
                                qint64 item)
{
    // The box was clicked but the mixer did not change: it shows the mixer's
    // real state, or (when the mixer cannot be read either) what it showed before.
    if (readControl(strip, control) != MixerRc::NoError)
        control.values = before;
    if (item >= 0 && item < control.values.size())
        view(strip).SetBoxChecked(box, control.values.at(item) == 1);
}

void MixerLayer::clearMuxItems(int strip, StripControl &control)
{
    for (const QString &entry : stripMuxIndexes(strip)) {
        const qint64 n = muxItem(entry);
        if (n >= 0 && n < control.values.size())
            control.values[n] = 0;
    }
}

void MixerLayer::StripSetRecSelect(int strip, bool on)
{
    if (!validStrip(strip))
        return;
    StripControl &control = m_strips[strip].controls[StripDestMux];
    if (!control.present)
        return;
    // A source without an item of its own has nothing to select.
    const qint64 own = ownMuxItem(strip);
    if (own < 0 || own >= control.values.size())
        return;
    const QList<quint32> before = control.values;
    clearMuxItems(strip, control);
    control.values[own] = on ? 1 : 0;
    if (writeControl(strip, control) != MixerRc::NoError)
        showRefusedBox(strip, control, before, StripBox::RecSelect, own);
}

void MixerLayer::StripSelectMuxItem(int strip, int position)
{
    if (!validStrip(strip))
        return;
    StripControl &control = m_strips[strip].controls[StripOwnMux];
    if (!control.present)
        return;
    const int wanted = qMax(position, 0);
    qint64 item = -1;
    int count = 0;
    for (const QString &entry : stripMuxIndexes(strip)) {
        const qint64 n = muxItem(entry);
        if (n < 0)
            continue;
        if (count++ == wanted) {
            item = n;
            break;
        }
    }
    // A position past the list's items writes nothing: clearing every item
    // would leave the destination without a source.
    if (item < 0 || item >= control.values.size())
        return;
    clearMuxItems(strip, control);
    control.values[item] = 0xFFFFFFFFu; // any non-zero value selects; it reads back as 1
    writeControl(strip, control);
}

int MixerLayer::selectedMuxPosition(const QStringList &muxIndexes, const StripControl &control)
{
    int position = 0;
    for (const QString &entry : muxIndexes) {
        const qint64 n = muxItem(entry);
        if (n < 0)
            continue;
        if (n < control.values.size() && control.values.at(n) == 1)
            return position;
        ++position;
    }
    return -1;
}

void MixerLayer::MixerControlChanged(quint32 controlId)
{
    // The changed control is read once per device and the values shared by
    // every strip bound to it (two strips on one line, or a destination's
    // multiplexer that is one strip's own list and another's selection box):
    // each read can be a round trip to a sound server.
    struct SharedRead {
        MixerHandle handle;
        quint32 rc;
        QList<quint32> values;
    };
    QVarLengthArray<SharedRead, StripCount> reads;
    const auto readChanged = [&](int strip, StripControl &control) {
        const MixerHandle handle = stripHandle(strip);
        const SharedRead *read = nullptr;
        for (const SharedRead &r : reads) {
            if (r.handle == handle)
                read = &r;
        }
        if (!read) {
            SharedRead fresh{handle, MixerRc::NoError, {}};
            fresh.rc = m_service.controlValues(handle, control.details, fresh.values);
            reads.append(fresh);
            read = &reads.last();
        }
        if (read->rc == MixerRc::NoError)
            storeValues(read->values, control);
        return read->rc == MixerRc::NoError;
    };

    // Volumes first, each told to the watcher before it is drawn: a volume
    // it writes straight back (the guard) is then drawn as written, and the
    // strips never paint the value it answered.
    std::array<bool, StripCount> volumeRead{};
    for (int strip = 0; strip < StripCount; ++strip) {
        StripControl &volume = m_strips[strip].controls[StripVolume];
        volumeRead[strip] = volume.present && volume.controlId == controlId && readChanged(strip, volume);
    }
    if (m_volumeWatcher) {
        const quint64 writes = m_volumeWrites;
        for (int strip = 0; strip < StripCount; ++strip) {
            if (!volumeRead[strip])
                continue;
            if (const std::optional<quint32> units = shownVolume(m_strips[strip].controls[StripVolume]))
                m_volumeWatcher->StripVolumeRead(strip, *units);
        }
        if (m_volumeWrites != writes) {
            reads.clear();
            for (int strip = 0; strip < StripCount; ++strip)
                volumeRead[strip] = volumeRead[strip] && readChanged(strip, m_strips[strip].controls[StripVolume]);
        }
    }
    for (int strip = 0; strip < StripCount; ++strip) {
        const StripRecord &record = m_strips[strip];
        const std::optional<quint32> units =
            volumeRead[strip] ? shownVolume(record.controls[StripVolume]) : std::nullopt;
        if (units) {
            const qint64 black = RoundDiv(qint64(record.VolMax) - qint64(*units), record.VolScale); // pixels
            view(strip).SetVolumeShown(int(RoundDiv(*units, StepUnits)), int(qMax<qint64>(black, 0)));
        }
    }

    for (int strip = 0; strip < StripCount; ++strip) {
        StripRecord &record = m_strips[strip];
        StripView &v = view(strip);

        StripControl &mute = record.controls[StripMute];
        if (mute.present && mute.controlId == controlId && readChanged(strip, mute) && !mute.values.isEmpty())
            v.SetBoxChecked(StripBox::Mute, mute.values.at(0) == 1);

        // Another source chosen elsewhere changes the destination's
        // multiplexer itself, and that change is notified with its identifier:
        // the selection is read when that notification comes, not on every one.
        StripControl &destMux = record.controls[StripDestMux];
        if (destMux.present && destMux.controlId == controlId && readChanged(strip, destMux))
            showRecSelect(strip);

        StripControl &ownMux = record.controls[StripOwnMux];
        if (ownMux.present && ownMux.controlId == controlId && readChanged(strip, ownMux)) {
            const int position = selectedMuxPosition(stripMuxIndexes(strip), ownMux);
            if (position >= 0)
                v.SelectMuxItem(position);
        }
    }
}

void MixerLayer::showRecSelect(int strip)
{
    const StripControl &destMux = m_strips[strip].controls[StripDestMux];
    const qint64 n = ownMuxItem(strip);
    if (n >= 0 && n < destMux.values.size())
        view(strip).SetBoxChecked(StripBox::RecSelect, destMux.values.at(n) == 1);
}

} // namespace nuvask
