#pragma once
// The capture service on the sound server itself: device 0 is a record stream
// from the server's default source, on the connection's own context and the
// Qt event loop (no thread of its own, unlike the ALSA pulse plugin, whose
// thread costs more than the rest of the monitor together). The stream asks
// for a fragment every 50 ms; the server keeps what no buffer takes yet, as a
// sound card's ring would. A reset corks the stream and drops what it holds;
// the next start uncorks it. A server that goes away ends the capture cleanly:
// its buffers come back and its calls answer NoDriver.

#include "core/WaveInQueue.h"
#include "core/WaveInService.h"

#include <QByteArray>
#include <QList>
#include <QObject>

#include <map>
#include <memory>

struct pa_stream;

namespace nuvask {

class PulseConnection;

class PulseWaveIn : public QObject, public WaveInService
{
    Q_OBJECT
public:
    explicit PulseWaveIn(PulseConnection &connection, QObject *parent = nullptr);
    ~PulseWaveIn() override;

    // Handles of this service have this bit set, so that they never meet the
    // numbers of another capture service beside it.
    static constexpr WaveInHandle HandleBit = 0x80000000u;
    static bool ownsHandle(WaveInHandle handle) { return (handle & HandleBit) != 0; }

    // False once the stream behind an open handle went away.
    bool isAlive(WaveInHandle handle) const;
    // The bytes per fragment the server was asked for (50 ms of the format).
    static quint32 fragmentBytes(const WaveFormat &format);

    quint32 deviceCount() override;
    quint32 open(quint32 device, const WaveFormat &format, const WaveInNotify &notify, WaveInHandle &handle) override;
    quint32 prepareHeader(WaveInHandle handle, WaveHeader *header) override;
    quint32 unprepareHeader(WaveInHandle handle, WaveHeader *header) override;
    quint32 addBuffer(WaveInHandle handle, WaveHeader *header) override;
    quint32 start(WaveInHandle handle) override;
    quint32 reset(WaveInHandle handle) override;
    quint32 close(WaveInHandle handle) override;

private:
    struct Capture;
    struct Native;
    friend struct Native;

    // Moves what the server holds into the queued buffers.
    void drain(Capture &capture);
    void goneAway(Capture &capture);
    void onConnectionState();
    // Cuts a stream's callbacks and disconnects it; it is freed later.
    void release(pa_stream *stream);
    void freeReleased();

    PulseConnection &m_connection;
    WaveInCaptures<Capture> m_open;
    WaveInHandle m_nextHandle = HandleBit | 1;
    QList<pa_stream *> m_released;
};

} // namespace nuvask
