#pragma once

#include "core/FavouriteStore.h"
#include "screens/SearchListController.h"

#include <QStringList>

// The sections (offences) of the chosen act, titled with the act's code. Choosing one writes the offence
// and its amounts into the record, reads the position and opens the form set; swiping one saves it as a
// favourite. The form set's "Semak" comes back here.
class KategoriViewController : public SearchListController {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString actId READ actId WRITE setActId NOTIFY actIdChanged)
    Q_PROPERTY(QStringList formTitles READ formTitles NOTIFY formSetChanged)
    Q_PROPERTY(QStringList formScreens READ formScreens NOTIFY formSetChanged)
public:
    explicit KategoriViewController(QObject* parent = nullptr);

    // The act whose sections are listed (`akta_id`).
    QString actId() const { return actId_; }
    void setActId(const QString& id);

    // Sets the shown list and the full-list copy.
    void setKetegoriArray(const DbRows& rows) { setRows(rows); }

    // The tabs of the form set opened last, by the traffic flag at the time: their titles and screens.
    QStringList formTitles() const { return formTitles_; }
    QStringList formScreens() const { return formScreens_; }

    // The row title: "code-title" of the section.
    static QString kesalahanText(const QVariantMap& section);
    // The favourite entry of a section, with the compound's type and act from the record.
    static Favourite favouriteFor(const RecordMap& record, const QVariantMap& section);

    // A section chosen: the offence into the record, the position read, the form set pushed.
    Q_INVOKABLE void select(int row);
    // "Simpan" on a swiped row: the section saved as a favourite; the list stays as it is.
    Q_INVOKABLE void simpan(int row);
    // "Semak" on the form set: a compound whose compound form never showed gets its time of issue now.
    Q_INVOKABLE void semak();

Q_SIGNALS:
    void actIdChanged();
    void formSetChanged();
    void semakRequested();

protected:
    DbRows searchRows(const QString& text) override;
    void load() override;

private:
    QString actId_;
    QStringList formTitles_;
    QStringList formScreens_;
};
