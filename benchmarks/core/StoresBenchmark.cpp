// What the saved-compounds store costs as it grows, with photographs of the size phones take (three of
// 1.5 MB per compound). Each figure comes with the bytes the process wrote to storage per operation
// (write_bytes of /proc/self/io), so a store that rewrites itself shows at once.
//
// The same file builds against the earlier whole-file store (no SavedCompoundFile.h there), so the two
// can be run side by side; what that store lacks is done the way its callers did it.
#include "core/RunningNumber.h"
#include "core/SavedCompoundStore.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#if __has_include("core/SavedCompoundFile.h")
#define KOMPAUN_SQLITE_STORE 1
#else
#define KOMPAUN_SQLITE_STORE 0
#endif

namespace {

qint64 bytesWritten() {
    QFile io(QStringLiteral("/proc/self/io"));
    if (!io.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : io.readAll().split('\n'))
        if (line.startsWith("write_bytes:"))
            return line.mid(12).trimmed().toLongLong();
    return 0;
}

constexpr qsizetype photoBytes = 1536 * 1024;

const PhotoList& photos() {
    // Three photographs of incompressible bytes, shared by every compound (Qt shares the text).
    static const PhotoList list = [] {
        PhotoList out;
        for (int p = 0; p < 3; ++p) {
            QByteArray jpeg(photoBytes, Qt::Uninitialized);
            QRandomGenerator rng(quint32(p + 1));
            rng.fillRange(reinterpret_cast<quint32*>(jpeg.data()), jpeg.size() / 4);
            QByteArray thumb = jpeg.left(20000);
            out.append({QString::fromLatin1(thumb.toBase64()), QString::fromLatin1(jpeg.toBase64())});
        }
        return out;
    }();
    return list;
}

Record sampleRecord(int i) {
    RecordMap record;
    for (int k = 0; k < 60; ++k)
        record.insert(QStringLiteral("key%1").arg(k),
                      QStringLiteral("NILAI %1 UNTUK MEDAN %2").arg(i).arg(k));
    record.insert(QStringLiteral("kompaunRunningNumber"),
                  QStringLiteral("P2026M07%1").arg(i, 6, 10, QLatin1Char('0')));
    record.insert(QStringLiteral("kompaunButiranKesalahan"),
                  QStringLiteral("MELETAK KENDERAAN DI PETAK OKU"));
    record.insert(QStringLiteral("status_batal"), QStringLiteral("0"));
    return makeRecord(record);
}

// A store holding n compounds, built the cheapest way each store allows.
void fill(SavedCompoundStore& store, int n) {
#if KOMPAUN_SQLITE_STORE
    for (int i = 1; i <= n; ++i)
        store.insertIntoBaruPBCompound(sampleRecord(i), photos());
#else
    SavedCompoundList list;
    for (int i = 1; i <= n; ++i)
        list.append({sampleRecord(i), photos(), QStringLiteral("0")});
    store.saveArrayFile(list);
#endif
}

void countBytes(benchmark::State& state, qint64 before) {
    state.counters["bytes_written/op"] =
        benchmark::Counter(double(bytesWritten() - before) / double(state.iterations()));
    state.counters["compound_bytes"] = double(3 * photoBytes);
}

// Storing the n-th compound, as "Ya" does before the notice prints.
void StoreNth(benchmark::State& state) {
    QTemporaryDir dir;
    SavedCompoundStore store(dir.path(), nullptr);
    fill(store, int(state.range(0)) - 1);
    int i = int(state.range(0));
    const qint64 before = bytesWritten();
    for (auto _ : state)
        store.insertIntoBaruPBCompound(sampleRecord(i++), photos());
    countBytes(state, before);
}
BENCHMARK(StoreNth)->Arg(1)->Arg(10)->Arg(100)->Arg(1000)->Iterations(5)->Unit(benchmark::kMillisecond);

// Marking the n-th compound uploaded, as the upload run does after the council accepts it.
void MarkNth(benchmark::State& state) {
    QTemporaryDir dir;
    SavedCompoundStore store(dir.path(), nullptr);
    fill(store, int(state.range(0)));
#if !KOMPAUN_SQLITE_STORE
    SavedCompoundList entries = store.getDicetak();
#endif
    const qint64 before = bytesWritten();
    for (auto _ : state) {
#if KOMPAUN_SQLITE_STORE
        store.setUploadFlag(state.range(0), QStringLiteral("1"));
#else
        entries.last().uploadFlag = QStringLiteral("1");
        store.saveArrayFile(entries);
#endif
    }
    countBytes(state, before);
}
BENCHMARK(MarkNth)->Arg(1)->Arg(10)->Arg(100)->Arg(1000)->Iterations(5)->Unit(benchmark::kMillisecond);

// The store's side of n compounds stored ("Ya") and then uploaded: each compound read, its photographs
// read one at a time, and its marks written. Arg 1 chooses the marks: 0 as the upload run wrote them
// before (a commit when the compound is accepted, one per photograph and one at the end: the baseline),
// 1 as it writes them now (one commit per compound). written_per_stored is every byte written, storing
// included, per byte of photograph stored.
void UploadRunStore(benchmark::State& state) {
    const int n = int(state.range(0));
    const bool batched = state.range(1) == 1;
    qint64 written = 0;
    qint64 uploadWritten = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dir;
        SavedCompoundStore store(dir.path(), nullptr);
        const qint64 start = bytesWritten();
        fill(store, n);
        const qint64 before = bytesWritten();
        state.ResumeTiming();
#if KOMPAUN_SQLITE_STORE
        for (qint64 after = 0;;) {
            const auto entry = store.nextWaiting(after);
            if (!entry)
                break;
            after = entry->id;
            if (!batched)
                store.setUploadFlag(after, QStringLiteral("0;gambar="));
            QString accepted;
            for (auto photo = store.nextPhoto(after, 0); photo;
                 photo = store.nextPhoto(after, photo->position)) {
                benchmark::DoNotOptimize(photo->fullJpeg().size());
                accepted +=
                    (accepted.isEmpty() ? QString() : QStringLiteral(",")) + QString::number(photo->position);
                if (!batched)
                    store.setUploadFlag(after, QStringLiteral("0;gambar=") + accepted);
            }
            store.setUploadFlag(after, QStringLiteral("1"));
        }
#else
        store.purgeUploaded();
        SavedCompoundList entries = store.getDicetak();
        for (SavedCompound& e : entries) {
            for (const PhotoEntry& p : e.photos)
                benchmark::DoNotOptimize(QByteArray::fromBase64(p.full.toLatin1()).size());
            e.uploadFlag = QStringLiteral("1");
            store.saveArrayFile(entries);
        }
#endif
        state.PauseTiming();
        written += bytesWritten() - start;
        uploadWritten += bytesWritten() - before;
        state.ResumeTiming();
    }
    const double stored = double(n) * 3 * photoBytes;
    state.counters["bytes_written/run"] = double(uploadWritten) / double(state.iterations());
    state.counters["compounds_bytes"] = stored;
    state.counters["written_per_stored"] = double(written) / double(state.iterations()) / stored;
    state.SetLabel(batched ? "one commit per compound" : "baseline: commits per photograph");
}
BENCHMARK(UploadRunStore)
    ->Args({10, 0})
    ->Args({10, 1})
    ->Args({100, 0})
    ->Args({100, 1})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// Opening the printed list: the waiting compounds' numbers and particulars.
