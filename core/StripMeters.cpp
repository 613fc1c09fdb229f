#include "core/StripMeters.h"

#include "core/MixerLayer.h"

namespace nuvask {

StripMeters::StripMeters(MixerLayer &layer, StripMetersView &view, QObject *parent)
    : QObject(parent), m_layer(layer), m_view(view)
{
    m_timer.setObjectName(QStringLiteral("Timer_PK"));
    m_timer.setInterval(PollIntervalMs);
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
    if (strip >= 0 && strip < StripCount)
        m_view.SetAutoMark(strip, visible && m_meterOn);
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
    if (m_meterPresent && m_meterOn && !m_shutDown) {
        if (!m_timer.isActive())
            m_timer.start();
    } else {
        m_timer.stop();
    }
}

void StripMeters::Timer_PKTimer()
{
    // A lowering inside a read may let events run; a tick never nests.
    if (m_tickBusy)
        return;
    m_tickBusy = true;
    for (int n = 0; n < StripCount; ++n) {
        const int cover = m_layer.StripReadPeak(n); // pixels, or -1 when nothing was read
        if (cover >= 0)
            m_view.SetPeakCover(n, cover);
    }
    m_tickBusy = false;
}

} // namespace nuvask
