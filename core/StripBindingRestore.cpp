#include "core/StripBindingRestore.h"

#include "core/MixerLayer.h"

namespace nuvask {

StripSelection ResolveStripBinding(const MixerLayer &layer, const StripBinding &saved)
{
    StripSelection out;
    out.device = (saved.device < 0 || saved.device >= layer.DeviceCount()) ? 0 : saved.device;
    const qsizetype k = layer.DestTypeList(out.device).indexOf(saved.destType);
    if (k < 0)
        return out;
    const qsizetype s = layer.SrcTypeList(out.device, int(k)).indexOf(saved.srcType);
    if (s < 0)
        return out;
    out.destination = int(k);
    out.source = int(s);
    return out;
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
    return out;
}

} // namespace nuvask
