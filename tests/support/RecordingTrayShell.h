#pragma once
// A notification area that records every call and shows an icon exactly when
// it was added and not deleted (unless told there is no tray). Popups are
// recorded; a QMenu is also really opened, so its show event runs.

#include "core/desktop/TrayShell.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <set>

namespace nuvask::test {

class RecordingTrayShell : public TrayShell
{
public:
    struct Call
    {
        quint32 message;
        NotifyIconRecord record;
    };
    struct PopupCall
    {
        QPointer<QObject> menu;
        QPoint at;
    };

    bool Shell_NotifyIcon(quint32 message, const NotifyIconRecord &record) override;
    bool IconShown(quint32 id) const override { return trayPresent && m_shown.count(id) > 0; }
    QPoint GetCursorPos() const override { return cursor; }
    bool SetForegroundWindow(QObject *owner) override;
    void Popup(QObject *menu, QPoint at) override;

    QList<Call> calls;
    QList<PopupCall> popups;
    int foregroundCalls = 0;
    QPoint cursor{640, 16};
    bool trayPresent = true;
    bool answer = true; // what Shell_NotifyIcon returns

private:
    std::set<quint32> m_shown;
};

} // namespace nuvask::test
