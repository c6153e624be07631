#include "core/ReferenceData.h"

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
    return db_.getRowsForQuery(
        QStringLiteral("select %1 from gc_kod_akta where aktif = 'Y' and jenis_kmp = ? and "
                       "(kod_akta like '%' || ? || '%' or butir_akta like '%' || ? || '%')")
            .arg(aktaColumns),
        {typeCode, text, text});
}

DbRows ReferenceData::getCategoryArray(const QString& actId) {
    return db_.getRowsForQuery(
        QStringLiteral("select %1 from gc_kod_seksyen where aktif='Y' and akta_id = ? order by kod_seksyen")
            .arg(seksyenColumns),
        {actId});
}

DbRows ReferenceData::getCategoryArraySearch(const QString& actId, const QString& text) {
    return db_.getRowsForQuery(
        QStringLiteral("select %1 from gc_kod_seksyen where aktif='Y' and akta_id = ? and "
                       "(butir_seksyen like '%' || ? || '%' or seksyen_detail like '%' || ? || '%') order by "
                       "kod_seksyen")
            .arg(seksyenColumns),
        {actId, text, text});
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
