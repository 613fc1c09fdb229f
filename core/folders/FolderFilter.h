#pragma once
// The file-type filter of the folder browser: "description|mask|..." pairs,
// one list entry per pair, and the masks of one entry separated by ";".

#include <QList>
#include <QString>
#include <QStringList>

namespace nuvask {

struct FilterEntry
{
    QString caption; // description + " (" + mask + ")"
    QString mask;    // e.g. "*.txt;*.log"
};

inline constexpr char kAllFilesFilter[] = "ALL files|*.*";

// Pairs read from left to right; a description without a following "|" ends
// the reading and a pair with an empty mask is skipped. An "ALL files (*.*)"
// entry is appended when no mask is "*.*"; an empty filter is "ALL files|*.*".
QList<FilterEntry> ParseFilter(const QString &filter);

// The masks of one entry, sorted, each once, empty ones left out.
QStringList SplitMasks(const QString &maskString);

// The name pattern a mask means here. "*.*" matches every file, also one
// without a dot, as it always has for the user.
QString MaskPattern(const QString &mask);

} // namespace nuvask
