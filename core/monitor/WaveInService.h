#pragma once
// The capture service interface.
//
// The wave-input (capture) device as the level monitor sees it: open a device
// with a format, hand it buffers through headers, start, reset and close. The
// calls and fields follow the wave-input API the monitor was designed around,
// so a Windows backend is a pass-through; return codes are numbers, 0 = success.
// Realised by platform/alsa (PCM capture on "default") and platform/sim (a
// scripted signal for tests).

#include <QtGlobal>

#include <functional>

namespace nuvask {

// An open capture device. 0 is never a valid handle.
using WaveInHandle = quint32;
constexpr WaveInHandle NoWaveInHandle = 0;

// Return codes, numbered as the wave API numbers them.
namespace WaveRc {
constexpr quint32 NoError = 0;
constexpr quint32 Error = 1;
constexpr quint32 BadDeviceId = 2;
constexpr quint32 Allocated = 4;     // the device is in use
constexpr quint32 InvalidHandle = 5;
constexpr quint32 NoDriver = 6;      // the device or server went away
constexpr quint32 NoMemory = 7;
constexpr quint32 InvalidParam = 11;
constexpr quint32 BadFormat = 32;
constexpr quint32 StillPlaying = 33; // a queued buffer cannot be unprepared
constexpr quint32 Unprepared = 34;   // a buffer added without being prepared
} // namespace WaveRc

// PCM format (WAVEFORMATEX without the extra bytes).
struct WaveFormat {
    quint16 formatTag = 1;         // 1 = PCM
    quint16 channels = 2;
    quint32 samplesPerSec = 44100; // Hz
    quint32 avgBytesPerSec = 176400;
    quint16 blockAlign = 4;        // bytes per frame
    quint16 bitsPerSample = 16;
};

// Header flags (dwFlags).
namespace WaveHeaderFlag {
constexpr quint32 Done = 0x1;     // the device has handed the buffer back
constexpr quint32 Prepared = 0x2;
constexpr quint32 InQueue = 0x10; // queued on the device
} // namespace WaveHeaderFlag

// One capture buffer as the caller owns it (WAVEHDR). The buffer memory stays
// the caller's; the service writes into it while the header is queued.
struct WaveHeader {
    char *data = nullptr;       // lpData
    quint32 bufferLength = 0;   // dwBufferLength, bytes
    quint32 bytesRecorded = 0;  // dwBytesRecorded, bytes
    quint32 flags = 0;          // dwFlags
    quint32 loops = 0;          // dwLoops
};

// Called for every buffer the device hands back, filled, partly filled after a
// reset, or empty: (handle, header). Always delivered later from the Qt event
// loop, never inside the call that caused it and never on another thread. The
// header pointer is the caller's own, as it was passed to addBuffer. Buffers
// handed back but not yet delivered when the handle is closed are never
// delivered, so a caller may free its buffers right after close.
// A device that goes away (sound server stopped) hands every queued buffer
// back; from then on its calls fail with NoDriver, except unprepareHeader and
// close, which still release what the caller holds.
using WaveInNotify = std::function<void(WaveInHandle, WaveHeader *)>;

class WaveInService {
public:
    virtual ~WaveInService() = default;

    virtual quint32 deviceCount() = 0;
    virtual quint32 open(quint32 device, const WaveFormat &format, const WaveInNotify &notify,
                         WaveInHandle &handle) = 0;
    virtual quint32 prepareHeader(WaveInHandle handle, WaveHeader *header) = 0;
    virtual quint32 unprepareHeader(WaveInHandle handle, WaveHeader *header) = 0;
    // Queues the buffer; buffers are filled in the order they were added.
    virtual quint32 addBuffer(WaveInHandle handle, WaveHeader *header) = 0;
    virtual quint32 start(WaveInHandle handle) = 0;
    // Stops capturing and hands every queued buffer back (through the notify
    // call, in queue order), partly filled ones with the bytes they hold.
    virtual quint32 reset(WaveInHandle handle) = 0;
    // Fails with StillPlaying while buffers are queued.
    virtual quint32 close(WaveInHandle handle) = 0;
};

} // namespace nuvask
