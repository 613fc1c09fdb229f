// How the folder browser draws its list entries.

#include "ui/folders/FolderItemDelegates.h"

#include <QPainter>
#include <QPixmap>

namespace nuvask {

void BoldSelectionDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (option->state & QStyle::State_Selected)
        option->font.setBold(true);
}

QSize BoldSelectionDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem bold = option;
    bold.font.setBold(true);
    return QStyledItemDelegate::sizeHint(bold, index);
}

PictureItemDelegate::PictureItemDelegate(int height, int left, int top, int indentStep, bool boldSelected,
                                         QObject *parent)
    : BoldSelectionDelegate(parent), m_height(height), m_left(left), m_top(top), m_indentStep(indentStep),
      m_boldSelected(boldSelected)
{
}

void PictureItemDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                const QModelIndex &index) const
{
    const bool selected = option.state & QStyle::State_Selected;
    painter->save();
    painter->fillRect(option.rect, selected ? option.palette.highlight() : option.palette.base());
    const QPixmap picture = index.data(folder_browser_role::kPicture).value<QPixmap>();
    const int indent = index.data(folder_browser_role::kIndent).toInt();
    const int x = option.rect.left() + m_left + indent * m_indentStep;
    painter->drawPixmap(x, option.rect.top() + m_top, picture);
    QFont font = option.font;
    font.setBold(m_boldSelected && selected);
    painter->setFont(font);
    painter->setPen(selected ? option.palette.highlightedText().color() : option.palette.text().color());
    painter->drawText(option.rect.adjusted(TextLeft(index), 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                      index.data(Qt::DisplayRole).toString());
    painter->restore();
}

int PictureItemDelegate::TextLeft(const QModelIndex &index) const
{
    const QPixmap picture = index.data(folder_browser_role::kPicture).value<QPixmap>();
    return m_left + index.data(folder_browser_role::kIndent).toInt() * m_indentStep + picture.width() + 4;
}

QSize PictureItemDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QFont font = option.font;
    font.setBold(m_boldSelected);
    const int text = QFontMetrics(font).horizontalAdvance(index.data(Qt::DisplayRole).toString());
    return {TextLeft(index) + text + 2, m_height};
}

} // namespace nuvask
