#include "SampleData.h"

#include "core/AppDelegate.h"
#include "core/Clock.h"

#include <QBuffer>
#include <QFont>
#include <QPainter>

namespace {

QString jpegBase64(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 50);
    return QString::fromLatin1(bytes.toBase64());
}

} // namespace

PhotoEntry scenePhoto(const QString& caption, const QColor& colour) {
    QImage full(800, 600, QImage::Format_RGB32);
    full.fill(colour);
    QPainter p(&full);
    p.setPen(Qt::white);
    QFont font = p.font();
    font.setPixelSize(48);
    p.setFont(font);
    p.drawText(full.rect(), Qt::AlignCenter, caption);
    p.end();
    const QImage square = full.copy((800 - 600) / 2, 0, 600, 600)
                              .scaled(300, 300, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return {jpegBase64(square), jpegBase64(full)};
}

Record sampleCompound(AppDelegate& core, bool traffic) {
    // A compound as the issuing screens leave it: the offence from the reference database, the rest typed.
    core.cleanUserChoiceGlobal();
    core.saveDictionaryInit();
    Record r = core.getDictionary();
    const DbRows types = core.lookups().getAkta();
    const DbRow type = types.value(traffic ? 0 : 2);
    const QString typeCode = SQLiteManager::text(type.value(QStringLiteral("kod_jeniskmp")));
    const DbRow act = core.lookups().getKeslahan(typeCode).value(0);
    const QString actId = SQLiteManager::text(act.value(QStringLiteral("akta_id")));
    const DbRow section = core.lookups().getCategoryArray(actId).value(0);
    const auto text = [](const DbRow& row, const char* key) {
        return SQLiteManager::text(row.value(QLatin1String(key)));
    };
    const RecordMap values{
        {QStringLiteral("JenisKompaun"), text(type, "butiran")},
        {QStringLiteral("JenisKompaunID"), typeCode},
        {QStringLiteral("akta"), text(act, "kod_akta")},
        {QStringLiteral("aktaID"), actId},
        {QStringLiteral("kesalahan"),
         text(section, "kod_seksyen") + QLatin1Char('-') + text(section, "butir_seksyen")},
        {QStringLiteral("kesalahanID"), text(section, "akta_seksyen_id")},
        {QStringLiteral("kodHasil"), text(section, "kod_hasil")},
        {QStringLiteral("kompaunButiranKesalahan"), text(section, "seksyen_detail").toUpper()},
        {QStringLiteral("kompaunKadar"), text(section, "kadar_sebelum")},
        {QStringLiteral("kompaunKadarTawaran"), text(section, "kadar_tawaran")},
        {QStringLiteral("isLaluLintas"), traffic ? QStringLiteral("YA") : QStringLiteral("TIDAK")},
        {QStringLiteral("pilihanIndividuAtauSyarikat"), QStringLiteral("individu")},
        {QStringLiteral("namaPesalah"), QStringLiteral("MUHAMMAD HAFIZ BIN ROSLAN")},
        {QStringLiteral("noKadPengenalanPesalah"), QStringLiteral("900514105523")},
        {QStringLiteral("alamat1Pesalah"), QStringLiteral("NO 12, JALAN MERANTI 3")},
        {QStringLiteral("alamat2Pesalah"), QStringLiteral("TAMAN SRI TELUK")},
        {QStringLiteral("poskodPesalah"), QStringLiteral("42000")},
        {QStringLiteral("alamat3Pesalah"), QStringLiteral("PELABUHAN KLANG")},
        {QStringLiteral("negeriPesalah"), QStringLiteral("SELANGOR")},
        {QStringLiteral("negeriPesalahID"), QStringLiteral("10")},
        {QStringLiteral("kenderaanNoKenderaan"), QStringLiteral("WXY 1234")},
        {QStringLiteral("kenderaanNoCukaiJalan"), QStringLiteral("CJ88123")},
        {QStringLiteral("kenderaanJenisKenderaan"), QStringLiteral("KERETA")},
        {QStringLiteral("kenderaanJenisModel"), QStringLiteral("PERODUA MYVI")},
        {QStringLiteral("kenderaanJenisWarna"), QStringLiteral("PUTIH")},
        {QStringLiteral("lokasiTempatKejadian"), QStringLiteral("HADAPAN KEDAI NO 12")},
        {QStringLiteral("lokasiKawasan"), QStringLiteral("PUSAT BANDAR")},
        {QStringLiteral("lokasiJalan"), QStringLiteral("JALAN MERANTI 3")},
        {QStringLiteral("lokasiNoPetak"), QStringLiteral("A17")},
        {QStringLiteral("lat"), QStringLiteral("3.073800")},
        {QStringLiteral("long"), QStringLiteral("101.518303")},
        {QStringLiteral("kompaunMasa"), KualaLumpur::format(core.clock().now(), QStringLiteral("HH:mm"))},
        {QStringLiteral("kompaunCaraPenyerahan"), QStringLiteral("DISELIT WIPER")},
        {QStringLiteral("kompaunCaraPenyerahanID"), QStringLiteral("4")},
    };
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        r->insert(it.key(), it.value());
    return r;
}
