// Record text into the printed notices: whatever the officer typed or a sticker carried, the printer is sent
// exactly the layout's own control bytes (commands, parameters, line ends) and none from the text.
#include "core/Record.h"
#include "printing/NoticeLayout.h"

#include <QGuiApplication>
#include <QImage>

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>

namespace {

// The barcodes carry their length in the stream, so their data stays the same in every run.
const RecordMap& barcodes() {
    static const RecordMap fixed{{QStringLiteral("kodHasil"), QStringLiteral("71301")},
                                 {QStringLiteral("kompaunRunningNumber"), QStringLiteral("M0701000123")},
                                 {QStringLiteral("kompaunKadar"), QStringLiteral("100.00")}};
    return fixed;
}

const QStringList& textKeys() {
    static const QStringList keys =
        QString::fromLatin1(
            "alamat1Penerima alamat1Pesalah alamat2Penerima alamat2Pesalah alamat3Penerima "
            "alamat3Pesalah kenderaanJenisKenderaan kenderaanJenisModel kenderaanJenisWarna "
            "kenderaanNoCukaiJalan kenderaanNoKenderaan kesalahan kompaunButiranKesalahan "
            "kompaunCaraPenyerahan kompaunMasa kompaunTamatTawaran kompaunTarikh lat lokasiICSaksi "
            "lokasiJalan lokasiKawasan lokasiLesenPerniagaan lokasiNamaSaksi lokasiNoPetak "
            "lokasiTempatKejadian long namaPenerima namaPenguatKuasa namaPesalah negeriPenerima "
            "negeriPesalah noDaftarSyarikat noKadPengenalanPenerima noKadPengenalanPesalah "
            "penguatKuasaID poskodPenerima poskodPesalah")
            .split(QLatin1Char(' '));
    return keys;
}

QByteArray controlBytes(const QList<QByteArray>& blocks) {
    QByteArray out;
    for (const QByteArray& block : blocks)
        for (char c : block)
            if (uchar(c) < 0x20)
                out.append(c);
    return out;
}

// A small header keeps each run fast; the header's own raster bytes are the same in every run.
const QImage& header() {
    static const QImage image = [] {
        QImage i(16, 4, QImage::Format_RGB32);
        i.fill(Qt::white);
        i.setPixel(3, 1, qRgb(0, 0, 0));
        return i;
    }();
    return image;
}

const QString base = QStringLiteral("https://enquiry.example.gov.my");

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const QByteArray generalControls =
        controlBytes(NoticeLayout::generalNotice(barcodes(), header(), base));
    static const QByteArray trafficControls = controlBytes(NoticeLayout::trafficNotice(barcodes(), header()));
    FuzzedDataProvider input(data, size);
    const bool traffic = input.ConsumeBool();
    RecordMap record = barcodes();
    for (const QString& key : textKeys()) {
        if (input.remaining_bytes() == 0)
            break;
        const std::string bytes = input.ConsumeRandomLengthString(256);
        record.insert(key, input.ConsumeBool() ? QString::fromUtf8(bytes.data(), qsizetype(bytes.size()))
                                               : QString::fromLatin1(bytes.data(), qsizetype(bytes.size())));
    }
    // One notice a run, chosen by the input: twice the runs for the same time.
    if (traffic ? controlBytes(NoticeLayout::trafficNotice(record, header())) != trafficControls
                : controlBytes(NoticeLayout::generalNotice(record, header(), base)) != generalControls)
        std::abort();
    return 0;
}
