#include "printing/ReceiptRenderer.h"
#include "printing/WSCommands.h"
#include "printing/WSEncoder.h"

#include <gtest/gtest.h>

namespace {

constexpr int kEdge = ReceiptRenderer::kPaperEdge;
constexpr int kLine = ReceiptRenderer::kCellHeight;

// The leftmost inked column of the print area from `from` on, or -1.
int firstInk(const QImage& receipt, int from = 0) {
    for (int x = kEdge + from; x < receipt.width(); ++x)
        for (int y = 0; y < receipt.height(); ++y)
            if (qGray(receipt.pixel(x, y)) < 128)
                return x - kEdge;
    return -1;
}

} // namespace

TEST(ReceiptRenderer, LinesWrapAtNinetyTwoCharactersAndGrowWithTheCharacterSize) {
    const struct {
        const char* what;
        QByteArray stream;
        int lines;
    } cases[] = {
        {"92 characters fill a line", QByteArray(92, '-') + "\r\n", 1},
        {"the 93rd wraps", QByteArray(93, '-') + "\r\n", 2},
        // A rule and its trailing space: the space starts the next line, as on the notices.
        {"a rule and its space", QByteArray(92, '-') + " TITLE\r\n", 2},
        {"a bare line feed ends a line; an empty line still feeds paper", "A\nB\r\n\r\n", 3},
        {"double height", WSCommands::characterSize(1) + "RM 50.00" + WSCommands::characterSize(0) + "\r\n",
         2},
        {"an unknown command is skipped", QByteArray::fromHex("1b741d7a") + "X\r\n", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QImage receipt = ReceiptRenderer::render(c.stream);
        EXPECT_EQ(receipt.height() - 2 * kEdge, c.lines * kLine);
    }
}

TEST(ReceiptRenderer, AMarginSetMidLineMovesTheRestOfTheLineToIt) {
    const QImage paired = ReceiptRenderer::render("AB" + WSCommands::leftMargin(336) + "C\r\n");
    EXPECT_EQ(paired.height() - 2 * kEdge, kLine);
    // "C" is the only ink from the margin on, in the cell at the margin; alone, the only ink at all.
    const QImage alone = ReceiptRenderer::render(WSCommands::leftMargin(336) + "C\r\n");
    for (const int ink : {firstInk(paired, 336), firstInk(alone)}) {
        EXPECT_GE(ink, 336);
        EXPECT_LT(ink, 336 + ReceiptRenderer::kCellWidth);
    }
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

// That they decode is checked on the printed notices' pictures (tests/tools).
TEST(ReceiptRenderer, BarcodesSideBySideShareALineAndCutInputStillDraws) {
    WSEncoder e;
    e.createBarcode(QStringLiteral("76112"), 69);
    e.addString(QString(14, QLatin1Char(' ')));
    e.createBarcode(QStringLiteral("P2016M07000042"), 69);
    e.addString(QStringLiteral("\r\n"));
    e.addString(QString(38, QLatin1Char(' ')));
    e.createBarcodeQRCode(QStringLiteral("https://uji.example.my/v2/wsc/mk/P1"), 0, 77, 5);
    e.addString(QStringLiteral("\r\n"));
    const QImage receipt = ReceiptRenderer::render(e.printableData());
    // The two barcodes share one line: their height plus the QR's, nothing more.
    EXPECT_LT(receipt.height() - 2 * kEdge, ReceiptRenderer::kDefaultBarcodeHeight + 5 * 45);

    // Input cut anywhere, even inside a symbol, still draws.
    const QByteArray stream = "OK\r\n" + e.printableData();
    for (int cut = 0; cut < stream.size(); ++cut)
        EXPECT_FALSE(ReceiptRenderer::render(stream.left(cut)).isNull());
}

// Under the bars, as the notices ask for it.
TEST(ReceiptRenderer, HumanReadableTextSitsUnderTheBars) {
    const auto barcode = [](int position) {
        WSEncoder e;
        e.setHRIPosition(position);
        e.createBarcode(QStringLiteral("76112"), 69);
        e.addString(QStringLiteral("\r\n"));
        return ReceiptRenderer::render(e.printableData());
    };
    const QImage bare = barcode(WSEncoder::kHriNone);
    const int barsWidth = [&] {
        int last = 0;
        for (int x = kEdge; x < bare.width(); ++x)
            if (qGray(bare.pixel(x, kEdge + 1)) < 128)
                last = x - kEdge;
        return last + 1;
    }();
    const int bars = ReceiptRenderer::kDefaultBarcodeHeight;
    ASSERT_EQ(bare.height() - 2 * kEdge, bars);
    const QImage digits = ReceiptRenderer::render("76112\r\n");
    const int textX = (barsWidth - 5 * ReceiptRenderer::kCellWidth) / 2;
    // The digits drawn exactly as printed text, centred under (or over) the bars.
    const auto digitsAt = [&](const QImage& receipt, int top) {
        for (int y = 0; y < kLine; ++y)
            for (int x = 0; x < 5 * ReceiptRenderer::kCellWidth; ++x)
                if (receipt.pixel(kEdge + textX + x, kEdge + top + y) != digits.pixel(kEdge + x, kEdge + y))
                    return false;
        return true;
    };
    const QImage below = barcode(WSEncoder::kHriBelow);
    EXPECT_EQ(below.height() - 2 * kEdge, bars + kLine);
    EXPECT_TRUE(digitsAt(below, bars));
}
