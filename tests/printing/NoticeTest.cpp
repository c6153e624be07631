#include "PrintingTestData.h"
#include "ZbarDecode.h"
#include "printing/NoticeLayout.h"
#include "printing/NoticePrinter.h"
#include "printing/ReceiptRenderer.h"
#include "printing/WSSessionController.h"

#include <gtest/gtest.h>

namespace {

QByteArray hex(const char* text) {
    return QByteArray::fromHex(text);
}
QByteArray joined(const QList<QByteArray>& blocks) {
    QByteArray all;
    for (const QByteArray& b : blocks)
        all += b;
    return all;
}
QString reference(const char* name) {
    return testsupport::sourcePath(QStringLiteral("tests/printing/reference/")) + QLatin1String(name);
}
// Every key present and empty, as a fresh record holds them.
RecordMap emptyRecord(const Record& like) {
    RecordMap r;
    for (auto it = like->cbegin(); it != like->cend(); ++it)
        r.insert(it.key(), QString());
    return r;
}
const QByteArray kTitle =
    QByteArray(92, '-') + " " + "                  NOTIS SERTA TAWARAN MENGKOMPAUN SUATU KESALAHAN \r\n" +
    "                          MAJLIS PERBANDARAN TELUKMERBAU  \n" + QByteArray(92, '-') + " \r\n" +
    "KOD HASIL                           NO KOMPAUN \r\n";

} // namespace

TEST(GeneralNotice, MatchesTheReferenceBytes) {
    const auto blocks = NoticeLayout::generalNotice(*recordFromJson(QStringLiteral("general.json")),
                                                    shippedHeader(), kBaseUrl);
    const QString diff = testsupport::compareWithReference(joined(blocks), reference("general-notice.bin"));
    EXPECT_TRUE(diff.isEmpty()) << diff.toStdString();
}

TEST(TrafficNotice, MatchesTheReferenceBytes) {
    const auto blocks =
        NoticeLayout::trafficNotice(*recordFromJson(QStringLiteral("traffic.json")), shippedHeader());
    const QString diff = testsupport::compareWithReference(joined(blocks), reference("traffic-notice.bin"));
    EXPECT_TRUE(diff.isEmpty()) << diff.toStdString();
}

TEST(GeneralNotice, BlockStructure) {
    const Record record = recordFromJson(QStringLiteral("general.json"));
    const auto blocks = NoticeLayout::generalNotice(*record, shippedHeader(), kBaseUrl);
    ASSERT_EQ(blocks.size(), 23);
    EXPECT_EQ(blocks[0], hex("1b4c"));
    EXPECT_EQ(blocks[1].left(10), hex("1b57 0000 0000 2003 c800"));
    EXPECT_EQ(blocks[2], hex("1b0c"));
    EXPECT_EQ(blocks[3], hex("1b53"));
    EXPECT_TRUE(blocks[4].startsWith(kTitle));
    EXPECT_TRUE(blocks[4].endsWith(hex("1d6b450e") + "P2016M07000042\r\n\r\n"));

    // The margins come in the order 336, 0, 436, 0, 436, 0; the sizes 01 then 00.
    QList<QByteArray> margins, sizes;
    for (const QByteArray& b : blocks) {
        if (b.startsWith(hex("1d4c")))
            margins << b;
        if (b.startsWith(hex("1d21")))
            sizes << b;
    }
    EXPECT_EQ(margins, (QList<QByteArray>{hex("1d4c5001"), hex("1d4c0000"), hex("1d4cb401"), hex("1d4c0000"),
                                          hex("1d4cb401"), hex("1d4c0000")}));
    EXPECT_EQ(sizes, (QList<QByteArray>{hex("1d2101"), hex("1d2100")}));

    // The paired fields: the first of each pair ends without a line end.
    EXPECT_EQ(blocks[5], QByteArray("TARIKH       :  14/03/2016"));
    EXPECT_EQ(blocks[7], QByteArray("MASA       :  10:45\r\n\r\n"));
    EXPECT_EQ(blocks[10], QByteArray("NO KENDERAAN :  AKE 4521"));
    EXPECT_EQ(blocks[12], QByteArray("NO CUKAI JALAN  :  RT88123401\r\n"));
    EXPECT_EQ(blocks[20], QByteArray("                              RM 250.00"));

    const QByteArray qr = "https://enquiry.mptelukmerbau.gov.my/v2/wsc/mk/P2016M07000042";
    EXPECT_TRUE(blocks[22].contains(QByteArray(38, ' ') + hex("1d5a02 1b5a004d05") + char(qr.size()) + '\0' +
                                    qr + QByteArray(18, ' ') + "\r\n\r\n\r\n\r\n"));
}

