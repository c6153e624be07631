#include "core/AppDelegate.h"

#include "core/DatabaseInstaller.h"
#include "core/FileAside.h"
#include "core/TextField.h"
#include "platform/Alerts.h"
#include "platform/Files.h"
#include "platform/Log.h"
#include "platform/Progress.h"

#include <QFileInfo>
#include <QFutureWatcher>
#include <QTimeZone>
#include <QtConcurrent/QtConcurrentRun>
#include <utility>

namespace {

QString documents(const Platform& p) {
    return p.files ? p.files->documentsDir() : QString();
}

// The keys of a fresh record in the order they are written, all starting as "", and whether the re-use
// reset empties them (the offender and recipient, the position, the old compound, the place and the
// vehicle) or keeps them (the offence, its amounts, the delivery method). The number, its dates and the
// officer are written again by both.
struct KeyRule {
    const char* key;
    bool emptiedOnReuse;
};
const KeyRule recordKeys[] = {{"status_batal", false},
                              {"JenisKompaun", false},
                              {"JenisKompaunID", false},
                              {"akta", false},
                              {"aktaID", false},
                              {"kesalahan", false},
                              {"kesalahanID", false},
                              // Kept: the offender form's switch keeps showing it for the next offender.
                              {"pilihanIndividuAtauSyarikat", false},
                              {"noDaftarSyarikat", true},
                              {"lokasiLesenPerniagaan", true},
                              {"noKadPengenalanPesalah", true},
                              {"namaPesalah", true},
                              {"alamat1Pesalah", true},
                              {"alamat2Pesalah", true},
                              {"poskodPesalah", true},
                              {"alamat3Pesalah", true},
                              {"negeriPesalah", true},
                              {"negeriPesalahID", true},
                              {"noKadPengenalanPenerima", true},
                              {"namaPenerima", true},
                              {"alamat1Penerima", true},
                              {"alamat2Penerima", true},
                              {"poskodPenerima", true},
                              {"alamat3Penerima", true},
                              {"negeriPenerima", true},
                              {"negeriPenerimaID", true},
                              {"lat", true},
                              {"long", true},
                              {"kompaunLama", true},
                              {"kompaunRunningNumber", false},
                              {"kompaunTarikh", false},
                              {"kompaunTamatTawaran", false},
                              {"kompaunButiranKesalahan", false},
                              {"kompaunKadar", false},
                              {"kompaunKadarTawaran", false},
                              {"kompaunCaraPenyerahan", false},
                              {"kompaunCaraPenyerahanID", false},
                              {"lokasiTempatKejadian", true},
                              {"lokasiNoPetak", true},
                              {"lokasiNamaSaksi", true},
                              {"lokasiICSaksi", true},
                              {"kenderaanNoKenderaan", true},
                              {"kenderaanNoCukaiJalan", true},
                              {"kenderaanJenisKenderaan", true},
                              {"kenderaanJenisKenderaanID", true},
                              {"kenderaanJenisModel", true},
                              {"kenderaanJenisModelID", true},
                              {"kenderaanJenisWarna", true},
                              {"kenderaanJenisWarnaID", true},
                              {"kenderaanNoChasis", true}};

} // namespace

AppDelegate::AppDelegate(Platform platform, const Clock* clock, QObject* parent)
    : QObject(parent), platform_(platform.complete()), clock_(clock ? clock : &defaultClock_),
      db_(QStringLiteral("new_tvr.sqlite"), platform.files, platform.log), lookups_(db_, platform.log),
      saveStore_(documents(platform), platform.log), favStore_(documents(platform), platform.log),
      running_(documents(platform), saveStore_, platform.log),
      device_(lookups_, platform.alerts, platform.files), position_(platform.positioning),
      saveDictionary_(makeRecord()), previewDictionary_(makeRecord()) {}

AppDelegate::~AppDelegate() {
    importing_.waitForFinished();
}

void AppDelegate::startUpData() {
    imageArray_.clear();
    // Nothing writes yet, so whatever temporary file lies beside the stores was left by a killed write.
    removeStaleTemporaries(documents(platform_), platform_.log);
    if (platform_.files)
        transferDb(*platform_.files, platform_.log);
    // A database of an earlier release keeps the officers' passwords in clear.
    lookups_.convertClearPasswords();
    setPreviewIndicator(false);
}

