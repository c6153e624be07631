#pragma once

#include <QImage>
#include <QStringList>

#include <zbar.h>

// Every symbol an independent decoder finds in a picture, as "TYPE:data" (zbar's type names).
inline QStringList decodeSymbols(const QImage& picture) {
    using namespace zbar;
    const QImage grey = picture.convertToFormat(QImage::Format_Grayscale8);
    QByteArray pixels;
    pixels.reserve(qsizetype(grey.width()) * grey.height());
    for (int y = 0; y < grey.height(); ++y)
        pixels.append(reinterpret_cast<const char*>(grey.constScanLine(y)), grey.width());
    zbar_image_scanner_t* scanner = zbar_image_scanner_create();
    zbar_image_scanner_set_config(scanner, ZBAR_NONE, ZBAR_CFG_ENABLE, 1);
    zbar_image_t* image = zbar_image_create();
    zbar_image_set_format(image, zbar_fourcc('Y', '8', '0', '0'));
    zbar_image_set_size(image, unsigned(grey.width()), unsigned(grey.height()));
    zbar_image_set_data(image, pixels.constData(), unsigned(pixels.size()), nullptr);
    zbar_scan_image(scanner, image);
    QStringList found;
    for (const zbar_symbol_t* s = zbar_image_first_symbol(image); s; s = zbar_symbol_next(s))
        found << QStringLiteral("%1:%2").arg(
            QString::fromLatin1(zbar_get_symbol_name(zbar_symbol_get_type(s))),
            QString::fromLatin1(zbar_symbol_get_data(s)));
    zbar_image_destroy(image);
    zbar_image_scanner_destroy(scanner);
    found.sort();
    return found;
}
