#pragma once
// The sound server (PulseAudio, or PipeWire through pipewire-pulse) as plain Qt
// data: the default sink and source and every sink and source with its volume
// and mute. Runs on the Qt event loop without a thread of its own. When the
// server goes away the connection turns Lost and tries again by itself, waiting
// longer each time (no CPU used while it waits). Realised on libpulse; the
// mixer service on top of it is PulseMixerService.

#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

#include "platform/pulse/PulsePeakMeters.h"

#include <functional>
#include <map>
#include <memory>

class QTimer;

namespace nuvask {


struct PulseDeviceInfo
{
    quint32 index = 0;      // the server's number, new after a restart
    QString name;           // the server's name, stable across restarts
    QString description;    // what people read
    QList<quint32> volumes; // per channel, on the server's scale (0..PulseVolumeNorm is 0..100 %)
    bool muted = false;
    bool monitor = false; // a sink's monitor ("what you hear")
    bool operator==(const PulseDeviceInfo &other) const = default;
};

struct PulseServerState
{
    QString defaultSink;
    QString defaultSource;
    QList<PulseDeviceInfo> sinks;
    QList<PulseDeviceInfo> sources;
    bool operator==(const PulseServerState &other) const = default;
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

    // The programs recording from `source` now: the application names of its
    // source outputs, in the server's order, each once; this program's own
    // streams are left out. Answered once, later from the event loop;
    // `answered` is false when the server could not be asked.
    using ClientsAnswer = std::function<void(const QStringList &names, bool answered)>;
    void recordingClients(const QString &source, const ClientsAnswer &answer);

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

    // Milliseconds a write of this program stands against pictures of the
    // server that do not show it yet.
    static constexpr int ConfirmMs = 250;

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
    // A picture of the server was read that differs from the last one (after
    // any change on the server), or the first one since it answered.
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
    bool knows(bool source, quint32 index) const;
    // Remembers a write until the server shows it.
    void noteWrite(bool source, const QString &name);
    // Keeps in the picture being taken what was written and not shown yet.
    void holdOwnWrites();
    void confirmOwnWrites();
    void answerClients(bool answered);

    struct ClientsQuery
    {
        quint32 sourceIndex = 0;
        ClientsAnswer answer;
    };

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
    // What changed on the server since the picture being read was asked for.
    struct Dirty
    {
        bool full = false;                // read everything
        QSet<quint32> sinks, sources;     // server indexes of devices that changed
    };
    Dirty m_dirty;
    Dirty m_readNow; // what the picture being taken reads from the server
    // This program's writes the server has not shown yet, by device name.
    struct OwnWrite
    {
        QList<quint32> volumes;
        bool muted = false;
        qint64 at = 0; // ms of m_clock
    };
    QHash<QString, OwnWrite> m_ownSinkWrites, m_ownSourceWrites;
    QString m_ownDefaultSource;
    qint64 m_ownDefaultSourceAt = 0;
    QElapsedTimer m_clock;
    QTimer *m_confirm = nullptr; // looks again at writes not shown yet
    // Asked who records; answered by one listing of the source outputs.
    QList<ClientsQuery> m_clientQueries;
    QList<std::pair<quint32, QString>> m_outputs; // (source index, application name) as listed
    bool m_listingOutputs = false;
    std::unique_ptr<PulsePeakMeters> m_peakMeters;
    bool m_peakSyncQueued = false;
};

} // namespace nuvask
