#pragma once
// The folder browser's tree. Its one column is as wide as its widest name,
// so a deep or long name gets a horizontal scroll bar instead of an
// ellipsis; and whenever it brings a node into view (a click, the keys, the
// browser opening at a folder), it scrolls sideways too, so that the node's
// name is seen whole, or from its start when the view is narrower than it.

#include <QTreeWidget>

namespace nuvask {

class FolderTree : public QTreeWidget
{
    Q_OBJECT
public:
    explicit FolderTree(QWidget *parent = nullptr);

    // The column's width follows the names now in the tree.
    void FitColumn();

    // Also scrolls sideways (QTreeWidget::scrollToItem does not come here).
    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;

protected:
    void resizeEvent(QResizeEvent *event) override;
};

} // namespace nuvask
