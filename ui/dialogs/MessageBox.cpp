// The message box component (MKBoxDlg1).

#include "ui/dialogs/MessageBox.h"

#include "ui/dialogs/AboveOwner.h"
#include "ui/dialogs/MessageBoxWindow.h"
#include "ui/dialogs/WorkArea.h"

#include <QVariant>

#include <memory>

namespace nuvask {

MessageBox::MessageBox(QObject *parent) : QObject(parent)
{
    setObjectName(QStringLiteral("MKBoxDlg1"));
}

void MessageBox::SetSourceHandle(QWidget *window)
{
    m_sourceHandle = window;
    m_sourceGiven = window != nullptr;
}

bool MessageBox::B(int slot) const
{
    return slot >= 0 && slot < kSlots && m_slots[slot].busy;
}

void MessageBox::SetB(int slot, bool busy)
{
    if (slot >= 0 && slot < kSlots)
        m_slots[slot].busy = busy;
}

MessageBoxWindow *MessageBox::Box(int slot) const
{
    return slot >= 0 && slot < kSlots ? m_slots[slot].box.data() : nullptr;
}

int MessageBox::ShowOK(const QString &text)
{
    return ShowBox(MessageBoxWindow::OkBox, text);
}

int MessageBox::ShowBox(int kind, const QString &text)
{
    return Run(kind, text, false, 0, mkresult::kNone);
}

int MessageBox::ShowOKTimer(const QString &text, int defaultAnswer)
{
    return ShowTimer(MessageBoxWindow::OkBox, text, defaultAnswer);
}

int MessageBox::ShowYesNoTimer(const QString &text, int defaultAnswer)
{
    return ShowTimer(MessageBoxWindow::YesNoBox, text, defaultAnswer);
}

int MessageBox::ShowTimer(int kind, const QString &text, int defaultAnswer)
{
    return Run(kind, text, m_timer, m_timerCount, defaultAnswer);
}

int MessageBox::ShowOKSKTimer(const QString &text, int defaultAnswer)
{
    return Run(MessageBoxWindow::OkBox, text, m_skTimer, m_skTimerCount, defaultAnswer);
}

MessageBoxWindow *MessageBox::makeBox(int kind, const QString &text, const QString &startText, bool countdown,
                           int defaultAnswer, QWidget *owner)
{
    auto *box = new MessageBoxWindow(kind == MessageBoxWindow::YesNoBox ? MessageBoxWindow::YesNoBox : MessageBoxWindow::OkBox, owner);
    // The title first: the box is made wide enough for it.
    box->setWindowTitle(m_title.isEmpty() ? ApplicationTitle() : m_title);
    box->Prepare(text, startText, countdown, defaultAnswer);
    box->move(PlaceDialog(box->OuterSize(), m_sourceHandle.data(), m_sourceGiven));
    if (const QWidget *main = FindMainWindow()) {
        const QVariant hints = main->property("ShowHint");
        box->SetHintsOn(!hints.isValid() || hints.toBool());
    }
    box->SetCountdownRunning(countdown);
    return box;
}

MessageBoxWindow *MessageBox::ShowOKModeless(const QString &text, QWidget *owner)
{
    MessageBoxWindow *box = makeBox(MessageBoxWindow::OkBox, text, QStringLiteral("0"), false, mkresult::kNone, owner);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
    return box;
}

int MessageBox::Run(int kind, const QString &text, bool countdown, int startCount, int defaultAnswer)
{
    int slot = 0;
    while (slot < kSlots && m_slots[slot].busy)
        ++slot;
    if (slot == kSlots)
        return mkresult::kNone;

    Slot &s = m_slots[slot];
    s.busy = true;
    s.countdown = countdown;
    s.startText = countdown ? QString::number(startCount).left(10) : QStringLiteral("0");

    std::unique_ptr<MessageBoxWindow> box(makeBox(kind, text, s.startText, countdown, defaultAnswer, nullptr));
    s.box = box.get();

    // The component may go away with its window while the box is open (the
    // modal loop keeps timers and notifications running); the slot then no
    // longer exists to be freed.
    const QPointer<MessageBox> self(this);
    AboveOwner::Keep(box.get(), m_sourceHandle.data(), m_sourceGiven);
    int result = box->exec();
    if (result == mkresult::kTimedOut)
        result = defaultAnswer;
    box->hide();
    box.reset();
    if (QWidget *main = FindMainWindow())
        main->update();
    if (self) {
        m_slots[slot].busy = false;
        m_slots[slot].box = nullptr;
    }
    return result;
}

} // namespace nuvask
