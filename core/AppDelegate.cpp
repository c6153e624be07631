#include "core/AppDelegate.h"

#include "core/DatabaseInstaller.h"
#include "core/FileAside.h"
#include "core/RecordKeys.h"
#include "platform/Alerts.h"
#include "platform/Files.h"
#include "platform/Log.h"
#include "platform/Progress.h"

#include <QFileInfo>
#include <QFutureWatcher>
#include <QTimeZone>
#include <QtConcurrent/QtConcurrentRun>
#include <utility>

AppDelegate::AppDelegate(Platform platform, const Clock* clock, QObject* parent)
    : QObject(parent), platform_(platform.complete()), clock_(clock ? clock : &defaultClock_),
      db_(QStringLiteral("new_tvr.sqlite"), platform_.files, platform_.log), lookups_(db_, platform_.log),
      saveStore_(platform_.files->documentsDir(), platform_.log),
      favStore_(platform_.files->documentsDir(), platform_.log),
      running_(platform_.files->documentsDir(), saveStore_, platform_.log),
      device_(lookups_, platform_.alerts, platform_.files), position_(platform_.positioning),
      saveDictionary_(makeRecord()), previewDictionary_(makeRecord()) {
    stager_.setMaxThreadCount(1);
}

AppDelegate::~AppDelegate() {
    importing_.waitForFinished();
}

void AppDelegate::startUpData() {
    imageArray_.clear();
    // Nothing writes yet, so whatever temporary file lies beside the stores was left by a killed write.
    removeStaleTemporaries(platform_.files->documentsDir(), platform_.log);
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
    platform_.alerts->show(
        {QStringLiteral("Notifikasi"), RunningNumber::untrustedMessage(), {QStringLiteral("OK")}, 0, {}});
}

void AppDelegate::writeNumberAndDates(RecordMap& record) {
    const QDateTime now = clock_->now();
    record.insert(Key::kompaunRunningNumber,
                  RunningNumber::compoundNumber(KualaLumpur::format(now, QStringLiteral("yyyy")),
                                                device_.getCustomDeviceID(), running_.getCompoundNumber()));
    record.insert(Key::kompaunTarikh, KualaLumpur::format(now, QStringLiteral("dd/MM/yyyy")));
    record.insert(Key::kompaunTamatTawaran,
                  KualaLumpur::format(now.addSecs(1209600), QStringLiteral("dd/MM/yyyy")));
}

void AppDelegate::writeOfficer(RecordMap& record) {
    if (userIDGlobal_.isEmpty())
        return;
    record.insert(Key::namaPenguatKuasa, userIDGlobal_.value(QStringLiteral("peng_nama")));
    record.insert(Key::penguatKuasaID, userIDGlobal_.value(QStringLiteral("kod_pekerja")));
}

void AppDelegate::saveDictionaryInit() {
    saveDictionary_ = makeRecord();
    RecordMap& record = *saveDictionary_;
    for (const RecordKey& row : RecordKeys::table)
        if (row.fresh)
            record.insert(row.key, QString());
    record.insert(Key::status_batal, QStringLiteral("0"));
    writeNumberAndDates(record);
    writeOfficer(record);
}

void AppDelegate::saveDictionaryInitGunaKembali() {
    RecordMap& record = *saveDictionary_;
    record.insert(Key::status_batal, QStringLiteral("0"));
    for (const RecordKey& row : RecordKeys::table)
        if (row.reuse == RecordKey::Emptied)
            record.insert(row.key, QString());
    // The time is the moment the next compound is made, as its date is, whether or not the compound form
    // shows again.
    writeNumberAndDates(record);
    record.insert(Key::kompaunMasa, KualaLumpur::format(clock_->now(), QStringLiteral("HH:mm")));
    writeOfficer(record);
}

void AppDelegate::removeImageArray(int index) {
    if (index >= 0 && index < imageArray_.size())
        imageArray_.removeAt(index);
    stageImageArray();
}

void AppDelegate::stageImageArray() {
    // The photographs go to the store as they are taken, while the officer is still filling the
    // compound, so that "Ya" has only the compound's row to write; one not staged is written at "Ya".
    // Each change hands over the whole list, so the last one queued is what the store ends up holding.
    stager_.start([this, photos = imageArray_] { saveStore_.stagePhotos(photos); });
}

void AppDelegate::setPreviewIndicator(bool on) {
    if (previewIndicator_ == on)
        return;
    previewIndicator_ = on;
    Q_EMIT previewIndicatorChanged();
}

void AppDelegate::showFailure(const QString& message) {
    platform_.alerts->show({QStringLiteral("Gagal"), message, {QStringLiteral("OK")}, 0, {}});
}

bool AppDelegate::insertIntoBaruPBCompound(const Record& record) {
    const QString number = record ? record->value(Key::kompaunRunningNumber) : QString();
    // Checked again at "Ya": the clock may have moved since the record was made, and a re-used record
    // is made without the menu's check.
    if (!clockAhead(number))
        return false;
    // The store remembers how far the numbering went, and when, with the compound itself.
    const QString code = device_.isRegistered() ? device_.getCustomDeviceID() : QStringLiteral("000");
    const int sequence = RunningNumber::sequenceOf(number, code);
    const IssueMark mark{sequence, clock_->now().toSecsSinceEpoch(),
                         sequence >= 0 ? number.mid(1, 4).toInt() : 0};
    // A photograph still being staged is finished first (milliseconds), so the compound takes it as it is.
    stager_.waitForDone();
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
