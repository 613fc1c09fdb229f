#include "ui/mixer/VolumeGuardSwitch.h"

#include "core/mixer/VolumeGuard.h"
#include "ui/dialogs/MessageBox.h"
#include "ui/dialogs/MessageBoxWindow.h"
#include "ui/mixer/VolumeStrip.h"
#include "ui/mixer/VolumeStripTexts.h"

#include <QAction>

namespace nuvask {

VolumeGuardSwitch::VolumeGuardSwitch(VolumeGuard &guard, QAction &item, VolumeStrip &strip, MessageBox &box,
                                     QWidget *owner)
    : QObject(owner), m_guard(guard), m_item(item), m_box(box), m_owner(owner)
{
    // A click has flipped the check mark before this runs.
    connect(&m_item, &QAction::triggered, &m_guard, &VolumeGuard::SetOn);
    connect(&m_guard, &VolumeGuard::guardingChanged, &strip, &VolumeStrip::setGuardMarkVisible);
    connect(&m_guard, &VolumeGuard::fightNoticed, this, &VolumeGuardSwitch::tell);
}

void VolumeGuardSwitch::ApplySetting(bool on)
{
    m_item.setChecked(on);
    m_guard.SetOn(on);
}

bool VolumeGuardSwitch::Checked() const
{
    return m_item.isChecked();
}

MessageBoxWindow *VolumeGuardSwitch::NoticeBox() const
{
    return m_notice.data();
}

QString VolumeGuardSwitch::NoticeText(const QStringList &clients, RecordingClientsState state)
{
    QString text = stripText::GuardFight();
    if (state == RecordingClientsState::CannotTell)
        return text + stripText::GuardCannotTell();
    if (state == RecordingClientsState::Unreachable)
        return text + stripText::GuardServerAway();
    if (clients.isEmpty())
        return text + stripText::GuardNoClients();
    text += stripText::GuardClients();
    for (const QString &client : clients)
        text += stripText::GuardClientIndent() + client + QLatin1Char('\n');
    return text + stripText::GuardAdvice();
}

void VolumeGuardSwitch::tell(const QStringList &clients, RecordingClientsState state)
{
    // A modal box would hold the program in its own loop until answered;
    // this one just stands there while the guard goes on.
    m_notice = m_box.ShowOKModeless(NoticeText(clients, state), m_owner);
}

} // namespace nuvask
