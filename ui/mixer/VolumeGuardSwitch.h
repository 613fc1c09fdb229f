#pragma once
// The window's side of the volume guard: the Options menu item that switches
// it (MO_Guard_RecV), the "G" mark on strip 2 while it guards, and the box
// that tells the user, without stopping the guard, that another program keeps
// changing the recording volume and which programs record from that input.

#include "core/mixer/MixerService.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

class QAction;

namespace nuvask {

class MessageBoxWindow;
class MessageBox;
class VolumeGuard;
class VolumeStrip;

class VolumeGuardSwitch : public QObject {
    Q_OBJECT
public:
    // `owner`: the window the box goes with.
    VolumeGuardSwitch(VolumeGuard &guard, QAction &item, VolumeStrip &strip, MessageBox &box, QWidget *owner);

    // The stored setting at start: the check mark and the guard, no click.
    void ApplySetting(bool on);
    bool Checked() const;
    // The box last shown, while it is open.
    MessageBoxWindow *NoticeBox() const;

    // What the notice says, whatever shows it.
    static QString NoticeText(const QStringList &clients, RecordingClientsState state);

private:
    void tell(const QStringList &clients, RecordingClientsState state);

    VolumeGuard &m_guard;
    QAction &m_item;
    MessageBox &m_box;
    QWidget *m_owner;
    QPointer<MessageBoxWindow> m_notice;
};

} // namespace nuvask
