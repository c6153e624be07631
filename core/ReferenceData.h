#pragma once

#include "core/Record.h"
#include "core/SQLiteManager.h"
#include "platform/NullServices.h"

#include <optional>

class Log;
class RunningNumber;

// The lookups of the reference database that the screens pick from, and the operations that rebuild
// its officers and registration. Every value typed or chosen by the officer is bound as a whole text value.
class ReferenceData {
public:
    explicit ReferenceData(SQLiteManager& db, Log* log = nullptr) : db_(db), log_(orNothing(log)) {}

    DbRows checkUser();
    DbRows getAkta();
    DbRows getKeslahan(const QString& typeCode);
    DbRows getKeslahanSearch(const QString& typeCode, const QString& text);
    DbRows getCategoryArray(const QString& actId);
    DbRows getCategoryArraySearch(const QString& actId, const QString& text);
    DbRows jenisKenderaan();
    DbRows jenisModel(const QString& vehicleTypeCode);
    DbRows jenisWarna();
    DbRows getPenguatkuasa();
    DbRows getNegeri();
    DbRows getNegeriSingle(const QString& stateCode);
    DbRows getPoskod(const QString& postcode);
    DbRows getKawasan();
    DbRows getLokasi(const QString& areaCode);
    // The fixed list of delivery methods, code "1" first.
    static PickList caraPenyerahan();

    // Registration: the device table exists. Its row 1 holds the device code.
    bool deviceTableExists();
    DbRows deviceRow();

    // The officers' rows (the council's values in the order of ReferenceSchema::officerColumns) with
    // each password replaced by its digest: a key derivation per officer, slow, and touching no
    // database, so callers run it on a worker.
    static QStringList withDigest(QStringList row);
    static QList<QStringList> withDigest(QList<QStringList> rows);
    // The officers table replaced by rows digested so; in one transaction, so a failure keeps the
    // previous table whole. A row that cannot be inserted is skipped.
    bool replaceDigestedOfficers(const QList<QStringList>& rows);
    // The device table rebuilt with one row for this device and the running number seeded from the
    // council's last number, together or not at all.
    bool registerDevice(const QString& deviceId, const QString& lastNumber, int councilLast,
                        RunningNumber& numbers);
    // The active officer with this staff code and password, both exactly as typed; the record carries
    // the stored digest, never the password. A digest of an earlier scheme is renewed in the current one.
    std::optional<RecordMap> signIn(const QString& staffCode, const QString& password);
    // Passwords an earlier release kept in clear become digests, all in one transaction. The number
    // converted, or -1 when nothing could be written.
    int convertClearPasswords();

    // A search text as a LIKE pattern piece matching itself only: "%", "_" and the escape are escaped
    // (the statements say ESCAPE '\').
    static QString likeLiteral(const QString& text);
    // SQLite's LIKE reads a pattern only up to a NUL, so "ab<NUL>cd" would search for "ab". The whole text
    // counts: no reference row holds a NUL, so such a search finds nothing.
    static bool holdsNul(const QString& text);

    // Rows of a parameter list as [description, ordinal] pick items.
    static PickList paramItems(const DbRows& rows);

private:
    void logError(const DbError& error);
    // Replaces an officer's stored value (an earlier scheme, or a password in clear) by current.
    void upgradeDigest(const QString& staffCode, const QString& stored, const QString& current,
                       RecordMap& officer);
    SQLiteManager& db_;
    Log* log_;
};
