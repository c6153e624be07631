#include "core/SavedCompoundStore.h"

#include "core/PlistFile.h"
#include "core/RecordKeys.h"
#include "core/RunningNumber.h"
#include "platform/Log.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <limits>

namespace {

RecordMap toRecordMap(const QVariant& value) {
    RecordMap map;
    const QVariantMap source = value.toMap();
    for (auto it = source.cbegin(); it != source.cend(); ++it)
        map.insert(it.key(), it.value().toString());
    return map;
}

QVariantMap fromRecordMap(const RecordMap& record) {
    QVariantMap map;
    for (auto it = record.cbegin(); it != record.cend(); ++it)
        map.insert(it.key(), it.value());
    return map;
}

QString describe(const RecordMap& record) {
    QStringList parts;
    for (auto it = record.cbegin(); it != record.cend(); ++it)
        parts << QStringLiteral("%1 = \"%2\"").arg(it.key(), it.value());
    return QStringLiteral("{ ") + parts.join(QStringLiteral("; ")) + QStringLiteral(" }");
}

} // namespace

int SavedCompound::leadingInt(const QString& text) {
    const QString t = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == QLatin1Char('-') || t[i] == QLatin1Char('+')))
        negative = t[i++] == QLatin1Char('-');
    qint64 value = 0;
    for (; i < t.size() && t[i].isDigit() && t[i].unicode() < 128; ++i) {
        value = value * 10 + (t[i].unicode() - '0');
        if (value > std::numeric_limits<int>::max())
            return negative ? std::numeric_limits<int>::min() : std::numeric_limits<int>::max();
    }
    return int(negative ? -value : value);
}

int SavedCompound::flagValue() const {
    return leadingInt(uploadFlag);
}

SavedCompoundStore::SavedCompoundStore(QString documentsDir, Log* log)
    : path_(documentsDir + QLatin1Char('/') + QLatin1String(fileName)), log_(log) {}

SavedCompoundList SavedCompoundStore::fromPlist(const QVariant& root) {
    SavedCompoundList list;
    // Entries are read leniently: a damaged entry keeps what it has rather than vanish at the next write.
    for (const QVariant& item : root.toList()) {
        const QVariantList parts = item.toList();
        SavedCompound entry;
        entry.record =
            makeRecord(parts.value(0).metaType().id() == QMetaType::QVariantMap ? toRecordMap(parts.value(0))
                                                                                : RecordMap{});
        for (const QVariant& photo : parts.value(1).toList()) {
            const QVariantList pair = photo.toList();
            entry.photos.append({pair.value(0).toString(), pair.value(1).toString()});
        }
        entry.uploadFlag = parts.size() > 2 ? parts.value(2).toString() : QStringLiteral("0");
        list.append(entry);
    }
    return list;
}

QVariant SavedCompoundStore::toPlist(const SavedCompoundList& list) {
    QVariantList root;
    root.reserve(list.size());
    for (const SavedCompound& entry : list) {
        QVariantList photos;
        for (const PhotoEntry& photo : entry.photos)
            photos.append(QVariant(QVariantList{photo.thumbnail, photo.full}));
        root.append(QVariant(QVariantList{fromRecordMap(entry.record ? *entry.record : RecordMap{}), photos,
                                          entry.uploadFlag}));
    }
    return root;
}

std::optional<SavedCompoundList> SavedCompoundStore::getSaveArray() const {
    const auto root = PlistFile::read(path_);
    if (!root || root->metaType().id() != QMetaType::QVariantList)
        return std::nullopt;
    return fromPlist(*root);
}

SavedCompoundList SavedCompoundStore::getDicetak() const {
    return getSaveArray().value_or(SavedCompoundList{});
}

int SavedCompoundStore::countYgDahCetak() const {
    return int(getDicetak().size());
}

int SavedCompoundStore::getDicetakUploadCountNumber() const {
    int count = 0;
    for (const SavedCompound& entry : getDicetak())
        count += entry.flagValue() == 0 ? 1 : 0;
    return count;
}

int SavedCompoundStore::highestSequence(const QString& deviceCode) const {
    int highest = 0;
    for (const SavedCompound& entry : getDicetak())
        if (entry.record)
            highest = std::max(highest, RunningNumber::sequenceOf(
                                            entry.record->value(Key::kompaunRunningNumber), deviceCode));
    return highest;
}

SavedCompoundList SavedCompoundStore::readForUpdate() const {
    if (auto list = getSaveArray())
        return *list;
    if (QFileInfo::exists(path_)) {
        // Compounds in a store we cannot read have not been uploaded: move the file aside for support
        // staff instead of writing over it.
        const QString aside = path_ + QStringLiteral(".unreadable-") +
                              QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddHHmmss"));
        const bool moved = QFile::rename(path_, aside);
        if (log_)
            log_->write(moved ? QStringLiteral("saveIns.dat unreadable, kept as %1").arg(aside)
                              : QStringLiteral("saveIns.dat unreadable and could not be moved aside"));
    }
    return {};
}

bool SavedCompoundStore::insertIntoBaruPBCompound(const Record& record, const PhotoList& photos) {
    SavedCompoundList list = readForUpdate();
    if (QFileInfo::exists(path_) && list.isEmpty() && !getSaveArray())
        return false;
    list.append({makeRecord(record ? *record : RecordMap{}), photos, QStringLiteral("0")});
    if (log_)
        log_->write(QStringLiteral("kompaun : %1").arg(describe(record ? *record : RecordMap{})));
    return saveArrayFile(list);
}

bool SavedCompoundStore::saveArrayFile(const SavedCompoundList& list) {
    QString error;
    const bool ok = PlistFile::write(path_, toPlist(list), &error);
    if (log_)
        log_->write(ok ? QStringLiteral("Save Successfully") : QStringLiteral("Save failed: %1").arg(error));
    return ok;
}

bool SavedCompoundStore::purgeUploaded() {
    const SavedCompoundList list = readForUpdate();
    if (QFileInfo::exists(path_) && list.isEmpty() && !getSaveArray())
        return false;
    SavedCompoundList kept;
    for (const SavedCompound& entry : list)
        if (entry.flagValue() == 0)
            kept.append(entry);
    return saveArrayFile(kept);
}
