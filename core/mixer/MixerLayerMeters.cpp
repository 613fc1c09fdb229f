// The strips' peak meters: setting a meter up at binding, reading it on every
// tick of the strip-meter timer with its hold number, and the mixer-meter form
// of the automatic recording volume that acts on the reading.
#include "core/mixer/MixerLayer.h"

#include "core/base/BusyMark.h"
#include "core/base/TextHelpers.h"

namespace nuvask {

namespace {

constexpr qint64 CutLevelScale = 32768; // the cut level's full scale (16-bit samples)

} // namespace

void MixerLayer::setUpPeakMeter(int strip)
{
    StripRecord &record = m_strips[strip];
    StripView &v = view(strip);
    const qint64 meterHeight = v.VolumeBarHeight(); // pixels: the meter is as tall as the volume bar
    record.PeakScale = 1;
    if (meterHeight > 0 && meterHeight < record.PeakMax)
        record.PeakScale = qMax<qint64>(1, RoundDiv(record.PeakMax, meterHeight));
    v.ShowGroup(StripGroup::PeakMeter, true);
    record.PeakHold = 0;
    v.SetPeakHoldCaption(StripCaption::Zero);
    v.SetPeakCover(int(meterHeight));
    record.controls[StripPeakMeter].present = true;
    m_host.SetPeakTimerRunning(true);
}

void MixerLayer::updateAutoMark(int strip)
{
    if (m_host.AutoRecVChecked() && StripCanAutoRecV(strip))
        m_host.SetAutoMarkVisible(strip, true);
}

bool MixerLayer::anyMeterPresent() const
{
    for (const StripRecord &record : m_strips) {
        if (record.controls[StripPeakMeter].present)
            return true;
    }
    return false;
}

int MixerLayer::StripReadPeak(int strip)
{
    if (m_readPeakBusy)
        return -1;
    const BusyMark busy(m_readPeakBusy);
    if (!validStrip(strip))
        return -1;
    StripRecord &record = m_strips[strip];
    StripControl &meter = record.controls[StripPeakMeter];
    if (!meter.present || meter.values.isEmpty() || readControl(strip, meter) != MixerRc::NoError)
        return -1;

    // Meter units; a 64-bit absolute value so that the most negative reading counts too.
    const qint64 level = qAbs(qint64(qint32(meter.values.at(0))));
    // A reading beyond the meter's maximum covers nothing, and never looks like a failed read.
    const int cover = int(qMax<qint64>(0, RoundDiv(qint64(record.PeakMax) - level, record.PeakScale)));
    StripView &v = view(strip);
    if (level > record.PeakHold) {
        record.PeakHold = level;
        v.SetPeakHoldCaption(QString::number(level));
    }
    const qint64 threshold = RoundDiv(qint64(m_cutLevel) * record.PeakMax, CutLevelScale);
    if (level > threshold && v.AutoMarkShown()) {
        StripAutoLower(strip);
        record.PeakHold = 0;
        v.SetPeakHoldCaption(StripCaption::Zero);
    }
    return cover;
}

void MixerLayer::StripTogglePeak(int strip)
{
    if (!validStrip(strip))
        return;
    StripControl &meter = m_strips[strip].controls[StripPeakMeter];
    meter.present = !meter.present;
    StripResetPeakHold(strip);
    m_host.SetPeakTimerRunning(anyMeterPresent());
    // A meter that is off cannot lower the volume, so its "A" goes with it.
    m_host.SetAutoMarkVisible(strip, m_host.AutoRecVChecked() && StripCanAutoRecV(strip));
}

void MixerLayer::StripResetPeakHold(int strip)
{
    if (!validStrip(strip))
        return;
    m_strips[strip].PeakHold = 0;
    view(strip).SetPeakHoldCaption(StripCaption::Zero);
}

bool MixerLayer::StripShowsVolume(int strip) const
{
    return validStrip(strip) && view(strip).GroupShown(StripGroup::Volume);
}

bool MixerLayer::StripAutoLower(int strip)
{
    if (!validStrip(strip))
        return false;
    const int before = view(strip).UpDownPosition(); // UI steps
    const bool written = StripSetVolume(strip, qMax(before - AutoLowerSteps, 0), 0);
    const StripControl &volume = m_strips[strip].controls[StripVolume];
    if (volume.present && !volume.values.isEmpty()) {
        // A refused write has left its value in the buffer: the volume stayed.
        const int after = written ? int(RoundDiv(volume.values.at(0), StepUnits)) : before;
        m_host.StripAutoLowered({strip, before, after, written, m_readPeakBusy});
    }
    return written;
}

bool MixerLayer::StripCanAutoRecV(int strip) const
{
    if (!validStrip(strip))
        return false;
    const auto &controls = m_strips[strip].controls;
    return controls[StripPeakMeter].present && (controls[StripDestMux].present || controls[StripOwnMux].present);
}

void MixerLayer::SetCutLevel(int level)
{
    m_cutLevel = qBound(0, level, int(MaxCutLevel));
}

} // namespace nuvask
