#include "platform/PhotoLibrary.h"

#include <QBuffer>
#include <QImageReader>

QImage PickedPhoto::decode() const {
    if (!image.isNull() || encoded.isEmpty())
        return image;
    QBuffer buffer;
    buffer.setData(encoded);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // A phone stores a portrait photograph sideways with an orientation mark; applied here, the picture
    // stands as the officer held the phone.
    reader.setAutoTransform(true);
    return reader.read();
}
