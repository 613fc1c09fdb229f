// The colour button: the program's push button.

#include "ui/widgets/ColourButton.h"

#include "ui/widgets/DialogKeys.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

#include <algorithm>

namespace nuvask {

namespace {

// Pressed shade: each channel 32 lower, never below 0.
QColor Darkened(const QColor &color)
{
    return QColor(std::max(color.red() - 32, 0), std::max(color.green() - 32, 0),
                  std::max(color.blue() - 32, 0));
}

bool IsBlack(const QColor &color)
{
    return (color.rgb() & 0xFFFFFF) == 0;
}

constexpr QRgb kPressedText = 0xDDDDDD;      // light grey on a coloured button
constexpr QRgb kPressedTextOnBlack = 0x333333; // dark grey when the text was black
constexpr QRgb kBevelLight = 0xFFFFFF;
constexpr QRgb kBevelShadow = 0x808080;

} // namespace

ColourButton::ColourButton(QWidget *parent) : QWidget(parent)
{
    resize(75, 25);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    // The panel paints its whole area itself.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ColourButton::SetCaption(const QString &caption)
{
    m_caption = caption;
    update();
}

QChar ColourButton::Accelerator() const
{
    for (qsizetype i = 0; i + 1 < m_caption.size(); ++i) {
        if (m_caption[i] != u'&')
            continue;
        if (m_caption[i + 1] != u'&')
            return m_caption[i + 1];
        ++i; // "&&" is a literal ampersand
    }
    return {};
}

void ColourButton::SetBevelWidth(int pixels)
{
    if (pixels == m_bevelWidth)
        return;
    m_bevelWidth = pixels;
    update();
}

void ColourButton::SetTabStop(bool on)
{
    m_tabStop = on;
    // Without a tab stop the button still takes the focus when it is clicked.
    setFocusPolicy(on ? Qt::StrongFocus : Qt::ClickFocus);
}

QColor ColourButton::Color() const
{
    return m_ownColor ? *m_ownColor : palette().color(QPalette::Window);
}

void ColourButton::SetColor(const QColor &color)
{
    m_ownColor = color;
    update();
}

void ColourButton::SetParentColor(bool on)
{
    if (on)
        m_ownColor.reset();
    else if (!m_ownColor)
        m_ownColor = Color();
    update();
}

QColor ColourButton::FontColor() const
{
    return m_ownFontColor ? *m_ownFontColor : palette().color(QPalette::WindowText);
}

void ColourButton::SetFontColor(const QColor &color)
{
    m_ownFontColor = color;
    update();
}

void ColourButton::SetParentFont(bool on)
{
    if (on)
        m_ownFontColor.reset();
    else if (!m_ownFontColor)
        m_ownFontColor = FontColor();
    update();
}

void ColourButton::SetDefault(bool on)
{
    m_default = on;
    if (QWidget *form = window(); form && form != this)
        DialogKeys::BroadcastFocus(form, form->focusWidget());
}

void ColourButton::Click()
{
    emit OnClick();
}

bool ColourButton::CanFocus() const
{
    return isVisible() && isEnabled();
}

void ColourButton::TakeFocus()
{
    if (CanFocus() && focusPolicy() != Qt::NoFocus)
        setFocus(Qt::MouseFocusReason);
}

void ColourButton::GoDown()
{
    m_down = true;
    // QColor is always plain RGB here, so there is no system colour to resolve.
    m_savedColor = Color();
    m_savedParentColor = ParentColor();
    m_savedFontColor = FontColor();
    m_savedParentFont = ParentFont();
    m_ownColor = Darkened(m_savedColor);
    m_ownFontColor = QColor::fromRgb(IsBlack(m_savedFontColor) ? kPressedTextOnBlack : kPressedText);
    move(pos() + QPoint(1, 1));
    update();
}

void ColourButton::GoUp()
{
    m_down = false;
    move(pos() - QPoint(1, 1));
    if (m_savedParentColor)
        m_ownColor.reset();
    else
        m_ownColor = m_savedColor;
    if (m_savedParentFont)
        m_ownFontColor.reset();
    else
        m_ownFontColor = m_savedFontColor;
    update();
}

void ColourButton::mousePressEvent(QMouseEvent *event)
{
    const QPointer<ColourButton> self(this);
    emit OnMouseDown(event->button(), event->modifiers(), event->position().toPoint());
    if (!self)
        return;
    if (event->button() == Qt::LeftButton && !m_down) {
        m_held = true;
        TakeFocus();
        GoDown();
    }
    event->accept();
}

void ColourButton::mouseMoveEvent(QMouseEvent *event)
{
    if (m_held) {
        // The first two columns and rows count as outside.
        const QPoint p = event->position().toPoint();
        const bool inside = p.x() > 1 && p.x() < width() && p.y() > 1 && p.y() < height();
        if (inside && m_left) {
            m_left = false;
            if (!m_down) {
                TakeFocus();
                GoDown();
            }
        } else if (!inside && m_down) {
            GoUp();
            m_left = true;
        }
    }
    emit OnMouseMove(event->buttons(), event->modifiers(), event->position().toPoint());
    event->accept();
}

void ColourButton::mouseReleaseEvent(QMouseEvent *event)
{
    const QPointer<ColourButton> self(this);
    m_left = false;
    m_held = false;
    if (event->button() == Qt::LeftButton && m_down) {
        GoUp();
        Click();
        if (!self)
            return;
    }
    emit OnMouseUp(event->button(), event->modifiers(), event->position().toPoint());
    event->accept();
}

void ColourButton::keyPressEvent(QKeyEvent *event)
{
    const QPointer<ColourButton> self(this);
    emit OnKeyDown(event->key(), event->modifiers());
    if (!self)
        return;
    if (event->key() == Qt::Key_Space) {
        if (!m_held && !m_down && !event->isAutoRepeat())
            GoDown();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void ColourButton::keyReleaseEvent(QKeyEvent *event)
{
    // A held key repeats its release too; only the real release counts.
    if (event->isAutoRepeat()) {
        event->accept();
        return;
    }
    const QPointer<ColourButton> self(this);
    if (!m_held && event->key() == Qt::Key_Space) {
        m_left = false;
        if (m_down) {
            GoUp();
            Click();
            if (!self)
                return;
        }
    }
    emit OnKeyUp(event->key(), event->modifiers());
    QWidget::keyReleaseEvent(event);
}

bool ColourButton::DialogChar(QChar character)
{
    const QChar accel = Accelerator();
    if (accel.isNull() || !isEnabled() || accel.toUpper() != character.toUpper())
        return false;
    Click();
    return true;
}

bool ColourButton::DialogKey(int key, Qt::KeyboardModifiers modifiers)
{
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    const bool esc = key == Qt::Key_Escape;
    const bool plain = (modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) == 0;
    if (!(((enter && m_active) || (esc && m_cancel)) && plain && CanFocus()))
        return false;
    Click();
    return true;
}

void ColourButton::FocusChanged(const QWidget *focused)
{
    if (qobject_cast<const ColourButton *>(focused))
        m_active = focused == this;
    else
        m_active = m_default;
    SetBevelWidth(m_active ? 2 : 1);
}

void ColourButton::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    // The application's focus signal does not fire for a window that is not
    // active yet; tell the window's buttons directly as well.
    DialogKeys::BroadcastFocus(window(), this);
}

void ColourButton::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    DialogKeys::Attach(window());
}

void ColourButton::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::EnabledChange)
        update();
    QWidget::changeEvent(event);
}

void ColourButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect all = rect();
    painter.fillRect(all, Color());

    // Outer bevel: light top-left and dark bottom-right when raised, swapped when pressed.
    const QColor topLeft = QColor::fromRgb(m_down ? kBevelShadow : kBevelLight);
    const QColor bottomRight = QColor::fromRgb(m_down ? kBevelLight : kBevelShadow);
    for (int i = 0; i < m_bevelWidth; ++i) {
        const QRect r = all.adjusted(i, i, -i, -i);
        painter.setPen(topLeft);
        painter.drawLine(r.topLeft(), r.topRight());
        painter.drawLine(r.topLeft(), r.bottomLeft());
        painter.setPen(bottomRight);
        painter.drawLine(r.bottomLeft(), r.bottomRight());
        painter.drawLine(r.topRight(), r.bottomRight());
    }

    painter.setPen(isEnabled() ? FontColor() : palette().color(QPalette::Disabled, QPalette::WindowText));
    painter.setFont(font());
    painter.drawText(all, Qt::AlignCenter | Qt::TextShowMnemonic, m_caption);
}

void ShowSwitchedOn(ColourButton &button, bool on)
{
    if (on) {
        button.SetColor(QColor(255, 0, 0)); // 0x0000FF as the colour value of the original's palette order
        button.SetFontColor(QColor(255, 255, 255));
    } else {
        button.SetParentColor(true);
        button.SetParentFont(true);
    }
}

} // namespace nuvask
