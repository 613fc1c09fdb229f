#pragma once
// Answers every message box that opens with OK and remembers its text.

#include <QPointer>
#include <QStringList>
#include <QTimer>

namespace nuvask {
class TMKBox;
}

namespace nuvask::test {

class BoxAnswerer
{
public:
    BoxAnswerer();
    QStringList texts;

private:
    QTimer m_timer;
    QPointer<TMKBox> m_last;
};

} // namespace nuvask::test
