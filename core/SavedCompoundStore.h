#pragma once

#include "core/Record.h"

#include <QList>
#include <QString>

#include <optional>

class Log;

// One printed compound waiting on the phone: its record, its photographs and its upload flag.
struct SavedCompound {
    Record record;
    PhotoList photos;
    QString uploadFlag = QStringLiteral("0");

    // The flag is read by its leading digits, so anything that is not a number counts as 0.
    int flagValue() const;
    static int leadingInt(const QString& text);
};
using SavedCompoundList = QList<SavedCompound>;

// The saved-compounds store "saveIns.dat": read whole on every operation, written whole and atomically.
// Writers report failure so the caller can tell the officer; the file then keeps its previous content.
class SavedCompoundStore {
public:
    static constexpr const char* fileName = "saveIns.dat";

    SavedCompoundStore(QString documentsDir, Log* log);
    QString path() const { return path_; }

    // The list as read; none when the file is missing or unreadable.
    std::optional<SavedCompoundList> getSaveArray() const;
    // The list, or an empty one when the file is missing or unreadable.
    SavedCompoundList getDicetak() const;
    int countYgDahCetak() const;
    int getDicetakUploadCountNumber() const;
    // The highest sequence among the held compound numbers of this device (uploaded ones not yet purged
    // included); 0 when there is none.
    int highestSequence(const QString& deviceCode) const;

    bool insertIntoBaruPBCompound(const Record& record, const PhotoList& photos);
    bool saveArrayFile(const SavedCompoundList& list);
    // Keeps only entries not yet uploaded; writes the store even when nothing was removed.
    bool purgeUploaded();

    static SavedCompoundList fromPlist(const QVariant& root);
    static QVariant toPlist(const SavedCompoundList& list);

private:
    SavedCompoundList readForUpdate() const;
    QString path_;
    Log* log_;
};
