#include "screens/offences/FavViewController.h"

#include "core/AppDelegate.h"
#include "core/RecordKeys.h"
#include "screens/offences/CompoundTypesViewController.h"
#include "screens/offences/SearchListController.h"
#include "screens/shell/AppContext.h"
#include "screens/shell/NavigationStack.h"

FavViewController::FavViewController(QObject* parent)
    : ScreenController(parent), flow_(IssuingFlow::Opener::Favourites, formSet_, *this) {
    model_.setTitleFormat(KeyValueListModel::column(QStringLiteral("title")));
    model_.setSubtitleFormat(KeyValueListModel::column(QStringLiteral("subtitle")));
    connect(&formSet_, &FormSet::semakRequested, this, &FavViewController::semak);
}

void FavViewController::reload() {
    array_ = app().favStore().getFavSaveArray().value_or(FavouriteList{});
    QList<QVariantMap> rows;
    for (const Favourite& favourite : std::as_const(array_))
        rows.append(
            {{QStringLiteral("title"), favourite.title}, {QStringLiteral("subtitle"), favourite.subtitle}});
    model_.setRows(rows);
}

void FavViewController::viewWillAppear() {
    reload();
}

void FavViewController::padam(int row) {
    if (row < 0 || row >= array_.size())
        return;
    FavouriteList kept = array_;
    kept.removeAt(row);
    if (!app().favStore().replaceFav(kept))
        app().platform().alerts->show(
            {QStringLiteral("Gagal"),
             QStringLiteral("Simpanan tidak dapat dipadam dalam telefon. Sila cuba lagi."),
             {QStringLiteral("OK")},
             0,
             {}});
    // What the store holds is what the list shows, whether the write went through or not.
    reload();
}

RecordMap FavViewController::offenceOf(const RecordMap& f) {
    RecordMap offence;
    for (const QLatin1String key : {Key::JenisKompaun, Key::JenisKompaunID, Key::akta, Key::aktaID})
        offence.insert(key, f.value(key));
    offence.insert(Key::kodHasil, f.value(Key::kodHasil));
    offence.insert(Key::kesalahan, QStringLiteral("%1-%2").arg(f.value(QStringLiteral("kod_seksyen")),
                                                               f.value(QStringLiteral("butir_seksyen"))));
    offence.insert(Key::kesalahanID, f.value(Key::kesalahanID));
    offence.insert(Key::kompaunButiranKesalahan, f.value(Key::kompaunButiranKesalahan).toUpper());
    offence.insert(Key::kompaunKadar, f.value(Key::kompaunKadar));
    offence.insert(Key::kompaunKadarTawaran, f.value(Key::kompaunKadarTawaran));
    return offence;
}

void FavViewController::select(int row) {
    AppDelegate& core = app();
    if (row < 0 || row >= array_.size() || !core.readyToIssue())
        return;
    const RecordMap favourite = array_.at(row).record;
    // A compound of its own: a new number and dates and no photographs of the one issued before, which
    // may still be in memory when the type menu was not shown since.
    // A licence number scanned for it a moment before stays (the scan writes the current record); one of
    // a compound already stored belongs to that compound.
    const Record before = core.saveDictionary();
    const QString licence = core.saveStore().holdsNumber(before->value(Key::kompaunRunningNumber))
                                ? QString()
                                : before->value(Key::lokasiLesenPerniagaan);
    core.cleanUserChoiceGlobal();
    core.saveDictionaryInit();
    const Record record = core.saveDictionary();
    record->insert(Key::lokasiLesenPerniagaan, licence);
    const RecordMap offence = offenceOf(favourite);
    for (auto it = offence.cbegin(); it != offence.cend(); ++it)
        record->insert(it.key(), it.value());
    // The traffic marks come from the compound type's place in the type menu, as choosing it there does.
    const DbRows types = core.lookups().getAkta();
    int typeRow = -1;
    for (int i = 0; i < types.size(); ++i)
        if (rowText(types[i], QStringLiteral("kod_jeniskmp")) == favourite.value(Key::JenisKompaunID)) {
            typeRow = i;
            break;
        }
    CompoundTypesViewController::markTraffic(core, typeRow);

    const RecordMap position = core.getLocation();
    record->insert(Key::lat, position.value(Key::lat));
    record->insert(Key::long_, position.value(Key::long_));
    context().shift().applyDelivery(*record, core.getLaluLintas());

    formSet_.present(navigation_, core.getLaluLintas(), false);
}
