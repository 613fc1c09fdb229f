// The level history graph's scales and labels, drawn over the column image:
// numbers and dBFS beside it, legend above, times below, the marks' volumes,
// and the reading under the mouse. Texts are laid out once and kept; the
// marks' labels are merged and placed when the marks change (placeLabels),
// and a paint only draws them.

#include "ui/monitor/LevelHistoryGraph.h"

#include "core/base/TextHelpers.h"
#include "ui/monitor/LevelHistoryStyle.h"

#include <QPaintEvent>
#include <QPainter>
#include <QStaticText>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>

namespace nuvask {

using namespace historyStyle;

namespace {

QString dbfsText(int peak)
{
    if (peak <= 0)
        return historyText::MinusInfinity() + QStringLiteral(" dBFS");
    return QString::number(20.0 * std::log10(double(peak) / FullScale), 'f', 1) + QStringLiteral(" dBFS");
}

} // namespace

QImage LevelHistoryGraph::Render()
{
    Refresh();
    QImage picture(size(), QImage::Format_RGB32);
    QPainter p(&picture);
    paintAll(p, QRegion(rect()), false);
    return picture;
}

void LevelHistoryGraph::paintEvent(QPaintEvent *event)
{
    // After a resize or a new span (which ask for the whole widget anyway).
    if (!m_valid || m_image.size() != PlotRect().size())
        bringUpToDate();
    QPainter p(this);
    paintAll(p, event->region(), true);
}

const QStaticText &LevelHistoryGraph::staticText(const QString &text) const
{
    // Laying a text out costs more than drawing it: every text the graph
    // shows is laid out once (the times move on, so the store is emptied
    // now and then).
    auto found = m_texts.constFind(text);
    if (found != m_texts.constEnd())
        return *found;
    if (m_texts.size() >= 256)
        m_texts.clear();
    QStaticText laid(text);
    laid.setTextFormat(Qt::PlainText);
    laid.prepare(QTransform(), font());
    return *m_texts.insert(text, laid);
}

void LevelHistoryGraph::drawText(QPainter &p, int x, int y, const QString &text, Qt::Alignment align) const
{
    const QStaticText &laid = staticText(text);
    const QSizeF size = laid.size();
    if (align & Qt::AlignRight)
        x -= int(size.width());
    else if (align & Qt::AlignHCenter)
        x -= int(size.width()) / 2;
    if (align & Qt::AlignVCenter)
        y -= int(size.height()) / 2;
    p.drawStaticText(x, y, laid);
}

void LevelHistoryGraph::paintAll(QPainter &p, const QRegion &region, bool withMouse)
{
    const QRect plot = PlotRect();
    if (m_image.isNull() || m_image.size() != plot.size()) {
        p.fillRect(rect(), palette().color(QPalette::Window));
        return;
    }
    // The parts that stay (background, legend, scales) are drawn once per
    // size, font (changeEvent) and colours.
    if (m_frame.size() != size() || m_frameKey != palette().cacheKey()) {
        m_texts.clear();
        m_timeLabels.clear();
        m_frame = QImage(size(), QImage::Format_RGB32);
        m_frameKey = palette().cacheKey();
        QPainter f(&m_frame);
        f.fillRect(m_frame.rect(), palette().color(QPalette::Window));
        f.setFont(font());
        paintScales(f);
        paintLegend(f);
    }
    // The margins from the frame, the plot from its image (the shown part of
    // its round of columns in two pieces): each pixel once, and only where
    // asked.
    const QRect times(0, plot.bottom() + 1, width(), height() - plot.bottom() - 1);
    for (const QRect &margin : {QRect(0, 0, width(), plot.top()), times,
                                QRect(0, plot.top(), plot.left(), plot.height()),
                                QRect(plot.right() + 1, plot.top(), width(), plot.height())}) {
        if (region.intersects(margin))
            p.drawImage(margin.topLeft(), m_frame, margin);
    }
    if (region.intersects(plot)) {
        const int split = int(floorMod(leftColumn(), m_image.width()));
        const int firstPart = m_image.width() - split;
        p.drawImage(plot.topLeft(), m_image, QRect(split, 0, firstPart, m_image.height()));
        if (split > 0)
            p.drawImage(QPoint(plot.left() + firstPart, plot.top()), m_image, QRect(0, 0, split, m_image.height()));
    }
    p.setFont(font());
    if (region.intersects(times))
        paintTimes(p);
    paintMarks(p, region);
    if (m_paused) {
        p.setPen(QColor(255, 255, 0));
        drawText(p, plot.right() - 4, plot.top() + 2, historyText::Paused(), Qt::AlignRight);
    }
    if (withMouse && m_mouseX >= 0 && m_mouseX < plot.width()) {
        p.setPen(QColor(255, 255, 255, 160));
        p.drawLine(plot.left() + m_mouseX, plot.top(), plot.left() + m_mouseX, plot.bottom());
    }
}

void LevelHistoryGraph::paintScales(QPainter &p) const
{
    const QRect plot = PlotRect();
    p.setPen(palette().color(QPalette::WindowText));
    for (int tick : LinearTicks)
        drawText(p, LeftMargin - 4, plot.top() + plotY(tick), QString::number(tick), Qt::AlignRight | Qt::AlignVCenter);
    for (int db : DbTicks) {
        const int value = int(std::lround(FullScale * std::pow(10.0, db / 20.0)));
        const int y = plot.top() + plotY(value);
        p.drawLine(plot.right() + 1, y, plot.right() + 4, y);
        drawText(p, plot.right() + 6, y, QString::number(db) + QStringLiteral("dB"), Qt::AlignLeft | Qt::AlignVCenter);
    }
}

QString LevelHistoryGraph::timeText(qint64 time, bool fine) const
{
    return m_anchor.clockText(time, fine ? LevelTimeAnchor::Clock::Milliseconds : LevelTimeAnchor::Clock::Seconds);
}

const QImage &LevelHistoryGraph::timeLabel(qint64 wall, qint64 time)
{
    // The times below the plot move with it at every tick: each is drawn
    // once into a picture of its own in the frame's colours, then only copied.
    auto found = m_timeLabels.constFind(wall);
    if (found != m_timeLabels.constEnd())
        return *found;
    if (m_timeLabels.size() >= 64)
        m_timeLabels.clear();
    const QString text = m_anchor.clockText(time, m_spanMinutes == 1 ? LevelTimeAnchor::Clock::Seconds
                                                                     : LevelTimeAnchor::Clock::Minutes);
    const QSizeF size = staticText(text).size();
    QImage label(int(std::ceil(size.width())), int(std::ceil(size.height())), QImage::Format_RGB32);
    label.fill(palette().color(QPalette::Window));
    QPainter p(&label);
    p.setFont(font());
    p.setPen(palette().color(QPalette::WindowText));
    p.drawStaticText(0, 0, staticText(text));
    return *m_timeLabels.insert(wall, label);
}

void LevelHistoryGraph::paintTimes(QPainter &p)
{
    const QRect plot = PlotRect();
    const qint64 stepMs = m_spanMinutes == 1 ? 10'000 : m_spanMinutes == 10 ? 60'000 : 600'000;
    const qint64 left = leftColumn();
    const qint64 start = columnStart(left);
    // Ticks on whole wall-clock steps.
    const qint64 wallStart = m_anchor.localMs(start);
    const qint64 firstTick = ceilDiv(wallStart, stepMs) * stepMs;
    const QColor ink = palette().color(QPalette::WindowText);
    int lastRight = INT_MIN;
    for (qint64 wall = firstTick;; wall += stepMs) {
        const qint64 time = start + (wall - wallStart);
        const qint64 column = columnOf(time) - left;
        if (column >= m_image.width())
            break;
        const int x = plot.left() + int(column);
        p.fillRect(x, plot.bottom() + 1, 1, 3, ink);
        const QImage &label = timeLabel(wall, time);
        const int half = label.width() / 2 + 2;
        if (x - half > lastRight && x + half < width()) {
            p.drawImage(x - label.width() / 2, plot.bottom() + 3, label);
            lastRight = x + half;
        }
    }
}

void LevelHistoryGraph::paintLegend(QPainter &p) const
{
    struct Item
    {
        QRgb colour;
        QString text;
    };
    std::vector<Item> items{{PeakGreen, historyText::LegendPeak()}, {CutLine, historyText::LegendCut()}};
    for (const LevelEventKind &kind : LevelEventTable) {
        if (kind.legend)
            items.push_back({markColour(kind.kind), LevelEventName(kind.kind)});
    }
    items.push_back({OffHatch, historyText::LegendOff()});
    int x = LeftMargin;
    const int boxTop = (TopMargin - 8) / 2;
    p.setPen(palette().color(QPalette::WindowText));
    for (const Item &item : items) {
        p.fillRect(QRect(x, boxTop, 8, 8), QColor(item.colour));
        drawText(p, x + 11, TopMargin / 2, item.text, Qt::AlignLeft | Qt::AlignVCenter);
        x += 11 + int(staticText(item.text).size().width()) + 12;
    }
}

bool LevelHistoryGraph::Label::operator==(const Label &other) const
{
    return left == other.left && row == other.row && width == other.width && kind == other.kind &&
           text.text() == other.text.text();
}

const QStaticText &LevelHistoryGraph::labelText(const QString &text)
{
    // Kept from one placing to the next while used: a label that stays
    // costs no layout, one that changes costs one.
    auto used = m_labelTextsUsed.constFind(text);
    if (used != m_labelTextsUsed.constEnd())
        return *used;
    QStaticText laid = m_labelTexts.take(text);
    if (laid.text() != text) {
        laid = QStaticText(text);
        laid.setTextFormat(Qt::PlainText);
        laid.prepare(QTransform(), font());
    }
    return *m_labelTextsUsed.insert(text, laid);
}

QRegion LevelHistoryGraph::placeLabels()
{
    const qint64 left = leftColumn();
    const qint64 right = rightColumn();
    const auto widthOf = [&](const QString &text) { return int(labelText(text).size().width()) + 2; };
    std::vector<Label> labels;
    std::array<qint64, LabelRows> rowRight;
    rowRight.fill(LLONG_MIN);
    std::size_t i = 0;
    while (i < m_marks.size()) {
        const Mark &first = m_marks[i];
        // The label begins 2 pixels after its mark's column.
        const qint64 x = columnOf(first.time) + 2;
        if (x < left + 2 || x > right + 2) {
            ++i;
            continue;
        }
        // Marks of one kind that the label would cover make one label: the
        // first volume before, the last after, and how many (a loud passage
        // is lowered again and again within a second; the guard fights
        // another program 20 times a second).
        std::size_t end = i + 1;
        int count = first.count;
        QString text = markText(first.kind, first.before, first.after, count);
        int w = widthOf(text);
        for (bool grew = true; grew;) {
            grew = false;
            while (end < m_marks.size() && m_marks[end].kind == first.kind && columnOf(m_marks[end].time) + 2 <= x + w) {
                count += m_marks[end].count;
                ++end;
                grew = true;
            }
            if (grew) {
                text = markText(first.kind, first.before, m_marks[end - 1].after, count);
                w = widthOf(text);
            }
        }
        // Inside the plot: near its right edge the label goes to the left,
        // as far as it needs.
        const qint64 boxLeft = std::max(left, std::min(x, right + 1 - w));
        // The first row where the label clears the one before; none: left out.
        for (int row = 0; row < LabelRows; ++row) {
            if (boxLeft <= rowRight[std::size_t(row)])
                continue;
            labels.push_back({boxLeft, row, w, first.kind, labelText(text)});
            rowRight[std::size_t(row)] = boxLeft + w + 1;
            break;
        }
        i = end;
    }
    m_labelTexts.swap(m_labelTextsUsed);
    m_labelTextsUsed.clear();
    if (labels == m_labels)
        return QRegion();
    // What the old labels covered (where the plot has moved them) and what
    // the new ones cover.
    QRegion changed;
    for (const std::vector<Label> *set : {&m_labels, &labels}) {
        for (const Label &label : *set)
            changed += labelBox(label);
    }
    m_labels = std::move(labels);
    return changed;
}

QRect LevelHistoryGraph::labelBox(const Label &label) const
{
    const QRect plot = PlotRect();
    return QRect(plot.left() + int(label.left - leftColumn()), plot.top() + 1 + label.row * LabelRowPixels,
                 label.width, LabelRowPixels - 1);
}

void LevelHistoryGraph::paintMarks(QPainter &p, const QRegion &region) const
{
    for (const Label &label : m_labels) {
        const QRect box = labelBox(label);
        if (!region.intersects(box))
            continue;
        p.fillRect(box.intersected(PlotRect()), QColor(0, 0, 0, 200)); // a plot narrower than a label
        p.setPen(QColor(markColour(label.kind)));
        p.drawStaticText(box.left() + 1, box.center().y() + 1 - int(label.text.size().height()) / 2, label.text);
    }
}

QList<QPair<QRect, QString>> LevelHistoryGraph::LabelsShown() const
{
    QList<QPair<QRect, QString>> shown;
    for (const Label &label : m_labels)
        shown.append({labelBox(label), label.text.text()});
    return shown;
}

QString LevelHistoryGraph::ReadingAt(int x)
{
    if (m_image.isNull() || x < 0 || x >= m_image.width())
        return QString();
    const qint64 column = leftColumn() + x;
    summarise(column, column, nullptr);
    const Column c = m_columns[0];
    QStringList parts{timeText(columnStart(column), m_spanMinutes == 1)};
    if (c.before) {
        parts << LevelNoRecordName();
    } else {
        if (c.peakMax >= 0) {
            const QString range = c.peakMin == c.peakMax
                                      ? QString::number(c.peakMax)
                                      : historyText::Range().arg(c.peakMin).arg(c.peakMax);
            parts << historyText::ReadPeak() + QLatin1Char(' ') + range + QStringLiteral(" (") + dbfsText(c.peakMax) +
                         QLatin1Char(')');
        }
        if (c.off)
            parts << historyText::ReadOff();
        if (c.cutLow >= 0)
            parts << historyText::ReadCut() + QLatin1Char(' ') + QString::number(c.cutHigh);
    }
    // Marks within two pixels: they are hard to hit exactly. A crowd is cut short.
    int shown = 0;
    for (const Mark &m : m_marks) {
        if (columnOf(m.last) < column - 2 || columnOf(m.time) > column + 2)
            continue;
        if (++shown > MarksRead) {
            parts << QStringLiteral("…");
            break;
        }
        parts << LevelEventName(m.kind) + QLatin1Char(' ') + markText(m.kind, m.before, m.after, m.count) +
                     QLatin1Char(' ') + timeText(m.time, true);
    }
    return parts.join(QStringLiteral("  "));
}

} // namespace nuvask
