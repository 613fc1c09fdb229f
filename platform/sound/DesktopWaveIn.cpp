// The capture service the program uses: the sound server when one answers, else ALSA.

#include "platform/sound/DesktopWaveIn.h"

namespace nuvask {

DesktopWaveIn::DesktopWaveIn(PulseConnection &connection) : m_pulse(connection) {}

WaveInService &DesktopWaveIn::serviceOf(WaveInHandle handle)
{
    return PulseWaveIn::ownsHandle(handle) ? static_cast<WaveInService &>(m_pulse) : m_alsa;
}

quint32 DesktopWaveIn::deviceCount()
{
    return m_pulse.deviceCount() > 0 ? 1 : m_alsa.deviceCount();
}

quint32 DesktopWaveIn::open(quint32 device, const WaveFormat &format, const WaveInNotify &notify, WaveInHandle &handle)
{
    if (m_pulse.deviceCount() > 0)
        return m_pulse.open(device, format, notify, handle);
    return m_alsa.open(device, format, notify, handle);
}

quint32 DesktopWaveIn::prepareHeader(WaveInHandle handle, WaveHeader *header)
{
    return serviceOf(handle).prepareHeader(handle, header);
}

quint32 DesktopWaveIn::unprepareHeader(WaveInHandle handle, WaveHeader *header)
{
    return serviceOf(handle).unprepareHeader(handle, header);
}

quint32 DesktopWaveIn::addBuffer(WaveInHandle handle, WaveHeader *header)
{
    return serviceOf(handle).addBuffer(handle, header);
}

quint32 DesktopWaveIn::start(WaveInHandle handle)
{
    return serviceOf(handle).start(handle);
}

quint32 DesktopWaveIn::reset(WaveInHandle handle)
{
    return serviceOf(handle).reset(handle);
}

quint32 DesktopWaveIn::close(WaveInHandle handle)
{
    return serviceOf(handle).close(handle);
}

} // namespace nuvask
