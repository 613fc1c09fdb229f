#pragma once
// The volume guard: keeps the recording strip's line (strip 2, the strip the
// automatic lowering acts on) at the volume the user set, against browsers,
// call and meeting programs that turn the system's recording volume up or
// down on their own. While it is on, every change of the line's volume that
// the program did not make itself is written back at once.
//
// What it keeps is the line as its device keeps it (MixerLayer::
// StripDeviceVolume): every channel on the device's own scale, over the whole
// range the device allows, so that a sound server's boost above 100 % or a
// change of one channel is seen and undone like any other. A restore writes
// back only what moved: a channel nobody changed keeps its value.
//
// The guarded level belongs to the input behind the strip. It is the last
// volume the program wrote to the line (any write through the strips' one
// write path), or, until it writes one, what the line had when the guard was
// switched on or the line was bound. When the input behind the line changes
// (another default input of the sound server, another choice in the strip's
// source list) the new input's own level is taken and nothing is written.
//
// It is fed by the same change notifications the strips are drawn from and
// recognises the program's own writes by value, not by an "I am writing"
// mark: notifications coalesce and come after later writes, so only the
// value read tells whether the line holds what the program set. A device may
// keep a written volume rounded (hardware steps) and say so a moment later:
// the first value the line reports within EchoMs of a write, near it on every
// channel, is the device's version of that write and becomes the level.
//
// No fights and no storms: nothing is written while the line holds the
// guarded level, one restore answers one outside change, and a token bucket
// keeps restores to at most 20 in any second. When another program keeps
// changing the line for more than FightSpanMs, fightNoticed is emitted once
// with the programs recording from that line, as the device can tell them;
// that signal is the one place the notice is decided.

#include "core/mixer/StripVolumeWatcher.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <optional>

namespace nuvask {

class MixerLayer;

class VolumeGuard : public QObject, public StripVolumeWatcher {
    Q_OBJECT
public:
    static constexpr int GuardedStrip = 2;
    // The bucket holds BurstRestores and gains RestoresPerSecond a second:
    // any one second sees at most 5 + 15 = 20 restores.
    static constexpr int BurstRestores = 5;
    static constexpr int RestoresPerSecond = 15;
    // A fight: outside changes at most FightGapMs apart (milliseconds); told
    // once it has gone on for more than FightSpanMs.
    static constexpr qint64 FightGapMs = 3000;
    static constexpr qint64 FightSpanMs = 5000;
    // How long after the program's write the device's rounded version of it
    // may come (milliseconds; a sound server holds a write it has not shown
    // for a quarter of a second), and how far from the written value it may
    // be: 1/EchoShare of the device's full scale (half a step of a line with
    // 8 steps).
    static constexpr qint64 EchoMs = 1000;
    static constexpr quint32 EchoShare = 16;

    // Becomes the layer's volume watcher for as long as it lives.
    explicit VolumeGuard(MixerLayer &layer, QObject *parent = nullptr);
    ~VolumeGuard() override;

    // The menu switch (and the stored setting at start).
    void SetOn(bool on);
    bool On() const { return m_on; }
    // On, and the strip has a volume to guard: what the strip's mark shows.
    bool Guarding() const { return m_on && m_bound; }
    // Every channel on the device's scale; nothing while there is nothing to
    // guard yet.
    std::optional<QList<quint32>> GuardedLevel() const { return m_on ? m_guarded : std::nullopt; }
    int Restores() const { return m_restores; }

    // Milliseconds of a monotonic clock; tests put their own in.
    void SetClock(std::function<qint64()> clock);

    // StripVolumeWatcher
    void StripVolumeBound(int strip) override;
    void StripVolumeUnbound(int strip) override;
    void StripVolumeRead(int strip) override;
    void StripVolumeWritten(int strip) override;

signals:
    void guardingChanged(bool guarding);
    // A restore was written: the channel that had moved most held `before`
    // and was set back to `after`, in mixer units of the strip's control
    // (beyond its maximum for a volume above full).
    void restored(int strip, quint32 before, quint32 after);
    // Another program keeps changing the line: the programs recording from it
    // now, as far as the device could tell (`state`).
    void fightNoticed(const QStringList &clients, RecordingClientsState state);

private:
    // Reads the line as its device keeps it into `now` and m_seen; false when
    // it cannot be read or another input is behind it now (then taken).
    bool readLine(DeviceVolume &now);
    // Another input behind the line (or the first read): its level is taken.
    void takeInput(const DeviceVolume &now);
    bool sameInput(const DeviceVolume &now) const;
    // A write through `strip` went to the guarded input.
    bool writesGuardedInput(int strip);
    // `now` is the device's rounded version of the program's last write.
    bool echoOfOwnWrite(const DeviceVolume &now) const;
    void restore();
    bool takeToken();
    void retryLater();
    void dropPending();
    void noteFight(qint64 now);
    void askWhoRecords();
    void setBound(bool bound);
    // The level and whatever was under way for it go.
    void startOver();

    MixerLayer &m_layer;
    std::function<qint64()> m_clock;
    QElapsedTimer m_elapsed;
    QTimer m_retry; // a restore the bucket held back
    bool m_on = false;
    bool m_bound = false;
    DeviceVolume m_seen;                    // the line at the last read or own write
    std::optional<QList<quint32>> m_guarded; // device units, per channel
    // False from the program's write until the device gave its own version
    // of it (EchoMs bounds the wait).
    bool m_confirmed = true;
    std::optional<qint64> m_wroteAt; // ms: the program's last write to the line
    bool m_restoring = false;
    bool m_pending = false; // an outside change waits for a token
    double m_tokens = BurstRestores;
    qint64 m_refilledAt = 0; // ms
    bool m_fighting = false;
    qint64 m_fightStart = 0;  // ms
    qint64 m_lastOutside = 0; // ms
    bool m_told = false;
    QString m_input; // the line and the input behind it, as last taken
    int m_restores = 0;
};

} // namespace nuvask
