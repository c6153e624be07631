#include "platform/PhotoLibrary.h"

#include <QBuffer>
#include <QImageReader>

#include <cmath>

namespace {

// The size a picture is kept at: its own, or shrunk evenly to no more than the kept pixels. A JPEG is
// shrunk by a whole eighth (what its decoder does while decoding), so the decoder never holds more than
// the kept picture.
QSize keptSize(const QSize& source, bool jpeg) {
    const qint64 pixels = qint64(source.width()) * source.height();
    if (pixels <= PickedPhoto::keptPixels)
        return source;
    const double factor = std::sqrt(double(PickedPhoto::keptPixels) / double(pixels));
    if (jpeg) {
        const int eighths = qMax(1, int(std::floor(factor * 8)));
        return QSize(qMax(1, source.width() * eighths / 8), qMax(1, source.height() * eighths / 8));
    }
    return QSize(qMax(1, int(source.width() * factor)), qMax(1, int(source.height() * factor)));
}

} // namespace

bool PickedPhoto::jpegIsComplete(const QByteArray& bytes) {
    const auto* b = reinterpret_cast<const uchar*>(bytes.constData());
    const qsizetype n = bytes.size();
    if (n < 4 || b[0] != 0xff || b[1] != 0xd8)
        return false;
    qsizetype i = 2;
    while (i < n) {
        // A marker: 0xff (any number of fill bytes), then its code.
        if (b[i] != 0xff)
            return false;
        while (i < n && b[i] == 0xff)
            ++i;
        if (i >= n)
            return false;
        const uchar code = b[i++];
        if (code == 0xd9)
            return true;
        if ((code >= 0xd0 && code <= 0xd7) || code == 0x01)
            continue;
        if (i + 2 > n)
            return false;
        const int length = (b[i] << 8) | b[i + 1];
        if (length < 2 || i + length > n)
            return false;
        i += length;
        if (code != 0xda)
            continue;
        // Entropy-coded data after a scan header: 0xff 0x00 is a stuffed byte and 0xff 0xd0..d7 a restart;
        // any other marker ends the scan.
        while (i < n) {
            if (b[i] == 0xff && i + 1 < n && b[i + 1] != 0x00 && !(b[i + 1] >= 0xd0 && b[i + 1] <= 0xd7) &&
                b[i + 1] != 0xff)
                break;
            ++i;
        }
        if (i >= n)
            return false;
    }
    return false;
}

QImage PickedPhoto::decode(Failure* failure) const {
    auto refuse = [failure](Failure why) {
        if (failure)
            *failure = why;
        return QImage();
    };
    if (failure)
        *failure = Failure::None;
    if (!image.isNull()) {
        const QSize kept = keptSize(image.size(), false);
        return kept == image.size() ? image
                                    : image.scaled(kept, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    if (encoded.isEmpty())
        return refuse(Failure::Unreadable);
    QBuffer buffer;
    buffer.setData(encoded);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // A phone stores a portrait photograph sideways with an orientation mark; applied here, the picture
    // stands as the officer held the phone.
    reader.setAutoTransform(true);
    // What a camera or a gallery holds; the reader's other formats (vector drawings, icons, TIFF, ...) are
    // no photograph and only widen what a crafted file can reach.
    static const QList<QByteArray> photoFormats{"jpeg", "png", "webp", "bmp", "gif"};
    if (!photoFormats.contains(reader.format()))
        return refuse(Failure::Unreadable);
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty())
        return refuse(Failure::Unreadable);
    const qint64 pixels = qint64(size.width()) * size.height();
    if (pixels > largestSourcePixels)
        return refuse(Failure::TooLarge);
    const bool jpeg = reader.format() == "jpeg";
    if (jpeg && !jpegIsComplete(encoded))
        return refuse(Failure::Truncated);
    const QSize kept = keptSize(size, jpeg);
    if (kept != size) {
        // A format read whole before it is shrunk must fit the reader's allocation limit.
        const qint64 limit = qint64(QImageReader::allocationLimit()) * 1024 * 1024;
        if (!reader.supportsOption(QImageIOHandler::ScaledSize) && limit > 0 && pixels * 4 > limit)
            return refuse(Failure::TooLarge);
        reader.setScaledSize(kept);
    }
    QImage decoded = reader.read();
    if (decoded.isNull())
        return refuse(Failure::Unreadable);
    return decoded;
}
