#pragma once

#include "core/Record.h"
#include "core/SavedCompoundFile.h"

#include <QList>
#include <QMutex>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class Log;
struct sqlite3;

// One printed compound waiting on the phone: its record, its photographs and its upload flag.
struct SavedCompound {
    Record record;
    PhotoList photos;
    QString uploadFlag = QStringLiteral("0");
    qint64 id = 0; // its place in store order; 0 for one not stored yet

    // The flag is read by its leading digits, so anything that is not a number counts as 0.
    int flagValue() const;
    static int leadingInt(const QString& text);
};
using SavedCompoundList = QList<SavedCompound>;

// A row of the printed list: what it shows and what it needs to open the entry, no photographs.
struct SavedCompoundRow {
    qint64 id = 0;
    QString number;      // kompaunRunningNumber
    QString particulars; // kompaunButiranKesalahan
    QString uploadFlag;
    QString statusBatal; // the cancellation mark, "0" in force
    QString plate;       // kenderaanNoKenderaan
    QString offender;    // namaPesalah
    QString time;        // kompaunMasa
    friend bool operator==(const SavedCompoundRow&, const SavedCompoundRow&) = default;
};

// A compound on its way to the council: its record and flag; its photographs are read one at a time.
struct WaitingCompound {
    qint64 id = 0;
    RecordMap record;
    QString uploadFlag;
    int photoCount = 0;
};

// What a summary of the shift reads of one compound: a few texts of its record and how many photographs
// it has, never the record whole nor a photograph.
struct CompoundSummaryRow {
    qint64 id = 0;
    QString number;       // kompaunRunningNumber
    QString tarikh;       // kompaunTarikh, "dd/MM/yyyy" in Kuala Lumpur
    QString masa;         // kompaunMasa, "HH:mm" in Kuala Lumpur
    QString jenis;        // JenisKompaun
    QString kadar;        // kompaunKadar, as stored
    QString kadarTawaran; // kompaunKadarTawaran, as stored
    QString statusBatal;
    bool waiting = false;
    int photos = 0;
};

// What the store remembers of the compounds it was given, beyond the compounds themselves: kept in
// its own table, so it outlives the purge of uploaded compounds and the loss of the number file.
struct IssueMark {
    int sequence = 0;    // the number's sequence: the highest this phone has given
    qint64 issuedAt = 0; // when it was stored, seconds since the epoch: the latest
    int year = 0;        // the year in the number: the latest
};

// The saved-compounds store: a SQLite database of its own ("saveIns.sqlite") in the Documents folder,
// one row per compound and one per photograph, so that every question reads only what it needs and
// every change writes only the rows it touches, in one transaction (a rollback journal,
// synchronous=FULL: a change that returned true survives a crash or a power cut).
//
// Phones in service hold the old whole-file store "saveIns.dat"; migrateOldFile() brings it in once
// and keeps the old file beside under another name. exportTo() writes the old format back.
//
// Callable from the UI thread and the upload worker alike: one connection, one lock.
class SavedCompoundStore {
public:
    static constexpr const char* fileName = "saveIns.sqlite";
    static constexpr const char* oldFileName = "saveIns.dat";
    // What marks a database as this application's store ("KMPN"), and the generation of its tables.
    static constexpr qint64 applicationId = 0x4B4D504E;
    static constexpr int schemaVersion = 2;

    SavedCompoundStore(QString documentsDir, Log* log);
    // A database elsewhere (a copy taken off a phone); no old file beside it is looked for.
    static std::unique_ptr<SavedCompoundStore> atPath(const QString& databaseFile, Log* log);
    ~SavedCompoundStore();
    SavedCompoundStore(const SavedCompoundStore&) = delete;
    SavedCompoundStore& operator=(const SavedCompoundStore&) = delete;

    QString path() const { return path_; }
    QString oldPath() const { return oldPath_; }

    struct Migration {
        enum Outcome { NoOldFile, Imported, Unreadable, Failed, NoRoom } outcome = NoOldFile;
        int entries = 0;
        QString keptAs; // where the old file now is
        QString reason;
        qint64 bytesNeeded = 0; // NoRoom: the space still to be freed
    };
    // Imports an old "saveIns.dat" whole in one transaction, then renames it
    // "saveIns.dat.migrated-<utc time>". Until the rename has happened the old file stays, and an
    // import interrupted by a crash is done again at the next start; a file whose import committed but
    // whose rename did not is recognised by its digest and only renamed. An unreadable file is moved
    // aside as "saveIns.dat.unreadable-<utc time>". The file is read as a stream, one compound held at a
    // time; progress (when given) hears (compounds written, compounds in the file) as they go in, from
    // the calling thread. Nothing is written when the disk has not room for the copy (NoRoom).
    Migration migrateOldFile(const std::function<void(int done, int total)>& progress = {});
    // The free space an import of an old file of this size needs beside it.
    static qint64 roomForImport(qint64 oldFileSize);

