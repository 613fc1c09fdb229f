#pragma once
// A test window with the three volume strips side by side over one mixer
// layer, and the window's side of the layer: marks, meter timer, change handler.

#include "core/mixer/MixerLayer.h"
#include "core/mixer/StripMeters.h"
#include "ui/mixer/VolumeStrip.h"

#include <QCoreApplication>
#include <QFont>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>

namespace nuvask::test {

// With `meters` set, the meter calls go through the strip meters as in the
// main window; without, the host keeps them itself.
struct StripHost : MixerHost, StripMetersView {
    MixerLayer *layer = nullptr;
    std::array<VolumeStrip *, 3> strips{};
    StripMeters *meters = nullptr;
    bool autoRecV = false;
    bool timerRunning = false;
    // Another road for the change notification (the level history's
    // recorder shows the change on the strips itself), and a listener for
    // the automatic lowerings.
    std::function<void(quint32)> onControlChange;
    std::function<void(const AutoLowering &)> onAutoLowered;
    void SetAutoMarkVisible(int strip, bool visible) override
    {
        if (meters)
            meters->SetAutoMarkVisible(strip, visible);
        else
            SetAutoMark(strip, visible);
    }
    void SetPeakTimerRunning(bool running) override
    {
        timerRunning = running;
        if (meters)
            meters->SetPeakTimerRunning(running);
    }
    void MixerControlChange(MixerHandle, quint32 controlId) override
    {
        if (onControlChange)
            onControlChange(controlId);
        else
            layer->MixerControlChanged(controlId);
    }
    void StripAutoLowered(const AutoLowering &lowering) override
    {
        if (onAutoLowered)
            onAutoLowered(lowering);
    }
    bool AutoRecVChecked() const override { return meters ? meters->AutoRecV() : autoRecV; }

    void SetAutoMark(int strip, bool visible) override
    {
        if (strips[strip])
            strips[strip]->setAutoMarkVisible(visible);
    }
    void SetPeakCover(int strip, int height) override { strips[strip]->SetPeakCover(height); }
    int MeterFullHeight(int strip) const override { return strips[strip]->volumeBarHeight(); }
};

class StripTestWindow {
public:
    explicit StripTestWindow(MixerService &service) : layer(service, host)
    {
        host.layer = &layer;
        QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
        font.setPixelSize(12);
        window->setFont(font);
        int left = 0;
        for (int n = 0; n < 3; ++n) {
            strips[n] = new VolumeStrip(n, window.get());
            strips[n]->move(left, 0);
            left += strips[n]->width() + 2;
            strips[n]->attach(&layer);
            host.strips[n] = strips[n];
        }
        window->resize(left, VolumeStrip::PanelHeight);
    }
    ~StripTestWindow() { layer.MixerCloseAll(); }

    // Opens every device and fills the device lists; returns the layer's error.
    QString open()
    {
        QString error;
        layer.MixerOpenAll(error);
        for (VolumeStrip *strip : strips)
            strip->fillDevices(layer.DeviceNameList());
        return error;
    }
    // Selects a binding in strip N's lists and binds it, as the window's start does.
    QString bind(int strip, int device, int destination, int source)
    {
        strips[strip]->selectBinding(device, destination, source);
        return strips[strip]->bindSelection();
    }
    template <class W>
    W *child(int strip, const char *name) const
    {
        return strips[strip]->findChild<W *>(QString::fromLatin1(name) + QString::number(strip));
    }

    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    StripHost host;
    MixerLayer layer;
    std::array<VolumeStrip *, 3> strips{};
};

// Delivers queued change notifications.
inline void Deliver()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

} // namespace nuvask::test
