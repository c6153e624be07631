#include "screens/map/TileCache.h"

#include "platform/WholeFile.h"

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <algorithm>
#include <vector>

TileCache::TileCache(QString dir, qint64 maxBytes) : dir_(std::move(dir)), maxBytes_(maxBytes) {}

QImage TileCache::decode(const QByteArray& bytes) {
    if (bytes.isEmpty() || bytes.size() > maxTileBytes)
        return {};
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // The size is read from the header before any pixel is: a small file can claim a huge picture.
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > maxTileEdge || size.height() > maxTileEdge)
        return {};
    return reader.read();
}

QImage TileCache::read(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > maxTileBytes)
        return {};
    return decode(file.readAll());
}

QImage TileCache::keep(const QString& path, const QByteArray& bytes, bool* written) {
    if (written)
        *written = false;
    QImage image = decode(bytes);
    if (image.isNull())
        return image;
    QMutexLocker locker(&lock_);
    if (!QDir().mkpath(QFileInfo(path).path()))
        return image;
    const qint64 before = QFileInfo(path).size();
    if (!WholeFile::write(path, bytes))
        return image;
    if (written)
        *written = true;
    if (held_ < 0)
        countLocked();
    else
        held_ += bytes.size() - before;
    if (held_ > maxBytes_)
        pruneLocked();
    return image;
}

qint64 TileCache::heldBytes() {
    QMutexLocker locker(&lock_);
    if (held_ < 0)
        countLocked();
    return held_;
}

void TileCache::countLocked() {
    held_ = 0;
    QDirIterator it(dir_, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        held_ += it.fileInfo().size();
    }
}

void TileCache::pruneLocked() {
    struct Kept {
        QString path;
        QDateTime written;
        qint64 size;
    };
    std::vector<Kept> kept;
    held_ = 0;
    QDirIterator it(dir_, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        kept.push_back({info.filePath(), info.lastModified(), info.size()});
        held_ += info.size();
    }
    std::sort(kept.begin(), kept.end(), [](const Kept& a, const Kept& b) { return a.written < b.written; });
    // Down to three quarters, so the folder is not walked again at the next tile.
    const qint64 target = maxBytes_ / 4 * 3;
    for (const Kept& k : kept) {
        if (held_ <= target)
            break;
        if (QFile::remove(k.path))
            held_ -= k.size;
    }
}
