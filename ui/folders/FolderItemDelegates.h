#pragma once
// How the folder browser draws its list entries: the selected entry in bold
// (file list, tree), folder entries with their picture at their indent, and
// drive entries with their type picture.

#include <QStyledItemDelegate>

namespace nuvask {

// Item data roles the folder browser's lists carry.
namespace folder_browser_role {
inline constexpr int kIndent = Qt::UserRole + 1;  // list mode: indent level
inline constexpr int kPicture = Qt::UserRole + 2; // QPixmap drawn before the text
inline constexpr int kPath = Qt::UserRole + 3;    // the folder or mount root behind the entry
} // namespace folder_browser_role

class BoldSelectionDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // Room for the text in bold, so that selecting an entry never cuts it.
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;
};

// An entry of fixed height: fill, picture at `left + indent × step` and
// `top` pixels down, the text 4 pixels after it. Its width is all of that,
// so a list of deep or long names scrolls sideways instead of cutting them.
class PictureItemDelegate : public BoldSelectionDelegate
{
    Q_OBJECT
public:
    PictureItemDelegate(int height, int left, int top, int indentStep, bool boldSelected, QObject *parent);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    int TextLeft(const QModelIndex &index) const; // pixels from the entry's left edge
    int m_height; // pixels
    int m_left;
    int m_top;
    int m_indentStep;
    bool m_boldSelected;
};

} // namespace nuvask
