#pragma once
// A rectangle filled with one colour that reports mouse presses, moves and
// releases in its own coordinates (the volume bar and the meter column).

#include <QColor>
#include <QWidget>

namespace nuvask {

class ColourLabel : public QWidget {
    Q_OBJECT
public:
    explicit ColourLabel(const QColor &color, QWidget *parent = nullptr);

    QColor Color() const { return m_color; }
    void SetColor(const QColor &color);

signals:
    void OnMouseDown(Qt::MouseButton button, QPoint pos);
    void OnMouseMove(Qt::MouseButtons buttons, QPoint pos);
    void OnMouseUp(Qt::MouseButton button, QPoint pos);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QColor m_color;
};

} // namespace nuvask
