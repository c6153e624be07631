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
    // The three steps below, one after the other, for callers that may wait.
    std::optional<RecordMap> signIn(const QString& staffCode, const QString& password);

    // A sign-in in three steps, so the slow middle one runs on a worker: the candidate rows read here,
    // judged against the typed password anywhere (touching no database), a digest renewed here.
    DbRows officerRows(const QString& staffCode);
    struct SignInJudgement {
        std::optional<RecordMap> officer;
        // The stored value the officer matched, and whether it is to be renewed (an earlier scheme,
        // another work factor, a password in clear).
        QString stored;
        bool renew = false;
        // The digest's memory could not be had: nothing is known about the password.
        bool noMemory = false;
    };
    static SignInJudgement judgeSignIn(const DbRows& rows, const QString& password);
    // Replaces the matched officer's stored value by one of the current scheme; only the row as it was
    // read is changed, so should the write fail, the old digest still signs in.
    void renewDigest(const QString& staffCode, const QString& stored, const QString& current,
                     RecordMap& officer);
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
    SQLiteManager& db_;
    Log* log_;
};
