#pragma once

#include "core/Record.h"
#include "screens/shell/TextField.h"

#include "screens/forms/FormFieldModel.h"
#include "screens/shell/AppContext.h"
#include "screens/shell/NavigationStack.h"
#include "screens/shell/ScreenController.h"

#include <QHash>
#include <QObject>
#include <QtQml/qqmlregistration.h>

// What the four issuing forms share: the shared services and the tab's stack as collaborators, the
// record they show (taken from getDictionary each time the form comes to show, so the same form serves
// the compound being issued and a stored one), preview mode decided when the form first shows, and the
// calls the views make: end of editing, a background tap, leaving, and initForm. Each form is a table of
// rows (FormRow): the base fills them from the record, writes them back when editing ends, on a tap on
// the background and when the form is left, opens their lists and clears them for the next compound.
class FormViewController : public ScreenController {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("the base of the issuing forms")
    Q_PROPERTY(bool preview READ preview NOTIFY loaded)
    Q_PROPERTY(FormFieldModel* fields READ fields CONSTANT)
public:
    explicit FormViewController(QObject* parent = nullptr);

    bool preview() const { return preview_; }
    FormFieldModel* fields() { return &fields_; }
    // The text of the row with that key (null if the form has no such row).
    TextField* field(QLatin1String key) const { return fields_.field(key); }
    bool shown(QLatin1String key) const { return fields_.shown(key); }
    // What the row with that key shows.
    Q_INVOKABLE QString fieldText(const QString& key) const;
    // The objectName of the first field "Semak" asks for that is still empty (where the officer starts
    // typing); empty when none is, and in a stored compound.
    Q_INVOKABLE QString firstMissingField() const;

    // The form comes to show: the first time it also loads (fills itself, decides preview mode).
    Q_INVOKABLE void viewWillAppear();
    // The form is left (another tab of the set, another screen, another tab of the window).
    Q_INVOKABLE void viewWillDisappear();
    // A text field of this form finished editing: it is upper-cased, and every row is written.
    Q_INVOKABLE void textFieldDidEndEditing(TextField* field);
    // A tap on the form's background: fields give up the keyboard, the form keeps what they hold.
    Q_INVOKABLE void textViewDismissTaps();
    // Prepares the form for a new compound of the same offence: rows not kept are emptied.
    Q_INVOKABLE virtual void initForm();
    // The pick field with that key: its list.
    Q_INVOKABLE void pick(const QString& key);
    // A switch row's choice (by position).
    Q_INVOKABLE void choose(const QString& key, int index);
    // An action row was tapped.
    Q_INVOKABLE virtual void action(const QString& name) { Q_UNUSED(name) }

Q_SIGNALS:
    void loaded();

protected:
    virtual void viewDidLoad() {}
    virtual void willAppear() {}
    virtual void willDisappear() {}
    // Before the rows are written at the end of an editing: fields that follow from others fill in.
    virtual void fillIn() {}
    // A pick list opened (or not) for that row.
    virtual void listOpened(const FormRow& row, bool opened) {
        Q_UNUSED(row)
        Q_UNUSED(opened)
    }
    void setRows(QList<FormRow> rows) { fields_.setRows(std::move(rows)); }
    void setShown(QLatin1String key, bool shown) { fields_.setShown(key, shown); }
    void setRequired(QLatin1String key, bool required) { fields_.setRequired(key, required); }
    // Fields read from a picture: each non-empty one filled and marked, then written as an end of
    // editing writes (the postcode fills its town and state); false when none was given.
    bool fillFromPicture(const QList<std::pair<QLatin1String, QString>>& read);
    void fillRows();
    // Every input row the officer changed into the record (every one, for a record not yet written).
    void writeRows();

    // The record this form shows; null until it first shows.
    const Record& record() const { return record_; }
    QString value(QLatin1String key) const;
    void write(QLatin1String key, const QString& value);
    void fill(QLatin1String key);
    // Opens a pick list through the relay; false when none could open (another is open).
    bool openList(const PickList& items, const QString& title, TextField& field, QLatin1String type);
    static void upperInPlace(TextField& field) { field.setText(field.text().toUpper()); }

private:
    PickList listItems(FormRow::List list) const;

    FormFieldModel fields_;
    // What each row held when it was last filled from or written to the record, and which record that
    // was: a row the officer has not changed is not written back over what another screen wrote since.
    QHash<QString, QString> synced_;
    const RecordMap* syncedWith_ = nullptr;
    Record record_;
    bool loaded_ = false;
    bool preview_ = false;
};
