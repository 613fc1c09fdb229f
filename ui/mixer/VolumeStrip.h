#pragma once
// One volume strip (panel PV<N>): device, destination and source lists, the
// volume bar with its number, up/down controls and Max/Min buttons, the mute
// and recording-source boxes, the line's own source list, the "A" mark, the
// volume guard's "G" mark (strip 2) and the peak meter. Every mixer access
// goes through the mixer layer; what the strip shows is set by the layer
// through the StripView interface, and only from change notifications, so
// every strip bound to a line follows it.

#include "core/mixer/StripView.h"

#include <QFrame>

class QCheckBox;
class QComboBox;
class QLabel;

namespace nuvask {

class ColourLabel;
class MixerLayer;
class ColourButton;
class UpDown;

class VolumeStrip : public QFrame, public StripView {
    Q_OBJECT
public:
    // Pixels: the design's 201 and a row below the boxes for the strip's own
    // source list when a box shows beside it (no other place in the strip
    // is free for a list: the volume's "0" and the meter's foot fill the row
    // above the boxes).
    static constexpr int PanelHeight = 223;
    static constexpr int NarrowWidth = 58;  // pixels, strips 0 and 1
    static constexpr int WideWidth = 91;    // pixels, strip 2

    explicit VolumeStrip(int strip, QWidget *parent = nullptr);

    int strip() const { return m_strip; }
    // Hands the strip to the layer; the handlers then act through it.
    void attach(MixerLayer *layer);

    // Items of the device list; no handler runs.
    void fillDevices(const QStringList &names);
    // Selects device, destination and source, filling the lower lists from the
    // layer; no handler runs and nothing is bound.
    void selectBinding(int device, int destination, int source);
    int deviceIndex() const;
    int destinationIndex() const;
    int sourceIndex() const;
    // The line the lists select (low 32 bits of its stored identifier), 0 when none.
    quint32 selectedLineId() const;
    // Binds the strip to the line its lists select; returns the layer's error text.
    QString bindSelection();

    void setAutoMarkVisible(bool visible);
    // Label_GUARD: the volume guard keeps this strip's line (strip 2 only).
    void setGuardMarkVisible(bool visible);
    int volumeBarHeight() const;
    // Label_NOW's text: the volume last shown, its design text before that.
    QString nowText() const;

    // StripView
    void ShowGroup(StripGroup group, bool visible) override;
    bool GroupShown(StripGroup group) const override;
    void SetVolumeRange(int maximum, int fastIncrement) override;
    void SetLimitCaptions(const QString &maxCaption, const QString &minCaption) override;
    void SetVolumeShown(int steps, int blackHeight) override;
    int UpDownPosition() const override;
    int VolumeBarHeight() const override { return volumeBarHeight(); }
    void SetBoxCaption(StripBox box, const QString &caption) override;
    void SetBoxChecked(StripBox box, bool checked) override;
    void FillMuxList(const QStringList &items) override;
    void SelectMuxItem(int position) override;
    void PlaceMuxList(bool besideBox) override;
    void SetPeakCover(int height) override;
    void SetPeakHoldCaption(const QString &caption) override;
    bool AutoMarkShown() const override;
    int DeviceIndex() const override { return deviceIndex(); }
    int DestinationIndex() const override { return destinationIndex(); }
    int SourceIndex() const override { return sourceIndex(); }
    void LetMessagesRun() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildWidgets();
    QCheckBox *box(StripBox which) const;

    // Handlers.
    void CB_MixerChange();
    void ComboBox_DSTChange();
    void ComboBox_SRCChange();
    void Label_VMMouseDown();
    void Label_VMMouseMove(QPoint pos);
    void Label_VMMouseUp();
    void UpDownClick(UpDown *clicked);
    void Btn_MAXClick();
    void Btn_MINClick();
    void Ch_MTClick(bool checked);
    void Ch_MXClick(bool checked);
    void CB_MXChange(int index);
    void Btn_PeekClick();
    void B_PKClick();

    const int m_strip;
    MixerLayer *m_layer = nullptr;
    bool m_dragging = false;
    bool m_boxMouseRelease = false; // a box's click comes from the mouse, not the keyboard

    QComboBox *CB_Mixer = nullptr;
    QComboBox *ComboBox_DST = nullptr;
    QComboBox *ComboBox_SRC = nullptr;
    ColourLabel *Label_VM0 = nullptr;
    ColourLabel *Label_VM1 = nullptr;
    QLabel *Label_NOW_T = nullptr;
    QLabel *Label_NOW = nullptr;
    QLabel *Label_AUTO = nullptr;
    QLabel *Label_GUARD = nullptr; // strip 2 only
    QComboBox *CB_MX = nullptr;
    UpDown *UpDown_ = nullptr;
    UpDown *UpDown_L = nullptr;
    QCheckBox *Ch_MT = nullptr;
    QCheckBox *Ch_MX = nullptr;
    QFrame *P_PK = nullptr;
    ColourLabel *Label_PM0 = nullptr;
    ColourLabel *Label_PM1 = nullptr;
    ColourButton *Btn_Peek = nullptr;
    ColourButton *Btn_MAX = nullptr;
    ColourButton *Btn_MIN = nullptr;
    ColourButton *B_PK = nullptr;
};

} // namespace nuvask
