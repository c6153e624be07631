#include "core/SQLiteManager.h"
#include "core/ReferenceData.h"
#include "platform/fake/FakePlatform.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace {

class SQLiteManagerTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    FakePlatform fakes{dir.path(), dir.path()};
    SQLiteManager db{QStringLiteral("t.sqlite"), &fakes.files, &fakes.log};
    ReferenceData data{db};

    void exec(const char* sql) {
        const auto err = db.doQuery(QString::fromUtf8(sql));
        ASSERT_FALSE(err) << sql << " " << qPrintable(err->message);
    }

    QStringList column(const DbRows& rows, const char* name) {
        QStringList out;
        for (const DbRow& row : rows)
            out << SQLiteManager::text(row.value(QLatin1String(name)));
        return out;
    }
};

TEST_F(SQLiteManagerTest, ValuesKeepTheirStorageClass) {
    exec("create table v ('no' integer, amount real, name text, kosong text, picture blob)");
    exec("insert into v values (7, 12.5, 'AHMAD', NULL, x'0102')");
    const DbRows rows = db.getRowsForQuery(QStringLiteral("select * from v"));
    ASSERT_EQ(rows.size(), 1);
    const DbRow& row = rows.first();
    EXPECT_EQ(row.value(QStringLiteral("no")).metaType().id(), QMetaType::LongLong);
    EXPECT_EQ(SQLiteManager::text(row.value(QStringLiteral("no"))), QStringLiteral("7"));
    // A real column keeps its fraction.
    EXPECT_DOUBLE_EQ(row.value(QStringLiteral("amount")).toDouble(), 12.5);
    EXPECT_EQ(SQLiteManager::text(row.value(QStringLiteral("amount"))), QStringLiteral("12.5"));
    EXPECT_EQ(row.value(QStringLiteral("name")).toString(), QStringLiteral("AHMAD"));
    // Null is present as a marker, not an empty string; a blob is left out of the row.
    ASSERT_TRUE(row.contains(QStringLiteral("kosong")));
    EXPECT_TRUE(SQLiteManager::isNull(row.value(QStringLiteral("kosong"))));
    EXPECT_FALSE(row.contains(QStringLiteral("picture")));
}

TEST_F(SQLiteManagerTest, ErrorsCarryTheirCodesAndNoConnectionStaysOpen) {
    auto err = db.doQuery(QStringLiteral("insert into missing values (1)"));
    ASSERT_TRUE(err);
    EXPECT_EQ(err->code, 3);
    EXPECT_EQ(err->domain(), QStringLiteral("SQLite Error"));
    EXPECT_TRUE(err->message.contains(QStringLiteral("missing")));
    EXPECT_TRUE(db.getRowsForQuery(QStringLiteral("select * from missing")).isEmpty());
    EXPECT_TRUE(fakes.log.contains(QStringLiteral("no such table")));

    SQLiteManager nowhere(dir.path() + QStringLiteral("/no/such/dir/x.sqlite"), nullptr, &fakes.log);
    auto openErr = nowhere.doQuery(QStringLiteral("create table t (a)"));
    ASSERT_TRUE(openErr);
    EXPECT_EQ(openErr->code, 1);
    EXPECT_TRUE(openErr->message.startsWith(QStringLiteral("The database could not be opened: ")));
    EXPECT_TRUE(nowhere.getRowsForQuery(QStringLiteral("select 1")).isEmpty());
}

TEST_F(SQLiteManagerTest, QuotesAndPatternCharactersAreWholeValues) {
    exec("create table gc_penguatkuasa (peng_nama text, kod_pekerja text, status text)");
    ASSERT_FALSE(db.doQuery(QStringLiteral("insert into gc_penguatkuasa values (?, ?, 'A')"),
                            {QStringLiteral("MOHD NOR'AZMAN"), QStringLiteral("PK1'--")}));
    const DbRows rows = db.getRowsForQuery(
        QStringLiteral("select * from gc_penguatkuasa where kod_pekerja = ?"), {QStringLiteral("PK1'--")});
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows.first().value(QStringLiteral("peng_nama")).toString(), QStringLiteral("MOHD NOR'AZMAN"));
    // An injection attempt is just a value that matches nothing.
    EXPECT_TRUE(db.getRowsForQuery(QStringLiteral("select * from gc_penguatkuasa where kod_pekerja = ?"),
                                   {QStringLiteral("x' or '1'='1")})
                    .isEmpty());
}

