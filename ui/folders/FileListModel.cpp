// The folder browser's file list rows.

#include "ui/folders/FileListModel.h"

#include "ui/folders/FolderBrowserTexts.h"

#include <QFont>

#include <algorithm>
#include <numeric>

namespace nuvask {

void FileListModel::SetRows(QList<FileRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

void FileListModel::SetNameCaption(const QString &caption)
{
    m_nameCaption = caption;
    emit headerDataChanged(Qt::Horizontal, 0, 0);
}

int FileListModel::Sort(FileColumn column, bool ascending, int keepRow)
{
    std::vector<int> order(m_rows.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const int c = CompareRows(m_rows[a], m_rows[b], column);
        return ascending ? c < 0 : c > 0;
    });
    emit layoutAboutToBeChanged();
    QList<FileRow> sorted;
    sorted.reserve(m_rows.size());
    int kept = -1;
    for (int i = 0; i < static_cast<int>(order.size()); ++i) {
        sorted.append(m_rows[order[i]]);
        if (order[i] == keepRow)
            kept = i;
    }
    m_rows = std::move(sorted);
    emit layoutChanged();
    return kept;
}

int FileListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int FileListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : kFileColumns;
}

QVariant FileListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const FileRow &row = m_rows[index.row()];
    switch (role) {
    case Qt::DisplayRole:
        switch (static_cast<FileColumn>(index.column())) {
        case FileColumn::Name:
            return row.name;
        case FileColumn::Size:
            return row.size;
        case FileColumn::Type:
            return row.type;
        case FileColumn::Date:
            return row.date;
        case FileColumn::Attributes:
            return row.attributes;
        }
        return {};
    case Qt::TextAlignmentRole: {
        const auto column = static_cast<FileColumn>(index.column());
        const bool right = column == FileColumn::Size || column == FileColumn::Attributes;
        return QVariant::fromValue(Qt::Alignment(right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    case Qt::FontRole: {
        if (!row.system && !row.hidden)
            return {};
        QFont font;
        font.setItalic(row.system);
        font.setStrikeOut(row.hidden);
        return font;
    }
    default:
        return {};
    }
}

QVariant FileListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::TextAlignmentRole) {
        const bool right = section == static_cast<int>(FileColumn::Size) ||
            section == static_cast<int>(FileColumn::Attributes);
        return QVariant::fromValue(Qt::Alignment(right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    if (role != Qt::DisplayRole)
        return {};
    switch (static_cast<FileColumn>(section)) {
    case FileColumn::Name:
        return m_nameCaption.isEmpty() ? folder_browser_texts::kColumnName() : m_nameCaption;
    case FileColumn::Size:
        return folder_browser_texts::kColumnSize();
    case FileColumn::Type:
        return folder_browser_texts::kColumnType();
    case FileColumn::Date:
        return folder_browser_texts::kColumnDate();
    case FileColumn::Attributes:
        return folder_browser_texts::kColumnAttributes();
    }
    return {};
}

} // namespace nuvask
