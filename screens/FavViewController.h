#pragma once

#include "core/FavouriteStore.h"
#include "screens/FormSet.h"
#include "screens/IssuingFlow.h"
#include "screens/KeyValueListModel.h"

#include <QObject>
#include <QPointer>
#include <QtQml/qqmlregistration.h>

class AppContext;
class AppDelegate;
class NavigationStack;

// "Simpanan": the favourite offences. Choosing one starts a fresh compound for that offence and opens
// the form set directly; "Padam" on a swiped row deletes it. The form set's "Semak", the review's
// "Cetak" and the after-print menu come back here, as they do to the section list.
class FavViewController : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(AppContext* context READ context WRITE setContext NOTIFY contextChanged)
    Q_PROPERTY(NavigationStack* navigation READ navigation WRITE setNavigation NOTIFY navigationChanged)
    Q_PROPERTY(KeyValueListModel* model READ model CONSTANT)
    Q_PROPERTY(FormSet* formSet READ formSet CONSTANT)
public:
    explicit FavViewController(QObject* parent = nullptr);

    AppContext* context() const;
    void setContext(AppContext* context);
    NavigationStack* navigation() const;
    void setNavigation(NavigationStack* navigation);
    KeyValueListModel* model() { return &model_; }
    FormSet* formSet() { return &formSet_; }
    IssuingFlow& flow() { return flow_; }
    const FavouriteList& array() const { return array_; }

    // The offence keys a favourite writes into the record.
    static RecordMap offenceOf(const RecordMap& favourite);

    // Each time the list shows: read again from the store.
    Q_INVOKABLE void viewWillAppear();
    // "Padam" on a swiped row.
    Q_INVOKABLE void padam(int row);
    // A favourite chosen: a fresh record for its offence, the form set opened.
    Q_INVOKABLE void select(int row);
    // "Semak" on the form set: the same checks as the section list's, then the review.
    Q_INVOKABLE void semak() { flow_.semak(); }
    // The review's "Cetak".
    Q_INVOKABLE void cetak() { flow_.cetak(); }
    void cetakExe() { flow_.cetakExe(); }

Q_SIGNALS:
    void contextChanged();
    void navigationChanged();

private:
    AppDelegate* app() const;
    void reload();

    QPointer<AppContext> context_;
    QPointer<NavigationStack> navigation_;
    KeyValueListModel model_;
    FavouriteList array_;
    FormSet formSet_;
    IssuingFlow flow_;
};
