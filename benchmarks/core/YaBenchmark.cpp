// "Ya" to the first byte for the printer: the confirmed compound stored with its photographs (three of
// a 12 MP phone's size, 985 KB of JPEG each, as the picker hands them over, staged before "Ya" as the
// photograph screen does) and its number mark, the running number advanced in its file, and the notice
// composed, with 0, 100 and 1,000 compounds already stored (the number file as far on). worst_ms is the
// slowest of the runs.
#include "core/RunningNumber.h"
#include "core/SavedCompoundStore.h"
#include "platform/Log.h"
#include "printing/NoticePrinter.h"

#include <benchmark/benchmark.h>

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>

namespace {

struct QuietLog : Log {
    void write(const QString&) override {}
};

constexpr qsizetype kJpegBytes = 985 * 1024;

PhotoList pickedPhotographs(bool withBytes) {
    PhotoList list;
    for (int p = 0; p < 3; ++p) {
        QByteArray jpeg(kJpegBytes, Qt::Uninitialized);
        QRandomGenerator rng(quint32(p + 11));
        rng.fillRange(reinterpret_cast<quint32*>(jpeg.data()), jpeg.size() / 4);
        const QByteArray thumb = jpeg.left(24 * 1024);
        PhotoEntry entry{QString::fromLatin1(thumb.toBase64()), QString::fromLatin1(jpeg.toBase64())};
        if (withBytes) {
            entry.thumbnailJpeg = thumb;
            entry.fullJpeg = jpeg;
        }
        list.append(entry);
    }
    return list;
}

Record compound(int i) {
    RecordMap record;
    for (int k = 0; k < 70; ++k)
        record.insert(QStringLiteral("medan%1").arg(k), QStringLiteral("NILAI %1 MEDAN %2").arg(i).arg(k));
    record.insert(QStringLiteral("kompaunRunningNumber"),
                  QStringLiteral("P2026M07%1").arg(i, 6, 10, QLatin1Char('0')));
    record.insert(QStringLiteral("status_batal"), QStringLiteral("0"));
    return makeRecord(record);
}

void yaToFirstPrinterByte(benchmark::State& state, bool staged) {
    const int stored = int(state.range(0));
    const PhotoList photos = pickedPhotographs(true);
    QTemporaryDir dir;
    SavedCompoundStore store(dir.path(), nullptr);
    for (int i = 1; i <= stored; ++i)
        store.insertIntoBaruPBCompound(compound(i), photos);
    QuietLog quiet;
    RunningNumber running(dir.path(), store, &quiet);
    running.setRunningNumber(stored);
    const NoticePrinter printer(QStringLiteral(KOMPAUN_SOURCE_DIR "/resources/printheader.bmp"),
                                QStringLiteral("https://enquiry.mptelukmerbau.gov.my"));
    (void)printer.noticeBytes(compound(0), false); // the header read once, as the first notice of a day does
    int i = stored;
    double worst = 0;
    for (auto _ : state) {
        if (staged) {
            // As the photograph screen does while the officer fills the compound, before "Ya".
            state.PauseTiming();
            store.stagePhotos(photos);
            state.ResumeTiming();
        }
        QElapsedTimer timer;
        timer.start();
        const Record record = compound(++i);
        if (!store.insertIntoBaruPBCompound(record, photos, IssueMark{i, 1780000000 + i, 2026}) ||
            !running.addOneRunningNumber())
            state.SkipWithError("not stored");
        benchmark::DoNotOptimize(printer.noticeBytes(record, false));
        worst = std::max(worst, double(timer.nsecsElapsed()) / 1e6);
    }
    state.counters["worst_ms"] = worst;
}

void YaToFirstPrinterByte(benchmark::State& state) {
    yaToFirstPrinterByte(state, true);
}
BENCHMARK(YaToFirstPrinterByte)->Arg(0)->Arg(100)->Arg(1000)->Iterations(20)->Unit(benchmark::kMillisecond);

// The same when the photographs could not be staged and are written at "Ya" (as every "Ya" did before).
void YaToFirstPrinterByteUnstaged(benchmark::State& state) {
    yaToFirstPrinterByte(state, false);
}
BENCHMARK(YaToFirstPrinterByteUnstaged)->Arg(0)->Arg(1000)->Iterations(20)->Unit(benchmark::kMillisecond);

// What staging moved to the photograph screen: one photograph added to the two already staged.
void StageOnePhotograph(benchmark::State& state) {
    const PhotoList photos = pickedPhotographs(true);
    QTemporaryDir dir;
    SavedCompoundStore store(dir.path(), nullptr);
    double worst = 0;
    for (auto _ : state) {
        state.PauseTiming();
        store.stagePhotos(photos.first(2));
        state.ResumeTiming();
        QElapsedTimer timer;
        timer.start();
        if (!store.stagePhotos(photos))
            state.SkipWithError("not staged");
        worst = std::max(worst, double(timer.nsecsElapsed()) / 1e6);
    }
    state.counters["worst_ms"] = worst;
}
BENCHMARK(StageOnePhotograph)->Iterations(20)->Unit(benchmark::kMillisecond);

} // namespace
