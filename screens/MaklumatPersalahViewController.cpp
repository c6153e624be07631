#include "screens/MaklumatPersalahViewController.h"

#include "core/AppDelegate.h"
#include "core/RecordKeys.h"
#include "core/SQLiteManager.h"

MaklumatPersalahViewController::MaklumatPersalahViewController(QObject* parent) : FormViewController(parent) {
    connect(this, &FormViewController::contextChanged, this, [this] {
        if (AppDelegate* hub = app())
            connect(hub, &AppDelegate::dropDownListClosed, this, &MaklumatPersalahViewController::listClosed,
                    Qt::UniqueConnection);
    });
}

QList<MaklumatPersalahViewController::Binding> MaklumatPersalahViewController::bindings() {
    return {
        {&icPesalah_, Key::noKadPengenalanPesalah},   {&nodaftarsyarikatPesalah_, Key::noDaftarSyarikat},
        {&noLesen_, Key::lokasiLesenPerniagaan},      {&namaPesalah_, Key::namaPesalah},
        {&alamat1Pesalah_, Key::alamat1Pesalah},      {&alamat2Pesalah_, Key::alamat2Pesalah},
        {&poskodPesalah_, Key::poskodPesalah},        {&daerahPesalah_, Key::alamat3Pesalah},
        {&butiranNegeri_, Key::negeriPesalah},        {&namaPenerima_, Key::namaPenerima},
        {&icPenerima_, Key::noKadPengenalanPenerima}, {&alamat1Penerima_, Key::alamat1Penerima},
        {&alamat2Penerima_, Key::alamat2Penerima},    {&poskodPenerima_, Key::poskodPenerima},
        {&alamat3Penerima_, Key::alamat3Penerima},    {&penerimaNegeri_, Key::negeriPenerima},
    };
}

void MaklumatPersalahViewController::viewDidLoad() {
    if (preview()) {
        // A stored compound keeps the choice it was issued with.
        choose_ = value(Key::pilihanIndividuAtauSyarikat) == QLatin1String("syarikat") ? 1 : 0;
    } else {
        write(Key::pilihanIndividuAtauSyarikat, QStringLiteral("individu"));
        choose_ = 0;
    }
    Q_EMIT chooseChanged();
    for (const Binding& b : bindings())
        fill(*b.field, b.key);
}

void MaklumatPersalahViewController::willAppear() {
    // The licence scan may have filled the number meanwhile.
    fill(noLesen_, Key::lokasiLesenPerniagaan);
}

void MaklumatPersalahViewController::segmentSwitch(int segment) {
    if (!record() || preview() || (segment != 0 && segment != 1))
        return;
    write(Key::pilihanIndividuAtauSyarikat,
          segment == 1 ? QStringLiteral("syarikat") : QStringLiteral("individu"));
    if (choose_ != segment) {
        choose_ = segment;
        Q_EMIT chooseChanged();
    }
}

void MaklumatPersalahViewController::fillFromPostcode(TextField& postcode, TextField& town, TextField& state,
                                                      QLatin1String stateCodeKey) {
    if (postcode.text().isEmpty())
        return;
    ReferenceData& lookups = app()->lookups();
    const DbRows places = lookups.getPoskod(postcode.text());
    if (places.isEmpty())
        return;
    const QString stateCode = SQLiteManager::text(places.first().value(QStringLiteral("kod_negeri")));
    town.setText(SQLiteManager::text(places.first().value(QStringLiteral("bandar"))));
    write(stateCodeKey, stateCode);
    const DbRows states = lookups.getNegeriSingle(stateCode);
    if (!states.isEmpty())
        state.setText(SQLiteManager::text(states.first().value(QStringLiteral("negeri"))));
}

void MaklumatPersalahViewController::textFieldDidEndEditing(TextField* field) {
    if (!record() || !app())
        return;
    if (field)
        upperInPlace(*field);
    fillFromPostcode(poskodPesalah_, daerahPesalah_, butiranNegeri_, Key::negeriPesalahID);
    fillFromPostcode(poskodPenerima_, alamat3Penerima_, penerimaNegeri_, Key::negeriPenerimaID);
    for (const Binding& b : bindings())
        write(b.key, b.key == Key::noDaftarSyarikat ? b.field->text() : b.field->text().toUpper());
}

void MaklumatPersalahViewController::openStateList(TextField& field, QLatin1String type) {
    if (!record() || !app() || preview())
        return;
    PickList items;
    for (const DbRow& row : app()->lookups().getNegeri())
        items.append({SQLiteManager::text(row.value(QStringLiteral("negeri"))),
                      SQLiteManager::text(row.value(QStringLiteral("kod_negeri")))});
    if (openList(items, QStringLiteral("Negeri"), field, type))
        openStateType_ = type;
}

void MaklumatPersalahViewController::negeri1Exe() {
    openStateList(butiranNegeri_, Key::negeriPesalahID);
}

void MaklumatPersalahViewController::negeri2Exe() {
    openStateList(penerimaNegeri_, Key::negeriPenerimaID);
}

void MaklumatPersalahViewController::listClosed(const QString& type, bool picked) {
    if (openStateType_.isEmpty() || type != openStateType_)
        return;
    openStateType_.clear();
    if (!picked)
        return;
    if (type == Key::negeriPesalahID)
        write(Key::negeriPesalah, butiranNegeri_.text().toUpper());
    else
        write(Key::negeriPenerima, penerimaNegeri_.text().toUpper());
}

void MaklumatPersalahViewController::samaDiatasExe() {
    if (!record() || preview())
        return;
    namaPenerima_.setText(namaPesalah_.text());
    icPenerima_.setText(icPesalah_.text());
    alamat1Penerima_.setText(alamat1Pesalah_.text());
    alamat2Penerima_.setText(alamat2Pesalah_.text());
    poskodPenerima_.setText(poskodPesalah_.text());
    alamat3Penerima_.setText(daerahPesalah_.text());
    penerimaNegeri_.setText(butiranNegeri_.text());
    write(Key::namaPenerima, namaPenerima_.text().toUpper());
    write(Key::noKadPengenalanPenerima, icPenerima_.text().toUpper());
    write(Key::alamat1Penerima, alamat1Penerima_.text().toUpper());
    write(Key::alamat2Penerima, alamat2Penerima_.text().toUpper());
    write(Key::poskodPenerima, poskodPenerima_.text().toUpper());
    write(Key::alamat3Penerima, alamat3Penerima_.text().toUpper());
    write(Key::negeriPenerima, penerimaNegeri_.text().toUpper());
    write(Key::negeriPenerimaID, value(Key::negeriPesalahID));
}

void MaklumatPersalahViewController::initForm() {
    for (const Binding& b : bindings())
        b.field->setText(QString());
}
