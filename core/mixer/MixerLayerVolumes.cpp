// The strips' volumes in the mixer layer: the one path every volume write
// takes (a click, up/down, a registered volume, Max/Min, an automatic
// lowering, the volume guard's restore), the line's volume as its device
// keeps it, and what a strip shows of a line raised beyond its control.
#include "core/mixer/MixerLayer.h"

#include "core/base/BusyMark.h"
#include "core/base/TextHelpers.h"

#include <algorithm>

namespace nuvask {

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
    return writeVolume(strip, [&](StripRecord &record, StripControl &control) {
        control.values[0] = qMin(units, record.VolMax);
        return writeControl(strip, control);
    });
}

bool MixerLayer::StripSetDeviceVolume(int strip, const QList<quint32> &channels)
{
    return writeVolume(strip, [&](StripRecord &, StripControl &) {
        // As many channels as were read (one where a line could only be read so).
        MixerControlDetails details = channelDetails(strip);
        details.channels = quint32(channels.size());
        return m_service.setDeviceVolume(stripHandle(strip), details, channels);
    });
}

bool MixerLayer::writeVolume(int strip, const std::function<quint32(StripRecord &, StripControl &)> &write)
{
    if (!validStrip(strip) || m_setVolumeBusy)
        return false;
    StripRecord &record = m_strips[strip];
    StripControl &control = record.controls[StripVolume];
    if (!control.present || control.values.isEmpty())
        return false;
    const BusyMark busy(m_setVolumeBusy);
    if (write(record, control) != MixerRc::NoError)
        return false;
    ++m_volumeWrites;
    // The buffer holds what the line holds now, not what was asked: a card
    // keeps its own steps.
    if (m_volumeWatcher) {
        readControl(strip, control);
        m_volumeWatcher->StripVolumeWritten(strip);
    }
    return true;
}

MixerControlDetails MixerLayer::channelDetails(int strip) const
{
    const StripRecord &record = m_strips[strip];
    const StripControl &volume = record.controls[StripVolume];
    MixerControlDetails details = volume.details;
    details.channels = (volume.flags & MixerControlFlag::Uniform) ? 1 : qMax<quint32>(record.LineChannels, 1);
    return details;
}

bool MixerLayer::StripDeviceVolume(int strip, DeviceVolume &volume)
{
    if (!validStrip(strip))
        return false;
    const StripRecord &record = m_strips[strip];
    if (!record.controls[StripVolume].present)
        return false;
    const MixerHandle handle = stripHandle(strip);
    MixerControlDetails details = channelDetails(strip);
    quint32 rc = m_service.deviceVolume(handle, details, volume);
    if (rc != MixerRc::NoError && details.channels > 1) {
        // A line whose count of channels is not its volume's: read as one.
        details.channels = 1;
        rc = m_service.deviceVolume(handle, details, volume);
    }
    if (rc != MixerRc::NoError || volume.channels.isEmpty())
        return false;
    if (volume.full == 0)
        volume.full = qMax<quint32>(record.VolMax, 1);
    return true;
}

qint64 MixerLayer::StripUnitsOf(int strip, const DeviceVolume &volume, quint32 value) const
{
    if (!validStrip(strip) || volume.full == 0)
        return value;
    return RoundDiv(qint64(value) * m_strips[strip].VolMax, volume.full);
}

qint64 MixerLayer::shownUnits(int strip, quint32 units)
{
    // Only a line at the control's maximum can be above it: the device is
    // asked then alone.
    DeviceVolume device;
    if (units < m_strips[strip].VolMax || !StripDeviceVolume(strip, device))
        return units;
    const quint32 loudest = *std::max_element(device.channels.cbegin(), device.channels.cend());
    return qMax<qint64>(units, StripUnitsOf(strip, device, loudest));
}

std::optional<quint32> MixerLayer::shownVolume(const StripControl &volume)
{
    const qsizetype count = (volume.flags & MixerControlFlag::Multiple) ? qsizetype(volume.multipleItems) : 1;
    const qsizetype last = qMin(count, volume.values.size()) - 1;
    if (last < 0)
        return std::nullopt;
    return volume.values.at(last);
}

} // namespace nuvask
