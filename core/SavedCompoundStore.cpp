#include "core/SavedCompoundStore.h"
#include "platform/NullServices.h"

#include "core/RecordKeys.h"
#include "core/RunningNumber.h"
#include "platform/Log.h"
#include "platform/WholeFile.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMutexLocker>
#include <QSet>
#include <QStorageInfo>

#include <sqlite3.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <limits>
#include <utility>

namespace {

// One prepared statement, finalised when it goes. Every value is bound, never pasted in.
class Statement {
public:
    Statement(sqlite3* db, const char* sql) {
        if (sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK) {
            sqlite3_finalize(stmt_);
            stmt_ = nullptr;
        }
    }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool ok() const { return stmt_ != nullptr; }
    Statement& bind(int i, qint64 value) {
        if (stmt_)
            sqlite3_bind_int64(stmt_, i, value);
        return *this;
    }
    Statement& bind(int i, const QByteArray& text) {
        if (stmt_)
            sqlite3_bind_text(stmt_, i, text.isNull() ? "" : text.constData(), int(text.size()),
                              SQLITE_TRANSIENT);
        return *this;
    }
    Statement& bindNullable(int i, const QByteArray& text) {
        if (stmt_ && text.isEmpty())
            sqlite3_bind_null(stmt_, i);
        else
            bind(i, text);
        return *this;
    }
    // Not copied: the bytes must outlive the statement's step (photographs are megabytes).
    Statement& bindBlob(int i, const QByteArray& bytes) {
        if (stmt_)
            sqlite3_bind_blob(stmt_, i, bytes.isNull() ? "" : bytes.constData(), int(bytes.size()),
                              SQLITE_STATIC);
        return *this;
    }
    // True while a row is there; check done() for a clean end.
    bool step() {
        rc_ = stmt_ ? sqlite3_step(stmt_) : SQLITE_MISUSE;
        return rc_ == SQLITE_ROW;
    }
    bool run() {
        step();
        return rc_ == SQLITE_DONE;
    }
    bool done() const { return rc_ == SQLITE_DONE; }
    qint64 integer(int col) const { return sqlite3_column_int64(stmt_, col); }
    QString text(int col) const {
        const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, col));
        return t ? QString::fromUtf8(t, sqlite3_column_bytes(stmt_, col)) : QString();
    }
    QByteArray bytes(int col) const {
        const void* b = sqlite3_column_blob(stmt_, col);
        return b ? QByteArray(static_cast<const char*>(b), sqlite3_column_bytes(stmt_, col)) : QByteArray();
    }

private:
    sqlite3_stmt* stmt_ = nullptr;
    int rc_ = SQLITE_OK;
};

const char* const schema = R"sql(
CREATE TABLE IF NOT EXISTS compound(
  id INTEGER PRIMARY KEY AUTOINCREMENT,  -- store order
  record TEXT NOT NULL,                  -- JSON object of the record's texts
  non_text TEXT,                         -- property list of values an old store held that were not text
  flag TEXT NOT NULL,                    -- the upload flag, as written
  waiting INTEGER NOT NULL               -- 1 when the flag reads as 0
);
CREATE INDEX IF NOT EXISTS compound_waiting ON compound(waiting, id);
-- Not UNIQUE: a store written before numbers were checked may hold one twice and must still open and
-- keep both. A new compound is refused a number already held when it is inserted.
CREATE INDEX IF NOT EXISTS compound_number
  ON compound(CASE WHEN json_valid(record) THEN json_extract(record, '$.kompaunRunningNumber') END);
CREATE TABLE IF NOT EXISTS photo(
  compound INTEGER NOT NULL,
  position INTEGER NOT NULL,             -- 1-based, in the order taken
  kept INTEGER NOT NULL,                 -- StoredPhoto::Kept bits: the old text kept instead of bytes
  thumbnail BLOB NOT NULL,               -- before the full picture: reading it never walks the other
  full BLOB NOT NULL,
  PRIMARY KEY(compound, position)
);
CREATE TABLE IF NOT EXISTS migrated(
  digest TEXT PRIMARY KEY,               -- SHA-256 of an old store file already imported
  at TEXT NOT NULL,
  entries INTEGER NOT NULL
);
CREATE TABLE IF NOT EXISTS mark(
  name TEXT PRIMARY KEY,                 -- 'running_number', 'issued_at', 'number_year' (IssueMark)
  value INTEGER NOT NULL
);
)sql";

// The columns of each table this application makes, in order: a database whose tables of these names
// have other columns, or that holds anything else, is not this application's store.
struct TableShape {
    const char* name;
    QStringList columns;
    bool required;
};
const TableShape shapes[] = {
    {"compound", {"id", "record", "non_text", "flag", "waiting"}, true},
    {"photo", {"compound", "position", "kept", "thumbnail", "full"}, true},
    {"migrated", {"digest", "at", "entries"}, false},
    {"mark", {"name", "value"}, false},
};

constexpr const char* runningNumberMark = "running_number";
constexpr const char* issuedAtMark = "issued_at";
constexpr const char* numberYearMark = "number_year";

