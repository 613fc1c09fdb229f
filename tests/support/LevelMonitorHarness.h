#pragma once
// The recording level monitor on real panels (PV3 and PV4) beside three real
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
        pv3 = new LevelMonitorPanel(strips.strips[0]->volumeBarHeight(), strips.window.get());
        pv4 = new CutLevelPanel(strips.window.get());
        const int left = strips.strips[2]->x() + strips.strips[2]->width();
        pv3->move(left, 20);
        pv4->move(left + pv3->width(), 20);
        pv3->setEditor(pv4);
        pv3->setIntervalList(rlWait);
        monitor = std::make_unique<LevelMonitor>(wave, strips.layer, *pv3);
        pv3->attach(monitor.get());
        pv4->attach(monitor.get());
        monitor->CutLevelShow(LevelMonitor::MarkerMax);
        pv4->hide(); // the editor starts closed
    }
    ~MonitorRig() { monitor.reset(); }

    int stripPosition() const { return strips.strips[2]->UpDownPosition(); }

    template <class W>
    W *pv3Child(const char *name) const
    {
        return pv3->findChild<W *>(QLatin1String(name));
    }
    template <class W>
    W *pv4Child(const char *name) const
    {
        return pv4->findChild<W *>(QLatin1String(name));
    }
    // A click on a button of PV3 or PV4.
    void click(const char *name) const
    {
        ColourButton *b = pv3Child<ColourButton>(name);
        if (!b)
            b = pv4Child<ColourButton>(name);
        if (b)
            b->Click();
    }

    StripTestWindow strips;
    QComboBox *rlWait = nullptr;
    LevelMonitorPanel *pv3 = nullptr;
    CutLevelPanel *pv4 = nullptr;
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
