// The main window's tray button, tray icon and tray menu.

#include "ui/desktop/TrayIcon.h"

#include "core/desktop/TrayComponent.h"
#include "ui/widgets/ColourButton.h"
#include "ui/dialogs/MessageBox.h"
#include "ui/mainwindow/MainWindowTexts.h"
#include "ui/desktop/QtTrayShell.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QMenu>

namespace nuvask {

TrayIcon::TrayIcon(QWidget *window, QWidget *buttonPanel, MessageBox *box, TrayShell *shell)
    : QObject(window), m_window(window), m_box(box), m_shell(shell)
{
    setObjectName(QStringLiteral("TrayIcon"));
    PopupMenu_TR = new QMenu(window);
    PopupMenu_TR->setObjectName(QStringLiteral("PopupMenu_TR"));
    TR_IconOFF = PopupMenu_TR->addAction(mainText::TR_IconOFF());
    TR_IconOFF->setObjectName(QStringLiteral("TR_IconOFF"));
    connect(TR_IconOFF, &QAction::triggered, this, &TrayIcon::TR_IconOFFClick);
    PopupMenu_TR->addSeparator()->setObjectName(QStringLiteral("N_TR1"));
    TR_History = PopupMenu_TR->addAction(mainText::TR_History());
    TR_History->setObjectName(QStringLiteral("TR_History"));
    connect(PopupMenu_TR, &QMenu::aboutToShow, this, &TrayIcon::PopupMenu_TRPopup);

    if (!m_shell) {
        auto desktop = std::make_unique<QtTrayShell>();
        desktop->SetContextMenu(PopupMenu_TR);
        m_ownShell = std::move(desktop);
        m_shell = m_ownShell.get();
    }
    // The window opens its menu itself: neither PopupMenuL nor PopupMenuR.
    TaskTray1 = new TrayComponent(*m_shell, window);
    TaskTray1->setObjectName(QStringLiteral("TaskTray1"));
    TaskTray1->SetIconID(1);
    TaskTray1->Loaded(); // stored unregistered: nothing shows yet
    connect(TaskTray1, &TrayComponent::OnMouseDown, this,
            [this](TrayComponent *sender, TrayMouseButton button, TrayModifiers, int x, int y) {
                TaskTray1MouseDown(sender, button, x, y);
            });

    Btn_TRAY = new ColourButton(buttonPanel);
    Btn_TRAY->setObjectName(QStringLiteral("Btn_TRAY"));
    Btn_TRAY->SetCaption(mainText::TrayCaption);
    Btn_TRAY->setToolTip(mainText::HintTray());
    // Pixels on PV2: the free column right of the peak meter, between the
    // registered-volume buttons and the strip's own recording list.
    Btn_TRAY->setGeometry(58, 131, 30, 15);
    connect(Btn_TRAY, &ColourButton::OnClick, this, &TrayIcon::Btn_TRAYClick);
    m_shell->SetTrayChangedHandler([this](bool available) { TrayChanged(available); });
}

TrayIcon::~TrayIcon()
{
    m_shell->SetTrayChangedHandler({});
    // The icon leaves the notification area while its shell is still there.
    delete TaskTray1;
    setBusyCursor(false);
}

void TrayIcon::SetMessageBox(MessageBox *box)
{
    m_box = box;
}

bool TrayIcon::InTray() const
{
    return TaskTray1->Registered();
}

void TrayIcon::SetTipAndIcon(const QString &tip, const QIcon &icon)
{
    TaskTray1->SetTipString(tip);
    TrayImage image;
    if (!icon.isNull())
        image.SetHandle(QVariant::fromValue(icon));
    TaskTray1->SetIcon(&image);
}

void TrayIcon::setBusyCursor(bool on)
{
    if (on == m_busyCursor)
        return;
    m_busyCursor = on;
    if (on)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QGuiApplication::restoreOverrideCursor();
}

void TrayIcon::Btn_TRAYClick()
{
    setBusyCursor(true);
    Btn_TRAY->hide();
    const QString error = TaskTray1->SetRegistered(true);
    QCoreApplication::processEvents();
    if (error.isEmpty() && m_shell->IconShown(static_cast<quint32>(TaskTray1->IconID()))) {
        m_window->hide();
        setBusyCursor(false);
        return;
    }
    // Nothing would bring a hidden window back: it stays, and the user
    // learns why.
    TaskTray1->SetRegistered(false);
    Btn_TRAY->show();
    setBusyCursor(false);
    if (m_box)
        m_box->ShowOK(error.isEmpty() ? mainText::NoTray() : error);
}

void TrayIcon::TR_IconOFFClick()
{
    setBusyCursor(true);
    TaskTray1->SetRegistered(false);
    QCoreApplication::processEvents();
    BringWindowBack();
    setBusyCursor(false);
}

void TrayIcon::BringWindowBack()
{
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
    Btn_TRAY->show();
}

void TrayIcon::TrayChanged(bool available)
{
    // Nothing on the screen would lead back to a window put away into a
    // notification area that is gone.
    if (!available && TaskTray1->Registered() && m_window->isHidden())
        BringWindowBack();
}

bool TrayIcon::RestoreFromTray()
{
    if (!TaskTray1->Registered())
        return false;
    TR_IconOFFClick();
    return true;
}

void TrayIcon::TaskTray1MouseDown(TrayComponent *, TrayMouseButton button, int, int)
{
    if (m_trayMenuBusy)
        return;
    QCoreApplication::processEvents();
    const QPoint at = m_shell->GetCursorPos(); // screen pixels
    switch (button) {
    case TrayMouseButton::mbLeft:
        if (TaskTray1->Registered())
            TR_IconOFFClick();
        break;
    case TrayMouseButton::mbRight:
        m_trayMenuBusy = true;
        QCoreApplication::processEvents();
        setBusyCursor(true);
        m_shell->Popup(PopupMenu_TR, at);
        break;
    case TrayMouseButton::mbMiddle:
        break;
    }
}

void TrayIcon::PopupMenu_TRPopup()
{
    setBusyCursor(false);
    QCoreApplication::processEvents();
    m_trayMenuBusy = false;
}

} // namespace nuvask