QByteArray recordJson(const RecordMap& record) {
    QJsonObject object;
    for (auto it = record.cbegin(); it != record.cend(); ++it)
        object.insert(it.key(), it.value());
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

RecordMap recordOf(const QString& json) {
    RecordMap record;
    const QJsonObject object = QJsonDocument::fromJson(json.toUtf8()).object();
    for (auto it = object.constBegin(); it != object.constEnd(); ++it)
        record.insert(it.key(), it.value().toString());
    return record;
}

QString describe(const RecordMap& record) {
    QStringList parts;
    for (auto it = record.cbegin(); it != record.cend(); ++it)
        parts << QStringLiteral("%1 = \"%2\"").arg(it.key(), it.value());
    return QStringLiteral("{ ") + parts.join(QStringLiteral("; ")) + QStringLiteral(" }");
}

QString utcStamp() {
    return QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddHHmmss"));
}

// Moves a file to "<path>.<what>-<utc time>", never over another file; the new name, or empty.
QString moveAside(const QString& path, const QString& what) {
    const QString base = path + QLatin1Char('.') + what + QLatin1Char('-') + utcStamp();
    QString target = base;
    for (int n = 1; QFileInfo::exists(target); ++n)
        target = base + QLatin1Char('-') + QString::number(n);
    return WholeFile::rename(path, target) ? target : QString();
}

} // namespace

int SavedCompound::leadingInt(const QString& text) {
    const QString t = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == QLatin1Char('-') || t[i] == QLatin1Char('+')))
        negative = t[i++] == QLatin1Char('-');
    qint64 value = 0;
    for (; i < t.size() && t[i].isDigit() && t[i].unicode() < 128; ++i) {
        value = value * 10 + (t[i].unicode() - '0');
        if (value > std::numeric_limits<int>::max())
            return negative ? std::numeric_limits<int>::min() : std::numeric_limits<int>::max();
    }
    return int(negative ? -value : value);
}

int SavedCompound::flagValue() const {
    return leadingInt(uploadFlag);
}

SavedCompoundStore::SavedCompoundStore(QString documentsDir, Log* log)
    : path_(documentsDir + QLatin1Char('/') + QLatin1String(fileName)),
      oldPath_(documentsDir + QLatin1Char('/') + QLatin1String(oldFileName)), log_(orNothing(log)) {}

std::unique_ptr<SavedCompoundStore> SavedCompoundStore::atPath(const QString& databaseFile, Log* log) {
    auto store = std::make_unique<SavedCompoundStore>(QString(), log);
    store->path_ = databaseFile;
    store->oldPath_.clear();
    // A copy being read by a tool is never moved nor replaced by an empty store.
    store->startsAfresh_ = false;
    return store;
}

SavedCompoundStore::~SavedCompoundStore() {
    if (db_)
        sqlite3_close_v2(db_);
}

void SavedCompoundStore::log(const QString& line) const {
    log_->write(line);
}

bool SavedCompoundStore::open() const {
    if (db_)
        return true;
    // A file that does not even begin as a database is set aside before SQLite opens it: on closing,
    // SQLite would otherwise fold or delete the log beside it, which support staff may need.
    if (!looksLikeDatabase(path_) && (!startsAfresh_ || !setAsideUnreadable()))
        return false;
    int rc = openFile();
    if ((rc == SQLITE_NOTADB || rc == SQLITE_CORRUPT) && startsAfresh_) {
        if (!setAsideUnreadable())
            return false;
        rc = openFile();
    }
    return rc == SQLITE_OK;
}

bool SavedCompoundStore::looksLikeDatabase(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return true; // none yet (SQLite makes it), or not ours to judge
    const QByteArray header = file.read(16);
    return header.isEmpty() || header == QByteArrayView("SQLite format 3\0", 16);
}

bool SavedCompoundStore::setAsideUnreadable() const {
    // A file that is no database holds nothing we can read, but may hold what support staff can: it
    // is kept beside under another name (with its log), and the phone starts a store of its own.
    const QString aside = moveAside(path_, QStringLiteral("unreadable"));
    if (aside.isEmpty()) {
        log(QStringLiteral("%1 unreadable and could not be moved aside").arg(QLatin1String(fileName)));
        return false;
    }
    for (const char* companion : {"-wal", "-shm", "-journal"})
        if (QFileInfo::exists(path_ + QLatin1String(companion)))
            WholeFile::rename(path_ + QLatin1String(companion), aside + QLatin1String(companion));
    movedAside_ = aside;
    log(QStringLiteral("%1 unreadable, kept as %2; a new store is started")
            .arg(QLatin1String(fileName), aside));
    return true;
}

