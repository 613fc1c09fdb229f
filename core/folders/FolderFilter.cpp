// The folder browser's file-type filter list.

#include "core/folders/FolderFilter.h"

#include <algorithm>

namespace nuvask {

namespace {

const QString kAllMask = QStringLiteral("*.*");

void AddEntry(QList<FilterEntry> &entries, const QString &description, const QString &mask)
{
    entries.append({description + QStringLiteral(" (") + mask + u')', mask});
}

} // namespace

QList<FilterEntry> ParseFilter(const QString &filter)
{
    const QString text = filter.isEmpty() ? QString::fromLatin1(kAllFilesFilter) : filter;
    QList<FilterEntry> entries;
    bool hasAll = false;
    qsizetype pos = 0;
    while (pos < text.size()) {
        const qsizetype bar = text.indexOf(u'|', pos);
        if (bar < 0)
            break; // a description without its mask
        const QString description = text.mid(pos, bar - pos);
        qsizetype end = text.indexOf(u'|', bar + 1);
        if (end < 0)
            end = text.size();
        const QString mask = text.mid(bar + 1, end - bar - 1);
        if (!mask.isEmpty()) {
            AddEntry(entries, description, mask);
            hasAll = hasAll || mask == kAllMask;
        }
        pos = end + 1;
    }
    if (!hasAll)
        AddEntry(entries, QStringLiteral("ALL files"), kAllMask);
    return entries;
}

QStringList SplitMasks(const QString &maskString)
{
    QStringList masks = maskString.split(u';', Qt::SkipEmptyParts);
    std::sort(masks.begin(), masks.end());
    masks.erase(std::unique(masks.begin(), masks.end()), masks.end());
    return masks;
}

QString MaskPattern(const QString &mask)
{
    return mask == kAllMask ? QStringLiteral("*") : mask;
}

} // namespace nuvask
