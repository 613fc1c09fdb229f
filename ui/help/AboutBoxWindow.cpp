// The about box form (version information).

#include "ui/help/AboutBoxWindow.h"

#include "ui/help/AboutBox.h"
#include "ui/help/AboutTexts.h"
#include "ui/widgets/ColourButton.h"
#include "ui/widgets/DialogKeys.h"
#include "ui/dialogs/MessageBox.h"
#include "ui/dialogs/MessageBoxWindow.h"
#include "ui/widgets/WidgetPlacement.h"
#include "ui/dialogs/WorkArea.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QStyle>
#include <QUrl>

namespace nuvask {

namespace {

QLabel *label(QWidget *parent, const char *name, QPoint at, const QString &hint = {})
{
    auto *l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->move(at);
    l->setToolTip(hint);
    return l;
}

ColourButton *colorButton(QWidget *parent, const char *name, const QString &caption, const QString &hint, QRect at)
{
    // Unlike the panels' buttons, the box's buttons keep their Tab stop.
    auto *b = placed(new ColourButton(parent), QLatin1String(name), at, hint);
    b->SetCaption(caption);
    return b;
}

void setText(QLabel *l, const QString &text)
{
    l->setText(text);
    l->adjustSize();
}

} // namespace

AboutBoxWindow::AboutBoxWindow(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint
                          | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(aboutText::CaptionDesign());
    setWindowIcon(QApplication::windowIcon());
    QFont f(aboutText::FontFamily);
    f.setPixelSize(aboutText::FontPixels);
    setFont(f);
    setFixedSize(kClientWidth, kClientHeight);

    auto *panel = new QFrame(this);
    // Lowered outside, raised inside: the groove of the design.
    panel->setFrameStyle(QFrame::Box | QFrame::Sunken);
    panel->setLineWidth(1);
    panel->setMidLineWidth(0);
    panel->setGeometry(11, 11, 389, 223);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setToolTip(aboutText::HintPanel());
    Panel1 = panel;

    ProgramIcon = label(Panel1, "ProgramIcon", QPoint(11, 11), aboutText::HintIcon());
    ProgramIcon->resize(94, 86);
    ProgramIcon->setAlignment(Qt::AlignCenter);
    QIcon icon = QApplication::windowIcon();
    // Without an icon of its own the program shows the desktop's volume symbol.
    if (icon.isNull())
        icon = style()->standardIcon(QStyle::SP_MediaVolume);
    ProgramIcon->setPixmap(icon.pixmap(64, 64));

    ProductName = label(Panel1, "ProductName", QPoint(122, 30), aboutText::HintProduct());
    Version = label(Panel1, "Version", QPoint(122, 63), aboutText::HintVersion());
    Copyright = label(Panel1, "Copyright", QPoint(11, 111), aboutText::HintCopyright());
    Comments = label(Panel1, "Comments", QPoint(11, 144));
    setText(Comments, aboutText::Comments);
    Comment0 = label(Panel1, "Comment0", QPoint(88, 144));
    Comment1 = label(Panel1, "Comment1", QPoint(88, 168));
    Comment2 = label(Panel1, "Comment2", QPoint(88, 192));

    // Inside the panel's two-pixel groove, which they would cover at its right.
    ColorBtn2 = colorButton(Panel1, "ColorBtn2", aboutText::HomeCaption,
                            aboutText::HomeHint() + QLatin1Char(' ') + maker::HomePage1, QRect(286, 63, 100, 25));
    ColorBtn3 = colorButton(Panel1, "ColorBtn3", aboutText::MailCaption(), aboutText::MailHint(), QRect(198, 108, 188, 25));
    ColorBtn1 = colorButton(this, "ColorBtn1", aboutText::OkCaption(), aboutText::OkHint(), QRect(154, 248, 106, 38));
    ColorBtn1->SetBevelWidth(2);
    ColorBtn1->SetDefault(true);
    // The focus starts on "Ｏ Ｋ": Enter, pressed to be done with the box,
    // must not start the home-page question (whose countdown answers Yes).
    ColorBtn1->setFocus(Qt::OtherFocusReason);
    connect(ColorBtn1, &ColourButton::OnClick, this, &AboutBoxWindow::ColorBtn1Click);
    connect(ColorBtn2, &ColourButton::OnClick, this, &AboutBoxWindow::ColorBtn2Click);
    connect(ColorBtn3, &ColourButton::OnClick, this, &AboutBoxWindow::ColorBtn3Click);

    m_messageBox = new MessageBox(this);

    // Hints follow the main window's switch: swallow tool-tips while it is off.
    const QList<QWidget *> children = findChildren<QWidget *>();
    for (QWidget *child : children)
        child->installEventFilter(this);
}

void AboutBoxWindow::SetTexts(const QString &productLine, const QString &version, const QString &copyright,
                         const QString &comment0, const QString &comment1, const QString &comment2)
{
    setText(ProductName, productLine);
    setText(Version, aboutText::VersionPrefix + version);
    setText(Copyright, aboutText::CopyrightPrefix + copyright);
    setText(Comment0, comment0);
    setText(Comment1, comment1);
    setText(Comment2, comment2);
}

void AboutBoxWindow::SetHintsOn(bool on)
{
    m_hintsOn = on;
}

bool AboutBoxWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ToolTip && !m_hintsOn)
        return true;
    return QDialog::eventFilter(watched, event);
}

