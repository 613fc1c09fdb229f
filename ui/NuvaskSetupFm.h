#pragma once
// The setup and uninstall window. Its class name is what a start looks for
// before opening a second one.

#include <QWidget>

namespace nuvask {

class TNUVASK_SETUPFM : public QWidget
{
    Q_OBJECT
public:
    explicit TNUVASK_SETUPFM(int startMode, QWidget *parent = nullptr);

    int startMode() const { return m_startMode; }

private:
    int m_startMode;
};

} // namespace nuvask
