#include "ui/dialogs/AboveOwner.h"

#include "ui/dialogs/WorkArea.h"

#include <QEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace nuvask {

namespace {

class OwnerWatch : public QObject
{
public:
    OwnerWatch(QWidget *dialog, QWidget *owner) : QObject(dialog), m_dialog(dialog), m_owner(owner)
    {
        dialog->installEventFilter(this);
        owner->installEventFilter(this);
        WatchOwnerWindow();
    }
    ~OwnerWatch() override
    {
        if (m_owner)
            m_owner->removeEventFilter(this);
        if (m_ownerWindow)
            m_ownerWindow->removeEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_dialog && event->type() == QEvent::Hide) {
            deleteLater();
        } else if (watched == m_owner && (event->type() == QEvent::Show || event->type() == QEvent::WinIdChange)) {
            // The owner got its native window only now (shown after the box).
            WatchOwnerWindow();
        } else if (watched == m_ownerWindow && event->type() == QEvent::Expose && m_dialog->isVisible()) {
            m_dialog->raise();
        }
        return false;
    }

private:
    void WatchOwnerWindow()
    {
        QWindow *window = m_owner ? m_owner->windowHandle() : nullptr;
        if (window == m_ownerWindow)
            return;
        if (m_ownerWindow)
            m_ownerWindow->removeEventFilter(this);
        m_ownerWindow = window;
        if (window)
            window->installEventFilter(this);
    }

    QWidget *m_dialog; // parent of this watch
    QPointer<QWidget> m_owner;
    QPointer<QWindow> m_ownerWindow;
};

} // namespace

void AboveOwner::Keep(QWidget *dialog, QWidget *source, bool sourceGiven)
{
    QWidget *owner = sourceGiven ? source : FindMainWindow();
    if (!dialog || !owner)
        return;
    owner = owner->window();
    if (owner == dialog->window())
        return;
    // A window manager reads the transient owner when the dialog is mapped;
    // one that is not on the screen (put away in the tray) owns nothing.
    if (owner->isVisible() && owner->windowHandle()) {
        dialog->createWinId();
        dialog->windowHandle()->setTransientParent(owner->windowHandle());
    }
    new OwnerWatch(dialog, owner);
}

} // namespace nuvask
