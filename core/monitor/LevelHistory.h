#pragma once
// The level history: what the recording level did and what was done about
// it, kept as a fixed ring of small plain records. The level monitor appends
// one record per analysed buffer (its peak and the cut level), the recorder
// (LevelHistoryRecorder) one per automatic lowering, outside volume change
// or guard restore, and the monitor's switching on and off. The ring is
// allocated once, at the size an hour of the shortest buffers and of folded
// events needs, so an append never allocates; the oldest records make room
// for the newest. Events of one kind that come faster than one a second (the
// guard fighting another program, 20 restores a second for as long as the
// fight lasts) fold into one record a second with their count, so they can
// never push the buffers of the last hour out of the ring.
// Read by the history window (ui/monitor) and the CSV export.

#include <QDateTime>
#include <QString>

#include <array>
#include <functional>
#include <iterator>
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

// What each kind of record is, one row per kind in the order of LevelEvent:
// a new kind is a new row (and its name in the catalogue); the CSV, the
// graph's marks, its legend and the folding all read it from here.
struct LevelEventKind
{
    LevelEvent kind;
    const char *name; // as the CSV and the graph name it (context "LevelHistory"); none for a buffer
    quint32 colour;   // its mark in the graph, 0xRRGGBB; 0: drawn as no mark
    bool legend;      // named in the graph's legend (one entry per colour)
    bool volumes;     // carries the recording volume before and after
    bool folds;       // a run of it within LevelHistory::FoldMs is kept as one record
};
inline constexpr LevelEventKind LevelEventTable[] = {
    {LevelEvent::Peak, "", 0, false, false, false},
    {LevelEvent::AutoLower, QT_TRANSLATE_NOOP("LevelHistory", "自動ダウン"), 0xFF5050, true, true, true},
    {LevelEvent::MeterLower, QT_TRANSLATE_NOOP("LevelHistory", "自動ダウン(Auto_RecV)"), 0xFF5050, false, true, true},
    {LevelEvent::LowerRefused, QT_TRANSLATE_NOOP("LevelHistory", "自動ダウン失敗"), 0xFFA000, false, true, true},
    {LevelEvent::OutsideChange, QT_TRANSLATE_NOOP("LevelHistory", "外部変更"), 0x00C8FF, true, true, true},
    {LevelEvent::GuardRestore, QT_TRANSLATE_NOOP("LevelHistory", "ガード復元"), 0xFF00FF, true, true, true},
    {LevelEvent::MonitorOn, QT_TRANSLATE_NOOP("LevelHistory", "モニターON"), 0, false, false, false},
    {LevelEvent::MonitorOff, QT_TRANSLATE_NOOP("LevelHistory", "モニターOFF"), 0, false, false, false},
};
inline constexpr int LevelEventKinds = int(std::size(LevelEventTable));
static_assert(LevelEventKinds <= 16, "a record's kind field holds 16 kinds");

constexpr const LevelEventKind &KindOf(LevelEvent kind)
{
    return LevelEventTable[std::size_t(kind)];
}

constexpr bool TableInOrder()
{
    for (int k = 0; k < LevelEventKinds; ++k) {
        if (int(LevelEventTable[k].kind) != k)
            return false;
    }
    return true;
}
static_assert(TableInOrder(), "one row per kind, in the order of LevelEvent");

// An event's name as the history window and the CSV file show it.
QString LevelEventName(LevelEvent kind);
// What they show for a time before the history knows anything.
QString LevelNoRecordName();

// One record: 16 bytes. Volumes are the strip's UI steps (0..256). An event
// record may stand for a run of events of its kind (see LevelHistory::FoldMs):
// stamped with the first, its volume before the first's, after the last's.
struct LevelRecord
{
    qint64 time = 0; // milliseconds on the monotonic clock
    union {
        quint16 peak = 0; // a buffer: 0..32768 on the 16-bit sample scale
        quint16 runMs;    // an event: ms from the first to the last of its run
    };
    quint16 cut = 0; // the cut level when the record was made
    quint32 kind : 4 = 0;
    quint32 before : 9 = 0;
    quint32 after : 9 = 0;
    quint32 more : 10 = 0; // an event: how many more its run holds

