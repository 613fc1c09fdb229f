#pragma once
// Fakes of the mixer layer's surroundings for tests over the simulated board:
// a recording strip view, the window's side (marks, timer, change handler), a
// board with hooks inside its value calls, and the wiring of the three.

#include "core/mixer/MixerLayer.h"
#include "platform/sim/SimMixerBoard.h"

#include <QMap>

#include <functional>
#include <utility>

namespace nuvask::test {

struct FakeStripView : StripView {
    QMap<StripGroup, bool> shown;
    int rangeMax = -1, increment = -1;
    QString maxCaption = "Max", minCaption = "Min";
    int steps = -1, black = -1, position = 0;
    QMap<StripBox, QString> captions;
    QMap<StripBox, bool> checked;
    QStringList muxItems;
    int muxSelected = -1;
    bool muxBesideBox = false;
    int cover = -1;
    QString holdCaption;
    bool autoMark = false;
    int device = 0, destination = 0, source = 0;
    int messageRuns = 0;

    void ShowGroup(StripGroup g, bool v) override { shown[g] = v; }
    bool GroupShown(StripGroup g) const override { return shown.value(g); }
    void SetVolumeRange(int m, int inc) override { rangeMax = m, increment = inc; }
    void SetLimitCaptions(const QString &mx, const QString &mn) override { maxCaption = mx, minCaption = mn; }
    QList<int> stepsShown; // every volume drawn, in UI steps
    void SetVolumeShown(int s, int b) override
    {
        steps = s, black = b, position = s;
        stepsShown.append(s);
    }
    int UpDownPosition() const override { return position; }
    int VolumeBarHeight() const override { return 96; }
    void SetBoxCaption(StripBox b, const QString &c) override { captions[b] = c; }
    void SetBoxChecked(StripBox b, bool c) override { checked[b] = c; }
    void FillMuxList(const QStringList &items) override { muxItems = items, muxSelected = -1; }
    void SelectMuxItem(int p) override { muxSelected = p; }
    void PlaceMuxList(bool besideBox) override { muxBesideBox = besideBox; }
    void SetPeakCover(int h) override { cover = h; }
    void SetPeakHoldCaption(const QString &c) override { holdCaption = c; }
    bool AutoMarkShown() const override { return autoMark; }
    int DeviceIndex() const override { return device; }
    int DestinationIndex() const override { return destination; }
    int SourceIndex() const override { return source; }
    void LetMessagesRun() override { ++messageRuns; }
};

// The window's side: marks, timer and the change handler.
struct FakeHost : MixerHost {
    MixerLayer *layer = nullptr;
    FakeStripView *views = nullptr;
    bool autoRecV = false;
    bool timerRunning = false;
    void SetAutoMarkVisible(int strip, bool visible) override
    {
        if (views)
            views[strip].autoMark = visible;
    }
    void SetPeakTimerRunning(bool running) override { timerRunning = running; }
    void MixerControlChange(MixerHandle, quint32 controlId) override { layer->MixerControlChanged(controlId); }
    bool AutoRecVChecked() const override { return autoRecV; }
};

// The simulated board with a hook run inside each value write or read, to
// reach the layer while it is in the middle of a call.
struct HookedBoard : SimMixerBoard {
    using SimMixerBoard::SimMixerBoard;
    std::function<void()> onWrite, onRead;
    int reads = 0;  // value reads, all controls
    int writes = 0; // value writes, all controls
    quint32 setControlValues(MixerHandle h, const MixerControlDetails &d, const QList<quint32> &v) override
    {
        if (auto hook = std::exchange(onWrite, nullptr))
            hook();
        ++writes;
        return SimMixerBoard::setControlValues(h, d, v);
    }
    quint32 controlValues(MixerHandle h, const MixerControlDetails &d, QList<quint32> &v) override
    {
        if (auto hook = std::exchange(onRead, nullptr))
            hook();
        ++reads;
        return SimMixerBoard::controlValues(h, d, v);
    }
};

// Wires the layer, the window fake and three strip views, and opens every device.
inline QString connectAndOpen(MixerLayer &layer, FakeHost &host, FakeStripView *views)
{
    host.layer = &layer;
    host.views = views;
    for (int n = 0; n < 3; ++n)
        layer.SetStripView(n, &views[n]);
    QString error;
    layer.MixerOpenAll(error);
    return error;
}

// Selects a line in strip N's fake lists and binds it; returns the layer's error.
inline QString bindStrip(MixerLayer &layer, FakeStripView *views, int strip, int destination, int source,
                         int device = 0)
{
    views[strip].device = device;
    views[strip].destination = destination;
    views[strip].source = source;
    QString error = QStringLiteral("stale");
    layer.StripBindLine(strip, device, destination, error,
                        MixerLayer::NumberFromText(layer.SrcLineIdList(device, destination).value(source)));
    return error;
}

} // namespace nuvask::test
