// Any bytes in a hive file must parse without crashing, and what the parser
// keeps must survive a write and a second read unchanged.
#include "core/HiveDocument.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const nuvask::HiveDocument first = nuvask::HiveDocument::parse(bytes);
    const QByteArray written = first.serialize();
    const nuvask::HiveDocument second = nuvask::HiveDocument::parse(written);
    if (second.serialize() != written)
        std::abort();
    for (const auto &key : first.keys())
        for (const auto &value : key.values)
            if (!value.isRawLine && second.readString(key.path, value.name) != first.readString(key.path, value.name))
                std::abort();
    return 0;
}
