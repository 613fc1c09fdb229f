#pragma once
// The capture service on ALSA: device 0 is the PCM "default" (on a desktop,
// PulseAudio or PipeWire through the ALSA pulse plugin). The stream is
// non-blocking and driven by its poll descriptors on the Qt event loop; the
// queued buffers are filled in turn. A reset closes the stream and the next
// start opens it again: restarting a dropped stream in place leaves the pulse
// plugin's descriptor readable with nothing to read, and the event loop would
// spin on it. A stream whose server goes away ends cleanly: its buffers come
// back and its calls answer NoDriver.

#include "core/monitor/WaveInQueue.h"
#include "core/monitor/WaveInService.h"

#include <QObject>
#include <QString>

#include <map>
#include <memory>

class QSocketNotifier;

namespace nuvask {

class AlsaCapturePcm;

class AlsaWaveIn : public QObject, public WaveInService {
    Q_OBJECT
public:
    explicit AlsaWaveIn(const QString &pcmName = QStringLiteral("default"), QObject *parent = nullptr);
    ~AlsaWaveIn() override;

    // False once the stream behind an open handle went away.
    bool isAlive(WaveInHandle handle) const;
    // How many times the handle's stream was opened (the first open included).
    int streamOpenCount(WaveInHandle handle) const;

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

    // Opens the stream again (after a reset or an overrun) and starts it when
    // the capture is running; false when that fails and the capture is gone.
    bool reopen(Capture &capture);
    void watch(Capture &capture);
    void unwatch(Capture &capture);
    // Watch the descriptors only while started with a buffer to fill, so that
    // a stream with nowhere to put its data cannot wake the loop.
    void updateWatching(Capture &capture);
    void onReadable(WaveInHandle handle);
    // Reads what is waiting into the queued buffers; false when the stream broke.
    bool drain(Capture &capture, long &framesRead);
    void goneAway(Capture &capture);

    QString m_pcmName;
    WaveInCaptures<Capture> m_open;
    WaveInHandle m_nextHandle = 1;
};

} // namespace nuvask
