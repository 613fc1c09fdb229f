#pragma once
// Answers the program's modal windows from a script while a test waits in a
// modal call: each message box that opens is read and answered with the next
// scripted result; an about box is handed to a step of the test.

#include "ui/help/AboutBoxWindow.h"
#include "ui/dialogs/MessageBoxWindow.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextEdit>
#include <QTimer>

#include <deque>
#include <functional>

namespace nuvask::test {

// The text a message box shows, line ends as LF.
inline QString BoxText(const MessageBoxWindow *box)
{
    QString text;
    if (auto *memo = box->findChild<QPlainTextEdit *>("MemoMsg"))
        text = memo->toPlainText();
    else if (auto *rich = box->findChild<QTextEdit *>("MemoMsg"))
        text = rich->toPlainText();
    return text.replace("\r\n", "\n");
}

class ModalScript
{
public:
    // The next message box is answered with `result`; -1 leaves it alone (so
    // its countdown runs out).
    std::deque<int> answers;
    // Called once for every about box that opens.
    std::function<void(AboutBoxWindow *)> onAbout;
    QStringList texts; // every message box text seen, line ends as LF
    QList<QColor> backgrounds; // every message box's window colour, as shown

    ModalScript()
    {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start();
    }

private:
    void poll()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *box = qobject_cast<MessageBoxWindow *>(modal)) {
            if (box == m_lastBox)
                return;
            m_lastBox = box;
            texts << BoxText(box);
            backgrounds << box->palette().color(QPalette::Window);
            const int answer = answers.empty() ? 1 : answers.front();
            if (!answers.empty())
                answers.pop_front();
            if (answer >= 0)
                box->done(answer);
        } else if (auto *about = qobject_cast<AboutBoxWindow *>(modal)) {
            if (about == m_lastAbout || !onAbout)
                return;
            m_lastAbout = about;
            // Run the step outside this timer tick: it may open modal boxes.
            QTimer::singleShot(0, about, [this, about] { onAbout(about); });
        }
    }

    QTimer m_timer;
    QPointer<MessageBoxWindow> m_lastBox;
    QPointer<AboutBoxWindow> m_lastAbout;
};

} // namespace nuvask::test
