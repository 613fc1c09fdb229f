// Saved strip bindings turned into item indexes of the opened mixer, and back.

#include "core/mixer/StripBindingRestore.h"

#include "core/mixer/MixerLayer.h"

namespace nuvask {

qsizetype SourceOf(const MixerLayer &layer, int device, int destination, const QString &type, const QString &name)
{
    const QStringList &types = layer.SrcTypeList(device, destination);
    const QStringList &names = layer.SrcNameList(device, destination);
    // Several lines share a type (every microphone input of a card): the name
    // tells them apart; without a name, or with none matching, the first of the type.
    for (qsizetype s = 0; !name.isEmpty() && s < types.size() && s < names.size(); ++s) {
        if (types.at(s) == type && names.at(s) == name)
            return s;
    }
    return types.indexOf(type);
}

StripSelection ResolveStripBinding(const MixerLayer &layer, const StripBinding &saved)
{
    StripSelection out;
    out.device = (saved.device < 0 || saved.device >= layer.DeviceCount()) ? 0 : saved.device;
    const qsizetype k = layer.DestTypeList(out.device).indexOf(saved.destType);
    if (k < 0)
        return out;
    const qsizetype s = SourceOf(layer, out.device, int(k), saved.srcType, saved.srcName);
    if (s < 0)
        return out;
    out.destination = int(k);
    out.source = int(s);
    return out;
}

bool FindBoundLine(const MixerLayer &layer, const QString &deviceName, const StripSelection &before,
                   const StripBinding &bound, StripSelection &found)
{
    const QStringList &devices = layer.DeviceNameList();
    found.device = before.device >= 0 && before.device < devices.size() && devices.at(before.device) == deviceName
                       ? before.device
                       : int(devices.indexOf(deviceName));
    if (found.device < 0 || deviceName.isEmpty())
        return false;
    found.destination = int(layer.DestTypeList(found.device).indexOf(bound.destType));
    if (found.destination < 0)
        return false;
    const QStringList &types = layer.SrcTypeList(found.device, found.destination);
    const QStringList &names = layer.SrcNameList(found.device, found.destination);
    for (qsizetype s = 0; s < types.size() && s < names.size(); ++s) {
        if (types.at(s) == bound.srcType && (bound.srcName.isEmpty() || names.at(s) == bound.srcName)) {
            found.source = int(s);
            return true;
        }
    }
    return false;
}

StripBinding TakeStripBinding(const MixerLayer &layer, const StripSelection &shown)
{
    StripBinding out;
    const QStringList &dests = layer.DestTypeList(shown.device);
    const QStringList &srcs = layer.SrcTypeList(shown.device, shown.destination);
    if (shown.device < 0 || shown.device >= layer.DeviceCount() || shown.destination < 0
        || shown.destination >= dests.size() || shown.source < 0 || shown.source >= srcs.size())
        return out;
    out.device = shown.device;
    out.destType = dests.at(shown.destination);
    out.srcType = srcs.at(shown.source);
    out.srcName = layer.SrcNameList(shown.device, shown.destination).value(shown.source);
    return out;
}

} // namespace nuvask
