// Folder names as the folder browser shows them, and the paths behind them.

#include "core/folders/FolderNamespace.h"

#include "core/folders/FolderPaths.h"

#include <QDir>

#include <algorithm>

namespace nuvask {

bool DisplayNameLess(const QString &a, const QString &b)
{
    const int folded = a.compare(b, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : a.compare(b, Qt::CaseSensitive) < 0;
}

QList<SubFolder> SubFolders(const QString &folder, bool showHidden, bool *ok)
{
    const bool readable = CanOpenFolder(folder);
    if (ok)
        *ok = readable;
    QList<SubFolder> out;
    if (!readable)
        return out;
    QDir::Filters filters = QDir::Dirs | QDir::NoDotAndDotDot;
    if (showHidden)
        filters |= QDir::Hidden;
    const QStringList names = QDir(folder).entryList(filters, QDir::Unsorted);
    out.reserve(names.size());
    const QString prefix = WithTrailingSeparator(folder);
    for (const QString &name : names)
        out.append({name, prefix + name});
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
        const QList<SubFolder> subs = SubFolders(sofar, true);
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
