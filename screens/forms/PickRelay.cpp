#include "screens/forms/PickRelay.h"

#include "core/AppDelegate.h"
#include "core/RecordKeys.h"
#include "platform/Log.h"

#include <utility>

PickRelay& PickRelay::of(AppDelegate& hub) {
    if (auto* relay = hub.findChild<PickRelay*>(QString(), Qt::FindDirectChildrenOnly))
        return *relay;
    return *new PickRelay(hub);
}

PickRelay::PickRelay(AppDelegate& hub) : QObject(&hub), hub_(hub) {
    hub.setPickListRelay(*this);
}

bool PickRelay::openDropDownList(const PickList& items, const QString& title, TextField* field,
                                 const QString& type) {
    if (open_) {
        hub_.platform().log->write(
            QStringLiteral("pick list \"%1\" refused: \"%2\" is still open").arg(title, currentType_));
        return false;
    }
    open_ = true;
    picked_ = false;
    record_ = hub_.getDictionary();
    currentType_ = type;
    currentDDKey_.clear();
    items_ = items;
    generalTextField_ = field;
    keyTextField_ = nullptr;
    Q_EMIT dropDownListRequested(title, items_);
    return true;
}

void PickRelay::setKeyTextField(TextField* codeField) {
    if (open_ && !picked_)
        keyTextField_ = codeField;
}

void PickRelay::setTextField(const QString& label, const QString& code) {
    if (!open_ || picked_)
        return;
    picked_ = true;
    record_->insert(currentType_, code);
    if (generalTextField_)
        generalTextField_->setText(label);
    if (keyTextField_)
        keyTextField_->setText(code);
    currentDDKey_ = code;
}

void PickRelay::onClose() {
    if (!open_)
        return;
    open_ = false;
    const Record record = std::exchange(record_, nullptr);
    writeLabel(*record);
    generalTextField_ = nullptr;
    keyTextField_ = nullptr;
}

// The label key the table pairs with the list's code key gets the field's text upper-cased.
void PickRelay::writeLabel(RecordMap& record) {
    const QByteArray latin = currentType_.toLatin1();
    const RecordKey* row = RecordKeys::pickedInto(QLatin1String(latin));
    if (!row || !generalTextField_ || (row->label == RecordKey::WhenPicked && !picked_))
        return;
    QString shown = generalTextField_->text();
    if (row->key == Key::lokasiJalan) {
        // Street items read "code-name": only the name is kept, dashes inside the name included.
        const qsizetype dash = shown.indexOf(QLatin1Char('-'));
        if (dash >= 0)
            shown = shown.mid(dash + 1);
    }
    shown = shown.toUpper();
    generalTextField_->setText(shown);
    record.insert(row->key, shown);
    if (row->key == Key::lokasiNamaSaksi && keyTextField_) {
        const QString ic = keyTextField_->text().toUpper();
        keyTextField_->setText(ic);
        record.insert(Key::lokasiICSaksi, ic);
    }
}
