#pragma once
// The history rules of the text input box: most recent first, each text once
// (letter case ignored), no size limit.

#include <QString>
#include <QStringList>

namespace nuvask {

// Removes every entry equal to `text` ignoring case and puts `text` first.
// An empty text leaves the list as it is.
void MoveToFront(QStringList &history, const QString &text);

// The entry at `index` moves to the front; returns its text (empty and no
// change for an index outside the list).
QString ChooseHistoryEntry(QStringList &history, qsizetype index);

} // namespace nuvask
