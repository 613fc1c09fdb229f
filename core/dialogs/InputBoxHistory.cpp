// The text input box's history list rules.

#include "core/dialogs/InputBoxHistory.h"

namespace nuvask {

void MoveToFront(QStringList &history, const QString &text)
{
    if (text.isEmpty())
        return;
    history.removeIf([&text](const QString &entry) { return entry.compare(text, Qt::CaseInsensitive) == 0; });
    history.prepend(text);
}

QString ChooseHistoryEntry(QStringList &history, qsizetype index)
{
    if (index < 0 || index >= history.size())
        return {};
    const QString text = history.takeAt(index);
    history.prepend(text);
    return text;
}

} // namespace nuvask
