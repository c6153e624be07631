#include "TestSupport.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

#include <sqlite3.h>

namespace testsupport {

QByteArray readFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void writeFile(const QString& path, const QByteArray& data) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(data);
}

QString sourcePath(const QString& relative) {
    return QStringLiteral(KOMPAUN_SOURCE_DIR "/") + relative;
}
QString resourceDir() {
    return QStringLiteral(KOMPAUN_RESOURCE_DIR);
}
QString binDir() {
    return QStringLiteral(KOMPAUN_BIN_DIR);
}

QString compareWithReference(const QByteArray& actual, const QString& referencePath) {
    const QByteArray expected = readFile(referencePath);
    if (actual == expected) {
        QFile::remove(referencePath + QStringLiteral(".fail"));
        return {};
    }
    writeFile(referencePath + QStringLiteral(".fail"), actual);
    qsizetype i = 0;
    while (i < actual.size() && i < expected.size() && actual[i] == expected[i])
        ++i;
    return QStringLiteral(
               "differs from %1 at byte %2 (actual %3 bytes, expected %4); actual written to .fail")
        .arg(referencePath)
        .arg(i)
        .arg(actual.size())
        .arg(expected.size());
}

bool waitFor(const std::function<bool()>& predicate, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (!predicate()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(1);
    }
    return true;
}

qint64 queryNumber(const QString& database, const char* sql) {
    sqlite3* db = nullptr;
    sqlite3_stmt* statement = nullptr;
    qint64 value = -1;
    if (sqlite3_open_v2(database.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
        sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW)
        value = sqlite3_column_int64(statement, 0);
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return value;
}

} // namespace testsupport
