#include "screens/FormViewController.h"

#include "core/AppDelegate.h"
#include "screens/AppContext.h"
#include "screens/NavigationStack.h"

FormViewController::FormViewController(QObject* parent) : ScreenController(parent) {}

void FormViewController::viewWillAppear() {
    AppDelegate* hub = app();
    if (!hub)
        return;
    record_ = hub->getDictionary();
    if (!loaded_) {
        loaded_ = true;
        preview_ = hub->getPreviewIndcator();
        viewDidLoad();
        Q_EMIT loaded();
    }
    willAppear();
}

void FormViewController::viewWillDisappear() {
    if (record_)
        willDisappear();
}

void FormViewController::textFieldDidEndEditing(TextField*) {}
void FormViewController::textViewDismissTaps() {}
void FormViewController::initForm() {}

QString FormViewController::value(QLatin1String key) const {
    return record_ ? record_->value(key) : QString();
}

void FormViewController::write(QLatin1String key, const QString& value) {
    // A stored compound is shown, never edited: what a re-print or the upload sends is what was stored.
    if (record_ && !preview_)
        record_->insert(key, value);
}

bool FormViewController::openList(const PickList& items, const QString& title, TextField& field,
                                  QLatin1String type) {
    AppDelegate* hub = app();
    // A pick would write into the stored compound's record.
    return record_ && !preview_ && hub && hub->openDropDownList(items, title, &field, type);
}
