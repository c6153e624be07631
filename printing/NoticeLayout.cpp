#include "printing/NoticeLayout.h"

#include "printing/WSCommands.h"
#include "printing/WSEncoder.h"

#include <QUrl>

namespace {

const QString kRule = QString(92, QLatin1Char('-')) + QLatin1Char(' ');
const QString kRuleEnd = kRule + QStringLiteral("\r\n");

QString spaces(int n) {
    return QString(n, QLatin1Char(' '));
}

// Every key of a record is present; a missing one prints as empty text like an unfilled one.
struct Fields {
    const RecordMap& r;
    QString operator[](const char* key) const { return r.value(QLatin1String(key)); }
};

QList<QByteArray> headerBlocks(const QImage& header, int width, Log* log) {
    WSEncoder image(log);
    image.createPrintableDataFromImage(header, 0, 0, width, NoticeLayout::kHeaderHeight);
    if (image.printableData().isEmpty())
        return {};
    return {WSCommands::pageMode(), image.printableData(), WSCommands::printPage(),
            WSCommands::standardMode()};
}

// The title lines shared by both notices.
void addTitle(WSEncoder& e, const Fields& f) {
    e.addString(kRule);
    e.addString(QStringLiteral("                  NOTIS SERTA TAWARAN MENGKOMPAUN SUATU KESALAHAN \r\n"));
    e.addString(QStringLiteral("                          MAJLIS PERBANDARAN TELUKMERBAU  \n"));
    e.addString(kRuleEnd);
    e.addString(QStringLiteral("KOD HASIL                           NO KOMPAUN \r\n"));
    // The citizen reads both codes in digits under their bars.
    e.setHRIPosition(WSEncoder::kHriBelow);
    e.createBarcode(f["kodHasil"], WSEncoder::kBarcodeCode39);
    e.addString(spaces(14));
    e.createBarcode(f["kompaunRunningNumber"], WSEncoder::kBarcodeCode39);
    e.addString(QStringLiteral("\r\n\r\n"));
}

} // namespace

QString NoticeLayout::lookupAddress(const QString& baseUrl, const QString& compoundNumber) {
    QString base = baseUrl;
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    return base + QStringLiteral("/v2/wsc/mk/") +
           QString::fromLatin1(QUrl::toPercentEncoding(compoundNumber));
}

