// Any Exec value must parse without crashing, and any argument list written
// as an Exec value must read back as the same list.
#include "platform/linux/DesktopEntryFile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace nuvask;
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    DesktopEntryFile::ParseExec(text);
    // The input split at NUL characters is an argument list.
    const QStringList args = text.split(QChar(0));
    const QString written = DesktopEntryFile::EscapeValue(DesktopEntryFile::ExecLine(args));
    const auto back = DesktopEntryFile::ParseExec(written);
    if (!back || *back != args)
        std::abort();
    return 0;
}
