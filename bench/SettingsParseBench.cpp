// Parsing a settings file grows with its size, not with its square: the
// figures for 1,000, 5,000 and 20,000 values, and the fitted complexity,
// show it. A registry read of a file that did not change parses nothing.
#include "core/settings/SettingsFileDocument.h"
#include "platform/linux/SettingsFileStore.h"

#include <QByteArray>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <QFile>

using namespace nuvask;

namespace {

// valueCount values in keys of 50, as an exported registry branch looks.
QByteArray MakeSettingsFile(int valueCount)
{
    QByteArray out = "Windows Registry Editor Version 5.00\r\n";
    for (int i = 0; i < valueCount; ++i) {
        if (i % 50 == 0)
            out += "\r\n[Software\\Vendor\\Product\\Branch" + QByteArray::number(i / 50) + "]\r\n";
        out += "\"Value" + QByteArray::number(i) + "\"=\"text " + QByteArray::number(i * 7) + "\"\r\n";
    }
    return out;
}

void BM_SettingsParse(benchmark::State &state)
{
    const QByteArray bytes = MakeSettingsFile(int(state.range(0)));
    for (auto _ : state) {
        SettingsFileDocument doc = SettingsFileDocument::parse(bytes);
        benchmark::DoNotOptimize(doc);
    }
    state.SetComplexityN(state.range(0));
    state.SetBytesProcessed(int64_t(state.iterations()) * bytes.size());
    state.counters["values"] = double(state.range(0));
}
BENCHMARK(BM_SettingsParse)->Arg(1000)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

// The start-up's pattern: twenty reads of a 20,000-value file in a row.
void BM_SettingsTwentyReads(benchmark::State &state)
{
    QTemporaryDir dir;
    QFile file(dir.path() + "/HKEY_CURRENT_USER.reg");
    file.open(QIODevice::WriteOnly);
    file.write(MakeSettingsFile(20000));
    file.close();
    SettingsFileStore settingsTree(dir.path());
    for (auto _ : state) {
        for (int i = 0; i < 20; ++i)
            benchmark::DoNotOptimize(settingsTree.readString(SettingsRoot::CurrentUser, "Software\\Vendor\\Product\\Branch399",
                                                         "Value" + QString::number(19950 + i)));
    }
    state.counters["parses"] = double(settingsTree.parseCount());
}
BENCHMARK(BM_SettingsTwentyReads)->Unit(benchmark::kMillisecond);

} // namespace
