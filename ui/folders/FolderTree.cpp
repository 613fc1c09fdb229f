#include "ui/folders/FolderTree.h"

#include <QHeaderView>
#include <QScrollBar>

#include <algorithm>

namespace nuvask {

FolderTree::FolderTree(QWidget *parent) : QTreeWidget(parent)
{
    header()->setStretchLastSection(false);
    setTextElideMode(Qt::ElideNone);
    setHorizontalScrollMode(ScrollPerPixel);
}

void FolderTree::FitColumn()
{
    resizeColumnToContents(0);
    updateGeometries(); // the scroll range at once, not on the next pass
}

void FolderTree::scrollTo(const QModelIndex &index, ScrollHint hint)
{
    QTreeWidget::scrollTo(index, hint);
    if (!index.isValid())
        return;
    // The cell reaches to the end of the column; the name is as wide as the
    // delegate draws it (bold when selected).
    QRect name = visualRect(index);
    name.setWidth(sizeHintForIndex(index).width());
    const int width = viewport()->width(); // pixels
    int shift = std::max(0, name.right() + 1 - width);
    shift = std::min(shift, name.left()); // its start stays in view
    if (shift != 0)
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + shift);
}

void FolderTree::resizeEvent(QResizeEvent *event)
{
    QTreeWidget::resizeEvent(event);
    // Opened, resized, or the splitter moved: the selected name in view again.
    if (currentIndex().isValid())
        scrollTo(currentIndex());
}

} // namespace nuvask
