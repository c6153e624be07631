#include "screens/KenderaanTabViewController.h"

#include "core/AppDelegate.h"
#include "core/RecordKeys.h"

KenderaanTabViewController::KenderaanTabViewController(QObject* parent) : FormViewController(parent) {}

QList<KenderaanTabViewController::Binding> KenderaanTabViewController::bindings() {
    return {
        {&noKenderaan_, Key::kenderaanNoKenderaan},       {&noCukaiJalan_, Key::kenderaanNoCukaiJalan},
        {&jenisKenderaan_, Key::kenderaanJenisKenderaan}, {&jenisModel_, Key::kenderaanJenisModel},
        {&jenisWarna_, Key::kenderaanJenisWarna},         {&noChasis_, Key::kenderaanNoChasis},
    };
}

void KenderaanTabViewController::viewDidLoad() {
    for (const Binding& b : bindings())
        fill(*b.field, b.key);
}

void KenderaanTabViewController::writeFields() {
    for (const Binding& b : bindings())
        write(b.key, b.field->text());
}

// Upper-cased in place, and written at once rather than only when the form is left, so a review opened
// straight from this form reads the plate as typed.
void KenderaanTabViewController::textFieldDidEndEditing(TextField* field) {
    if (!record())
        return;
    if (field)
        upperInPlace(*field);
    writeFields();
}

void KenderaanTabViewController::textViewDismissTaps() {
    if (record())
        writeFields();
}

void KenderaanTabViewController::willDisappear() {
    writeFields();
}

void KenderaanTabViewController::jenisKenDroTaps() {
    if (record() && app() && !preview())
        openList(ReferenceData::paramItems(app()->lookups().jenisKenderaan()),
                 QStringLiteral("Jenis Kenderaan"), jenisKenderaan_, Key::kenderaanJenisKenderaanID);
}

void KenderaanTabViewController::jenisModelDroTaps() {
    if (!record() || !app() || preview())
        return;
    const QString type = value(Key::kenderaanJenisKenderaanID);
    const PickList items =
        type.isEmpty() ? PickList() : ReferenceData::paramItems(app()->lookups().jenisModel(type));
    openList(items, QStringLiteral("Jenis Model"), jenisModel_, Key::kenderaanJenisModelID);
}

void KenderaanTabViewController::jenisWarDroTaps() {
    if (record() && app() && !preview())
        openList(ReferenceData::paramItems(app()->lookups().jenisWarna()), QStringLiteral("Jenis Warna"),
                 jenisWarna_, Key::kenderaanJenisWarnaID);
}

void KenderaanTabViewController::initForm() {
    for (const Binding& b : bindings())
        b.field->setText(QString());
}
