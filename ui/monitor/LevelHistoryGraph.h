#pragma once
// The level history drawn: time runs left to right and ends at the right
// edge (now, unless paused); each pixel column shows the lowest and highest
// buffer peak that fell in it on the 16-bit scale (0..32768, a dBFS scale
// beside it), the cut level as a white line, each automatic lowering, outside
// volume change and guard restore as a mark with the volume before and after,
// the times the monitor was off as grey hatching, and the time before the
// history knows anything as "no record".
//
// Cost: the plot is kept in an image whose columns are tied to the monotonic
// clock and used round (column n at x = n mod width), so time going on moves
// nothing in it; only the columns new records can reach are painted again.
// On the screen only what changed is painted: the plot and the times below
// it when time moved them, else the columns painted again and the labels
// that changed; the scales and the legend are drawn once. The marks' labels
// are merged and laid out when the marks change, not at every paint. A timer
// of its own brings it up to date once a second, and runs only while the
// graph is shown and not paused.

#include "core/monitor/LevelHistory.h"

#include <QHash>
#include <QImage>
#include <QList>
#include <QPair>
#include <QRegion>
#include <QStaticText>
#include <QTimer>
#include <QWidget>

#include <vector>

namespace nuvask {

class LevelHistoryGraph : public QWidget
{
    Q_OBJECT
public:
    // A repaint a second at every span. Each one costs the program (and the
    // X server, and the switches between the two) about half a millisecond
    // whatever it paints: once a column at the 1-minute span (120 ms) would
    // more than double what the program costs with the window closed.
    static constexpr int TickMs = 1000;
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

    // Brings the plot up to date and has what changed shown; returns the
    // columns painted.
    int Refresh();
    qint64 ColumnsPainted() const { return m_columnsPainted; }
    // The plot as last painted, oldest column left, without scales and labels.
    QImage PlotImage() const;
    // The marks' labels as placed: each box in widget pixels and its text.
    QList<QPair<QRect, QString>> LabelsShown() const;
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
    void changeEvent(QEvent *event) override;
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
        bool before = false; // before the history knows anything
        quint16 events = 0;  // bit per LevelEvent
    };
    // An event record in the image (a run of events: its first and last).
    struct Mark
    {
        qint64 time;
        qint64 last;
        LevelEvent kind;
        int before;
        int after;
        int count;
    };
    // Marks of one kind under one label, placed in the plot's own column
    // numbers (so a scroll moves it with them) and laid out once.
    struct Label
    {
        qint64 left; // plot column of the box's left edge
        int row;
        int width; // pixels
        LevelEvent kind;
        QStaticText text;
        bool operator==(const Label &other) const;
    };
    // The columns a run of events reaches, relative to a summary's first.
    struct RunColumns
    {
        qint64 from;
        qint64 to;
        LevelEvent kind;
    };
    // What a refresh changed, for the screen.
    struct Changes
    {
        int columns = 0;    // painted again
        bool whole = false; // the whole image
        QRegion region;     // widget pixels to paint again besides
    };

    qint64 columnOf(qint64 time) const;
    qint64 columnStart(qint64 column) const;
    qint64 rightColumn() const { return columnOf(m_paintedEnd); }
    qint64 leftColumn() const { return rightColumn() - m_image.width() + 1; }
    int plotY(int value) const;
    // Summarises columns [first, last] into m_columns[0..] and, with
    // `marks`, collects the marks that begin in them.
    void summarise(qint64 first, qint64 last, std::vector<Mark> *marks);
    void paintColumns(qint64 first, qint64 last);
    Changes bringUpToDate();
    void showChanges(const Changes &changes);
    // Merges and places the marks' labels; the region of those that changed.
    QRegion placeLabels();
    QRect labelBox(const Label &label) const;
    QRect mouseColumn(int x) const;
    void paintAll(QPainter &p, const QRegion &region, bool withMouse);
    void paintScales(QPainter &p) const;
    void paintTimes(QPainter &p);
    const QImage &timeLabel(qint64 wall, qint64 time);
    void paintLegend(QPainter &p) const;
    void paintMarks(QPainter &p, const QRegion &region) const;
    QString timeText(qint64 time, bool fine) const;
    const QStaticText &staticText(const QString &text) const;
    // A label's text laid out, kept while labels use it.
    const QStaticText &labelText(const QString &text);
    // Draws `text` with its anchor point at (x, y): left, right or centre;
    // top or middle.
    void drawText(QPainter &p, int x, int y, const QString &text, Qt::Alignment align) const;

    const LevelHistory &m_history;
    QTimer m_timer;
    int m_spanMinutes = 10;
    bool m_paused = false;
    qint64 m_pausedAt = 0;

    QImage m_image;              // the plot, column n at x = n mod width
    int m_columnCount = 1;       // its width, asked for every record
    bool m_valid = false;        // m_image shows the span ending at m_paintedEnd
    qint64 m_paintedEnd = 0;     // ViewEnd at the last paint
    qint64 m_paintedChanges = 0; // the history's Changes at the last paint
    qint64 m_columnsPainted = 0;
    LevelTimeAnchor m_anchor;
    std::vector<Column> m_columns;               // one per plot column, reused
    std::vector<RunColumns> m_runs;              // found by one summary, reused
    std::vector<Mark> m_marks;                   // in the image, oldest first
    std::vector<Label> m_labels;                 // over the image, left to right
    QHash<QString, QStaticText> m_labelTexts;    // what the labels' merging measured last time
    QHash<QString, QStaticText> m_labelTextsUsed;
    int m_mouseX = -1;                           // plot column under the mouse
    QImage m_frame;                              // background, legend and scales
    qint64 m_frameKey = 0;                       // the colours m_frame was drawn with
    QHash<qint64, QImage> m_timeLabels;          // by the tick's local time
    mutable QHash<QString, QStaticText> m_texts; // laid out once
};

} // namespace nuvask