QList<QByteArray> NoticeLayout::generalNotice(const RecordMap& record, const QImage& header,
                                              const QString& baseUrl, Log* log) {
    QList<QByteArray> blocks = headerBlocks(header, kHeaderWidth, log);
    if (blocks.isEmpty())
        return {};
    const Fields f{record};
    auto block = [&blocks](auto&& fill) {
        WSEncoder e;
        fill(e);
        blocks.append(e.printableData());
    };

    block([&](WSEncoder& e) { addTitle(e, f); });
    block([&](WSEncoder& e) {
        e.addString(QStringLiteral("TARIKH"));
        e.addString(QStringLiteral("       :  "));
        e.addString(f["kompaunTarikh"]);
    });
    blocks.append(WSCommands::leftMargin(336));
    block([&](WSEncoder& e) {
        e.addString(QStringLiteral("MASA"));
        e.addString(QStringLiteral("       :  "));
        e.addString(f["kompaunMasa"]);
        e.addString(QStringLiteral("\r\n\r\n"));
    });
    blocks.append(WSCommands::leftMargin(0));
    block([&](WSEncoder& e) {
        e.addString(QStringLiteral("KEPADA/NAMA PESALAH               :  "));
        e.addString(f["namaPesalah"] + QStringLiteral(" \r\n"));
        e.addString(QStringLiteral("NO KAD PENGENALAN                 :  "));
        e.addString(f["noKadPengenalanPesalah"]);
        e.addString(QStringLiteral("\r\n\r\n"));
        e.addString(QStringLiteral("ALAMAT TETAP SURAT MENYURAT       :  \r\n"));
        e.addString(QStringLiteral("%1, %2, %3 %4, %5 \r\n\r\n")
                        .arg(f["alamat1Pesalah"], f["alamat2Pesalah"], f["poskodPesalah"],
                             f["alamat3Pesalah"], f["negeriPesalah"]));
        e.addString(QStringLiteral("NO DAFTAR PERNIAGAAN/LESEN ORVA   :  "));
        e.addString(QStringLiteral("%1 / %2 \r\n").arg(f["noDaftarSyarikat"], f["lokasiLesenPerniagaan"]));
    });
    block([&](WSEncoder& e) {
        e.addString(QStringLiteral("NO KENDERAAN"));
        e.addString(QStringLiteral(" :  "));
        e.addString(f["kenderaanNoKenderaan"]);
    });
    blocks.append(WSCommands::leftMargin(436));
    block([&](WSEncoder& e) {
        e.addString(QStringLiteral("NO CUKAI JALAN"));
        e.addString(QStringLiteral("  :  "));
        e.addString(f["kenderaanNoCukaiJalan"]);
        e.addString(QStringLiteral("\r\n"));
    });
    blocks.append(WSCommands::leftMargin(0));
    block([&](WSEncoder& e) {
        e.addString(QStringLiteral("JENIS BADAN"));
        e.addString(QStringLiteral("  :  "));
        e.addString(f["kenderaanJenisKenderaan"]);
    });
    blocks.append(WSCommands::leftMargin(436));
    block([&](WSEncoder& e) {
        e.addString(QStringLiteral("PEMBUAT/MODEL"));
        e.addString(QStringLiteral("   :  "));
        e.addString(f["kenderaanJenisModel"]);
        e.addString(QStringLiteral("\r\n\r\n"));
    });
    blocks.append(WSCommands::leftMargin(0));
    block([&](WSEncoder& e) {
        e.addString(kRule);
        e.addString(QStringLiteral(
            " DENGAN INI ADALAH DIBERITAHU TUAN/PUAN TELAH MELAKUKAN KESALAHAN DI BAWAH :-\r\n"));
        e.addString(kRuleEnd);
        e.addString(QStringLiteral("SEKSYEN/UUK           : "));
        e.addString(f["kesalahan"] + QStringLiteral(" \r\n\r\n"));
        e.addString(QStringLiteral("BUTIR-BUTIR KESALAHAN : "));
        e.addString(f["kompaunButiranKesalahan"] + QStringLiteral(" \r\n\r\n"));
        e.addString(QStringLiteral("TEMPAT                : \r\n"));
        e.addString(QStringLiteral("%1,%2,%3 \r\n\r\n")
                        .arg(f["lokasiTempatKejadian"], f["lokasiKawasan"], f["lokasiJalan"]));
        e.addString(QStringLiteral("KOORDINAT LOKASI      : "));
        e.addString(QStringLiteral("%1, %2\r\n").arg(f["lat"], f["long"]));
        e.addString(QStringLiteral("TARIKH KESALAHAN      : "));
        e.addString(f["kompaunTarikh"]);
        e.addString(spaces(26));
        e.addString(QStringLiteral("JUMLAH KOMPAUN"));
        e.addString(QStringLiteral("\r\n"));
    });
    blocks.append(WSCommands::characterSize(1));
    block([&](WSEncoder& e) {
        e.addString(spaces(30));
        e.addString(QStringLiteral("RM ") + f["kompaunKadar"]);
    });
    blocks.append(WSCommands::characterSize(0));
    block([&](WSEncoder& e) {
        e.addString(QStringLiteral("\r\n"));
        e.addString(QStringLiteral("\r\n"));
        e.addString(kRule);
        e.addString(QStringLiteral(
            "KESALAHAN INI BOLEH DI SELESAIKAN DI LUAR MAHKAMAH DENGAN MEMBAYAR KOMPAUN SEBELUM  TARIKH  "));
        e.addString(f["kompaunTamatTawaran"] +
                    QStringLiteral(".BAYARAN HENDAKLAH DIBUAT DI MAJLIS PERBANDARAN TELUKMERBAU \r\n"));
        e.addString(kRuleEnd);
        e.addString(QStringLiteral("NAMA PENGUATKUASA              :  "));
        e.addString(f["namaPenguatKuasa"] + QStringLiteral(" \r\n"));
        e.addString(QStringLiteral("NO PEKERJA                     :  "));
        e.addString(f["penguatKuasaID"] + QStringLiteral(" \r\n"));
        e.addString(QStringLiteral("SAKSI                          :  "));
        e.addString(f["lokasiNamaSaksi"] + QStringLiteral(" \r\n"));
        e.addString(QStringLiteral("IC SAKSI                       :  "));
        e.addString(f["lokasiICSaksi"] + QStringLiteral(" \r\n"));
        e.addString(QStringLiteral("CARA PENYERAHAN                :  "));
        e.addString(f["kompaunCaraPenyerahan"] + QStringLiteral(" \r\n\r\n"));
        e.addString(QStringLiteral("TARIKH PENYERAHAN              :  "));
        e.addString(f["kompaunTarikh"] + QStringLiteral(" \r\n"));
        e.addString(QStringLiteral("KEPADA/NAMA PENERIMA           :  "));
        e.addString(f["namaPenerima"] + QStringLiteral(" \r\n"));
        e.addString(QStringLiteral("NO KAD PENGENALAN              :  "));
        e.addString(f["noKadPengenalanPenerima"] + QStringLiteral(" \r\n"));
        e.addString(QStringLiteral("ALAMAT TETAP/SURAT MENYURAT    :  \r\n"));
        e.addString(QStringLiteral("%1, %2, %3 %4, %5 \r\n\r\n")
                        .arg(f["alamat1Penerima"], f["alamat2Penerima"], f["poskodPenerima"],
                             f["alamat3Penerima"], f["negeriPenerima"]));
        for (int i = 0; i < 3; ++i)
            e.addString(QStringLiteral("\r\n"));
        e.addString(QStringLiteral("TANDATANGAN PENERIMA             :  "));
        e.addString(QString(41, QLatin1Char('-')) + QStringLiteral("\r\n"));
        e.addString(spaces(32) + QStringLiteral("\r\n"));
        e.addString(spaces(38));
        e.createBarcodeQRCode(lookupAddress(baseUrl, f["kompaunRunningNumber"]), 0, 77, 5);
        e.addString(spaces(18) + QStringLiteral("\r\n"));
        for (int i = 0; i < 3; ++i)
            e.addString(QStringLiteral("\r\n"));
    });
    return blocks;
}

