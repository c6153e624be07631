#include "screens/forms/FormSet.h"

#include "screens/forms/FormViewController.h"
#include "screens/shell/NavigationStack.h"
#include "screens/shell/ScreenNames.h"

FormSet::FormSet(QObject* parent) : QObject(parent) {}

void FormSet::open(bool traffic, bool preview) {
    if (traffic) {
        titles_ = {QStringLiteral("Kenderaan"), QStringLiteral("Kompaun"), QStringLiteral("Lokasi")};
        screens_ = {Screen::kenderaan, Screen::kompoun, Screen::lokasi};
    } else {
        titles_ = {QStringLiteral("Pesalah"), QStringLiteral("Kompaun"), QStringLiteral("Lokasi"),
                   QStringLiteral("Kenderaan")};
        screens_ = {Screen::maklumatPersalah, Screen::kompoun, Screen::lokasi, Screen::kenderaan};
    }
    preview_ = preview;
    cancelled_ = false;
    pages_.clear();
    Q_EMIT changed();
}

void FormSet::present(NavigationStack* navigation, bool traffic, bool preview) {
    open(traffic, preview);
    if (navigation)
        navigation->push(Screen::formSet, QStringLiteral("Maklumat"),
                         {{QStringLiteral("formSet"), QVariant::fromValue(this)}});
}

void FormSet::setCancelled(bool cancelled) {
    if (cancelled_ == cancelled)
        return;
    cancelled_ = cancelled;
    Q_EMIT changed();
}

void FormSet::formLoaded(QObject* page) {
    if (page && !pages_.contains(page))
        pages_.append(page);
}

QList<FormViewController*> FormSet::forms() const {
    QList<FormViewController*> all;
    for (const QPointer<QObject>& page : pages_)
        if (page)
            all += page->findChildren<FormViewController*>(Qt::FindDirectChildrenOnly);
    return all;
}

void FormSet::initForms() const {
    for (FormViewController* form : forms())
        form->initForm();
}
