#pragma once

#include "core/Record.h"
#include "core/TextField.h"

#include "screens/AppContext.h"
#include "screens/NavigationStack.h"
#include "screens/ScreenController.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>

// What the four issuing forms share: the shared services and the tab's stack as collaborators, the
// record they show (taken from getDictionary each time the form comes to show, so the same form serves
// the compound being issued and a stored one), preview mode decided when the form first shows, and the
// calls the views make: end of editing, a background tap, leaving, and initForm.
class FormViewController : public ScreenController {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("the base of the issuing forms")
    Q_PROPERTY(bool preview READ preview NOTIFY loaded)
public:
    explicit FormViewController(QObject* parent = nullptr);

    bool preview() const { return preview_; }
    bool isLoaded() const { return loaded_; }

    // The form comes to show: the first time it also loads (fills itself, decides preview mode).
    Q_INVOKABLE void viewWillAppear();
    // The form is left (another tab of the set, another screen, another tab of the window).
    Q_INVOKABLE void viewWillDisappear();
    // A text field of this form finished editing.
    Q_INVOKABLE virtual void textFieldDidEndEditing(TextField* field);
    // A tap on the form's background: fields give up the keyboard, the form keeps what they hold.
    Q_INVOKABLE virtual void textViewDismissTaps();
    // Prepares the form for a new compound of the same offence.
    Q_INVOKABLE virtual void initForm();

Q_SIGNALS:
    void loaded();

protected:
    virtual void viewDidLoad() {}
    virtual void willAppear() {}
    virtual void willDisappear() {}

    // The record this form shows; null until it first shows.
    const Record& record() const { return record_; }
    QString value(QLatin1String key) const;
    void write(QLatin1String key, const QString& value);
    void fill(TextField& field, QLatin1String key) const { field.setText(value(key)); }
    // Opens a pick list through the relay; false when none could open (another is open).
    bool openList(const PickList& items, const QString& title, TextField& field, QLatin1String type);
    static void upperInPlace(TextField& field) { field.setText(field.text().toUpper()); }

private:
    Record record_;
    bool loaded_ = false;
    bool preview_ = false;
};
