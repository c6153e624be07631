#include "screens/photos/PhotoImageProvider.h"

#include "core/AppDelegate.h"
#include "screens/photos/EvidencePhoto.h"

#include <atomic>

PhotoImageProvider::PhotoImageProvider(AppDelegate& app)
    : QQuickImageProvider(QQuickImageProvider::Image), app_(app) {}

QString PhotoImageProvider::url(bool thumbnail, int generation, int index) {
    return QStringLiteral("image://photo/%1/%2/%3")
        .arg(thumbnail ? QStringLiteral("thumb") : QStringLiteral("full"))
        .arg(generation)
        .arg(index);
}

int PhotoImageProvider::nextGeneration() {
    static std::atomic<int> generation{0};
    return ++generation;
}

QImage PhotoImageProvider::requestImage(const QString& id, QSize* size, const QSize& requestedSize) {
    const QStringList parts = id.split(QLatin1Char('/'));
    bool ok = parts.size() == 3;
    const int index = ok ? parts.at(2).toInt(&ok) : -1;
    const PhotoList photos = app_.getImageArray();
    QImage image;
    if (ok && index >= 0 && index < photos.size()) {
        const PhotoEntry& entry = photos.at(index);
        image = EvidencePhoto::decode(parts.at(0) == QLatin1String("thumb") ? entry.thumbnail : entry.full,
                                      requestedSize);
    }
    // A text that does not decode shows an empty picture.
    if (image.isNull()) {
        image = QImage(1, 1, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
    }
    if (size)
        *size = image.size();
    return image;
}
