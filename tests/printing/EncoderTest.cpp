#include "platform/fake/FakePlatform.h"
#include "printing/WSCommands.h"
#include "printing/WSEncoder.h"

#include <gtest/gtest.h>

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

TEST(WSEncoder, TextIsLossyAsciiWithTheCallersLineEnds) {
    WSEncoder e;
    EXPECT_TRUE(e.printableData().isEmpty());
    e.addString(QStringLiteral("JALAN 1\r\n"));
    e.addString(QStringLiteral("KAFÉ \U0001F600\n"));
    EXPECT_EQ(e.printableData(), QByteArray("JALAN 1\r\nKAF? ?\n"));
}

TEST(WSEncoder, OneDimensionalBarcodesAndTheirSettings) {
    WSEncoder e;
    e.createBarcode(QStringLiteral("12345"), WSEncoder::kBarcodeCode39);
    EXPECT_EQ(e.printableData(), hex("1d6b45053132333435"));

    WSEncoder empty;
    empty.createBarcode(QString(), 69);
    EXPECT_EQ(empty.printableData(), hex("1d6b4500"));

    // Non-ASCII data keeps its header (count of characters) but sends no data.
    WSEncoder accented;
    accented.createBarcode(QStringLiteral("5É"), 69);
    EXPECT_EQ(accented.printableData(), hex("1d6b4502"));

    // Code 128 carries single-byte Latin letters.
    WSEncoder code128;
    code128.createBarcode(QStringLiteral("AÉ"), WSEncoder::kBarcodeCode128);
    EXPECT_EQ(code128.printableData(), hex("1d6b490241c9"));

    WSEncoder settings;
    for (int w : {0, 9, 100, -1})
        settings.setBarcodeWidth(w);
    for (int h : {0, 256, -5})
        settings.setBarcodeHeight(h);
    EXPECT_TRUE(settings.printableData().isEmpty());
    settings.setBarcodeWidth(8);
    settings.setBarcodeWidth(1);
    settings.setBarcodeHeight(255);
    settings.setBarcodeHeight(1);
    settings.enableHRI(true);
    settings.enableHRI(false);
    EXPECT_EQ(settings.printableData(), hex("1d7708 1d7701 1d68ff 1d6801 1d4801 1d4800"));
}

TEST(WSEncoder, TwoDimensionalSymbolsShareOneBlockShape) {
    WSEncoder e;
    e.createBarcodePDF417(QStringLiteral("A"), 1, 2, 3);
    e.createBarcodeDataMatrix(QStringLiteral("B"), 4, 5, 6);
    e.createBarcodeQRCode(QStringLiteral("C"), 0, 77, 5);
    e.createBarcodeMicroPDF417(QStringLiteral("D"), 7, 8, 9);
    e.createBarcodeTruncPDF417(QStringLiteral("E"), 10, 11, 12);
    e.createBarcodeMaxicode(QStringLiteral("F"), 2);
    EXPECT_EQ(e.printableData(), hex("1d5a00 1b5a010203 0100 41"
                                     "1d5a01 1b5a040506 0100 42"
                                     "1d5a02 1b5a004d05 0100 43"
                                     "1d5a03 1b5a070809 0100 44"
                                     "1d5a04 1b5a0a0b0c 0100 45"
                                     "1d5a05 1b5a020000 0100 46"));

    WSEncoder longQr;
    longQr.createBarcodeQRCode(QString(300, QLatin1Char('x')), 0, 77, 5);
    EXPECT_EQ(longQr.printableData().left(10), hex("1d5a02 1b5a004d05 2c01"));
    EXPECT_EQ(longQr.printableData().size(), 10 + 300);

    WSEncoder nonAscii;
    nonAscii.createBarcodeQRCode(QStringLiteral("Ä1"), 0, 77, 5);
    EXPECT_EQ(nonAscii.printableData(), hex("1d5a02 1b5a004d05 0200"));

    WSEncoder databar;
    databar.createGS1Databar(QStringLiteral("0101234"), 3, 2);
    EXPECT_EQ(databar.printableData(), hex("1d310302") + QByteArray("0101234"));

    // Data that is not ASCII sends no data bytes, as the other symbologies do: a '?' would print a
    // different, scannable number.
    WSEncoder databarNonAscii;
    databarNonAscii.createGS1Databar(QStringLiteral("01012\u00e934"), 3, 2);
    EXPECT_EQ(databarNonAscii.printableData(), hex("1d310302"));
    WSEncoder databarEmoji;
    databarEmoji.createGS1Databar(QStringLiteral("01\U0001F600"), 0, 1);
    EXPECT_EQ(databarEmoji.printableData(), hex("1d310001"));
}

