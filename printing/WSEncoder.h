#pragma once

#include "platform/NullServices.h"

#include <QByteArray>
#include <QImage>
#include <QString>

class Log;

// Builds the printer's command stream. Every operation only appends to printableData.
class WSEncoder {
public:
    // Encoding 1 is 7-bit ASCII, the only one the layouts use.
    static constexpr int kEncodingAscii = 1;
    static constexpr int kEncodingLatin1 = 5;
    // Code 39, the symbology of every barcode on the notices.
    static constexpr int kBarcodeCode39 = 69;
    static constexpr int kBarcodeCode128 = 73;
    // Dots darker than this sum of red, green and blue print black.
    static constexpr int kBlackThreshold = 702;
    // The raster band command carries its row count in one byte.
    static constexpr int kBandRows = 255;
    // Where the printer puts a 1-D barcode's human-readable text (GS H n).
    static constexpr int kHriNone = 0;
    static constexpr int kHriAbove = 1;
    static constexpr int kHriBelow = 2;
    static constexpr int kHriBoth = 3;

    explicit WSEncoder(Log* log = nullptr) : log_(orNothing(log)) {}

    void addString(const QString& text, int encoding = kEncodingAscii);
    void createBarcode(const QString& data, int barcodeType);
    void setBarcodeWidth(int width);
    void setBarcodeHeight(int height);
    void enableHRI(bool enable);
    // GS H with the position itself: 0 none, 1 above, 2 below, 3 both; any other value appends nothing.
    void setHRIPosition(int position);
    void createBarcodePDF417(const QString& data, int column, int securityLevel, int hvRatio);
    void createBarcodeDataMatrix(const QString& data, int symbolHeight, int symbolWidth, int moduleSize);
    void createBarcodeQRCode(const QString& data, int symbolVersion, int ecLevel, int moduleSize);
    void createBarcodeMicroPDF417(const QString& data, int column, int row, int hvRatio);
    void createBarcodeTruncPDF417(const QString& data, int column, int securityLevel, int hvRatio);
    void createBarcodeMaxicode(const QString& data, int mode);
    void createGS1Databar(const QString& data, int type, int rowSegment);
    // Page-mode print area and raster bands of the image; appends nothing when the image cannot be drawn.
    void createPrintableDataFromImage(const QImage& image, int coordinateX, int coordinateY, int width,
                                      int height);

    const QByteArray& printableData() const { return data_; }

    // Lossy 7-bit conversion: anything outside ASCII becomes '?'.
    static QByteArray toAsciiLossy(const QString& text);
    // The 1-bit raster of an image, R = ceil(W / 8) bytes a row, most significant bit leftmost, 1 = black.
    // Empty when the image cannot be drawn.
    static QByteArray rasterize(const QImage& image, int* bytesPerRow = nullptr, QString* error = nullptr);
    // The same raster in plain C++, without hand-written vector instructions: what processors without
    // SSE2 run, and the reference the vector path is checked against.
    static QByteArray rasterizePortable(const QImage& image);

private:
    static QByteArray rasterizeWith(const QImage& image, bool vector, int* bytesPerRow, QString* error);
    void make2DBarcode(const QString& data, int barcodeType, int a1, int a2, int a3);
    QByteArray& buffer();

    QByteArray data_;
    Log* log_ = nullptr;
};