void AppDelegate::startUpStores(std::function<void()> done) {
    // A store left by an earlier version comes in first, so the running number counts its compounds.
    if (!done || !QFile::exists(saveStore_.oldPath())) {
        storesReady(saveStore_.migrateOldFile());
        if (done)
            done();
        return;
    }
    // The overlay keeps the officer from issuing until the imported compounds are counted.
    platform_.progress->show(QStringLiteral("Memindahkan Kompaun Lama"));
    auto* watcher = new QFutureWatcher<SavedCompoundStore::Migration>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, done = std::move(done)] {
        watcher->deleteLater();
        platform_.progress->hide();
        storesReady(watcher->result());
        done();
    });
    importing_ = QtConcurrent::run([this] {
        return saveStore_.migrateOldFile([this](int n, int total) {
            platform_.progress->setDetail(QStringLiteral("%1 / %2").arg(n).arg(total));
        });
    });
    watcher->setFuture(importing_);
}

void AppDelegate::storesReady(const SavedCompoundStore::Migration& migration) {
    if (migration.outcome == SavedCompoundStore::Migration::Unreadable)
        showFailure(QStringLiteral("Fail kompaun lama tidak dapat dibaca dan telah disimpan sebagai %1. Sila "
                                   "maklumkan pihak pengurusan IT anda.")
                        .arg(QFileInfo(migration.keptAs).fileName()));
    else if (migration.outcome == SavedCompoundStore::Migration::NoRoom)
        showFailure(
            QStringLiteral("Ruang simpanan telefon tidak mencukupi untuk memindahkan kompaun lama. Sila "
                           "kosongkan sekurang-kurangnya %1 MB dan buka semula aplikasi.")
                .arg((migration.bytesNeeded + 1024 * 1024 - 1) / (1024 * 1024)));
    else if (migration.outcome == SavedCompoundStore::Migration::Failed)
        showFailure(
            QStringLiteral("Kompaun lama tidak dapat dipindahkan ke dalam telefon. Ia akan dicuba lagi "
                           "semasa aplikasi dibuka semula."));
    // A store that is not ours is moved aside and a new one started. The numbers its compounds took are
    // still known from the number file (the running-number check below); only when that is lost too
    // does numbering wait for the council.
    saveStore_.ready();
    const QString storeAside = saveStore_.takeMovedAside();
    if (!storeAside.isEmpty()) {
        showFailure(
            QStringLiteral("Simpanan kompaun dalam telefon tidak dapat dibaca dan telah disimpan sebagai "
                           "%1. Simpanan baru dimulakan. Sila maklumkan pihak pengurusan IT anda.")
                .arg(QFileInfo(storeAside).fileName()));
    }
    // The device code only tells which stored numbers are ours; no notice at start-up.
    const QString code = device_.isRegistered() ? device_.getCustomDeviceID() : QStringLiteral("000");
    if (!running_.runningNumber(code))
        showFailure(
            QStringLiteral("Nombor siri kompaun tidak dapat disimpan dalam telefon. Sila maklumkan pihak "
                           "pengurusan IT anda."));
    if (!running_.isTrusted())
        tellNumberingUntrusted();
    if (!saveStore_.purgeUploaded())
        showFailure(QStringLiteral("Kompaun yang telah dimuat naik tidak dapat dibuang dari telefon. Sila "
                                   "maklumkan pihak pengurusan IT anda."));
}

bool AppDelegate::readyToIssue() {
    if (!running_.isTrusted()) {
        tellNumberingUntrusted();
        return false;
    }
    return clockAhead(QString());
}

bool AppDelegate::clockAhead(const QString& number) {
    // A clock set back would date this compound before the last one, and after New Year would even put
    // an earlier year in its number: issuing waits until the officer has put the clock right.
    const IssueMark last = saveStore_.lastIssue();
    const QDateTime now = clock_->now();
    const int year = number.isEmpty() ? KualaLumpur::format(now, QStringLiteral("yyyy")).toInt()
                                      : number.mid(1, 4).toInt();
    const bool timeBack = last.issuedAt > 0 && now.toSecsSinceEpoch() < last.issuedAt;
    if (!timeBack && year >= last.year)
        return true;
    const QDateTime lastAt = QDateTime::fromSecsSinceEpoch(last.issuedAt, QTimeZone::utc());
    if (platform_.log)
        platform_.log->write(QStringLiteral("Clock behind the last compound: now %1, last %2, year %3 < %4")
                                 .arg(now.toString(Qt::ISODate), lastAt.toString(Qt::ISODate))
                                 .arg(year)
                                 .arg(last.year));
    showFailure(QStringLiteral("Tarikh dan masa telefon (%1) lebih awal daripada kompaun terakhir (%2). Sila "
                               "semak tarikh dan masa telefon sebelum mengeluarkan kompaun.")
                    .arg(KualaLumpur::format(now, QStringLiteral("dd/MM/yyyy HH:mm")),
                         last.issuedAt > 0 ? KualaLumpur::format(lastAt, QStringLiteral("dd/MM/yyyy HH:mm"))
                                           : QString::number(last.year)));
    return false;
}

