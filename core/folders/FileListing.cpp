// The folder browser's file list: rows, masks and sorts.

#include "core/folders/FileListing.h"

#include "core/folders/FileNames.h"
#include "core/folders/FolderFilter.h"
#include "core/folders/FolderNamespace.h"

#include <QLocale>
#include <QRegularExpression>

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

FileRow MakeRow(const FolderEntry &entry)
{
    FileRow row;
    row.name = DisplayName(entry.name);
    row.size = SizeText(entry.size);
    const qsizetype dot = row.name.lastIndexOf(u'.');
    row.type = dot >= 0 ? row.name.mid(dot + 1).toLower() : QString();
    row.date = DateText(entry.modified);
    row.hidden = row.name.startsWith(u'.');
    // Sockets, pipes, devices and links that lead nowhere are the system's
    // own entries.
    row.system = !entry.regularFile;
    row.attributes = QString(entry.writable ? u' ' : u'R') + (row.system ? u'S' : u' ')
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
    const QList<FolderEntry> entries = ReadFolder(folder, &out.ok);
    // Hidden and system entries are listed (and drawn struck out / italic);
    // only folders stay out of the file list. Masks ignore letter case.
    for (const QString &mask : SplitMasks(maskString)) {
        const QRegularExpression pattern = QRegularExpression::fromWildcard(MaskPattern(mask), Qt::CaseInsensitive);
        for (const FolderEntry &entry : entries) {
            // Matched as shown: a byte that is no UTF-8 is no text to match.
            if (!entry.folder && pattern.match(DisplayName(entry.name)).hasMatch())
                out.rows.append(MakeRow(entry));
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
