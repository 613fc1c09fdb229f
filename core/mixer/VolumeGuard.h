#pragma once
// The volume guard: keeps the recording strip's line (strip 2, the strip the
// automatic lowering acts on) at the volume the user set, against browsers,
// call and meeting programs that turn the system's recording volume up or
// down on their own. While it is on, every change of the line's volume that
// the program did not make itself is written back at once.
//
// The guarded level is the last volume the program wrote to the line (a
// click, up/down, a registered volume, Max/Min, an automatic lowering), or,
// until it writes one, the volume the line had when the guard was switched on
// or the strip was bound (start, a sound server back, another line chosen).
//
// It is fed by the same change notifications the strips are drawn from (the
// mixer layer's StripVolumeWatcher) and recognises the program's own writes by
// their value, not by an "I am writing" mark: notifications coalesce and come
// after later writes, so only the value read tells whether the line holds
// what the program set. Restores go through the strip's own write path. Mute
// and the recording source are never touched.
//
// No fights and no storms: nothing is written while the line holds the
// guarded level, one restore answers one outside change, and a token bucket
// keeps restores to at most 20 in any second. When another program keeps
// changing the line for more than FightSpanMs, fightNoticed is emitted once
// with the programs recording from that line, as the device can tell them.

#include "core/mixer/StripVolumeWatcher.h"

#include <QElapsedTimer>
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
    // A write through another strip on the same device that the guarded line
    // reads back within this time (milliseconds) was the program's own: two
    // strips may show one line under two names (a server's default input and
    // the same input by name).
    static constexpr qint64 OtherStripWriteMs = 1000;

    // Becomes the layer's volume watcher for as long as it lives.
    explicit VolumeGuard(MixerLayer &layer, QObject *parent = nullptr);
    ~VolumeGuard() override;

    // The menu switch (and the stored setting at start).
    void SetOn(bool on);
    bool On() const { return m_on; }
    // On, and the strip has a volume to guard: what the strip's mark shows.
    bool Guarding() const { return m_on && m_bound; }
    // Mixer units; nothing while there is nothing to guard yet.
    std::optional<quint32> GuardedLevel() const { return m_on ? m_guarded : std::nullopt; }
    int Restores() const { return m_restores; }

    // Milliseconds of a monotonic clock; tests put their own in.
    void SetClock(std::function<qint64()> clock);

    // StripVolumeWatcher
    void StripVolumeBound(int strip) override;
    void StripVolumeUnbound(int strip) override;
    void StripVolumeRead(int strip, quint32 units) override;
    void StripVolumeWritten(int strip, quint32 units) override;

signals:
    void guardingChanged(bool guarding);
    // A restore was written: the line held `before` and was set back to
    // `after` (mixer units).
    void restored(int strip, quint32 before, quint32 after);
    // Another program keeps changing the line: the programs recording from it
    // now (`answered` false: the device cannot tell).
    void fightNoticed(const QStringList &clients, bool answered);

private:
    void restore();
    bool takeToken();
    void retryLater();
    void dropPending();
    void noteFight(qint64 now);
    void askWhoRecords();
    void setBound(bool bound);

    MixerLayer &m_layer;
    std::function<qint64()> m_clock;
    QElapsedTimer m_elapsed;
    QTimer m_retry; // a restore the bucket held back
    bool m_on = false;
    bool m_bound = false;
    std::optional<quint32> m_guarded;  // mixer units
    std::optional<quint32> m_lastSeen; // what the line held at the last read or own write
    bool m_pending = false;            // an outside change waits for a token
    double m_tokens = BurstRestores;
    qint64 m_refilledAt = 0; // ms
    quint32 m_boundLine = 0;
    // The last write through another strip: its device, value and time (ms).
    MixerHandle m_otherHandle = NoMixerHandle;
    quint32 m_otherUnits = 0;
    qint64 m_otherAt = 0;
    bool m_fighting = false;
    qint64 m_fightStart = 0;   // ms
    qint64 m_lastOutside = 0;  // ms
    bool m_told = false;
    int m_restores = 0;
};

} // namespace nuvask
