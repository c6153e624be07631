#include "printing/NoticeLayout.h"

#include "core/ControlCharacters.h"
#include "printing/WSCommands.h"
#include "printing/WSEncoder.h"

#include <QMutex>
#include <QUrl>

namespace {

const QString kRule = QString(92, QLatin1Char('-')) + QLatin1Char(' ');

QString spaces(int n) {
    return QString(n, QLatin1Char(' '));
}

QString lineEnds(int n) {
    return QStringLiteral("\r\n").repeated(n);
}

// A compound with no position prints the "%f" zero the council has always read as none, never a bare
// comma.
QString coordinate(const QString& value) {
    return value.trimmed().isEmpty() ? QStringLiteral("0.000000") : value;
}

// A run of the notice's text, written as one string.
QString joined(std::initializer_list<QStringView> parts) {
    QString out;
    for (QStringView part : parts)
        out += part;
    return out;
}

// Text between two rules, as the title and each heading print.
QString ruled(QStringView text) {
    return joined({kRule, text, kRule, u"\r\n"});
}

// The labelled rows of a block stand their colons in one column and their values a gap after it. A row is
// the label, the colon, the value and what ends it: most rows a space and a line end, the left one of a
// pair the spaces up to the right one, a heading over a value on its own line just the line end.
struct Column {
    int colon;
    int gap = 2;
    QString operator()(QStringView label, QStringView value = {}, QStringView end = u" \r\n") const {
        return joined({label.toString().leftJustified(colon), u":", spaces(gap), value, end});
    }
};

// Every key of a record is present; a missing one prints as empty text like an unfilled one. Record text
// carries no control character to the printer: the line ends and commands are the layout's own.
struct Fields {
    const RecordMap& r;
    QString operator[](const QString& key) const { return withoutControlCharacters(r.value(key)); }
    QString operator[](const char* key) const { return (*this)[QLatin1String(key)]; }

