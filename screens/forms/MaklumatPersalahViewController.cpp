#include "screens/forms/MaklumatPersalahViewController.h"

#include "core/AppDelegate.h"
#include "core/RecordKeys.h"
#include "core/SQLiteManager.h"
#include "platform/Alerts.h"

namespace {
const QLatin1String samaDiatas{"samaDiatas"};
const QLatin1String imbasMyKad{"imbasMyKad"};

FormRow text(QLatin1String key, const QString& label, FormRow::Hint hint = FormRow::Plain) {
    return {.key = key, .label = label, .hint = hint};
}
// What "Semak" asks of the offender, marked.
FormRow required(FormRow row) {
    row.required = true;
    return row;
}
FormRow state(QLatin1String key) {
    return {.kind = FormRow::Pick, .key = key, .label = QStringLiteral("Negeri"), .list = FormRow::Negeri};
}
} // namespace

MaklumatPersalahViewController::MaklumatPersalahViewController(QObject* parent)
    : FormViewController(parent),
      scan_(PictureScan::Kind::Card, [this](const PictureScan::Reading& read) { cardRead(read.card); }) {
    setRows({
        {.kind = FormRow::Heading,
         .key = QLatin1String("pesalah"),
         .label = QStringLiteral("Maklumat Pesalah")},
        {.kind = FormRow::Switch,
         .key = Key::pilihanIndividuAtauSyarikat,
         .label = QString(),
         .options = {QStringLiteral("Individu"), QStringLiteral("Syarikat")}},
        {.kind = FormRow::Action, .key = imbasMyKad, .label = QStringLiteral("Imbas MyKad")},
        // What "Semak" asks for first, in the order the keyboard's "next" takes them, within the first
        // screen of a small phone; a company gives its number, next, in place of the identity card.
        required(text(Key::noKadPengenalanPesalah, QStringLiteral("No. Kad Pengenalan"), FormRow::Digits)),
        required(text(Key::namaPesalah, QStringLiteral("Nama"))),
        required(text(Key::alamat1Pesalah, QStringLiteral("Alamat 1"))),
        // The company number is written as it is typed.
        {.key = Key::noDaftarSyarikat,
         .label = QStringLiteral("No. Daftar Syarikat"),
         .hint = FormRow::Capitals,
         .required = true},
        text(Key::alamat2Pesalah, QStringLiteral("Alamat 2")),
        text(Key::poskodPesalah, QStringLiteral("Poskod"), FormRow::Digits),
        text(Key::alamat3Pesalah, QStringLiteral("Bandar")),
        state(Key::negeriPesalah),
        text(Key::lokasiLesenPerniagaan, QStringLiteral("No. Lesen Perniagaan")),
        {.kind = FormRow::Heading,
         .key = QLatin1String("penerima"),
         .label = QStringLiteral("Maklumat Penerima")},
        {.kind = FormRow::Action, .key = samaDiatas, .label = QStringLiteral("Sama seperti di atas")},
        text(Key::namaPenerima, QStringLiteral("Nama")),
        text(Key::noKadPengenalanPenerima, QStringLiteral("No. Kad Pengenalan"), FormRow::Digits),
        text(Key::alamat1Penerima, QStringLiteral("Alamat 1")),
        text(Key::alamat2Penerima, QStringLiteral("Alamat 2")),
        text(Key::poskodPenerima, QStringLiteral("Poskod"), FormRow::Digits),
        text(Key::alamat3Penerima, QStringLiteral("Bandar")),
        state(Key::negeriPenerima),
    });
}

void MaklumatPersalahViewController::contextSet() {
    scan_.setContext(&context());
}

void MaklumatPersalahViewController::viewDidLoad() {
    // A stored compound keeps the choice it was issued with; a new one starts as an individual.
    if (!preview())
        choose(Key::pilihanIndividuAtauSyarikat, 0);
    else if (field(Key::pilihanIndividuAtauSyarikat)->text() != QLatin1String("syarikat"))
        field(Key::pilihanIndividuAtauSyarikat)->setText(QStringLiteral("individu"));
}

void MaklumatPersalahViewController::willAppear() {
    // The licence scan may have filled the number meanwhile.
    fill(Key::lokasiLesenPerniagaan);
}

void MaklumatPersalahViewController::action(const QString& name) {
    if (name == samaDiatas)
        samaDiatasExe();
    else if (name == imbasMyKad)
        imbasMyKadExe();
}

void MaklumatPersalahViewController::fillFromPostcode(QLatin1String postcode, QLatin1String town,
                                                      QLatin1String state, QLatin1String stateCodeKey) {
    const QString code = field(postcode)->text();
    if (code.isEmpty())
        return;
    ReferenceData& lookups = app().lookups();
    const DbRows places = lookups.getPoskod(code);
    if (places.isEmpty())
        return;
    const QString stateCode = SQLiteManager::text(places.first().value(QStringLiteral("kod_negeri")));
    field(town)->setText(SQLiteManager::text(places.first().value(QStringLiteral("bandar"))));
    write(stateCodeKey, stateCode);
    const DbRows states = lookups.getNegeriSingle(stateCode);
    if (!states.isEmpty())
        field(state)->setText(SQLiteManager::text(states.first().value(QStringLiteral("negeri"))));
}

void MaklumatPersalahViewController::fillIn() {
    fillFromPostcode(Key::poskodPesalah, Key::alamat3Pesalah, Key::negeriPesalah, Key::negeriPesalahID);
    fillFromPostcode(Key::poskodPenerima, Key::alamat3Penerima, Key::negeriPenerima, Key::negeriPenerimaID);
}

void MaklumatPersalahViewController::samaDiatasExe() {
    if (!record() || preview())
        return;
    static const QLatin1String copies[][2] = {
        {Key::namaPesalah, Key::namaPenerima},
        {Key::noKadPengenalanPesalah, Key::noKadPengenalanPenerima},
        {Key::alamat1Pesalah, Key::alamat1Penerima},
        {Key::alamat2Pesalah, Key::alamat2Penerima},
        {Key::poskodPesalah, Key::poskodPenerima},
        {Key::alamat3Pesalah, Key::alamat3Penerima},
        {Key::negeriPesalah, Key::negeriPenerima},
    };
    for (const auto& [from, to] : copies) {
        field(to)->setText(field(from)->text());
        write(to, field(to)->text().toUpper());
    }
    write(Key::negeriPenerimaID, value(Key::negeriPesalahID));
}

void MaklumatPersalahViewController::imbasMyKadExe() {
    if (record() && !preview())
        scan_.start();
}

void MaklumatPersalahViewController::cardRead(const CardReading& card) {
    // Only what was read with confidence is filled; the rest keeps what the officer has typed.
    const bool filled = fillFromPicture({{Key::noKadPengenalanPesalah, card.icNumber},
                                         {Key::namaPesalah, card.name},
                                         {Key::alamat1Pesalah, card.address1},
                                         {Key::alamat2Pesalah, card.address2},
                                         {Key::poskodPesalah, card.postcode}});
    if (!filled)
        app().platform().alerts->show(
            {QStringLiteral("Gagal"), PictureScan::unreadable(), {QStringLiteral("OK")}, 0, {}});
}