namespace {

// Whether an open database is this application's store: stamped with our application id, or unstamped
// (the stores of phones in service) but holding exactly our tables. Only read, never written.
enum class Ownership { Ours, OursUnstamped, Foreign, Unreadable };

Ownership ownershipOf(sqlite3* db, int* rc, QString* why) {
    qint64 applicationId = 0;
    {
        Statement id(db, "PRAGMA application_id");
        if (!id.step()) {
            *rc = sqlite3_errcode(db);
            *why = QString::fromUtf8(sqlite3_errmsg(db));
            return Ownership::Unreadable;
        }
        applicationId = id.integer(0);
    }
    if (applicationId != 0 && applicationId != SavedCompoundStore::applicationId) {
        *why = QStringLiteral("application id %1 is another program's").arg(applicationId);
        return Ownership::Foreign;
    }
    Statement objects(db,
                      "SELECT type, name FROM sqlite_master WHERE name NOT LIKE 'sqlite\\_%' ESCAPE '\\'");
    QSet<QString> tables;
    while (objects.step()) {
        const QString type = objects.text(0);
        const QString name = objects.text(1);
        if (type == QLatin1String("index") &&
            (name == QLatin1String("compound_waiting") || name == QLatin1String("compound_number")))
            continue;
        const bool known = std::any_of(std::begin(shapes), std::end(shapes),
                                       [&](const TableShape& t) { return name == QLatin1String(t.name); });
        if (type != QLatin1String("table") || !known) {
            *why = QStringLiteral("it holds the %1 \"%2\"").arg(type, name);
            return Ownership::Foreign;
        }
        tables.insert(name);
    }
    if (!objects.done()) {
        *rc = sqlite3_errcode(db);
        *why = QString::fromUtf8(sqlite3_errmsg(db));
        return Ownership::Unreadable;
    }
    for (const TableShape& shape : shapes) {
        const QString name = QLatin1String(shape.name);
        if (!tables.contains(name)) {
            if (shape.required) {
                *why = QStringLiteral("it has no table \"%1\"").arg(name);
                return Ownership::Foreign;
            }
            continue;
        }
        Statement info(db, "SELECT name FROM pragma_table_info(?) ORDER BY cid");
        info.bind(1, name.toUtf8());
        QStringList columns;
        while (info.step())
            columns << info.text(0);
        if (columns != shape.columns) {
            *why = QStringLiteral("its table \"%1\" has the columns %2").arg(name, columns.join(u','));
            return Ownership::Foreign;
        }
    }
    return applicationId == SavedCompoundStore::applicationId ? Ownership::Ours : Ownership::OursUnstamped;
}

// Makes sure a rename has reached the disk: the directory that holds the name is synced too.
void syncDirectoryOf(const QString& path) {
    const int fd = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), O_RDONLY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

int SavedCompoundStore::createFile() const {
    // Made whole beside and renamed in, so that the store's name never stands for a half-made file: a
    // start killed half-way leaves only the file beside, made again next time.
    const QString fresh = path_ + QStringLiteral(".new");
    for (const char* suffix : {"", "-journal", "-wal", "-shm"})
        QFile::remove(fresh + QLatin1String(suffix));
    sqlite3* db = nullptr;
    const QByteArray name = fresh.toUtf8();
    int rc = sqlite3_open_v2(name.constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db, "PRAGMA journal_mode=OFF; PRAGMA synchronous=FULL; BEGIN;", nullptr, nullptr,
                          nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db, schema, nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db, stamp().constData(), nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        log(QStringLiteral("%1 could not be made: %2")
                .arg(QLatin1String(fileName),
                     db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc))));
    sqlite3_close_v2(db);
    // A journal or log left beside a store that is gone belongs to no database now: SQLite would take it
    // as the new store's own and play it back into it.
    for (const char* companion : {"-journal", "-wal", "-shm"})
        if (rc == SQLITE_OK && QFileInfo::exists(path_ + QLatin1String(companion)) &&
            !QFile::remove(path_ + QLatin1String(companion)))
            rc = SQLITE_CANTOPEN;
    if (rc == SQLITE_OK && !WholeFile::rename(fresh, path_))
        rc = SQLITE_CANTOPEN;
    if (rc != SQLITE_OK) {
        QFile::remove(fresh);
        return rc;
    }
    syncDirectoryOf(path_);
    return SQLITE_OK;
}

QByteArray SavedCompoundStore::stamp() {
    return QStringLiteral("PRAGMA application_id=%1; PRAGMA user_version=%2;")
        .arg(applicationId)
        .arg(schemaVersion)
        .toUtf8();
}

int SavedCompoundStore::openFile() const {
    if (!QFileInfo::exists(path_)) {
        const int made = createFile();
        if (made != SQLITE_OK)
            return made;
    }
    sqlite3* db = nullptr;
    const QByteArray path = path_.toUtf8();
    // Never created here: a file that went meanwhile is not replaced by an empty store unseen.
    int rc = sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    QString why;
    Ownership ownership = Ownership::Unreadable;
    if (rc == SQLITE_OK) {
        // Until the database is known to be ours nothing may be written into it, not even the
        // checkpoint SQLite makes on closing a database in write-ahead mode.
        sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
        // A second process (the export tool, a test) may hold the database for a moment.
        sqlite3_busy_timeout(db, 5000);
        ownership = ownershipOf(db, &rc, &why);
        if (ownership == Ownership::Foreign) {
            log(QStringLiteral("%1 is not this application's store: %2").arg(QLatin1String(fileName), why));
            rc = SQLITE_NOTADB;
        }
    }
    if (rc == SQLITE_OK) {
        sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 0, nullptr);
        // A compound's pages are new pages: with a rollback journal they are written once, straight into
        // the database, and the journal holds only the few pages a change rewrites (a write-ahead log
        // would write every page twice, once into the log and once at its checkpoint, and the checkpoint
        // would fall on some officer's "Ya"). FULL syncs the journal and the database at every commit, so
        // a change reported done survives a power cut. The cache holds a photograph's pages (8 MB):
        // one spilled before the commit costs a journal sync and a second write of the pages. A database a
        // killed import left in WAL mode comes back to the journal here, its log's uncommitted pages dropped.
        rc = sqlite3_exec(db,
                          "PRAGMA journal_mode=TRUNCATE; PRAGMA synchronous=FULL; "
                          "PRAGMA journal_size_limit=8388608; PRAGMA cache_size=-8192;",
                          nullptr, nullptr, nullptr);
        if (rc == SQLITE_OK)
            rc = sqlite3_exec(db, schema, nullptr, nullptr, nullptr);
        // A store of an earlier version, recognised by its tables, is ours from now on by its stamp too.
        if (rc == SQLITE_OK && ownership == Ownership::OursUnstamped) {
            rc = sqlite3_exec(db, stamp().constData(), nullptr, nullptr, nullptr);
            if (rc == SQLITE_OK)
                log(QStringLiteral("%1 of an earlier version adopted").arg(QLatin1String(fileName)));
        }
    }
    if (rc != SQLITE_OK) {
        if (why.isEmpty())
            why = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
        log(QStringLiteral("%1 could not be opened: %2").arg(QLatin1String(fileName), why));
        sqlite3_close_v2(db);
        return rc;
    }
    db_ = db;
    return SQLITE_OK;
}

