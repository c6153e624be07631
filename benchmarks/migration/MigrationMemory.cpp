// The peak memory of importing an old phone's store, against the same process importing nothing.
//
//   measure_migration <megabytes> [<megabytes> ...]
//
// For each size an old "saveIns.dat" of about that many megabytes is generated as the old version wrote
// it (XML property list, three photographs of a 12 MP phone's size per compound as Base64 text), written
// a compound at a time so the generator holds none of it. Each import runs in a child process of its
// own so that its high-water mark (VmHWM) is its own; the baseline is a child that opens the store and
// finds no old file. Prints the peak, the increase, the time and the disk used beside the old file.
#include "core/SavedCompoundStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

namespace {

constexpr qsizetype kJpegBytes = 985 * 1024; // a 12 MP shot as phones keep it
constexpr qsizetype kThumbBytes = 20 * 1024;
constexpr int kPhotos = 3;

qint64 peakKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    return 0;
}

QByteArray randomBase64(qsizetype bytes, quint32 seed) {
    QByteArray raw(bytes, Qt::Uninitialized);
    QRandomGenerator rng(seed);
    rng.fillRange(reinterpret_cast<quint32*>(raw.data()), raw.size() / 4);
    return raw.toBase64();
}

// Writes an old store of about `megabytes`; the number of compounds written.
int generate(const QString& path, qint64 megabytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return -1;
    const QByteArray full = randomBase64(kJpegBytes, 1);
    const QByteArray thumb = randomBase64(kThumbBytes, 2);
    file.write(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
        "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n<plist version=\"1.0\">\n<array>\n");
    int n = 0;
    while (file.size() < megabytes * 1024 * 1024) {
        ++n;
        QByteArray entry = "\t<array>\n\t\t<dict>\n";
        for (int k = 0; k < 60; ++k)
            entry += "\t\t\t<key>medan" + QByteArray::number(k) + "</key>\n\t\t\t<string>NILAI " +
                     QByteArray::number(n) + "</string>\n";
        entry += "\t\t\t<key>kompaunRunningNumber</key>\n\t\t\t<string>P2016M07" +
                 QByteArray::number(n).rightJustified(6, '0') + "</string>\n\t\t</dict>\n\t\t<array>\n";
        for (int p = 0; p < kPhotos; ++p)
            entry += "\t\t\t<array>\n\t\t\t\t<string>" + thumb + "</string>\n\t\t\t\t<string>" + full +
                     "</string>\n\t\t\t</array>\n";
        entry += "\t\t</array>\n\t\t<string>0</string>\n\t</array>\n";
        file.write(entry);
    }
    file.write("</array>\n</plist>\n");
    return n;
}

qint64 sizeOf(const QString& path) {
    return QFileInfo::exists(path) ? QFileInfo(path).size() : 0;
}

struct Run {
    qint64 peakKiB = 0;
    qint64 ms = 0;
    int entries = 0;
    int lastDone = 0, lastTotal = 0;
    qint64 storeBytes = 0;  // database and its log after the import
    qint64 highestDisk = 0; // database and its log at their largest, as the progress saw them
};

// In a child: the import (or, without an old file, nothing), its figures written back through a pipe.
Run inChild(const QString& documents) {
    int fds[2];
    if (pipe(fds) != 0)
        return {};
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        Run run;
        QElapsedTimer timer;
        timer.start();
        SavedCompoundStore store(documents, nullptr);
        const QString db = store.path();
        const auto m = store.migrateOldFile([&](int done, int total) {
            run.lastDone = done;
            run.lastTotal = total;
            run.highestDisk = qMax(run.highestDisk, sizeOf(db) + sizeOf(db + QStringLiteral("-wal")));
        });
        (void)store.countYgDahCetak();
        run.ms = timer.elapsed();
        run.entries = m.entries;
        run.peakKiB = peakKiB();
        run.storeBytes = sizeOf(db) + sizeOf(db + QStringLiteral("-wal"));
        (void)!write(fds[1], &run, sizeof run);
        _exit(0);
    }
    close(fds[1]);
    Run run;
    (void)!read(fds[0], &run, sizeof run);
    close(fds[0]);
    waitpid(child, nullptr, 0);
    return run;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList sizes = app.arguments().mid(1);
    if (sizes.isEmpty())
        sizes << QStringLiteral("125");
    QTemporaryDir empty;
    const Run baseline = inChild(empty.path());
    std::printf("baseline (no old file): peak %lld MiB\n", baseline.peakKiB / 1024);
    for (const QString& size : sizes) {
        QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/migration-XXXXXX"));
        const QString old = dir.filePath(QLatin1String(SavedCompoundStore::oldFileName));
        const int n = generate(old, size.toLongLong());
        const qint64 oldBytes = sizeOf(old);
        const Run run = inChild(dir.path());
        std::printf("old file %lld MiB (%d compounds): imported %d, shown %d / %d, %lld ms, peak %lld MiB "
                    "(+%lld MiB), store %lld MiB after (largest seen %lld MiB) beside the old file\n",
                    oldBytes >> 20, n, run.entries, run.lastDone, run.lastTotal, run.ms, run.peakKiB / 1024,
                    (run.peakKiB - baseline.peakKiB) / 1024, run.storeBytes >> 20, run.highestDisk >> 20);
    }
    return 0;
}
