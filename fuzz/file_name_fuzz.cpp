// Any bytes a file name can hold come back unchanged through the text form
// and through the form a settings file keeps, the name as shown is valid text
// on one line, and any settings value reads as some name.
#include "core/folders/FileNames.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QString name = nuvask::DecodeFileName(bytes);
    if (nuvask::EncodeFileName(name) != bytes)
        std::abort();
    if (nuvask::FileNameFromStored(QString::fromUtf8(nuvask::StoredFileName(name).toUtf8())) != name)
        std::abort();
    nuvask::FileNameFromStored(QString::fromUtf8(bytes));
    const QString shown = nuvask::DisplayName(name);
    if (!shown.isValidUtf16())
        std::abort();
    for (const QChar c : shown) {
        if (c.unicode() < 0x20 || c == u'\x7F' || c == u'\u2028' || c == u'\u2029')
            std::abort();
    }
    return 0;
}
