// Any bytes in a registered-volume file must load without crashing and within
// the limits, and what was loaded must be written back without refusal; the
// written bytes load as the same lines and write as the same bytes again.
#include "core/presets/RegisteredVolumeFiles.h"

#include <cstdint>
#include <cstdlib>

using nuvask::RegisteredVolumeFiles;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 1)
        return 0;
    // The first byte says whether the bytes are the head of a longer file.
    const bool truncated = data[0] & 1;
    const QByteArray bytes(reinterpret_cast<const char *>(data + 1), static_cast<qsizetype>(size - 1));

    RegisteredVolumeFiles::ForeignBytes foreign;
    const QStringList lines = RegisteredVolumeFiles::DecodeLines(bytes, truncated, foreign);
    if (lines.size() > RegisteredVolumeFiles::MaxLines)
        std::abort();
    QByteArray written;
    if (!RegisteredVolumeFiles::EncodeLines(lines, foreign, written).isEmpty())
        std::abort();

    RegisteredVolumeFiles::ForeignBytes foreignAgain;
    if (RegisteredVolumeFiles::DecodeLines(written, false, foreignAgain) != lines)
        std::abort();
    QByteArray again;
    if (!RegisteredVolumeFiles::EncodeLines(lines, foreignAgain, again).isEmpty() || again != written)
        std::abort();
    return 0;
}
