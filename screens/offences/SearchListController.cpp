#include "screens/offences/SearchListController.h"

#include "core/AppDelegate.h"
#include "screens/shell/AppContext.h"
#include "screens/shell/NavigationStack.h"

QString rowText(const QVariantMap& row, const QString& column) {
    const QVariant v = row.value(column);
    return v.isValid() && !v.isNull() ? v.toString() : QString();
}

SearchListController::SearchListController(QObject* parent) : ScreenController(parent) {}

void SearchListController::contextSet() {
    load();
}

void SearchListController::setRows(const DbRows& rows) {
    temp_ = rows;
    model_.setRows(rows);
}

void SearchListController::setSearching(bool on) {
    if (searching_ == on)
        return;
    searching_ = on;
    Q_EMIT searchingChanged();
}

void SearchListController::beginSearch() {
    setSearching(true);
}

void SearchListController::search() {
    // The full-list copy stays as it is: only Cancel brings it back.
    model_.setRows(searchRows(searchText_.text()));
}

void SearchListController::cancelSearch() {
    setSearching(false);
    searchText_.setText(QString());
    model_.setRows(temp_);
    Q_EMIT keyboardDismissed();
}
