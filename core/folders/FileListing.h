#pragma once
// The files of one folder as the folder browser lists them: one row per file
// and mask, five texts per row, and the column sorts.

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

namespace nuvask {

struct FileRow
{
    QString name;
    QString size;       // "%8.0n": thousands separators, right-justified in 8
    QString type;       // extension in lower case without the dot
    QString date;       // "yy/MM/dd hh:mm:ss" and the short day name
    QString attributes; // "R", "S", "H", "A" or a blank each
    bool system = false;
    bool hidden = false;
};

enum class FileColumn { Name = 0, Size = 1, Type = 2, Date = 3, Attributes = 4 };
inline constexpr int kFileColumns = 5;

struct FileListing
{
    QList<FileRow> rows;
    bool ok = false; // false: the folder could not be opened (rows stay empty)
};

// Lists the files of `folder` that match each mask of `maskString` (split at
// ";", letter case ignored): a file matching two masks is listed twice.
// Folders are skipped; a link that leads nowhere is a system entry. Names are
// in their display form (FileNames.h). Rows come sorted by name.
FileListing ListFiles(const QString &folder, const QString &maskString);

// "%8.0n" of a byte count: "     999", "   1,000".
QString SizeText(qint64 bytes);
// "yy/MM/dd hh:mm:ss ddd" in local time with the locale's short day name.
QString DateText(const QDateTime &time);

// <0, 0, >0 as the texts of `column` compare. Sizes are padded on the left to
// equal length first, which orders them by value.
int CompareRows(const FileRow &a, const FileRow &b, FileColumn column);
// Stable sort of `rows` by one column, ascending or descending.
void SortRows(QList<FileRow> &rows, FileColumn column, bool ascending);

// Per-column sort directions: each click toggles its column. After a fresh
// listing the name column sorts descending next (the rows are ascending
// already) and every other column ascending.
class FileSortState
{
public:
    FileSortState() { Reset(); }
    void Reset();
    // The direction the click on `column` sorts in; toggles it for the next.
    bool NextAscending(FileColumn column);

private:
    bool m_ascending[kFileColumns] = {};
};

} // namespace nuvask
