#pragma once
// An up/down arrow pair: a position between Min and Max that each click on an
// arrow moves by Increment, stopping at the ends (it never wraps). Holding an
// arrow down repeats the click. The position changes first; then OnClick tells
// which arrow was clicked. Setting the position from code sends nothing.

#include <QTimer>
#include <QWidget>

namespace nuvask {

class UpDown : public QWidget {
    Q_OBJECT
public:
    enum Button { Up, Down };
    Q_ENUM(Button)

    explicit UpDown(QWidget *parent = nullptr);

    int Min() const { return m_min; }
    void SetMin(int value);
    int Max() const { return m_max; }
    void SetMax(int value);
    int Increment() const { return m_increment; }
    void SetIncrement(int value);
    int Position() const { return m_position; }
    void SetPosition(int value);

    // Moves the position by one increment towards `button` and reports the click.
    void Click(Button button);

    static constexpr int RepeatDelayMs = 400;
    static constexpr int RepeatIntervalMs = 100;

signals:
    void OnClick(nuvask::UpDown::Button button);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    Button buttonAt(int y) const;
    void repeat();

    int m_min = 0;
    int m_max = 100;
    int m_increment = 1;
    int m_position = 0;
    bool m_held = false;
    Button m_heldButton = Up;
    QTimer m_repeat;
};

} // namespace nuvask
