// The up/down arrow pair.

#include "ui/widgets/UpDown.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

namespace nuvask {

UpDown::UpDown(QWidget *parent) : QWidget(parent)
{
    m_repeat.setSingleShot(false);
    connect(&m_repeat, &QTimer::timeout, this, &UpDown::repeat);
}

void UpDown::SetMin(int value)
{
    m_min = value;
    if (m_max < m_min)
        m_max = m_min;
    SetPosition(m_position);
}

void UpDown::SetMax(int value)
{
    m_max = value;
    if (m_min > m_max)
        m_min = m_max;
    SetPosition(m_position);
}

void UpDown::SetIncrement(int value)
{
    m_increment = value;
}

void UpDown::SetPosition(int value)
{
    m_position = qBound(m_min, value, m_max);
}

void UpDown::Click(Button button)
{
    const qint64 step = button == Up ? m_increment : -qint64(m_increment);
    m_position = int(qBound(qint64(m_min), qint64(m_position) + step, qint64(m_max)));
    update();
    emit OnClick(button);
}

UpDown::Button UpDown::buttonAt(int y) const
{
    return y < height() / 2 ? Up : Down;
}

void UpDown::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_held = true;
    m_heldButton = buttonAt(event->position().toPoint().y());
    m_repeat.start(RepeatDelayMs);
    update();
    Click(m_heldButton);
}

void UpDown::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    m_held = false;
    m_repeat.stop();
    update();
}

void UpDown::repeat()
{
    if (!m_held) {
        m_repeat.stop();
        return;
    }
    m_repeat.setInterval(RepeatIntervalMs);
    Click(m_heldButton);
}

void UpDown::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const int half = height() / 2;
    const QRect halves[2] = {QRect(0, 0, width(), half), QRect(0, half, width(), height() - half)};
    for (int b = Up; b <= Down; ++b) {
        QStyleOptionButton option;
        option.initFrom(this);
        option.rect = halves[b];
        option.state |= (m_held && m_heldButton == b) ? QStyle::State_Sunken : QStyle::State_Raised;
        style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &option, &painter, this);
        QStyleOption arrow;
        arrow.initFrom(this);
        arrow.rect = halves[b].adjusted(1, 1, -1, -1);
        style()->drawPrimitive(b == Up ? QStyle::PE_IndicatorArrowUp : QStyle::PE_IndicatorArrowDown, &arrow,
                               &painter, this);
    }
}

} // namespace nuvask
