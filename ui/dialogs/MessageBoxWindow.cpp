// The message box form.

#include "ui/dialogs/MessageBoxWindow.h"

#include "ui/widgets/WindowCaption.h"

#include "core/base/TextHelpers.h"
#include "ui/widgets/ColourButton.h"
#include "ui/widgets/DialogKeys.h"
#include "ui/dialogs/MessageBoxIcons.h"
#include "ui/dialogs/MessageBoxTexts.h"
#include "ui/dialogs/WorkArea.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTimer>

#include <algorithm>

namespace nuvask {

namespace {

constexpr int kIcon = 32;       // Image_Box width and height, pixels
constexpr int kTextTop = 16;    // MemoMsg top, pixels
constexpr int kButtonW = 89;    // every button of the box, pixels
constexpr int kButtonH = 33;
constexpr int kBarH = 3;        // Label_Select height, pixels
constexpr int kFontHeight = 13; // box font character height, pixels
constexpr int kMinGap = 10;     // smallest gap between row buttons, pixels
constexpr QRgb kBarRed = 0xFF0000;  // as QRgb: red
constexpr QRgb kBarBlue = 0x0000FF; // as QRgb: blue

int &TickRef()
{
    static int ms = 1000;
    return ms;
}

void SetPaletteColor(QWidget *w, QPalette::ColorRole role, const QColor &color)
{
    if (w->palette().color(role) == color)
        return;
    QPalette p = w->palette();
    p.setColor(role, color);
    w->setPalette(p);
}

} // namespace

int MessageBoxWindow::TickIntervalMs()
{
    return TickRef();
}

void MessageBoxWindow::SetTickIntervalMs(int ms)
{
    TickRef() = ms > 0 ? ms : 1000;
}

int MessageBoxWindow::PaintDelayMs()
{
    return 200;
}

ColourButton *MessageBoxWindow::MakeButton(const char *name, const QString &caption, int bevelWidth)
{
    auto *button = new ColourButton(this);
    button->setObjectName(QString::fromLatin1(name));
    button->SetCaption(caption);
    button->resize(kButtonW, kButtonH);
    button->SetBevelWidth(bevelWidth);
    return button;
}

MessageBoxWindow::MessageBoxWindow(Kind kind, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      m_kind(kind)
{
    setObjectName(QStringLiteral("MKBox"));
    setModal(true);
    QFont boxFont(QStringLiteral("System"));
    boxFont.setPixelSize(kFontHeight);
    setFont(boxFont);

    m_msg = new QLabel(this);
    m_msg->setObjectName(QStringLiteral("Msg"));
    m_msg->move(88, 16);
    m_msg->hide();

    m_imageBox = new QLabel(this);
    m_imageBox->setObjectName(QStringLiteral("Image_Box"));
    m_imageBox->setGeometry(16, 16, kIcon, kIcon);

    m_imageMK = new QLabel(this);
    m_imageMK->setObjectName(QStringLiteral("Image_MK"));
    m_imageMK->setPixmap(QPixmap::fromImage(MessageBoxIconOn(MessageBoxInfoIcon(), Qt::black)));
    m_imageMK->hide();
    m_imageYN = new QLabel(this);
    m_imageYN->setObjectName(QStringLiteral("Image_YN"));
    m_imageYN->setPixmap(QPixmap::fromImage(MessageBoxIconOn(MessageBoxQuestionIcon(), Qt::black)));
    m_imageYN->hide();
    m_icon = kind == YesNoBox ? MessageBoxQuestionIcon() : MessageBoxInfoIcon();

    m_memoMsg = new QPlainTextEdit(this);
    m_memoMsg->setObjectName(QStringLiteral("MemoMsg"));
    m_memoMsg->setReadOnly(true);
    m_memoMsg->setFocusPolicy(Qt::ClickFocus); // no tab stop, but selectable
    m_memoMsg->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_memoMsg->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_memoMsg->document()->setDocumentMargin(2);
    m_memoMsg->move(2 * kIcon, kTextTop);

    m_btnOK = MakeButton("Btn_OK", message_box_texts::kOk(), 2);
    m_btnYes = MakeButton("Btn_Yes", message_box_texts::kYes(), 2);
    m_btnNo = MakeButton("Btn_No", message_box_texts::kNo(), 1);
    // "ｶｳﾝﾄ再開" lies under "一時停止" and shows when that one hides itself.
    m_btnTmOpen = MakeButton("Btn_TM_OPEN", message_box_texts::kResume(), 1);
    m_btnTmStop = MakeButton("Btn_TM_STOP", message_box_texts::kPause(), 1);
    m_btnYes->hide();
    m_btnNo->hide();
    m_btnTmStop->hide();
    m_btnTmOpen->hide();
    m_btnOK->SetDefault(true);
    m_btnYes->SetDefault(true);
    m_btnNo->SetCancel(true);
    setTabOrder(m_btnOK, m_btnYes);
    setTabOrder(m_btnYes, m_btnNo);
    setTabOrder(m_btnNo, m_btnTmStop);
    setTabOrder(m_btnTmStop, m_btnTmOpen);

    m_labelTM = new QLabel(this);
    m_labelTM->setObjectName(QStringLiteral("Label_TM"));
    m_labelTM->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_labelTM->hide();
    m_tmCountS = new QLabel(this);
    m_tmCountS->setObjectName(QStringLiteral("TMCountS"));
    m_tmCountS->hide();
    m_labelSelect = new QLabel(this);
    m_labelSelect->setObjectName(QStringLiteral("Label_Select"));
    m_labelSelect->resize(kButtonW, kBarH);
    m_labelSelect->setAutoFillBackground(true);
    m_labelSelect->hide();

    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(TickIntervalMs());
    m_timerPaint = new QTimer(this);
    m_timerPaint->setObjectName(QStringLiteral("Timer_Paint"));
    m_timerPaint->setInterval(PaintDelayMs());
    m_timerPaint->setSingleShot(true);

    connect(m_btnOK, &ColourButton::OnClick, this, [this] { done(mkresult::kOk); });
    connect(m_btnYes, &ColourButton::OnClick, this, [this] { done(mkresult::kYes); });
    connect(m_btnNo, &ColourButton::OnClick, this, [this] { done(mkresult::kNo); });
    connect(m_btnTmStop, &ColourButton::OnClick, this, &MessageBoxWindow::Btn_TM_STOPClick);
    connect(m_btnTmOpen, &ColourButton::OnClick, this, &MessageBoxWindow::Btn_TM_OPENClick);
    connect(m_timer1, &QTimer::timeout, this, &MessageBoxWindow::Timer1Timer);
    connect(m_timerPaint, &QTimer::timeout, this, &MessageBoxWindow::Timer_PaintTimer);

    SetHintsOn(true);
}

QSize MessageBoxWindow::MeasureText(const QFont &font, const QString &text)
{
    const QFontMetrics metrics(font);
    // An empty text is measured as one space, so that it still has a line.
    const QString measured = text.isEmpty() ? QStringLiteral(" ") : text;
    int widest = 0;
    int lines = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= measured.size(); ++i) {
        const bool end = i == measured.size();
        if (!end && measured[i] != u'\n' && measured[i] != u'\r')
            continue;
        widest = std::max(widest, metrics.horizontalAdvance(measured.mid(start, i - start)));
        ++lines;
        if (!end && measured[i] == u'\r' && i + 1 < measured.size() && measured[i + 1] == u'\n')
            ++i; // CR LF is one break
        start = i + 1;
    }
    return {widest, lines * metrics.height()};
}

QString MessageBoxWindow::MemoText(const QString &text)
{
    // A text field breaks lines at CR LF. An existing CR LF stays one break.
    QString out;
    out.reserve(text.size() + text.count(u'\n'));
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            continue;
        if (text[i] == u'\n')
            out += u'\r';
        out += text[i];
    }
    return out;
}

