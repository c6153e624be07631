#include "screens/map/MapTiles.h"

#include "platform/Http.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPointer>

namespace {

// One tile on its way: finished as soon as it is known, from the disk or the network.
class TileResponse : public QQuickImageResponse {
public:
    QQuickTextureFactory* textureFactory() const override {
        return QQuickTextureFactory::textureFactoryForImage(image_);
    }
    QString errorString() const override { return {}; }
    void finish(QImage image) {
        image_ = std::move(image);
        Q_EMIT finished();
    }
    // A tile that cannot be had is drawn as an empty square: one transparent pixel, which the view
    // tells from a real tile by its size. No error is reported, so the view prints no warning for each
    // tile of a map seen without a network.
    void fail() {
        QImage blank(1, 1, QImage::Format_ARGB32_Premultiplied);
        blank.fill(Qt::transparent);
        finish(std::move(blank));
    }

private:
    QImage image_;
};

} // namespace

MapTiles::MapTiles(Http& http, QString urlTemplate, QString cacheDir, qint64 maxCacheBytes)
    : http_(http),
      template_(urlTemplate.isEmpty() ? QString::fromLatin1(defaultTemplate) : std::move(urlTemplate)),
      cacheDir_(std::move(cacheDir)), cache_(std::make_shared<TileCache>(cacheDir_, maxCacheBytes)) {}

std::optional<QUrl> MapTiles::tileUrl(int zoom, int x, int y) const {
    if (zoom < 0 || zoom > 22 || x < 0 || y < 0 || x >= (1 << zoom) || y >= (1 << zoom))
        return std::nullopt;
    for (const char* name : {"{z}", "{x}", "{y}"})
        if (!template_.contains(QLatin1String(name)))
            return std::nullopt;
    QString text = template_;
    text.replace(QLatin1String("{z}"), QString::number(zoom))
        .replace(QLatin1String("{x}"), QString::number(x))
        .replace(QLatin1String("{y}"), QString::number(y));
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid() || (url.scheme() != QLatin1String("https") && url.scheme() != QLatin1String("http")))
        return std::nullopt;
    return url;
}

QString MapTiles::cachePath(int zoom, int x, int y) const {
    return QStringLiteral("%1/%2/%3/%4.tile").arg(cacheDir_).arg(zoom).arg(x).arg(y);
}

std::optional<std::array<int, 3>> MapTiles::parseId(const QString& id) {
    const QStringList parts = id.split(QLatin1Char('/'));
    if (parts.size() != 3)
        return std::nullopt;
    std::array<int, 3> values{};
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        values[size_t(i)] = parts[i].toInt(&ok);
        if (!ok)
            return std::nullopt;
    }
    return values;
}

QQuickImageResponse* MapTiles::requestImageResponse(const QString& id, const QSize&) {
    auto* response = new TileResponse;
    const auto tile = parseId(id);
    const std::optional<QUrl> url = tile ? tileUrl((*tile)[0], (*tile)[1], (*tile)[2]) : std::nullopt;
    if (!url) {
        response->fail();
        return response;
    }
    const auto [zoom, x, y] = *tile;
    const QImage cached = TileCache::read(cachePath(zoom, x, y));
    if (!cached.isNull()) {
        response->finish(cached);
        return response;
    }
    HttpRequest request;
    request.url = *url;
    request.timeoutMs = 15000;
    QPointer<TileResponse> guard(response);
    http_.send(
        request,
        [guard, cache = cache_, path = cachePath(zoom, x, y)](const HttpResponse& reply) {
            // Parsed before it is kept: a tile server's error page, or a body too large for a tile, never
            // lands in the cache.
            const QImage image = cache->keep(path, reply.body);
            if (!guard)
                return;
            if (image.isNull())
                guard->fail();
            else
                guard->finish(image);
        },
        [guard](const HttpResponse&) {
            if (guard)
                guard->fail();
        },
        response);
    return response;
}
