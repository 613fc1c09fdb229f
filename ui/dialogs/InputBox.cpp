// The text input box component.

#include "ui/dialogs/InputBox.h"

#include "ui/dialogs/AboveOwner.h"
#include "ui/dialogs/MessageBoxWindow.h"
#include "ui/dialogs/InputBoxWindow.h"
#include "ui/dialogs/WorkArea.h"

#include <QVariant>

#include <memory>

namespace nuvask {

InputBox::InputBox(QObject *parent) : QObject(parent)
{
    setObjectName(QStringLiteral("SNBoxDlg1"));
}

InputBoxWindow *InputBox::Box() const
{
    return m_box.data();
}

void InputBox::SetSourceHandle(QWidget *window)
{
    m_sourceHandle = window;
    m_sourceGiven = window != nullptr;
}

int InputBox::Execute(const QString &prompt)
{
    auto box = std::make_unique<InputBoxWindow>();
    m_box = box.get();
    const QSize outer(InputBoxWindow::kClientWidth + MessageBoxWindow::kFrameWidth, InputBoxWindow::kClientHeight + MessageBoxWindow::kFrameHeight);
    box->move(PlaceDialog(outer, m_sourceHandle.data(), m_sourceGiven));
    box->setWindowTitle(m_title.isEmpty() ? ApplicationTitle() : m_title);
    box->Prepare(prompt, m_snText, m_sn, m_standardColor);
    m_sn.clear(); // rebuilt from the box below
    if (const QWidget *main = FindMainWindow()) {
        const QVariant hints = main->property("ShowHint");
        box->SetListHintsOn(!hints.isValid() || hints.toBool());
    }

    // The component may go with its owner while the box's loop runs.
    const QPointer<InputBox> self(this);
    AboveOwner::Keep(box.get(), m_sourceHandle.data(), m_sourceGiven);
    const int result = box->exec();
    if (self) {
        m_snText = box->Text();
        m_sn = box->FinalHistory();
    }
    box->hide();
    box.reset();
    if (QWidget *main = FindMainWindow())
        main->update();
    return result;
}

} // namespace nuvask
