#include "core/ReferenceData.h"

#include "core/OfficerPassword.h"
#include "core/ReferenceSchema.h"
#include "core/RunningNumber.h"
#include "platform/Log.h"

namespace {
const QString aktaColumns =
    QStringLiteral("akta_id, kod_akta, butir_akta, akta_detail, tarikh_update, jenis_kmp, title1, title2");
const QString seksyenColumns = QStringLiteral("akta_id,kod_hasil, akta_seksyen_id, kod_seksyen, "
                                              "butir_seksyen, seksyen_detail, kadar_sebelum, kadar_tawaran");
const QString paramColumns =
    QStringLiteral("select groupid, ordinal, integer, description from gc_paramtable ");
} // namespace

DbRows ReferenceData::checkUser() {
    return db_.getRowsForQuery(QStringLiteral("SELECT * FROM gc_penguatkuasa"));
}

DbRows ReferenceData::getAkta() {
    return db_.getRowsForQuery(QStringLiteral("select kod_jeniskmp, butiran from gc_kodjeniskmp"));
}

DbRows ReferenceData::getKeslahan(const QString& typeCode) {
    return db_.getRowsForQuery(
        QStringLiteral("select %1 from gc_kod_akta where aktif = 'Y' and jenis_kmp = ?").arg(aktaColumns),
        {typeCode});
}

DbRows ReferenceData::getKeslahanSearch(const QString& typeCode, const QString& text) {
    if (holdsNul(text))
        return {};
    return db_.getRowsForQuery(
        QStringLiteral(
            "select %1 from gc_kod_akta where aktif = 'Y' and jenis_kmp = ? and "
            "(kod_akta like '%' || ? || '%' ESCAPE '\\' or butir_akta like '%' || ? || '%' ESCAPE '\\')")
            .arg(aktaColumns),
        {typeCode, likeLiteral(text), likeLiteral(text)});
}

DbRows ReferenceData::getCategoryArray(const QString& actId) {
    return db_.getRowsForQuery(
        QStringLiteral("select %1 from gc_kod_seksyen where aktif='Y' and akta_id = ? order by kod_seksyen")
            .arg(seksyenColumns),
        {actId});
}

DbRows ReferenceData::getCategoryArraySearch(const QString& actId, const QString& text) {
    if (holdsNul(text))
        return {};
    return db_.getRowsForQuery(
        QStringLiteral(
            "select %1 from gc_kod_seksyen where aktif='Y' and akta_id = ? and "
            "(butir_seksyen like '%' || ? || '%' ESCAPE '\\' or seksyen_detail like '%' || ? || '%' "
            "ESCAPE '\\') order by kod_seksyen")
            .arg(seksyenColumns),
        {actId, likeLiteral(text), likeLiteral(text)});
}

DbRows ReferenceData::jenisKenderaan() {
    return db_.getRowsForQuery(paramColumns + QStringLiteral("where groupid = 1 order by ordinal asc"));
}

DbRows ReferenceData::jenisModel(const QString& vehicleTypeCode) {
    return db_.getRowsForQuery(paramColumns +
                                   QStringLiteral("where groupid = 2 and integer = ? order by ordinal asc"),
                               {vehicleTypeCode});
}

DbRows ReferenceData::jenisWarna() {
    return db_.getRowsForQuery(paramColumns + QStringLiteral("where groupid = 3 order by ordinal asc"));
}

DbRows ReferenceData::getPenguatkuasa() {
    return db_.getRowsForQuery(
        QStringLiteral("select peng_nama, peng_katalaluan, peng_ic, kod_pekerja, status from "
                       "gc_penguatkuasa where status = 'A' order by peng_nama"));
}

DbRows ReferenceData::getNegeri() {
    return db_.getRowsForQuery(
        QStringLiteral("select kod_negeri, negeri from ge_kod_negeri order by cast(kod_negeri as int) asc"));
}

DbRows ReferenceData::getNegeriSingle(const QString& stateCode) {
    return db_.getRowsForQuery(
        QStringLiteral(
            "select * from ge_kod_negeri WHERE kod_negeri = ?  order by cast(kod_negeri as int) asc"),
        {stateCode});
}

DbRows ReferenceData::getPoskod(const QString& postcode) {
    return db_.getRowsForQuery(QStringLiteral("select * from ge_kod_poskod where poskod = ?"), {postcode});
}

DbRows ReferenceData::getKawasan() {
    return db_.getRowsForQuery(
        QStringLiteral("select kodkaw, short_desc from gc_kawasan order by short_desc ASC"));
}

