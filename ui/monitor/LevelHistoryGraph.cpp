// The level history drawn, one pixel column at a time: the columns, the
// image they are kept in, and the timer. Scales and labels over it are in
// LevelHistoryGraphLabels.cpp.

#include "ui/monitor/LevelHistoryGraph.h"

#include "core/base/TextHelpers.h"
#include "ui/monitor/LevelHistoryStyle.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <climits>
#include <cstring>

namespace nuvask {

using namespace historyStyle;

namespace {

bool isBoundary(LevelEvent kind)
{
    return kind == LevelEvent::Peak || kind == LevelEvent::MonitorOn || kind == LevelEvent::MonitorOff;
}

} // namespace

LevelHistoryGraph::LevelHistoryGraph(const LevelHistory &history, QWidget *parent) : QWidget(parent), m_history(history)
{
    setObjectName(QStringLiteral("LevelHistoryGraph"));
    setMouseTracking(true);
    setToolTip(historyText::HintGraph());
    setMinimumSize(LeftMargin + RightMargin + 120, TopMargin + BottomMargin + 80);
    // Every paint covers its whole region: nothing below it is painted first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_timer.setObjectName(QStringLiteral("Timer_History"));
    connect(&m_timer, &QTimer::timeout, this, &LevelHistoryGraph::Refresh);
}

int LevelHistoryGraph::ValidSpan(int minutes)
{
    return minutes == 1 || minutes == 10 || minutes == 60 ? minutes : 10;
}

void LevelHistoryGraph::SetSpanMinutes(int minutes)
{
    minutes = ValidSpan(minutes);
    if (minutes == m_spanMinutes)
        return;
    m_spanMinutes = minutes;
    m_valid = false;
    m_timeLabels.clear(); // to the second or to the minute
    update();
}

void LevelHistoryGraph::SetPaused(bool paused)
{
    if (paused == m_paused)
        return;
    if (paused)
        m_pausedAt = m_history.Now();
    m_paused = paused;
    UpdateTimer();
    Refresh();
    update();
}

qint64 LevelHistoryGraph::ViewEnd() const
{
    return m_paused ? m_pausedAt : m_history.Now();
}

QRect LevelHistoryGraph::PlotRect() const
{
    return QRect(LeftMargin, TopMargin, std::max(0, width() - LeftMargin - RightMargin),
                 std::max(0, height() - TopMargin - BottomMargin));
}

qint64 LevelHistoryGraph::columnOf(qint64 time) const
{
    return floorDiv(time * m_columnCount, SpanMs());
}

qint64 LevelHistoryGraph::columnStart(qint64 column) const
{
    return ceilDiv(column * SpanMs(), m_columnCount);
}

int LevelHistoryGraph::plotY(int value) const
{
    const int h = m_image.height();
    return h - 1 - int(RoundDiv(qint64(std::clamp(value, 0, FullScale)) * (h - 1), FullScale));
}

void LevelHistoryGraph::UpdateTimer()
{
    const QWidget *top = window();
    const bool seen = isVisible() && !(top && top->isMinimized());
    if (!seen || m_paused) {
        m_timer.stop();
        return;
    }
    m_timer.setInterval(TickMs);
    if (!m_timer.isActive())
        m_timer.start();
}

void LevelHistoryGraph::summarise(qint64 first, qint64 last, std::vector<Mark> *marks)
{
    const qint64 count = last - first + 1;
    const qint64 from = columnStart(first);
    const qint64 to = columnStart(last + 1); // the span is [from, to)
    const qint64 startSeq = m_history.SeqAtOrAfter(from);
    bool running = m_history.RunningBefore(startSeq);
    const auto clampColumn = [&](qint64 column) { return std::clamp<qint64>(column - first, 0, count - 1); };
    m_runs.clear();
    // The cut level the record before left, where the last buffer ended, and
    // the runs of events that began before the span and reach into it.
    int cut = -1;
    qint64 boundary = LLONG_MIN;
    const qint64 stop = std::max(m_history.FirstSeq(), startSeq - 64);
    for (qint64 s = startSeq - 1; s >= m_history.FirstSeq(); --s) {
        const LevelRecord &r = m_history.At(s);
        if (r.time < from - LevelHistory::FoldMs && (s < stop || boundary != LLONG_MIN))
            break;
        if (r.isEvent() && r.lastTime() >= from)
            m_runs.push_back({0, clampColumn(columnOf(r.lastTime())), r.event()});
        if (s < stop)
            continue;
        if (cut < 0)
            cut = r.cut;
        if (boundary == LLONG_MIN && isBoundary(r.event()))
            boundary = r.time;
    }
    const qint64 knownFrom = m_history.KnownFrom();
    qint64 open = -1;
    const auto openUpTo = [&](qint64 index) {
        while (open < index) {
            ++open;
            Column &c = m_columns[std::size_t(open)];
            c = Column{};
            c.off = !running;
            c.before = columnStart(first + open + 1) <= knownFrom;
            c.cutLow = c.cutHigh = cut;
        }
    };
    openUpTo(0);
    for (qint64 s = startSeq; s < m_history.EndSeq(); ++s) {
        const LevelRecord &r = m_history.At(s);
        const LevelEvent kind = r.event();
        if (r.time >= to) {
            // Past the span only a buffer's sound can reach back into it.
            if (kind != LevelEvent::Peak || r.time - MaxBufferSpanMs >= to)
                break;
            openUpTo(count - 1);
        } else {
            openUpTo(columnOf(r.time) - first);
            Column &c = m_columns[std::size_t(open)];
            cut = r.cut;
            c.cutLow = c.cutLow < 0 ? cut : std::min(c.cutLow, cut);
            c.cutHigh = std::max(c.cutHigh, cut);
            if (kind == LevelEvent::MonitorOn) {
                running = true;
            } else if (kind == LevelEvent::MonitorOff) {
                running = false;
                c.off = true;
            } else if (kind != LevelEvent::Peak) {
                m_runs.push_back({open, clampColumn(columnOf(r.lastTime())), kind});
                if (marks)
                    marks->push_back({r.time, r.lastTime(), kind, int(r.before), int(r.after), r.count()});
            }
        }
        if (kind == LevelEvent::Peak) {
            // The buffer's sound came in since the last buffer (or the
            // monitor's start), at most one long buffer back.
            const qint64 soundFrom = std::max(boundary, r.time - MaxBufferSpanMs);
            const qint64 a = std::max<qint64>(columnOf(soundFrom) - first, 0);
            const qint64 b = std::min<qint64>(columnOf(r.time) - first, count - 1);
            for (qint64 j = a; j <= b; ++j) {
                Column &c = m_columns[std::size_t(j)];
                if (c.peakMax < 0) {
                    c.peakMin = c.peakMax = r.peak;
                } else {
                    c.peakMin = std::min<int>(c.peakMin, r.peak);
                    c.peakMax = std::max<int>(c.peakMax, r.peak);
                }
            }
        }
        if (isBoundary(kind))
            boundary = r.time;
    }
    openUpTo(count - 1);
    // A run marks every column from its first event to its last.
    for (const RunColumns &run : m_runs) {
        for (qint64 j = run.from; j <= run.to; ++j)
            m_columns[std::size_t(j)].events |= quint16(1u << unsigned(run.kind));
    }
}

void LevelHistoryGraph::paintColumns(qint64 first, qint64 last)
{
    const qint64 left = leftColumn();
    first = std::max(first, left);
    if (last < first)
        return;
    // Marks of the columns painted again are found again.
    const qint64 from = columnStart(first);
    const qint64 shownFrom = columnStart(left);
    m_marks.erase(std::remove_if(m_marks.begin(), m_marks.end(),
                                 [&](const Mark &m) { return m.time >= from || m.time < shownFrom; }),
                  m_marks.end());
    summarise(first, last, &m_marks);

    const int w = m_image.width();
    const int h = m_image.height();
    const qsizetype stride = m_image.bytesPerLine() / qsizetype(sizeof(QRgb));
    QRgb *bits = reinterpret_cast<QRgb *>(m_image.bits());
    const auto span = [&](int x, int yTop, int yBottom, QRgb colour, int step = 1) {
        for (int y = std::max(yTop, 0); y <= std::min(yBottom, h - 1); y += step)
            bits[y * stride + x] = colour;
    };
    for (qint64 col = first; col <= last; ++col) {
        const Column &c = m_columns[std::size_t(col - first)];
        const int x = int(floorMod(col, w));
        if (c.before) {
            span(x, 0, h - 1, NoRecord);
            continue;
        }
        span(x, 0, h - 1, c.off ? OffBack : PlotBack);
        if (c.off) {
            // Diagonal hatching tied to the column's number, so it scrolls along.
            const int phase = int(floorMod(col, HatchPitch));
            span(x, phase, h - 1, OffHatch, HatchPitch);
        } else {
            for (int tick : LinearTicks)
                span(x, plotY(tick), plotY(tick), Grid);
        }
        if (c.peakMax >= 0) {
            span(x, plotY(c.peakMin), h - 1, PeakBelow);
            const int lowY = plotY(c.peakMin);
            span(x, plotY(c.peakMax), std::min(lowY, plotY(YellowTop)), PeakRed);
            span(x, std::max(plotY(c.peakMax), plotY(YellowTop) + 1), std::min(lowY, plotY(GreenTop)), PeakYellow);
            span(x, std::max(plotY(c.peakMax), plotY(GreenTop) + 1), lowY, PeakGreen);
        }
        if (c.cutLow >= 0 && (c.peakMax >= 0 || !c.off))
            span(x, plotY(c.cutHigh), plotY(c.cutLow), CutLine);
        for (int k = 0; k < LevelEventKinds; ++k) {
            if (c.events & (1u << unsigned(k)))
                span(x, k % 2, h - 1, markColour(LevelEvent(k)), 2); // dotted: the peaks stay readable
        }
    }
    m_columnsPainted += last - first + 1;
}

QImage LevelHistoryGraph::PlotImage() const
{
    if (m_image.isNull())
        return m_image;
    QImage ordered(m_image.size(), m_image.format());
    QPainter p(&ordered);
    const int split = int(floorMod(leftColumn(), m_image.width()));
    p.drawImage(0, 0, m_image, split, 0, m_image.width() - split, m_image.height());
    p.drawImage(m_image.width() - split, 0, m_image, 0, 0, split, m_image.height());
    return ordered;
}

LevelHistoryGraph::Changes LevelHistoryGraph::bringUpToDate()
{
    Changes changes;
    const QRect plot = PlotRect();
    if (plot.width() < 1 || plot.height() < 2)
        return changes;
    if (m_image.size() != plot.size()) {
        m_image = QImage(plot.size(), QImage::Format_RGB32);
        m_columnCount = plot.width();
        m_columns.assign(std::size_t(plot.width()), Column{});
        m_valid = false;
    }
    const qint64 before = m_columnsPainted;
    const qint64 end = ViewEnd();
    const qint64 oldEnd = m_paintedEnd;
    const qint64 newRight = columnOf(end);
    const qint64 shift = newRight - rightColumn();
    const bool news = m_history.Changes() != m_paintedChanges;
    m_paintedEnd = end;
    m_paintedChanges = m_history.Changes();
    if (!m_valid || shift < 0 || shift >= m_image.width()) {
        m_anchor = m_history.Anchor();
        m_marks.clear();
        paintColumns(leftColumn(), newRight);
        m_valid = true;
        changes.whole = true;
    } else if (shift > 0 || news) {
        // New records are stamped at or after the last paint; a buffer's
        // sound reaches at most one long buffer further back, and a run of
        // events begun up to FoldMs before may have grown.
        const qint64 first = std::max(columnOf(oldEnd - std::max(MaxBufferSpanMs, LevelHistory::FoldMs)), leftColumn());
        paintColumns(first, newRight);
        // Time went on: the plot and the times below it moved. Else only the
        // columns painted again changed. (Scrolling the shown plot on the
        // screen instead costs the X server more than painting it again.)
        if (shift > 0)
            changes.region = QRegion(plot) + QRect(0, plot.bottom() + 1, width(), height() - plot.bottom() - 1);
        else
            changes.region = QRect(plot.left() + int(first - leftColumn()), plot.top(), int(newRight - first + 1),
                                   plot.height());
    }
    changes.columns = int(m_columnsPainted - before);
    if (changes.columns > 0 || changes.whole)
        changes.region += placeLabels();
    return changes;
}

void LevelHistoryGraph::showChanges(const Changes &changes)
{
    if (changes.whole)
        update();
    else if (!changes.region.isEmpty())
        update(changes.region);
}

int LevelHistoryGraph::Refresh()
{
    const Changes changes = bringUpToDate();
    showChanges(changes);
    if (changes.columns > 0 && m_mouseX >= 0)
        emit readingChanged(ReadingAt(m_mouseX));
    return changes.columns;
}

QRect LevelHistoryGraph::mouseColumn(int x) const
{
    const QRect plot = PlotRect();
    return x >= 0 && x < plot.width() ? QRect(plot.left() + x, plot.top(), 1, plot.height()) : QRect();
}

void LevelHistoryGraph::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_valid = false;
}

void LevelHistoryGraph::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    UpdateTimer();
    Refresh();
}

void LevelHistoryGraph::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    UpdateTimer();
}

void LevelHistoryGraph::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    // Texts laid out in the old font are laid out again.
    if (event->type() == QEvent::FontChange) {
        m_frame = QImage();
        m_labelTexts.clear();
        m_labels.clear();
        m_valid = false;
        update();
    }
}

void LevelHistoryGraph::mouseMoveEvent(QMouseEvent *event)
{
    const int x = int(event->position().x()) - LeftMargin;
    const int mouse = x >= 0 && x < PlotRect().width() ? x : -1;
    if (mouse == m_mouseX)
        return;
    update(mouseColumn(m_mouseX) | mouseColumn(mouse));
    m_mouseX = mouse;
    emit readingChanged(mouse >= 0 ? ReadingAt(mouse) : QString());
}

void LevelHistoryGraph::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    update(mouseColumn(m_mouseX));
    m_mouseX = -1;
    emit readingChanged(QString());
}

} // namespace nuvask
