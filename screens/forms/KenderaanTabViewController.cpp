#include "screens/forms/KenderaanTabViewController.h"

#include "core/AppDelegate.h"
#include "core/RecordKeys.h"
#include "platform/Alerts.h"

namespace {
const QLatin1String imbasPlat{"imbasPlat"};
}

KenderaanTabViewController::KenderaanTabViewController(QObject* parent)
    : FormViewController(parent),
      scan_(PictureScan::Kind::Plate, [this](const PictureScan::Reading& read) { plateRead(read.plate); }) {
    setRows({
        {.kind = FormRow::Action, .key = imbasPlat, .label = QStringLiteral("Imbas Plat")},
        {.key = Key::kenderaanNoKenderaan,
         .label = QStringLiteral("No. Kenderaan"),
         .hint = FormRow::Capitals},
        {.key = Key::kenderaanNoCukaiJalan,
         .label = QStringLiteral("No. Cukai Jalan"),
         .hint = FormRow::Capitals},
        {.kind = FormRow::Pick,
         .key = Key::kenderaanJenisKenderaan,
         .label = QStringLiteral("Jenis Kenderaan"),
         .list = FormRow::JenisKenderaan},
        {.kind = FormRow::Pick,
         .key = Key::kenderaanJenisModel,
         .label = QStringLiteral("Jenis Model"),
         .list = FormRow::JenisModel},
        {.kind = FormRow::Pick,
         .key = Key::kenderaanJenisWarna,
         .label = QStringLiteral("Jenis Warna"),
         .list = FormRow::JenisWarna},
        {.key = Key::kenderaanNoChasis, .label = QStringLiteral("No. Chasis"), .hint = FormRow::Capitals},
    });
}

void KenderaanTabViewController::viewDidLoad() {
    // A traffic compound is checked by its plate.
    setRequired(Key::kenderaanNoKenderaan, app().getLaluLintas());
}

void KenderaanTabViewController::contextSet() {
    scan_.setContext(&context());
}

void KenderaanTabViewController::action(const QString& name) {
    if (name == imbasPlat)
        imbasPlatExe();
}

void KenderaanTabViewController::imbasPlatExe() {
    if (record() && !preview())
        scan_.start();
}

void KenderaanTabViewController::plateRead(const PlateReading& plate) {
    if (!fillFromPicture({{Key::kenderaanNoKenderaan, plate.plate}}))
        app().platform().alerts->show(
            {QStringLiteral("Gagal"), PictureScan::unreadable(), {QStringLiteral("OK")}, 0, {}});
}
