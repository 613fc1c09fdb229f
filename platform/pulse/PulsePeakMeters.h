#pragma once
// The levels of sources for the strip meters. A source that the level
// monitor's capture already reads sample by sample gets its levels from that
// capture (the peak of what was captured since the last read), so that the
// server runs one stream per input instead of two; any other source gets a
// low-rate peak-detect record stream of its own. The streams run on a
// connection of their own that nothing watches: a read collects what arrived
// since the last one, so that a meter costs one wake-up per read, not one more
// per level; the connection stays while any source is watched, so that a
// source the capture gives back gets its stream at once. Owned by PulseConnection, which decides when a source may be
// watched; libpulse types stay in this library.

#include <QElapsedTimer>
#include <QString>
#include <QStringList>

#include <map>
#include <memory>

namespace nuvask {

class PulsePolledContext;

// A capture that reads every sample of a source (the level monitor's).
class PulseLevelTap
{
public:
    virtual ~PulseLevelTap() = default;
    // Whether `source` is being captured now.
    virtual bool tapsSource(const QString &source) = 0;
    // Raises `peak` to the highest level (0..1) captured from `source` since
    // the last take; false when nothing was captured meanwhile.
    virtual bool takeTappedPeak(const QString &source, float &peak) = 0;
};

class PulsePeakMeters
{
public:
    PulsePeakMeters();
    ~PulsePeakMeters();
    PulsePeakMeters(const PulsePeakMeters &) = delete;
    PulsePeakMeters &operator=(const PulsePeakMeters &) = delete;

    // Starts reading the levels of `source` (an existing source of a ready
    // server); false when the server does not accept the stream.
    bool watch(const QString &source);
    void unwatch(const QString &source);
    QStringList watched() const;
    bool isWatched(const QString &source) const { return m_watches.count(source) != 0; }
    // Whether `source` is read through a stream of its own (not a capture's).
    bool hasOwnStream(const QString &source) const;
    // The highest level (0..1) of `source` since the last take, 0 when
    // nothing arrived (a stream just opened, silence that stopped coming).
    // False when the level is only late: nothing new arrived, but the last
    // one came less than LateLevelMs ago (the meter then keeps what it shows
    // instead of dropping to silence for a read).
    bool take(const QString &source, float &level);
    // Every stream and the connection closed (the server went away).
    void closeAll();

    // The capture whose levels stand in for a stream; nullptr for none.
    void setTap(PulseLevelTap *tap) { m_tap = tap; }
    PulseLevelTap *tap() const { return m_tap; }
    // The tap started or stopped capturing a source: every watched source
    // moves to the tap or back to a stream of its own.
    void sync();

    // How long a missing level counts as late (milliseconds): a little over
    // two levels of the peak stream, time enough for a stream that takes over
    // from the capture to deliver its first.
    static constexpr int LateLevelMs = 250;

private:
    struct PeakStream;
    struct Watch;

    bool openLoop();
    // Moves the watch to the tap or to a stream; false when a stream could
    // not be opened.
    bool place(const QString &source, Watch &watch);

    std::map<QString, std::unique_ptr<Watch>> m_watches;
    std::unique_ptr<PulsePolledContext> m_loop; // the connection the streams run on
    PulseLevelTap *m_tap = nullptr;
    QElapsedTimer m_clock;
};

} // namespace nuvask
