#pragma once
// The sound server (PulseAudio, or PipeWire through pipewire-pulse) as plain Qt
// data: the default sink and source and every sink and source with its volume
// and mute. Runs on the Qt event loop without a thread of its own. When the
// server goes away the connection turns Lost and tries again by itself, waiting
// longer each time (no CPU used while it waits). Realised on libpulse; the
// mixer service on top of it is PulseMixerService.

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <map>
#include <memory>

class QTimer;

namespace nuvask {

class PulsePolledContext;

struct PulseDeviceInfo
{
    QString name;           // the server's name, stable across restarts
    QString description;    // what people read
    QList<quint32> volumes; // per channel, on the server's scale (0..PulseVolumeNorm is 0..100 %)
    bool muted = false;
    bool monitor = false; // a sink's monitor ("what you hear")
};

struct PulseServerState
{
    QString defaultSink;
    QString defaultSource;
    QList<PulseDeviceInfo> sinks;
    QList<PulseDeviceInfo> sources;
};

constexpr quint32 PulseVolumeNorm = 0x10000; // the server's 100 %

class PulseConnection : public QObject
{
    Q_OBJECT
public:
    enum class State { Unconnected, Connecting, Ready, Lost };
    Q_ENUM(State)

    explicit PulseConnection(QObject *parent = nullptr);
    ~PulseConnection() override;

    // Connects, and keeps reconnecting after a loss until destroyed.
    void start();
    // Runs the event loop until the first attempt has an answer (Ready, or not
    // reachable) or `ms` milliseconds passed. For start-up only.
    void waitForFirstAnswer(int ms);
    State state() const { return m_state; }
    // The server as last read; valid while Ready.
    const PulseServerState &server() const { return m_server; }

    // Writes; false when not Ready or the request could not be sent. The local
    // picture takes the value at once, the server's confirmation follows.
    bool setVolumes(bool source, const QString &name, const QList<quint32> &volumes);
    bool setMute(bool source, const QString &name, bool muted);
    bool setDefaultSource(const QString &name);

    // Levels of sources, from a low-rate peak-detect record stream per source,
    // open only between watchPeak() and unwatchPeak() (a record stream keeps the
    // source awake and costs the server work). All streams close when the
    // connection is lost. They run on a connection of their own that nothing
    // watches: takePeak() collects what arrived since the last take, so that a
    // meter costs one wake-up per read, not one more per level.
    bool watchPeak(const QString &source);
    void unwatchPeak(const QString &source);
    QStringList watchedPeaks() const;
    // The highest level (0..1) that arrived since the last take, 0 when none did.
    float takePeak(const QString &source);

    // Milliseconds before the next attempt after a failure: the first, and the
    // most it grows to. Tests shorten both to see the schedule in full.
    static constexpr int FirstRetryMs = 500;
    static constexpr int MaxRetryMs = 10000;
    void setRetryWaits(int firstMs, int maxMs);
    int nextRetryMs() const { return m_retryMs; }

    // For tests: while held, a full read of the server that came in is kept
    // in flight (holdsLoad() says so) until released.
    void holdLoads(bool hold);
    bool holdsLoad() const { return m_loadHeld; }

signals:
    void stateChanged(nuvask::PulseConnection::State state);
    // A new picture of the server was read (after any change on the server).
    void serverChanged();

private:
    struct Native;
    friend struct Native;
    struct PeakStream;

    void connectNow();
    void onContextState();
    void dropContext();
    void reload();
    void loadFinished();
    void setState(State state);
    void closePeaks();
    // The peak streams' own connection, made when the first is opened; false
    // when the server does not accept it.
    bool openPeakLoop();
    PulseDeviceInfo *find(bool source, const QString &name);

    std::unique_ptr<Native> m_native;
    State m_state = State::Unconnected;
    PulseServerState m_server;
    PulseServerState m_loading;
    int m_pendingLoads = 0;
    bool m_reloadAgain = false;
    bool m_answered = false;
    int m_firstRetryMs = FirstRetryMs;
    int m_maxRetryMs = MaxRetryMs;
    int m_retryMs = FirstRetryMs;
    bool m_holdLoads = false;
    bool m_loadHeld = false;
    QTimer *m_retry = nullptr;
    std::map<QString, std::unique_ptr<PeakStream>> m_peaks;
    std::unique_ptr<PulsePolledContext> m_peakLoop; // the connection the peak streams run on
};

} // namespace nuvask
