#pragma once

#include "core/FavouriteStore.h"
#include "screens/forms/FormSet.h"
#include "screens/issuing/IssuingFlow.h"
#include "screens/offences/SearchListController.h"

#include <QStringList>

// The sections (offences) of the chosen act, titled with the act's code. Choosing one writes the offence
// and its amounts into the record, reads the position and opens the form set; swiping one saves it as a
// favourite. The form set's "Semak" comes back here, and the review's "Cetak": the compound is confirmed,
// stored, printed and numbered from here.
class KategoriViewController : public SearchListController {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString actId READ actId WRITE setActId NOTIFY actIdChanged)
    Q_PROPERTY(FormSet* formSet READ formSet CONSTANT)
public:
    explicit KategoriViewController(QObject* parent = nullptr);

    // The act whose sections are listed (`akta_id`).
    QString actId() const { return actId_; }
    void setActId(const QString& id);

    // Sets the shown list and the full-list copy.
    void setKetegoriArray(const DbRows& rows) { setRows(rows); }
    FormSet* formSet() { return &formSet_; }
    IssuingFlow& flow() { return flow_; }

    // The row title: "code-title" of the section.
    static QString kesalahanText(const QVariantMap& section);
    // The favourite entry of a section, with the compound's type and act from the record.
    static Favourite favouriteFor(const RecordMap& record, const QVariantMap& section);

    // A section chosen: the offence into the record, the position read, the form set pushed.
    Q_INVOKABLE void select(int row);
    // "Simpan" on a swiped row: the section saved as a favourite; the list stays as it is.
    Q_INVOKABLE void simpan(int row);
    // "Semak" on the form set: the time of issue stamped when missing, the checks, then the review.
    Q_INVOKABLE void semak();
    // The review's "Cetak": asks for confirmation; "Ya" stores, prints and numbers the compound.
    Q_INVOKABLE void cetak() { flow_.cetak(); }
    // Prints the current record again and offers the after-print menu.
    void cetakExe() { flow_.cetakExe(); }

Q_SIGNALS:
    void actIdChanged();

protected:
    DbRows searchRows(const QString& text) override;
    void load() override;

private:
    QString actId_;
    FormSet formSet_;
    IssuingFlow flow_;
};
