#include "ZbarDecode.h"
#include "printing/ReceiptRenderer.h"
#include "printing/WSCommands.h"
#include "printing/WSEncoder.h"

#include <gtest/gtest.h>

namespace {

constexpr int kEdge = ReceiptRenderer::kPaperEdge;
constexpr int kLine = ReceiptRenderer::kCellHeight;

int printedLines(const QImage& receipt) {
    return (receipt.height() - 2 * kEdge) / kLine;
}

// The leftmost inked column of the print area, or -1.
int firstInk(const QImage& receipt) {
    for (int x = 0; x < receipt.width(); ++x)
        for (int y = 0; y < receipt.height(); ++y)
            if (qGray(receipt.pixel(x, y)) < 128)
                return x - kEdge;
    return -1;
}

} // namespace

TEST(ReceiptRenderer, NinetyTwoCharactersFillALineAndTheNextWraps) {
    const QImage full = ReceiptRenderer::render(QByteArray(92, '-') + "\r\n");
    EXPECT_EQ(full.width(), ReceiptRenderer::kPaperDots + 2 * kEdge);
    EXPECT_EQ(printedLines(full), 1);
    EXPECT_EQ(printedLines(ReceiptRenderer::render(QByteArray(93, '-') + "\r\n")), 2);
    // A rule and its trailing space: the space starts the next line, as on the notices.
    EXPECT_EQ(printedLines(ReceiptRenderer::render(QByteArray(92, '-') + " TITLE\r\n")), 2);
    // A bare line feed ends a line like CR LF; an empty line still feeds paper.
    EXPECT_EQ(printedLines(ReceiptRenderer::render("A\nB\r\n\r\n")), 3);
}

TEST(ReceiptRenderer, AMarginSetMidLineMovesTheRestOfTheLineToIt) {
    QByteArray stream = "AB" + WSCommands::leftMargin(336) + "C\r\n";
    const QImage paired = ReceiptRenderer::render(stream);
    EXPECT_EQ(printedLines(paired), 1);
    // "C" is the only ink from the margin on, in the cell at the margin.
    int inkFromMargin = -1;
    for (int x = kEdge + 336; x < paired.width() && inkFromMargin < 0; ++x)
        for (int y = 0; y < paired.height(); ++y)
            if (qGray(paired.pixel(x, y)) < 128) {
                inkFromMargin = x - kEdge;
                break;
            }
    EXPECT_GE(inkFromMargin, 336);
    EXPECT_LT(inkFromMargin, 336 + ReceiptRenderer::kCellWidth);
    const QImage onlyC = ReceiptRenderer::render(WSCommands::leftMargin(336) + "C\r\n");
    EXPECT_GE(firstInk(onlyC), 336);
    EXPECT_LT(firstInk(onlyC), 336 + ReceiptRenderer::kCellWidth);
}

TEST(ReceiptRenderer, DoubleHeightDoublesTheLine) {
    const QImage tall = ReceiptRenderer::render(WSCommands::characterSize(1) + "RM 50.00" +
                                                WSCommands::characterSize(0) + "\r\n");
    EXPECT_EQ(tall.height() - 2 * kEdge, 2 * kLine);
}

TEST(ReceiptRenderer, PageModeHeaderPrintsItsRaster) {
    QImage header(800, 200, QImage::Format_RGB32);
    header.fill(Qt::white);
    header.setPixel(0, 0, qRgb(0, 0, 0));
    WSEncoder raster;
    raster.createPrintableDataFromImage(header, 0, 0, 800, 200);
    const QImage page = ReceiptRenderer::render(WSCommands::pageMode() + raster.printableData() +
                                                WSCommands::printPage() + WSCommands::standardMode());
    EXPECT_EQ(page.height() - 2 * kEdge, 200);
    EXPECT_EQ(qGray(page.pixel(kEdge, kEdge)), 0);
    EXPECT_EQ(qGray(page.pixel(kEdge + 1, kEdge)), 255);

    // Bands of 255 rows land one under the other.
    QImage tall(8, 600, QImage::Format_RGB32);
    tall.fill(Qt::white);
    tall.setPixel(3, 599, qRgb(0, 0, 0));
    WSEncoder bands;
    bands.createPrintableDataFromImage(tall, 0, 0, 8, 600);
    const QImage long_ =
        ReceiptRenderer::render(WSCommands::pageMode() + bands.printableData() + WSCommands::printPage());
    EXPECT_EQ(qGray(long_.pixel(kEdge + 3, kEdge + 599)), 0);
}

TEST(ReceiptRenderer, BarcodesSideBySideAndAQrCodeDecode) {
    WSEncoder e;
    e.createBarcode(QStringLiteral("76112"), 69);
    e.addString(QString(14, QLatin1Char(' ')));
    e.createBarcode(QStringLiteral("P2016M07000042"), 69);
    e.addString(QStringLiteral("\r\n"));
    e.addString(QString(38, QLatin1Char(' ')));
    e.createBarcodeQRCode(QStringLiteral("https://uji.example.my/v2/wsc/mk/P1"), 0, 77, 5);
    e.addString(QStringLiteral("\r\n"));
    const QImage receipt = ReceiptRenderer::render(e.printableData());
    EXPECT_EQ(decodeSymbols(receipt),
              (QStringList{QStringLiteral("CODE-39:76112"), QStringLiteral("CODE-39:P2016M07000042"),
                           QStringLiteral("QR-Code:https://uji.example.my/v2/wsc/mk/P1")}));
    // The two barcodes share one line: their height plus the QR's, nothing more.
    EXPECT_LT(receipt.height() - 2 * kEdge, ReceiptRenderer::kDefaultBarcodeHeight + 5 * 45);
}

TEST(ReceiptRenderer, TruncatedAndUnknownInputIsSurvived) {
    WSEncoder e;
    e.createBarcodeQRCode(QStringLiteral("HELLO"), 0, 77, 5);
    const QByteArray stream = "OK\r\n" + e.printableData();
    for (int cut = 0; cut < stream.size(); ++cut)
        EXPECT_FALSE(ReceiptRenderer::render(stream.left(cut)).isNull());
    EXPECT_EQ(printedLines(ReceiptRenderer::render(QByteArray::fromHex("1b741d7a") + "X\r\n")), 1);
}
