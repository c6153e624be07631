#pragma once

#include <QStringList>

// The two tables of the reference database that the phone rebuilds itself (the officers, from the
// council's list; the registration, at device registration), created by these statements and no other:
// the shipped database (make-reference-db), the rebuilds and the tests all use them.
namespace ReferenceSchema {

inline constexpr char officerTable[] =
    "CREATE TABLE IF NOT EXISTS 'gc_penguatkuasa' ('no' INTEGER PRIMARY KEY  NOT NULL,'peng_id' TEXT, "
    "'peng_nama' TEXT, 'peng_katalaluan' TEXT, 'peng_ic' TEXT, 'kod_pekerja' TEXT, 'tarikh_daftar' TEXT, "
    "'tarikh_update' TEXT, 'status' TEXT, 'peng_ubah' TEXT, 'jawatan' TEXT, 'tkh_ubah' TEXT);";

inline constexpr char deviceTable[] =
    "CREATE TABLE IF NOT EXISTS 'device_info' ('no' INTEGER PRIMARY KEY  NOT NULL,'uuid' TEXT, 'device_id' "
    "TEXT, 'device_desc' TEXT, 'no_akhir' TEXT);";

// The officer columns the council sends, in the order of the table.
inline QStringList officerColumns() {
    return {QStringLiteral("peng_id"),       QStringLiteral("peng_nama"),   QStringLiteral("peng_katalaluan"),
            QStringLiteral("peng_ic"),       QStringLiteral("kod_pekerja"), QStringLiteral("tarikh_daftar"),
            QStringLiteral("tarikh_update"), QStringLiteral("status"),      QStringLiteral("peng_ubah"),
            QStringLiteral("jawatan"),       QStringLiteral("tkh_ubah")};
}
inline constexpr int passwordColumn = 2;

// Every table the lookups and the sign-in read; a working copy lacking one of them is not installed.
inline QStringList shippedTables() {
    return {
        QStringLiteral("gc_penguatkuasa"), QStringLiteral("gc_kodjeniskmp"), QStringLiteral("gc_kod_akta"),
        QStringLiteral("gc_kod_seksyen"),  QStringLiteral("gc_paramtable"),  QStringLiteral("ge_kod_negeri"),
        QStringLiteral("ge_kod_poskod"),   QStringLiteral("gc_kawasan"),     QStringLiteral("gc_lokasi")};
}

} // namespace ReferenceSchema
