#include "screens/forms/KompounViewController.h"

#include "core/AppDelegate.h"
#include "core/KualaLumpurDate.h"
#include "core/RecordKeys.h"

KompounViewController::KompounViewController(QObject* parent) : FormViewController(parent) {
    const auto shown = [](QLatin1String key, const QString& label, bool emphasised = false) {
        return FormRow{.kind = FormRow::Value, .key = key, .label = label, .emphasised = emphasised};
    };
    // The particulars and the old compound are kept for the next compound: the record refills them. The
    // one choice the officer makes here stands first, where the form opens.
    setRows({
        {.kind = FormRow::Pick,
         .key = Key::kompaunCaraPenyerahan,
         .label = QStringLiteral("Cara Penyerahan"),
         .list = FormRow::CaraPenyerahan},
        shown(Key::kompaunRunningNumber, QStringLiteral("No. Kompaun"), true),
        shown(Key::kompaunTarikh, QStringLiteral("Tarikh, Masa")),
        shown(Key::kompaunTamatTawaran, QStringLiteral("Tamat Tawaran")),
        shown(Key::JenisKompaun, QStringLiteral("Jenis Kompaun")),
        shown(Key::akta, QStringLiteral("Akta")),
        shown(Key::kesalahan, QStringLiteral("Seksyen / Kesalahan")),
        {.kind = FormRow::MultiLine,
         .key = Key::kompaunButiranKesalahan,
         .label = QStringLiteral("Butiran Kesalahan")},
        shown(Key::kompaunKadar, QStringLiteral("Kadar Kompaun"), true),
        shown(Key::kompaunKadarTawaran, QStringLiteral("Kadar Tawaran"), true),
        {.key = Key::kompaunLama, .label = QStringLiteral("Kompaun Lama")},
    });
}

void KompounViewController::willAppear() {
    if (!preview())
        write(Key::kompaunMasa, KualaLumpur::format(app().clock().now(), QStringLiteral("HH:mm")));
    showRecord();
}

void KompounViewController::showRecord() {
    fill(Key::kompaunRunningNumber);
    field(Key::kompaunTarikh)
        ->setText(QStringLiteral("%1,%2").arg(value(Key::kompaunTarikh), value(Key::kompaunMasa)));
    fill(Key::kompaunTamatTawaran);
    fill(Key::JenisKompaun);
    fill(Key::akta);
    field(Key::kesalahan)->setText(value(Key::kesalahan).toUpper());
    field(Key::kompaunButiranKesalahan)->setText(value(Key::kompaunButiranKesalahan).toUpper());
    field(Key::kompaunKadar)->setText(QStringLiteral("RM %1").arg(value(Key::kompaunKadar)));
    field(Key::kompaunKadarTawaran)->setText(QStringLiteral("RM %1").arg(value(Key::kompaunKadarTawaran)));
    fill(Key::kompaunLama);
}

void KompounViewController::initForm() {
    write(Key::kompaunCaraPenyerahan, field(Key::kompaunCaraPenyerahan)->text());
    // The next compound's number, date and time show at once, not only when the form shows again.
    if (record())
        showRecord();
}