    // Opens the store. Only this application's store is taken: stamped with its application id, or
    // holding exactly its tables (a store of an earlier version, stamped then). Anything else there (no
    // database, an empty file, another program's database, a "compound" of another shape) is moved aside
    // untouched ("saveIns.sqlite.unreadable-<utc time>") and a new store started. False when no store
    // could be opened.
    bool ready();
    // Where an unreadable store was moved this run, once; empty when none was.
    QString takeMovedAside();

    int countYgDahCetak() const;
    // Entries whose flag reads as 0.
    int getDicetakUploadCountNumber() const;
    // The printed list: the waiting entries in store order, without photographs.
    QList<SavedCompoundRow> printedListRows() const;
    // One entry with its photographs.
    std::optional<SavedCompound> entry(qint64 id) const;
    // The first waiting entry after the given one, in store order, without photographs.
    std::optional<WaitingCompound> nextWaiting(qint64 afterId) const;
    // The entry's first photograph after the given position (full picture only, no thumbnail).
    std::optional<StoredPhoto> nextPhoto(qint64 id, int afterPosition) const;
    // Every compound in store order, as the shift summary reads it.
    QList<CompoundSummaryRow> summaryRows() const;
    // The highest sequence among the stored compound numbers of this device (RunningNumber::sequenceOf);
    // 0 when the store holds none.
    int highestSequence(const QString& deviceCode) const;

    // The photographs of the compound being filled, written as the officer takes them, under the place
    // its compound will take: "Ya" then writes the compound's row and marks, not megabytes, and a
    // photograph is on disk before its compound is confirmed. The store is brought to hold exactly these;
    // those already there in the same order are not written again. False when they could not be written
    // (nothing is lost: "Ya" writes whatever is not staged).
    bool stagePhotos(const PhotoList& photos);

    // Appends [record, photos, "0"]; refused (false, nothing written) when the store already holds a
    // compound with the record's `kompaunRunningNumber`. The mark's parts above 0 are remembered in the
    // same transaction, each only where it is higher than what the store holds.
    bool insertIntoBaruPBCompound(const Record& record, const PhotoList& photos, const IssueMark& mark = {});
    // The latest time and number year of the compounds stored; parts never told are 0.
    IssueMark lastIssue() const;

    // The highest sequence this phone has given, as the store remembers it: kept in its own table, so
    // it outlives the purge of uploaded compounds and the loss of the running-number file. None when the
    // store has never been told one (a new store, or one of an earlier version).
    std::optional<int> highWaterMark() const;
    // Raises the mark to at least this (nothing written when it is there already).
    bool raiseHighWaterMark(int sequence);
    // Sets the mark to exactly this, lower too: for setting up a phone, never for issuing.
    bool setHighWaterMark(int sequence);
    // Whether a stored compound has this `kompaunRunningNumber`.
    bool holdsNumber(const QString& number) const;
    bool setUploadFlag(qint64 id, const QString& flag);
    // Sets the record's `status_batal` of one entry, nothing else of it.
    bool setStatusBatal(qint64 id, const QString& value);
    // Deletes the entries not waiting any more, with their photographs.
    bool purgeUploaded();

    // Whole-store reads and writes with every photograph in memory: for tests and tools, never for the
    // application's own paths.
    std::optional<SavedCompoundList> getSaveArray() const;
    SavedCompoundList getDicetak() const { return getSaveArray().value_or(SavedCompoundList{}); }
    // Replaces the whole store with the list.
    bool saveArrayFile(const SavedCompoundList& list);

    // Writes the store as an old "saveIns.dat" would hold it, photographs read one at a time.
    bool exportTo(const QString& datPath, QString* error = nullptr) const;

private:
    bool open() const;
    int openFile() const;
    int createFile() const;
    static QByteArray stamp();
    std::optional<qint64> mark(const char* name) const;
    bool writeMark(const char* name, qint64 value, bool onlyHigher) const;
    static bool looksLikeDatabase(const QString& path);
    bool setAsideUnreadable() const;
    bool transaction(const char* what, const std::function<bool()>& body) const;
    // stagedId: the compound takes this place, whose photographs are already staged.
    bool append(const RecordMap& record, const QByteArray& nonText, const QList<StoredPhoto>& photos,
                const QString& flag, qint64 stagedId = 0) const;
    bool appendPhotos(qint64 id, const QList<StoredPhoto>& photos) const;
    qint64 nextId() const;
    qsizetype photoCount(qint64 id) const;
    QList<StoredPhoto> photosOf(qint64 id) const;
    bool holds(const QString& number) const;
    void log(const QString& line) const;

    QString path_;
    QString oldPath_;
    Log* log_;
    mutable QMutex lock_;
    mutable sqlite3* db_ = nullptr;
    mutable QString movedAside_;
    PhotoList staged_;         // the photographs staged, in order
    qint64 stagedId_ = 0;      // the place they are staged under; 0 when none are
    bool startsAfresh_ = true; // the phone's own store: one that is no database is set aside
};
