#pragma once
// The main window. Its class name is what a second start looks for.

#include <QMainWindow>

namespace nuvask {

class TKELDO_NUVASK : public QMainWindow
{
    Q_OBJECT
public:
    explicit TKELDO_NUVASK(QWidget *parent = nullptr);

    // Handler of WM_SECOND_INSTANCE: the forwarded text has no use beyond
    // bringing the window back.
    void WM_SECOND_INSTANCE(const QString &text);
    void RestoreMainWindow();

    QString lastHandOverText() const { return m_lastHandOverText; }

private:
    QString m_lastHandOverText;
};

} // namespace nuvask
