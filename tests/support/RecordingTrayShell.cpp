#include "support/RecordingTrayShell.h"

#include <QMenu>

namespace nuvask::test {

bool RecordingTrayShell::Shell_NotifyIcon(quint32 message, const NotifyIconRecord &record)
{
    calls.append({message, record});
    if (message == NIM_ADD)
        m_shown.insert(record.uID);
    else if (message == NIM_DELETE)
        m_shown.erase(record.uID);
    return answer;
}

bool RecordingTrayShell::SetForegroundWindow(QObject *owner)
{
    ++foregroundCalls;
    return owner && owner->isWidgetType();
}

void RecordingTrayShell::Popup(QObject *menu, QPoint at)
{
    popups.append({menu, at});
    if (auto *popup = qobject_cast<QMenu *>(menu))
        popup->popup(at);
}

} // namespace nuvask::test
