#pragma once
// The level history: what the recording level did and what was done about
// it, kept as a fixed ring of small plain records. The level monitor appends
// one record per analysed buffer (its peak and the cut level), the recorder
// (LevelHistoryRecorder) one per automatic lowering, outside volume change
// or guard restore, and the monitor's switching on and off. The ring is
// allocated once, at the size an hour of the shortest buffers needs, so an
// append never allocates; the oldest records make room for the newest.
// Read by the history window (ui/monitor) and the CSV export.

#include <QDateTime>
#include <QString>

#include <functional>
#include <vector>

namespace nuvask {

enum class LevelEvent : quint8 {
    Peak = 0,      // an analysed buffer: its peak
    AutoLower,     // "Auto" lowered the recording strip: volume before -> after
    MeterLower,    // the mixer-meter form (Auto_RecV) lowered it
    LowerRefused,  // a lowering was due, but the mixer took no write
    OutsideChange, // another program moved the recording line's volume
    GuardRestore,  // the volume guard put it back
    MonitorOn,     // the monitor started capturing
    MonitorOff,    // ... and stopped
};
inline constexpr int LevelEventKinds = 8;

// Names of the events as the history window and the CSV file show them.
QString LevelEventName(LevelEvent kind);

// One record: 16 bytes. Volumes are the strip's UI steps (0..256).
struct LevelRecord
{
    qint64 time = 0;  // milliseconds on the monotonic clock
    quint16 peak = 0; // 0..32768 on the 16-bit sample scale; Peak records only
    quint16 cut = 0;  // the cut level when the record was made
    quint32 kind : 4 = 0;
    quint32 before : 9 = 0;
    quint32 after : 9 = 0;

    LevelEvent event() const { return LevelEvent(kind); }
    bool operator==(const LevelRecord &other) const;
};
static_assert(sizeof(LevelRecord) == 16, "a record stays small: an hour of buffers is 72000 of them");

// Wall-clock times for monotonic ones, taken once so that every time of one
// export or one picture is converted alike.
class LevelTimeAnchor
{
public:
    static LevelTimeAnchor At(const QDateTime &wall, qint64 monotonic);

    QDateTime wall;
    qint64 monotonic = 0; // ms
    QDateTime wallAt(qint64 time) const { return wall.addMSecs(time - monotonic); }
    // Milliseconds since the epoch on the local clock, in the anchor's offset
    // from UTC.
    qint64 localMs(qint64 time) const { return m_local + (time - monotonic); }
    // The local time of day as "HH:mm", "HH:mm:ss" or "HH:mm:ss.zzz" by that
    // offset: no time-zone lookup, for texts drawn many times a second.
    enum class Clock { Minutes, Seconds, Milliseconds };
    QString clockText(qint64 time, Clock precision) const;

private:
    qint64 m_local = 0; // `wall` on the local clock, ms since the epoch
};

class LevelHistory
{
public:
    // Milliseconds of a monotonic clock; tests give their own.
    using Clock = std::function<qint64()>;

    static constexpr qint64 ShortestBufferMs = 50; // "1" of the interval list
    static constexpr qint64 LongestBufferMs = 450; // "9"
    static constexpr qsizetype HourOfBuffers = 3600 * 1000 / ShortestBufferMs;
    // An hour of the shortest buffers, and a quarter more for the events and
    // for the partly filled buffers a lowering's reset hands back.
    static constexpr qsizetype DefaultCapacity = HourOfBuffers + HourOfBuffers / 4;
    static constexpr int MaxVolume = 511; // what a record's volume field holds (UI steps)

    explicit LevelHistory(qsizetype capacity = DefaultCapacity, Clock clock = {});

    // Now on the history's clock (ms).
    qint64 Now() const;
    // When the history began: before it nothing is known.
    qint64 StartTime() const { return m_start; }
    LevelTimeAnchor Anchor() const;

    // Appends one record stamped now. Values are clamped to their fields.
    void Append(LevelEvent kind, int peak, int cut, int before = 0, int after = 0);
    // Records the monitor switching on or off; the same state reported again
    // adds nothing.
    void SetMonitorRunning(bool running, int cut);
    bool MonitorRunning() const { return m_running; }

    // Records are numbered in the order they came (sequence numbers); the
    // ring keeps [FirstSeq, EndSeq).
    qsizetype Capacity() const { return qsizetype(m_ring.size()); }
    qint64 EndSeq() const { return m_end; }
    qint64 FirstSeq() const { return m_end - m_size; }
    const LevelRecord &At(qint64 seq) const { return m_ring[std::size_t(seq % qint64(m_ring.size()))]; }
    // The first kept record stamped at or after `time`; EndSeq when none is.
    qint64 SeqAtOrAfter(qint64 time) const;
    // Whether the monitor ran just before record `seq` (EndSeq: now).
    bool RunningBefore(qint64 seq) const;

    // Bytes the ring of `capacity` records takes.
    static qsizetype BytesFor(qsizetype capacity) { return capacity * qsizetype(sizeof(LevelRecord)); }

private:
    Clock m_clock;
    std::vector<LevelRecord> m_ring;
    qint64 m_end = 0;  // records ever appended
    qint64 m_size = 0; // records kept
    qint64 m_start = 0;
    bool m_running = false;
    qint64 m_lastSwitch = -1;          // sequence number of the newest on/off record
    bool m_runningBeforeFirst = false; // the state the overwritten records left
};

} // namespace nuvask
