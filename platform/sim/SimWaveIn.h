#pragma once
// A simulated capture device answering the wave-input calls with a scripted
// signal: levels, silence, full-scale frames or raw bytes in the opened format
// (8-bit and mono formats included). Queued buffers are filled in turn, either
// one at a time when a test pumps (no sleeping) or in real time from a timer
// (paced mode, for the demo); every hand-back arrives queued on the event loop.
// Any call can be made to fail on request, and the device can go away as a
// sound server that stops does.

#include "core/monitor/WaveInService.h"

#include <QByteArray>
#include <QList>
#include <QObject>

#include <memory>

class QTimer;

namespace nuvask {

class WaveInQueue;

enum class SimWaveCall { Open, Prepare, Unprepare, AddBuffer, Start, Reset, Close };

// Fails matching calls with `rc`.
struct SimWaveFault {
    SimWaveCall call = SimWaveCall::Open;
    quint32 rc = WaveRc::Error;
    int skip = 0;   // matching calls that still succeed first
    int times = -1; // failures before the fault retires; -1 = for ever
};

class SimWaveIn : public QObject, public WaveInService {
    Q_OBJECT
public:
    explicit SimWaveIn(QObject *parent = nullptr);
    ~SimWaveIn() override;

    void setDeviceCount(quint32 count) { m_deviceCount = count; }
    void addFault(const SimWaveFault &fault) { m_faults.append(fault); }
    void clearFaults() { m_faults.clear(); }

    // The signal, played in the order queued; once it runs out the input is
    // silent. Lengths are frames of the opened format; levels are on the
    // 16-bit scale (an 8-bit format gets round(level / 256)).
    // A 441 Hz sine whose samples reach exactly +level and -level (0..32767).
    void queueLevel(int level, quint32 frames);
    void queueSilence(quint32 frames);
    // Every sample at the negative end of the scale (-32768, or byte 0).
    void queueFullScale(quint32 frames);
    // Raw bytes in the opened format, as they are.
    void queueBytes(const QByteArray &bytes);
    void clearSignal();

    // Fills the buffer at the head of the queue to the end and hands it back.
    // False when the device is not started or no buffer is queued.
    bool fillOne();
    // Captures `bytes` more bytes of the signal into the queued buffers; a
    // buffer that fills goes back. Returns the bytes that found a buffer.
    quint32 feed(quint32 bytes);
    // Fills buffers in real time (one per buffer length of sound) while started.
    void setPaced(bool paced);
    // Hands buffers back inside reset() and fillOne() instead of queued, as a
    // driver that breaks that promise would.
    void setDeliverImmediately(bool immediately);
    // The device goes away: every queued buffer comes back (the one being
    // filled with its bytes), and from then on the calls fail with NoDriver
    // except unprepare and close, which still release the handle.
    void goAway();

    bool isOpen() const { return m_handle != NoWaveInHandle; }
    bool isStarted() const { return m_started; }
    int queuedCount() const;
    WaveFormat openedFormat() const { return m_format; }
    int callCount(SimWaveCall call) const { return m_calls[int(call)]; }

    quint32 deviceCount() override;
    quint32 open(quint32 device, const WaveFormat &format, const WaveInNotify &notify, WaveInHandle &handle) override;
    quint32 prepareHeader(WaveInHandle handle, WaveHeader *header) override;
    quint32 unprepareHeader(WaveInHandle handle, WaveHeader *header) override;
    quint32 addBuffer(WaveInHandle handle, WaveHeader *header) override;
    quint32 start(WaveInHandle handle) override;
    quint32 reset(WaveInHandle handle) override;
    quint32 close(WaveInHandle handle) override;

private:
    struct Segment {
        enum Kind { Level, FullScale, Raw } kind = Level;
        int level = 0;
        quint64 frames = 0;
        QByteArray raw;
    };

    // Counts the call, then its fault or the handle's state; 0 when all is well.
    quint32 enter(SimWaveCall call, WaveInHandle handle, bool evenWhenGone = false);
    // The next `bytes` bytes of the signal in the opened format.
    QByteArray take(quint32 bytes);
    QByteArray nextFrame();
    void updatePacing();

    quint32 m_deviceCount = 1;
    QList<SimWaveFault> m_faults;
    int m_calls[7] = {};
    WaveInHandle m_handle = NoWaveInHandle;
    WaveInHandle m_nextHandle = 1;
    WaveFormat m_format;
    std::unique_ptr<WaveInQueue> m_queue;
    bool m_started = false;
    bool m_gone = false;
    bool m_immediate = false;
    bool m_paced = false;
    QTimer *m_pace = nullptr;

    QList<Segment> m_signal;
    quint64 m_phase = 0;     // frames of the sine played so far
    QByteArray m_partFrame;  // the rest of a frame cut by a buffer's end
};

} // namespace nuvask
