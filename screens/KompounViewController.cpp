#include "screens/KompounViewController.h"

#include "core/AppDelegate.h"
#include "core/Clock.h"
#include "core/RecordKeys.h"

KompounViewController::KompounViewController(QObject* parent) : FormViewController(parent) {}

void KompounViewController::viewDidLoad() {
    fill(caraPenyerahan_, Key::kompaunCaraPenyerahan);
}

void KompounViewController::willAppear() {
    if (!preview())
        write(Key::kompaunMasa, KualaLumpur::format(app()->clock().now(), QStringLiteral("HH:mm")));
    showRecord();
}

void KompounViewController::showRecord() {
    fill(kompaunNumber_, Key::kompaunRunningNumber);
    tarikh_.setText(QStringLiteral("%1,%2").arg(value(Key::kompaunTarikh), value(Key::kompaunMasa)));
    fill(tarikhTamat_, Key::kompaunTamatTawaran);
    fill(jenisKompaun_, Key::JenisKompaun);
    fill(jenisAkta_, Key::akta);
    jenisSeksyen_.setText(value(Key::kesalahan).toUpper());
    butiranKesalahan_.setText(value(Key::kompaunButiranKesalahan).toUpper());
    kadarSebelum_.setText(QStringLiteral("RM %1").arg(value(Key::kompaunKadar)));
    kadarTawaran_.setText(QStringLiteral("RM %1").arg(value(Key::kompaunKadarTawaran)));
    fill(kompaunLama_, Key::kompaunLama);
}

void KompounViewController::keepEditedTexts() {
    upperInPlace(butiranKesalahan_);
    write(Key::kompaunButiranKesalahan, butiranKesalahan_.text());
    upperInPlace(kompaunLama_);
    write(Key::kompaunLama, kompaunLama_.text());
}

void KompounViewController::willDisappear() {
    write(Key::kompaunCaraPenyerahan, caraPenyerahan_.text());
    keepEditedTexts();
}

void KompounViewController::textViewDismissTaps() {
    if (record())
        keepEditedTexts();
}

// The particulars and the old compound reach the record as soon as they are edited, not only when the
// form is left: a review opened straight from this form reads them already.
void KompounViewController::textFieldDidEndEditing(TextField*) {
    if (record())
        keepEditedTexts();
}

void KompounViewController::caraPenyerahanDropDown() {
    if (!preview())
        openList(ReferenceData::caraPenyerahan(), QStringLiteral("Cara Penyerahan"), caraPenyerahan_,
                 Key::kompaunCaraPenyerahanID);
}

void KompounViewController::initForm() {
    write(Key::kompaunCaraPenyerahan, caraPenyerahan_.text());
    // The next compound's number, date and time show at once, not only when the form shows again.
    if (record())
        showRecord();
}
