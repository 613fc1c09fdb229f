#pragma once
// Answers the message and input boxes that open inside a call under test and
// keeps what they said. It polls for the active modal box, so it also works
// for boxes nested in a modal form.

#include "ui/widgets/ColourButton.h"
#include "ui/dialogs/MessageBoxWindow.h"
#include "ui/dialogs/InputBoxWindow.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <functional>

namespace nuvask::test {

class ModalDriver : public QObject
{
public:
    enum class Question { Yes, No, TimeOut };

    ModalDriver()
    {
        m_timer.setInterval(5); // milliseconds
        connect(&m_timer, &QTimer::timeout, this, &ModalDriver::Poll);
        m_timer.start();
    }

    // How Yes/No questions are answered (TimeOut lets the countdown decide).
    void SetQuestion(Question answer) { m_question = answer; }
    // What to do with the next input box(es).
    void SetInput(std::function<void(InputBoxWindow *)> step) { m_input = std::move(step); }

    // Every message shown so far, line breaks as "\n".
    const QStringList &Messages() const { return m_messages; }
    bool Said(const QString &part) const
    {
        for (const QString &m : m_messages)
            if (m.contains(part))
                return true;
        return false;
    }
    QString Prompt() const { return m_prompt; }
    void Clear() { m_messages.clear(); }

private:
    static void Click(QWidget *box, const char *name)
    {
        if (auto *b = box->findChild<ColourButton *>(QString::fromLatin1(name)); b && b->isVisible())
            QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(20, 10));
    }

    void Poll()
    {
        QWidget *modal = QApplication::activeModalWidget();
        // A new box can take the address of one answered before: mark the
        // box itself.
        if (!modal || modal->property(kAnswered).toBool())
            return;
        modal->setProperty(kAnswered, true);
        if (auto *box = qobject_cast<MessageBoxWindow *>(modal)) {
            QString text = box->findChild<QPlainTextEdit *>(QStringLiteral("MemoMsg"))->toPlainText();
            text.remove(u'\r');
            m_messages << text;
            if (box->BoxKind() == MessageBoxWindow::OkBox)
                Click(box, "Btn_OK");
            else if (m_question != Question::TimeOut)
                Click(box, m_question == Question::Yes ? "Btn_Yes" : "Btn_No");
        } else if (auto *input = qobject_cast<InputBoxWindow *>(modal); input && m_input) {
            m_prompt = input->findChild<QLabel *>(QStringLiteral("Msg"))->text();
            m_input(input);
        }
    }

    QTimer m_timer;
    Question m_question = Question::Yes;
    std::function<void(InputBoxWindow *)> m_input;
    QStringList m_messages;
    QString m_prompt;
    static constexpr const char *kAnswered = "answeredByModalDriver";
};

} // namespace nuvask::test
