#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QRect>

// Draws what the 4-inch printer would print for a command stream: a picture of the receipt.
//
// The head is 832 dots wide (104 mm at 203 dots an inch). Characters sit on a 9 x 24-dot grid, so a
// line holds 92 of them (828 dots) and the 93rd wraps to the next line, as the notices' 92-hyphen rules
// expect. Margins, raster bands and barcode modules are in dots. Code 39 bars are 2 dots narrow and 4 wide
// unless the stream sets another width; barcodes and QR codes sit in the text line like very tall
// characters, so two barcodes separated by spaces print side by side.
class ReceiptRenderer {
public:
    static constexpr int kPaperDots = 832;
    static constexpr int kCellWidth = 9;
    static constexpr int kCellHeight = 24;
    static constexpr int kColumns = 92;
    // White paper left around the print so that a scanner sees quiet zones at the edges.
    static constexpr int kPaperEdge = 24;
    static constexpr int kDefaultBarcodeHeight = 80;
    static constexpr int kDefaultModuleWidth = 2;

    ReceiptRenderer();
    ~ReceiptRenderer();
    ReceiptRenderer(const ReceiptRenderer&) = delete;
    ReceiptRenderer& operator=(const ReceiptRenderer&) = delete;

    // Interprets the whole stream and returns the receipt; an incomplete command at the end is dropped.
    static QImage render(const QByteArray& stream);

    void feed(const QByteArray& stream);
    // The receipt so far, with any unfinished line printed.
    QImage image();

private:
    struct Item {
        int x = 0;
        QImage picture; // black on white, already scaled
    };

    qsizetype command(const QByteArray& s, qsizetype i);
    void printText(char c);
    void placeItem(QImage picture);
    void newLine();
    void feedDots(int dots);
    void rasterBand(int bytesPerRow, int rows, const uchar* bits);
    void printPageBuffer();
    void startPage();
    QImage glyph(char c) const;
    QImage code39(const QByteArray& data) const;
    QImage qrCode(const QByteArray& data, int version, int ecLevel, int moduleSize) const;
    QImage placeholder(const QString& label) const;
    void withHri(QImage& bars, const QByteArray& data) const;

    QList<QImage> strips_;
    QList<Item> line_;
    int x_ = 0;
    int leftMargin_ = 0;
    int widthScale_ = 1;
    int heightScale_ = 1;
    int barcodeHeight_ = kDefaultBarcodeHeight;
    int moduleWidth_ = kDefaultModuleWidth;
    int hri_ = 0;
    int symbology2D_ = 2;

    bool pageMode_ = false;
    QRect pageArea_;
    QImage page_;
    int pageX_ = 0;
    int pageY_ = 0;

    QList<QImage> glyphs_;
};
