#include "core/RunningNumber.h"

#include "core/PlistFile.h"
#include "core/SavedCompoundStore.h"
#include "platform/Log.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

RunningNumber::RunningNumber(QString documentsDir, SavedCompoundStore& store, Log* log)
    : path_(documentsDir + QLatin1Char('/') + QLatin1String(fileName)), store_(store), log_(log) {}

int RunningNumber::fileCount() const {
    return int(PlistFile::arraySize(path_).value_or(0));
}

int RunningNumber::getRunningNumber() const {
    return std::max(fileCount(), floor_);
}

bool RunningNumber::saveRunningNumberFile(int count) {
    count = std::max(count, 0);
    QString error;
    const bool ok = PlistFile::writeRepeated(path_, QStringLiteral("1"), count, &error);
    if (ok) {
        if (log_)
            log_->write(QStringLiteral("Running number saved : %1").arg(count));
    } else {
        floor_ = std::max(floor_, count);
        if (log_)
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
    if (!QFileInfo::exists(path_))
        return saveRunningNumberFile(store_.countYgDahCetak());
    const int current = fileCount();
    const int highest = store_.highestSequence(deviceCode);
    if (highest > current) {
        if (log_)
            log_->write(QStringLiteral("Running number %1 behind stored compound %2; raised")
                            .arg(current)
                            .arg(highest));
        return saveRunningNumberFile(highest);
    }
    if (log_)
        log_->write(QStringLiteral("Current Running number : %1").arg(current));
    return true;
}
