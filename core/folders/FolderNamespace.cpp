// Folder names as the folder browser shows them, and the paths behind them.

#include "core/folders/FolderNamespace.h"

#include "core/folders/FileNames.h"
#include "core/folders/FolderPaths.h"

#include <algorithm>
#include <memory>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace nuvask {

namespace {

FolderEntry EntryFor(const QByteArray &folder, const char *name)
{
    FolderEntry entry;
    entry.name = DecodeFileName(QByteArray(name));
    const QByteArray path = folder + name;
    struct stat st {};
    if (::stat(path.constData(), &st) != 0) {
        // A dangling or looping link: what the link itself says.
        if (::lstat(path.constData(), &st) != 0)
            return entry;
    } else {
        entry.folder = S_ISDIR(st.st_mode);
        entry.regularFile = S_ISREG(st.st_mode);
    }
    entry.size = st.st_size;
    entry.modified = QDateTime::fromSecsSinceEpoch(st.st_mtim.tv_sec).addMSecs(st.st_mtim.tv_nsec / 1000000);
    entry.writable = ::access(path.constData(), W_OK) == 0;
    return entry;
}

} // namespace

QList<FolderEntry> ReadFolder(const QString &folder, bool *ok)
{
    QList<FolderEntry> out;
    const QByteArray prefix = EncodeFileName(WithTrailingSeparator(folder));
    const std::unique_ptr<DIR, int (*)(DIR *)> dir(::opendir(prefix.constData()), &::closedir);
    if (ok)
        *ok = dir != nullptr;
    if (!dir)
        return out;
    while (const dirent *d = ::readdir(dir.get())) {
        const char *name = d->d_name;
        if (qstrcmp(name, ".") == 0 || qstrcmp(name, "..") == 0)
            continue;
        out.append(EntryFor(prefix, name));
    }
    return out;
}

bool DisplayNameLess(const QString &a, const QString &b)
{
    const int folded = a.compare(b, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : a.compare(b, Qt::CaseSensitive) < 0;
}

QList<SubFolder> SubFolders(const QString &folder, bool *ok)
{
    QList<SubFolder> out;
    const QString prefix = WithTrailingSeparator(folder);
    for (const FolderEntry &entry : ReadFolder(folder, ok)) {
        if (entry.folder)
            out.append({entry.name, DisplayName(entry.name), prefix + entry.name});
    }
    std::sort(out.begin(), out.end(), [](const SubFolder &a, const SubFolder &b) {
        return DisplayNameLess(a.display, b.display);
    });
    return out;
}

QString TranslateDisplayPath(const QString &path)
{
    const QString wanted = StripTrailingSeparator(path);
    if (!wanted.startsWith(kFolderSeparator))
        return {};
    if (CanOpenFolder(wanted))
        return wanted;
    const QStringList components = FolderComponents(wanted);
    QString sofar = components.first();
    for (qsizetype i = 1; i < components.size(); ++i) {
        const QString next = WithTrailingSeparator(sofar) + components[i];
        if (CanOpenFolder(next)) {
            sofar = next;
            continue;
        }
        const QList<SubFolder> subs = SubFolders(sofar);
        auto match = std::find_if(subs.begin(), subs.end(),
                                  [&](const SubFolder &s) { return s.display == components[i]; });
        if (match == subs.end()) {
            match = std::find_if(subs.begin(), subs.end(), [&](const SubFolder &s) {
                return s.display.compare(components[i], Qt::CaseInsensitive) == 0;
            });
        }
        if (match == subs.end())
            return {};
        sofar = match->path;
    }
    // The last name may be found and still not open (no permission).
    return sofar.startsWith(kFolderSeparator) && CanOpenFolder(sofar) ? sofar : QString();
}

} // namespace nuvask
