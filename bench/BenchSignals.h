#pragma once
// Signals the benchmarks scan: quiet 16-bit noise, the same in every run.

#include <QByteArray>

#include <random>

namespace nuvask::bench {

// `bytes` bytes of little-endian 16-bit samples within +-3000.
inline QByteArray QuietNoise(int bytes, unsigned seed)
{
    QByteArray d(bytes, '\0');
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> noise(-3000, 3000);
    for (int i = 0; i + 1 < bytes; i += 2) {
        const int v = noise(random);
        d[i] = char(v & 0xFF);
        d[i + 1] = char((v >> 8) & 0xFF);
    }
    return d;
}

} // namespace nuvask::bench
