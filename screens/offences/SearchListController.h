#pragma once

#include "core/SQLiteManager.h"
#include "screens/shell/KeyValueListModel.h"
#include "screens/shell/ScreenController.h"
#include "screens/shell/TextField.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>

// What the act list and the section list share: a list of lookup rows shown as title and subtitle, a
// copy of the full list the screen was given, and a search bar whose search replaces the shown rows and
// whose cancel brings the full list back exactly as it was first shown.
class SearchListController : public ScreenController {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("the common part of the act and section lists")
    Q_PROPERTY(KeyValueListModel* model READ model CONSTANT)
    Q_PROPERTY(TextField* searchText READ searchText CONSTANT)
    Q_PROPERTY(bool searching READ searching NOTIFY searchingChanged)
public:
    explicit SearchListController(QObject* parent = nullptr);

    KeyValueListModel* model() { return &model_; }
    TextField* searchText() { return &searchText_; }
    // The cancel button shows while a search is under way.
    bool searching() const { return searching_; }

    // The rows shown and the full-list copy, both set at once.
    void setRows(const DbRows& rows);
    const QList<QVariantMap>& shownRows() const { return model_.rows(); }

    // The officer started typing in the search bar: the cancel button shows.
    Q_INVOKABLE void beginSearch();
    // The keyboard's search key: the shown rows become the lookup's answer for the typed text.
    Q_INVOKABLE void search();
    // Cancel: the full list as it was first shown, the cancel button hidden, the typed text cleared.
    Q_INVOKABLE void cancelSearch();

Q_SIGNALS:
    void searchingChanged();
    // The view gives up the keyboard.
    void keyboardDismissed();

protected:
    void contextSet() override;
    // The screen's lookup for the typed text.
    virtual DbRows searchRows(const QString& /*text*/) { return {}; }
    // Called once both the shared services and the screen's input are there, and when the input changes.
    virtual void load() {}

    KeyValueListModel model_;

private:
    void setSearching(bool on);

    TextField searchText_;
    DbRows temp_;
    bool searching_ = false;
};

// Text of a lookup value as the record holds it: a number reads as its digits, a missing or null value as
// nothing.
QString rowText(const QVariantMap& row, const QString& column);
