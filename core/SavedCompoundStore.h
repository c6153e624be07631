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

// The saved-compounds store: a SQLite database of its own ("saveIns.sqlite") in the Documents folder,
// one row per compound and one per photograph, so that every question reads only what it needs and
// every change writes only the rows it touches, in one transaction (WAL, synchronous=FULL: a change
// that returned true survives a crash or a power cut).
//
// Phones in service hold the old whole-file store "saveIns.dat"; migrateOldFile() brings it in once
// and keeps the old file beside under another name. exportTo() writes the old format back.
//
// Callable from the UI thread and the upload worker alike: one connection, one lock.
class SavedCompoundStore {
public:
    static constexpr const char* fileName = "saveIns.sqlite";
    static constexpr const char* oldFileName = "saveIns.dat";

    SavedCompoundStore(QString documentsDir, Log* log);
    // A database elsewhere (a copy taken off a phone); no old file beside it is looked for.
    static std::unique_ptr<SavedCompoundStore> atPath(const QString& databaseFile, Log* log);
    ~SavedCompoundStore();
    SavedCompoundStore(const SavedCompoundStore&) = delete;
    SavedCompoundStore& operator=(const SavedCompoundStore&) = delete;

    QString path() const { return path_; }
    QString oldPath() const { return oldPath_; }

    struct Migration {
        enum Outcome { NoOldFile, Imported, Unreadable, Failed } outcome = NoOldFile;
        int entries = 0;
        QString keptAs; // where the old file now is
        QString reason;
    };
    // Imports an old "saveIns.dat" whole in one transaction, then renames it
    // "saveIns.dat.migrated-<utc time>". Until the rename has happened the old file stays, and an
    // import interrupted by a crash is done again at the next start; a file whose import committed but
    // whose rename did not is recognised by its digest and only renamed. An unreadable file is moved
    // aside as "saveIns.dat.unreadable-<utc time>".
    Migration migrateOldFile();

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

    // Appends [record, photos, "0"]; refused (false, nothing written) when the store already holds a
    // compound with the record's `kompaunRunningNumber`.
    bool insertIntoBaruPBCompound(const Record& record, const PhotoList& photos);
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
    bool transaction(const char* what, const std::function<bool()>& body) const;
    bool append(const RecordMap& record, const QByteArray& nonText, const QList<StoredPhoto>& photos,
                const QString& flag) const;
    QList<StoredPhoto> photosOf(qint64 id) const;
    bool holds(const QString& number) const;
    void log(const QString& line) const;

    QString path_;
    QString oldPath_;
    Log* log_;
    mutable QMutex lock_;
    mutable sqlite3* db_ = nullptr;
};
