#pragma once

#include <QByteArray>
#include <QImage>
#include <QMutex>
#include <QString>

// The map's tiles kept on disk, bounded: a tile body over maxTileBytes or a picture larger than
// maxTileEdge on a side is refused (a tile server cannot fill the phone or its memory with one tile),
// and once the folder holds more than maxBytes the oldest tiles go first until it holds three quarters
// of that. Callable from the image loader's thread and the interface thread alike.
class TileCache {
public:
    static constexpr qint64 maxTileBytes = 1 << 20;
    static constexpr int maxTileEdge = 1024;
    static constexpr qint64 defaultMaxBytes = 64 << 20;

    explicit TileCache(QString dir, qint64 maxBytes = defaultMaxBytes);

    QString dir() const { return dir_; }
    // The tile's picture, or a null one when the bytes are too many, too large a picture, or none.
    static QImage decode(const QByteArray& bytes);
    // The picture kept at path, decoded within the same bounds; null when none is kept.
    static QImage read(const QString& path);
    // A fetched tile's picture, decoded once: null when it is not a picture within bounds, and then nothing
    // is kept. A picture is kept written whole; a file that cannot be written (a full disk) leaves the old
    // tile, if any, and the picture is still returned to be shown. `written`: whether the file was written.
    QImage keep(const QString& path, const QByteArray& bytes, bool* written = nullptr);
    // Bytes the kept tiles take, as last counted.
    qint64 heldBytes();

private:
    void countLocked();
    void pruneLocked();

    QString dir_;
    qint64 maxBytes_;
    QMutex lock_;
    qint64 held_ = -1; // not counted yet
};
