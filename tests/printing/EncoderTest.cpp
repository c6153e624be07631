#include "platform/fake/FakePlatform.h"
#include "printing/WSEncoder.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

QByteArray hex(const char* text) {
    return QByteArray::fromHex(text);
}

QImage solid(int w, int h, QRgb colour) {
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(colour);
    return img;
}

} // namespace

TEST(WSEncoder, TextAndSymbolsAsThePrinterReadsThem) {
    EXPECT_TRUE(WSEncoder().printableData().isEmpty());
    const QString number = QStringLiteral("P2016041000123"); // a notice's: P, year, device, running number
    const QByteArray data = number.toLatin1();
    const struct {
        const char* what;
        std::function<void(WSEncoder&)> calls;
        QByteArray expected;
    } cases[] = {
        {"text: lossy ASCII with the caller's line ends",
         [](WSEncoder& e) {
             e.addString(QStringLiteral("JALAN 1\r\n"));
             e.addString(QStringLiteral("KAFÉ \U0001F600\n"));
         },
         "JALAN 1\r\nKAF? ?\n"},
        {"Code 39", [](WSEncoder& e) { e.createBarcode(QStringLiteral("12345"), WSEncoder::kBarcodeCode39); },
         hex("1d6b45053132333435")},
        {"an empty barcode", [](WSEncoder& e) { e.createBarcode(QString(), 69); }, hex("1d6b4500")},
        // Data that is not ASCII keeps its header (the count of characters) but sends no data: a '?' would
        // print a different, scannable number.
        {"a barcode not ASCII", [](WSEncoder& e) { e.createBarcode(QStringLiteral("5É"), 69); },
         hex("1d6b4502")},
        {"barcode settings: out of range ignored",
         [](WSEncoder& e) {
             for (int h : {0, 256, -5, 255, 1})
                 e.setBarcodeHeight(h);
             e.enableHRI(true);
             e.enableHRI(false);
             for (int position : {-1, 4, 2, 0})
                 e.setHRIPosition(position);
         },
         hex("1d68ff 1d6801 1d4801 1d4800 1d4802 1d4800")},
        {"a QR code longer than a byte counts",
         [](WSEncoder& e) { e.createBarcodeQRCode(QString(300, QLatin1Char('x')), 0, 77, 5); },
         hex("1d5a02 1b5a004d05 2c01") + QByteArray(300, 'x')},
        {"a QR code not ASCII", [](WSEncoder& e) { e.createBarcodeQRCode(QStringLiteral("Ä1"), 0, 77, 5); },
         hex("1d5a02 1b5a004d05 0200")},
        // The other symbols: GS Z selects the symbology, ESC Z carries the three arguments and the data's
        // length.
        {"PDF417", [&](WSEncoder& e) { e.createBarcodePDF417(number, 4, 2, 3); },
         hex("1d5a00 1b5a040203 0e00") + data},
        {"DataMatrix", [&](WSEncoder& e) { e.createBarcodeDataMatrix(number, 16, 48, 4); },
         hex("1d5a01 1b5a103004 0e00") + data},
        {"MicroPDF417", [&](WSEncoder& e) { e.createBarcodeMicroPDF417(number, 2, 11, 3); },
         hex("1d5a03 1b5a020b03 0e00") + data},
        {"truncated PDF417", [&](WSEncoder& e) { e.createBarcodeTruncPDF417(number, 3, 1, 2); },
         hex("1d5a04 1b5a030102 0e00") + data},
        {"MaxiCode: the mode, then two zero arguments",
         [&](WSEncoder& e) { e.createBarcodeMaxicode(number, 4); }, hex("1d5a05 1b5a040000 0e00") + data},
        {"arguments are their low bytes", [&](WSEncoder& e) { e.createBarcodePDF417(number, 0x104, -1, 0); },
         hex("1d5a00 1b5a04ff00 0e00") + data},
        {"DataMatrix not ASCII: the commands stand without data",
         [](WSEncoder& e) { e.createBarcodeDataMatrix(QStringLiteral("JALAN \u00c9"), 0, 0, 3); },
         hex("1d5a01 1b5a000003 0700")},
        {"GS1 DataBar: no length, no terminator", [&](WSEncoder& e) { e.createGS1Databar(number, 2, 4); },
         hex("1d310204") + data},
        {"Code 128 carries Latin-1 letters as they are",
         [](WSEncoder& e) { e.createBarcode(QStringLiteral("CAF\u00c9-12"), WSEncoder::kBarcodeCode128); },
         hex("1d6b4907 434146c92d3132")},
        {"Code 128 beyond Latin-1 sends no data",
         [](WSEncoder& e) { e.createBarcode(QStringLiteral("\u20ac12"), WSEncoder::kBarcodeCode128); },
         hex("1d6b4903")},
        {"barcode width: 1 to 8 only",
         [](WSEncoder& e) {
             for (int w : {0, 9, 100, -1, 8, 1})
                 e.setBarcodeWidth(w);
         },
         hex("1d7708 1d7701")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        WSEncoder e;
        c.calls(e);
        EXPECT_EQ(e.printableData(), c.expected);
    }
}

TEST(WSEncoderRaster, RowSizeAndBitOrder) {
    QImage img = solid(385, 1, qRgb(255, 255, 255));
    img.setPixel(0, 0, qRgb(0, 0, 0));
    img.setPixel(9, 0, qRgb(0, 0, 0));
    img.setPixel(384, 0, qRgb(0, 0, 0));
    WSEncoder e;
    e.createPrintableDataFromImage(img, 0, 0, 0, 0);
    // Width and height below 1 take the image's own size; the last byte's low seven bits stay clear.
    EXPECT_EQ(e.printableData(),
              hex("1b57 0000 0000 8101 0100 1b583431 01 8040") + QByteArray(46, '\0') + hex("80"));

    int r = 0;
    WSEncoder::rasterize(solid(384, 2, qRgb(0, 0, 0)), &r);
    EXPECT_EQ(r, 48);
}

TEST(WSEncoderRaster, ThresholdAndTransparency) {
    QImage img(5, 1, QImage::Format_ARGB32);
    img.setPixel(0, 0, qRgba(234, 234, 233, 255)); // sum 701: black
    img.setPixel(1, 0, qRgba(234, 234, 234, 255)); // sum 702: white
    img.setPixel(2, 0, qRgba(0, 0, 0, 0));         // transparent black: white
    img.setPixel(3, 0, qRgba(255, 255, 255, 0));   // transparent white premultiplies to nothing: white
    img.setPixel(4, 0, qRgba(255, 255, 255, 128)); // half-transparent white premultiplies to grey: black
    EXPECT_EQ(WSEncoder::rasterize(img), hex("88"));
}

TEST(WSEncoderRaster, BandsOf255RowsWithPositionsBetweenFullBands) {
    WSEncoder tall;
    tall.createPrintableDataFromImage(solid(8, 510, qRgb(0, 0, 0)), 3, 0, 8, 510);
    QByteArray expected = hex("1b57 0300 0000 0800 fe01");
    expected += hex("1b583401ff") + QByteArray(255, '\xff') + hex("1b4f 0300 ff00");
    expected += hex("1b583401ff") + QByteArray(255, '\xff') + hex("1b4f 0300 fe01");
    EXPECT_EQ(tall.printableData(), expected);

    WSEncoder mixed;
    mixed.createPrintableDataFromImage(solid(8, 300, qRgb(255, 255, 255)), 0, 0, 8, 300);
    QByteArray expectedMixed = hex("1b57 0000 0000 0800 2c01");
    expectedMixed += hex("1b583401ff") + QByteArray(255, '\0') + hex("1b4f 0000 ff00");
    expectedMixed += hex("1b5834012d") + QByteArray(45, '\0');
    EXPECT_EQ(mixed.printableData(), expectedMixed);
}

TEST(WSEncoderRaster, AnImageThatCannotBeDrawnAppendsNothing) {
    FakeLog log;
    WSEncoder e(&log);
    e.createPrintableDataFromImage(QImage(), 0, 0, 800, 200);
    EXPECT_TRUE(e.printableData().isEmpty());

    // A row wider than one byte can count would be sent garbled: refused.
    e.createPrintableDataFromImage(solid(2041, 1, qRgb(0, 0, 0)), 0, 0, 0, 0);
    EXPECT_TRUE(e.printableData().isEmpty());
}
