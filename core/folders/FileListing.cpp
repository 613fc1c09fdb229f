// The folder browser's file list: rows, masks and sorts.

#include "core/folders/FileListing.h"

#include "core/folders/FolderFilter.h"
#include "core/folders/FolderPaths.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>

namespace nuvask {

namespace {

// Text order of the original list: letter case only breaks ties, so "a" and
// "A" sit together, and the result is the same on every machine.
int CompareText(const QString &a, const QString &b)
{
    const int folded = a.compare(b, Qt::CaseInsensitive);
    return folded != 0 ? folded : a.compare(b, Qt::CaseSensitive);
}

int ComparePadded(const QString &a, const QString &b)
{
    const qsizetype width = std::max(a.size(), b.size());
    return CompareText(a.rightJustified(width, u' '), b.rightJustified(width, u' '));
}

FileRow MakeRow(const QFileInfo &info)
{
    FileRow row;
    row.name = info.fileName();
    row.size = SizeText(info.size());
    row.type = info.suffix().toLower();
    row.date = DateText(info.lastModified());
    row.hidden = row.name.startsWith(u'.');
    // Sockets, pipes and devices are the system's own entries.
    row.system = !info.isFile();
    row.attributes = QString(info.isWritable() ? u' ' : u'R') + (row.system ? u'S' : u' ')
        + (row.hidden ? u'H' : u' ') + u' ';
    return row;
}

} // namespace

QString SizeText(qint64 bytes)
{
    QString digits = QString::number(bytes < 0 ? -bytes : bytes);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, u',');
    if (bytes < 0)
        digits.prepend(u'-');
    return digits.rightJustified(8, u' ');
}

QString DateText(const QDateTime &time)
{
    const QDateTime local = time.toLocalTime();
    return local.toString(QStringLiteral("yy/MM/dd hh:mm:ss ")) +
        QLocale().dayName(local.date().dayOfWeek(), QLocale::ShortFormat);
}

FileListing ListFiles(const QString &folder, const QString &maskString)
{
    FileListing out;
    if (!CanOpenFolder(folder))
        return out;
    out.ok = true;
    QDir dir(folder);
    // Hidden and system entries are listed (and drawn struck out / italic);
    // only folders stay out of the file list.
    const QDir::Filters filters = QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    for (const QString &mask : SplitMasks(maskString)) {
        const QFileInfoList infos = dir.entryInfoList({MaskPattern(mask)}, filters, QDir::Unsorted);
        out.rows.reserve(out.rows.size() + infos.size());
        for (const QFileInfo &info : infos) {
            if (info.isDir())
                continue;
            out.rows.append(MakeRow(info));
        }
    }
    SortRows(out.rows, FileColumn::Name, true);
    return out;
}

int CompareRows(const FileRow &a, const FileRow &b, FileColumn column)
{
    switch (column) {
    case FileColumn::Name:
        return CompareText(a.name, b.name);
    case FileColumn::Size:
        return ComparePadded(a.size, b.size);
    case FileColumn::Type:
        return CompareText(a.type, b.type);
    case FileColumn::Date:
        return CompareText(a.date, b.date);
    case FileColumn::Attributes:
        return CompareText(a.attributes, b.attributes);
    }
    return 0;
}

void SortRows(QList<FileRow> &rows, FileColumn column, bool ascending)
{
    std::stable_sort(rows.begin(), rows.end(), [column, ascending](const FileRow &a, const FileRow &b) {
        const int c = CompareRows(a, b, column);
        return ascending ? c < 0 : c > 0;
    });
}

void FileSortState::Reset()
{
    for (bool &ascending : m_ascending)
        ascending = true;
    m_ascending[static_cast<int>(FileColumn::Name)] = false;
}

bool FileSortState::NextAscending(FileColumn column)
{
    bool &ascending = m_ascending[static_cast<int>(column)];
    const bool now = ascending;
    ascending = !ascending;
    return now;
}

} // namespace nuvask