void PrintedListOpen(benchmark::State& state) {
    QTemporaryDir dir;
    SavedCompoundStore store(dir.path(), nullptr);
    fill(store, int(state.range(0)));
    for (auto _ : state) {
        QStringList rows;
#if KOMPAUN_SQLITE_STORE
        for (const SavedCompoundRow& row : store.printedListRows())
            rows << row.number + row.particulars;
#else
        for (const SavedCompound& e : store.getDicetak())
            if (e.flagValue() == 0)
                rows << e.record->value(QStringLiteral("kompaunRunningNumber")) +
                            e.record->value(QStringLiteral("kompaunButiranKesalahan"));
#endif
        benchmark::DoNotOptimize(rows.size());
    }
}
BENCHMARK(PrintedListOpen)->Arg(100)->Unit(benchmark::kMillisecond);

// The stores' part of start-up to the login screen: the store opened afresh, the running-number check,
// the purge (and the migration check, which finds no old file).
void StartUpStores(benchmark::State& state) {
    QTemporaryDir dir;
    {
        SavedCompoundStore store(dir.path(), nullptr);
        fill(store, int(state.range(0)));
    }
    const qint64 before = bytesWritten();
    for (auto _ : state) {
        SavedCompoundStore store(dir.path(), nullptr);
#if KOMPAUN_SQLITE_STORE
        store.migrateOldFile();
#endif
        RunningNumber numbers(dir.path(), store, nullptr);
        numbers.runningNumber(QStringLiteral("M07"));
        store.purgeUploaded();
    }
    countBytes(state, before);
}
BENCHMARK(StartUpStores)->Arg(100)->Iterations(5)->Unit(benchmark::kMillisecond);

#if KOMPAUN_SQLITE_STORE
// The one-off import of an old store of n compounds at the first start after the update.
void MigrateOldStore(benchmark::State& state) {
    QTemporaryDir source;
    {
        SavedCompoundStore store(source.path(), nullptr);
        fill(store, int(state.range(0)));
        store.exportTo(source.filePath(QStringLiteral("saveIns.dat")));
    }
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dir;
        QFile::copy(source.filePath(QStringLiteral("saveIns.dat")),
                    dir.filePath(QStringLiteral("saveIns.dat")));
        SavedCompoundStore store(dir.path(), nullptr);
        state.ResumeTiming();
        benchmark::DoNotOptimize(store.migrateOldFile().entries);
    }
}
BENCHMARK(MigrateOldStore)->Arg(100)->Iterations(1)->Unit(benchmark::kMillisecond);
#endif

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
