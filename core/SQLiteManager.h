#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <functional>
#include <optional>

class Files;
class Log;
struct sqlite3;

// An error of the reference database (domain "SQLite Error").
struct DbError {
    enum Code { OpenFailed = 1, StatementFailed = 3, CloseFailed = 4 };
    int code = 0;
    QString message;
    QString domain() const { return QStringLiteral("SQLite Error"); }
    QString describe() const;
};

// A row: column name (or alias) to value. Integers are qlonglong, reals double, texts QString,
// and SQL NULL an invalid-but-present QVariant (see isNull). Blobs are left out.
using DbRow = QVariantMap;
using DbRows = QList<DbRow>;

// The thin handle of the reference database. No connection is kept between statements, so nothing is
// held open while the phone sits in the background; runInTransaction is the one exception.
// Every value is bound as a parameter ("?"), never pasted into the statement.
class SQLiteManager {
public:
    SQLiteManager(QString databaseName, const Files* files, Log* log);
    ~SQLiteManager();
    SQLiteManager(const SQLiteManager&) = delete;
    SQLiteManager& operator=(const SQLiteManager&) = delete;

    QString getDatabasePath() const;
    std::optional<DbError> openDatabase();
    std::optional<DbError> closeDatabase();

    // A statement that returns no rows (create, drop, insert).
    std::optional<DbError> doQuery(const QString& statement, const QStringList& params = {});
    // A query; empty on any failure (which is logged).
    DbRows getRowsForQuery(const QString& statement, const QStringList& params = {});

    // Runs body with one connection held open and inside a transaction: committed when body returns
    // true, rolled back otherwise (or when the commit fails). False when nothing was committed.
    bool runInTransaction(const std::function<bool()>& body);

    static bool isNull(const QVariant& value);
    // The text form of a value, as a caller formatting it with "%@" sees it.
    static QString text(const QVariant& value);

private:
    std::optional<DbError> prepareAndBind(const QString& statement, const QStringList& params,
                                          struct sqlite3_stmt** out);
    void closeUnlessHeld();
    QString lastMessage() const;

    QString name_;
    const Files* files_;
    Log* log_;
    sqlite3* db_ = nullptr;
    int held_ = 0;
};
