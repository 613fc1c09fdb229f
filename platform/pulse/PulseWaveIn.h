#pragma once
// The capture service on the sound server itself: device 0 is a record stream
// from the server's default source, with no thread of its own (unlike the ALSA
// pulse plugin, whose thread cost more than the rest of the monitor together).
// Each open capture has its own connection and a main loop that is run only
// when the buffer being filled should be full, so that a busy sink's blocks of
// a few milliseconds do not wake the program one by one. The server keeps what
// no buffer takes yet (up to a second), as a sound card's ring would. A reset
// corks the stream and drops what it holds; the next start uncorks it. A
// server that goes away ends the capture cleanly: its buffers come back and
// its calls answer NoDriver. While it captures a source, the strip meters of
// that source read their levels from what it captured (PulseLevelTap), so
// that the server runs one stream per input.

#include "core/monitor/WaveInQueue.h"
#include "core/monitor/WaveInService.h"
#include "platform/pulse/PulsePeakMeters.h"

#include <QByteArray>
#include <QObject>

#include <map>
#include <memory>

namespace nuvask {

class PulseConnection;

class PulseWaveIn : public QObject, public WaveInService, public PulseLevelTap
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
    // The block the server is asked for (milliseconds of sound), and its
    // bytes in a format. Chosen with bench/monitoring.sh: the whole
    // machine's CPU beside the reaction to a loud burst.
    static constexpr int FragmentMs = 10;
    static quint32 fragmentBytes(const WaveFormat &format);

    quint32 deviceCount() override;
    quint32 open(quint32 device, const WaveFormat &format, const WaveInNotify &notify, WaveInHandle &handle) override;
    quint32 prepareHeader(WaveInHandle handle, WaveHeader *header) override;
    quint32 unprepareHeader(WaveInHandle handle, WaveHeader *header) override;
    quint32 addBuffer(WaveInHandle handle, WaveHeader *header) override;
    quint32 start(WaveInHandle handle) override;
    quint32 reset(WaveInHandle handle) override;
    quint32 close(WaveInHandle handle) override;

    // The level tap: a started capture reads every sample of its source. A
    // take first moves in what the server holds for it, so that the meters
    // see the sound of the last moments whatever the buffers' length.
    bool tapsSource(const QString &source) override;
    bool takeTappedPeak(const QString &source, float &peak) override;

private:
    struct Capture;

    // Runs the capture's loop, moves what arrived into the buffers and sets
    // the time of the next read.
    void poll(Capture &capture);
    // Moves what the server handed over into the queued buffers.
    void drain(Capture &capture);
    void goneAway(Capture &capture);
    // The capture stops reading: the level it collected since the meters'
    // last take waits for their next one.
    void stopped(Capture &capture);

    PulseConnection &m_connection;
    WaveInCaptures<Capture> m_open;
    WaveInHandle m_nextHandle = HandleBit | 1;
    std::map<QString, float> m_leftover; // source -> the level of captures stopped since the last take
};

} // namespace nuvask
