#include "PrintingTestData.h"
#include "printing/NoticeLayout.h"
#include "printing/NoticePrinter.h"
#include "printing/WSSessionController.h"

#include <gtest/gtest.h>

namespace {

QByteArray hex(const char* text) {
    return QByteArray::fromHex(text);
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

TEST(Notices, MatchTheReferenceBytes) {
    const auto general = NoticeLayout::generalNotice(*recordFromJson(QStringLiteral("general.json")),
                                                     shippedHeader(), kBaseUrl);
    const auto traffic =
        NoticeLayout::trafficNotice(*recordFromJson(QStringLiteral("traffic.json")), shippedHeader());
    for (const auto& [blocks, file] :
         {std::pair{general, "general-notice.bin"}, {traffic, "traffic-notice.bin"}}) {
        const QString diff = testsupport::compareWithReference(blocks.join(), reference(file));
        EXPECT_TRUE(diff.isEmpty()) << diff.toStdString();
        // The page-mode header goes in writes of its own, before the text.
        EXPECT_EQ(blocks.value(0), hex("1b4c"));
        EXPECT_TRUE(blocks.value(1).startsWith(hex("1b57 0000 0000 2003 c800")));
        EXPECT_EQ(blocks.value(2) + blocks.value(3), hex("1b0c 1b53"));
        EXPECT_TRUE(blocks.value(4).startsWith(kTitle + hex("1d4802 1d6b45")));
    }
    // The general notice's paired fields are writes of their own, the first of each pair without a line end.
    ASSERT_EQ(general.size(), 23);
    EXPECT_EQ(general[5], QByteArray("TARIKH       :  14/03/2016"));
    EXPECT_EQ(general[7], QByteArray("MASA       :  10:45\r\n\r\n"));
    EXPECT_EQ(traffic.size(), 5);
}

TEST(GeneralNotice, EveryKeyEmptyStillPrintsEveryLine) {
    const RecordMap empty = emptyRecord(recordFromJson(QStringLiteral("general.json")));
    const auto blocks = NoticeLayout::generalNotice(empty, shippedHeader(), kBaseUrl + QStringLiteral("/"));
    ASSERT_EQ(blocks.size(), 23);
    EXPECT_EQ(blocks[4],
              kTitle + hex("1d4802 1d6b4500") + QByteArray(14, ' ') + hex("1d6b4500") + "\r\n\r\n");
    EXPECT_EQ(blocks[20], QByteArray(30, ' ') + "RM ");
    EXPECT_TRUE(blocks[9].contains("NO DAFTAR PERNIAGAAN/LESEN ORVA   :   /  \r\n"));
    EXPECT_TRUE(blocks[9].contains("ALAMAT TETAP SURAT MENYURAT       :  \r\n, ,  ,  \r\n\r\n"));
    const QByteArray address = "https://enquiry.mptelukmerbau.gov.my/v2/wsc/mk/";
    EXPECT_TRUE(blocks[22].contains(hex("1b5a004d05") + char(address.size()) + '\0' + address + "      "));
    // No position prints the zero pair the council reads as none, not a bare comma.
    const QByteArray all = blocks.join();
    const qsizetype at = all.indexOf("KOORDINAT LOKASI");
    ASSERT_GE(at, 0);
    EXPECT_EQ(all.mid(at, all.indexOf("\r\n", at) - at).simplified(),
              QByteArray("KOORDINAT LOKASI : 0.000000, 0.000000"));
}

TEST(TrafficNotice, EveryKeyEmptyAndAnAmountThePrinterCannotCarry) {
    const RecordMap empty = emptyRecord(recordFromJson(QStringLiteral("traffic.json")));
    const QByteArray blank = NoticeLayout::trafficNotice(empty, shippedHeader()).value(4);
    EXPECT_TRUE(blank.startsWith(kTitle));
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
    EXPECT_EQ(NoticeLayout::lookupAddress(QStringLiteral("https://uji.example.my"), QStringLiteral("P 1/2")),
              QStringLiteral("https://uji.example.my/v2/wsc/mk/P%201%2F2"));
    EXPECT_EQ(NoticePrinter(QString(), QString()).baseUrl(), QStringLiteral(KOMPAUN_TEST_BASE_URL));
}

namespace {

// The bytes below 0x20 of a stream, in order: the layout's commands, line ends and the header's raster.
QByteArray controlBytes(const QList<QByteArray>& blocks) {
    QByteArray out;
    for (char c : blocks.join())
        if (uchar(c) < 0x20)
            out.append(c);
    return out;
}

} // namespace

// Typed or scanned text holding NUL, ESC, GS, tabs and line breaks prints as text: not one byte below 0x20
// comes from the record, so the printer cannot be reset, cut or switched by it. A line break reads as a
// space.
TEST(Notices, RecordTextSendsNoControlByteToThePrinter) {
    const Record clean = recordFromJson(QStringLiteral("general.json"));
    const Record hostile = recordFromJson(QStringLiteral("general.json"));
    const QString injected = QStringLiteral("A\x00\x1b@\x1dV\x01\x1b!\x30\x7f\u0085B\r\nC\tD");
    // The compound number, revenue code and amount are barcodes, their lengths in the stream: the same in
    // both.
    const QStringList barcodes{"kompaunRunningNumber", "kodHasil", "kompaunKadar"};
    for (auto it = hostile->begin(); it != hostile->end(); ++it)
        if (!barcodes.contains(it.key()))
            it.value() = injected;
    for (auto it = clean->begin(); it != clean->end(); ++it)
        if (!barcodes.contains(it.key()))
            it.value() = QStringLiteral("text");
    for (const bool traffic : {false, true}) {
        SCOPED_TRACE(traffic ? "traffic" : "general");
        const auto print = [&](const Record& r) {
            return traffic ? NoticeLayout::trafficNotice(*r, shippedHeader())
                           : NoticeLayout::generalNotice(*r, shippedHeader(), kBaseUrl);
        };
        const auto blocks = print(hostile);
        ASSERT_FALSE(blocks.isEmpty());
        EXPECT_EQ(controlBytes(blocks), controlBytes(print(clean)));
        EXPECT_TRUE(blocks.join().contains("A@V!0 B  C D"))
            << "the printable letters stay, breaks are spaces";
    }
}
