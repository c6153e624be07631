#pragma once

#include <QImage>
#include <QStringList>

namespace zbar {
struct zbar_image_scanner_s;
}

// zbar over 8-bit grey pictures: its default symbologies, scanned every third line and column. One
// decoder is used by one thread at a time.
class BarcodeDecoder {
public:
    BarcodeDecoder();
    ~BarcodeDecoder();
    BarcodeDecoder(const BarcodeDecoder&) = delete;
    BarcodeDecoder& operator=(const BarcodeDecoder&) = delete;

    // The data of every symbol found, in zbar's order; empty when none. Rows may be padded.
    QStringList decode(const uchar* grey, int width, int height, qsizetype bytesPerLine);
    // Any picture, turned grey first.
    QStringList decode(const QImage& picture);

private:
    zbar::zbar_image_scanner_s* scanner_;
};