QList<QByteArray> NoticeLayout::trafficNotice(const RecordMap& record, const QImage& header, Log* log) {
    QList<QByteArray> blocks = headerBlocks(header, kHeaderWidth, log);
    if (blocks.isEmpty())
        return {};
    const Fields f{record};
    WSEncoder e;
    addTitle(e, f);
    e.addString(QStringLiteral("TARIKH"));
    e.addString(QStringLiteral("          :  "));
    e.addString(f["kompaunTarikh"]);
    e.addString(spaces(11));
    e.addString(QStringLiteral("WAKTU"));
    e.addString(QStringLiteral("       :  "));
    e.addString(f["kompaunMasa"]);
    e.addString(QStringLiteral("\r\n"));

    e.addString(QStringLiteral("NO KENDERAAN"));
    e.addString(QStringLiteral("    :  "));
    e.addString(f["kenderaanNoKenderaan"]);
    e.addString(spaces(11));
    e.addString(QStringLiteral("WARNA"));
    e.addString(QStringLiteral("       :  "));
    e.addString(f["kenderaanJenisWarna"]);
    e.addString(QStringLiteral("\r\n"));

    e.addString(QStringLiteral("NO CUKAI"));
    e.addString(QStringLiteral("        :  "));
    e.addString(f["kenderaanNoCukaiJalan"]);
    e.addString(spaces(7));
    e.addString(QStringLiteral("NO PETAK"));
    e.addString(QStringLiteral("    :  "));
    e.addString(f["lokasiNoPetak"]);
    e.addString(QStringLiteral("\r\n"));

    e.addString(QStringLiteral("MODEL KENDERAAN"));
    e.addString(QStringLiteral(" :  "));
    e.addString(f["kenderaanJenisKenderaan"]);
    e.addString(spaces(6));
    e.addString(QStringLiteral("\r\n\r\n"));

    e.addString(QStringLiteral("TEMPAT KESALAHAN               : \r\n"));
    e.addString(QStringLiteral("%1,%2,%3 \r\n\r\n")
                    .arg(f["lokasiTempatKejadian"], f["lokasiKawasan"], f["lokasiJalan"]));
    e.addString(QStringLiteral("\r\n\r\n"));

    e.addString(kRule);
    e.addString(
        QStringLiteral(" DENGAN INI ADALAH DIBERITAHU TUAN/PUAN TELAH MELAKUKAN KESALAHAN DI BAWAH :-\r\n"));
    e.addString(kRuleEnd);
    e.addString(QStringLiteral("\r\n"));

    e.addString(QStringLiteral("KOD KESALAHAN           : "));
    e.addString(f["kesalahan"] + QStringLiteral(" \r\n\r\n"));
    e.addString(QStringLiteral("BUTIRAN KESALAHAN :  \r\n"));
    e.addString(f["kompaunButiranKesalahan"] + QStringLiteral(" \r\n\r\n"));

    e.addString(spaces(58));
    e.addString(QStringLiteral("BAYARAN(DIKENAKAN)"));
    e.addString(QStringLiteral("\r\n"));
    e.addString(spaces(62));
    e.addString(QStringLiteral("RM ") + f["kompaunKadar"]);
    e.addString(spaces(14) + QStringLiteral("\r\n\r\n"));
    e.addString(spaces(58));
    // The title's human-readable setting still holds: the amount's digits print under its bars too.
    e.createBarcode(f["kompaunKadar"], WSEncoder::kBarcodeCode39);
    e.addString(QStringLiteral("\r\n"));

    e.addString(kRule);
    e.addString(spaces(90) + QStringLiteral("\r\n"));
    e.addString(kRuleEnd);
    for (int i = 0; i < 3; ++i)
        e.addString(QStringLiteral("\r\n"));

    e.addString(QStringLiteral("DIKELUARKAN OLEH               :  "));
    e.addString(f["namaPenguatKuasa"] + QStringLiteral(" \r\n"));
    e.addString(QStringLiteral("NO PEKERJA                     :  "));
    e.addString(f["penguatKuasaID"] + QStringLiteral(" \r\n"));
    e.addString(QStringLiteral("CARA PENYERAHAN                :  "));
    e.addString(f["kompaunCaraPenyerahan"] + QStringLiteral(" \r\n\r\n"));
    for (int i = 0; i < 3; ++i)
        e.addString(QStringLiteral("\r\n"));
    blocks.append(e.printableData());
    return blocks;
}

