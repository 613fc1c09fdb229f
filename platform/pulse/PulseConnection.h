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

#include "platform/pulse/PulsePeakMeters.h"

#include <map>
#include <memory>

class QTimer;

namespace nuvask {


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

    // Levels of sources for the strip meters (PulsePeakMeters): read only
    // between watchPeak() and unwatchPeak() (a record stream keeps the source
    // awake and costs the server work), from the level tap's capture while it
    // reads that source, else from a stream of their own. All close when the
    // connection is lost.
    bool watchPeak(const QString &source);
    void unwatchPeak(const QString &source);
    QStringList watchedPeaks() const;
    // The highest level (0..1) that arrived since the last take, 0 when none
    // did; false when it is only late (PulsePeakMeters::take).
    bool takePeak(const QString &source, float &level);
    const PulsePeakMeters &peakMeters() const { return *m_peakMeters; }

    // The capture whose levels stand in for the meters' streams; released
    // by that capture when it goes. Its word that it started or stopped
    // capturing a source: the meters change sides from the event loop, once
    // the call that changed it is over (a lowering's reset and restart
    // change nothing).
    void setLevelTap(PulseLevelTap *tap);
    void releaseLevelTap(PulseLevelTap *tap);
    void levelTapChanged();

    // Milliseconds before the next attempt after a failure: the first, and the
    // most it grows to.
    static constexpr int FirstRetryMs = 500;
    static constexpr int MaxRetryMs = 10000;
    int nextRetryMs() const { return m_retryMs; }

signals:
    void stateChanged(nuvask::PulseConnection::State state);
    // A new picture of the server was read (after any change on the server).
    void serverChanged();

private:
    struct Native;
    friend struct Native;

    void connectNow();
    void onContextState();
    void dropContext();
    void reload();
    void loadFinished();
    void setState(State state);
    void closePeaks();
    PulseDeviceInfo *find(bool source, const QString &name);

    std::unique_ptr<Native> m_native;
    State m_state = State::Unconnected;
    PulseServerState m_server;
    PulseServerState m_loading;
    int m_pendingLoads = 0;
    bool m_reloadAgain = false;
    bool m_answered = false;
    int m_retryMs = FirstRetryMs;
    QTimer *m_retry = nullptr;
    std::unique_ptr<PulsePeakMeters> m_peakMeters;
    bool m_peakSyncQueued = false;
};

} // namespace nuvask
