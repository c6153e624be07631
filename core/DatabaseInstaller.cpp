#include "core/DatabaseInstaller.h"

#include "core/FileAside.h"
#include "core/ReferenceSchema.h"
#include "core/SQLiteManager.h"
#include "platform/Files.h"
#include "platform/Log.h"
#include "platform/WholeFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <optional>

namespace {

// The registration a database still shows: none when it has no device table or cannot be read;
// otherwise its row 1, when it has one (a table without a row still counts as registered).
struct Registration {
    std::optional<QStringList> row; // uuid, device_id, device_desc, no_akhir
};

std::optional<Registration> readRegistration(const QString& path) {
    SQLiteManager db(path, nullptr, nullptr);
    if (db.getRowsForQuery(
              QStringLiteral("SELECT name FROM sqlite_master WHERE type='table' AND name='device_info';"))
            .isEmpty())
        return std::nullopt;
    Registration registration;
    const DbRows rows = db.getRowsForQuery(
        QStringLiteral("SELECT uuid, device_id, device_desc, no_akhir FROM device_info WHERE no=1;"));
    if (!rows.isEmpty()) {
        QStringList values;
        for (const char* column : {"uuid", "device_id", "device_desc", "no_akhir"})
            values << SQLiteManager::text(rows.first().value(QLatin1String(column)));
        registration.row = values;
    }
    return registration;
}

bool writeRegistration(const QString& path, const Registration& registration, Log* log) {
    SQLiteManager db(path, nullptr, log);
    return db.runInTransaction([&] {
        if (db.doQuery(QString::fromLatin1(ReferenceSchema::deviceTable)))
            return false;
        return !registration.row ||
               !db.doQuery(QStringLiteral("INSERT OR REPLACE INTO device_info ( no, uuid, device_id, "
                                          "device_desc, no_akhir ) VALUES(1,?,?,?,?)"),
                           *registration.row);
    });
}

bool copyShipped(const Files& files, const QString& target) {
    // Copied through a temporary file so a crash never leaves half a database that would count as installed.
    bool ok = false;
    const QString source = files.resourcePath(QStringLiteral("TVR"), QStringLiteral("sqlite"));
    QFile in(source);
    QSaveFile out(target);
    if (!source.isEmpty() && in.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly)) {
        ok = true;
        while (ok && !in.atEnd()) {
            const QByteArray chunk = in.read(1 << 16);
            ok = !chunk.isEmpty() && out.write(chunk) == chunk.size();
        }
        ok = ok && WholeFile::commit(out);
    }
    if (!ok && out.isOpen())
        out.cancelWriting();
    return ok;
}

} // namespace

bool referenceDatabaseUsable(const QString& path) {
    if (!QFileInfo(path).isFile())
        return false;
    SQLiteManager db(path, nullptr, nullptr);
    QStringList present;
    for (const DbRow& row :
         db.getRowsForQuery(QStringLiteral("SELECT name FROM sqlite_master WHERE type='table'")))
        present << SQLiteManager::text(row.value(QStringLiteral("name")));
    for (const QString& table : ReferenceSchema::shippedTables())
        if (!present.contains(table))
            return false;
    return true;
}

bool transferDb(const Files& files, Log* log) {
    const QString target = files.documentPath(QStringLiteral("new_tvr.sqlite"));
    std::optional<Registration> kept;
    if (QFileInfo::exists(target)) {
        if (referenceDatabaseUsable(target)) {
            if (log)
                log->write(QStringLiteral("Dah transfer dahh"));
            return false;
        }
        kept = readRegistration(target);
        if (moveAside(target, log).isEmpty()) {
            // Left where it is rather than lose what it holds; the lookups will find nothing.
            return false;
        }
        // Its journal belongs to the file moved aside, never to the new copy.
        for (const char* suffix : {"-journal", "-wal", "-shm"})
            if (QFileInfo::exists(target + QLatin1String(suffix)))
                moveAside(target + QLatin1String(suffix), log);
    }
    bool ok = copyShipped(files, target);
    if (ok && kept) {
        ok = writeRegistration(target, *kept, log);
        if (log)
            log->write(ok ? QStringLiteral("Registration kept from the damaged database")
                          : QStringLiteral("Registration could not be carried over"));
    }
    if (log)
        log->write(
            QStringLiteral("Berjaya trasfer %1").arg(ok ? QStringLiteral("YES") : QStringLiteral("NO")));
    return true;
}