DbRows ReferenceData::getLokasi(const QString& areaCode) {
    return db_.getRowsForQuery(
        QStringLiteral("select kodkaw, kodjalan, kodjalan || '-' || prgn as prgn from gc_lokasi "
                       "where kodkaw = ? order by kodjalan ASC"),
        {areaCode});
}

PickList ReferenceData::caraPenyerahan() {
    return {
        {QStringLiteral("Dalam Bakul"), QStringLiteral("1")},
        {QStringLiteral("Dgn Pos"), QStringLiteral("2")},
        {QStringLiteral("Dengan Tangan"), QStringLiteral("3")},
        {QStringLiteral("Diselit Wiper"), QStringLiteral("4")},
        {QStringLiteral("Masuk ke dalam peti surat"), QStringLiteral("5")},
        {QStringLiteral("Serah kepada pemilik"), QStringLiteral("6")},
        {QStringLiteral("Serah kepada pemilik restoran"), QStringLiteral("7")},
        {QStringLiteral("Serah kepada pekerja"), QStringLiteral("8")},
        {QStringLiteral("Tampal"), QStringLiteral("9")},
    };
}

bool ReferenceData::deviceTableExists() {
    return !db_
                .getRowsForQuery(QStringLiteral(
                    "SELECT name FROM sqlite_master WHERE type='table' AND name='device_info';"))
                .isEmpty();
}

DbRows ReferenceData::deviceRow() {
    return db_.getRowsForQuery(QStringLiteral("SELECT no, device_id, no_akhir FROM device_info WHERE no=1;"));
}

PickList ReferenceData::paramItems(const DbRows& rows) {
    PickList items;
    for (const DbRow& row : rows)
        items.append({SQLiteManager::text(row.value(QStringLiteral("description"))),
                      SQLiteManager::text(row.value(QStringLiteral("ordinal")))});
    return items;
}

bool ReferenceData::holdsNul(const QString& text) {
    return text.contains(QChar(u'\0'));
}

QString ReferenceData::likeLiteral(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('%') || c == QLatin1Char('_'))
            out += QLatin1Char('\\');
        out += c;
    }
    return out;
}

void ReferenceData::logError(const DbError& error) {
    log_->write(QStringLiteral("Error: %1").arg(error.describe()));
}

QStringList ReferenceData::withDigest(QStringList row) {
    if (row.size() > ReferenceSchema::passwordColumn)
        row[ReferenceSchema::passwordColumn] = OfficerPassword::digest(row[ReferenceSchema::passwordColumn]);
    return row;
}

QList<QStringList> ReferenceData::withDigest(QList<QStringList> rows) {
    for (QStringList& row : rows)
        row = withDigest(std::move(row));
    return rows;
}

bool ReferenceData::replaceDigestedOfficers(const QList<QStringList>& stored) {
    // Digested before the transaction: the table is then locked only for the inserts.
    const QString insert = QStringLiteral("INSERT INTO gc_penguatkuasa ( %1 ) VALUES(?,?,?,?,?,?,?,?,?,?,?)")
                               .arg(ReferenceSchema::officerColumns().join(QStringLiteral(", ")));
    return db_.runInTransaction([&] {
        if (const auto e = db_.doQuery(QStringLiteral("drop table if exists gc_penguatkuasa")))
            logError(*e);
        if (const auto e = db_.doQuery(QString::fromLatin1(ReferenceSchema::officerTable))) {
            logError(*e);
            return false;
        }
        for (const QStringList& values : stored)
            if (const auto e = db_.doQuery(insert, values))
                logError(*e); // skipped; the others still make a usable table
        return true;
    });
}

bool ReferenceData::registerDevice(const QString& deviceId, const QString& lastNumber, int councilLast,
                                   RunningNumber& numbers) {
    const bool registered = db_.runInTransaction([&] {
        if (const auto e = db_.doQuery(QStringLiteral("drop table if exists device_info")))
            logError(*e);
        if (const auto e = db_.doQuery(QString::fromLatin1(ReferenceSchema::deviceTable))) {
            logError(*e);
            return false;
        }
        if (const auto e =
                db_.doQuery(QStringLiteral("INSERT INTO device_info ( no, uuid, device_id, "
                                           "device_desc, no_akhir ) VALUES(1,?,?,?,?)"),
                            {QStringLiteral("000"), deviceId, QStringLiteral("000"), lastNumber})) {
            logError(*e);
            return false;
        }
        // Last inside the transaction, so a number that cannot be written keeps the old registration. A
        // number raised before a failed commit stays raised: a number skipped is never one given twice.
        return numbers.seedFromCouncil(councilLast, deviceId);
    });
    if (!registered)
        return false;
    // The council's number is known again: numbering is trusted from here on.
    numbers.markTrusted();
    return true;
}