TEST(GeneralNotice, EveryKeyEmptyStillPrintsEveryLine) {
    const RecordMap empty = emptyRecord(recordFromJson(QStringLiteral("general.json")));
    const auto blocks = NoticeLayout::generalNotice(empty, shippedHeader(), kBaseUrl + QStringLiteral("/"));
    ASSERT_EQ(blocks.size(), 23);
    EXPECT_EQ(blocks[4], kTitle + hex("1d6b4500") + QByteArray(14, ' ') + hex("1d6b4500") + "\r\n\r\n");
    EXPECT_EQ(blocks[20], QByteArray(30, ' ') + "RM ");
    EXPECT_TRUE(blocks[22].contains("NO DAFTAR") == false);
    EXPECT_TRUE(blocks[9].contains("NO DAFTAR PERNIAGAAN/LESEN ORVA   :   /  \r\n"));
    EXPECT_TRUE(blocks[9].contains("ALAMAT TETAP SURAT MENYURAT       :  \r\n, ,  ,  \r\n\r\n"));
    const QByteArray address = "https://enquiry.mptelukmerbau.gov.my/v2/wsc/mk/";
    EXPECT_TRUE(blocks[22].contains(hex("1b5a004d05") + char(address.size()) + '\0' + address + "      "));
}

TEST(TrafficNotice, FiveWritesAndTheAmountBarcode) {
    const auto blocks =
        NoticeLayout::trafficNotice(*recordFromJson(QStringLiteral("traffic.json")), shippedHeader());
    ASSERT_EQ(blocks.size(), 5);
    EXPECT_EQ(blocks[0], hex("1b4c"));
    EXPECT_EQ(blocks[2], hex("1b0c"));
    EXPECT_EQ(blocks[3], hex("1b53"));
    const QByteArray& notice = blocks[4];
    EXPECT_TRUE(notice.startsWith(kTitle));
    EXPECT_TRUE(notice.contains(QByteArray(62, ' ') + "RM 50.00" + QByteArray(14, ' ') + "\r\n\r\n"));
    EXPECT_TRUE(notice.contains(QByteArray(58, ' ') + hex("1d6b4505") + "50.00\r\n"));
    EXPECT_TRUE(notice.contains("TARIKH          :  14/03/2016           WAKTU       :  11:20\r\n"));
    EXPECT_TRUE(notice.contains("NO CUKAI        :  RT77100299       NO PETAK    :  B-117\r\n"));
    // No margin or size command on this notice.
    EXPECT_FALSE(notice.contains(hex("1d4c")));
    EXPECT_FALSE(notice.contains(hex("1d21")));

    const RecordMap empty = emptyRecord(recordFromJson(QStringLiteral("traffic.json")));
    const QByteArray blank = NoticeLayout::trafficNotice(empty, shippedHeader()).value(4);
    EXPECT_EQ(blank.count(hex("1d6b4500")), 3);

    // An amount the printer cannot carry keeps its header and sends no data.
    RecordMap odd = empty;
    odd.insert(QStringLiteral("kompaunKadar"), QStringLiteral("5€"));
    EXPECT_TRUE(NoticeLayout::trafficNotice(odd, shippedHeader())
                    .value(4)
                    .contains(QByteArray(58, ' ') + hex("1d6b4502") + "\r\n"));
}

TEST(Notices, NothingIsPrintedWithoutAHeader) {
    const Record record = recordFromJson(QStringLiteral("general.json"));
    EXPECT_TRUE(NoticeLayout::generalNotice(*record, QImage(), kBaseUrl).isEmpty());
    EXPECT_TRUE(NoticeLayout::trafficNotice(*record, QImage()).isEmpty());

    WSSessionController session;
    NoticePrinter printer(QStringLiteral("/nonexistent/printheader.bmp"), kBaseUrl);
    printer.cetakSamanBaruNewSDK(&session, record);
    printer.cetakSamanTrafficNewSdk(&session, record);
    EXPECT_EQ(session.queuedBytes(), 0);
}

TEST(Notices, TheLookUpAddressFollowsTheConfiguredBase) {
    EXPECT_EQ(NoticeLayout::lookupAddress(QStringLiteral("https://uji.example.my/"),
                                          QStringLiteral("P2016M07000042")),
              QStringLiteral("https://uji.example.my/v2/wsc/mk/P2016M07000042"));
    EXPECT_EQ(NoticeLayout::lookupAddress(QStringLiteral("https://uji.example.my"), QStringLiteral("P 1/2")),
              QStringLiteral("https://uji.example.my/v2/wsc/mk/P%201%2F2"));
    EXPECT_EQ(NoticePrinter(QString(), QString()).baseUrl(), QStringLiteral(KOMPAUN_TEST_BASE_URL));
}

TEST(Notices, PrintedBarcodesDecodeToTheRecord) {
    NoticePrinter printer(headerPath(), kBaseUrl);
    const QImage general =
        ReceiptRenderer::render(printer.noticeBytes(recordFromJson(QStringLiteral("general.json")), false));
    EXPECT_EQ(decodeSymbols(general),
              (QStringList{
                  QStringLiteral("CODE-39:76112"), QStringLiteral("CODE-39:P2016M07000042"),
                  QStringLiteral("QR-Code:https://enquiry.mptelukmerbau.gov.my/v2/wsc/mk/P2016M07000042")}));
    const QImage traffic =
        ReceiptRenderer::render(printer.noticeBytes(recordFromJson(QStringLiteral("traffic.json")), true));
    EXPECT_EQ(decodeSymbols(traffic),
              (QStringList{QStringLiteral("CODE-39:50.00"), QStringLiteral("CODE-39:76205"),
                           QStringLiteral("CODE-39:P2016M07000043")}));
}
