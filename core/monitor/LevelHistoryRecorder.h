#pragma once
// Feeds the level history with what the mixer side does to the recording
// line (the strip the level monitor lowers): every automatic lowering of it
// with its volume before and after, every change of its volume that no strip
// of this program wrote, and every restore of the volume guard. The level
// monitor itself appends the buffers' peaks and its switching on and off.

#include "core/mixer/MixerHost.h"

#include <QObject>

namespace nuvask {

class LevelHistory;
class MixerLayer;

class LevelHistoryRecorder : public QObject
{
    Q_OBJECT
public:
    LevelHistoryRecorder(LevelHistory &history, MixerLayer &layer, QObject *parent = nullptr);

    // The window's control-change handler goes through here: the layer
    // shows the change on the strips exactly as before, and a volume of the
    // recording line that moved without this program writing it is kept.
    void MixerControlChanged(quint32 controlId);
    // The layer's report of an automatic lowering (MixerHost).
    void AutoLowered(const AutoLowering &lowering);

public slots:
    // The volume guard put a strip's line back (the guard's restored
    // signal): before and after in mixer units; kept for the recording strip.
    void GuardRestored(int strip, quint32 before, quint32 after);

private:
    LevelHistory &m_history;
    MixerLayer &m_layer;
};

} // namespace nuvask
