#include "screens/issuing/ReviewViewController.h"

#include "core/PositionReader.h"
#include "core/RecordKeys.h"
#include "screens/forms/AddressText.h"
#include "screens/issuing/IssuingFlow.h"

ReviewViewController::ReviewViewController(QObject* parent) : ScreenController(parent) {
    model_.setKeyFormat(KeyValueListModel::column(QStringLiteral("outlet")));
    model_.setTitleFormat(KeyValueListModel::column(QStringLiteral("caption")));
    model_.setSubtitleFormat(KeyValueListModel::column(QStringLiteral("value")));
}

ReviewViewController::~ReviewViewController() = default;

IssuingFlow* ReviewViewController::flow() const {
    return flow_;
}

void ReviewViewController::setFlow(IssuingFlow* flow) {
    if (!flow || flow_ == flow)
        return;
    QObject::disconnect(changes_);
    flow_ = flow;
    changes_ = connect(flow, &IssuingFlow::reviewChanged, this, [this] {
        if (filled_)
            fill();
    });
    Q_EMIT flowChanged();
}

QList<ReviewViewController::Field> ReviewViewController::fields(const RecordMap& r) {
    const auto v = [&](QLatin1String key) { return r.value(key); };
    const QString tarikh = v(Key::kompaunTarikh);
    return {
        {QStringLiteral("kodHasil"), QStringLiteral("Kod Hasil"), v(Key::kodHasil)},
        {QStringLiteral("noKompaun"), QStringLiteral("No. Kompaun"), v(Key::kompaunRunningNumber)},
        {QStringLiteral("tarikh"), QStringLiteral("Tarikh"), tarikh},
        {QStringLiteral("masa"), QStringLiteral("Masa"), v(Key::kompaunMasa)},
        {QStringLiteral("namaPenerima"), QStringLiteral("Nama Pesalah"), v(Key::namaPesalah)},
        {QStringLiteral("kadPengenalan"), QStringLiteral("No. Kad Pengenalan"),
         v(Key::noKadPengenalanPesalah)},
        {QStringLiteral("alamat"), QStringLiteral("Alamat"),
         AddressText::address(v(Key::alamat1Pesalah), v(Key::alamat2Pesalah), v(Key::poskodPesalah),
                              v(Key::alamat3Pesalah), v(Key::negeriPesalah))},
        {QStringLiteral("noDaftarLesenDanPerniagaan"), QStringLiteral("No. Daftar Syarikat / No. Lesen"),
         AddressText::join({v(Key::noDaftarSyarikat), v(Key::lokasiLesenPerniagaan)}, QStringLiteral(" / "))},
        {QStringLiteral("noKenderaan"), QStringLiteral("No. Kenderaan"), v(Key::kenderaanNoKenderaan)},
        {QStringLiteral("noCukaiJalan"), QStringLiteral("No. Cukai Jalan"), v(Key::kenderaanNoCukaiJalan)},
        {QStringLiteral("jenisBadan"), QStringLiteral("Jenis Kenderaan"), v(Key::kenderaanJenisKenderaan)},
        {QStringLiteral("pembuatModel"), QStringLiteral("Buatan / Model"), v(Key::kenderaanJenisModel)},
        {QStringLiteral("seksyenUUK"), QStringLiteral("Seksyen Kesalahan"), v(Key::kesalahan)},
        {QStringLiteral("butiranKesalahn"), QStringLiteral("Butiran Kesalahan"),
         v(Key::kompaunButiranKesalahan)},
        {QStringLiteral("tempatKesalahn"), QStringLiteral("Tempat Kesalahan"),
         AddressText::join({v(Key::lokasiTempatKejadian), v(Key::lokasiKawasan), v(Key::lokasiJalan)})},
        {QStringLiteral("kordinatLokasi"), QStringLiteral("Koordinat Lokasi"),
         PositionReader::isPosition(v(Key::lat), v(Key::long_))
             ? AddressText::join({v(Key::lat), v(Key::long_)})
             : PositionReader::noPositionText()},
        {QStringLiteral("tarikhKesalahan"), QStringLiteral("Tarikh Kesalahan"), tarikh},
        {QStringLiteral("jumlahKompaun"), QStringLiteral("Jumlah Kompaun"),
         QStringLiteral("RM %1").arg(v(Key::kompaunKadar))},
        {QStringLiteral("sebelumTarikhBayaran"), QStringLiteral("Bayar Sebelum"),
         QStringLiteral("%1.BAYARAN HENDAKLAH DIBUAT DI MAJLIS").arg(v(Key::kompaunTamatTawaran))},
        {QStringLiteral("namaPenguatkuasa"), QStringLiteral("Nama Penguatkuasa"), v(Key::namaPenguatKuasa)},
        {QStringLiteral("noPekerja"), QStringLiteral("No. Pekerja"), v(Key::penguatKuasaID)},
        {QStringLiteral("caraPenyerahan"), QStringLiteral("Cara Penyerahan"), v(Key::kompaunCaraPenyerahan)},
        {QStringLiteral("namaSaksi"), QStringLiteral("Nama Saksi"), v(Key::lokasiNamaSaksi)},
        {QStringLiteral("icSaksi"), QStringLiteral("No. Kad Pengenalan Saksi"), v(Key::lokasiICSaksi)},
        {QStringLiteral("tarikhPenyerahan"), QStringLiteral("Tarikh Penyerahan"), tarikh},
        {QStringLiteral("kepadaNamaPenerima"), QStringLiteral("Nama Penerima"), v(Key::namaPenerima)},
        {QStringLiteral("kepadaNamaPenerimaKadPengenalan"), QStringLiteral("No. Kad Pengenalan Penerima"),
         v(Key::noKadPengenalanPenerima)},
        {QStringLiteral("kepadaNamaPenerimaAlamat"), QStringLiteral("Alamat Penerima"),
         AddressText::address(v(Key::alamat1Penerima), v(Key::alamat2Penerima), v(Key::poskodPenerima),
                              v(Key::alamat3Penerima), v(Key::negeriPenerima))},
    };
}

void ReviewViewController::viewWillAppear() {
    // Filled once here; afterwards only when the flow takes the record anew.
    if (filled_ || !flow_)
        return;
    filled_ = true;
    fill();
}

void ReviewViewController::fill() {
    QList<QVariantMap> rows;
    for (const Field& field : fields(flow_ ? flow_->reviewed() : RecordMap{}))
        rows.append({{QStringLiteral("outlet"), field.outlet},
                     {QStringLiteral("caption"), field.caption},
                     {QStringLiteral("value"), field.value}});
    model_.setRows(rows);
}

void ReviewViewController::cetak() {
    if (flow_)
        flow_->cetak();
}
