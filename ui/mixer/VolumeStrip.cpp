// One volume strip's widgets.

#include "ui/mixer/VolumeStrip.h"

#include "core/mixer/MixerLayer.h"
#include "ui/widgets/ColourButton.h"
#include "ui/widgets/ColourLabel.h"
#include "ui/widgets/ElidingComboBox.h"
#include "ui/widgets/UpDown.h"
#include "ui/mixer/VolumeStripTexts.h"
#include "ui/widgets/WidgetPlacement.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QSignalBlocker>

namespace nuvask {

namespace {

const QColor Lime(0, 255, 0);
constexpr int kBarTop = 61;      // pixels: the volume bar's and the meter's top
constexpr int kMuxListTop = 176; // pixels: the own source list in the boxes' row

QString named(const char *prefix, int strip)
{
    return QString::fromLatin1(prefix) + QString::number(strip);
}

QComboBox *dropDown(QWidget *parent, const QString &name, const QRect &geometry, const QString &hint = QString())
{
    auto *list = placed(new ElidingComboBox(parent), name, geometry, hint);
    list->setEditable(false);
    return list;
}

// A white letter on a colour, hidden until the strip's feature needs it.
QLabel *mark(QWidget *parent, const QString &letter, const QColor &colour, const QString &name, const QRect &geometry,
             const QString &hint = QString())
{
    auto *label = placed(new QLabel(letter, parent), name, geometry, hint);
    label->setAlignment(Qt::AlignCenter);
    label->setAutoFillBackground(true);
    QPalette colours = label->palette();
    colours.setColor(QPalette::Window, colour);
    colours.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(colours);
    label->hide();
    return label;
}

// Refills a list without running its handler.
void refill(QComboBox *list, const QStringList &items, int select)
{
    const QSignalBlocker quiet(list);
    list->clear();
    list->addItems(items);
    list->setCurrentIndex(select < list->count() ? select : -1);
}

} // namespace

VolumeStrip::VolumeStrip(int strip, QWidget *parent) : QFrame(parent), m_strip(strip)
{
    setObjectName(named("PV", strip));
    resize(strip == 2 ? WideWidth : NarrowWidth, PanelHeight);
    buildWidgets();
}

void VolumeStrip::buildWidgets()
{
    const int n = m_strip;
    const bool wide = n == 2;
    const int smallButtonHeight = wide ? 17 : 15; // pixels
    // The row above the bar ends where the bar begins (the taller buttons of
    // the wide strip start higher).
    const int aboveBarTop = kBarTop - smallButtonHeight;

    // Created from the bottom of the stacking order to the top: a later
    // control covers an earlier one at the same place.
    Label_VM0 = placed(new ColourLabel(Lime, this), named("Label_VM0_", n), {4, kBarTop, 10, 96}, stripText::HintVolumeBar());
    Label_VM1 = placed(new ColourLabel(Qt::black, this), named("Label_VM1_", n), {4, kBarTop, 10, 0}, stripText::HintVolumeBar());
    Label_NOW_T = placed(new QLabel(stripText::Now, this), named("Label_NOW_T", n), {16, 66, 22, 12},
                         stripText::HintNowTitle());
    Label_NOW = placed(new QLabel(stripText::NowDesign, this), named("Label_NOW_", n), {19, 82, 18, 12},
                       stripText::HintNow());
    Label_NOW->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    condense(Label_NOW);
    condense(Label_NOW_T);
    Label_AUTO = mark(this, stripText::Auto, Qt::red, named("Label_AUTO_", n), {27, 100, 8, 12});
    if (wide) {
        // The guard keeps strip 2 only; its mark sits in the free column right
        // of the meter, beside the window-corner buttons.
        Label_GUARD = mark(this, stripText::Guard, Qt::blue, named("Label_GUARD_", n), {52, 73, 8, 12},
                           stripText::HintGuard());
    }
    CB_MX = dropDown(this, named("CB_MX", n), {2, kMuxListTop, 88, 20}, stripText::HintRecSelect());
    CB_MX->hide();
    CB_Mixer = dropDown(this, named("CB_Mixer", n), {2, 24, 200, 20});
    CB_Mixer->setProperty("tag", n);
    UpDown_ = placed(new UpDown(this), named("UpDown", n), {14, 100, 12, 57}, stripText::HintUpDown());
    Ch_MT = placed(new QCheckBox(StripCaption::Mute, this), named("Ch_MT", n), {4, 180, 49, 17}, stripText::HintMute());
    Ch_MX = placed(new QCheckBox(StripCaption::RecSelect(), this), named("Ch_MX", n), {4, 180, 49, 17},
                   stripText::HintRecSelect());
    Ch_MX->hide();
    if (wide) {
        // Strip 2's second row belongs to the registered volumes: its source
        // list shares the top row with the destination list, on top of it.
        ComboBox_DST = dropDown(this, named("ComboBox_DST", n), {2, 2, 115, 20}, stripText::HintDestination());
        ComboBox_SRC = dropDown(this, named("ComboBox_SRC", n), {2, 2, 88, 20}, stripText::HintSource());
    } else {
        ComboBox_SRC = dropDown(this, named("ComboBox_SRC", n), {2, 24, 88, 20}, stripText::HintSource());
        ComboBox_DST = dropDown(this, named("ComboBox_DST", n), {2, 2, 115, 20}, stripText::HintDestination());
    }

    // The meter column: red, yellow and lime zones under a black cover.
    P_PK = placed(new QFrame(this), named("P_PK", n), {wide ? 40 : 38, kBarTop, 10, 115});
    P_PK->setFrameShape(QFrame::NoFrame);
    placed(new ColourLabel(Qt::red, P_PK), QString(), {0, 0, 10, 16});
    placed(new ColourLabel(Qt::yellow, P_PK), QString(), {0, 16, 10, 16});
    Label_PM0 = placed(new ColourLabel(Lime, P_PK), named("Label_PM0_", n), {0, 32, 10, 64}, stripText::HintPeakMeter());
    Label_PM0->setProperty("tag", volumeBarHeight());
    Label_PM1 = placed(new ColourLabel(Qt::black, P_PK), named("Label_PM1_", n), {0, 0, 10, volumeBarHeight()},
                       stripText::HintPeakMeter());
    Btn_Peek = colorButton(P_PK, named("Btn_Peek", n), {0, 96, 10, 19}, stripText::Peek, stripText::HintPeek());
    P_PK->hide();

    Btn_MAX = colorButton(this, named("Btn_MAX_", n), {2, aboveBarTop, 20, smallButtonHeight}, stripText::Max,
                          stripText::HintMax());
    Btn_MIN = colorButton(this, named("Btn_MIN_", n), {2, 157, 15, smallButtonHeight}, stripText::Min,
                          stripText::HintMin());
    B_PK = colorButton(this, named("B_PK", n), {24, aboveBarTop, 35, smallButtonHeight}, StripCaption::Zero,
                       stripText::HintPeakHold());
    B_PK->hide();
    for (QWidget *number : std::initializer_list<QWidget *>{Btn_MAX, Btn_MIN, B_PK})
        condense(number);
    UpDown_L = placed(new UpDown(this), named("UpDown_L", n), {26, 116, 12, 41}, stripText::HintUpDownL());

    connect(CB_Mixer, &QComboBox::activated, this, &VolumeStrip::CB_MixerChange);
    connect(ComboBox_DST, &QComboBox::activated, this, &VolumeStrip::ComboBox_DSTChange);
    connect(ComboBox_SRC, &QComboBox::activated, this, &VolumeStrip::ComboBox_SRCChange);
    for (ColourLabel *bar : {Label_VM0, Label_VM1}) {
        connect(bar, &ColourLabel::OnMouseDown, this, &VolumeStrip::Label_VMMouseDown);
        connect(bar, &ColourLabel::OnMouseMove, this, [this](Qt::MouseButtons, QPoint pos) {
            Label_VMMouseMove(pos);
        });
        connect(bar, &ColourLabel::OnMouseUp, this, &VolumeStrip::Label_VMMouseUp);
    }
    connect(UpDown_, &UpDown::OnClick, this, [this] { UpDownClick(UpDown_); });
    connect(UpDown_L, &UpDown::OnClick, this, [this] { UpDownClick(UpDown_L); });
    connect(Btn_MAX, &ColourButton::OnClick, this, &VolumeStrip::Btn_MAXClick);
    connect(Btn_MIN, &ColourButton::OnClick, this, &VolumeStrip::Btn_MINClick);
    connect(Ch_MT, &QCheckBox::clicked, this, &VolumeStrip::Ch_MTClick);
    connect(Ch_MX, &QCheckBox::clicked, this, &VolumeStrip::Ch_MXClick);
    Ch_MT->installEventFilter(this);
    Ch_MX->installEventFilter(this);
    connect(CB_MX, &QComboBox::activated, this, &VolumeStrip::CB_MXChange);
    connect(Btn_Peek, &ColourButton::OnClick, this, &VolumeStrip::Btn_PeekClick);
    connect(B_PK, &ColourButton::OnClick, this, &VolumeStrip::B_PKClick);
}

void VolumeStrip::attach(MixerLayer *layer)
{
    m_layer = layer;
    if (m_layer)
        m_layer->SetStripView(m_strip, this);
}

// --- Lists and binding ---

void VolumeStrip::fillDevices(const QStringList &names)
{
    refill(CB_Mixer, names, names.isEmpty() ? -1 : 0);
}

void VolumeStrip::selectBinding(int device, int destination, int source)
{
    {
        const QSignalBlocker quiet(CB_Mixer);
        CB_Mixer->setCurrentIndex(device);
    }
    if (!m_layer)
        return;
    refill(ComboBox_DST, m_layer->DestNameList(deviceIndex()), destination);
    refill(ComboBox_SRC, m_layer->SrcNameList(deviceIndex(), destinationIndex()), source);
}

int VolumeStrip::deviceIndex() const
{
    return CB_Mixer->currentIndex();
}

int VolumeStrip::destinationIndex() const
{
    return ComboBox_DST->currentIndex();
}

int VolumeStrip::sourceIndex() const
{
    return ComboBox_SRC->currentIndex();
}

quint32 VolumeStrip::selectedLineId() const
{
    if (!m_layer)
        return 0;
    const QStringList &ids = m_layer->SrcLineIdList(deviceIndex(), destinationIndex());
    const int source = sourceIndex();
    return source >= 0 && source < ids.size() ? MixerLayer::NumberFromText(ids.at(source)) : 0;
}

QString VolumeStrip::bindSelection()
{
    QString error;
    if (m_layer)
        m_layer->StripBindLine(m_strip, deviceIndex(), destinationIndex(), error, selectedLineId());
    return error;
}

void VolumeStrip::CB_MixerChange()
{
    if (!m_layer)
        return;
    refill(ComboBox_DST, m_layer->DestNameList(deviceIndex()), 0);
    ComboBox_DSTChange();
}

void VolumeStrip::ComboBox_DSTChange()
{
    if (!m_layer)
        return;
    refill(ComboBox_SRC, m_layer->SrcNameList(deviceIndex(), destinationIndex()), 0);
    ComboBox_SRCChange();
}

void VolumeStrip::ComboBox_SRCChange()
{
    // What the layer found before an error stays shown; the text itself is not.
    bindSelection();
}

// --- Volume ---

void VolumeStrip::Label_VMMouseDown()
{
    m_dragging = true;
    LetMessagesRun();
}

void VolumeStrip::Label_VMMouseMove(QPoint pos)
{
    if (!m_dragging)
        return;
    // Both labels start at the bar's top, so the pointer's y is the black height.
    Label_VM1->resize(Label_VM1->width(), qBound(0, pos.y(), volumeBarHeight()));
}

void VolumeStrip::Label_VMMouseUp()
{
    m_dragging = false;
    LetMessagesRun();
    const int black = qBound(0, Label_VM1->height(), volumeBarHeight()); // pixels
    if (m_layer)
        m_layer->StripSetVolume(m_strip, -1, black);
}

void VolumeStrip::UpDownClick(UpDown *clicked)
{
    UpDown *other = clicked == UpDown_ ? UpDown_L : UpDown_;
    other->SetPosition(clicked->Position());
    other->update();
    if (m_layer)
        m_layer->StripSetVolume(m_strip, clicked->Position(), 0);
}

void VolumeStrip::Btn_MAXClick()
{
    if (m_layer)
        m_layer->StripSetVolume(m_strip, UpDown_->Max(), 0);
}

void VolumeStrip::Btn_MINClick()
{
    if (m_layer)
        m_layer->StripSetVolume(m_strip, 0, 0);
}

// --- Boxes and the own source list ---

bool VolumeStrip::eventFilter(QObject *watched, QEvent *event)
{
    // The boxes act on the mouse button's release over them: let the box
    // handle the release with the mark set, so that its click handler knows.
    if ((watched == Ch_MT || watched == Ch_MX) && event->type() == QEvent::MouseButtonRelease) {
        m_boxMouseRelease = true;
        static_cast<QObject *>(watched)->event(event);
        m_boxMouseRelease = false;
        return true;
    }
    return QFrame::eventFilter(watched, event);
}

void VolumeStrip::Ch_MTClick(bool checked)
{
    if (!m_boxMouseRelease) {
        // A keyboard toggle writes nothing, so the box goes back to what it
        // showed: the mixer's state.
        SetBoxChecked(StripBox::Mute, !checked);
        return;
    }
    if (m_layer)
        m_layer->StripSetMute(m_strip, checked);
}

void VolumeStrip::Ch_MXClick(bool checked)
{
    if (!m_boxMouseRelease || !checked) {
        // A source is unselected only by selecting another one.
        SetBoxChecked(StripBox::RecSelect, !checked);
        return;
    }
    if (m_layer)
        m_layer->StripSetRecSelect(m_strip, true);
}

void VolumeStrip::CB_MXChange(int index)
{
    if (m_layer)
        m_layer->StripSelectMuxItem(m_strip, index);
}

// --- Meter ---

void VolumeStrip::Btn_PeekClick()
{
    if (m_layer)
        m_layer->StripTogglePeak(m_strip);
    SetPeakCover(volumeBarHeight());
}

void VolumeStrip::B_PKClick()
{
    if (m_layer)
        m_layer->StripResetPeakHold(m_strip);
    else
        SetPeakHoldCaption(StripCaption::Zero);
}

// --- StripView ---

void VolumeStrip::setAutoMarkVisible(bool visible)
{
    Label_AUTO->setVisible(visible);
}

void VolumeStrip::setGuardMarkVisible(bool visible)
{
    if (Label_GUARD)
        Label_GUARD->setVisible(visible);
}

int VolumeStrip::volumeBarHeight() const
{
    return Label_VM0->height();
}

QString VolumeStrip::nowText() const
{
    return Label_NOW->text();
}

void VolumeStrip::ShowGroup(StripGroup group, bool visible)
{
    switch (group) {
    case StripGroup::Volume:
        for (QWidget *w : std::initializer_list<QWidget *>{Label_VM0, Label_VM1, UpDown_, UpDown_L, Label_NOW,
                                                          Label_NOW_T, Btn_MIN, Btn_MAX})
            w->setVisible(visible);
        break;
    case StripGroup::MuteBox:
        Ch_MT->setVisible(visible);
        break;
    case StripGroup::RecSelect:
        Ch_MX->setVisible(visible);
        break;
    case StripGroup::OwnMux:
        CB_MX->setVisible(visible);
        break;
    case StripGroup::PeakMeter:
        B_PK->setVisible(visible);
        P_PK->setVisible(visible);
        break;
    }
}

bool VolumeStrip::GroupShown(StripGroup group) const
{
    switch (group) {
    case StripGroup::Volume:
        return !Label_VM0->isHidden();
    case StripGroup::MuteBox:
        return !Ch_MT->isHidden();
    case StripGroup::RecSelect:
        return !Ch_MX->isHidden();
    case StripGroup::OwnMux:
        return !CB_MX->isHidden();
    case StripGroup::PeakMeter:
        return !P_PK->isHidden();
    }
    return false;
}

void VolumeStrip::SetVolumeRange(int maximum, int fastIncrement)
{
    for (UpDown *arrows : {UpDown_, UpDown_L}) {
        arrows->SetMin(0);
        arrows->SetMax(maximum);
    }
    UpDown_->SetIncrement(fastIncrement);
    UpDown_L->SetIncrement(1);
}

void VolumeStrip::SetLimitCaptions(const QString &maxCaption, const QString &minCaption)
{
    Btn_MAX->SetCaption(maxCaption);
    Btn_MIN->SetCaption(minCaption);
}

void VolumeStrip::SetVolumeShown(int steps, int blackHeight)
{
    const QString number = QString::number(steps);
    const int black = qBound(0, blackHeight, volumeBarHeight());
    // The same volume again (a second strip's write, a restore shown at
    // once and then notified) is drawn once, not twice.
    if (Label_NOW->text() == number && Label_VM1->height() == black && UpDown_->Position() == steps
        && UpDown_L->Position() == steps)
        return;
    Label_NOW->setText(number);
    Label_VM1->resize(Label_VM1->width(), black);
    for (UpDown *arrows : {UpDown_, UpDown_L}) {
        arrows->SetPosition(steps);
        arrows->update();
    }
}

int VolumeStrip::UpDownPosition() const
{
    return UpDown_->Position();
}

QCheckBox *VolumeStrip::box(StripBox which) const
{
    return which == StripBox::Mute ? Ch_MT : Ch_MX;
}

void VolumeStrip::SetBoxCaption(StripBox which, const QString &caption)
{
    box(which)->setText(caption);
}

void VolumeStrip::SetBoxChecked(StripBox which, bool checked)
{
    QCheckBox *target = box(which);
    const QSignalBlocker quiet(target);
    target->setChecked(checked);
}

void VolumeStrip::FillMuxList(const QStringList &items)
{
    refill(CB_MX, items, -1);
}

void VolumeStrip::SelectMuxItem(int position)
{
    const QSignalBlocker quiet(CB_MX);
    CB_MX->setCurrentIndex(position < CB_MX->count() ? position : -1);
}

void VolumeStrip::PlaceMuxList(bool besideBox)
{
    // Beside a box it takes the row below the boxes, else the boxes' row.
    CB_MX->move(CB_MX->x(), besideBox ? Ch_MT->geometry().bottom() + 4 : kMuxListTop);
}

void VolumeStrip::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    // Nothing lies under the strip's own source list: it takes the panel's
    // width, so that its arrow shows and its text has the room there is.
    CB_MX->resize(width() - 2 * CB_MX->x(), CB_MX->height());
}

void VolumeStrip::SetPeakCover(int height)
{
    Label_PM1->resize(Label_PM1->width(), qBound(0, height, volumeBarHeight()));
}

void VolumeStrip::SetPeakHoldCaption(const QString &caption)
{
    B_PK->SetCaption(caption);
}

bool VolumeStrip::AutoMarkShown() const
{
    return !Label_AUTO->isHidden();
}

void VolumeStrip::LetMessagesRun()
{
    QCoreApplication::processEvents();
}

} // namespace nuvask
