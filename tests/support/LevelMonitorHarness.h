#pragma once
// The recording level monitor on real panels (the level meter panel and the cut-level panel) beside three real
// volume strips, over the simulated board and the simulated capture device.

#include "support/VolumeStripHarness.h"

#include "core/monitor/LevelMonitor.h"
#include "platform/sim/SimTopology.h"
#include "platform/sim/SimWaveIn.h"
#include "ui/widgets/ColourButton.h"
#include "ui/monitor/CutLevelPanel.h"
#include "ui/monitor/LevelMonitorPanel.h"

#include <QComboBox>

namespace nuvask::test {

// The panels and the monitor over any mixer and capture service.
class MonitorRig {
public:
    MonitorRig(MixerService &mixer, WaveInService &wave) : strips(mixer)
    {
        strips.window->resize(strips.window->width() + 90, VolumeStrip::PanelHeight + 20);
        rlWait = new QComboBox(strips.window.get());
        rlWait->setObjectName(QStringLiteral("CB_RL_WAIT"));
        for (int i = 1; i <= 9; ++i)
            rlWait->addItem(QString::number(i));
        monitorPanel = new LevelMonitorPanel(strips.strips[0]->volumeBarHeight(), strips.window.get());
        cutPanel = new CutLevelPanel(strips.window.get());
        const int left = strips.strips[2]->x() + strips.strips[2]->width();
        monitorPanel->move(left, 20);
        cutPanel->move(left + monitorPanel->width(), 20);
        monitorPanel->setEditor(cutPanel);
        monitorPanel->setIntervalList(rlWait);
        monitor = std::make_unique<LevelMonitor>(wave, strips.layer, *monitorPanel);
        monitorPanel->attach(monitor.get());
        cutPanel->attach(monitor.get());
        monitor->CutLevelShow(LevelMonitor::MarkerMax);
        cutPanel->hide(); // the editor starts closed
    }
    ~MonitorRig() { monitor.reset(); }

    int stripPosition() const { return strips.strips[2]->UpDownPosition(); }

    template <class W>
    W *monitorChild(const char *name) const
    {
        return monitorPanel->findChild<W *>(QLatin1String(name));
    }
    template <class W>
    W *cutChild(const char *name) const
    {
        return cutPanel->findChild<W *>(QLatin1String(name));
    }
    // A click on a button of either panel.
    void click(const char *name) const
    {
        ColourButton *b = monitorChild<ColourButton>(name);
        if (!b)
            b = cutChild<ColourButton>(name);
        if (b)
            b->Click();
    }

    StripTestWindow strips;
    QComboBox *rlWait = nullptr;
    LevelMonitorPanel *monitorPanel = nullptr;
    CutLevelPanel *cutPanel = nullptr;
    std::unique_ptr<LevelMonitor> monitor;
};

struct SimServices {
    SimMixerBoard board{QList<SimDevice>{sim::DemoDevice()}};
    SimWaveIn wave;
};

// The rig over the simulated board and capture device.
class MonitorTestWindow : public SimServices, public MonitorRig {
public:
    static constexpr int Recording = 1; // destination of sim::DemoDevice
    static constexpr quint32 RecVolume = 9;

    MonitorTestWindow() : MonitorRig(board, wave) {}

    // Binds strip 2 to the recording destination's own volume at `steps`.
    void bindRecordingStrip(int steps)
    {
        strips.open();
        strips.bind(2, 0, Recording, 0);
        strips.layer.StripSetVolume(2, steps, 0);
        Deliver();
    }
    quint32 recordingVolume() { return board.valuesOf(0, RecVolume).value(0); }

    // Fills the buffer at the head of the device's queue and runs the
    // monitor's handlers for it.
    void captureOne()
    {
        wave.fillOne();
        Deliver();
    }
};

} // namespace nuvask::test