DbRows ReferenceData::officerRows(const QString& staffCode) {
    return db_.getRowsForQuery(
        QStringLiteral("select peng_nama, peng_katalaluan, peng_ic, kod_pekerja, status from gc_penguatkuasa "
                       "where status = 'A' AND kod_pekerja=?"),
        {staffCode});
}

ReferenceData::SignInJudgement ReferenceData::judgeSignIn(const DbRows& rows, const QString& password) {
    SignInJudgement out;
    bool worked = false;
    for (const DbRow& row : rows) {
        const QVariant stored = row.value(QStringLiteral("peng_katalaluan"));
        // A null or binary password never matched a typed one, and still does not.
        if (!stored.isValid() || SQLiteManager::isNull(stored))
            continue;
        const QString text = SQLiteManager::text(stored);
        bool match = false;
        if (OfficerPassword::isDigest(text)) {
            worked = true;
            const OfficerPassword::Check c = OfficerPassword::check(text, password);
            if (c == OfficerPassword::Check::NoMemory) {
                out.noMemory = true;
                return out;
            }
            match = c == OfficerPassword::Check::Matches;
        } else {
            // Left in clear only when it could not be converted; compared as it is, and replaced.
            match = text == password;
        }
        if (match) {
            out.officer.emplace();
            for (auto it = row.cbegin(); it != row.cend(); ++it)
                out.officer->insert(it.key(), SQLiteManager::text(it.value()));
            out.stored = text;
            out.renew = !OfficerPassword::isCurrent(text);
            return out;
        }
    }
    // The same work as a real check, so the time taken does not tell which staff codes exist.
    if (!worked)
        OfficerPassword::digest(password);
    return out;
}

std::optional<RecordMap> ReferenceData::signIn(const QString& staffCode, const QString& password) {
    SignInJudgement judged = judgeSignIn(officerRows(staffCode), password);
    if (judged.officer && judged.renew)
        renewDigest(staffCode, judged.stored, OfficerPassword::digest(password), *judged.officer);
    return judged.officer;
}

void ReferenceData::renewDigest(const QString& staffCode, const QString& stored, const QString& current,
                                RecordMap& officer) {
    // The password is known at a sign-in, and only then: its digest is made again in the current
    // scheme.
    if (!OfficerPassword::isCurrent(current))
        return;
    if (const auto e = db_.doQuery(QStringLiteral("update gc_penguatkuasa set peng_katalaluan = ? where "
                                                  "kod_pekerja = ? and peng_katalaluan = ?"),
                                   {current, staffCode, stored})) {
        logError(*e);
        return;
    }
    officer.insert(QStringLiteral("peng_katalaluan"), current);
    log_->write(QStringLiteral("Officer %1: password digest renewed").arg(staffCode));
}

int ReferenceData::convertClearPasswords() {
    const DbRows rows =
        db_.getRowsForQuery(QStringLiteral("select rowid as r, peng_katalaluan from gc_penguatkuasa"));
    QList<QStringList> updates;
    for (const DbRow& row : rows) {
        const QVariant stored = row.value(QStringLiteral("peng_katalaluan"));
        if (!stored.isValid() || SQLiteManager::isNull(stored))
            continue;
        const QString text = SQLiteManager::text(stored);
        // The quick earlier scheme: this runs at start-up before the first screen, for every officer at
        // once; each digest becomes the current scheme at its officer's next sign-in.
        if (!OfficerPassword::isDigest(text))
            updates.append(
                {OfficerPassword::pbkdf2Digest(text), SQLiteManager::text(row.value(QStringLiteral("r")))});
    }
    if (updates.isEmpty())
        return 0;
    const bool converted = db_.runInTransaction([&] {
        for (const QStringList& update : updates)
            if (const auto e = db_.doQuery(
                    QStringLiteral("update gc_penguatkuasa set peng_katalaluan = ? where rowid = ?"),
                    update)) {
                logError(*e);
                return false;
            }
        return true;
    });
    log_->write(converted ? QStringLiteral("Officer passwords kept as digests: %1").arg(updates.size())
                          : QStringLiteral("Officer passwords could not be converted; kept as they were"));
    return converted ? int(updates.size()) : -1;
}
