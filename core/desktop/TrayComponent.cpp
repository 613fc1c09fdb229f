// The tray component: one icon in the notification area and its mouse activity.

#include "core/desktop/TrayComponent.h"

#include "core/base/TextHelpers.h"

#include <QCoreApplication>
#include <limits>

namespace nuvask {

namespace {

QList<TrayIconEntry> &iconList()
{
    static QList<TrayIconEntry> list;
    return list;
}

QPointer<TrayEventRouter> &notifyWindow()
{
    static QPointer<TrayEventRouter> window;
    return window;
}

bool g_inTrayCallback = false;

TrayComponent *findTray(const QString &text)
{
    for (const TrayIconEntry &entry : iconList()) {
        if (entry.first == text)
            return entry.second;
    }
    return nullptr;
}

bool idTaken(const QString &text)
{
    return findTray(text) != nullptr;
}

// One more than the last entry's identifier. A component that changed its
// identifier may already hold that number; two icons under one identifier
// would take each other's clicks, so counting goes on to the next free one.
int nextIconId()
{
    const QList<TrayIconEntry> &list = iconList();
    qint64 id = list.isEmpty() ? 1 : list.last().first.toLongLong() + 1;
    for (;;) {
        if (id > std::numeric_limits<int>::max())
            id = 1;
        if (!idTaken(QString::number(id)))
            return static_cast<int>(id);
        ++id;
    }
}

// The dispatch table: mouse message -> call on the component.
enum class Call { Move, Down, Up, DblClick };
struct Route
{
    quint32 message;
    Call call;
    TrayMouseButton button;
    TrayModifierFlag shift;
};
constexpr Route kRoutes[] = {
    {WM_MOUSEMOVE, Call::Move, TrayMouseButton::mbLeft, ssLeft},
    {WM_LBUTTONDOWN, Call::Down, TrayMouseButton::mbLeft, ssLeft},
    {WM_LBUTTONUP, Call::Up, TrayMouseButton::mbLeft, ssLeft},
    {WM_LBUTTONDBLCLK, Call::DblClick, TrayMouseButton::mbLeft, ssLeft},
    {WM_RBUTTONDOWN, Call::Down, TrayMouseButton::mbRight, ssRight},
    {WM_RBUTTONUP, Call::Up, TrayMouseButton::mbRight, ssRight},
    {WM_RBUTTONDBLCLK, Call::DblClick, TrayMouseButton::mbRight, ssRight},
    {WM_MBUTTONDOWN, Call::Down, TrayMouseButton::mbMiddle, ssMiddle},
    {WM_MBUTTONUP, Call::Up, TrayMouseButton::mbMiddle, ssMiddle},
};

// Clears InTrayCallback however the dispatch ends.
struct CallbackMark
{
    CallbackMark() { g_inTrayCallback = true; }
    ~CallbackMark() { g_inTrayCallback = false; }
};

} // namespace

const QList<TrayIconEntry> &TrayIconList()
{
    return iconList();
}

bool InTrayCallback()
{
    return g_inTrayCallback;
}

TrayEventRouter *ProcessTrayEventRouter()
{
    return notifyWindow();
}

TrayEventRouter::TrayEventRouter(QObject *owner) : QObject(owner)
{
    setObjectName(QStringLiteral("TrayNotifyWindow"));
}

void TrayEventRouter::WM_TRAY_NOTIFY(quintptr wParam, quintptr lParam)
{
    TrayComponent *tray = findTray(QString::number(wParam));
    if (!tray || g_inTrayCallback)
        return;
    const QPoint at = tray->Shell().GetCursorPos(); // screen pixels
    const int x = at.x();
    const int y = at.y();
    const CallbackMark mark;
    for (const Route &route : kRoutes) {
        if (route.message != lParam)
            continue;
        // Only the button's own state is reported, never the keyboard's.
        switch (route.call) {
        case Call::Move:
            tray->MouseMove(x, y);
            break;
        case Call::Down:
            tray->MouseDown(route.button, route.shift, x, y);
            break;
        case Call::Up:
            tray->MouseUp(route.button, route.shift, x, y);
            break;
        case Call::DblClick:
            tray->DblClick(route.button);
            break;
        }
        return;
    }
    // Anything else, a middle double click included, does nothing.
}

TrayComponent::TrayComponent(TrayShell &shell, QObject *owner) : QObject(owner), m_shell(shell), m_owner(owner)
{
    m_iconId = nextIconId();
    iconList().append({QString::number(m_iconId), this});
    m_icon = new TrayImage(this);
    connect(m_icon, &TrayImage::OnChange, this, &TrayComponent::UpdateIcon);
}

TrayComponent::~TrayComponent()
{
    RemoveIcon();
    const QString text = QString::number(m_iconId);
    QList<TrayIconEntry> &list = iconList();
    for (qsizetype i = 0; i < list.size(); ++i) {
        if (list[i].first == text) {
            list.removeAt(i);
            break;
        }
    }
}

void TrayComponent::SetTipString(const QString &tip)
{
    if (tip == m_tipString)
        return;
    m_tipString = tip;
    UpdateIcon();
}

void TrayComponent::SetIcon(TrayImage *icon)
{
    if (icon == m_icon)
        return;
    if (icon) {
        m_icon->Assign(*icon); // announced: UpdateIcon
        return;
    }
    // Cleared without the change announcement: an icon without an image is
    // never sent to the shell, it is taken away.
    m_icon->ReleaseHandle();
    RemoveIcon();
}

QString TrayComponent::SetIconID(int id)
{
    if (id <= 0)
        return trayText::IdNotPositive();
    if (id == m_iconId)
        return {};
    const QString text = QString::number(id);
    if (idTaken(text))
        return trayText::IdDuplicate();
    if (m_registered) {
        RemoveIcon();
        m_registered = true;
    }
    const QString old = QString::number(m_iconId);
    m_iconId = id;
    for (TrayIconEntry &entry : iconList()) {
        if (entry.first == old) {
            entry.first = text;
            break;
        }
    }
    UpdateIcon();
    return {};
}

QString TrayComponent::SetRegistered(bool on)
{
    if (on == m_registered)
        return {};
    if (on) {
        if (m_icon->Empty())
            return trayText::NoIcon();
        m_registered = true;
        UpdateIcon();
    } else {
        RemoveIcon();
        m_registered = false;
    }
    return {};
}

void TrayComponent::Loaded()
{
    UpdateIcon();
}

void TrayComponent::UpdateIcon()
{
    if (!m_registered)
        return;
    if (!notifyWindow())
        notifyWindow() = new TrayEventRouter(m_owner);
    if (!m_iconAdded) {
        m_record.cbSize = 88;
        m_record.hWnd = notifyWindow();
        m_record.uCallbackMessage = WM_TRAY_NOTIFY;
    }
    m_record.uID = static_cast<quint32>(m_iconId);
    m_record.uFlags = m_tipString.isEmpty() ? (NIF_MESSAGE | NIF_ICON) : (NIF_MESSAGE | NIF_ICON | NIF_TIP);
    m_record.hIcon = m_icon->Handle();
    // The field holds 63 bytes and a zero; never half a character.
    m_record.szTip = TruncateDbcs(m_tipString, kTipFieldBytes - 1);
    m_shell.Shell_NotifyIcon(m_iconAdded ? NIM_MODIFY : NIM_ADD, m_record);
    // Whatever the shell answered: the next change goes as a modify.
    m_iconAdded = true;
}

void TrayComponent::RemoveIcon()
{
    if (m_iconAdded)
        m_shell.Shell_NotifyIcon(NIM_DELETE, m_record);
    m_iconAdded = false;
    m_registered = false;
}

void TrayComponent::DblClick(TrayMouseButton button)
{
    emit OnDblClick(this, button);
}

void TrayComponent::MouseDown(TrayMouseButton button, TrayModifiers shift, int x, int y)
{
    const QPointer<TrayComponent> self(this);
    if (m_shell.SetForegroundWindow(m_owner))
        QCoreApplication::processEvents();
    if (!self)
        return;
    emit OnMouseDown(this, button, shift, x, y);
    if (!self)
        return;
    if (button == TrayMouseButton::mbLeft && m_popupMenuL)
        m_shell.Popup(m_popupMenuL, QPoint(x, y));
    else if (button == TrayMouseButton::mbRight && m_popupMenuR)
        m_shell.Popup(m_popupMenuR, QPoint(x, y));
}

void TrayComponent::MouseMove(int x, int y)
{
    emit OnMouseMove(this, TrayModifiers(), x, y);
}

void TrayComponent::MouseUp(TrayMouseButton button, TrayModifiers shift, int x, int y)
{
    emit OnMouseUp(this, button, shift, x, y);
}

} // namespace nuvask
