// The recording level monitor's panel.

#include "ui/monitor/LevelMonitorPanel.h"

#include "ui/widgets/ColourButton.h"
#include "ui/widgets/ColourLabel.h"
#include "ui/monitor/CutLevelPanel.h"
#include "ui/monitor/LevelMonitorTexts.h"
#include "ui/dialogs/MessageBox.h"
#include "ui/widgets/WidgetPlacement.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QSignalBlocker>

namespace nuvask {

namespace {

const QColor Lime(0, 255, 0);
constexpr int MeterWidth = 20;   // pixels
constexpr int MarkerHeight = 2;  // pixels
constexpr int ZoneHeight = 16;   // pixels of the red and of the yellow zone

} // namespace

LevelMonitorPanel::LevelMonitorPanel(int meterHeight, QWidget *parent)
    : QFrame(parent), m_meterHeight(meterHeight > 0 ? meterHeight : 96)
{
    setObjectName(QStringLiteral("PV3"));
    resize(PanelWidth, 201);
    const int h = m_meterHeight;

    Btn_RAuto = colorButton(this, "Btn_RAuto", {1, 2, 36, 17}, monitorText::Auto, monitorText::HintAuto());
    Btn_RPK_ON = colorButton(this, "Btn_RPK_ON", {1, 21, 36, 17}, monitorText::On, monitorText::HintOn());
    Btn_RPK_OFF = colorButton(this, "Btn_RPK_OFF", {1, 21, 36, 17}, monitorText::Off, monitorText::HintOff());
    Btn_RPK_OFF->hide();
    Btn_RPK = colorButton(this, "Btn_RPK", {1, 43, 36, 15}, monitorText::Zero, monitorText::HintHold());
    condense(Btn_RPK);

    // Bottom to top: lime, yellow, red; then the cover from the top down and
    // the marker over everything.
    Panel_RPK = placed(new ColourLabel(Qt::black, this), "Panel_RPK", {9, 61, MeterWidth, h}, monitorText::HintCutLevel());
    Label_RPK0 = placed(new ColourLabel(Lime, Panel_RPK), "Label_RPK0", {0, 2 * ZoneHeight, MeterWidth, h - 2 * ZoneHeight},
                        monitorText::HintMeter());
    Label_RPK0->setProperty("tag", h);
    placed(new ColourLabel(Qt::yellow, Panel_RPK), "Label8", {0, ZoneHeight, MeterWidth, ZoneHeight}, monitorText::HintMeter());
    placed(new ColourLabel(Qt::red, Panel_RPK), "Label7", {0, 0, MeterWidth, ZoneHeight}, monitorText::HintMeter());
    Label_RPK1 = placed(new ColourLabel(Qt::black, Panel_RPK), "Label_RPK1", {0, 0, MeterWidth, h},
                        monitorText::HintCutLevel());
    Label_RPK_VC = placed(new ColourLabel(Qt::white, Panel_RPK), "Label_RPK_VC", {0, 0, MeterWidth, MarkerHeight},
                          monitorText::HintCutLevel());
    Label_RPK_VC->setProperty("tag", h);

    // Each button's click is the monitor's handler of the same name.
    const auto forward = [this](ColourButton *b, void (LevelMonitor::*handler)()) {
        connect(b, &ColourButton::OnClick, this, [this, handler] {
            if (m_monitor)
                (m_monitor->*handler)();
        });
    };
    forward(Btn_RPK_ON, &LevelMonitor::Btn_RPK_ONClick);
    forward(Btn_RPK_OFF, &LevelMonitor::Btn_RPK_OFFClick);
    forward(Btn_RPK, &LevelMonitor::Btn_RPKClick);
    forward(Btn_RAuto, &LevelMonitor::Btn_RAutoClick);
    for (ColourLabel *source : {Panel_RPK, Label_RPK1, Label_RPK_VC}) {
        connect(source, &ColourLabel::OnMouseDown, this, &LevelMonitorPanel::dragStart);
        connect(source, &ColourLabel::OnMouseMove, this,
                [this, source](Qt::MouseButtons, QPoint pos) { dragMove(source, pos); });
        connect(source, &ColourLabel::OnMouseUp, this, &LevelMonitorPanel::dragEnd);
    }
}

void LevelMonitorPanel::setIntervalList(QComboBox *list)
{
    m_intervalList = list;
    if (!list)
        return;
    // Only the user's change restarts the monitor; the program sets the
    // index quietly.
    connect(list, &QComboBox::currentIndexChanged, this, [this] {
        if (m_monitor)
            m_monitor->CB_RL_WAITChange();
    });
}

// --- Dragging the marker ---

void LevelMonitorPanel::dragStart()
{
    if (!m_editor || m_editor->isHidden())
        return;
    m_dragging = true;
    LetMessagesRun();
}

void LevelMonitorPanel::dragMove(QWidget *source, QPoint pos)
{
    if (!m_dragging || !m_monitor)
        return;
    // In the meter's frame: a press on the marker itself must not make it
    // jump to the top.
    const int top = source->mapTo(Panel_RPK, pos).y();
    Label_RPK_VC->move(0, top);
    m_monitor->CutLevelShow(m_monitor->LevelAtMarkerTop(top));
}

void LevelMonitorPanel::dragEnd()
{
    if (!m_dragging)
        return;
    m_dragging = false;
    LetMessagesRun();
    if (!m_monitor)
        return;
    const int top = qBound(0, Label_RPK_VC->y(), m_meterHeight - 1);
    Label_RPK_VC->move(0, top);
    m_monitor->CutLevelShow(m_monitor->LevelAtMarkerTop(top));
}

// --- LevelMonitorView ---

void LevelMonitorPanel::SetLevelCover(int height)
{
    Label_RPK1->resize(Label_RPK1->width(), qBound(0, height, m_meterHeight));
}

void LevelMonitorPanel::SetHoldCaption(const QString &caption)
{
    Btn_RPK->SetCaption(caption);
}

void LevelMonitorPanel::SetOffButtonShown(bool shown)
{
    Btn_RPK_OFF->setVisible(shown);
}

void LevelMonitorPanel::SetAutoButtonOn(bool on)
{
    ShowSwitchedOn(*Btn_RAuto, on);
}

void LevelMonitorPanel::ShowCutLevel(int level, int steps, int markerTop)
{
    Label_RPK_VC->move(0, markerTop);
    if (m_editor)
        m_editor->ShowLevel(level, steps);
}

int LevelMonitorPanel::IntervalIndex() const
{
    return m_intervalList ? m_intervalList->currentIndex() : 0;
}

void LevelMonitorPanel::SetIntervalIndexQuietly(int index)
{
    if (!m_intervalList)
        return;
    const QSignalBlocker quiet(m_intervalList);
    m_intervalList->setCurrentIndex(index);
}

void LevelMonitorPanel::ShowMessage(const QString &text)
{
    if (m_messageBox)
        m_messageBox->ShowOK(text);
}

void LevelMonitorPanel::LetMessagesRun()
{
    QCoreApplication::processEvents();
}

} // namespace nuvask
