// A drop-down list that elides its current text to the part that shows.

#include "ui/widgets/ElidingComboBox.h"

#include <QEvent>
#include <QStyleOptionComboBox>
#include <QStylePainter>

namespace nuvask {

ElidingComboBox::ElidingComboBox(QWidget *parent) : QComboBox(parent)
{
}

int ElidingComboBox::ShownFieldWidth() const
{
    QStyleOptionComboBox option;
    initStyleOption(&option);
    QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    // Cut by every widget the list lies in (a panel narrower than the list).
    for (const QWidget *p = parentWidget(); p; p = p->isWindow() ? nullptr : p->parentWidget())
        field &= QRect(mapFrom(p, QPoint(0, 0)), p->size());
    return std::max(0, field.width() - 2); // the label keeps a pixel each side
}

QString ElidingComboBox::ShownText() const
{
    return fontMetrics().elidedText(currentText(), Qt::ElideRight, ShownFieldWidth());
}

QString ElidingComboBox::Hint() const
{
    if (!m_hintTaken) {
        m_hint = toolTip();
        m_hintTaken = true;
    }
    if (ShownText() == currentText())
        return m_hint;
    return m_hint.isEmpty() ? currentText() : currentText() + QLatin1Char('\n') + m_hint;
}

bool ElidingComboBox::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip)
        setToolTip(Hint());
    return QComboBox::event(event);
}

void ElidingComboBox::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    option.currentText = ShownText();
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

} // namespace nuvask
