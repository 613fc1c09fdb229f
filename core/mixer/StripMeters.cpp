// The strips' peak meters as a whole: the 10 Hz poll and its switches.

#include "core/mixer/StripMeters.h"

#include "core/mixer/MixerLayer.h"

#include <algorithm>

namespace nuvask {

StripMeters::StripMeters(MixerLayer &layer, StripMetersView &view, QObject *parent)
    : QObject(parent), m_layer(layer), m_view(view)
{
    m_timer.setObjectName(QStringLiteral("Timer_PK"));
    m_timer.setInterval(PollIntervalMs);
    // Due exactly when asked: a coarse timer would be moved to a boundary of
    // its own and could not meet the wake-ups it rides (TickAlong).
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &StripMeters::Timer_PKTimer);
}

void StripMeters::ApplySettings(bool meterOn, bool autoRecV)
{
    m_meterOn = meterOn;
    m_autoRecV = autoRecV;
    updateTimer();
}

void StripMeters::MO_Meter_ONClick(bool checked)
{
    m_meterOn = checked;
    updateTimer();
    if (!checked) {
        // Every column blank at once; the holds stay as they are.
        for (int n = 0; n < StripCount; ++n)
            m_view.SetPeakCover(n, m_view.MeterFullHeight(n));
    }
    updateMarks();
}

void StripMeters::MO_Auto_RecVClick(bool checked)
{
    m_autoRecV = checked;
    updateMarks();
}

void StripMeters::updateMarks()
{
    for (int n = 0; n < StripCount; ++n)
        SetAutoMarkVisible(n, m_autoRecV && m_layer.StripCanAutoRecV(n));
}

void StripMeters::SetAutoMarkVisible(int strip, bool visible)
{
    if (strip < 0 || strip >= StripCount)
        return;
    m_marks[strip] = visible && m_meterOn;
    m_view.SetAutoMark(strip, m_marks[strip]);
    updateTimer();
}

void StripMeters::SetSeen(bool seen)
{
    m_seen = seen;
    updateTimer();
}

void StripMeters::TickAlong()
{
    if (!m_timer.isActive() || m_tickBusy || m_timer.remainingTime() > RideEarlyMs)
        return;
    m_timer.start(PollIntervalMs + RideLateMs);
    Timer_PKTimer();
}

void StripMeters::SetPeakTimerRunning(bool running)
{
    m_meterPresent = running;
    updateTimer();
}

void StripMeters::Shutdown()
{
    m_shutDown = true;
    updateTimer();
}

void StripMeters::updateTimer()
{
    // "Off" is a stopped timer: a zero interval would fire on every pass of
    // the event loop.
    const bool needed = m_seen || std::find(m_marks.begin(), m_marks.end(), true) != m_marks.end();
    if (m_meterPresent && m_meterOn && !m_shutDown && needed) {
        if (!m_timer.isActive())
            m_timer.start(PollIntervalMs);
    } else {
        m_timer.stop();
        m_timer.setInterval(PollIntervalMs);
    }
}

void StripMeters::Timer_PKTimer()
{
    // A lowering inside a read may let events run; a tick never nests.
    if (m_tickBusy)
        return;
    // A tick on the timer's own: back to the plain interval after riding.
    if (sender() == &m_timer && m_timer.interval() != PollIntervalMs)
        m_timer.start(PollIntervalMs);
    m_tickBusy = true;
    for (int n = 0; n < StripCount; ++n) {
        const int cover = m_layer.StripReadPeak(n); // pixels, or -1 when nothing was read
        if (cover >= 0)
            m_view.SetPeakCover(n, cover);
    }
    m_tickBusy = false;
}

} // namespace nuvask
