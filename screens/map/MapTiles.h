#pragma once

#include "screens/map/TileCache.h"

#include <QQuickAsyncImageProvider>
#include <QString>
#include <QUrl>

#include <array>
#include <memory>
#include <optional>

class Http;

// Where the map's tiles come from: an XYZ address template ("{z}", "{x}", "{y}") fetched through the
// application's HTTP engine, each tile kept on disk once fetched (written whole, atomically, in a
// bounded cache), so a map seen once shows again without a network. QML asks for "image://tiles/Z/X/Y".
class MapTiles : public QQuickAsyncImageProvider {
public:
    static constexpr char defaultTemplate[] = "https://tile.openstreetmap.org/{z}/{x}/{y}.png";

    MapTiles(Http& http, QString urlTemplate, QString cacheDir,
             qint64 maxCacheBytes = TileCache::defaultMaxBytes);

    // The address of one tile; none for a tile outside the world or a template without the three names.
    std::optional<QUrl> tileUrl(int zoom, int x, int y) const;
    // The file a tile is kept in.
    QString cachePath(int zoom, int x, int y) const;
    // "Z/X/Y" as QML names a tile.
    static std::optional<std::array<int, 3>> parseId(const QString& id);
    // Keeps a fetched tile; false when the bytes are not a picture within bounds or the file could not
    // be written.
    bool store(int zoom, int x, int y, const QByteArray& bytes) const {
        bool written = false;
        cache_->keep(cachePath(zoom, x, y), bytes, &written);
        return written;
    }
    TileCache& cache() const { return *cache_; }

    QQuickImageResponse* requestImageResponse(const QString& id, const QSize& requestedSize) override;

private:
    Http& http_;
    QString template_;
    QString cacheDir_;
    // Shared with replies still on their way when the provider goes.
    std::shared_ptr<TileCache> cache_;
};