void AppDelegate::tellNumberingUntrusted() {
    if (platform_.alerts)
        platform_.alerts->show(
            {QStringLiteral("Notifikasi"), RunningNumber::untrustedMessage(), {QStringLiteral("OK")}, 0, {}});
}

void AppDelegate::writeNumberAndDates(RecordMap& record) {
    const QDateTime now = clock_->now();
    record.insert(QStringLiteral("kompaunRunningNumber"),
                  RunningNumber::compoundNumber(KualaLumpur::format(now, QStringLiteral("yyyy")),
                                                device_.getCustomDeviceID(), running_.getCompoundNumber()));
    record.insert(QStringLiteral("kompaunTarikh"), KualaLumpur::format(now, QStringLiteral("dd/MM/yyyy")));
    record.insert(QStringLiteral("kompaunTamatTawaran"),
                  KualaLumpur::format(now.addSecs(1209600), QStringLiteral("dd/MM/yyyy")));
}

void AppDelegate::writeOfficer(RecordMap& record) {
    if (userIDGlobal_.isEmpty())
        return;
    record.insert(QStringLiteral("namaPenguatKuasa"), userIDGlobal_.value(QStringLiteral("peng_nama")));
    record.insert(QStringLiteral("penguatKuasaID"), userIDGlobal_.value(QStringLiteral("kod_pekerja")));
}

void AppDelegate::saveDictionaryInit() {
    saveDictionary_ = makeRecord();
    RecordMap& record = *saveDictionary_;
    for (const KeyRule& rule : recordKeys)
        record.insert(QLatin1String(rule.key), QString());
    record.insert(QStringLiteral("status_batal"), QStringLiteral("0"));
    writeNumberAndDates(record);
    writeOfficer(record);
}

void AppDelegate::saveDictionaryInitGunaKembali() {
    RecordMap& record = *saveDictionary_;
    record.insert(QStringLiteral("status_batal"), QStringLiteral("0"));
    for (const KeyRule& rule : recordKeys)
        if (rule.emptiedOnReuse)
            record.insert(QLatin1String(rule.key), QString());
    // The area and street stay with their codes, as the location form keeps showing them. The time is the
    // moment the next compound is made, as its date is, whether or not the compound form shows again.
    writeNumberAndDates(record);
    record.insert(QStringLiteral("kompaunMasa"), KualaLumpur::format(clock_->now(), QStringLiteral("HH:mm")));
    writeOfficer(record);
}

void AppDelegate::removeImageArray(int index) {
    if (index >= 0 && index < imageArray_.size())
        imageArray_.removeAt(index);
}

void AppDelegate::setPreviewIndicator(bool on) {
    if (previewIndicator_ == on)
        return;
    previewIndicator_ = on;
    Q_EMIT previewIndicatorChanged();
}

bool AppDelegate::openDropDownList(const PickList& items, const QString& title, TextField* field,
                                   const QString& type) {
    if (dropDownOpen_) {
        if (platform_.log)
            platform_.log->write(
                QStringLiteral("pick list \"%1\" refused: \"%2\" is still open").arg(title, currentType_));
        return false;
    }
    dropDownOpen_ = true;
    dropDownPicked_ = false;
    dropDownRecord_ = getDictionary();
    currentType_ = type;
    currentDDKey_.clear();
    dropDownListArray_ = items;
    generalTextField_ = field;
    keyTextField_ = nullptr;
    Q_EMIT dropDownListRequested(title);
    return true;
}

void AppDelegate::setKeyTextField(TextField* codeField) {
    if (dropDownOpen_ && !dropDownPicked_)
        keyTextField_ = codeField;
}

void AppDelegate::setTextField(const QString& label, const QString& code) {
    if (!dropDownOpen_ || dropDownPicked_)
        return;
    dropDownPicked_ = true;
    dropDownRecord_->insert(currentType_, code);
    if (generalTextField_)
        generalTextField_->setText(label);
    if (keyTextField_)
        keyTextField_->setText(code);
    currentDDKey_ = code;
}

