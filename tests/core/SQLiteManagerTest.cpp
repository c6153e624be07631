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

// Nothing reads an error's code or wording (only the log shows them): a failure is one, and gives no rows.
TEST_F(SQLiteManagerTest, AFailedStatementOrDatabaseIsAnErrorAndGivesNoRows) {
    EXPECT_TRUE(db.doQuery(QStringLiteral("insert into missing values (1)")));
    EXPECT_TRUE(db.getRowsForQuery(QStringLiteral("select * from missing")).isEmpty());
    SQLiteManager nowhere(dir.path() + QStringLiteral("/no/such/dir/x.sqlite"), nullptr, &fakes.log);
    EXPECT_TRUE(nowhere.doQuery(QStringLiteral("create table t (a)")));
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

// The other lookups' order and labels are checked over the shipped database (ReferenceDatabaseContentTest).
TEST_F(SQLiteManagerTest, SectionAndActLookupsFilterOrderAndSearchAsTheScreensNeed) {
    exec("create table gc_kod_seksyen (akta_id, kod_hasil, akta_seksyen_id, kod_seksyen, butir_seksyen, "
         "seksyen_detail, kadar_sebelum, kadar_tawaran, aktif)");
    const QStringList sections[] = {// act, id, code, particulars, detail, active
                                    {"A1", "S2", "8(2)", "LETAK KENDERAAN", "DI PETAK OKU", "Y"},
                                    {"A1", "S1", "8(1)", "TIDAK BAYAR", "TIKET LETAK KERETA", "Y"},
                                    {"A1", "S3", "9", "LAMA", "TIKET LUPUT", "T"},
                                    {"A2", "S4", "3", "GERAI", "TIKET GERAI", "Y"},
                                    {"A3", "S5", "1", "CUKAI 10% LEWAT", "", "Y"},
                                    {"A3", "S6", "2", "CUKAI 100 LEWAT", "", "Y"},
                                    {"A3", "S7", "3", "KOD A_B", "", "Y"},
                                    {"A3", "S8", "4", "KOD AXB", "", "Y"},
                                    {"A3", "S9", "5", "JALAN\\LORONG", "", "Y"}};
    for (const QStringList& s : sections)
        ASSERT_FALSE(
            db.doQuery(QStringLiteral("insert into gc_kod_seksyen values (?,'H1',?,?,?,?,'100','50',?)"), s));
    EXPECT_EQ(column(data.getCategoryArray(QStringLiteral("A1")), "kod_seksyen"),
              (QStringList{QStringLiteral("8(1)"), QStringLiteral("8(2)")}));
    // Found through the particulars, within the act only, never an inactive section.
    auto search = [&](const char* act, const char* text) {
        return column(data.getCategoryArraySearch(QString::fromLatin1(act), QString::fromUtf8(text)),
                      "akta_seksyen_id");
    };
    EXPECT_EQ(search("A1", "TIKET"), QStringList{QStringLiteral("S1")});
    EXPECT_TRUE(search("A1", "GERAI").isEmpty());
    // Percent, underscore and backslash in a search are themselves; case stays blind for ASCII, as before.
    EXPECT_EQ(search("A3", "10%"), QStringList{QStringLiteral("S5")});
    EXPECT_EQ(search("A3", "%"), QStringList{QStringLiteral("S5")});
    EXPECT_EQ(search("A3", "A_B"), QStringList{QStringLiteral("S7")});
    EXPECT_EQ(search("A3", "\\"), QStringList{QStringLiteral("S9")});
    EXPECT_EQ(search("A3", "cukai").size(), 2);
    // A NUL inside a search is part of it, not its end: "TIKET<NUL>ZZZ" is no search for "TIKET".
    const QString withNul = QStringLiteral("TIKET") + QChar(u'\0') + QStringLiteral("ZZZ");
    EXPECT_TRUE(data.getCategoryArraySearch(QStringLiteral("A1"), withNul).isEmpty());
    EXPECT_TRUE(data.getCategoryArraySearch(QStringLiteral("A1"), QString(QChar(u'\0'))).isEmpty());
    exec("create table gc_kod_akta (akta_id, kod_akta, butir_akta, akta_detail, tarikh_update, jenis_kmp, "
         "title1, title2, aktif)");
    exec("insert into gc_kod_akta values ('A1','UUK 50%','AKTA A_1','','','01','','','Y')");
    exec("insert into gc_kod_akta values ('A2','UUK 500','AKTA AB1','','','01','','','Y')");
    EXPECT_EQ(column(data.getKeslahanSearch(QStringLiteral("01"), QStringLiteral("50%")), "akta_id"),
              QStringList{QStringLiteral("A1")});
    EXPECT_EQ(column(data.getKeslahanSearch(QStringLiteral("01"), QStringLiteral("A_1")), "akta_id"),
              QStringList{QStringLiteral("A1")});
    EXPECT_TRUE(data.getKeslahanSearch(QStringLiteral("01"),
                                       QStringLiteral("UUK") + QChar(u'\0') + QStringLiteral("X"))
                    .isEmpty());
}

} // namespace
