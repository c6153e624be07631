#include "screens/offences/SectionKesalahanViewController.h"

#include "core/AppDelegate.h"
#include "core/RecordKeys.h"
#include "screens/shell/NavigationStack.h"
#include "screens/shell/ScreenNames.h"

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
    // While the view is being made the services may still be on their way: they load it when they come.
    if (ready())
        load();
}

void SectionKesalahanViewController::load() {
    if (!typeCode_.isEmpty())
        setKesalahanArray(app().lookups().getKeslahan(typeCode_));
}

DbRows SectionKesalahanViewController::searchRows(const QString& text) {
    return app().lookups().getKeslahanSearch(app().getDictionary()->value(Key::JenisKompaunID), text);
}

void SectionKesalahanViewController::select(int row) {
    if (row < 0 || row >= model_.count())
        return;
    const QVariantMap act = model_.row(row);
    const Record record = app().getDictionary();
    const QString kodAkta = rowText(act, QStringLiteral("kod_akta"));
    const QString aktaId = rowText(act, QStringLiteral("akta_id"));
    record->insert(Key::akta, kodAkta);
    record->insert(Key::aktaID, aktaId);
    if (navigation())
        navigation()->push(Screen::kategori, kodAkta, {{QStringLiteral("actId"), aktaId}});
}
