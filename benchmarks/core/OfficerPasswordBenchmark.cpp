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
    data.replaceOfficers(officers(50));
    for (auto _ : state)
        benchmark::DoNotOptimize(data.signIn(QStringLiteral("PK0042"), QStringLiteral("rahsia42")));
    state.SetLabel("one officer among 50");
}
BENCHMARK(SignIn)->Unit(benchmark::kMillisecond);

void OfficerListUpdate(benchmark::State& state) {
    QTemporaryDir dir;
    SQLiteManager db(dir.filePath(QStringLiteral("t.sqlite")), nullptr, nullptr);
    ReferenceData data(db);
    const QList<QStringList> rows = officers(int(state.range(0)));
    for (auto _ : state)
        data.replaceOfficers(rows);
    state.SetLabel("officers sent by the council");
}
BENCHMARK(OfficerListUpdate)->Arg(4)->Arg(100)->Unit(benchmark::kMillisecond);

} // namespace