void AboutBoxWindow::ColorBtn1Click()
{
    done(1);
}

bool AboutBoxWindow::openOrComplain(const QString &url, const QString &failure)
{
    if (AboutBox::OpenUrl(QUrl(url))) {
        done(1);
        return true;
    }
    m_messageBox->ShowOKTimer(failure, mkresult::kOk);
    return false;
}

void AboutBoxWindow::ColorBtn2Click()
{
    const auto ask = [this](const QString &address) {
        return m_messageBox->ShowYesNoTimer(aboutText::AskHomeHead() + address + aboutText::AskHomeTail(), mkresult::kYes);
    };
    if (ask(maker::HomePage1) == mkresult::kYes) {
        openOrComplain(maker::HomePage1, aboutText::NoBrowser());
        return;
    }
    if (ask(maker::HomePage2) == mkresult::kYes)
        openOrComplain(maker::HomePage2, aboutText::NoBrowser());
}

void AboutBoxWindow::ColorBtn3Click()
{
    openOrComplain(QStringLiteral("mailto:") + maker::Mail, aboutText::NoMailer());
}

void AboutBoxWindow::applyColours()
{
    const QWidget *main = FindMainWindow();
    if (!main)
        return;
    const QColor back = main->palette().color(QPalette::Window);
    const QColor text = main->palette().color(QPalette::WindowText);
    QPalette pal = palette();
    if (pal.color(QPalette::Window) == back && pal.color(QPalette::WindowText) == text)
        return; // setting an equal palette would only schedule another paint
    pal.setColor(QPalette::Window, back);
    pal.setColor(QPalette::WindowText, text);
    pal.setColor(QPalette::ButtonText, text);
    setPalette(pal);
}

void AboutBoxWindow::paintEvent(QPaintEvent *event)
{
    applyColours();
    QDialog::paintEvent(event);
}

void AboutBoxWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    applyColours();
    raise();
    activateWindow();
}

void AboutBoxWindow::keyPressEvent(QKeyEvent *event)
{
    // Enter and Esc belong to the colour buttons alone: none of them is a
    // cancel button, so Esc does nothing, as in the message box.
    if (!DialogKeys::SwallowDefaultKeys(event))
        QDialog::keyPressEvent(event);
}

void AboutBoxWindow::closeEvent(QCloseEvent *event)
{
    // The title bar's close box: not result 1.
    if (isVisible())
        done(mkresult::kClosed);
    event->accept();
}

} // namespace nuvask
