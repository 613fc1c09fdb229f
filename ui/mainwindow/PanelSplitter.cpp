// The bar that drags a strip panel's width.

#include "ui/mainwindow/PanelSplitter.h"

#include <QMouseEvent>
#include <algorithm>

namespace nuvask {

PanelSplitter::PanelSplitter(QWidget *parent) : QWidget(parent)
{
    setCursor(Qt::SplitHCursor);
    setFixedWidth(kWidth);
}

void PanelSplitter::setTarget(QWidget *panel, std::function<int()> maxWidth)
{
    m_panel = panel;
    m_maxWidth = std::move(maxWidth);
}

void PanelSplitter::mousePressEvent(QMouseEvent *event)
{
    if (!m_panel || event->button() != Qt::LeftButton)
        return;
    m_dragging = true;
    m_pressX = event->globalPosition().toPoint().x();
    m_startWidth = m_panel->width();
}

void PanelSplitter::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragging)
        return;
    const int maxWidth = m_maxWidth ? m_maxWidth() : m_startWidth;
    const int wanted = m_startWidth + event->globalPosition().toPoint().x() - m_pressX;
    const int width = std::clamp(wanted, kMinPanel, std::max(kMinPanel, maxWidth));
    if (width != m_panel->width()) {
        m_panel->resize(width, m_panel->height());
        if (onMoved)
            onMoved();
    }
}

void PanelSplitter::mouseReleaseEvent(QMouseEvent *)
{
    m_dragging = false;
}

} // namespace nuvask
