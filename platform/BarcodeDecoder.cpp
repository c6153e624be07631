#include "platform/BarcodeDecoder.h"

#include <QByteArray>

#include <cstring>

#include <zbar.h>

using namespace zbar;

BarcodeDecoder::BarcodeDecoder() : scanner_(zbar_image_scanner_create()) {
    // The default symbol set stays as zbar has it; only the density is ours.
    zbar_image_scanner_set_config(scanner_, ZBAR_NONE, ZBAR_CFG_X_DENSITY, 3);
    zbar_image_scanner_set_config(scanner_, ZBAR_NONE, ZBAR_CFG_Y_DENSITY, 3);
}

BarcodeDecoder::~BarcodeDecoder() {
    zbar_image_scanner_destroy(scanner_);
}

QStringList BarcodeDecoder::decode(const uchar* grey, int width, int height, qsizetype bytesPerLine) {
    if (!grey || width <= 0 || height <= 0 || bytesPerLine < width)
        return {};
    // zbar reads packed rows; a padded frame is packed first.
    QByteArray packed;
    const uchar* pixels = grey;
    if (bytesPerLine != width) {
        packed.resize(qsizetype(width) * height);
        for (int y = 0; y < height; ++y)
            memcpy(packed.data() + qsizetype(y) * width, grey + y * bytesPerLine, size_t(width));
        pixels = reinterpret_cast<const uchar*>(packed.constData());
    }
    zbar_image_t* image = zbar_image_create();
    zbar_image_set_format(image, zbar_fourcc('Y', '8', '0', '0'));
    zbar_image_set_size(image, unsigned(width), unsigned(height));
    zbar_image_set_data(image, pixels, unsigned(qsizetype(width) * height), nullptr);
    QStringList symbols;
    if (zbar_scan_image(scanner_, image) > 0) {
        for (const zbar_symbol_t* s = zbar_image_first_symbol(image); s; s = zbar_symbol_next(s))
            symbols << QString::fromUtf8(zbar_symbol_get_data(s), int(zbar_symbol_get_data_length(s)));
    }
    zbar_image_destroy(image);
    return symbols;
}

QStringList BarcodeDecoder::decode(const QImage& picture) {
    const QImage grey = picture.convertToFormat(QImage::Format_Grayscale8);
    return decode(grey.constBits(), grey.width(), grey.height(), grey.bytesPerLine());
}
