#include "screens/forms/KenderaanTabViewController.h"

#include "core/AppDelegate.h"
#include "core/RecordKeys.h"

KenderaanTabViewController::KenderaanTabViewController(QObject* parent) : FormViewController(parent) {
    setRows({
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
