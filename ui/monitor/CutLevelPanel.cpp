// The cut-level editor panel.

#include "ui/monitor/CutLevelPanel.h"

#include "core/monitor/LevelMonitor.h"
#include "ui/widgets/ColourButton.h"
#include "ui/monitor/LevelMonitorTexts.h"
#include "ui/widgets/UpDown.h"
#include "ui/widgets/WidgetPlacement.h"

#include <QLabel>
#include <QLineEdit>

namespace nuvask {

CutLevelPanel::CutLevelPanel(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("PV4"));
    resize(PanelWidth, 201);

    Edit_RPK = placed(new QLineEdit(this), "Edit_RPK", {1, 2, 33, 18});
    Edit_RPK->setReadOnly(true);
    Btn_RPK_SET = colorButton(this, "Btn_RPK_SET", {1, 21, 33, 15}, monitorText::Set, monitorText::HintSet());
    Btn_RPK_16 = colorButton(this, "Btn_RPK_16", {1, 38, 13, 15}, monitorText::Preset16, monitorText::HintPreset16());
    Btn_RPK_8 = colorButton(this, "Btn_RPK_8", {14, 38, 10, 15}, monitorText::Preset8, monitorText::HintPreset8());
    Btn_RPK_L = colorButton(this, "Btn_RPK_L", {24, 38, 10, 15}, monitorText::PresetL, monitorText::HintPresetL());
    // The limits' captions are the up/down range, set here once.
    Btn_MAX_RPK = colorButton(this, "Btn_MAX_RPK", {1, 56, 33, 15}, QString::number(UpDownMax), monitorText::HintMax());
    auto *now = placed(new QLabel(monitorText::Now, this), "Label_NOW_RPK_T", {2, 74, 31, 12});
    now->setAlignment(Qt::AlignCenter);
    Label_NOW_RPK = placed(new QLabel(this), "Label_NOW_RPK", {2, 88, 31, 12});
    Label_NOW_RPK->setAlignment(Qt::AlignCenter);
    UpDown_RPK = placed(new UpDown(this), "UpDown_RPK", {4, 104, 12, 53}, monitorText::HintUpDown());
    UpDown_RPK_L = placed(new UpDown(this), "UpDown_RPK_L", {19, 104, 12, 53}, monitorText::HintUpDown());
    for (UpDown *arrows : {UpDown_RPK, UpDown_RPK_L}) {
        arrows->SetMin(0);
        arrows->SetMax(UpDownMax);
    }
    UpDown_RPK->SetIncrement(8);
    UpDown_RPK_L->SetIncrement(1);
    Btn_MIN_RPK = colorButton(this, "Btn_MIN_RPK", {1, 160, 33, 15}, QStringLiteral("0"), monitorText::HintMin());

    Edit_RPK->setTextMargins(0, 0, 0, 0);
    for (QWidget *number : std::initializer_list<QWidget *>{Edit_RPK, Label_NOW_RPK, Btn_RPK_16, Btn_MAX_RPK, Btn_MIN_RPK})
        condense(number);

    connect(Btn_RPK_SET, &ColourButton::OnClick, this, &CutLevelPanel::Btn_RPK_SETClick);
    connect(Btn_RPK_16, &ColourButton::OnClick, this, &CutLevelPanel::Btn_RPK_16Click);
    connect(Btn_RPK_8, &ColourButton::OnClick, this, &CutLevelPanel::Btn_RPK_8Click);
    connect(Btn_RPK_L, &ColourButton::OnClick, this, &CutLevelPanel::Btn_RPK_LClick);
    connect(Btn_MAX_RPK, &ColourButton::OnClick, this, &CutLevelPanel::Btn_MAX_RPKClick);
    connect(Btn_MIN_RPK, &ColourButton::OnClick, this, &CutLevelPanel::Btn_MIN_RPKClick);
    connect(UpDown_RPK, &UpDown::OnClick, this, [this] { UpDownClick(UpDown_RPK); });
    connect(UpDown_RPK_L, &UpDown::OnClick, this, [this] { UpDownClick(UpDown_RPK_L); });
}

void CutLevelPanel::setLevel(int level)
{
    if (m_monitor)
        m_monitor->CutLevelShow(level);
}

void CutLevelPanel::ShowLevel(int level, int steps)
{
    Edit_RPK->setText(QString::number(level));
    Label_NOW_RPK->setText(QString::number(steps));
    for (UpDown *arrows : {UpDown_RPK, UpDown_RPK_L}) {
        arrows->SetPosition(steps);
        arrows->update();
    }
}

void CutLevelPanel::SetEditing(bool editing)
{
    Edit_RPK->setReadOnly(!editing);
    if (!editing && m_monitor)
        Edit_RPK->setText(QString::number(m_monitor->CutLevel()));
}

void CutLevelPanel::Btn_RPK_16Click()
{
    setLevel(UpDown_RPK->Max() * LevelMonitor::CutStep); // 32768, kept as 32763
}

void CutLevelPanel::Btn_RPK_8Click()
{
    setLevel(LevelMonitor::Preset8Bit);
}

void CutLevelPanel::Btn_RPK_LClick()
{
    setLevel(LevelMonitor::PresetSpecialBoard);
}

void CutLevelPanel::Btn_MAX_RPKClick()
{
    setLevel(UpDown_RPK->Max() * LevelMonitor::CutStep);
}

void CutLevelPanel::Btn_MIN_RPKClick()
{
    setLevel(0);
}

void CutLevelPanel::UpDownClick(UpDown *clicked)
{
    UpDown *other = clicked == UpDown_RPK ? UpDown_RPK_L : UpDown_RPK;
    other->SetPosition(clicked->Position());
    other->update();
    setLevel(UpDown_RPK_L->Position() * LevelMonitor::CutStep);
}

void CutLevelPanel::Btn_RPK_SETClick()
{
    // Text that is not a decimal integer changes nothing; any number is
    // clamped by CutLevelShow, never refused.
    bool ok = false;
    const qlonglong typed = Edit_RPK->text().trimmed().toLongLong(&ok, 10);
    if (!ok)
        return;
    setLevel(int(qBound<qlonglong>(-1, typed, qlonglong(LevelMonitor::MeterMax) + 1)));
}

} // namespace nuvask
