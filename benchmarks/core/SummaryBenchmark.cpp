// Opening the shift summary with 1,000 compounds on the phone, each with three photographs: the store's
// summary rows read, the days found and today's figures made, as the "Ringkasan" screen does it.
#include "core/KualaLumpurDate.h"
#include "core/SavedCompoundStore.h"
#include "core/ShiftSummary.h"

#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int kCompounds = 1000;
constexpr qsizetype kPhotoBytes = 64 * 1024;

const QDateTime& now() {
    static const QDateTime at(QDate(2026, 3, 6), QTime(17, 0), KualaLumpur::zone());
    return at;
}

PhotoList photos() {
    PhotoList out;
    for (int p = 0; p < 3; ++p) {
        QByteArray jpeg(kPhotoBytes, Qt::Uninitialized);
        QRandomGenerator rng(quint32(p + 1));
        rng.fillRange(reinterpret_cast<quint32*>(jpeg.data()), jpeg.size() / 4);
        out.append({QString::fromLatin1(jpeg.left(8000).toBase64()), QString::fromLatin1(jpeg.toBase64())});
    }
    return out;
}

// A record of the size the forms fill, issued over the last five days, a few cancelled.
Record record(int i) {
    RecordMap r;
    for (int k = 0; k < 50; ++k)
        r.insert(QStringLiteral("key%1").arg(k), QStringLiteral("NILAI %1 UNTUK MEDAN %2").arg(i).arg(k));
    const QDateTime at = now().addSecs(-qint64(i) * 400);
    r.insert(QStringLiteral("kompaunRunningNumber"),
             QStringLiteral("P2026M07%1").arg(i, 6, 10, QLatin1Char('0')));
    r.insert(QStringLiteral("kompaunTarikh"), KualaLumpur::format(at, QStringLiteral("dd/MM/yyyy")));
    r.insert(QStringLiteral("kompaunMasa"), KualaLumpur::format(at, QStringLiteral("HH:mm")));
    r.insert(QStringLiteral("JenisKompaun"),
             i % 3 ? QStringLiteral("LALU LINTAS") : QStringLiteral("KESIHATAN AWAM"));
    r.insert(QStringLiteral("kompaunKadar"), QStringLiteral("300.00"));
    r.insert(QStringLiteral("kompaunKadarTawaran"), QStringLiteral("150.00"));
    r.insert(QStringLiteral("status_batal"), i % 25 ? QStringLiteral("0") : QStringLiteral("1"));
    return makeRecord(r);
}

void BM_OpenSummary(benchmark::State& state) {
    QTemporaryDir dir;
    SavedCompoundStore store(dir.path(), nullptr);
    {
        const PhotoList shared = photos();
        SavedCompoundList list;
        for (int i = 0; i < kCompounds; ++i)
            list.append({record(i), shared, i % 2 ? QStringLiteral("0") : QStringLiteral("1")});
        if (!store.saveArrayFile(list)) {
            state.SkipWithError("store not written");
            return;
        }
    }
    for (auto _ : state) {
        const ShiftSummary shift(store.summaryRows(), now());
        const QList<QDate> days = shift.days();
        const DaySummary today = shift.day(shift.today());
        benchmark::DoNotOptimize(days.size());
        benchmark::DoNotOptimize(today.kadarSen);
    }
    state.counters["compounds"] = kCompounds;
}
BENCHMARK(BM_OpenSummary)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
