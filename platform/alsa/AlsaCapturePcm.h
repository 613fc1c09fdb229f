#pragma once
// One ALSA PCM capture stream, non-blocking, in the format the caller asks
// for. It never waits: the owner watches pollDescriptors() on the event loop
// and reads what is there when they wake.

#include "core/monitor/WaveInService.h"

#include <QList>
#include <QString>

#include <memory>

typedef struct _snd_pcm snd_pcm_t;

namespace nuvask {

class AlsaCapturePcm {
public:
    struct Descriptor {
        int fd = -1;
        bool write = false; // watch for writability instead of readability
    };

    // Opens and configures `name` (e.g. "default") for `format`; nullptr and
    // the wave return code in *rc on failure (BadFormat when the device
    // refuses the format, NoDriver when it cannot be opened at all).
    static std::unique_ptr<AlsaCapturePcm> open(const QString &name, const WaveFormat &format, quint32 *rc);
    ~AlsaCapturePcm();
    AlsaCapturePcm(const AlsaCapturePcm &) = delete;
    AlsaCapturePcm &operator=(const AlsaCapturePcm &) = delete;

    // Starts capturing; a negative errno on failure.
    int start();
    QList<Descriptor> pollDescriptors() const;
    enum class Readiness {
        Ready,    // data (or an overrun) is waiting
        NotReady, // a descriptor woke, but the stream has nothing yet
        Failed,   // an error or an invalid descriptor: the stream is gone
    };
    // Asks the descriptors, without waiting, what woke them.
    Readiness readiness() const;
    // Reads up to `frames` frames into `to`: frames read, 0 when nothing is
    // waiting, a negative errno on failure (-EPIPE / -ESTRPIPE: overrun or
    // suspend, the stream must be opened again; anything else: gone).
    long read(char *to, quint32 frames);
    quint32 frameBytes() const { return m_frameBytes; }

private:
    AlsaCapturePcm() = default;

    snd_pcm_t *m_pcm = nullptr;
    quint32 m_frameBytes = 0;
};

} // namespace nuvask
