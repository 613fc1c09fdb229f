#pragma once
// The rows of the folder browser's file list for a report view: five text
// columns, system files in italic and hidden files struck out.

#include "core/folders/FileListing.h"

#include <QAbstractTableModel>

namespace nuvask {

class FileListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void SetRows(QList<FileRow> rows);
    const QList<FileRow> &Rows() const { return m_rows; }
    // Caption of the first column ("ファイル名" with the count, or the filling mark).
    void SetNameCaption(const QString &caption);

    // Sorts by `column`; returns where the row at `keepRow` went (-1 stays -1).
    int Sort(FileColumn column, bool ascending, int keepRow);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QList<FileRow> m_rows;
    QString m_nameCaption;
};

} // namespace nuvask
