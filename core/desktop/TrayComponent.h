#pragma once
// The tray component: one icon in the desktop's notification area, with its
// identifier, image, tip text and whether it is meant to be shown, and the
// mouse activity over it turned into component events and popup menus.
// TrayEventRouter is the one receiver per process of that activity; it finds
// the component by identifier in TrayIconList.
//
// Everything runs on the user-interface thread. The shell is reached through
// TrayShell (ui/QtTrayShell on the desktop, a recording fake in tests).

#include "core/desktop/TrayImage.h"
#include "core/desktop/TrayShell.h"

#include <QObject>
#include <QPointer>
#include <QCoreApplication>
#include <QString>
#include <utility>

namespace nuvask {

namespace trayText {
inline QString IdNotPositive() { return QCoreApplication::translate("TrayComponent", "0以下は指定できません"); }
inline QString IdDuplicate() { return QCoreApplication::translate("TrayComponent", "同じアイコン識別子が有ります"); }
inline QString NoIcon() { return QCoreApplication::translate("TrayComponent", "アイコンが指定されていません"); }
} // namespace trayText

enum class TrayMouseButton { mbLeft, mbRight, mbMiddle };

// Shift and button states as the events report them.
enum TrayModifierFlag {
    ssShift = 0x01,
    ssAlt = 0x02,
    ssCtrl = 0x04,
    ssLeft = 0x08,
    ssRight = 0x10,
    ssMiddle = 0x20,
    ssDouble = 0x40,
};
Q_DECLARE_FLAGS(TrayModifiers, TrayModifierFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(TrayModifiers)

class TrayComponent;

// Process-wide: every component in the order it was created, under its
// identifier as decimal text.
using TrayIconEntry = std::pair<QString, TrayComponent *>;
const QList<TrayIconEntry> &TrayIconList();
// True while a callback is being dispatched.
bool InTrayCallback();

class TrayEventRouter : public QObject
{
    Q_OBJECT
public:
    // A child of `owner`: it lives until that form goes.
    explicit TrayEventRouter(QObject *owner);

    // Mouse activity over icon `wParam`; `lParam` is the mouse message.
    // Unknown identifiers are dropped, and so is every callback that arrives
    // while one is being dispatched (a popup menu opened by a press is still
    // open, say): they are not queued.
    void WM_TRAY_NOTIFY(quintptr wParam, quintptr lParam);
};

// The notify window of the process, absent until the first icon is shown.
TrayEventRouter *ProcessTrayEventRouter();

class TrayComponent : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QObject *PopupMenuL READ PopupMenuL WRITE SetPopupMenuL)
    Q_PROPERTY(QObject *PopupMenuR READ PopupMenuR WRITE SetPopupMenuR)
    Q_PROPERTY(QString TipString READ TipString WRITE SetTipString)
    Q_PROPERTY(nuvask::TrayImage *Icon READ Icon WRITE SetIcon)
    Q_PROPERTY(int IconID READ IconID WRITE SetIconID)
    Q_PROPERTY(bool Registered READ Registered WRITE SetRegistered)
public:
    // `owner` is the form the component belongs to (its parent too); `shell`
    // must outlive the component, whose destruction takes the icon away.
    TrayComponent(TrayShell &shell, QObject *owner);
    ~TrayComponent() override;

    // Menu opened at the cursor on a left / right button press; cleared when
    // the menu is destroyed.
    QObject *PopupMenuL() const { return m_popupMenuL; }
    void SetPopupMenuL(QObject *menu) { m_popupMenuL = menu; }
    QObject *PopupMenuR() const { return m_popupMenuR; }
    void SetPopupMenuR(QObject *menu) { m_popupMenuR = menu; }

    QString TipString() const { return m_tipString; }
    void SetTipString(const QString &tip);

    // The component's own icon; changes made to it show at once.
    TrayImage *Icon() const { return m_icon; }
    // Copies the image of `icon`; nullptr clears the image and takes the icon
    // out of the notification area.
    void SetIcon(TrayImage *icon);

    int IconID() const { return m_iconId; }
    // Error text, empty on success; on an error nothing changes.
    QString SetIconID(int id);

    bool Registered() const { return m_registered; }
    // Error text (no image to show), empty on success.
    QString SetRegistered(bool on);

    // Whether the shell holds the icon now.
    bool IconAdded() const { return m_iconAdded; }
    // The record as last sent to the shell.
    const NotifyIconRecord &Record() const { return m_record; }
    TrayShell &Shell() const { return m_shell; }

    // Once the form's stored properties are in place: shows the icon when it
    // is registered.
    void Loaded();

    virtual void RemoveIcon();
    virtual void UpdateIcon();
    virtual void DblClick(TrayMouseButton button);
    virtual void MouseDown(TrayMouseButton button, TrayModifiers shift, int x, int y);
    virtual void MouseMove(int x, int y);
    virtual void MouseUp(TrayMouseButton button, TrayModifiers shift, int x, int y);

signals:
    void OnDblClick(nuvask::TrayComponent *sender, nuvask::TrayMouseButton button);
    void OnMouseMove(nuvask::TrayComponent *sender, nuvask::TrayModifiers shift, int x, int y);
    void OnMouseDown(nuvask::TrayComponent *sender, nuvask::TrayMouseButton button, nuvask::TrayModifiers shift, int x, int y);
    void OnMouseUp(nuvask::TrayComponent *sender, nuvask::TrayMouseButton button, nuvask::TrayModifiers shift, int x, int y);

private:
    TrayShell &m_shell;
    QPointer<QObject> m_owner;
    NotifyIconRecord m_record;
    QString m_tipString;
    TrayImage *m_icon = nullptr;
    int m_iconId = 0;
    bool m_registered = false;
    bool m_iconAdded = false;
    // A popup menu may be destroyed before the component; both references
    // clear themselves, also when one menu serves both buttons.
    QPointer<QObject> m_popupMenuL;
    QPointer<QObject> m_popupMenuR;
};

} // namespace nuvask
