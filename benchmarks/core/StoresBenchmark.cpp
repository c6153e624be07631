// How the phone's own files cost as they grow: every operation reads the whole file and every change
// rewrites it, photographs included.
#include "core/RunningNumber.h"
#include "core/SavedCompoundStore.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// A compound as printed, with two photographs of realistic size (about 60 KB and 12 KB of JPEG).
SavedCompound sampleEntry(int i) {
    RecordMap record;
    for (int k = 0; k < 60; ++k)
        record.insert(QStringLiteral("key%1").arg(k),
                      QStringLiteral("NILAI %1 UNTUK MEDAN %2").arg(i).arg(k));
    record.insert(QStringLiteral("kompaunRunningNumber"),
                  QStringLiteral("P2026M07%1").arg(i, 6, 10, QLatin1Char('0')));
    const PhotoEntry photo{QString(16000, QLatin1Char('A')), QString(80000, QLatin1Char('B'))};
    return {makeRecord(record), {photo, photo}, QStringLiteral("0")};
}

void StoreInsert(benchmark::State& state) {
    QTemporaryDir dir;
    SavedCompoundStore store(dir.path(), nullptr);
    SavedCompoundList list;
    for (int i = 0; i < state.range(0); ++i)
        list.append(sampleEntry(i));
    store.saveArrayFile(list);
    const SavedCompound next = sampleEntry(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        store.saveArrayFile(list);
        state.ResumeTiming();
        store.insertIntoBaruPBCompound(next.record, next.photos);
    }
    state.SetLabel("compounds already stored");
}
BENCHMARK(StoreInsert)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);

void StoreCountWaiting(benchmark::State& state) {
    QTemporaryDir dir;
    SavedCompoundStore store(dir.path(), nullptr);
    SavedCompoundList list;
    for (int i = 0; i < state.range(0); ++i)
        list.append(sampleEntry(i));
    store.saveArrayFile(list);
    for (auto _ : state)
        benchmark::DoNotOptimize(store.getDicetakUploadCountNumber());
}
BENCHMARK(StoreCountWaiting)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);

void RunningNumberAdvance(benchmark::State& state) {
    QTemporaryDir dir;
    SavedCompoundStore store(dir.path(), nullptr);
    RunningNumber numbers(dir.path(), store, nullptr);
    for (auto _ : state) {
        state.PauseTiming();
        numbers.setRunningNumber(int(state.range(0)));
        state.ResumeTiming();
        numbers.addOneRunningNumber();
    }
    state.SetLabel("compounds numbered so far");
}
BENCHMARK(RunningNumberAdvance)->Arg(100)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
