#pragma once

#include "core/Record.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

class QIODevice;

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

// The file is read as a stream in two passes, so that memory holds one entry at a time whatever the
// file's size. The first checks that it is such a file (XML, a list at the root, nested no deeper than
// PlistFile::maxDepth), counts its entries and takes its SHA-256, holding no entry.
struct Scan {
    int entries = 0;
    QByteArray digest; // hex
};
bool scan(QIODevice& file, Scan* result, QString* error);

// The second hands the entries to sink one at a time, in order (sink may stop the read by returning
// false); digest, when given, is the SHA-256 of what was read. False, with a reason, when the bytes are
// not such a file; entries before the fault may have been handed by then.
bool read(QIODevice& file, const std::function<bool(Entry&&)>& sink, QString* error,
          QByteArray* digest = nullptr);
// The same over bytes in memory; nothing is handed when they are not such a file.
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