bool SavedCompoundStore::ready() {
    QMutexLocker locker(&lock_);
    if (!open())
        return false;
    // Photographs staged by a run that ended before its "Ya" belong to no compound.
    if (const qint64 next = nextId(); stagedId_ == 0 && photoCount(next) > 0) {
        transaction("foto", [&] {
            Statement drop(db_, "DELETE FROM photo WHERE compound >= ?");
            drop.bind(1, next);
            return drop.run();
        });
    }
    return true;
}

QString SavedCompoundStore::takeMovedAside() {
    QMutexLocker locker(&lock_);
    return std::exchange(movedAside_, QString());
}

bool SavedCompoundStore::transaction(const char* what, const std::function<bool()>& body) const {
    if (!open()) {
        log(QStringLiteral("Save failed: %1: no store").arg(QLatin1String(what)));
        return false;
    }
    if (sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK) {
        log(QStringLiteral("Save failed: %1: %2")
                .arg(QLatin1String(what), QString::fromUtf8(sqlite3_errmsg(db_))));
        return false;
    }
    if (body() && sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK)
        return true;
    log(QStringLiteral("Save failed: %1: %2")
            .arg(QLatin1String(what), QString::fromUtf8(sqlite3_errmsg(db_))));
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    return false;
}

bool SavedCompoundStore::append(const RecordMap& record, const QByteArray& nonText,
                                const QList<StoredPhoto>& photos, const QString& flag,
                                qint64 stagedId) const {
    Statement insert(db_, stagedId > 0
                              ? "INSERT INTO compound(record, non_text, flag, waiting, id) "
                                "VALUES(?, ?, ?, ?, ?)"
                              : "INSERT INTO compound(record, non_text, flag, waiting) VALUES(?, ?, ?, ?)");
    insert.bind(1, recordJson(record))
        .bindNullable(2, nonText)
        .bind(3, flag.toUtf8())
        .bind(4, SavedCompound::leadingInt(flag) == 0 ? 1 : 0);
    if (stagedId > 0)
        insert.bind(5, stagedId);
    if (!insert.run())
        return false;
    if (stagedId > 0)
        return true;
    // A new place owns no photographs: any there were staged for a compound never confirmed.
    const qint64 id = sqlite3_last_insert_rowid(db_);
    Statement leftover(db_, "DELETE FROM photo WHERE compound = ?");
    leftover.bind(1, id);
    return leftover.run() && appendPhotos(id, photos);
}

bool SavedCompoundStore::appendPhotos(qint64 id, const QList<StoredPhoto>& photos) const {
    for (const StoredPhoto& p : photos) {
        Statement one(db_,
                      "INSERT INTO photo(compound, position, kept, thumbnail, full) VALUES(?, ?, ?, ?, ?)");
        one.bind(1, id).bind(2, p.position).bind(3, p.kept).bindBlob(4, p.thumbnail).bindBlob(5, p.full);
        if (!one.run())
            return false;
    }
    return true;
}

qint64 SavedCompoundStore::nextId() const {
    // The sequence, not the highest row: an id once given is never given again, purged or not.
    Statement select(db_,
                     "SELECT max(coalesce((SELECT seq FROM sqlite_sequence WHERE name = 'compound'), 0), "
                     "coalesce((SELECT max(id) FROM compound), 0)) + 1");
    return select.step() ? select.integer(0) : 0;
}

qsizetype SavedCompoundStore::photoCount(qint64 id) const {
    Statement count(db_, "SELECT count(*) FROM photo WHERE compound = ?");
    count.bind(1, id);
    return count.step() ? qsizetype(count.integer(0)) : -1;
}

