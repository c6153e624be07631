#pragma once

#include "core/FavouriteStore.h"
#include "screens/forms/FormSet.h"
#include "screens/issuing/IssuingFlow.h"
#include "screens/shell/KeyValueListModel.h"
#include "screens/shell/ScreenController.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>

// "Simpanan": the favourite offences. Choosing one starts a fresh compound for that offence and opens
// the form set directly; "Padam" on a swiped row deletes it. The form set's "Semak", the review's
// "Cetak" and the after-print menu come back here, as they do to the section list.
class FavViewController : public ScreenController {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(KeyValueListModel* model READ model CONSTANT)
    Q_PROPERTY(FormSet* formSet READ formSet CONSTANT)
public:
    explicit FavViewController(QObject* parent = nullptr);

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

private:
    void reload();

    KeyValueListModel model_;
    FavouriteList array_;
    FormSet formSet_;
    IssuingFlow flow_;
};
