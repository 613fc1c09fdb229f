// The main window's colour and hint switches.

#include "ui/mainwindow/WindowColours.h"

#include "ui/mainwindow/MainMenu.h"
#include "ui/widgets/FieldColours.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>

namespace nuvask {

namespace {

const QColor kKeldoGreen(0, 128, 0);
const QColor kKeldoText(255, 255, 255);

} // namespace

WindowColours::WindowColours(QMainWindow &window, MainMenu &menu) : QObject(&window), m_window(window), m_menu(menu)
{
    qApp->installEventFilter(this); // tool-tips follow the window's hint switch
}

WindowColours::~WindowColours()
{
    qApp->removeEventFilter(this);
}

void WindowColours::applyWindowColours(bool keldo)
{
    QPalette pal = m_window.palette();
    const QPalette system = QApplication::palette();
    const QColor back = keldo ? kKeldoGreen : system.color(QPalette::Button);
    const QColor text = keldo ? kKeldoText : system.color(QPalette::WindowText);
    pal.setColor(QPalette::Window, back);
    pal.setColor(QPalette::WindowText, text);
    pal.setColor(QPalette::ButtonText, text);
    pal.setColor(QPalette::Button, back);
    m_window.setPalette(pal);
    // The menu bar keeps the desktop's own colours, as menus do everywhere.
    // (Each role is set explicitly; an unset role would be inherited.)
    QMenuBar *bar = m_window.menuBar();
    QPalette menuPalette = bar->palette();
    for (QPalette::ColorRole role : {QPalette::Window, QPalette::WindowText, QPalette::Button, QPalette::ButtonText})
        menuPalette.setColor(role, system.color(role));
    bar->setPalette(menuPalette);
    bar->setAutoFillBackground(true);
    ApplyListColours();
}

void WindowColours::ApplyListColours()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const bool standard = m_menu.BackColor->isChecked();
    const QPalette system = QApplication::palette();
    const QPalette own = m_window.palette();
    // The drop-down lists and the edit fields (Edit_REC, Edit_RPK) alike.
    QList<QWidget *> lists;
    for (QComboBox *list : m_window.findChildren<QComboBox *>())
        lists.append(list);
    for (QLineEdit *edit : m_window.findChildren<QLineEdit *>()) {
        if (!qobject_cast<QComboBox *>(edit->parentWidget()))
            lists.append(edit);
    }
    for (QWidget *list : lists) {
        const QColor panel = list->parentWidget() ? list->parentWidget()->palette().color(QPalette::Window)
                                                  : own.color(QPalette::Window);
        SetFieldColours(list, standard ? system.color(QPalette::Base) : panel,
                        standard ? system.color(QPalette::Text) : own.color(QPalette::WindowText));
    }
    QGuiApplication::restoreOverrideCursor();
}

void WindowColours::backColorToggled()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QCoreApplication::processEvents();
    // At most one of the two colour switches is on.
    if (m_menu.BackColor->isChecked() && m_menu.KELDO_COLOR->isChecked())
        m_menu.KELDO_COLOR->trigger();
    ApplyListColours();
    QGuiApplication::restoreOverrideCursor();
}

void WindowColours::keldoColorToggled()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QCoreApplication::processEvents();
    if (m_menu.KELDO_COLOR->isChecked() && m_menu.BackColor->isChecked())
        m_menu.BackColor->trigger();
    applyWindowColours(m_menu.KELDO_COLOR->isChecked());
    QGuiApplication::restoreOverrideCursor();
}

void WindowColours::help3Toggled()
{
    m_showHints = m_menu.HELP3->isChecked();
}

void WindowColours::setHintsShown(bool on)
{
    m_showHints = on;
    m_menu.HELP3->setChecked(on);
}

bool WindowColours::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ToolTip && !m_showHints) {
        // The main window and the windows it owns (the level history).
        auto *widget = qobject_cast<QWidget *>(watched);
        const QWidget *top = widget ? widget->window() : nullptr;
        if (top && (top == &m_window || top->parentWidget() == &m_window))
            return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace nuvask
