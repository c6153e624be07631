#include "platform/WholeFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstdio>

namespace WholeFile {

bool commit(QSaveFile& file, QString* error) {
    const auto fail = [&] {
        if (error)
            *error = file.errorString();
        // A cancelled commit closes the file and removes the temporary copy; the old file stays.
        file.cancelWriting();
        file.commit();
        return false;
    };
    if (!file.isOpen()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    // flush() is where a buffered write meets the disk; its failure is the one commit() would miss. It
    // writes one block of the buffer at a time.
    if (file.error() != QFileDevice::NoError)
        return fail();
    do {
        if (!file.flush() || file.error() != QFileDevice::NoError)
            return fail();
    } while (file.bytesToWrite() > 0);
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

bool write(const QString& path, QByteArrayView bytes, QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    if (file.write(bytes.data(), bytes.size()) != bytes.size()) {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        file.commit();
        return false;
    }
    return commit(file, error);
}

bool rename(const QString& from, const QString& to) {
    if (QFileInfo::exists(to))
        return false;
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

} // namespace WholeFile
