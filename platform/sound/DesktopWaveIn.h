#pragma once
// The level monitor's input on a desktop: the sound server's own record stream
// whenever a server answers, ALSA's "default" otherwise (a bare card, or a
// server that is not running). Each open goes to whichever is there at that
// moment; later calls go to the service that opened the handle.

#include "core/monitor/WaveInService.h"
#include "platform/alsa/AlsaWaveIn.h"
#include "platform/pulse/PulseWaveIn.h"

namespace nuvask {

class PulseConnection;

class DesktopWaveIn : public WaveInService
{
public:
    explicit DesktopWaveIn(PulseConnection &connection);

    PulseWaveIn &pulse() { return m_pulse; }

    quint32 deviceCount() override;
    quint32 open(quint32 device, const WaveFormat &format, const WaveInNotify &notify, WaveInHandle &handle) override;
    quint32 prepareHeader(WaveInHandle handle, WaveHeader *header) override;
    quint32 unprepareHeader(WaveInHandle handle, WaveHeader *header) override;
    quint32 addBuffer(WaveInHandle handle, WaveHeader *header) override;
    quint32 start(WaveInHandle handle) override;
    quint32 reset(WaveInHandle handle) override;
    quint32 close(WaveInHandle handle) override;

private:
    WaveInService &serviceOf(WaveInHandle handle);

    AlsaWaveIn m_alsa;
    PulseWaveIn m_pulse;
};

} // namespace nuvask
