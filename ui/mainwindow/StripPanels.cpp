// The main window's client area: top row, strip panels, monitor and cut-level panels.

#include "ui/mainwindow/StripPanels.h"

#include "core/mainwindow/WindowPlacement.h"
#include "ui/widgets/ColourButton.h"
#include "ui/monitor/CutLevelPanel.h"
#include "ui/monitor/LevelMonitorPanel.h"
#include "ui/mainwindow/MainWindowTexts.h"
#include "ui/mainwindow/PanelSplitter.h"
#include "ui/mixer/VolumeStrip.h"
#include "ui/widgets/WidgetPlacement.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFrame>
#include <QMainWindow>
#include <QMenuBar>

#include <algorithm>

namespace nuvask {

namespace {

// Design geometry of the window (client pixels).
constexpr int kDesignClientWidth = StripPanels::DesignClientWidth;
constexpr int kTopHeight = 17;
constexpr int kPanelHeight = VolumeStrip::PanelHeight;
constexpr std::array<int, 5> kPanelWidth{58, 58, 91, 38, 35}; // PV0..PV4

QCheckBox *checkBox(QWidget *parent, const char *name, const QString &caption, const QString &hint)
{
    auto *box = new QCheckBox(caption, parent);
    box->setObjectName(QLatin1String(name));
    box->setToolTip(hint);
    box->setChecked(true);
    return box;
}

ColourButton *button(QWidget *parent, const char *name, const QString &caption, const QString &hint, QRect geometry)
{
    auto *b = placed(new ColourButton(parent), QLatin1String(name), geometry, hint);
    b->SetCaption(caption);
    return b;
}

} // namespace

StripPanels::StripPanels(QMainWindow &window) : QObject(&window), m_window(window)
{
    client = new QWidget(&window);
    client->setObjectName(QStringLiteral("ClientArea"));
    window.setCentralWidget(client);
    buildTopRow();
    buildPanels();
}

void StripPanels::buildTopRow()
{
    Panel_TOP = new QFrame(client);
    Panel_TOP->setObjectName(QStringLiteral("Panel_TOP"));
    Panel_TOP->setGeometry(0, 0, kDesignClientWidth, kTopHeight);
    for (int n = 0; n < 3; ++n) {
        const QByteArray name = "Ch_V" + QByteArray::number(n);
        Ch_V[n] = checkBox(Panel_TOP, name.constData(), QString(), mainText::HintStripBox());
        Ch_V[n]->setGeometry(2 + n * 17, 1, 15, 15);
    }
    Ch_Top = checkBox(Panel_TOP, "Ch_Top", mainText::TopCaption, mainText::HintTop());
    Ch_Top->setGeometry(56, 1, 74, 15);
    CB_RL_WAIT = new QComboBox(Panel_TOP);
    CB_RL_WAIT->setObjectName(QStringLiteral("CB_RL_WAIT"));
    CB_RL_WAIT->setToolTip(mainText::HintRlWait());
    for (int i = 1; i <= 9; ++i)
        CB_RL_WAIT->addItem(QString::number(i));
    CB_RL_WAIT->setGeometry(132, 0, 36, kTopHeight);
}

void StripPanels::buildPanels()
{
    static const char *const kPanelNames[] = {"PV0", "PV1", "PV2", "PV3", "PV4"};
    for (int i = 0; i < 5; ++i) {
        if (i < 3) {
            m_strips[i] = new VolumeStrip(i, client);
            m_pv[i] = m_strips[i];
        } else if (i == 3) {
            // The level meter is as tall as strip 0's volume bar.
            m_pv[i] = m_monitorPanel = new LevelMonitorPanel(m_strips[0]->volumeBarHeight(), client);
        } else {
            m_pv[i] = m_cutPanel = new CutLevelPanel(client);
            m_monitorPanel->setEditor(m_cutPanel);
        }
        m_pv[i]->setObjectName(QLatin1String(kPanelNames[i]));
        m_pv[i]->setAutoFillBackground(true);
        m_pv[i]->setFrameShape(QFrame::StyledPanel);
        m_pv[i]->resize(kPanelWidth[i], kPanelHeight);
    }
    Splitter1 = new PanelSplitter(client);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter2 = new PanelSplitter(client);
    Splitter2->setObjectName(QStringLiteral("Splitter2"));
    // A splitter drags the nearest shown strip on its left; PV2 keeps at least
    // the splitter's minimum too.
    auto maxFor = [this](int strip) {
        return [this, strip] { return m_pv[strip]->width() + m_pv[2]->width() - PanelSplitter::kMinPanel; };
    };
    Splitter1->setTarget(m_pv[0], maxFor(0));
    Splitter1->onMoved = [this] { relayoutPanels(); };
    Splitter2->setTarget(m_pv[1], maxFor(1));
    Splitter2->onMoved = [this] { relayoutPanels(); };

    QWidget *pv2 = m_pv[2];
    Btn_LT = button(pv2, "Btn_LT", mainText::CornerCaption, mainText::HintLT(), QRect(62, 66, 12, 12));
    Btn_WT = button(pv2, "Btn_WT", mainText::CornerCaption, mainText::HintWT(), QRect(76, 66, 12, 12));
    Btn_LB = button(pv2, "Btn_LB", mainText::CornerCaption, mainText::HintLB(), QRect(62, 80, 12, 12));
    Btn_WB = button(pv2, "Btn_WB", mainText::CornerCaption, mainText::HintWB(), QRect(76, 80, 12, 12));

    Btn_RPK_Edit = button(m_pv[3], "Btn_RPK_Edit", mainText::EditCaption, mainText::HintEdit(), QRect(2, 180, 34, 17));
    Btn_RPK_Cancel =
        button(m_pv[4], "Btn_RPK_Cancel", mainText::CancelCaption(), mainText::HintCancel(), QRect(1, 180, 33, 17));
    connect(Btn_RPK_Edit, &ColourButton::OnClick, this, &StripPanels::openCutEditor);
    connect(Btn_RPK_Cancel, &ColourButton::OnClick, this, &StripPanels::closeCutEditor);
    for (int n = 0; n < 3; ++n)
        connect(Ch_V[n], &QCheckBox::clicked, this, [this, n] { StripVisibilityLayout(n); });
}

QWidget *StripPanels::panel(int n) const
{
    return m_pv[n];
}

void StripPanels::recordLayoutValues()
{
    for (QCheckBox *box : Ch_V)
        box->setChecked(true);
    m_fixedWidth = clientWidth() - m_pv[0]->width() - m_pv[1]->width() - m_pv[2]->width();
    for (int n = 0; n < 3; ++n)
        m_designWidth[n] = m_pv[n]->width();
    m_panelHeight = m_pv[0]->height();
    m_topHeight = Panel_TOP->height();
}

int StripPanels::clientWidth() const
{
    return client->width();
}

int StripPanels::clientHeight() const
{
    return client->height();
}

int StripPanels::hiddenStrip() const
{
    for (int n = 0; n < 3; ++n) {
        if (!Ch_V[n]->isChecked())
            return n;
    }
    return -1;
}

void StripPanels::setClientWidth(int width)
{
    const int height = (m_panelHeight ? m_panelHeight : kPanelHeight) + (m_topHeight ? m_topHeight : kTopHeight);
    client->setFixedSize(width, height);
    Panel_TOP->resize(width, Panel_TOP->height());
    relayoutPanels();
    // Not resizable by the user; a narrower window may wrap the menu bar, so
    // the height is worked out again from the client height.
    QMenuBar *bar = m_window.menuBar();
    const int menuHeight = bar->heightForWidth(width) > 0 ? bar->heightForWidth(width) : bar->sizeHint().height();
    m_window.setFixedSize(width, height + menuHeight);
}

void StripPanels::relayoutPanels()
{
    const int top = Panel_TOP->height();
    const int height = client->height() - top;
    int x = 0;
    auto place = [&](QWidget *w, int width) {
        w->setGeometry(x, top, width, height);
        x += width;
    };
    if (!m_pv[0]->isHidden())
        place(m_pv[0], m_pv[0]->width());
    if (!Splitter1->isHidden())
        place(Splitter1, PanelSplitter::kWidth); // directly left of PV1
    if (!m_pv[1]->isHidden())
        place(m_pv[1], m_pv[1]->width());
    if (!Splitter2->isHidden())
        place(Splitter2, PanelSplitter::kWidth);
    int right = client->width();
    if (!m_pv[4]->isHidden()) {
        right -= m_pv[4]->width();
        m_pv[4]->setGeometry(right, top, m_pv[4]->width(), height);
    }
    right -= m_pv[3]->width();
    m_pv[3]->setGeometry(right, top, m_pv[3]->width(), height);
    if (!m_pv[2]->isHidden())
        m_pv[2]->setGeometry(x, top, std::max(0, right - x), height);
    // Splitter2 drags the nearest shown strip on its left.
    Splitter2->setTarget(!m_pv[1]->isHidden() ? m_pv[1] : m_pv[0], [this] {
        QWidget *left = !m_pv[1]->isHidden() ? m_pv[1] : m_pv[0];
        return left->width() + m_pv[2]->width() - PanelSplitter::kMinPanel;
    });
}

void StripPanels::StripVisibilityLayout(int clickedBox)
{
    std::array<bool, 3> checked{};
    for (int n = 0; n < 3; ++n)
        checked[n] = Ch_V[n]->isChecked();
    checked = StripBoxesAfterClick(checked, clickedBox);
    for (int n = 0; n < 3; ++n)
        Ch_V[n]->setChecked(checked[n]);

    const StripLayout layout = ComputeStripLayout(checked, {m_fixedWidth, m_designWidth, PanelSplitter::kWidth});
    m_pv[0]->setHidden(!layout.visible[0]);
    m_pv[1]->setHidden(!layout.visible[1]);
    QCoreApplication::processEvents();
    Splitter1->setHidden(!layout.splitter1Visible);
    m_pv[2]->setHidden(!layout.visible[2]);
    QCoreApplication::processEvents();
    Splitter2->setHidden(!layout.splitter2Visible);
    // Widths dragged with the splitters are given up.
    for (int n = 0; n < 3; ++n)
        m_pv[n]->resize(m_designWidth[n], m_pv[n]->height());
    setClientWidth(layout.windowWidth);
    QCoreApplication::processEvents();
}

void StripPanels::openCutEditor()
{
    Btn_RPK_Edit->hide();
    m_fixedWidth += m_pv[4]->width();
    m_pv[4]->show();
    setClientWidth(clientWidth() + m_pv[4]->width());
    m_cutPanel->SetEditing(true);
}

void StripPanels::closeCutEditor()
{
    m_fixedWidth -= m_pv[4]->width();
    m_pv[4]->hide();
    setClientWidth(clientWidth() - m_pv[4]->width());
    Btn_RPK_Edit->show();
    m_cutPanel->SetEditing(false);
}

void StripPanels::SetAutoMark(int strip, bool visible)
{
    m_strips[strip]->setAutoMarkVisible(visible);
}

void StripPanels::SetPeakCover(int strip, int height)
{
    m_strips[strip]->SetPeakCover(height);
}

int StripPanels::MeterFullHeight(int strip) const
{
    return m_strips[strip]->volumeBarHeight();
}

} // namespace nuvask
