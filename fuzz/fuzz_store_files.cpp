// The three Documents files as the application reads them at start-up: the saved compounds, the favourites
// and the running number, each given the fuzzer's bytes.
#include "core/FavouriteStore.h"
#include "core/RunningNumber.h"
#include "core/SavedCompoundStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>

namespace {
void put(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir dir;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString documents = dir.path();
    // Unreadable files are moved aside by the readers: start each run from an empty folder.
    for (const QString& name : QDir(documents).entryList(QDir::Files | QDir::Hidden))
        QFile::remove(QDir(documents).filePath(name));
    for (const char* name : {SavedCompoundStore::oldFileName, FavouriteStore::fileName, RunningNumber::fileName})
        put(QDir(documents).filePath(QString::fromLatin1(name)), bytes);
    SavedCompoundStore store(documents, nullptr);
    FavouriteStore favourites(documents, nullptr);
    RunningNumber running(documents, store, nullptr);
    (void)store.migrateOldFile();
    (void)store.getSaveArray();
    (void)store.getDicetakUploadCountNumber();
    (void)favourites.getFavSaveArray();
    (void)running.getRunningNumber();
    return 0;
}
