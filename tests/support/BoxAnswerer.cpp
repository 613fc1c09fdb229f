#include "support/BoxAnswerer.h"

#include "ui/MkBox.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace nuvask::test {

BoxAnswerer::BoxAnswerer()
{
    m_timer.setInterval(20);
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

} // namespace nuvask::test
