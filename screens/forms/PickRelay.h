#pragma once

#include "core/PickListRelay.h"
#include "core/Record.h"
#include "screens/shell/TextField.h"

#include <QObject>
#include <QPointer>
#include <QString>

class AppDelegate;

// The pick list's relay between a form and the sheet: the form opens a list for one of its fields with
// the record key its code goes under, the sheet shows the items and hands back the row picked, and the
// relay writes the code and the field and, on closing, the label the key table pairs with that code.
// One list at a time: while a list is open another open is refused (false), and a pick or a close with no
// list open does nothing, so a late or doubled call never writes into a field or a record that another
// list, or no list, is about. One relay serves a hub's forms and sheet: `of` finds or makes it.
class PickRelay : public QObject, public PickListRelay {
    Q_OBJECT
public:
    static PickRelay& of(AppDelegate& hub);

    bool openDropDownList(const PickList& items, const QString& title, TextField* field,
                          const QString& type) override;
    // The field that shows a picked row's code (the witness's identity number).
    void setKeyTextField(TextField* codeField) override;
    PickList getDropListArray() const override { return items_; }
    void setTextField(const QString& label, const QString& code) override;
    void onClose() override;

    bool isDropDownListOpen() const { return open_; }
    QString currentType() const { return currentType_; }
    QString currentDDKey() const { return currentDDKey_; }

Q_SIGNALS:
    // The sheet is asked to present these items under this title.
    void dropDownListRequested(const QString& title, const PickList& items);

private:
    explicit PickRelay(AppDelegate& hub);
    void writeLabel(RecordMap& record);

    AppDelegate& hub_;
    PickList items_;
    QPointer<TextField> generalTextField_;
    QPointer<TextField> keyTextField_;
    QString currentType_;
    QString currentDDKey_;
    // The record current when the list opened: a choice lands there even if the record is replaced meanwhile.
    Record record_;
    bool open_ = false;
    bool picked_ = false;
};
