#pragma once
// Peak of a captured buffer as the level monitor measures it: frame by frame,
// the first two channels, stopping as soon as the running peak reaches a
// threshold. PeakScanRule is the rule written out one frame at a time;
// PeakScanFast gives bit-identical results at memory speed and is the one the
// monitor runs on every buffer.

#include <QtGlobal>

namespace nuvask {

// How the analysed bytes are laid out.
struct PeakScanLayout {
    int bytesPerSample = 2; // 1: unsigned 8-bit samples, 2: signed 16-bit little-endian
    int channels = 2;       // only the first two are measured
    int frameStep = 4;      // bytes from the start of one frame to the next
};

// The threshold on the data's own scale: a 16-bit level as it is, divided by
// 256 (rounded, half to even) for 8-bit data.
int PeakScanThreshold(int level16, int bytesPerSample);

// Scans whole frames of the first `bytes` bytes (a partial last frame is not
// read) and returns the largest absolute sample of the first two channels over
// the scanned frames, on the data's own scale (0..128 for 8-bit, 0..32768 for
// 16-bit). The scan stops after the first frame at which that peak reaches
// `threshold`. A layout the rule cannot measure (no channel, a sample size
// other than 1 or 2, frames shorter than their samples) gives 0.
int PeakScanRule(const char *data, quint32 bytes, const PeakScanLayout &layout, int threshold);
int PeakScanFast(const char *data, quint32 bytes, const PeakScanLayout &layout, int threshold);

// The level a meter of the whole input shows: the first two channels mixed
// into one (their mean, rounded down), then the largest magnitude over the
// whole frames of `bytes`, on the data's own scale (0..128 or 0..32768). A
// sound server's peak detector mixes a stereo input the same way. A layout
// the rule cannot measure gives 0.
int PeakScanMixed(const char *data, quint32 bytes, const PeakScanLayout &layout);

} // namespace nuvask
