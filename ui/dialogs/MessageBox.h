#pragma once
// The message box component each window owns (as MKBoxDlg1). Every message
// and question of the program goes through one of its Show routines, which
// create a MessageBoxWindow for the call, run it modally and return its answer.
//
// Results: 1 ＯＫ, 6 はい, 7 いいえ, 2 closed through the title bar, the
// Default argument when the countdown ran out, 0 when all ten slots were busy
// (nothing shown). Callers act on a question only when the result is 6.

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <array>

namespace nuvask {

class MessageBoxWindow;

class MessageBox : public QObject {
    Q_OBJECT
public:
    static constexpr int kSlots = 10;

    explicit MessageBox(QObject *parent = nullptr);

    // Caption; empty means the application title.
    QString Title() const { return m_title; }
    void SetTitle(const QString &title) { m_title = title; }
    // Window the box is centred over; nullptr means the main window. A window
    // that is gone by the time of the call centres the box on the work area.
    QWidget *SourceHandle() const { return m_sourceHandle.data(); }
    void SetSourceHandle(QWidget *window);

    // Countdown for ShowOKTimer / ShowYesNoTimer: on, and its start in seconds.
    bool Timer() const { return m_timer; }
    void SetTimer(bool on) { m_timer = on; }
    int TimerCount() const { return m_timerCount; }
    void SetTimerCount(int seconds) { m_timerCount = seconds; }
    // Kept for the windows that store them; no Show routine reads them.
    bool ERTimer() const { return m_erTimer; }
    void SetERTimer(bool on) { m_erTimer = on; }
    int ERTimerCount() const { return m_erTimerCount; }
    void SetERTimerCount(int seconds) { m_erTimerCount = seconds; }
    // Countdown for ShowOKSKTimer.
    bool SKTimer() const { return m_skTimer; }
    void SetSKTimer(bool on) { m_skTimer = on; }
    int SKTimerCount() const { return m_skTimerCount; }
    void SetSKTimerCount(int seconds) { m_skTimerCount = seconds; }

    // Busy flag of slot 0..9 (B0..B9): true while a box is open in it.
    bool B(int slot) const;
    void SetB(int slot, bool busy);
    // The box open in a slot, or nullptr.
    MessageBoxWindow *Box(int slot) const;

    // OK box without countdown.
    int ShowOK(const QString &text);
    // kind 1: Yes/No box, any other: OK box; never a countdown.
    int ShowBox(int kind, const QString &text);
    // OK box with the TimerCount countdown when Timer is on.
    int ShowOKTimer(const QString &text, int defaultAnswer);
    // Yes/No box with the TimerCount countdown when Timer is on.
    int ShowYesNoTimer(const QString &text, int defaultAnswer);
    int ShowTimer(int kind, const QString &text, int defaultAnswer);
    // OK box with the SKTimerCount countdown when SKTimer is on.
    int ShowOKSKTimer(const QString &text, int defaultAnswer);
    // OK box that returns at once and stays until the user closes it: for
    // news that must not stop what the program is doing. It goes with
    // `owner` (nullptr: it stands alone); it takes no slot.
    MessageBoxWindow *ShowOKModeless(const QString &text, QWidget *owner);

private:
    struct Slot {
        bool busy = false;
        bool countdown = false;
        QString startText; // countdown start, decimal, at most 10 characters
        QPointer<MessageBoxWindow> box;
    };

    int Run(int kind, const QString &text, bool countdown, int startCount, int defaultAnswer);
    // A box laid out for `text`, placed, captioned and with the main window's hints.
    MessageBoxWindow *makeBox(int kind, const QString &text, const QString &startText, bool countdown, int defaultAnswer,
                    QWidget *owner);

    QString m_title;
    QPointer<QWidget> m_sourceHandle;
    bool m_sourceGiven = false;
    bool m_timer = true;
    int m_timerCount = 10;   // seconds
    bool m_erTimer = true;
    int m_erTimerCount = 10; // seconds
    bool m_skTimer = true;
    int m_skTimerCount = 5;  // seconds
    std::array<Slot, kSlots> m_slots{};
};

} // namespace nuvask
