#pragma once
// The main window: a top row, three volume strips, the recording level
// monitor and the cut-level editor side by side. Its class name is what a
// second start looks for.

#include "core/SettingsStore.h"
#include "core/WindowPlacement.h"
#include "ui/MainMenu.h"

#include <QFrame>
#include <QMainWindow>
#include <QPointer>
#include <array>

class QCheckBox;
class QComboBox;
class QTimer;

namespace nuvask {

class IRegistry;
class PanelSplitter;
class TColorBtn;
class TMKBoxDlg;

class TKELDO_NUVASK : public QMainWindow
{
    Q_OBJECT
    // Read by the message box: it shows hints exactly when its window does.
    Q_PROPERTY(bool ShowHint READ hintsShown WRITE setHintsShown)
public:
    static constexpr int kStartupCompletedValue = 99;
    static constexpr int kCreateDelayMs = 300;

    explicit TKELDO_NUVASK(IRegistry &registry, QWidget *parent = nullptr);
    ~TKELDO_NUVASK() override;

    // Handler of WM_SECOND_INSTANCE: the forwarded text has no use beyond
    // bringing the window back.
    void WM_SECOND_INSTANCE(const QString &text);
    void RestoreMainWindow();
    QString lastHandOverText() const { return m_lastHandOverText; }

    // Layout.
    void StripVisibilityLayout(int clickedBox);
    void ApplyTopMost();
    void MoveToCorner(Corner corner);
    QRect WorkArea() const;
    int fixedWidth() const { return m_fixedWidth; }
    int clientWidth() const;
    int clientHeight() const;

    // Colour switches and tool-tips (Options and Help menus). A Click
    // performs a click on the item: its mark toggles, then its action runs.
    void BackColorClick();
    void KELDO_COLORClick();
    void HELP3Click();
    void setHintsShown(bool on);
    void ApplyListColours();
    bool hintsShown() const { return m_showHints; }

    // Cut-level editor panel open/close with the width bookkeeping.
    void Btn_RPK_EditClick();
    void Btn_RPK_CancelClick();

    int StartupCompleted() const { return m_startupCompleted; }
    const MainMenu &menu() const { return m_menu; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildWidgets();
    void relayoutPanels();
    void setClientWidth(int width);
    void applyWindowColours(bool keldo);
    void backColorToggled();
    void keldoColorToggled();
    void help3Toggled();
    QWidget *stripPanel(int strip) const { return m_pv[strip]; }

    IRegistry &m_registry;
    SettingsStore m_settings;
    MainMenu m_menu;
    QString m_lastHandOverText;

    QWidget *m_client = nullptr;
    QFrame *Panel_TOP = nullptr;
    std::array<QCheckBox *, 3> Ch_V{};
    QCheckBox *Ch_Top = nullptr;
    QComboBox *CB_RL_WAIT = nullptr;
    std::array<QFrame *, 5> m_pv{};          // PV0..PV4
    PanelSplitter *Splitter1 = nullptr;
    PanelSplitter *Splitter2 = nullptr;
    TColorBtn *Btn_LT = nullptr;
    TColorBtn *Btn_WT = nullptr;
    TColorBtn *Btn_LB = nullptr;
    TColorBtn *Btn_WB = nullptr;
    TColorBtn *Btn_RPK_Edit = nullptr;
    TColorBtn *Btn_RPK_Cancel = nullptr;
    TMKBoxDlg *MKBoxDlg1 = nullptr;
    QTimer *Timer_Create = nullptr;
    QTimer *Timer_PK = nullptr;

    // Layout values recorded once at creation (pixels).
    int m_fixedWidth = 0;
    std::array<int, 3> m_designWidth{};
    int m_panelHeight = 0;
    int m_topHeight = 0;

    int m_startupCompleted = 0;
    bool m_closing = false;      // close guard
    bool m_showHints = true;
};

} // namespace nuvask
