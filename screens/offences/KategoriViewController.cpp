#include "screens/offences/KategoriViewController.h"

#include "core/AppDelegate.h"
#include "core/KualaLumpurDate.h"
#include "core/RecordKeys.h"
#include "platform/Alerts.h"
#include "screens/shell/AppContext.h"
#include "screens/shell/NavigationStack.h"

KategoriViewController::KategoriViewController(QObject* parent)
    : SearchListController(parent), flow_(IssuingFlow::Opener::Sections, formSet_, *this) {
    connect(&formSet_, &FormSet::semakRequested, this, &KategoriViewController::semak);
    model_.setTitleFormat([](const QVariantMap& row, int) { return kesalahanText(row); });
    model_.setSubtitleFormat(KeyValueListModel::column(QStringLiteral("seksyen_detail")));
    model_.setKeyFormat(KeyValueListModel::column(QStringLiteral("akta_seksyen_id")));
}

void KategoriViewController::setActId(const QString& id) {
    if (actId_ == id)
        return;
    actId_ = id;
    Q_EMIT actIdChanged();
    // While the view is being made the services may still be on their way: they load it when they come.
    if (ready())
        load();
}

void KategoriViewController::load() {
    if (!actId_.isEmpty())
        setKetegoriArray(app().lookups().getCategoryArray(actId_));
}

DbRows KategoriViewController::searchRows(const QString& text) {
    return app().lookups().getCategoryArraySearch(app().getDictionary()->value(Key::aktaID), text);
}

QString KategoriViewController::kesalahanText(const QVariantMap& section) {
    return QStringLiteral("%1-%2").arg(rowText(section, QStringLiteral("kod_seksyen")),
                                       rowText(section, QStringLiteral("butir_seksyen")));
}

namespace {

// The offence of a section as a choice writes it into the record.
RecordMap offenceOf(const QVariantMap& section) {
    return {{Key::kodHasil, rowText(section, QStringLiteral("kod_hasil"))},
            {Key::kesalahan, KategoriViewController::kesalahanText(section)},
            {Key::kesalahanID, rowText(section, QStringLiteral("akta_seksyen_id"))},
            {Key::kompaunButiranKesalahan, rowText(section, QStringLiteral("seksyen_detail")).toUpper()},
            {Key::kompaunKadar, rowText(section, QStringLiteral("kadar_sebelum"))},
            {Key::kompaunKadarTawaran, rowText(section, QStringLiteral("kadar_tawaran"))}};
}

} // namespace

Favourite KategoriViewController::favouriteFor(const RecordMap& record, const QVariantMap& section) {
    RecordMap entry = offenceOf(section);
    for (const QLatin1String key : {Key::JenisKompaun, Key::JenisKompaunID, Key::akta, Key::aktaID})
        entry.insert(key, record.value(key));
    for (const char* column : {"kod_seksyen", "butir_seksyen", "seksyen_detail"})
        entry.insert(QLatin1String(column), rowText(section, QLatin1String(column)));
    return {kesalahanText(section), rowText(section, QStringLiteral("seksyen_detail")), entry};
}

void KategoriViewController::select(int row) {
    if (row < 0 || row >= model_.count())
        return;
    const Record record = app().getDictionary();
    const RecordMap offence = offenceOf(model_.row(row));
    for (auto it = offence.cbegin(); it != offence.cend(); ++it)
        record->insert(it.key(), it.value());

    const RecordMap position = app().getLocation();
    record->insert(Key::lat, position.value(Key::lat));
    record->insert(Key::long_, position.value(Key::long_));
    context().shift().applyDelivery(*record, app().getLaluLintas());

    // A traffic compound names the vehicle, not an offender: its set has no offender form.
    formSet_.present(navigation(), app().getLaluLintas(), false);
}

void KategoriViewController::simpan(int row) {
    if (row < 0 || row >= model_.count())
        return;
    const Favourite favourite = favouriteFor(*app().getDictionary(), model_.row(row));
    if (!app().favStore().insertIntoFav(favourite.record, favourite.title, favourite.subtitle))
        app().platform().alerts->show(
            {QStringLiteral("Gagal"),
             QStringLiteral("Kesalahan ini tidak dapat disimpan ke Simpanan dalam telefon. Sila cuba lagi."),
             {QStringLiteral("OK")},
             0,
             {}});
    // The row stays: the list is drawn again as it stands, and the swiped row closes.
    model_.setRows(model_.rows());
}

void KategoriViewController::semak() {
    flow_.semak();
}
