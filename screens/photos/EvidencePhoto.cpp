#include "screens/photos/EvidencePhoto.h"

#include "platform/Log.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>

namespace EvidencePhoto {

QImage imageByScalingAndCroppingForSize(const QSize& target, const QImage& source, Log* log) {
    if (source.isNull() || target.isEmpty()) {
        if (log)
            log->write(QStringLiteral("could not scale image"));
        return {};
    }
    if (source.size() == target)
        return source;
    const qreal width = source.width();
    const qreal height = source.height();
    const qreal widthFactor = target.width() / width;
    const qreal heightFactor = target.height() / height;
    const qreal scale = qMax(widthFactor, heightFactor);
    const qreal scaledWidth = width * scale;
    const qreal scaledHeight = height * scale;
    QPointF at(0, 0);
    if (widthFactor > heightFactor)
        at.setY((target.height() - scaledHeight) * 0.5);
    else if (widthFactor < heightFactor)
        at.setX((target.width() - scaledWidth) * 0.5);

    QImage canvas(target, QImage::Format_RGB32);
    canvas.fill(Qt::black);
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(at, QSizeF(scaledWidth, scaledHeight)), source);
    painter.end();
    return canvas;
}

QByteArray jpeg(const QImage& image, int quality) {
    if (image.isNull())
        return {};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(quality);
    if (!writer.write(image))
        return {};
    return bytes;
}

std::optional<PhotoEntry> entryFor(const QImage& image, Log* log) {
    if (image.isNull())
        return std::nullopt;
    const QImage thumbnail =
        imageByScalingAndCroppingForSize(QSize(thumbnailSide, thumbnailSide), image, log);
    const QByteArray small = jpeg(thumbnail);
    const QByteArray full = jpeg(image);
    if (small.isEmpty() || full.isEmpty())
        return std::nullopt;
    // QByteArray's Base64 is the standard alphabet with "=" padding, all on one line.
    return PhotoEntry{QString::fromLatin1(small.toBase64()), QString::fromLatin1(full.toBase64()), small,
                      full};
}

namespace {

QByteArray bytesOf(const QString& base64) {
    const auto decoded =
        QByteArray::fromBase64Encoding(base64.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    return decoded ? *decoded : QByteArray();
}

} // namespace

QImage decode(const QString& base64, const QSize& bound) {
    QByteArray bytes = bytesOf(base64);
    if (bytes.isEmpty())
        return {};
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (bound.isValid() && size.isValid() && (size.width() > bound.width() || size.height() > bound.height()))
        reader.setScaledSize(size.scaled(bound, Qt::KeepAspectRatio));
    return reader.read();
}

QSize sizeOf(const QString& base64) {
    QByteArray bytes = bytesOf(base64);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    return size.isValid() ? size : QSize();
}

} // namespace EvidencePhoto
