// The hand-over slip: plain lines that fit the 92-column receipt, stored texts unable to turn into printer
// commands.
#include "printing/HandOverSlip.h"

#include <gtest/gtest.h>

namespace {

HandOverSlip::Content shift() {
    HandOverSlip::Content c;
    c.officerName = QStringLiteral("AHMAD FAUZI BIN ISMAIL");
    c.officerCode = QStringLiteral("PK1001");
    c.deviceCode = QStringLiteral("M07");
    c.day = QStringLiteral("04/03/2026");
    c.printedAt = QStringLiteral("04/03/2026 17:05");
    c.issued = 3;
    c.inForce = 2;
    c.types = {{QStringLiteral("LALU LINTAS"), 2, QStringLiteral("150.30"), QStringLiteral("75.15")}};
    c.kadarTotal = QStringLiteral("150.30");
    c.tawaranTotal = QStringLiteral("75.15");
    c.cancelled = 1;
    c.unreadable = {QStringLiteral("P2026M07000044: kompaunKadar \"RM50\"")};
    c.waiting = 3;
    c.oldestWaiting = QStringLiteral("9 jam 29 minit");
    c.photos = 4;
    c.numbers = {QStringLiteral("P2026M07000041"), QStringLiteral("P2026M07000042"),
                 QStringLiteral("P2026M07000043 (DIBATALKAN)")};
    return c;
}

QByteArray joined(const QList<QByteArray>& blocks) {
    QByteArray all;
    for (const QByteArray& b : blocks)
        all += b;
    return all;
}

// The printable lines of the stream, the leading command bytes left out.
QList<QByteArray> lines(const QByteArray& stream) {
    QByteArray text = stream;
    text.remove(0, text.indexOf('-'));
    return text.split('\n');
}

TEST(HandOverSlip, PrintsWhoWhenTotalsAndNumbersInFixedColumns) {
    const QByteArray slip = joined(HandOverSlip::blocks(shift()));
    for (const char* line :
         {"TARIKH                :  04/03/2026\r", "NAMA PENGUATKUASA     :  AHMAD FAUZI BIN ISMAIL\r",
          "NO PEKERJA            :  PK1001\r", "KOD PERANTI           :  M07\r",
          "JENIS KOMPAUN                                  BIL           KADAR (RM)         TAWARAN (RM)\r",
          "LALU LINTAS                                      2               150.30                75.15\r",
          "JUMLAH                                           2               150.30                75.15\r",
          "DIBATALKAN            :  1 (TIDAK DIJUMLAHKAN)\r",
          "AMAUN TIDAK SAH       :  1 (TIDAK DIJUMLAHKAN)\r", "  P2026M07000044: kompaunKadar \"RM50\"\r",
          "BELUM DIMUAT NAIK     :  3 (TERTUA 9 JAM 29 MINIT)\r", "GAMBAR                :  4\r",
          "NO KOMPAUN (3)\r", "P2026M07000041\r", "P2026M07000043 (DIBATALKAN)\r"})
        EXPECT_TRUE(lines(slip).contains(QByteArray(line))) << line;
    EXPECT_LT(slip.indexOf("P2026M07000041"), slip.indexOf("P2026M07000042"));
}

TEST(HandOverSlip, StoredTextsCannotBecomeCommandsOrBreakTheColumns) {
    HandOverSlip::Content c = shift();
    c.officerName = QStringLiteral("AHMAD\x1b@\x1d!\x11 ALI\r\nX");
    c.types[0].type = QString(120, QLatin1Char('J'));
    const QByteArray slip = joined(HandOverSlip::blocks(c));
    // The only control bytes are the slip's own leading commands and its line ends.
    const QByteArray body = slip.mid(slip.indexOf('-'));
    for (char ch : body)
        EXPECT_TRUE(uchar(ch) >= 0x20 || ch == '\r' || ch == '\n') << int(ch);
    EXPECT_TRUE(lines(slip).contains("NAMA PENGUATKUASA     :  AHMAD @ !  ALI  X\r"));
    for (const QByteArray& line : lines(slip))
        EXPECT_LE(line.size(), 93); // 92 columns and the carriage return
}

} // namespace
