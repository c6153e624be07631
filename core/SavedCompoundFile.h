#pragma once

#include "core/Record.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

// One photograph as the saved-compounds store keeps it: JPEG bytes, not Base64. A picture whose text in
// an old store was not plain Base64 (line breaks, no padding, not Base64 at all) keeps that text as it
// was, so that exporting the store gives back the very same text.
struct StoredPhoto {
    enum Kept { ThumbnailText = 1, FullText = 2 };
    int position = 0; // 1-based, in the order taken
    QByteArray thumbnail;
    QByteArray full;
    int kept = 0;

    QString thumbnailBase64() const;
    QString fullBase64() const;
    // The bytes the council receives for this photograph.
    QByteArray fullJpeg() const;
    // The photograph as the issuing screens hold it, and back; plain Base64 becomes bytes.
    PhotoEntry toEntry() const;
    static StoredPhoto fromEntry(int position, const PhotoEntry& entry);
};

// The old saved-compounds file "saveIns.dat": an XML property list holding a list of
// [record, [[thumbnail, full], ...], upload flag], photographs as Base64 text.
namespace SavedCompoundFile {

struct Entry {
    RecordMap record;
    // A property list of a record holding the record's values that were not text (dates, numbers,
    // nested records, data), exactly as the old file had them; empty when every value was text. The
    // text record above carries them converted as earlier versions sent them to the council.
    QByteArray nonText;
    QList<StoredPhoto> photos;
    QString flag;
};

// Reads the file's bytes entry by entry, in order, handing each to sink (which may stop the read by
// returning false). False, with a reason, when the bytes are not such a file; nothing is handed then.
bool read(QByteArray bytes, const std::function<bool(Entry&&)>& sink, QString* error);

struct Skeleton {
    RecordMap record;
    QByteArray nonText;
    int photoCount = 0;
    QString flag;
};
// Writes the file the way earlier versions did, atomically. The photographs are asked for one at a
// time while writing (entry index, 0-based photo index, full or thumbnail), so only one is held.
bool write(const QString& path, const QList<Skeleton>& entries,
           const std::function<QString(int entry, int photo, bool full)>& photoText, QString* error);

// The record of values that were not text without one key; empty when nothing is left.
QByteArray withoutKey(const QByteArray& nonText, const QString& key);

} // namespace SavedCompoundFile