void AppDelegate::onClose() {
    if (!dropDownOpen_)
        return;
    dropDownOpen_ = false;
    const Record record = std::exchange(dropDownRecord_, nullptr);
    writeCompanion(*record);
    const QString type = currentType_;
    generalTextField_ = nullptr;
    keyTextField_ = nullptr;
    Q_EMIT dropDownListClosed(type, dropDownPicked_);
}

void AppDelegate::writeCompanion(RecordMap& record) {
    static const QMap<QString, QString> companions{
        {QStringLiteral("lokasiKawasanID"), QStringLiteral("lokasiKawasan")},
        {QStringLiteral("lokasiJalanID"), QStringLiteral("lokasiJalan")},
        {QStringLiteral("kenderaanJenisKenderaanID"), QStringLiteral("kenderaanJenisKenderaan")},
        {QStringLiteral("kenderaanJenisModelID"), QStringLiteral("kenderaanJenisModel")},
        {QStringLiteral("kenderaanJenisWarnaID"), QStringLiteral("kenderaanJenisWarna")},
        {QStringLiteral("kompaunCaraPenyerahanID"), QStringLiteral("kompaunCaraPenyerahan")},
        {QStringLiteral("namaSaksi"), QStringLiteral("lokasiNamaSaksi")},
    };
    const auto companion = companions.constFind(currentType_);
    if (companion == companions.cend() || !generalTextField_)
        return;
    QString shown = generalTextField_->text();
    if (currentType_ == QLatin1String("lokasiJalanID")) {
        // Street items read "code-name": only the name is kept, dashes inside the name included.
        const qsizetype dash = shown.indexOf(QLatin1Char('-'));
        if (dash >= 0)
            shown = shown.mid(dash + 1);
    }
    shown = shown.toUpper();
    generalTextField_->setText(shown);
    record.insert(*companion, shown);
    if (currentType_ == QLatin1String("namaSaksi") && keyTextField_) {
        const QString ic = keyTextField_->text().toUpper();
        keyTextField_->setText(ic);
        record.insert(QStringLiteral("lokasiICSaksi"), ic);
    }
}

void AppDelegate::showFailure(const QString& message) {
    if (platform_.alerts)
        platform_.alerts->show({QStringLiteral("Gagal"), message, {QStringLiteral("OK")}, 0, {}});
}

bool AppDelegate::insertIntoBaruPBCompound(const Record& record) {
    const QString number = record ? record->value(QStringLiteral("kompaunRunningNumber")) : QString();
    // Checked again at "Ya": the clock may have moved since the record was made, and a re-used record
    // is made without the menu's check.
    if (!clockAhead(number))
        return false;
    // The store remembers how far the numbering went, and when, with the compound itself.
    const QString code = device_.isRegistered() ? device_.getCustomDeviceID() : QStringLiteral("000");
    const int sequence = RunningNumber::sequenceOf(number, code);
    const IssueMark mark{sequence, clock_->now().toSecsSinceEpoch(),
                         sequence >= 0 ? number.mid(1, 4).toInt() : 0};
    if (saveStore_.insertIntoBaruPBCompound(record, imageArray_, mark))
        return true;
    if (!number.isEmpty() && saveStore_.holdsNumber(number))
        showFailure(
            QStringLiteral("No. kompaun %1 telah digunakan oleh kompaun yang telah disimpan. Kompaun ini "
                           "tidak disimpan dan tidak dicetak.")
                .arg(number));
    else
        showFailure(QStringLiteral("Kompaun tidak dapat disimpan dalam telefon. Sila cuba lagi."));
    return false;
}

bool AppDelegate::beginIssuing(const QObject* flow) {
    if (issuing_ && issuing_ != flow)
        return false;
    issuing_ = flow;
    return true;
}

void AppDelegate::endIssuing(const QObject* flow) {
    if (issuing_ == flow)
        issuing_ = nullptr;
}

void AppDelegate::updateNoLesen() {
    if (platform_.log)
        platform_.log->write(QStringLiteral("updateNoLesen"));
}

bool AppDelegate::addOneRunningNumber() {
    if (running_.addOneRunningNumber())
        return true;
    showFailure(
        QStringLiteral("Nombor siri kompaun tidak dapat disimpan dalam telefon. Kompaun telah disimpan "
                       "tetapi notis tidak dicetak. Sila maklumkan pihak pengurusan IT anda."));
    return false;
}
