#include "screens/ReviewViewController.h"

#include "core/AppDelegate.h"
#include "core/RecordKeys.h"
#include "screens/AddressText.h"
#include "screens/AppContext.h"
#include "screens/FavViewController.h"
#include "screens/KategoriViewController.h"
#include "screens/NavigationStack.h"

ReviewViewController::ReviewViewController(QObject* parent) : ScreenController(parent) {
    model_.setKeyFormat(KeyValueListModel::column(QStringLiteral("outlet")));
    model_.setTitleFormat(KeyValueListModel::column(QStringLiteral("caption")));
    model_.setSubtitleFormat(KeyValueListModel::column(QStringLiteral("value")));
}

ReviewViewController::~ReviewViewController() = default;

KategoriViewController* ReviewViewController::controller() const {
    return controller_;
}
void ReviewViewController::setController(KategoriViewController* opener) {
    if (!opener || controller_ == opener)
        return;
    controller_ = opener;
    fastLink_ = false;
    Q_EMIT openerChanged();
}
FavViewController* ReviewViewController::controller2() const {
    return controller2_;
}
void ReviewViewController::setController2(FavViewController* opener) {
    if (!opener || controller2_ == opener)
        return;
    controller2_ = opener;
    fastLink_ = true;
    Q_EMIT openerChanged();
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
         AddressText::join({v(Key::lat), v(Key::long_)})},
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
    AppDelegate* app = context_ ? context_->app() : nullptr;
    // Filled once: the page shows the compound as it was when the review opened.
    if (filled_ || !app)
        return;
    filled_ = true;
    QList<QVariantMap> rows;
    for (const Field& field : fields(*app->getDictionary()))
        rows.append({{QStringLiteral("outlet"), field.outlet},
                     {QStringLiteral("caption"), field.caption},
                     {QStringLiteral("value"), field.value}});
    model_.setRows(rows);
}

void ReviewViewController::cetak() {
    if (fastLink_) {
        if (controller2_)
            controller2_->cetak();
    } else if (controller_) {
        controller_->cetak();
    }
}
