#pragma once

#include <QByteArrayView>
#include <QString>

class QSaveFile;

// A file written whole or not at all. QSaveFile alone is not enough: its write() only fills a buffer,
// and a buffer that fails to reach the disk (disk full, file-size limit) when commit() flushes it is
// not remembered as a write error, so the short file would replace the old one and commit() report
// success. Every writer of a file goes through here.
namespace WholeFile {

// Flushes, checks that every byte reached the file, and only then replaces the old file. On any
// failure the temporary file is dropped, the old file kept, false returned and the reason given.
bool commit(QSaveFile& file, QString* error = nullptr);

// Writes bytes to path through a temporary file that replaces the old one; false (old file kept) when
// any byte fails.
bool write(const QString& path, QByteArrayView bytes, QString* error = nullptr);

// Renames a file in one step or not at all: never over an existing file, and never by copying it (the
// fallback of QFile::rename, which on a full disk could leave a partial copy behind).
bool rename(const QString& from, const QString& to);

} // namespace WholeFile
