#pragma once
// Answers every message box that opens with OK and remembers its text (line
// breaks as LF).

#include "ui/MkBox.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPointer>
#include <QStringList>
#include <QTextEdit>
#include <QTimer>

namespace nuvask::test {

class BoxAnswerer
{
public:
    BoxAnswerer()
    {
        m_timer.setInterval(20); // milliseconds
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            auto *box = qobject_cast<TMKBox *>(QApplication::activeModalWidget());
            if (!box || box == m_last)
                return;
            m_last = box;
            QString text;
            if (auto *memo = box->findChild<QPlainTextEdit *>("MemoMsg"))
                text = memo->toPlainText();
            else if (auto *rich = box->findChild<QTextEdit *>("MemoMsg"))
                text = rich->toPlainText();
            texts << text.replace("\r\n", "\n");
            box->done(1);
        });
        m_timer.start();
    }
    QStringList texts;

private:
    QTimer m_timer;
    QPointer<TMKBox> m_last;
};

} // namespace nuvask::test
