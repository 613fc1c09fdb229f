#pragma once
// Short builders for simulated boards, and the board the demo shows.

#include "platform/sim/SimMixerBoard.h"

#include <utility>

namespace nuvask::sim {

SimControl Volume(quint32 controlId, quint32 value, quint32 maximum = 65535, quint32 flags = 0);
SimControl Mute(quint32 controlId, bool muted, quint32 flags = MixerControlFlag::Uniform);
SimControl PeakMeter(quint32 controlId, qint32 value, qint32 maximum = 32767);
// A multiplexer over the given (line identifier, name) items; `selected` is the
// item that reads 1.
SimControl Mux(quint32 controlId, const QList<std::pair<quint32, QString>> &items, int selected,
               quint32 flags = MixerControlFlag::Uniform | MixerControlFlag::Multiple);
SimLine Line(quint32 lineId, quint32 componentType, const QString &name, QList<SimControl> controls,
             quint32 channels = 2);

// A sound card with speakers (master, wave, CD, microphone) and a recording
// line with volume, peak meter and a source multiplexer over microphone and line.
SimDevice DemoDevice(const QString &productName = QStringLiteral("nuvASK Sim Audio"));

} // namespace nuvask::sim
