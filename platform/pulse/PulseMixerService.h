#pragma once
// The sound server as one mixer device ("PulseAudio"), over a PulseConnection
// and the line mapping of PulseMixerLines. While the server is away every call
// on an open handle answers NoDriver; handles, line and control identifiers
// stay valid and work again once the server is back. A change is posted (queued
// on the event loop) only for a control whose converted values differ from what
// was last posted. A peak meter's source is watched from its first read until
// nobody read it for PeakIdleMs (its levels come from the level monitor's
// capture while that reads the same source, else from a stream of its own).

#include "core/mixer/MixerService.h"
#include "platform/pulse/PulseConnection.h"
#include "platform/pulse/PulseMixerLines.h"

#include <QElapsedTimer>
#include <QObject>

#include <map>

class QTimer;

namespace nuvask {

class PulseMixerService : public QObject, public MixerService
{
    Q_OBJECT
public:
    // Handles of this service have the top bit set, so that they never meet
    // those of another service beside it.
    static constexpr MixerHandle FirstHandle = 0x80000001u;
    static bool ownsHandle(MixerHandle handle) { return (handle & 0x80000000u) != 0; }

    explicit PulseMixerService(PulseConnection &connection, QObject *parent = nullptr);

    bool isReady() const { return m_connection.state() == PulseConnection::State::Ready; }
    static constexpr int PeakIdleMs = 1000; // milliseconds a meter stream stays open unread

    quint32 deviceCount() override;
    quint32 deviceCaps(quint32 device, MixerCaps &caps) override;
    quint32 open(quint32 device, const MixerNotify &notify, MixerHandle &handle) override;
    quint32 close(MixerHandle handle) override;
    quint32 lineInfoByDestination(MixerHandle handle, quint32 destination, MixerLine &line) override;
    quint32 lineInfoBySource(MixerHandle handle, quint32 destination, quint32 source, MixerLine &line) override;
    quint32 lineInfoById(MixerHandle handle, quint32 lineId, MixerLine &line) override;
    quint32 lineControls(MixerHandle handle, quint32 lineId, QList<MixerControl> &controls) override;
    quint32 controlValues(MixerHandle handle, const MixerControlDetails &details, QList<quint32> &values) override;
    quint32 controlListTexts(MixerHandle handle, const MixerControlDetails &details,
                             QList<MixerListText> &texts) override;
    quint32 setControlValues(MixerHandle handle, const MixerControlDetails &details,
                             const QList<quint32> &values) override;
    // The server's own per-channel volume of the line, above 100 % too; its
    // input is the sink or source behind it.
    quint32 deviceVolume(MixerHandle handle, const MixerControlDetails &details, DeviceVolume &volume) override;
    quint32 setDeviceVolume(MixerHandle handle, const MixerControlDetails &details,
                            const QList<quint32> &channels) override;
    // The source outputs of a recording line's source; a playback line has none.
    void recordingClients(MixerHandle handle, quint32 lineId, const RecordingClientsAnswer &answer) override;

signals:
    // Lines came or went, were renamed, or the server went away or came back.
    void linesChanged();

private:
    quint32 check(MixerHandle handle) const;
    void onServerChanged();
    void onStateChanged();
    // Sends a planned write and posts what it changed.
    quint32 send(const PulseMixerLines::Write &write);
    // Compares every control with what was last posted and posts the
    // differences; MAIN's volume and mute also when the default they follow
    // is another device now, whatever its values.
    void postChanges();
    quint32 readPeak(const QString &source, QList<quint32> &values);
    void closeUnreadPeaks();

    PulseConnection &m_connection;
    PulseMixerLines m_lines;
    QHash<quint32, QList<quint32>> m_posted;
    QString m_postedSink, m_postedSource; // the defaults when last posted
    PulseMixerLines::Signature m_signature;
    bool m_wasReady = false;
    std::map<MixerHandle, MixerNotify> m_open;
    MixerHandle m_nextHandle = FirstHandle;
    QHash<QString, qint64> m_peakReads; // source -> when its meter was last read (ms of m_clock)
    QElapsedTimer m_clock;
    QTimer *m_peakIdle = nullptr;
};

} // namespace nuvask