QList<QByteArray> NoticeLayout::samplePage(const QImage& header, const QString& sampleAddress, Log* log) {
    // The check page prints whatever converted, header or not.
    WSEncoder image(log);
    image.createPrintableDataFromImage(header, 0, 0, kSampleHeaderWidth, kHeaderHeight);
    QList<QByteArray> blocks{WSCommands::pageMode(), image.printableData(), WSCommands::printPage(),
                             WSCommands::standardMode()};
    WSEncoder text;
    text.addString(QStringLiteral("Testing TEXT 123384774 \r\n"));
    text.addString(QStringLiteral("Testing TEXT 123384774 sdcsdcsdc \r\n"));
    for (int i = 0; i < 3; ++i)
        text.addString(QStringLiteral("\r\n"));
    blocks.append(text.printableData());
    WSEncoder codes;
    codes.enableHRI(true);
    codes.setBarcodeHeight(100);
    codes.addString(QStringLiteral("QR-Code Barcode\r\n"));
    codes.createBarcodeQRCode(sampleAddress, 0, 77, 5);
    for (int i = 0; i < 3; ++i)
        codes.addString(QStringLiteral("\r\n"));
    codes.addString(QStringLiteral("BAR CODE 39 \r\n"));
    codes.createBarcode(QStringLiteral("112339383723"), WSEncoder::kBarcodeCode39);
    for (int i = 0; i < 5; ++i)
        codes.addString(QStringLiteral("\r\n"));
    blocks.append(codes.printableData());
    return blocks;
}
