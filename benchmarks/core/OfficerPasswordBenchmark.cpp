// What keeping officers' passwords as digests costs: one sign-in, and the officer-list update that
// digests every password the council sends.
#include "core/OfficerPassword.h"
#include "core/ReferenceData.h"
#include "core/ReferenceSchema.h"
#include "core/SQLiteManager.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

QList<QStringList> officers(int count) {
    QList<QStringList> rows;
    for (int i = 0; i < count; ++i) {
        QStringList values(ReferenceSchema::officerColumns().size());
        values[1] = QStringLiteral("PEGAWAI %1").arg(i);
        values[ReferenceSchema::passwordColumn] = QStringLiteral("rahsia%1").arg(i);
        values[4] = QStringLiteral("PK%1").arg(i, 4, 10, QLatin1Char('0'));
        values[7] = QStringLiteral("A");
        rows << values;
    }
    return rows;
}

void SignIn(benchmark::State& state) {
    QTemporaryDir dir;
    SQLiteManager db(dir.filePath(QStringLiteral("t.sqlite")), nullptr, nullptr);
    ReferenceData data(db);
    data.replaceDigestedOfficers(ReferenceData::withDigest(officers(50)));
    for (auto _ : state)
        benchmark::DoNotOptimize(data.signIn(QStringLiteral("PK0042"), QStringLiteral("rahsia42")));
    state.SetLabel("one officer among 50");
}
BENCHMARK(SignIn)->Unit(benchmark::kMillisecond);

// The update's two halves: the digests (on the pool) and the table written (on the interface thread).
void OfficerListDigests(benchmark::State& state) {
    const QList<QStringList> rows = officers(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(ReferenceData::withDigest(rows));
    state.SetLabel("officers sent by the council, one thread");
}
BENCHMARK(OfficerListDigests)->Arg(4)->Arg(100)->Unit(benchmark::kMillisecond);

void OfficerListTable(benchmark::State& state) {
    QTemporaryDir dir;
    SQLiteManager db(dir.filePath(QStringLiteral("t.sqlite")), nullptr, nullptr);
    ReferenceData data(db);
    const QList<QStringList> rows = ReferenceData::withDigest(officers(int(state.range(0))));
    for (auto _ : state)
        data.replaceDigestedOfficers(rows);
    state.SetLabel("officers sent by the council");
}
BENCHMARK(OfficerListTable)->Arg(4)->Arg(100)->Unit(benchmark::kMillisecond);

} // namespace