TEST(WSEncoder, FixedCommands) {
    EXPECT_EQ(WSCommands::pageMode(), hex("1b4c"));
    EXPECT_EQ(WSCommands::printPage(), hex("1b0c"));
    EXPECT_EQ(WSCommands::standardMode(), hex("1b53"));
    EXPECT_EQ(WSCommands::leftMargin(336), hex("1d4c5001"));
    EXPECT_EQ(WSCommands::leftMargin(436), hex("1d4cb401"));
    EXPECT_EQ(WSCommands::leftMargin(0), hex("1d4c0000"));
    EXPECT_EQ(WSCommands::characterSize(1), hex("1d2101"));
}

TEST(WSEncoderRaster, RowSizeAndBitOrder) {
    QImage img = solid(385, 1, qRgb(255, 255, 255));
    img.setPixel(0, 0, qRgb(0, 0, 0));
    img.setPixel(9, 0, qRgb(0, 0, 0));
    img.setPixel(384, 0, qRgb(0, 0, 0));
    WSEncoder e;
    e.createPrintableDataFromImage(img, 0, 0, 0, 0);
    const QByteArray& d = e.printableData();
    // Width and height below 1 take the image's own size.
    EXPECT_EQ(d.left(10), hex("1b57 0000 0000 8101 0100"));
    EXPECT_EQ(d.mid(10, 5), hex("1b583431 01"));
    const QByteArray row = d.mid(15);
    ASSERT_EQ(row.size(), 49);
    EXPECT_EQ(uchar(row[0]), 0x80);
    EXPECT_EQ(uchar(row[1]), 0x40);
    EXPECT_EQ(uchar(row[48]), 0x80); // the last byte's low seven bits stay clear

    int r = 0;
    WSEncoder::rasterize(solid(384, 2, qRgb(0, 0, 0)), &r);
    EXPECT_EQ(r, 48);
}

TEST(WSEncoderRaster, ThresholdAndTransparency) {
    QImage img(4, 1, QImage::Format_ARGB32);
    img.setPixel(0, 0, qRgba(234, 234, 233, 255)); // sum 701: black
    img.setPixel(1, 0, qRgba(234, 234, 234, 255)); // sum 702: white
    img.setPixel(2, 0, qRgba(0, 0, 0, 0));         // transparent black: white
    img.setPixel(3, 0, qRgba(255, 255, 255, 0));   // transparent white premultiplies to nothing: white
    EXPECT_EQ(WSEncoder::rasterize(img), hex("80"));

    // Half-transparent white premultiplies to grey (sum 384) and prints.
    QImage half(1, 1, QImage::Format_ARGB32);
    half.setPixel(0, 0, qRgba(255, 255, 255, 128));
    EXPECT_EQ(WSEncoder::rasterize(half), hex("80"));
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

    WSEncoder header;
    header.createPrintableDataFromImage(solid(800, 200, qRgb(255, 255, 255)), 0, 0, 800, 200);
    EXPECT_EQ(header.printableData().left(15), hex("1b57 0000 0000 2003 c800 1b583464c8"));
    EXPECT_EQ(header.printableData().size(), 15 + 20000);
}

TEST(WSEncoderRaster, AnImageThatCannotBeDrawnAppendsNothing) {
    FakeLog log;
    WSEncoder e(&log);
    e.createPrintableDataFromImage(QImage(), 0, 0, 800, 200);
    EXPECT_TRUE(e.printableData().isEmpty());
    EXPECT_TRUE(log.contains(QStringLiteral("ERROR: bitmap context is not created")));

    // A row wider than one byte can count would be sent garbled: refused.
    WSEncoder wide(&log);
    wide.createPrintableDataFromImage(solid(2041, 1, qRgb(0, 0, 0)), 0, 0, 0, 0);
    EXPECT_TRUE(wide.printableData().isEmpty());
}
