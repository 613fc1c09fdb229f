#pragma once
// The level history drawn: time runs left to right and ends at the right
// edge (now, unless paused); each pixel column shows the lowest and highest
// buffer peak that fell in it on the 16-bit scale (0..32768, a dBFS scale
// beside it), the cut level as a white line, each automatic lowering, outside
// volume change and guard restore as a mark with the volume before and after,
// and the times the monitor was off as grey hatching.
//
// Cost: the plot is kept in an image. Columns are tied to the monotonic
// clock, so as time goes the image moves left by whole columns and only the
// columns new records can reach are painted again. A timer of its own brings
// it up to date at most 10 times a second (once a column at longer spans),
// and runs only while the graph is shown and not paused.

#include "core/monitor/LevelHistory.h"

#include <QHash>
#include <QImage>
#include <QStaticText>
#include <QTimer>
#include <QWidget>

#include <vector>

namespace nuvask {

class LevelHistoryGraph : public QWidget
{
    Q_OBJECT
public:
    static constexpr int MinTickMs = 100;  // at most 10 repaints a second
    static constexpr int MaxTickMs = 1000; // at least once a second while shown
    // A buffer's sound lies before its record: this long at most (ms).
    static constexpr qint64 MaxBufferSpanMs = LevelHistory::LongestBufferMs + 50;
    // Pixels around the plot: numbers left, dBFS right, legend above, times below.
    static constexpr int LeftMargin = 44;
    static constexpr int RightMargin = 46;
    static constexpr int TopMargin = 18;
    static constexpr int BottomMargin = 16;

    explicit LevelHistoryGraph(const LevelHistory &history, QWidget *parent = nullptr);

    // The span shown: 1, 10 or 60 minutes (anything else counts as 10).
    void SetSpanMinutes(int minutes);
    int SpanMinutes() const { return m_spanMinutes; }
    qint64 SpanMs() const { return qint64(m_spanMinutes) * 60 * 1000; }
    static int ValidSpan(int minutes);

    // Paused, the graph stays at the moment it was paused and the timer rests.
    void SetPaused(bool paused);
    bool Paused() const { return m_paused; }

    // The shown span on the history's clock (ms): ends now while running.
    qint64 ViewEnd() const;
    qint64 ViewStart() const { return ViewEnd() - SpanMs(); }
    QRect PlotRect() const;

    // Brings the plot up to date; returns the columns painted.
    int Refresh();
    qint64 ColumnsPainted() const { return m_columnsPainted; }
    // The plot as last painted, without scales and labels.
    const QImage &PlotImage() const { return m_image; }
    const QTimer &RepaintTimer() const { return m_timer; }

    // The whole graph as a picture, as it shows now without the mouse's line.
    QImage Render();
    // What the plot holds at plot pixel column x: time and values, or empty.
    QString ReadingAt(int x);

    // The timer runs while the graph can be seen and is not paused; the
    // window calls this when it is minimised or comes back.
    void UpdateTimer();

signals:
    // The reading under the mouse (empty when it leaves).
    void readingChanged(const QString &text);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    // One column's summary, as the records give it.
    struct Column
    {
        int peakMin = 0;
        int peakMax = -1; // -1: no buffer reached this column
        int cutLow = -1;  // the cut level's range in the column; -1: unknown
        int cutHigh = -1;
        bool off = false;    // the monitor was off at some time in it
        bool before = false; // before the history began
        quint8 events = 0;   // bit per LevelEvent
    };
    // A mark's label, drawn over the image.
    struct Mark
    {
        qint64 time;
        LevelEvent kind;
        int before;
        int after;
    };

    qint64 columnOf(qint64 time) const;
    qint64 columnStart(qint64 column) const;
    qint64 rightColumn() const { return columnOf(m_paintedEnd); }
    int plotY(int value) const;
    // Summarises columns [first, last] into m_columns[0..] and, with
    // `marks`, collects the marks found in them.
    void summarise(qint64 first, qint64 last, std::vector<Mark> *marks);
    void paintColumns(qint64 first, qint64 last);
    void fullRepaint(qint64 end);
    void scrollImage(int columns);
    void paintAll(QPainter &p, bool withMouse);
    void paintScales(QPainter &p) const;
    void paintTimes(QPainter &p) const;
    void paintLegend(QPainter &p) const;
    void paintMarks(QPainter &p) const;
    QString timeText(qint64 time, bool fine) const;
    const QStaticText &staticText(const QString &text) const;
    // Draws `text` with its anchor point at (x, y): left, right or centre;
    // top or middle.
    void drawText(QPainter &p, int x, int y, const QString &text, Qt::Alignment align) const;

    const LevelHistory &m_history;
    QTimer m_timer;
    int m_spanMinutes = 10;
    bool m_paused = false;
    qint64 m_pausedAt = 0;

    QImage m_image;          // the plot, column for column
    bool m_valid = false;    // m_image shows the span ending at m_paintedEnd
    qint64 m_paintedEnd = 0; // ViewEnd at the last paint
    qint64 m_paintedSeq = 0; // the history's EndSeq at the last paint
    qint64 m_columnsPainted = 0;
    LevelTimeAnchor m_anchor;
    std::vector<Column> m_columns;               // one per plot column, reused
    std::vector<Mark> m_marks;                   // in the image, oldest first
    int m_mouseX = -1;                           // plot column under the mouse
    QImage m_frame;                              // background, legend and scales
    qint64 m_frameKey = 0;                       // the colours and font m_frame was drawn with
    mutable QHash<QString, QStaticText> m_texts; // laid out once
};

} // namespace nuvask