void MessageBoxWindow::SetCountdownLabel(const QString &text)
{
    // Right-justified and auto-sized: the right edge stays where it was.
    const int right = m_labelTM->x() + m_labelTM->width();
    m_labelTM->setText(text);
    m_labelTM->adjustSize();
    m_labelTM->move(right - m_labelTM->width(), m_labelTM->y());
}

void MessageBoxWindow::Prepare(const QString &text, const QString &startText, bool countdown, int defaultAnswer)
{
    const bool yesNo = m_kind == YesNoBox;

    m_msg->setText(text);
    m_msg->resize(MeasureText(font(), text));
    m_labelTM->setText(startText + message_box_texts::kSeconds());
    m_labelTM->adjustSize();

    m_memoMsg->clear();
    m_memoMsg->setPlainText(MemoText(text));

    // Text area beside the icon column; the font height (13) is added twice.
    const int memoLeft = 2 * kIcon;
    int memoWidth = m_msg->width() + 10;
    const int memoHeight = m_msg->height() + 2 * kFontHeight;

    // At least as wide as its title (set before), which the desktop would
    // otherwise cut in the middle.
    const int titleWidth = CaptionWidth(windowTitle()) + kFrameWidth;
    m_width = std::max(3 * kIcon + memoWidth, titleWidth);
    m_height = kIcon > memoHeight ? 3 * kIcon + kButtonH + kIcon / 2
                                  : memoHeight + kButtonH + 2 * kIcon + kIcon / 2;
    int clientWidth = m_width - kFrameWidth;
    const int clientHeight = m_height - kFrameHeight;

    const int imageTop = std::max((memoHeight - kIcon) / 2 + kTextTop - 4, 16);
    const int textBottom = std::max(kTextTop + memoHeight, imageTop + kIcon);
    const int rowTop = textBottom + (clientHeight - textBottom - kButtonH) / 2;

    int okLeft = 0, yesLeft = 0, noLeft = 0, stopLeft = 0;
    if (!yesNo && !countdown) {
        okLeft = (clientWidth - kButtonW) / 2;
    } else if (!yesNo) {
        const int gap = std::max((clientWidth - 2 * kButtonW) / 3, kMinGap);
        okLeft = gap;
        stopLeft = okLeft + kButtonW + gap;
    } else if (!countdown) {
        const int gap = std::max((clientWidth - 2 * kButtonW) / 3, kMinGap);
        yesLeft = gap;
        noLeft = yesLeft + kButtonW + gap;
    } else {
        const int gap = std::max((clientWidth - 3 * kButtonW) / 4, kMinGap);
        yesLeft = gap;
        noLeft = yesLeft + kButtonW + gap;
        stopLeft = noLeft + kButtonW + gap;
    }

    int barLeft = -1;
    int barTop = rowTop - kBarH;
    if (countdown) {
        if (!yesNo && defaultAnswer == mkresult::kOk)
            barLeft = okLeft;
        else if (yesNo && defaultAnswer == mkresult::kYes)
            barLeft = yesLeft;
        else if (yesNo && defaultAnswer == mkresult::kNo)
            barLeft = noLeft;
        else if (defaultAnswer == mkresult::kClosed) {
            barLeft = stopLeft + kButtonW;
            barTop = 3;
        }
    }

    // A quarter of a button, the part of it the text area may reach into.
    const int quarter = static_cast<int>(RoundDiv(kButtonW, 4));
    if (countdown) {
        const int stopRight = stopLeft + kButtonW;
        if (clientWidth - stopRight < m_labelTM->width()) {
            clientWidth = stopRight + m_labelTM->width();
            m_width = clientWidth + kFrameWidth;
        }
        memoWidth = std::max(memoWidth, quarter * 3 + stopLeft - memoLeft);
        m_labelTM->move(clientWidth - m_labelTM->width(), clientHeight - m_labelTM->height());
    } else {
        const int lastLeft = yesNo ? noLeft : okLeft;
        const int lastRight = lastLeft + kButtonW;
        if (memoLeft + memoWidth < lastRight) {
            m_width = std::max(lastRight + kIcon / 2, titleWidth);
            clientWidth = m_width - kFrameWidth;
            memoWidth = std::max(memoWidth, quarter * 3 + lastLeft - memoLeft);
        }
    }

    m_memoMsg->setGeometry(memoLeft, kTextTop, memoWidth, memoHeight);
    m_imageBox->move(16, imageTop);
    m_btnOK->move(okLeft, rowTop);
    m_btnYes->move(yesLeft, rowTop);
    m_btnNo->move(noLeft, rowTop);
    m_btnTmStop->move(stopLeft, rowTop);
    m_btnTmOpen->move(stopLeft, rowTop);
    m_btnOK->setVisible(!yesNo);
    m_btnYes->setVisible(yesNo);
    m_btnNo->setVisible(yesNo);
    m_btnTmStop->setVisible(countdown);
    m_btnTmOpen->setVisible(countdown);
    m_btnTmStop->raise();
    m_labelTM->setVisible(countdown);
    if (barLeft >= 0)
        m_labelSelect->move(barLeft, barTop);
    m_labelSelect->setVisible(barLeft >= 0);
    m_tmCountS->setText(startText);

    setFixedSize(clientWidth, clientHeight);
    (yesNo ? m_btnYes : m_btnOK)->setFocus(Qt::OtherFocusReason);
}

