// Base of the modal forms that take the main window's colours.

#include "ui/dialogs/ColouredDialog.h"

#include "ui/dialogs/ModalResult.h"
#include "ui/dialogs/WorkArea.h"

#include <QCloseEvent>

namespace nuvask {

void ColouredDialog::SetRole(QWidget *w, QPalette::ColorRole role, const QColor &color)
{
    if (w->palette().color(role) == color)
        return;
    QPalette p = w->palette();
    p.setColor(role, color);
    w->setPalette(p);
}

void ColouredDialog::ApplyColours()
{
    if (const QWidget *main = FindMainWindow()) {
        SetRole(this, QPalette::Window, main->palette().color(QPalette::Window));
        SetRole(this, QPalette::WindowText, main->palette().color(QPalette::WindowText));
    }
}

void ColouredDialog::paintEvent(QPaintEvent *event)
{
    ApplyColours();
    QDialog::paintEvent(event);
}

void ColouredDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    ApplyColours();
    activateWindow();
}

void ColouredDialog::closeEvent(QCloseEvent *event)
{
    // Title bar close box or Alt+F4.
    if (isVisible())
        done(modal::kClosed);
    event->accept();
}

} // namespace nuvask
