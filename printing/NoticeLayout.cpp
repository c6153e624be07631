#include "printing/NoticeLayout.h"

#include "core/ControlCharacters.h"
#include "core/RecordKeys.h"
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
    QString operator[](QLatin1String key) const { return withoutControlCharacters(r.value(key)); }

    // The offender's or the recipient's postal address, on one line.
    struct Address {
        QLatin1String line1, line2, postcode, town, state;
    };
    static constexpr Address offender{Key::alamat1Pesalah, Key::alamat2Pesalah, Key::poskodPesalah,
                                      Key::alamat3Pesalah, Key::negeriPesalah};
    static constexpr Address recipient{Key::alamat1Penerima, Key::alamat2Penerima, Key::poskodPenerima,
                                       Key::alamat3Penerima, Key::negeriPenerima};
    QString address(const Address& a) const {
        return QStringLiteral("%1, %2, %3 %4, %5 \r\n\r\n")
            .arg((*this)[a.line1], (*this)[a.line2], (*this)[a.postcode], (*this)[a.town], (*this)[a.state]);
    }
    QString place() const {
        return QStringLiteral("%1,%2,%3 \r\n\r\n")
            .arg((*this)[Key::lokasiTempatKejadian], (*this)[Key::lokasiKawasan], (*this)[Key::lokasiJalan]);
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
    e.createBarcode(f[Key::kodHasil], WSEncoder::kBarcodeCode39);
    e.addString(spaces(14));
    e.createBarcode(f[Key::kompaunRunningNumber], WSEncoder::kBarcodeCode39);
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
    pair(Column{13}(u"TARIKH", f[Key::kompaunTarikh], {}), 336,
         Column{11}(u"MASA", f[Key::kompaunMasa], u"\r\n\r\n"));
    const Column offender{34};
    text({
        offender(u"KEPADA/NAMA PESALAH", f[Key::namaPesalah]),
        offender(u"NO KAD PENGENALAN", f[Key::noKadPengenalanPesalah], u"\r\n\r\n"),
        offender(u"ALAMAT TETAP SURAT MENYURAT", {}, u"\r\n"),
        f.address(Fields::offender),
        offender(u"NO DAFTAR PERNIAGAAN/LESEN ORVA",
                 QStringLiteral("%1 / %2").arg(f[Key::noDaftarSyarikat], f[Key::lokasiLesenPerniagaan])),
    });
    const Column left{13};
    const Column right{16};
    pair(left(u"NO KENDERAAN", f[Key::kenderaanNoKenderaan], {}), 436,
         right(u"NO CUKAI JALAN", f[Key::kenderaanNoCukaiJalan], u"\r\n"));
    pair(left(u"JENIS BADAN", f[Key::kenderaanJenisKenderaan], {}), 436,
         right(u"PEMBUAT/MODEL", f[Key::kenderaanJenisModel], u"\r\n\r\n"));
    const Column offence{22, 1};
    text({
        kOffenceHeading,
        offence(u"SEKSYEN/UUK", f[Key::kesalahan], u" \r\n\r\n"),
        offence(u"BUTIR-BUTIR KESALAHAN", f[Key::kompaunButiranKesalahan], u" \r\n\r\n"),
        offence(u"TEMPAT", {}, u"\r\n"),
        f.place(),
        offence(u"KOORDINAT LOKASI",
                QStringLiteral("%1, %2").arg(coordinate(f[Key::lat]), coordinate(f[Key::long_])), u"\r\n"),
        offence(u"TARIKH KESALAHAN", f[Key::kompaunTarikh], joined({spaces(26), u"JUMLAH KOMPAUN\r\n"})),
    });
    blocks.append(WSCommands::characterSize(1));
    text({spaces(30), u"RM ", f[Key::kompaunKadar]});
    blocks.append(WSCommands::characterSize(0));

    WSEncoder e;
    e.addString(joined({
        lineEnds(2),
        ruled(joined({u"KESALAHAN INI BOLEH DI SELESAIKAN DI LUAR MAHKAMAH DENGAN MEMBAYAR KOMPAUN SEBELUM  "
                      u"TARIKH  ",
                      f[Key::kompaunTamatTawaran],
                      u".BAYARAN HENDAKLAH DIBUAT DI MAJLIS PERBANDARAN TELUKMERBAU \r\n"})),
        kOfficer(u"NAMA PENGUATKUASA", f[Key::namaPenguatKuasa]),
        kOfficer(u"NO PEKERJA", f[Key::penguatKuasaID]),
        kOfficer(u"SAKSI", f[Key::lokasiNamaSaksi]),
        kOfficer(u"IC SAKSI", f[Key::lokasiICSaksi]),
        kOfficer(u"CARA PENYERAHAN", f[Key::kompaunCaraPenyerahan], u" \r\n\r\n"),
        kOfficer(u"TARIKH PENYERAHAN", f[Key::kompaunTarikh]),
        kOfficer(u"KEPADA/NAMA PENERIMA", f[Key::namaPenerima]),
        kOfficer(u"NO KAD PENGENALAN", f[Key::noKadPengenalanPenerima]),
        kOfficer(u"ALAMAT TETAP/SURAT MENYURAT", {}, u"\r\n"),
        f.address(Fields::recipient),
        lineEnds(3),
        Column{33}(u"TANDATANGAN PENERIMA", QString(41, QLatin1Char('-')), u"\r\n"),
        spaces(32),
        u"\r\n",
        spaces(38),
    }));
    e.createBarcodeQRCode(lookupAddress(baseUrl, f[Key::kompaunRunningNumber]), 0, 77, 5);
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
        left(u"TARIKH", f[Key::kompaunTarikh], spaces(11)),
        right(u"WAKTU", f[Key::kompaunMasa], u"\r\n"),
        left(u"NO KENDERAAN", f[Key::kenderaanNoKenderaan], spaces(11)),
        right(u"WARNA", f[Key::kenderaanJenisWarna], u"\r\n"),
        left(u"NO CUKAI", f[Key::kenderaanNoCukaiJalan], spaces(7)),
        right(u"NO PETAK", f[Key::lokasiNoPetak], u"\r\n"),
        left(u"MODEL KENDERAAN", f[Key::kenderaanJenisKenderaan], spaces(6) + lineEnds(2)),
        Column{31, 1}(u"TEMPAT KESALAHAN", {}, u"\r\n"),
        f.place(),
        lineEnds(2),
        kOffenceHeading,
        u"\r\n",
        Column{24, 1}(u"KOD KESALAHAN", f[Key::kesalahan], u" \r\n\r\n"),
        Column{18}(u"BUTIRAN KESALAHAN", {}, u"\r\n"),
        f[Key::kompaunButiranKesalahan],
        u" \r\n\r\n",
        spaces(58),
        u"BAYARAN(DIKENAKAN)\r\n",
        spaces(62),
        u"RM ",
        f[Key::kompaunKadar],
        spaces(14),
        u"\r\n\r\n",
        spaces(58),
    }));
    // The title's human-readable setting still holds: the amount's digits print under its bars too.
    e.createBarcode(f[Key::kompaunKadar], WSEncoder::kBarcodeCode39);
    e.addString(joined({
        u"\r\n",
        ruled(spaces(90) + QStringLiteral("\r\n")),
        lineEnds(3),
        kOfficer(u"DIKELUARKAN OLEH", f[Key::namaPenguatKuasa]),
        kOfficer(u"NO PEKERJA", f[Key::penguatKuasaID]),
        kOfficer(u"CARA PENYERAHAN", f[Key::kompaunCaraPenyerahan], u" \r\n\r\n"),
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
