// The byte rules must hold for any byte string: truncation never leaves a
// dangling lead byte and never grows the text; the backslash rules are
// idempotent.
#include "core/base/TextHelpers.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 2)
        return 0;
    const qsizetype n = data[0];
    const QByteArray text(reinterpret_cast<const char *>(data + 1), static_cast<qsizetype>(size - 1));
    const QByteArray cut = nuvask::TruncateDbcs(text, n);
    if (cut.size() > n || cut.size() > text.size() || !text.startsWith(cut))
        std::abort();
    if (cut.size() < text.size() && !cut.isEmpty()) {
        const auto last = static_cast<unsigned char>(cut.back());
        if (nuvask::IsSjisLeadByte(last) && !nuvask::IsSjisTrailByte(cut, cut.size() - 1))
            std::abort();
    }
    // Idempotent on well-formed text; a text ending in a lone lead byte pairs
    // that byte with the appended backslash, so it is left out.
    const bool danglingLead = nuvask::IsSjisLeadByte(static_cast<unsigned char>(text.back()))
        && !nuvask::IsSjisTrailByte(text, text.size() - 1);
    const QByteArray added = nuvask::AddTrailingBackslash(text);
    if (!danglingLead && nuvask::AddTrailingBackslash(added) != added)
        std::abort();
    const QByteArray removed = nuvask::RemoveTrailingBackslash(text);
    if (removed.size() < text.size() - 1)
        std::abort();
    return 0;
}