QSize MessageBoxWindow::OuterSize() const
{
    return {m_width, m_height};
}

void MessageBoxWindow::SetHintsOn(bool on)
{
    m_hintsOn = on;
    m_memoMsg->setToolTip(on ? message_box_texts::kMemoHint() : QString());
    m_labelSelect->setToolTip(on ? message_box_texts::kDefaultBarHint() : QString());
}

void MessageBoxWindow::SetCountdownRunning(bool on)
{
    m_timer1->setInterval(TickIntervalMs());
    if (on)
        m_timer1->start();
    else
        m_timer1->stop();
}

bool MessageBoxWindow::CountdownRunning() const
{
    return m_timer1->isActive();
}

void MessageBoxWindow::Timer1Timer()
{
    if (m_ticking)
        return;
    m_ticking = true;
    // Let waiting work run; a nested tick meanwhile finds the flag set.
    QCoreApplication::processEvents();
    if (!m_countRead) {
        m_remaining = m_tmCountS->text().toInt();
        m_countRead = true;
    }
    --m_remaining;
    SetCountdownLabel(QString::number(m_remaining) + message_box_texts::kSeconds());
    // The user may have answered while waiting work ran; that answer stands.
    if (m_remaining < 1 && isVisible())
        done(mkresult::kTimedOut);
    m_ticking = false;
}

