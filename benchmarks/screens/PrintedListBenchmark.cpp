// The printed list on a day of many compounds: read from the store and narrowed by a search as the
// officer types one more letter.
#include "core/SavedCompoundStore.h"
#include "screens/printed/PrintedListViewController.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

void fill(SavedCompoundStore& store, int n) {
    for (int i = 0; i < n; ++i)
        store.insertIntoBaruPBCompound(
            makeRecord({{QStringLiteral("kompaunRunningNumber"),
                         QStringLiteral("P2026M07%1").arg(i, 6, 10, QLatin1Char('0'))},
                        {QStringLiteral("kompaunButiranKesalahan"),
                         QStringLiteral("MELETAK KENDERAAN DI PETAK OKU")},
                        {QStringLiteral("kenderaanNoKenderaan"), QStringLiteral("WXY %1").arg(1000 + i)},
                        {QStringLiteral("namaPesalah"), QStringLiteral("PESALAH NOMBOR %1").arg(i)},
                        {QStringLiteral("kompaunMasa"),
                         QStringLiteral("10:%1").arg(i % 60, 2, 10, QLatin1Char('0'))},
                        {QStringLiteral("status_batal"), QStringLiteral("0")}}),
            {});
}

// Reading the rows and making every row's texts, as the list does each time it shows.
void PrintedListRead(benchmark::State& state) {
    QTemporaryDir dir;
    SavedCompoundStore store(dir.path(), nullptr);
    fill(store, int(state.range(0)));
    for (auto _ : state) {
        QStringList texts;
        for (const SavedCompoundRow& row : store.printedListRows())
            texts << PrintedListViewController::rowTitle(row) + PrintedListViewController::rowSubtitle(row);
        benchmark::DoNotOptimize(texts.size());
    }
}
BENCHMARK(PrintedListRead)->Arg(100)->Unit(benchmark::kMillisecond);

// One keystroke of a search over rows already read.
void PrintedListSearch(benchmark::State& state) {
    QTemporaryDir dir;
    SavedCompoundStore store(dir.path(), nullptr);
    fill(store, int(state.range(0)));
    const QList<SavedCompoundRow> rows = store.printedListRows();
    for (auto _ : state) {
        int found = 0;
        for (const SavedCompoundRow& row : rows)
            found += PrintedListViewController::matches(row, QStringLiteral("wxy10"));
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(PrintedListSearch)->Arg(100)->Unit(benchmark::kMicrosecond);

} // namespace
