#pragma once
// Turning a saved strip binding (device index, destination and source component
// types) into item indexes of the opened mixer, and back again at close.

#include "core/settings/SettingsStore.h"

namespace nuvask {

class MixerLayer;

struct StripSelection
{
    int device = 0;
    int destination = 0;
    int source = 0;
};

// Among the sources of one destination: the one with this type and name, else
// the first with this type (also when `name` is empty), else -1.
qsizetype SourceOf(const MixerLayer &layer, int device, int destination, const QString &type, const QString &name);

// The device index falls back to 0 when it is not a device any more. Only the
// first destination with the saved type is looked at; the indexes are taken
// only when both the destination and, within it, the source type match, and
// are 0 and 0 otherwise; among sources of the saved type the saved name
// decides. Types are compared as text.
StripSelection ResolveStripBinding(const MixerLayer &layer, const StripBinding &saved);

// Where a strip's line is after the lists were built again: on the device of
// the same name (its old index first, when several have that name), in the
// destination of the same type, the source of the same type and name (by type
// alone when no name is known). False when that line is not there now.
bool FindBoundLine(const MixerLayer &layer, const QString &deviceName, const StripSelection &before,
                   const StripBinding &bound, StripSelection &found);

// What is saved for a strip showing these items: the device index, the
// component types of the selected destination and source and the source's name; index 0 and empty
// types when the items do not name a listed line (no device).
StripBinding TakeStripBinding(const MixerLayer &layer, const StripSelection &shown);

} // namespace nuvask