    // The offender's or the recipient's postal address, on one line.
    QString address(const char* who) const {
        const auto key = [who](const char* part) { return QString::fromLatin1(part) + QLatin1String(who); };
        return QStringLiteral("%1, %2, %3 %4, %5 \r\n\r\n")
            .arg((*this)[key("alamat1")], (*this)[key("alamat2")], (*this)[key("poskod")],
                 (*this)[key("alamat3")], (*this)[key("negeri")]);
    }
    QString place() const {
        return QStringLiteral("%1,%2,%3 \r\n\r\n")
            .arg((*this)["lokasiTempatKejadian"], (*this)["lokasiKawasan"], (*this)["lokasiJalan"]);
    }
};

const QString kOffenceHeading =
    ruled(u" DENGAN INI ADALAH DIBERITAHU TUAN/PUAN TELAH MELAKUKAN KESALAHAN DI BAWAH :-\r\n");
// Where the officer's rows stand their colons, on both notices.
constexpr Column kOfficer{31};

QByteArray encoded(const QString& text) {
    WSEncoder e;
    e.addString(text);
    return e.printableData();
}

QList<QByteArray> headerBlocks(const QImage& header, int width, Log* log) {
    // The header is the same picture notice after notice (the printer keeps its decoded image): its
    // raster is made once per picture and width.
    struct Made {
        qint64 key = 0;
        int width = 0;
        QList<QByteArray> blocks;
    };
    static QMutex lock;
    static Made made;
    QMutexLocker locker(&lock);
    if (!header.isNull() && made.key == header.cacheKey() && made.width == width)
        return made.blocks;
    WSEncoder image(log);
    image.createPrintableDataFromImage(header, 0, 0, width, NoticeLayout::kHeaderHeight);
    if (image.printableData().isEmpty())
        return {};
    made = {
        header.cacheKey(),
        width,
        {WSCommands::pageMode(), image.printableData(), WSCommands::printPage(), WSCommands::standardMode()}};
    return made.blocks;
}

// The title lines shared by both notices.
void addTitle(WSEncoder& e, const Fields& f) {
    e.addString(ruled(u"                  NOTIS SERTA TAWARAN MENGKOMPAUN SUATU KESALAHAN \r\n"
                      u"                          MAJLIS PERBANDARAN TELUKMERBAU  \n") +
                QStringLiteral("KOD HASIL                           NO KOMPAUN \r\n"));
    // The citizen reads both codes in digits under their bars.
    e.setHRIPosition(WSEncoder::kHriBelow);
    e.createBarcode(f["kodHasil"], WSEncoder::kBarcodeCode39);
    e.addString(spaces(14));
    e.createBarcode(f["kompaunRunningNumber"], WSEncoder::kBarcodeCode39);
    e.addString(lineEnds(2));
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
    const auto text = [&blocks](std::initializer_list<QStringView> rows) {
        blocks.append(encoded(joined(rows)));
    };
    // A pair of fields on one line: two writes, the right one from a left margin, the margin reset after.
    const auto pair = [&](const QString& left, int margin, const QString& right) {
        text({left});
        blocks.append(WSCommands::leftMargin(margin));
        text({right});
        blocks.append(WSCommands::leftMargin(0));
    };

    WSEncoder title;
    addTitle(title, f);
    blocks.append(title.printableData());
    pair(Column{13}(u"TARIKH", f["kompaunTarikh"], {}), 336,
         Column{11}(u"MASA", f["kompaunMasa"], u"\r\n\r\n"));
    const Column offender{34};
    text({
        offender(u"KEPADA/NAMA PESALAH", f["namaPesalah"]),
        offender(u"NO KAD PENGENALAN", f["noKadPengenalanPesalah"], u"\r\n\r\n"),
        offender(u"ALAMAT TETAP SURAT MENYURAT", {}, u"\r\n"),
        f.address("Pesalah"),
        offender(u"NO DAFTAR PERNIAGAAN/LESEN ORVA",
                 QStringLiteral("%1 / %2").arg(f["noDaftarSyarikat"], f["lokasiLesenPerniagaan"])),
    });
    const Column left{13};
    const Column right{16};
    pair(left(u"NO KENDERAAN", f["kenderaanNoKenderaan"], {}), 436,
         right(u"NO CUKAI JALAN", f["kenderaanNoCukaiJalan"], u"\r\n"));
    pair(left(u"JENIS BADAN", f["kenderaanJenisKenderaan"], {}), 436,
         right(u"PEMBUAT/MODEL", f["kenderaanJenisModel"], u"\r\n\r\n"));
    const Column offence{22, 1};
    text({
        kOffenceHeading,
        offence(u"SEKSYEN/UUK", f["kesalahan"], u" \r\n\r\n"),
        offence(u"BUTIR-BUTIR KESALAHAN", f["kompaunButiranKesalahan"], u" \r\n\r\n"),
        offence(u"TEMPAT", {}, u"\r\n"),
        f.place(),
        offence(u"KOORDINAT LOKASI",
                QStringLiteral("%1, %2").arg(coordinate(f["lat"]), coordinate(f["long"])), u"\r\n"),
        offence(u"TARIKH KESALAHAN", f["kompaunTarikh"], joined({spaces(26), u"JUMLAH KOMPAUN\r\n"})),
    });
    blocks.append(WSCommands::characterSize(1));
    text({spaces(30), u"RM ", f["kompaunKadar"]});
    blocks.append(WSCommands::characterSize(0));

    WSEncoder e;
    e.addString(joined({
        lineEnds(2),
        ruled(joined({u"KESALAHAN INI BOLEH DI SELESAIKAN DI LUAR MAHKAMAH DENGAN MEMBAYAR KOMPAUN SEBELUM  "
                      u"TARIKH  ",
                      f["kompaunTamatTawaran"],
                      u".BAYARAN HENDAKLAH DIBUAT DI MAJLIS PERBANDARAN TELUKMERBAU \r\n"})),
        kOfficer(u"NAMA PENGUATKUASA", f["namaPenguatKuasa"]),
        kOfficer(u"NO PEKERJA", f["penguatKuasaID"]),
        kOfficer(u"SAKSI", f["lokasiNamaSaksi"]),
        kOfficer(u"IC SAKSI", f["lokasiICSaksi"]),
        kOfficer(u"CARA PENYERAHAN", f["kompaunCaraPenyerahan"], u" \r\n\r\n"),
        kOfficer(u"TARIKH PENYERAHAN", f["kompaunTarikh"]),
        kOfficer(u"KEPADA/NAMA PENERIMA", f["namaPenerima"]),
        kOfficer(u"NO KAD PENGENALAN", f["noKadPengenalanPenerima"]),
        kOfficer(u"ALAMAT TETAP/SURAT MENYURAT", {}, u"\r\n"),
        f.address("Penerima"),
        lineEnds(3),
        Column{33}(u"TANDATANGAN PENERIMA", QString(41, QLatin1Char('-')), u"\r\n"),
        spaces(32),
        u"\r\n",
        spaces(38),
    }));
    e.createBarcodeQRCode(lookupAddress(baseUrl, f["kompaunRunningNumber"]), 0, 77, 5);
    e.addString(spaces(18) + lineEnds(4));
    blocks.append(e.printableData());
    return blocks;
}

QList<QByteArray> NoticeLayout::trafficNotice(const RecordMap& record, const QImage& header, Log* log) {
    QList<QByteArray> blocks = headerBlocks(header, kHeaderWidth, log);
    if (blocks.isEmpty())
        return {};
    const Fields f{record};
    const Column left{16};
    const Column right{12};
    WSEncoder e;
    addTitle(e, f);
    e.addString(joined({
        left(u"TARIKH", f["kompaunTarikh"], spaces(11)),
        right(u"WAKTU", f["kompaunMasa"], u"\r\n"),
        left(u"NO KENDERAAN", f["kenderaanNoKenderaan"], spaces(11)),
        right(u"WARNA", f["kenderaanJenisWarna"], u"\r\n"),
        left(u"NO CUKAI", f["kenderaanNoCukaiJalan"], spaces(7)),
        right(u"NO PETAK", f["lokasiNoPetak"], u"\r\n"),
        left(u"MODEL KENDERAAN", f["kenderaanJenisKenderaan"], spaces(6) + lineEnds(2)),
        Column{31, 1}(u"TEMPAT KESALAHAN", {}, u"\r\n"),
        f.place(),
        lineEnds(2),
        kOffenceHeading,
        u"\r\n",
        Column{24, 1}(u"KOD KESALAHAN", f["kesalahan"], u" \r\n\r\n"),
        Column{18}(u"BUTIRAN KESALAHAN", {}, u"\r\n"),
        f["kompaunButiranKesalahan"],
        u" \r\n\r\n",
        spaces(58),
        u"BAYARAN(DIKENAKAN)\r\n",
        spaces(62),
        u"RM ",
        f["kompaunKadar"],
        spaces(14),
        u"\r\n\r\n",
        spaces(58),
    }));
    // The title's human-readable setting still holds: the amount's digits print under its bars too.
    e.createBarcode(f["kompaunKadar"], WSEncoder::kBarcodeCode39);
    e.addString(joined({
        u"\r\n",
        ruled(spaces(90) + QStringLiteral("\r\n")),
        lineEnds(3),
        kOfficer(u"DIKELUARKAN OLEH", f["namaPenguatKuasa"]),
        kOfficer(u"NO PEKERJA", f["penguatKuasaID"]),
        kOfficer(u"CARA PENYERAHAN", f["kompaunCaraPenyerahan"], u" \r\n\r\n"),
        lineEnds(3),
    }));
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
    text.addString(lineEnds(3));
    blocks.append(text.printableData());
    WSEncoder codes;
    codes.enableHRI(true);
    codes.setBarcodeHeight(100);
    codes.addString(QStringLiteral("QR-Code Barcode\r\n"));
    codes.createBarcodeQRCode(sampleAddress, 0, 77, 5);
    codes.addString(lineEnds(3));
    codes.addString(QStringLiteral("BAR CODE 39 \r\n"));
    codes.createBarcode(QStringLiteral("112339383723"), WSEncoder::kBarcodeCode39);
    codes.addString(lineEnds(5));
    blocks.append(codes.printableData());
    return blocks;
}
