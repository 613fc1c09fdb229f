// Enter, Esc and arrow keys of every window with colour buttons.

#include "ui/widgets/DialogKeys.h"

#include "ui/widgets/ColourButton.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextEdit>
#include <QWidget>

namespace nuvask {

namespace {

const char *const kJoinedProperty = "nuvaskDialogKeys";

bool TakesTypedText(const QWidget *w)
{
    if (!w)
        return false;
    if (const auto *line = qobject_cast<const QLineEdit *>(w))
        return !line->isReadOnly();
    if (const auto *plain = qobject_cast<const QPlainTextEdit *>(w))
        return !plain->isReadOnly();
    if (const auto *rich = qobject_cast<const QTextEdit *>(w))
        return !rich->isReadOnly();
    if (const auto *combo = qobject_cast<const QComboBox *>(w))
        return combo->isEditable();
    return qobject_cast<const QAbstractSpinBox *>(w) != nullptr;
}

bool WantsEnter(const QWidget *w)
{
    if (const auto *plain = qobject_cast<const QPlainTextEdit *>(w))
        return !plain->isReadOnly();
    if (const auto *rich = qobject_cast<const QTextEdit *>(w))
        return !rich->isReadOnly();
    return false;
}

class DialogKeyFilter : public QObject {
public:
    explicit DialogKeyFilter(QObject *parent) : QObject(parent)
    {
        connect(qApp, &QApplication::focusChanged, this, &DialogKeyFilter::OnFocusChanged);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
            return false;
        // An ignored key travels up the parents and passes here again; offering
        // it again is harmless, as a button acts only when it takes the key.
        QWidget *window = static_cast<QWidget *>(watched)->window();
        if (!DialogKeys::IsAttached(window))
            return false;
        return Offer(window, static_cast<QKeyEvent *>(event));
    }

private:
    static bool Offer(QWidget *window, QKeyEvent *key)
    {
        const QWidget *focus = window->focusWidget();
        const QList<ColourButton *> buttons = window->findChildren<ColourButton *>();
        const int code = key->key();
        if (code == Qt::Key_Return || code == Qt::Key_Enter || code == Qt::Key_Escape) {
            if (code != Qt::Key_Escape && WantsEnter(focus))
                return false;
            for (ColourButton *button : buttons) {
                if (button->window() == window && button->DialogKey(code, key->modifiers()))
                    return true;
            }
            return false;
        }
        const QString text = key->text();
        if (text.size() != 1 || !text[0].isPrint())
            return false;
        if (!(key->modifiers() & Qt::AltModifier) && TakesTypedText(focus))
            return false;
        for (ColourButton *button : buttons) {
            if (button->window() == window && button->DialogChar(text[0]))
                return true;
        }
        return false;
    }

    void OnFocusChanged(QWidget *, QWidget *now)
    {
        if (!now)
            return;
        QWidget *window = now->window();
        if (DialogKeys::IsAttached(window))
            DialogKeys::BroadcastFocus(window, now);
    }
};

void EnsureFilter()
{
    static QPointer<DialogKeyFilter> filter;
    if (filter || !qApp)
        return;
    filter = new DialogKeyFilter(qApp);
    qApp->installEventFilter(filter);
}

} // namespace

void DialogKeys::Attach(QWidget *window)
{
    if (!window)
        return;
    EnsureFilter();
    window->setProperty(kJoinedProperty, true);
}

bool DialogKeys::IsAttached(const QWidget *window)
{
    return window && window->property(kJoinedProperty).toBool();
}

void DialogKeys::BroadcastFocus(QWidget *window, const QWidget *focused)
{
    if (!window)
        return;
    const QList<ColourButton *> buttons = window->findChildren<ColourButton *>();
    for (ColourButton *button : buttons) {
        if (button->window() == window)
            button->FocusChanged(focused);
    }
    if (auto *self = qobject_cast<ColourButton *>(window))
        self->FocusChanged(focused);
}

bool DialogKeys::SwallowDefaultKeys(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        return true;
    default:
        return false;
    }
}

} // namespace nuvask
