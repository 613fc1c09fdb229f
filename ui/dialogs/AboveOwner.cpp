#include "ui/dialogs/AboveOwner.h"

#include "ui/dialogs/WorkArea.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace nuvask {

namespace {

class OwnerWatch : public QObject
{
public:
    static constexpr char kName[] = "AboveOwnerWatch";

    OwnerWatch(QWidget *dialog, QWidget *owner) : QObject(dialog), m_dialog(dialog), m_owner(owner)
    {
        setObjectName(QLatin1String(kName));
        dialog->installEventFilter(this);
        owner->installEventFilter(this);
        WatchOwnerWindow();
    }

    QWidget *owner() const { return m_owner; }

    // A plain window (the help, the level history) is never transient for
    // another on X11: Qt marks only dialogs and tool windows so. It shares
    // the owner's stay-on-top layer instead, or a stay-on-top owner would
    // cover it for good. Before it is shown on the widget; once shown on
    // its native window, in place (a changed widget flag would re-create a
    // shown window and hide it).
    static void FollowLayer(QWidget *window, QWidget *owner)
    {
        if (!owner || window->windowType() != Qt::Window)
            return;
        const bool onTop = StaysOnTop(owner);
        if (StaysOnTop(window) == onTop)
            return;
        if (window->isVisible() && window->windowHandle())
            window->windowHandle()->setFlag(Qt::WindowStaysOnTopHint, onTop);
        else
            window->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    }
    void FollowOwnersLayer() { FollowLayer(m_dialog, m_owner); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_dialog && event->type() == QEvent::Hide) {
            deleteLater();
        } else if (watched == m_owner && (event->type() == QEvent::Show || event->type() == QEvent::WinIdChange)) {
            // The owner got its native window only now (shown after the box).
            WatchOwnerWindow();
        } else if (watched == m_ownerWindow && event->type() == QEvent::Expose && m_dialog->isVisible()) {
            FollowOwnersLayer();
            m_dialog->raise();
        }
        return false;
    }

private:
    // The main window changes its layer on its native window.
    static bool StaysOnTop(const QWidget *w)
    {
        const QWindow *handle = w->windowHandle();
        return (handle ? handle->flags() : w->windowFlags()).testFlag(Qt::WindowStaysOnTopHint);
    }

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

void AboveOwner::OwnerLayerChanged(QWidget *owner)
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        // Only a watch carries the name.
        auto *watch = static_cast<OwnerWatch *>(
            window->findChild<QObject *>(QLatin1String(OwnerWatch::kName), Qt::FindDirectChildrenOnly));
        if (watch && watch->owner() == owner) {
            watch->FollowOwnersLayer();
            if (window->isVisible())
                window->raise();
        }
    }
}

void AboveOwner::Keep(QWidget *dialog, QWidget *source, bool sourceGiven)
{
    QWidget *owner = sourceGiven ? source : FindMainWindow();
    if (!dialog || !owner)
        return;
    owner = owner->window();
    if (owner == dialog->window()
        || dialog->findChild<QObject *>(QLatin1String(OwnerWatch::kName), Qt::FindDirectChildrenOnly))
        return;
    // A window manager reads the transient owner when the dialog is mapped;
    // one that is not on the screen (put away in the tray) owns nothing.
    if (dialog->windowType() != Qt::Window && owner->isVisible() && owner->windowHandle()) {
        dialog->createWinId();
        dialog->windowHandle()->setTransientParent(owner->windowHandle());
    }
    OwnerWatch::FollowLayer(dialog, owner); // before the watch: it may re-create the hidden window
    new OwnerWatch(dialog, owner);
}

} // namespace nuvask
