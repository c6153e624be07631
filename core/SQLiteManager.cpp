#include "core/SQLiteManager.h"
#include "platform/NullServices.h"

#include "platform/Files.h"
#include "platform/Log.h"

#include <QFileInfo>

#include <sqlite3.h>

QString DbError::describe() const {
    return QStringLiteral("Error Domain=%1 Code=%2 \"%3\"").arg(domain()).arg(code).arg(message);
}

SQLiteManager::SQLiteManager(QString databaseName, const Files* files, Log* log)
    : name_(std::move(databaseName)), files_(files), log_(orNothing(log)) {}

SQLiteManager::~SQLiteManager() {
    if (db_)
        sqlite3_close_v2(db_);
}

QString SQLiteManager::getDatabasePath() const {
    if (QFileInfo::exists(name_) || !files_)
        return name_;
    return files_->documentPath(name_);
}

QString SQLiteManager::lastMessage() const {
    return db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QStringLiteral("no connection");
}

std::optional<DbError> SQLiteManager::openDatabase() {
    if (db_)
        return std::nullopt;
    const QByteArray path = getDatabasePath().toUtf8();
    sqlite3* db = nullptr;
    const int rc =
        sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
        const QString message =
            db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
        if (db)
            sqlite3_close_v2(db);
        return DbError{DbError::OpenFailed,
                       QStringLiteral("The database could not be opened: %1").arg(message)};
    }
    // The officer rebuild and a lookup never overlap, but a second process (a test, a tool) may.
    sqlite3_busy_timeout(db, 2000);
    db_ = db;
    return std::nullopt;
}

std::optional<DbError> SQLiteManager::closeDatabase() {
    if (!db_)
        return std::nullopt;
    if (sqlite3_close(db_) != SQLITE_OK) {
        const QString message = lastMessage();
        return DbError{DbError::CloseFailed,
                       QStringLiteral("The database could not be closed: %1").arg(message)};
    }
    db_ = nullptr;
    return std::nullopt;
}

void SQLiteManager::closeUnlessHeld() {
    if (held_ > 0)
        return;
    if (auto err = closeDatabase(); err && log_)
        log_->write(err->describe());
}

std::optional<DbError> SQLiteManager::prepareAndBind(const QString& statement, const QStringList& params,
                                                     sqlite3_stmt** out) {
    *out = nullptr;
    const QByteArray sql = statement.toUtf8();
    if (sqlite3_prepare_v2(db_, sql.constData(), int(sql.size()), out, nullptr) != SQLITE_OK || !*out) {
        const QString message = lastMessage();
        sqlite3_finalize(*out);
        *out = nullptr;
        return DbError{DbError::StatementFailed, message};
    }
    if (const int expected = sqlite3_bind_parameter_count(*out); expected != params.size()) {
        sqlite3_finalize(*out);
        *out = nullptr;
        return DbError{
            DbError::StatementFailed,
            QStringLiteral("statement takes %1 values, %2 given").arg(expected).arg(params.size())};
    }
    for (int i = 0; i < params.size(); ++i) {
        const QByteArray value = params[i].toUtf8();
        if (sqlite3_bind_text(*out, i + 1, value.constData(), int(value.size()), SQLITE_TRANSIENT) !=
            SQLITE_OK) {
            const QString message = lastMessage();
            sqlite3_finalize(*out);
            *out = nullptr;
            return DbError{DbError::StatementFailed, message};
        }
    }
    return std::nullopt;
}

std::optional<DbError> SQLiteManager::doQuery(const QString& statement, const QStringList& params) {
    if (auto err = openDatabase())
        return err;
    sqlite3_stmt* stmt = nullptr;
    std::optional<DbError> result = prepareAndBind(statement, params, &stmt);
    if (!result) {
        const int rc = sqlite3_step(stmt);
        if (rc != SQLITE_DONE && rc != SQLITE_ROW)
            result = DbError{DbError::StatementFailed, lastMessage()};
    }
    sqlite3_finalize(stmt);
    if (held_ == 0) {
        auto closeErr = closeDatabase();
        if (closeErr && !result)
            result = closeErr;
    }
    return result;
}

DbRows SQLiteManager::getRowsForQuery(const QString& statement, const QStringList& params) {
    DbRows rows;
    if (auto err = openDatabase()) {
        log_->write(err->describe());
        return rows;
    }
    sqlite3_stmt* stmt = nullptr;
    if (auto err = prepareAndBind(statement, params, &stmt)) {
        log_->write(err->describe());
        closeUnlessHeld();
        return rows;
    }
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        DbRow row;
        const int columns = sqlite3_data_count(stmt);
        for (int i = 0; i < columns; ++i) {
            const QString name = QString::fromUtf8(sqlite3_column_name(stmt, i));
            switch (sqlite3_column_type(stmt, i)) {
            case SQLITE_INTEGER:
                row.insert(name, qlonglong(sqlite3_column_int64(stmt, i)));
                break;
            case SQLITE_FLOAT:
                // Amounts and co-ordinates keep their fraction.
                row.insert(name, sqlite3_column_double(stmt, i));
                break;
            case SQLITE_TEXT:
                row.insert(name,
                           QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, i)),
                                             sqlite3_column_bytes(stmt, i)));
                break;
            case SQLITE_NULL:
                row.insert(name, QVariant::fromValue(nullptr));
                break;
            default: // blobs are not part of any row
                break;
            }
        }
        rows.append(row);
    }
    if (rc != SQLITE_DONE && log_)
        log_->write(DbError{DbError::StatementFailed, lastMessage()}.describe());
    sqlite3_finalize(stmt);
    closeUnlessHeld();
    return rows;
}

bool SQLiteManager::runInTransaction(const std::function<bool()>& body) {
    if (auto err = openDatabase()) {
        log_->write(err->describe());
        return false;
    }
    ++held_;
    bool committed = false;
    if (!doQuery(QStringLiteral("BEGIN IMMEDIATE"))) {
        if (body()) {
            if (auto err = doQuery(QStringLiteral("COMMIT")); !err)
                committed = true;
            else
                log_->write(err->describe());
        }
        if (!committed)
            doQuery(QStringLiteral("ROLLBACK"));
    }
    --held_;
    closeUnlessHeld();
    return committed;
}

bool SQLiteManager::isNull(const QVariant& value) {
    return value.metaType().id() == QMetaType::Nullptr;
}

QString SQLiteManager::text(const QVariant& value) {
    if (isNull(value) || !value.isValid())
        return {};
    if (value.metaType().id() == QMetaType::Double)
        return QString::number(value.toDouble(), 'g', 15);
    return value.toString();
}
