// The folder browser's text rules must hold for any text a caller or a user
// gives them: a filter always yields an all-files entry and only non-empty
// masks; the new-folder prompt shows a true tail of the path, never more than
// 36 bytes of it once shortened and never half a character.
#include "core/base/Cp932.h"
#include "core/folders/FileNames.h"
#include "core/folders/FolderFilter.h"
#include "core/folders/FolderPaths.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));

    const QList<nuvask::FilterEntry> entries = nuvask::ParseFilter(text);
    bool all = false;
    for (const nuvask::FilterEntry &e : entries) {
        if (e.mask.isEmpty() || !e.caption.endsWith(QStringLiteral(" (") + e.mask + u')'))
            std::abort();
        all = all || e.mask == QStringLiteral("*.*");
    }
    if (!all)
        std::abort();

    const QString folder = QStringLiteral("/") + text;
    const QString prompt = nuvask::NewFolderPrompt(folder);
    if (!prompt.endsWith(QStringLiteral("     ")))
        std::abort();
    const QString shown = prompt.chopped(5);
    // The prompt shows the path as the browser shows names (a line break
    // or a foreign byte as one mark), so its tail is a tail of that form.
    const QString full = nuvask::WithTrailingSeparator(nuvask::DisplayName(folder));
    if (shown != full) {
        const QString tail = shown.mid(3);
        if (!shown.startsWith(QStringLiteral("...")) || !full.endsWith(tail))
            std::abort();
        const qsizetype bytes = nuvask::Cp932::byteLength(tail);
        if (bytes > 36 || (bytes < 0 && tail.toUtf8().size() > 36))
            std::abort();
    }
    return 0;
}
