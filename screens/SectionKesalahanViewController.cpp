#include "screens/SectionKesalahanViewController.h"

#include "core/AppDelegate.h"
#include "core/RecordKeys.h"
#include "screens/NavigationStack.h"
#include "screens/ScreenNames.h"

SectionKesalahanViewController::SectionKesalahanViewController(QObject* parent)
    : SearchListController(parent) {
    model_.setTitleFormat(KeyValueListModel::column(QStringLiteral("kod_akta")));
    model_.setSubtitleFormat(KeyValueListModel::column(QStringLiteral("butir_akta")));
    model_.setKeyFormat(KeyValueListModel::column(QStringLiteral("akta_id")));
}

void SectionKesalahanViewController::setTypeCode(const QString& code) {
    if (typeCode_ == code)
        return;
    typeCode_ = code;
    Q_EMIT typeCodeChanged();
    load();
}

void SectionKesalahanViewController::load() {
    if (app() && !typeCode_.isEmpty())
        setKesalahanArray(app()->lookups().getKeslahan(typeCode_));
}

DbRows SectionKesalahanViewController::searchRows(const QString& text) {
    return app()->lookups().getKeslahanSearch(app()->getDictionary()->value(Key::JenisKompaunID), text);
}

void SectionKesalahanViewController::select(int row) {
    AppDelegate* core = app();
    if (!core || row < 0 || row >= model_.count())
        return;
    const QVariantMap act = model_.row(row);
    const Record record = core->getDictionary();
    const QString kodAkta = rowText(act, QStringLiteral("kod_akta"));
    const QString aktaId = rowText(act, QStringLiteral("akta_id"));
    record->insert(Key::akta, kodAkta);
    record->insert(Key::aktaID, aktaId);
    if (navigation())
        navigation()->push(Screen::kategori, kodAkta, {{QStringLiteral("actId"), aktaId}});
}
