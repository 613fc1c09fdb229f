// Listing a large folder as the folder browser does: the file rows of a
// 10,000-file folder (sorted by name), their size sort, and the sub-folders
// of a 10,000-folder folder. The browser should fill either in well under a
// second; the figures are printed, never asserted.
#include "core/folders/FileListing.h"
#include "core/folders/FolderNamespace.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int kEntries = 10000;

// One tree for every benchmark of the run.
const QTemporaryDir &Tree()
{
    static QTemporaryDir dir;
    static bool made = false;
    if (!made) {
        QDir root(dir.path());
        root.mkdir(QStringLiteral("files"));
        root.mkdir(QStringLiteral("folders"));
        for (int i = 0; i < kEntries; ++i) {
            QFile file(dir.path() + QStringLiteral("/files/file%1.txt").arg(i, 5, 10, QChar(u'0')));
            if (file.open(QIODevice::WriteOnly))
                file.write(QByteArray(i % 4096, 'x'));
            root.mkdir(QStringLiteral("folders/フォルダー%1").arg(kEntries - i));
        }
        made = true;
    }
    return dir;
}

void BM_ListFiles(benchmark::State &state)
{
    const QString folder = Tree().path() + QStringLiteral("/files");
    for (auto _ : state) {
        nuvask::FileListing listing = nuvask::ListFiles(folder, QStringLiteral("*.*"));
        benchmark::DoNotOptimize(listing.rows.size());
    }
    state.counters["entries"] = kEntries;
}
BENCHMARK(BM_ListFiles)->Unit(benchmark::kMillisecond);

void BM_SortBySize(benchmark::State &state)
{
    const nuvask::FileListing listing = nuvask::ListFiles(Tree().path() + QStringLiteral("/files"), QStringLiteral("*.*"));
    for (auto _ : state) {
        QList<nuvask::FileRow> rows = listing.rows;
        nuvask::SortRows(rows, nuvask::FileColumn::Size, true);
        benchmark::DoNotOptimize(rows.size());
    }
}
BENCHMARK(BM_SortBySize)->Unit(benchmark::kMillisecond);

void BM_SubFolders(benchmark::State &state)
{
    const QString folder = Tree().path() + QStringLiteral("/folders");
    for (auto _ : state) {
        const QList<nuvask::SubFolder> subs = nuvask::SubFolders(folder);
        benchmark::DoNotOptimize(subs.size());
    }
    state.counters["entries"] = kEntries;
}
BENCHMARK(BM_SubFolders)->Unit(benchmark::kMillisecond);

} // namespace