bool SavedCompoundStore::stagePhotos(const PhotoList& photos) {
    QMutexLocker locker(&lock_);
    qsizetype same = 0;
    while (same < staged_.size() && same < photos.size() && staged_.at(same) == photos.at(same))
        ++same;
    if (same == staged_.size() && same == photos.size())
        return true;
    qint64 id = stagedId_;
    const bool ok = transaction("foto", [&] {
        if (id <= 0)
            id = nextId();
        if (id <= 0)
            return false;
        Statement drop(db_, "DELETE FROM photo WHERE compound = ? AND position > ?");
        drop.bind(1, id).bind(2, qint64(same));
        QList<StoredPhoto> added;
        for (qsizetype i = same; i < photos.size(); ++i)
            added.append(StoredPhoto::fromEntry(int(i) + 1, photos.at(i)));
        return drop.run() && appendPhotos(id, added);
    });
    // A failed write is rolled back: what is staged is still what was.
    if (ok) {
        stagedId_ = photos.isEmpty() ? 0 : id;
        staged_ = photos;
    }
    return ok;
}

qint64 SavedCompoundStore::roomForImport(qint64 oldFileSize) {
    // Pictures come in as bytes (three quarters of their Base64), first into the write-ahead log and then
    // into the database at the checkpoint: one and a half times the file at the most, and some slack for
    // the pages and the log's index.
    return oldFileSize + oldFileSize / 2 + 16 * 1024 * 1024;
}

