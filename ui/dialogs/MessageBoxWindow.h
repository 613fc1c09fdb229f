#pragma once
// The message box form: icon, read-only text area, "ＯＫ" or "はい"/"いいえ",
// and an optional countdown that closes the box by itself. MessageBox creates
// one for a single call, lays it out from the text, places and runs it.

#include <QDialog>
#include <QImage>
#include <QString>

class QLabel;
class QPlainTextEdit;
class QTimer;

namespace nuvask {

class ColourButton;

// Modal results of the box.
namespace mkresult {
inline constexpr int kNone = 0;     // nothing shown (all slots busy)
inline constexpr int kOk = 1;
inline constexpr int kClosed = 2;   // closed through the title bar
inline constexpr int kYes = 6;
inline constexpr int kNo = 7;
inline constexpr int kTimedOut = 11; // inside the box only; callers get their default
} // namespace mkresult

class MessageBoxWindow : public QDialog {
    Q_OBJECT
public:
    enum Kind { OkBox = 0, YesNoBox = 1 };

    // The layout works in outer window sizes as the box was designed: a dialog
    // frame of 3 pixels on each side and a 19-pixel caption. The Qt window is
    // the client area; the window manager adds its own frame around it.
    static constexpr int kFrameWidth = 6;   // pixels, outer width − client width
    static constexpr int kFrameHeight = 25; // pixels, outer height − client height

    // Countdown tick and icon redraw delay, in milliseconds. One place for
    // tests to shorten the second-long tick.
    static int TickIntervalMs();
    static void SetTickIntervalMs(int ms);
    static int PaintDelayMs();

    explicit MessageBoxWindow(Kind kind, QWidget *parent = nullptr);

    // Lays the box out for `text` (LF between lines). `startText` is the
    // countdown start in seconds as text; `countdown` shows the countdown row;
    // `defaultAnswer` is the result on time-out, marked by the bar. The box is
    // at least as wide as its title, which is set before.
    void Prepare(const QString &text, const QString &startText, bool countdown, int defaultAnswer);
    void SetHintsOn(bool on);
    // Starts or stops the countdown tick.
    void SetCountdownRunning(bool on);

    Kind BoxKind() const { return m_kind; }
    // Outer size as the layout computed it (client + the designed frame).
    QSize OuterSize() const;
    int RemainingSeconds() const { return m_remaining; }
    bool CountdownRunning() const;

    // The text measured in the box font: widest line and lines x line height
    // (an empty text measures as one space).
    static QSize MeasureText(const QFont &font, const QString &text);
    // The text as the text area holds it: every line break a CR LF.
    static QString MemoText(const QString &text);

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void Timer1Timer();
    void Timer_PaintTimer();
    void Btn_TM_STOPClick();
    void Btn_TM_OPENClick();
    void ApplyColours();
    void DrawIcon();
    void SetCountdownLabel(const QString &text);
    ColourButton *MakeButton(const char *name, const QString &caption, int bevelWidth);

    Kind m_kind;
    int m_width = 0;  // outer, pixels
    int m_height = 0; // outer, pixels

    QLabel *m_msg;
    QLabel *m_imageBox;
    QLabel *m_imageMK;
    QLabel *m_imageYN;
    QPlainTextEdit *m_memoMsg;
    ColourButton *m_btnOK;
    ColourButton *m_btnYes;
    ColourButton *m_btnNo;
    ColourButton *m_btnTmOpen;
    ColourButton *m_btnTmStop;
    QLabel *m_labelTM;
    QLabel *m_tmCountS;
    QLabel *m_labelSelect;
    QTimer *m_timer1;
    QTimer *m_timerPaint;

    int m_remaining = 0; // seconds
    bool m_countRead = false;
    bool m_ticking = false;
    QImage m_icon;       // the picture in use (information or question)
    QRgb m_iconBackground = 0;
    bool m_iconDrawn = false;
    bool m_hintsOn = true;
};

} // namespace nuvask
