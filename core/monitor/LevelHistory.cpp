// The level history's ring of records.

#include "core/monitor/LevelHistory.h"

#include <QCoreApplication>

#include <QtGlobal>

#include <algorithm>
#include <chrono>
#include <ctime>

namespace nuvask {

QString LevelEventName(LevelEvent kind)
{
    const char *name = KindOf(kind).name;
    return *name ? QCoreApplication::translate("LevelHistory", name) : QString(); // a buffer is no event
}

QString LevelNoRecordName()
{
    return QCoreApplication::translate("LevelHistory", "記録なし");
}

bool LevelRecord::operator==(const LevelRecord &other) const
{
    return time == other.time && peak == other.peak && cut == other.cut && kind == other.kind &&
           before == other.before && after == other.after && more == other.more;
}

namespace {

// A monotonic clock that goes on while the machine sleeps, where there is
// one: a resident program's hour before a suspend keeps its place in time,
// and wall-clock times worked out from now stay right for it.
qint64 steadyMs()
{
#if defined(CLOCK_BOOTTIME)
    timespec now{};
    if (clock_gettime(CLOCK_BOOTTIME, &now) == 0)
        return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1'000'000;
#endif
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

LevelHistory::LevelHistory(qsizetype capacity, Clock clock)
    : m_clock(clock ? std::move(clock) : Clock(steadyMs)), m_ring(std::size_t(std::max<qsizetype>(capacity, 1)))
{
    m_start = Now();
    m_knownFrom = m_start;
    m_run.fill(-1);
}

qint64 LevelHistory::Now() const
{
    return m_clock();
}

LevelTimeAnchor LevelTimeAnchor::At(const QDateTime &wall, qint64 monotonic)
{
    LevelTimeAnchor anchor;
    anchor.wall = wall;
    anchor.monotonic = monotonic;
    anchor.m_local = wall.toMSecsSinceEpoch() + qint64(wall.offsetFromUtc()) * 1000;
    return anchor;
}

QString LevelTimeAnchor::clockText(qint64 time, Clock precision) const
{
    constexpr qint64 Day = 24 * 3600 * 1000;
    const qint64 ms = ((localMs(time) % Day) + Day) % Day;
    const auto digits = [](qint64 n, int width) { return QString::number(n).rightJustified(width, QLatin1Char('0')); };
    QString text = digits(ms / 3'600'000, 2) + QLatin1Char(':') + digits(ms / 60'000 % 60, 2);
    if (precision != Clock::Minutes)
        text += QLatin1Char(':') + digits(ms / 1000 % 60, 2);
    if (precision == Clock::Milliseconds)
        text += QLatin1Char('.') + digits(ms % 1000, 3);
    return text;
}

LevelTimeAnchor LevelHistory::Anchor() const
{
    return LevelTimeAnchor::At(QDateTime::currentDateTime(), Now());
}

bool LevelHistory::fold(LevelEvent kind, qint64 now, int after)
{
    const qint64 seq = m_run[std::size_t(kind)];
    if (seq < FirstSeq())
        return false;
    LevelRecord &run = slot(seq);
    if (now - run.time >= FoldMs || run.count() >= MaxRun)
        return false;
    run.runMs = quint16(now - run.time);
    run.after = quint32(after);
    ++run.more;
    return true;
}

void LevelHistory::Append(LevelEvent kind, int peak, int cut, int before, int after)
{
    // A clock that steps back (a test's, or a broken one) must not break the
    // order the searches rely on.
    const qint64 now = m_end > 0 ? std::max(Now(), At(m_end - 1).time) : Now();
    before = std::clamp(before, 0, MaxVolume);
    after = std::clamp(after, 0, MaxVolume);
    ++m_changes;
    if (KindOf(kind).folds && fold(kind, now, after))
        return;

    const qint64 capacity = qint64(m_ring.size());
    LevelRecord &slot = this->slot(m_end);
    if (m_size == capacity) {
        // The oldest record goes: the monitor's state it set stays known,
        // and so does where knowing ends.
        if (slot.event() == LevelEvent::MonitorOn || slot.event() == LevelEvent::MonitorOff)
            m_runningBeforeFirst = slot.event() == LevelEvent::MonitorOn;
        m_knownFrom = std::max(m_knownFrom, slot.lastTime());
    } else {
        ++m_size;
    }
    slot = LevelRecord{};
    slot.time = now;
    if (kind == LevelEvent::Peak)
        slot.peak = quint16(std::clamp(peak, 0, 32768));
    slot.cut = quint16(std::clamp(cut, 0, 32768));
    slot.kind = quint32(kind);
    slot.before = quint32(before);
    slot.after = quint32(after);
    if (kind == LevelEvent::MonitorOn || kind == LevelEvent::MonitorOff)
        m_lastSwitch = m_end;
    if (KindOf(kind).folds)
        m_run[std::size_t(kind)] = m_end;
    ++m_end;
}

void LevelHistory::SetMonitorRunning(bool running, int cut)
{
    if (running == m_running)
        return;
    m_running = running;
    Append(running ? LevelEvent::MonitorOn : LevelEvent::MonitorOff, 0, cut);
}

qint64 LevelHistory::SeqAtOrAfter(qint64 time) const
{
    qint64 low = FirstSeq();
    qint64 high = m_end;
    while (low < high) {
        const qint64 mid = low + (high - low) / 2;
        if (At(mid).time < time)
            low = mid + 1;
        else
            high = mid;
    }
    return low;
}

bool LevelHistory::RunningBefore(qint64 seq) const
{
    // Past the newest switch the state is the current one; the window asks
    // for recent records on every repaint, so this is the usual answer.
    if (seq > m_lastSwitch)
        return m_running;
    for (qint64 s = std::min(seq, m_end) - 1; s >= FirstSeq(); --s) {
        const LevelEvent kind = At(s).event();
        if (kind == LevelEvent::MonitorOn || kind == LevelEvent::MonitorOff)
            return kind == LevelEvent::MonitorOn;
    }
    return m_runningBeforeFirst;
}

} // namespace nuvask
