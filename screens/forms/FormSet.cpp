#include "screens/forms/FormSet.h"

#include "core/RecordKeys.h"
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

QString FormSet::firstMissingField(QObject* page) const {
    const auto* form =
        page ? page->findChild<FormViewController*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    return form ? form->firstMissingField() : QString();
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

int FormSet::tabOf(QLatin1String key) const {
    // The fields "Semak" may name, by the form that holds them.
    QLatin1String screen;
    if (key == Key::noKadPengenalanPesalah || key == Key::noDaftarSyarikat || key == Key::namaPesalah ||
        key == Key::alamat1Pesalah)
        screen = Screen::maklumatPersalah;
    else if (key == Key::kesalahan || key == Key::kompaunKadar)
        screen = Screen::kompoun;
    else if (key == Key::kenderaanNoKenderaan)
        screen = Screen::kenderaan;
    else if (key == Key::lokasiTempatKejadian || key == Key::lokasiKawasan || key == Key::lokasiJalan)
        screen = Screen::lokasi;
    return screen.isEmpty() ? -1 : int(screens_.indexOf(QString(screen)));
}

void FormSet::showField(QLatin1String key) {
    const int tab = tabOf(key);
    if (tab >= 0)
        Q_EMIT fieldRequested(tab, QString(key) + QStringLiteral("Field"));
}