    LevelEvent event() const { return LevelEvent(kind); }
    bool isEvent() const { return event() != LevelEvent::Peak; }
    int count() const { return int(more) + 1; }
    qint64 lastTime() const { return isEvent() ? time + runMs : time; }
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
    // Events of a folding kind that come within this long of the first of
    // their run join its record (ms).
    static constexpr qint64 FoldMs = 1000;
    static constexpr int MaxRun = 1024; // what a record's count holds
    static constexpr qsizetype HourOfEvents = 3600 * 1000 / FoldMs * [] {
        int kinds = 0;
        for (const LevelEventKind &k : LevelEventTable)
            kinds += k.folds ? 1 : 0;
        return kinds;
    }();
    // An hour of the shortest buffers and of every folding kind of event at
    // its fastest, and a fiftieth more for a sound card whose clock runs fast
    // and for the monitor's switching.
    static constexpr qsizetype DefaultCapacity = HourOfBuffers + HourOfBuffers / 50 + HourOfEvents;
    static constexpr int MaxVolume = 511; // what a record's volume field holds (UI steps)

    explicit LevelHistory(qsizetype capacity = DefaultCapacity, Clock clock = {});

    // Now on the history's clock (ms).
    qint64 Now() const;
    // When the history began.
    qint64 StartTime() const { return m_start; }
    // Before this time nothing is known: the history's start, or once the
    // ring is full, the time of the newest record it let go.
    qint64 KnownFrom() const { return m_knownFrom; }
    LevelTimeAnchor Anchor() const;

    // Appends one record stamped now, or folds an event into the open run
    // of its kind. Values are clamped to their fields.
    void Append(LevelEvent kind, int peak, int cut, int before = 0, int after = 0);
    // Records the monitor switching on or off; the same state reported again
    // adds nothing.
    void SetMonitorRunning(bool running, int cut);
    bool MonitorRunning() const { return m_running; }

    // Records are numbered in the order they came (sequence numbers); the
    // ring keeps [FirstSeq, EndSeq). A folded record keeps its number.
    qsizetype Capacity() const { return qsizetype(m_ring.size()); }
    qint64 EndSeq() const { return m_end; }
    // Counts every append and every fold: a reader that saw this number has
    // seen everything up to it.
    qint64 Changes() const { return m_changes; }
    qint64 FirstSeq() const { return m_end - m_size; }
    const LevelRecord &At(qint64 seq) const { return m_ring[std::size_t(seq % qint64(m_ring.size()))]; }
    // The first kept record stamped at or after `time`; EndSeq when none is.
    qint64 SeqAtOrAfter(qint64 time) const;
    // Whether the monitor ran just before record `seq` (EndSeq: now).
    bool RunningBefore(qint64 seq) const;

    // Bytes the ring of `capacity` records takes.
    static qsizetype BytesFor(qsizetype capacity) { return capacity * qsizetype(sizeof(LevelRecord)); }

private:
    LevelRecord &slot(qint64 seq) { return m_ring[std::size_t(seq % qint64(m_ring.size()))]; }
    // Folds the event into the open run of its kind; false when there is none.
    bool fold(LevelEvent kind, qint64 now, int after);

    Clock m_clock;
    std::vector<LevelRecord> m_ring;
    qint64 m_end = 0;  // records ever appended
    qint64 m_changes = 0;
    qint64 m_size = 0; // records kept
    qint64 m_start = 0;
    qint64 m_knownFrom = 0;
    bool m_running = false;
    qint64 m_lastSwitch = -1;          // sequence number of the newest on/off record
    bool m_runningBeforeFirst = false; // the state the overwritten records left
    std::array<qint64, LevelEventKinds> m_run; // per kind: the record of its open run, or -1
};

} // namespace nuvask
