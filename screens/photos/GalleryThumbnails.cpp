#include "screens/photos/GalleryThumbnails.h"

#include <QImageReader>
#include <QUrl>

GalleryThumbnails::GalleryThumbnails() : QQuickImageProvider(QQuickImageProvider::Image) {}

QImage GalleryThumbnails::requestImage(const QString& id, QSize* size, const QSize& requestedSize) {
    const QUrl url(QUrl::fromPercentEncoding(id.toUtf8()));
    QImage image;
    if (url.isLocalFile()) {
        QImageReader reader(url.toLocalFile());
        reader.setAutoTransform(true);
        const QSize source = reader.size();
        if (requestedSize.isValid() && source.isValid() && !source.isEmpty()) {
            // Covers the asked size (the row crops it), never larger than the picture itself.
            const qreal scale = std::min(1.0, std::max(qreal(requestedSize.width()) / source.width(),
                                                       qreal(requestedSize.height()) / source.height()));
            reader.setScaledSize((QSizeF(source) * scale).toSize().expandedTo(QSize(1, 1)));
        }
        image = reader.read();
    }
    if (image.isNull()) {
        image = QImage(requestedSize.isValid() ? requestedSize : QSize(72, 72), QImage::Format_RGB32);
        image.fill(QColor(0xd1, 0xd5, 0xdb));
    }
    if (size)
        *size = image.size();
    return image;
}
