// A coloured rectangle that reports mouse activity.

#include "ui/widgets/ColorLabel.h"

#include <QMouseEvent>
#include <QPainter>

namespace nuvask {

ColorLabel::ColorLabel(const QColor &color, QWidget *parent) : QWidget(parent), m_color(color)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ColorLabel::SetColor(const QColor &color)
{
    m_color = color;
    update();
}

void ColorLabel::paintEvent(QPaintEvent *)
{
    QPainter(this).fillRect(rect(), m_color);
}

void ColorLabel::mousePressEvent(QMouseEvent *event)
{
    emit OnMouseDown(event->button(), event->position().toPoint());
}

void ColorLabel::mouseMoveEvent(QMouseEvent *event)
{
    emit OnMouseMove(event->buttons(), event->position().toPoint());
}

void ColorLabel::mouseReleaseEvent(QMouseEvent *event)
{
    emit OnMouseUp(event->button(), event->position().toPoint());
}

} // namespace nuvask
