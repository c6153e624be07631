#include "screens/offences/CompoundTypesViewController.h"

#include "core/AppDelegate.h"
#include "core/RecordKeys.h"
#include "screens/offences/SearchListController.h"
#include "screens/shell/AppContext.h"
#include "screens/shell/NavigationStack.h"
#include "screens/shell/ScreenNames.h"

#include <array>

CompoundTypesViewController::CompoundTypesViewController(QObject* parent) : ScreenController(parent) {
    model_.setTitleFormat(KeyValueListModel::column(QStringLiteral("butiran")));
    model_.setKeyFormat(KeyValueListModel::column(QStringLiteral("kod_jeniskmp")));
    model_.setPictureFormat([](const QVariantMap&, int index) { return pictureFor(index); });
}

void CompoundTypesViewController::contextSet() {
    // The types are read once, when the screen is made; they never change while the application runs.
    model_.setRows(app().lookups().getAkta());
}

QString CompoundTypesViewController::pictureFor(int row) {
    static const std::array<const char*, 6> pictures{"laulintas.png",     "bylawkenderaan.png",
                                                     "bylawOffender.png", "sitaan.png",
                                                     "kesenakmen.png",    "kesihatan.png"};
    return row >= 0 && row < int(pictures.size()) ? QLatin1String(pictures[size_t(row)]) : QString();
}

void CompoundTypesViewController::viewWillAppear() {
    app().cleanUserChoiceGlobal();
    app().saveDictionaryInit();
}

void CompoundTypesViewController::markTraffic(AppDelegate& app, int row) {
    app.setLaluLintas(row == 0);
    app.getDictionary()->insert(Key::isLaluLintas,
                                row == 0 || row == 1 ? QStringLiteral("YA") : QStringLiteral("TIDAK"));
}

bool CompoundTypesViewController::trafficNotice(AppDelegate& app, const RecordMap& record) {
    const QString type = record.value(Key::JenisKompaunID);
    const DbRows types = app.lookups().getAkta();
    for (int i = 0; i < types.size(); ++i)
        if (!type.isEmpty() && rowText(types[i], QStringLiteral("kod_jeniskmp")) == type)
            return i == 0;
    return record.value(Key::isLaluLintas) == QLatin1String("YA");
}

void CompoundTypesViewController::select(int row) {
    if (row < 0 || row >= model_.count())
        return;
    // A number that may repeat one already given issues nothing; the officer is told why.
    if (!app().readyToIssue())
        return;
    const QVariantMap type = model_.row(row);
    const Record record = app().getDictionary();
    markTraffic(app(), row);
    const QString butiran = rowText(type, QStringLiteral("butiran"));
    const QString code = rowText(type, QStringLiteral("kod_jeniskmp"));
    record->insert(Key::JenisKompaun, butiran);
    record->insert(Key::JenisKompaunID, code);
    if (navigation_)
        navigation_->push(Screen::sectionKesalahan, butiran, {{QStringLiteral("typeCode"), code}});
}
