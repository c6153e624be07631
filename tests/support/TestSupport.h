#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <functional>

namespace testsupport {

QByteArray readFile(const QString& path);
void writeFile(const QString& path, const QByteArray& data);

// A path inside the source tree (fixtures) or the build's resource folder.
QString sourcePath(const QString& relative);
QString resourceDir();
QString binDir();

// Compares bytes with a reference file; on mismatch writes <reference>.fail beside it and returns a
// description of the first difference (empty when equal).
QString compareWithReference(const QByteArray& actual, const QString& referencePath);

// Runs the Qt event loop until the predicate holds or the time-out passes; true when it held.
bool waitFor(const std::function<bool()>& predicate, int timeoutMs = 10000);

// The first column of the first row a query gives on a database opened read-only (a pragma, a count), as
// another program would see the file; -1 when there is none.
qint64 queryNumber(const QString& database, const char* sql);

} // namespace testsupport
