// Feeds the level history from the mixer side.

#include "core/monitor/LevelHistoryRecorder.h"

#include "core/base/TextHelpers.h"
#include "core/mixer/MixerLayer.h"
#include "core/monitor/LevelHistory.h"

#include <array>

namespace nuvask {

namespace {

constexpr int Recording = MixerLayer::RecordingStrip;
constexpr qint64 NotThisControl = -1;

// Mixer units the strip's volume record holds for `controlId`, or NotThisControl.
qint64 heldVolume(const MixerLayer &layer, int strip, quint32 controlId)
{
    const StripControl &volume = layer.Strip(strip).controls[StripVolume];
    if (!volume.present || volume.controlId != controlId || volume.values.isEmpty())
        return NotThisControl;
    return volume.values.at(0);
}

int steps(qint64 units)
{
    return int(RoundDiv(units, MixerLayer::StepUnits));
}

} // namespace

LevelHistoryRecorder::LevelHistoryRecorder(LevelHistory &history, MixerLayer &layer, QObject *parent)
    : QObject(parent), m_history(history), m_layer(layer)
{
}

void LevelHistoryRecorder::MixerControlChanged(quint32 controlId)
{
    // A strip's own write leaves the written value in its record before the
    // change comes back, so a change equal to what some strip bound to this
    // control holds is the program's own (strip 2 itself, the registered
    // volumes, the guard, or another strip on the same line).
    std::array<qint64, MixerLayer::StripCount> held{};
    for (int n = 0; n < MixerLayer::StripCount; ++n)
        held[n] = heldVolume(m_layer, n, controlId);

    m_layer.MixerControlChanged(controlId);

    const qint64 now = heldVolume(m_layer, Recording, controlId);
    if (held[Recording] == NotThisControl || now == NotThisControl || now == held[Recording])
        return;
    for (qint64 own : held) {
        if (own == now)
            return;
    }
    // Less than half a step moves nothing the strip shows.
    if (steps(held[Recording]) == steps(now))
        return;
    m_history.Append(LevelEvent::OutsideChange, 0, m_layer.CutLevel(), steps(held[Recording]), steps(now));
}

void LevelHistoryRecorder::AutoLowered(const AutoLowering &lowering)
{
    if (lowering.strip != Recording)
        return;
    const LevelEvent kind = !lowering.written     ? LevelEvent::LowerRefused
                            : lowering.mixerMeter ? LevelEvent::MeterLower
                                                  : LevelEvent::AutoLower;
    m_history.Append(kind, 0, m_layer.CutLevel(), lowering.before, lowering.after);
}

void LevelHistoryRecorder::GuardRestored(int strip, quint32 before, quint32 after)
{
    if (strip != Recording)
        return;
    m_history.Append(LevelEvent::GuardRestore, 0, m_layer.CutLevel(), steps(before), steps(after));
}

} // namespace nuvask