SavedCompoundStore::Migration
SavedCompoundStore::migrateOldFile(const std::function<void(int, int)>& progress) {
    Migration result;
    QFile file(oldPath_);
    if (oldPath_.isEmpty() || !file.exists())
        return result;
    QString reason;
    SavedCompoundFile::Scan scan;
    bool readable = false;
    bool unopened = false;
    if (file.open(QIODevice::ReadOnly))
        readable = SavedCompoundFile::scan(file, &scan, &reason);
    else if (file.size() == 0)
        reason = QStringLiteral("empty file");
    else
        unopened = true;
    if (unopened) {
        // Not ours to judge unreadable: a file that could not be opened stays for the next start.
        result.outcome = Migration::Failed;
        result.reason = file.errorString();
        log(QStringLiteral("saveIns.dat could not be opened (%1); it stays").arg(result.reason));
        return result;
    }
    // Compounds in a store we cannot read have not been uploaded: the file is kept for support staff,
    // never written over nor deleted.
    auto keepAsideUnreadable = [&](const QString& why) {
        file.close();
        result.outcome = Migration::Unreadable;
        result.reason = why;
        result.keptAs = moveAside(oldPath_, QStringLiteral("unreadable"));
        log(result.keptAs.isEmpty()
                ? QStringLiteral("saveIns.dat unreadable (%1) and could not be moved aside").arg(why)
                : QStringLiteral("saveIns.dat unreadable (%1), kept as %2").arg(why, result.keptAs));
        return result;
    };
    if (!readable)
        return keepAsideUnreadable(reason);

    QMutexLocker locker(&lock_);
    if (!open()) {
        result.outcome = Migration::Failed;
        result.reason = QStringLiteral("the store could not be opened");
        return result;
    }
    bool already = false;
    {
        Statement seen(db_, "SELECT entries FROM migrated WHERE digest = ?");
        seen.bind(1, scan.digest);
        if (seen.step()) {
            already = true;
            result.entries = int(seen.integer(0));
        }
    }
    if (!already) {
        const qint64 needed = roomForImport(file.size());
        const QStorageInfo disk(QFileInfo(path_).absolutePath());
        if (disk.isValid() && disk.bytesAvailable() < needed) {
            result.outcome = Migration::NoRoom;
            result.bytesNeeded = needed - disk.bytesAvailable();
            result.reason = QStringLiteral("%1 bytes free, %2 needed").arg(disk.bytesAvailable()).arg(needed);
            log(QStringLiteral("saveIns.dat not imported: %1; it stays").arg(result.reason));
            return result;
        }
        if (progress)
            progress(0, scan.entries);
        // The import goes into a write-ahead log: the database file itself is not touched until the
        // import has committed, and the log's pages, which the page cache spills as it fills, keep the
        // memory the import needs to one compound's.
        sqlite3_exec(db_, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
        QByteArray digest;
        bool unreadable = false;
        const bool imported =
            file.seek(0) && transaction("migration", [&] {
                bool ok = true;
                const bool read = SavedCompoundFile::read(
                    file,
                    [&](SavedCompoundFile::Entry&& e) {
                        ok = append(e.record, e.nonText, e.photos, e.flag);
                        result.entries += ok ? 1 : 0;
                        if (ok && progress)
                            progress(result.entries, scan.entries);
                        return ok;
                    },
                    &reason, &digest);
                // An entry the count passed over but the library cannot read makes the file unreadable.
                unreadable = !read && ok;
                // The file read now must be the one counted and recognised: one that changed meanwhile is
                // left for the next start.
                if (!read || !ok || digest != scan.digest || result.entries != scan.entries)
                    return false;
                Statement mark(db_, "INSERT INTO migrated(digest, at, entries) VALUES(?, ?, ?)");
                mark.bind(1, scan.digest).bind(2, utcStamp().toUtf8()).bind(3, result.entries);
                return mark.run();
            });
        file.close();
        // Whatever came of it, the log's pages go into the database now and the log goes.
        sqlite3_wal_checkpoint_v2(db_, nullptr, SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr);
        sqlite3_exec(db_, "PRAGMA journal_mode=TRUNCATE", nullptr, nullptr, nullptr);
        if (unreadable) {
            result.entries = 0;
            return keepAsideUnreadable(reason);
        }
        if (!imported) {
            result.outcome = Migration::Failed;
            result.reason = QStringLiteral("the import could not be written");
            result.entries = 0;
            log(QStringLiteral("saveIns.dat not imported; it stays and is tried again at the next start"));
            return result;
        }
    }
    file.close();
    result.outcome = Migration::Imported;
    result.keptAs = moveAside(oldPath_, QStringLiteral("migrated"));
    log(QStringLiteral("saveIns.dat: %1 compounds imported%2; %3")
            .arg(result.entries)
            .arg(already ? QStringLiteral(" earlier") : QString())
            .arg(result.keptAs.isEmpty() ? QStringLiteral("the file could not be renamed")
                                         : QStringLiteral("kept as %1").arg(result.keptAs)));
    return result;
}

int SavedCompoundStore::countYgDahCetak() const {
    QMutexLocker locker(&lock_);
    if (!open())
        return 0;
    Statement count(db_, "SELECT count(*) FROM compound");
    return count.step() ? int(count.integer(0)) : 0;
}

int SavedCompoundStore::getDicetakUploadCountNumber() const {
    QMutexLocker locker(&lock_);
    if (!open())
        return 0;
    Statement count(db_, "SELECT count(*) FROM compound WHERE waiting = 1");
    return count.step() ? int(count.integer(0)) : 0;
}

QList<SavedCompoundRow> SavedCompoundStore::printedListRows() const {
    QMutexLocker locker(&lock_);
    QList<SavedCompoundRow> rows;
    if (!open())
        return rows;
    Statement select(db_, "SELECT id, json_extract(record, '$.kompaunRunningNumber'), "
                          "json_extract(record, '$.kompaunButiranKesalahan'), flag, "
                          "json_extract(record, '$.status_batal'), "
                          "json_extract(record, '$.kenderaanNoKenderaan'), "
                          "json_extract(record, '$.namaPesalah'), json_extract(record, '$.kompaunMasa') "
                          "FROM compound WHERE waiting = 1 ORDER BY id");
    while (select.step())
        rows.append({select.integer(0), select.text(1), select.text(2), select.text(3), select.text(4),
                     select.text(5), select.text(6), select.text(7)});
    return rows;
}

QList<StoredPhoto> SavedCompoundStore::photosOf(qint64 id) const {
    QList<StoredPhoto> photos;
    Statement select(
        db_, "SELECT position, kept, thumbnail, full FROM photo WHERE compound = ? ORDER BY position");
    select.bind(1, id);
    while (select.step())
        photos.append({int(select.integer(0)), select.bytes(2), select.bytes(3), int(select.integer(1))});
    return photos;
}

std::optional<SavedCompound> SavedCompoundStore::entry(qint64 id) const {
    QMutexLocker locker(&lock_);
    if (!open())
        return std::nullopt;
    Statement select(db_, "SELECT record, flag FROM compound WHERE id = ?");
    select.bind(1, id);
    if (!select.step())
        return std::nullopt;
    SavedCompound entry;
    entry.id = id;
    entry.record = makeRecord(recordOf(select.text(0)));
    entry.uploadFlag = select.text(1);
    for (const StoredPhoto& photo : photosOf(id))
        entry.photos.append(photo.toEntry());
    return entry;
}

std::optional<WaitingCompound> SavedCompoundStore::nextWaiting(qint64 afterId) const {
    QMutexLocker locker(&lock_);
    if (!open())
        return std::nullopt;
    Statement select(db_, "SELECT id, record, flag, (SELECT count(*) FROM photo WHERE compound = c.id) "
                          "FROM compound c WHERE waiting = 1 AND id > ? ORDER BY id LIMIT 1");
    select.bind(1, afterId);
    if (!select.step())
        return std::nullopt;
    return WaitingCompound{select.integer(0), recordOf(select.text(1)), select.text(2),
                           int(select.integer(3))};
}

std::optional<StoredPhoto> SavedCompoundStore::nextPhoto(qint64 id, int afterPosition) const {
    QMutexLocker locker(&lock_);
    if (!open())
        return std::nullopt;
    Statement select(db_, "SELECT position, kept, full FROM photo WHERE compound = ? AND position > ? "
                          "ORDER BY position LIMIT 1");
    select.bind(1, id).bind(2, afterPosition);
    if (!select.step())
        return std::nullopt;
    return StoredPhoto{int(select.integer(0)), {}, select.bytes(2), int(select.integer(1))};
}

QList<CompoundSummaryRow> SavedCompoundStore::summaryRows() const {
    QMutexLocker locker(&lock_);
    QList<CompoundSummaryRow> rows;
    if (!open())
        return rows;
    // Photographs are only counted, from the photograph table's key; their bytes are never read.
    Statement select(db_,
                     "SELECT c.id, json_extract(c.record, '$.kompaunRunningNumber'), "
                     "json_extract(c.record, '$.kompaunTarikh'), json_extract(c.record, '$.kompaunMasa'), "
                     "json_extract(c.record, '$.JenisKompaun'), json_extract(c.record, '$.kompaunKadar'), "
                     "json_extract(c.record, '$.kompaunKadarTawaran'), "
                     "json_extract(c.record, '$.status_batal'), c.waiting, coalesce(p.n, 0) "
                     "FROM compound c LEFT JOIN (SELECT compound, count(*) AS n FROM photo "
                     "GROUP BY compound) p ON p.compound = c.id ORDER BY c.id");
    while (select.step())
        rows.append({select.integer(0), select.text(1), select.text(2), select.text(3), select.text(4),
                     select.text(5), select.text(6), select.text(7), select.integer(8) == 1,
                     int(select.integer(9))});
    return rows;
}

int SavedCompoundStore::highestSequence(const QString& deviceCode) const {
    QMutexLocker locker(&lock_);
    int highest = 0;
    if (!open())
        return highest;
    Statement select(db_, "SELECT json_extract(record, '$.kompaunRunningNumber') FROM compound");
    while (select.step())
        highest = std::max(highest, RunningNumber::sequenceOf(select.text(0), deviceCode));
    return highest;
}

bool SavedCompoundStore::insertIntoBaruPBCompound(const Record& record, const PhotoList& photos,
                                                  const IssueMark& mark) {
    const RecordMap values = record ? *record : RecordMap{};
    QList<StoredPhoto> stored;
    stored.reserve(photos.size());
    for (qsizetype i = 0; i < photos.size(); ++i)
        stored.append(StoredPhoto::fromEntry(int(i) + 1, photos.at(i)));
    log(QStringLiteral("kompaun : %1").arg(describe(values)));
    const QString number = values.value(Key::kompaunRunningNumber);
    QMutexLocker locker(&lock_);
    const bool ok = transaction("kompaun", [&] {
        if (!number.isEmpty() && holds(number)) {
            log(QStringLiteral("Save refused: number %1 is already stored").arg(number));
            return false;
        }
        // Photographs staged as they were taken are the compound's when they are these, in this order,
        // and their place is still the next: then only the compound's row is written here.
        const bool staged = stagedId_ > 0 && staged_ == photos && nextId() == stagedId_ &&
                            photoCount(stagedId_) == photos.size();
        // The number is remembered with the compound, in one commit: whatever else is lost later, the
        // store alone still knows how far this phone has numbered.
        return append(values, {}, staged ? QList<StoredPhoto>{} : stored, QStringLiteral("0"),
                      staged ? stagedId_ : 0) &&
               (mark.sequence <= 0 || writeMark(runningNumberMark, mark.sequence, true)) &&
               (mark.issuedAt <= 0 || writeMark(issuedAtMark, mark.issuedAt, true)) &&
               (mark.year <= 0 || writeMark(numberYearMark, mark.year, true));
    });
    if (ok) {
        // The staged photographs now belong to the compound (or were dropped with its new place).
        staged_.clear();
        stagedId_ = 0;
        log(QStringLiteral("Save Successfully"));
    }
    return ok;
}

std::optional<qint64> SavedCompoundStore::mark(const char* name) const {
    Statement select(db_, "SELECT value FROM mark WHERE name = ?");
    select.bind(1, QByteArray(name));
    if (!select.step())
        return std::nullopt;
    return std::max<qint64>(select.integer(0), 0);
}

bool SavedCompoundStore::writeMark(const char* name, qint64 value, bool onlyHigher) const {
    Statement upsert(db_, onlyHigher ? "INSERT INTO mark(name, value) VALUES(?, ?) ON CONFLICT(name) DO "
                                       "UPDATE SET value = max(value, excluded.value)"
                                     : "INSERT INTO mark(name, value) VALUES(?, ?) ON CONFLICT(name) DO "
                                       "UPDATE SET value = excluded.value");
    upsert.bind(1, QByteArray(name)).bind(2, std::max<qint64>(value, 0));
    return upsert.run();
}

std::optional<int> SavedCompoundStore::highWaterMark() const {
    QMutexLocker locker(&lock_);
    if (!open())
        return std::nullopt;
    const auto value = mark(runningNumberMark);
    if (!value)
        return std::nullopt;
    return int(std::min<qint64>(*value, std::numeric_limits<int>::max()));
}

IssueMark SavedCompoundStore::lastIssue() const {
    QMutexLocker locker(&lock_);
    IssueMark last;
    if (!open())
        return last;
    last.issuedAt = mark(issuedAtMark).value_or(0);
    last.year = int(std::min<qint64>(mark(numberYearMark).value_or(0), 9999));
    return last;
}

bool SavedCompoundStore::raiseHighWaterMark(int sequence) {
    QMutexLocker locker(&lock_);
    if (!open())
        return false;
    if (mark(runningNumberMark).value_or(-1) >= sequence)
        return true;
    return transaction("mark", [&] { return writeMark(runningNumberMark, sequence, true); });
}

bool SavedCompoundStore::setHighWaterMark(int sequence) {
    QMutexLocker locker(&lock_);
    return transaction("mark", [&] { return writeMark(runningNumberMark, sequence, false); });
}

bool SavedCompoundStore::holds(const QString& number) const {
    // The index's own expression, so the index answers it.
    Statement select(db_, "SELECT 1 FROM compound WHERE (CASE WHEN json_valid(record) THEN "
                          "json_extract(record, '$.kompaunRunningNumber') END) = ? LIMIT 1");
    select.bind(1, number.toUtf8());
    return select.step();
}

bool SavedCompoundStore::holdsNumber(const QString& number) const {
    QMutexLocker locker(&lock_);
    return open() && holds(number);
}

bool SavedCompoundStore::setUploadFlag(qint64 id, const QString& flag) {
    QMutexLocker locker(&lock_);
    return transaction("flag", [&] {
        Statement update(db_, "UPDATE compound SET flag = ?, waiting = ? WHERE id = ?");
        update.bind(1, flag.toUtf8()).bind(2, SavedCompound::leadingInt(flag) == 0 ? 1 : 0).bind(3, id);
        return update.run() && sqlite3_changes(db_) == 1;
    });
}

bool SavedCompoundStore::setStatusBatal(qint64 id, const QString& value) {
    QMutexLocker locker(&lock_);
    return transaction("status_batal", [&] {
        // The value written is text now, so an old non-text value under the same key gives way.
        Statement update(db_, "UPDATE compound SET record = json_set(record, '$.status_batal', ?), "
                              "non_text = CASE WHEN non_text IS NULL THEN NULL ELSE ? END WHERE id = ?");
        QByteArray nonText;
        {
            Statement select(db_, "SELECT non_text FROM compound WHERE id = ?");
            select.bind(1, id);
            if (select.step())
                nonText = SavedCompoundFile::withoutKey(select.bytes(0), Key::status_batal);
        }
        update.bind(1, value.toUtf8()).bindNullable(2, nonText).bind(3, id);
        return update.run() && sqlite3_changes(db_) == 1;
    });
}

bool SavedCompoundStore::purgeUploaded() {
    QMutexLocker locker(&lock_);
    return transaction("purge", [&] {
        Statement photos(db_,
                         "DELETE FROM photo WHERE compound IN (SELECT id FROM compound WHERE waiting = 0)");
        Statement compounds(db_, "DELETE FROM compound WHERE waiting = 0");
        return photos.run() && compounds.run();
    });
}

std::optional<SavedCompoundList> SavedCompoundStore::getSaveArray() const {
    QMutexLocker locker(&lock_);
    if (!open())
        return std::nullopt;
    SavedCompoundList list;
    Statement select(db_, "SELECT id, record, flag FROM compound ORDER BY id");
    while (select.step()) {
        SavedCompound entry;
        entry.id = select.integer(0);
        entry.record = makeRecord(recordOf(select.text(1)));
        entry.uploadFlag = select.text(2);
        for (const StoredPhoto& photo : photosOf(entry.id))
            entry.photos.append(photo.toEntry());
        list.append(entry);
    }
    if (!select.done())
        return std::nullopt;
    return list;
}

bool SavedCompoundStore::saveArrayFile(const SavedCompoundList& list) {
    QMutexLocker locker(&lock_);
    // Every photograph goes, staged ones too.
    staged_.clear();
    stagedId_ = 0;
    const bool ok = transaction("store", [&] {
        Statement photos(db_, "DELETE FROM photo");
        Statement compounds(db_, "DELETE FROM compound");
        if (!photos.run() || !compounds.run())
            return false;
        for (const SavedCompound& e : list) {
            QList<StoredPhoto> stored;
            for (qsizetype i = 0; i < e.photos.size(); ++i)
                stored.append(StoredPhoto::fromEntry(int(i) + 1, e.photos.at(i)));
            if (!append(e.record ? *e.record : RecordMap{}, {}, stored, e.uploadFlag))
                return false;
        }
        return true;
    });
    if (ok)
        log(QStringLiteral("Save Successfully"));
    return ok;
}

bool SavedCompoundStore::exportTo(const QString& datPath, QString* error) const {
    QMutexLocker locker(&lock_);
    if (!open()) {
        if (error)
            *error = QStringLiteral("the store could not be opened");
        return false;
    }
    // One read transaction, so the file is one moment of the store even while the phone writes.
    sqlite3_exec(db_, "BEGIN", nullptr, nullptr, nullptr);
    QList<SavedCompoundFile::Skeleton> skeletons;
    QList<qint64> ids;
    {
        Statement select(
            db_, "SELECT id, record, non_text, flag, (SELECT count(*) FROM photo WHERE compound = c.id) "
                 "FROM compound c ORDER BY id");
        while (select.step()) {
            ids.append(select.integer(0));
            // Old readers know only "0" and "1": the marks of photographs part-sent stay on the phone.
            const QString flag =
                SavedCompound::leadingInt(select.text(3)) == 0 ? QStringLiteral("0") : QStringLiteral("1");
            skeletons.append({recordOf(select.text(1)), select.bytes(2), int(select.integer(4)), flag});
        }
    }
    const bool ok = SavedCompoundFile::write(
        datPath, skeletons,
        [&](int entry, int photo, bool full) {
            Statement select(db_,
                             "SELECT kept, thumbnail, full FROM photo WHERE compound = ? AND position = ?");
            select.bind(1, ids.at(entry)).bind(2, photo + 1);
            if (!select.step())
                return QString();
            StoredPhoto p{photo + 1, full ? QByteArray() : select.bytes(1),
                          full ? select.bytes(2) : QByteArray(), int(select.integer(0))};
            return full ? p.fullBase64() : p.thumbnailBase64();
        },
        error);
    sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
    return ok;
}
