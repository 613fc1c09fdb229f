// The level history graph's scales and labels, drawn over the column image:
// numbers and dBFS beside it, legend above, times below, the marks' volumes,
// and the reading under the mouse. Texts are laid out once and kept.

#include "ui/monitor/LevelHistoryGraph.h"

#include "core/base/TextHelpers.h"
#include "ui/monitor/LevelHistoryStyle.h"

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
    paintAll(p, false);
    return picture;
}

void LevelHistoryGraph::paintEvent(QPaintEvent *)
{
    if (!m_valid || m_image.size() != PlotRect().size())
        Refresh();
    QPainter p(this);
    paintAll(p, true);
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

void LevelHistoryGraph::paintAll(QPainter &p, bool withMouse)
{
    const QRect plot = PlotRect();
    if (m_image.isNull() || m_image.size() != plot.size()) {
        p.fillRect(rect(), palette().color(QPalette::Window));
        return;
    }
    // The parts that stay (background, legend, scales) are drawn once per
    // size, font and colours.
    const qint64 frameKey = palette().cacheKey() ^ (qint64(qHash(font().key())) << 20);
    if (m_frame.size() != size() || m_frameKey != frameKey) {
        m_texts.clear();
        m_frame = QImage(size(), QImage::Format_RGB32);
        m_frameKey = frameKey;
        QPainter f(&m_frame);
        f.fillRect(m_frame.rect(), palette().color(QPalette::Window));
        f.setFont(font());
        paintScales(f);
        paintLegend(f);
    }
    // The margins from the frame, the plot from its image: each pixel once.
    for (const QRect &margin : {QRect(0, 0, width(), plot.top()), QRect(0, plot.bottom() + 1, width(), height()),
                                QRect(0, plot.top(), plot.left(), plot.height()),
                                QRect(plot.right() + 1, plot.top(), width(), plot.height())})
        p.drawImage(margin.topLeft(), m_frame, margin);
    p.drawImage(plot.topLeft(), m_image);
    p.setFont(font());
    paintTimes(p);
    paintMarks(p);
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

void LevelHistoryGraph::paintTimes(QPainter &p) const
{
    const QRect plot = PlotRect();
    const qint64 stepMs = m_spanMinutes == 1 ? 10'000 : m_spanMinutes == 10 ? 60'000 : 600'000;
    const qint64 left = rightColumn() - m_image.width() + 1;
    const qint64 start = columnStart(left);
    // Ticks on whole wall-clock steps.
    const qint64 wallStart = m_anchor.localMs(start);
    const qint64 firstTick = ceilDiv(wallStart, stepMs) * stepMs;
    p.setPen(palette().color(QPalette::WindowText));
    int lastRight = INT_MIN;
    for (qint64 wall = firstTick;; wall += stepMs) {
        const qint64 time = start + (wall - wallStart);
        const qint64 column = columnOf(time) - left;
        if (column >= m_image.width())
            break;
        const int x = plot.left() + int(column);
        p.drawLine(x, plot.bottom() + 1, x, plot.bottom() + 3);
        const QString text = m_anchor.clockText(time, m_spanMinutes == 1 ? LevelTimeAnchor::Clock::Seconds
                                                                         : LevelTimeAnchor::Clock::Minutes);
        const int half = int(staticText(text).size().width()) / 2 + 2;
        if (x - half > lastRight && x + half < width()) {
            drawText(p, x, plot.bottom() + 3, text, Qt::AlignHCenter);
            lastRight = x + half;
        }
    }
}

void LevelHistoryGraph::paintLegend(QPainter &p) const
{
    struct Item
    {
        QRgb colour;
        const QString &text;
    };
    const Item items[] = {{PeakGreen, historyText::LegendPeak()},
                          {CutLine, historyText::LegendCut()},
                          {markColour(LevelEvent::AutoLower), historyText::LegendLower()},
                          {markColour(LevelEvent::OutsideChange), historyText::LegendOutside()},
                          {markColour(LevelEvent::GuardRestore), historyText::LegendGuard()},
                          {OffHatch, historyText::LegendOff()}};
    int x = LeftMargin;
    const int boxTop = (TopMargin - 8) / 2;
    p.setPen(palette().color(QPalette::WindowText));
    for (const Item &item : items) {
        p.fillRect(QRect(x, boxTop, 8, 8), QColor(item.colour));
        drawText(p, x + 11, TopMargin / 2, item.text, Qt::AlignLeft | Qt::AlignVCenter);
        x += 11 + int(staticText(item.text).size().width()) + 12;
    }
}

void LevelHistoryGraph::paintMarks(QPainter &p) const
{
    const QRect plot = PlotRect();
    const qint64 left = rightColumn() - m_image.width() + 1;
    const auto xOf = [&](const Mark &m) { return plot.left() + int(columnOf(m.time) - left) + 2; };
    const auto widthOf = [&](const QString &text) { return int(staticText(text).size().width()) + 2; };
    std::array<int, LabelRows> rowRight;
    rowRight.fill(INT_MIN);
    std::size_t i = 0;
    while (i < m_marks.size()) {
        const Mark &first = m_marks[i];
        const int x = xOf(first);
        if (x < plot.left() + 2 || x > plot.right() + 2) {
            ++i;
            continue;
        }
        // Marks of one kind that the label would cover make one label: the
        // first volume before, the last after, and how many (a loud passage
        // is lowered again and again within a second).
        std::size_t end = i + 1;
        QString text = markText(first.kind, first.before, first.after);
        int w = widthOf(text);
        while (end < m_marks.size() && m_marks[end].kind == first.kind && xOf(m_marks[end]) <= x + w) {
            ++end;
            text = markText(first.kind, first.before, m_marks[end - 1].after) + QStringLiteral(" (") +
                   QString::number(end - i) + historyText::Times() + QLatin1Char(')');
            w = widthOf(text);
        }
        // The first row where the label clears the one before; none: left out.
        for (int row = 0; row < LabelRows; ++row) {
            if (x <= rowRight[std::size_t(row)])
                continue;
            const QRect box(x, plot.top() + 1 + row * LabelRowPixels, w, LabelRowPixels - 1);
            p.fillRect(box, QColor(0, 0, 0, 200));
            p.setPen(QColor(markColour(first.kind)));
            drawText(p, box.left() + 1, box.center().y() + 1, text, Qt::AlignLeft | Qt::AlignVCenter);
            rowRight[std::size_t(row)] = box.right() + 2;
            break;
        }
        i = end;
    }
}

QString LevelHistoryGraph::ReadingAt(int x)
{
    if (m_image.isNull() || x < 0 || x >= m_image.width())
        return QString();
    const qint64 left = rightColumn() - m_image.width() + 1;
    const qint64 column = left + x;
    summarise(column, column, nullptr);
    const Column c = m_columns[0];
    QStringList parts{timeText(columnStart(column), m_spanMinutes == 1)};
    if (c.before) {
        parts << historyText::ReadNothing();
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
        if (std::abs(columnOf(m.time) - column) > 2)
            continue;
        if (++shown > MarksRead) {
            parts << QStringLiteral("…");
            break;
        }
        parts << LevelEventName(m.kind) + QLatin1Char(' ') + markText(m.kind, m.before, m.after) + QLatin1Char(' ') +
                     timeText(m.time, true);
    }
    return parts.join(QStringLiteral("  "));
}

} // namespace nuvask