void MessageBoxWindow::Btn_TM_STOPClick()
{
    m_btnTmStop->hide();
    repaint();
    m_timer1->stop();
}

void MessageBoxWindow::Btn_TM_OPENClick()
{
    m_btnTmStop->show();
    repaint();
    m_timer1->start();
}

void MessageBoxWindow::ApplyColours()
{
    if (const QWidget *main = FindMainWindow()) {
        SetPaletteColor(this, QPalette::Window, main->palette().color(QPalette::Window));
        SetPaletteColor(this, QPalette::WindowText, main->palette().color(QPalette::WindowText));
    }
    const QColor face = palette().color(QPalette::Window);
    SetPaletteColor(m_memoMsg, QPalette::Base, face);
    SetPaletteColor(m_memoMsg, QPalette::Text, palette().color(QPalette::WindowText));
    // The bar must stand out: blue on a red window, red on any other.
    const bool redFace = (face.rgb() & 0xFFFFFF) == kBarRed;
    SetPaletteColor(m_labelSelect, QPalette::Window, QColor::fromRgb(redFace ? kBarBlue : kBarRed));
}

void MessageBoxWindow::DrawIcon()
{
    const QRgb background = palette().color(QPalette::Window).rgb();
    // Redrawing an unchanged picture would only schedule another paint.
    if (m_iconDrawn && background == m_iconBackground)
        return;
    m_imageBox->setPixmap(QPixmap::fromImage(MessageBoxIconOn(m_icon, QColor::fromRgb(background))));
    m_iconBackground = background;
    m_iconDrawn = true;
}

void MessageBoxWindow::Timer_PaintTimer()
{
    m_timerPaint->stop();
    DrawIcon();
}

void MessageBoxWindow::paintEvent(QPaintEvent *event)
{
    ApplyColours();
    QDialog::paintEvent(event);
    m_timerPaint->start();
}

void MessageBoxWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    ApplyColours();
    DrawIcon();
    activateWindow();
}

void MessageBoxWindow::closeEvent(QCloseEvent *event)
{
    // Title bar close box or Alt+F4.
    if (isVisible())
        done(mkresult::kClosed);
    event->accept();
}

void MessageBoxWindow::keyPressEvent(QKeyEvent *event)
{
    // Enter and Esc belong to the colour buttons alone: an OK box ignores Esc
    // instead of rejecting as a plain dialog would.
    if (!DialogKeys::SwallowDefaultKeys(event))
        QDialog::keyPressEvent(event);
}

} // namespace nuvask
