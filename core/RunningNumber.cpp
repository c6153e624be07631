#include "core/RunningNumber.h"
#include "platform/NullServices.h"

#include "core/FileAside.h"
#include "core/PlistFile.h"
#include "core/SavedCompoundStore.h"
#include "platform/Log.h"
#include "platform/WholeFile.h"

#include <QFile>
#include <QFileInfo>

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
    // The file, the store's own mark, and what this run has given: the highest of them, so that the loss
    // of any one never brings a number back.
    return std::max({fileCount(), store_.highWaterMark().value_or(0), floor_});
}

int RunningNumber::highestKnown(const QString& deviceCode) const {
    return std::max(getRunningNumber(), store_.highestSequence(deviceCode));
}

int RunningNumber::setUnreadableAside() {
    // What can still be read of it: each "<string>" is one compound. A floor, not the number.
    int salvaged = 0;
    QFile file(path_);
    if (file.open(QIODevice::ReadOnly))
        salvaged = int(std::min<qsizetype>(file.readAll().count("<string>"), 9999999));
    file.close();
    moveAside(path_, log_);
    floor_ = std::max(floor_, salvaged);
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
    // as high as what is still known. Losing one of the two marks is not losing the number: the store's
    // says how far it went.
    if (fileUnreadable()) {
        const bool storeKnows = store_.highWaterMark().has_value();
        count = std::max({count, setUnreadableAside(), floor_});
        if (!storeKnows)
            markUntrusted();
    }
    QString error;
    const bool ok = PlistFile::writeRepeated(path_, QStringLiteral("1"), count, &error);
    // Remembered either way: should the file be lost or damaged later in this run, no number in hand
    // is given again.
    floor_ = std::max(floor_, count);
    // The store's mark follows; on the issuing path it is already there (written with the compound), and
    // nothing more is written.
    store_.raiseHighWaterMark(count);
    if (ok) {
        log_->write(QStringLiteral("Running number saved : %1").arg(count));
    } else {
        log_->write(QStringLiteral("Running number not saved (%1): %2").arg(count).arg(error));
    }
    // A file that cannot be written is reported (a disk filling up), though the store's mark still
    // keeps the number from being given again.
    return ok;
}

bool RunningNumber::addOneRunningNumber() {
    // Past the compound just stored: the store's mark took its number in the compound's own commit, so
    // the number is that mark when it is there, and one more than the file's otherwise.
    return saveRunningNumberFile(
        std::max(std::max(fileCount(), floor_) + 1, store_.highWaterMark().value_or(0)));
}

bool RunningNumber::setRunningNumber(int count) {
    floor_ = std::max(count, 0);
    if (!store_.setHighWaterMark(count))
        return false;
    QString error;
    const bool ok = PlistFile::writeRepeated(path_, QStringLiteral("1"), std::max(count, 0), &error);
    log_->write(ok ? QStringLiteral("Running number set : %1").arg(count)
                   : QStringLiteral("Running number not set (%1): %2").arg(count).arg(error));
    return ok;
}

int RunningNumber::seededCount(int councilLast, const QString& deviceCode) const {
    const int known = highestKnown(deviceCode);
    if (known > councilLast && log_)
        log_->write(QStringLiteral("Council's last number %1 is behind this phone's %2; kept at %2")
                        .arg(councilLast)
                        .arg(known));
    return std::max(councilLast, known);
}

bool RunningNumber::seedFromCouncil(int councilLast, const QString& deviceCode) {
    return saveRunningNumberFile(seededCount(councilLast, deviceCode));
}

bool RunningNumber::confirmFromCouncil(int councilLast, const QString& deviceCode) {
    return saveRunningNumberFile(seededCount(councilLast, deviceCode)) && markTrusted();
}

QString RunningNumber::compoundNumber(const QString& year, const QString& deviceCode, int sequence) {
    return QStringLiteral("P%1%2%3").arg(year, deviceCode,
                                         QStringLiteral("%1").arg(sequence, 6, 10, QLatin1Char('0')));
}

int RunningNumber::sequenceOf(const QString& compoundNumber, const QString& deviceCode) {
    // Exactly "P", four digits of year, this device's code and six digits: a code that is the beginning
    // of another device's ("M1" and "M12") never reads that device's numbers as its own, and a number of
    // any other shape counts in no sequence.
    if (deviceCode.isEmpty() || compoundNumber.size() != 1 + 4 + deviceCode.size() + 6 ||
        !compoundNumber.startsWith(QLatin1Char('P')) ||
        compoundNumber.mid(5, deviceCode.size()) != deviceCode)
        return -1;
    const auto asciiDigits = [](QStringView text) {
        return std::all_of(text.begin(), text.end(),
                           [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
    };
    const QStringView number(compoundNumber);
    const QStringView sequence = number.right(6);
    if (!asciiDigits(number.mid(1, 4)) || !asciiDigits(sequence))
        return -1;
    return sequence.toInt();
}

bool RunningNumber::runningNumber(const QString& deviceCode) {
    const int held = store_.highestSequence(deviceCode);
    const std::optional<int> storeMark = store_.highWaterMark();
    std::optional<int> fileMark;
    int salvaged = 0;
    if (fileUnreadable())
        salvaged = setUnreadableAside();
    else if (QFileInfo::exists(path_))
        fileMark = fileCount();
    // Numbers given and remembered nowhere that can still be read: only the council can say how far
    // this phone went. A phone never registered has given none that matter.
    const bool lost =
        !fileMark && !storeMark && (salvaged > 0 || held > 0 || deviceCode != QLatin1String("000"));
    if (lost)
        markUntrusted();
    const int count = std::max({fileMark.value_or(0), storeMark.value_or(0), salvaged, held, floor_});
    floor_ = count;
    log_->write(QStringLiteral("Current Running number : %1 (file %2, store %3, held %4)")
                    .arg(count)
                    .arg(fileMark ? QString::number(*fileMark) : QStringLiteral("-"),
                         storeMark ? QString::number(*storeMark) : QStringLiteral("-"))
                    .arg(held));
    // Both marks brought to the number, so that either alone can carry it from here.
    if (fileMark == count && storeMark >= count)
        return true;
    return saveRunningNumberFile(count);
}