TEST_F(SQLiteManagerTest, TransactionRollsBackOnFailure) {
    exec("create table t (a text)");
    exec("insert into t values ('old')");
    const bool committed = db.runInTransaction([&] {
        EXPECT_FALSE(db.doQuery(QStringLiteral("delete from t")));
        return false;
    });
    EXPECT_FALSE(committed);
    EXPECT_EQ(column(db.getRowsForQuery(QStringLiteral("select a from t")), "a"),
              QStringList{QStringLiteral("old")});
    EXPECT_TRUE(
        db.runInTransaction([&] { return !db.doQuery(QStringLiteral("insert into t values ('new')")); }));
    EXPECT_EQ(column(db.getRowsForQuery(QStringLiteral("select a from t")), "a").size(), 2);
}

TEST_F(SQLiteManagerTest, LookupsFilterAndOrderAsTheScreensNeed) {
    exec("create table gc_kod_seksyen (akta_id, kod_hasil, akta_seksyen_id, kod_seksyen, butir_seksyen, "
         "seksyen_detail, kadar_sebelum, kadar_tawaran, aktif)");
    exec("insert into gc_kod_seksyen values ('A1','H1','S2','8(2)','LETAK KENDERAAN','DI PETAK "
         "OKU','100','50','Y')");
    exec("insert into gc_kod_seksyen values ('A1','H1','S1','8(1)','TIDAK BAYAR','TIKET LETAK "
         "KERETA','50','30','Y')");
    exec("insert into gc_kod_seksyen values ('A1','H1','S3','9','LAMA','TIKET LUPUT','50','30','T')");
    exec("insert into gc_kod_seksyen values ('A2','H2','S4','3','GERAI','TIKET GERAI','200','100','Y')");
    EXPECT_EQ(column(data.getCategoryArray(QStringLiteral("A1")), "kod_seksyen"),
              (QStringList{QStringLiteral("8(1)"), QStringLiteral("8(2)")}));
    // Found through the particulars, within the act only, never an inactive section.
    EXPECT_EQ(
        column(data.getCategoryArraySearch(QStringLiteral("A1"), QStringLiteral("TIKET")), "akta_seksyen_id"),
        QStringList{QStringLiteral("S1")});
    EXPECT_TRUE(data.getCategoryArraySearch(QStringLiteral("A1"), QStringLiteral("GERAI")).isEmpty());

    exec("create table ge_kod_negeri (kod_negeri text, negeri text)");
    for (int code : {10, 2, 11, 1, 3})
        ASSERT_FALSE(db.doQuery(QStringLiteral("insert into ge_kod_negeri values (?, ?)"),
                                {QString::number(code), QStringLiteral("N%1").arg(code)}));
    EXPECT_EQ(column(data.getNegeri(), "kod_negeri").join(QLatin1Char(',')), QStringLiteral("1,2,3,10,11"));

    exec("create table gc_lokasi (kodkaw text, kodjalan text, prgn text)");
    exec("insert into gc_lokasi values ('K1','J12','JALAN MERANTI 3')");
    EXPECT_EQ(column(data.getLokasi(QStringLiteral("K1")), "prgn"),
              QStringList{QStringLiteral("J12-JALAN MERANTI 3")});

    const PickList methods = ReferenceData::caraPenyerahan();
    ASSERT_EQ(methods.size(), 9);
    EXPECT_EQ(methods.first(), (PickItem{QStringLiteral("Dalam Bakul"), QStringLiteral("1")}));
    EXPECT_EQ(methods.last(), (PickItem{QStringLiteral("Tampal"), QStringLiteral("9")}));
}

} // namespace
