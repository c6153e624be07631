#pragma once

#include "core/Record.h"

#include <QString>

// A screen's text field; the type lives with the screens, the hub only passes it on.
class TextField;

// The pick-list relay under the operation names the hub has always offered. Its state (the fields the
// open list writes, its type, the record a pick lands in) lives beside the forms, in the relay the forms
// make; the hub only forwards to it.
class PickListRelay {
public:
    virtual bool openDropDownList(const PickList& items, const QString& title, TextField* field,
                                  const QString& type) = 0;
    virtual void setKeyTextField(TextField* codeField) = 0;
    virtual PickList getDropListArray() const = 0;
    virtual void setTextField(const QString& label, const QString& code) = 0;
    virtual void onClose() = 0;

protected:
    ~PickListRelay() = default;
};
