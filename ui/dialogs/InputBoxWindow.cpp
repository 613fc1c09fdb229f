// The text input box form.

#include "ui/dialogs/InputBoxWindow.h"

#include "core/dialogs/InputBoxHistory.h"
#include "ui/widgets/ColourButton.h"
#include "ui/widgets/DialogKeys.h"
#include "ui/dialogs/ModalResult.h"
#include "ui/dialogs/InputBoxTexts.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

namespace nuvask {

namespace {

constexpr int kFontHeight = 13; // pixels
constexpr int kRowHeight = 26;  // edit line and history row, pixels

} // namespace

ColourButton *InputBoxWindow::MakeButton(QWidget *parent, const char *name, const QString &caption, QRect geometry)
{
    auto *button = new ColourButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->SetCaption(caption);
    button->setGeometry(geometry);
    return button;
}

InputBoxWindow::InputBoxWindow(QWidget *parent)
    : ColouredDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("InputBox"));
    setModal(true);
    QFont boxFont(QStringLiteral("System"));
    boxFont.setPixelSize(kFontHeight);
    setFont(boxFont);
    setFixedSize(kClientWidth, kClientHeight);

    m_msg = new QLabel(input_box_texts::kColon(), this);
    m_msg->setObjectName(QStringLiteral("Msg"));
    m_msg->move(16, 16);

    m_edit1 = new QLineEdit(this);
    m_edit1->setObjectName(QStringLiteral("Edit1"));
    m_edit1->setGeometry(16, 48, 272, kRowHeight); // ends left of "H"

    m_button1 = MakeButton(this, "Button1", input_box_texts::kAccept(), {320, 8, 89, 33});
    m_button1->SetBevelWidth(2);
    m_button1->SetDefault(true);
    m_button2 = MakeButton(this, "Button2", input_box_texts::kStop(), {320, 48, 89, 33});
    m_button2->SetCancel(true);
    m_button3 = MakeButton(this, "Button3", input_box_texts::kHistory(), {288, 48, 17, kRowHeight});
    m_button3->setToolTip(input_box_texts::kHistoryHint());

    m_panel1 = new QWidget(this);
    m_panel1->setObjectName(QStringLiteral("Panel1"));
    m_panel1->setGeometry(16, 48, 289, kRowHeight);
    m_panel1->setAutoFillBackground(true);
    m_button4 = MakeButton(m_panel1, "Button4", input_box_texts::kOff(), {0, 0, 33, kRowHeight});
    m_button4->setToolTip(input_box_texts::kOffHint());
    m_comboBox1 = new QComboBox(m_panel1);
    m_comboBox1->setObjectName(QStringLiteral("ComboBox1"));
    m_comboBox1->setGeometry(33, 0, 256, kRowHeight); // right of its button
    m_comboBox1->setToolTip(input_box_texts::kListHint());
    m_panel1->hide();

    // Tab order as designed: 登録, 中止, H, then the edit line.
    setTabOrder(m_button1, m_button2);
    setTabOrder(m_button2, m_button3);
    setTabOrder(m_button3, m_edit1);

    connect(m_button1, &ColourButton::OnClick, this, &InputBoxWindow::Button1Click);
    connect(m_button2, &ColourButton::OnClick, this, [this] { done(modal::kCancel); });
    connect(m_button3, &ColourButton::OnClick, this, &InputBoxWindow::Button3Click);
    connect(m_button4, &ColourButton::OnClick, this, &InputBoxWindow::Button4Click);
    connect(m_comboBox1, &QComboBox::activated, this, &InputBoxWindow::ComboBox1Select);
}

void InputBoxWindow::Prepare(const QString &prompt, const QString &text, const QStringList &history, bool standardColor)
{
    m_standardColor = standardColor;
    m_edit1->setText(text);
    m_history = history;
    MoveToFront(m_history, text);
    FillCombo();
    m_msg->setText(prompt + input_box_texts::kColon());
    m_msg->adjustSize();
    ApplyColours();
    m_button1->setFocus(Qt::OtherFocusReason);
}

void InputBoxWindow::SetListHintsOn(bool on)
{
    m_comboBox1->setToolTip(on ? input_box_texts::kListHint() : QString());
}

QString InputBoxWindow::Text() const
{
    return m_edit1->text();
}

QStringList InputBoxWindow::FinalHistory() const
{
    QStringList history = m_history;
    MoveToFront(history, m_edit1->text());
    return history;
}

bool InputBoxWindow::HistoryRowShown() const
{
    return m_panel1->isVisible();
}

void InputBoxWindow::FillCombo()
{
    // Filling from code must not look like the user's choice.
    const QSignalBlocker block(m_comboBox1);
    m_comboBox1->clear();
    m_comboBox1->addItems(m_history);
    if (!m_history.isEmpty())
        m_comboBox1->setCurrentIndex(0);
}

void InputBoxWindow::Button1Click()
{
    // An empty text cannot be accepted; the box simply stays.
    if (!m_edit1->text().isEmpty())
        done(modal::kOk);
}

void InputBoxWindow::Button3Click()
{
    m_panel1->show();
    m_panel1->raise();
    m_comboBox1->setFocus(Qt::OtherFocusReason);
    QCoreApplication::processEvents();
}

void InputBoxWindow::Button4Click()
{
    m_panel1->hide();
    m_edit1->setFocus(Qt::OtherFocusReason);
    QCoreApplication::processEvents();
}

void InputBoxWindow::ComboBox1Select(int index)
{
    if (m_history.isEmpty() || index < 0)
        return;
    const QString text = ChooseHistoryEntry(m_history, index);
    FillCombo();
    m_edit1->setText(text);
    m_panel1->hide();
    m_edit1->setFocus(Qt::OtherFocusReason);
    QCoreApplication::processEvents();
}

void InputBoxWindow::ApplyColours()
{
    ColouredDialog::ApplyColours();
    const QColor base = m_standardColor ? QPalette().color(QPalette::Base) : palette().color(QPalette::Window);
    for (QWidget *w : {static_cast<QWidget *>(m_edit1), static_cast<QWidget *>(m_comboBox1)})
        SetRole(w, QPalette::Base, base);
    SetRole(m_panel1, QPalette::Window, palette().color(QPalette::Window));
}

void InputBoxWindow::keyPressEvent(QKeyEvent *event)
{
    // Enter and Esc belong to the colour buttons (登録 is the default, 中止
    // the cancel button); a plain dialog would accept or reject on its own.
    if (!DialogKeys::SwallowDefaultKeys(event))
        QDialog::keyPressEvent(event);
}

} // namespace nuvask
