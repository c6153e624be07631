#include "screens/forms/FormViewController.h"

#include "core/AppDelegate.h"
#include "core/RecordKeys.h"
#include "core/SQLiteManager.h"
#include "screens/forms/PickRelay.h"
#include "screens/shell/AppContext.h"
#include "screens/shell/NavigationStack.h"

FormViewController::FormViewController(QObject* parent) : ScreenController(parent) {}

void FormViewController::viewWillAppear() {
    record_ = app().getDictionary();
    if (!loaded_) {
        loaded_ = true;
        preview_ = app().getPreviewIndcator();
        fillRows();
        viewDidLoad();
        Q_EMIT loaded();
    }
    willAppear();
}

void FormViewController::viewWillDisappear() {
    if (record_) {
        writeRows();
        willDisappear();
    }
}

void FormViewController::fill(QLatin1String key) {
    if (TextField* text = field(key)) {
        text->setText(value(key));
        synced_.insert(key, text->text());
    }
}

QString FormViewController::fieldText(const QString& key) const {
    const QByteArray latin = key.toLatin1();
    const TextField* text = field(QLatin1String(latin));
    return text ? text->text() : QString();
}

QString FormViewController::firstMissingField() const {
    if (preview_)
        return {};
    for (const FormRow& row : fields_.rows())
        if (row.kind == FormRow::Text && fields_.required(row.key) && fields_.shown(row.key) &&
            field(row.key)->text().trimmed().isEmpty())
            return QString(row.key) + QStringLiteral("Field");
    return {};
}

void FormViewController::fillRows() {
    for (const FormRow& row : fields_.rows())
        if (row.isInput() || row.kind == FormRow::Value || row.kind == FormRow::Switch)
            fill(row.key);
    syncedWith_ = record_.get();
}

void FormViewController::writeRows() {
    const bool all = syncedWith_ != record_.get();
    for (const FormRow& row : fields_.rows()) {
        if (!row.isInput())
            continue;
        const QString text = field(row.key)->text();
        const auto synced = synced_.constFind(row.key);
        if (all || synced == synced_.cend() || *synced != text) {
            write(row.key, row.upper() ? text.toUpper() : text);
            synced_.insert(row.key, text);
        }
    }
    syncedWith_ = record_.get();
}

void FormViewController::textFieldDidEndEditing(TextField* text) {
    if (!record_)
        return;
    if (text)
        upperInPlace(*text);
    fillIn();
    writeRows();
}

bool FormViewController::fillFromPicture(const QList<std::pair<QLatin1String, QString>>& read) {
    if (!record_ || preview_)
        return false;
    bool any = false;
    for (const auto& [key, text] : read) {
        if (text.isEmpty() || !fields_.field(key))
            continue;
        fields_.setFromPicture(key, text);
        any = true;
    }
    if (any) {
        fillIn();
        writeRows();
    }
    return any;
}

void FormViewController::textViewDismissTaps() {
    if (record_)
        writeRows();
}

void FormViewController::initForm() {
    for (const FormRow& row : fields_.rows())
        if (row.isInput() && !row.kept())
            field(row.key)->setText(QString());
}

void FormViewController::pick(const QString& key) {
    const QByteArray latin = key.toLatin1();
    const QLatin1String name(latin);
    const FormRow* row = fields_.row(name);
    if (!row || row->kind != FormRow::Pick || !fields_.shown(name) || !record_ || preview_)
        return;
    const bool opened = openList(listItems(row->list), row->listTitle.isEmpty() ? row->label : row->listTitle,
                                 *field(row->key), row->codeKey());
    listOpened(*row, opened);
}

void FormViewController::choose(const QString& key, int index) {
    const QByteArray latin = key.toLatin1();
    const FormRow* row = fields_.row(QLatin1String(latin));
    if (!row || row->kind != FormRow::Switch || !record_ || preview_ || index < 0 ||
        index >= row->options.size())
        return;
    const QString choice = row->options.at(index).toLower();
    field(row->key)->setText(choice);
    write(row->key, choice);
}

// The rows of each reference list as label and code; a list that follows another choice (models of a
// type, streets of an area) is empty until that choice is made.
PickList FormViewController::listItems(FormRow::List list) const {
    ReferenceData& lookups = app().lookups();
    const auto rows = [](const DbRows& found, const char* label, const char* code) {
        PickList items;
        for (const DbRow& row : found)
            items.append({SQLiteManager::text(row.value(QLatin1String(label))),
                          SQLiteManager::text(row.value(QLatin1String(code)))});
        return items;
    };
    switch (list) {
    case FormRow::JenisKenderaan:
        return ReferenceData::paramItems(lookups.jenisKenderaan());
    case FormRow::JenisModel: {
        const QString type = value(Key::kenderaanJenisKenderaanID);
        return type.isEmpty() ? PickList() : ReferenceData::paramItems(lookups.jenisModel(type));
    }
    case FormRow::JenisWarna:
        return ReferenceData::paramItems(lookups.jenisWarna());
    case FormRow::Kawasan:
        return rows(lookups.getKawasan(), "short_desc", "kodkaw");
    case FormRow::Jalan: {
        const QString area = value(Key::lokasiKawasanID);
        return area.isEmpty() ? PickList() : rows(lookups.getLokasi(area), "prgn", "kodjalan");
    }
    case FormRow::Saksi:
        return rows(lookups.getPenguatkuasa(), "peng_nama", "peng_ic");
    case FormRow::Negeri:
        return rows(lookups.getNegeri(), "negeri", "kod_negeri");
    case FormRow::CaraPenyerahan:
        return ReferenceData::caraPenyerahan();
    case FormRow::NoList:
        break;
    }
    return {};
}

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
    // A pick would write into the stored compound's record.
    return record_ && !preview_ && PickRelay::of(app()).openDropDownList(items, title, &field, type);
}
