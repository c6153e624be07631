#include "core/RunningNumber.h"
#include "platform/NullServices.h"

#include "core/FileAside.h"
#include "core/PlistFile.h"
#include "core/SavedCompoundStore.h"
#include "platform/Log.h"
#include "platform/WholeFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

RunningNumber::RunningNumber(QString documentsDir, SavedCompoundStore& store, Log* log)
    : path_(documentsDir + QLatin1Char('/') + QLatin1String(fileName)),
      markerPath_(documentsDir + QLatin1Char('/') + QLatin1String(untrustedMarker)), store_(store),
      log_(orNothing(log)) {}

int RunningNumber::fileCount() const {
    return int(PlistFile::arraySize(path_).value_or(0));
}

bool RunningNumber::fileUnreadable() const {
    return QFileInfo(path_).isFile() && !PlistFile::arraySize(path_);
}

int RunningNumber::getRunningNumber() const {
    return std::max(fileCount(), floor_);
}

int RunningNumber::setUnreadableAside() {
    // What can still be read of it: each "<string>" is one compound. A floor, not the number.
    int salvaged = 0;
    QFile file(path_);
    if (file.open(QIODevice::ReadOnly))
        salvaged = int(std::min<qsizetype>(file.readAll().count("<string>"), 9999999));
    file.close();
    moveAside(path_, log_);
    markUntrusted();
    return salvaged;
}

void RunningNumber::markUntrusted() {
    if (!WholeFile::write(markerPath_, "1") && log_)
        log_->write(QStringLiteral("Running number marked untrusted in memory only"));
    untrustedInMemory_ = true;
}

bool RunningNumber::isTrusted() const {
    return !untrustedInMemory_ && !QFileInfo::exists(markerPath_);
}

bool RunningNumber::markTrusted() {
    untrustedInMemory_ = false;
    return !QFileInfo::exists(markerPath_) || QFile::remove(markerPath_);
}

QString RunningNumber::untrustedMessage() {
    return QStringLiteral("Nombor siri kompaun dalam telefon tidak dapat dipastikan. Sila daftar semula "
                          "device sebelum mengeluarkan kompaun.");
}

bool RunningNumber::saveRunningNumberFile(int count) {
    count = std::max(count, 0);
    // Never write over a file that cannot be read: its count is unknown, so keep it, and stay at least
    // as high as what is still known.
    if (fileUnreadable())
        count = std::max({count, setUnreadableAside(), floor_});
    QString error;
    const bool ok = PlistFile::writeRepeated(path_, QStringLiteral("1"), count, &error);
    // Remembered either way: should the file be lost or damaged later in this run, no number in hand
    // is given again.
    floor_ = std::max(floor_, count);
    if (ok) {
        log_->write(QStringLiteral("Running number saved : %1").arg(count));
    } else {
        log_->write(QStringLiteral("Running number not saved (%1): %2").arg(count).arg(error));
    }
    return ok;
}

bool RunningNumber::addOneRunningNumber() {
    return saveRunningNumberFile(getRunningNumber() + 1);
}

bool RunningNumber::setRunningNumber(int count) {
    floor_ = 0;
    return saveRunningNumberFile(count);
}

bool RunningNumber::seedFromCouncil(int councilLast, const QString& deviceCode) {
    const int held = store_.highestSequence(deviceCode);
    if (held > councilLast && log_)
        log_->write(
            QStringLiteral("Council's last number %1 is behind stored compound %2; seeded from the store")
                .arg(councilLast)
                .arg(held));
    return setRunningNumber(std::max(councilLast, held));
}

bool RunningNumber::confirmFromCouncil(int councilLast, const QString& deviceCode) {
    const int count = std::max({councilLast, store_.highestSequence(deviceCode), getRunningNumber()});
    return saveRunningNumberFile(count) && markTrusted();
}

QString RunningNumber::compoundNumber(const QString& year, const QString& deviceCode, int sequence) {
    return QStringLiteral("P%1%2%3").arg(year, deviceCode,
                                         QStringLiteral("%1").arg(sequence, 6, 10, QLatin1Char('0')));
}

int RunningNumber::sequenceOf(const QString& compoundNumber, const QString& deviceCode) {
    static const QRegularExpression prefix(QStringLiteral("^P\\d{4}"));
    if (!prefix.match(compoundNumber).hasMatch() || !compoundNumber.mid(5).startsWith(deviceCode))
        return -1;
    const QString digits = compoundNumber.mid(5 + deviceCode.size());
    bool ok = false;
    const int value = digits.toInt(&ok);
    return ok && !digits.isEmpty() ? value : -1;
}

bool RunningNumber::runningNumber(const QString& deviceCode) {
    const int held = store_.highestSequence(deviceCode);
    if (!QFileInfo::exists(path_)) {
        log_->write(
            QStringLiteral("Running number file missing; restarting from stored compound %1").arg(held));
        return saveRunningNumberFile(held);
    }
    if (fileUnreadable()) {
        const int salvaged = setUnreadableAside();
        log_->write(QStringLiteral("Running number file unreadable; %1 read of it, %2 held in the store")
                        .arg(salvaged)
                        .arg(held));
        return saveRunningNumberFile(std::max(salvaged, held));
    }
    const int current = fileCount();
    floor_ = std::max(floor_, current);
    if (held > current) {
        log_->write(
            QStringLiteral("Running number %1 behind stored compound %2; raised").arg(current).arg(held));
        return saveRunningNumberFile(held);
    }
    log_->write(QStringLiteral("Current Running number : %1").arg(current));
    return true;
}
