// A coloured rectangle that reports mouse activity.

#include "ui/widgets/ColourLabel.h"

#include <QMouseEvent>
#include <QPainter>

namespace nuvask {

ColourLabel::ColourLabel(const QColor &color, QWidget *parent) : QWidget(parent), m_color(color)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ColourLabel::SetColor(const QColor &color)
{
    m_color = color;
    update();
}

void ColourLabel::paintEvent(QPaintEvent *)
{
    QPainter(this).fillRect(rect(), m_color);
}

void ColourLabel::mousePressEvent(QMouseEvent *event)
{
    emit OnMouseDown(event->button(), event->position().toPoint());
}

void ColourLabel::mouseMoveEvent(QMouseEvent *event)
{
    emit OnMouseMove(event->buttons(), event->position().toPoint());
}

void ColourLabel::mouseReleaseEvent(QMouseEvent *event)
{
    emit OnMouseUp(event->button(), event->position().toPoint());
}

} // namespace nuvask
