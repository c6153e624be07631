// What keeping officers' passwords as digests costs: one sign-in, and the officer-list update that
// digests every password the council sends.
#include "core/OfficerPassword.h"
#include "core/ReferenceData.h"
#include "core/ReferenceSchema.h"
#include "core/SQLiteManager.h"

#include <QTemporaryDir>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentMap>

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
BENCHMARK(OfficerListDigests)->Arg(4)->Unit(benchmark::kMillisecond);

// As the update runs them: two worker threads, a council's 200 officers.
void OfficerListDigestsOnWorkers(benchmark::State& state) {
    const QList<QStringList> rows = officers(int(state.range(0)));
    QThreadPool pool;
    pool.setMaxThreadCount(2);
    for (auto _ : state)
        benchmark::DoNotOptimize(QtConcurrent::blockingMapped(
            &pool, rows, [](const QStringList& row) { return ReferenceData::withDigest(row); }));
    state.SetLabel("officers sent by the council, two worker threads");
}
BENCHMARK(OfficerListDigestsOnWorkers)->Arg(200)->Iterations(1)->Unit(benchmark::kMillisecond);

// The first sign-in after this release: the earlier digest checked, the current one made and written.
void SignInRenewingAnEarlierDigest(benchmark::State& state) {
    QTemporaryDir dir;
    SQLiteManager db(dir.filePath(QStringLiteral("t.sqlite")), nullptr, nullptr);
    ReferenceData data(db);
    QList<QStringList> rows = officers(50);
    for (QStringList& row : rows)
        row[ReferenceSchema::passwordColumn] =
            OfficerPassword::pbkdf2Digest(row[ReferenceSchema::passwordColumn]);
    for (auto _ : state) {
        state.PauseTiming();
        data.replaceDigestedOfficers(rows);
        state.ResumeTiming();
        benchmark::DoNotOptimize(data.signIn(QStringLiteral("PK0042"), QStringLiteral("rahsia42")));
    }
    state.SetLabel("one officer among 50, digest renewed");
}
BENCHMARK(SignInRenewingAnEarlierDigest)->Unit(benchmark::kMillisecond);

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
