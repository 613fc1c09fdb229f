#pragma once
// One volume strip as the mixer layer sees it.
//
// What the mixer layer does to one volume strip's widgets, and what it reads
// back from them. The layer never sees a widget: the strip widget implements
// this, and tests implement it with a recording fake.

#include <QCoreApplication>
#include <QString>
#include <QStringList>

namespace nuvask {

// Captions the layer puts on a strip.
namespace StripCaption {
inline QString RecSelect() { return QCoreApplication::translate("VolumeStrip", "選択"); }
inline const QString Mute = QStringLiteral("Mute");
inline const QString Zero = QStringLiteral("0");
} // namespace StripCaption

// Widgets that are shown and hidden together.
enum class StripGroup {
    Volume,    // Label_VM0/VM1, UpDown, UpDown_L, Label_NOW, Label_NOW_T, Btn_MIN, Btn_MAX
    MuteBox,   // Ch_MT
    RecSelect, // Ch_MX
    OwnMux,    // CB_MX
    PeakMeter, // P_PK (meter column) and B_PK
};

enum class StripBox { Mute, RecSelect };

class StripView {
public:
    virtual ~StripView() = default;

    virtual void ShowGroup(StripGroup group, bool visible) = 0;
    // Shown as far as the strip itself is concerned (the panel may be hidden).
    virtual bool GroupShown(StripGroup group) const = 0;

    // Both up/down controls run 0..maximum (UI steps) without wrapping; the fast
    // one steps by `fastIncrement`, the other by 1.
    virtual void SetVolumeRange(int maximum, int fastIncrement) = 0;
    virtual void SetLimitCaptions(const QString &maxCaption, const QString &minCaption) = 0;
    // Current volume: the number in UI steps, the black part of the bar in
    // pixels, and both up/down positions in UI steps.
    virtual void SetVolumeShown(int steps, int blackHeight) = 0;
    virtual int UpDownPosition() const = 0; // UI steps
    virtual int VolumeBarHeight() const = 0; // pixels: the full bar, also the meter's full height

    virtual void SetBoxCaption(StripBox box, const QString &caption) = 0;
    virtual void SetBoxChecked(StripBox box, bool checked) = 0;

    // CB_MX: items, selection (-1 = none), placement: in the boxes' row, or
    // in a row of its own when a box (mute or selection) shows too.
    virtual void FillMuxList(const QStringList &items) = 0;
    virtual void SelectMuxItem(int position) = 0;
    virtual void PlaceMuxList(bool besideBox) = 0;

    // Peak meter: the cover's height in pixels and the hold number's caption.
    virtual void SetPeakCover(int height) = 0;
    virtual void SetPeakHoldCaption(const QString &caption) = 0;
    // Label_AUTO: the strip takes part in automatic recording volume.
    virtual bool AutoMarkShown() const = 0;

    // The strip's binding as its three lists show it (item indexes, -1 = none).
    virtual int DeviceIndex() const = 0;
    virtual int DestinationIndex() const = 0;
    virtual int SourceIndex() const = 0;

    // Lets pending events run (the layer does so while re-binding).
    virtual void LetMessagesRun() = 0;
};

} // namespace nuvask
