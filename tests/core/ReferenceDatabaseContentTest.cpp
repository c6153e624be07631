// Checks the shipped TVR.sqlite for the properties the screens and the sign-in rely on, so a change to the
// seed SQL that would break them fails here rather than on a phone.
#include "core/OfficerPassword.h"
#include "core/ReferenceData.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using Rows = std::vector<std::vector<std::string>>;

class ReferenceDatabaseContentTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string path = (testsupport::resourceDir() + "/TVR.sqlite").toStdString();
        ASSERT_EQ(sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK)
            << path << ": " << sqlite3_errmsg(db_);
    }
    void TearDown() override { sqlite3_close(db_); }

    // The application's own lookups over the same file.
    SQLiteManager handle{testsupport::resourceDir() + QStringLiteral("/TVR.sqlite"), nullptr, nullptr};
    ReferenceData lookups{handle};

    // Every column as text (null as ""), in the order SQLite returns the rows.
    Rows query(const char* sql) {
        Rows rows;
        sqlite3_stmt* stmt = nullptr;
        EXPECT_EQ(sqlite3_prepare_v2(db_, sql, -1, &stmt, nullptr), SQLITE_OK)
            << sql << ": " << sqlite3_errmsg(db_);
        while (stmt != nullptr && sqlite3_step(stmt) == SQLITE_ROW) {
            std::vector<std::string> row;
            for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
                const unsigned char* text = sqlite3_column_text(stmt, i);
                row.emplace_back(text != nullptr ? reinterpret_cast<const char*>(text) : "");
            }
            rows.push_back(std::move(row));
        }
        sqlite3_finalize(stmt);
        return rows;
    }

    sqlite3* db_ = nullptr;
};

TEST_F(ReferenceDatabaseContentTest, EveryListTheIssuingScreensOfferHasConsistentRowsToPick) {
    const Rows states =
        query("select kod_negeri, negeri from ge_kod_negeri order by cast(kod_negeri as int) asc");
    ASSERT_EQ(states.size(), 16U);
    for (std::size_t i = 0; i < states.size(); ++i)
        EXPECT_EQ(states[i][0], std::to_string(i + 1));
    EXPECT_EQ(states[9][1], "SELANGOR");
    EXPECT_EQ(states[13][1], "WILAYAH PERSEKUTUAN KUALA LUMPUR");

    // The first two compound types are traffic, then the vehicle by-law.
    const Rows types = query("select kod_jeniskmp, butiran from gc_kodjeniskmp");
    ASSERT_EQ(types.size(), 6U);
    EXPECT_EQ(types[0], (std::vector<std::string>{"01", "LALU LINTAS"}));
    EXPECT_EQ(types[1], (std::vector<std::string>{"02", "UNDANG-UNDANG KECIL KENDERAAN"}));
    // The lists show acts in the file's order; later additions go after the earlier ones.
    EXPECT_EQ(query("select kod_akta from gc_kod_akta where aktif = 'Y' and jenis_kmp = '03'"),
              (Rows{{"UUK IKL 2010"}, {"UUK PJJ 2008"}, {"UUK PTPP 2008"}}));
    // The council's own town is there; streets are labelled "code-name" by the street list's own statement.
    EXPECT_EQ(query("select bandar, kod_negeri from ge_kod_poskod where poskod = '42940'"),
              (Rows{{"TELUKMERBAU", "10"}}));
    EXPECT_EQ(query("select kodkaw, kodjalan, kodjalan || '-' || prgn as prgn from gc_lokasi where kodkaw = "
                    "'K01' order by kodjalan ASC")
                  .front(),
              (std::vector<std::string>{"K01", "J01", "J01-JALAN BESAR"}));

    // Each of these finds rows that would break a list: there must be none.
    for (const char* broken :
         {// Every compound type offers several active acts, each at least two active sections.
          "select kod_jeniskmp from gc_kodjeniskmp t where (select count(*) from gc_kod_akta a where "
          "a.jenis_kmp = t.kod_jeniskmp and a.aktif = 'Y') < 3",
          "select akta_id from gc_kod_akta a where aktif = 'Y' and (select count(*) from gc_kod_seksyen s "
          "where s.akta_id = a.akta_id and s.aktif = 'Y') < 2",
          "select akta_seksyen_id from gc_kod_seksyen s where aktif = 'Y' and not exists (select 1 from "
          "gc_kod_akta a where a.akta_id = s.akta_id)",
          // Amounts are positive, the offer no more than the full amount, with two decimals.
          "select akta_seksyen_id from gc_kod_seksyen where cast(kadar_sebelum as real) <= 0 or "
          "cast(kadar_tawaran as real) <= 0 or cast(kadar_tawaran as real) > cast(kadar_sebelum as real) "
          "or kadar_sebelum not like '%.__'",
          // Section ids are what a compound names its offence by: one row each.
          "select akta_seksyen_id from gc_kod_seksyen group by akta_seksyen_id having count(*) > 1",
          // Every model is of a vehicle type.
          "select description from gc_paramtable m where groupid = 2 and not exists (select 1 from "
          "gc_paramtable t where t.groupid = 1 and t.ordinal = m.\"integer\")",
          // Every postcode names a town and a state that exists.
          "select poskod from ge_kod_poskod p where bandar = '' or length(poskod) <> 5 or not exists "
          "(select 1 from ge_kod_negeri n where n.kod_negeri = p.kod_negeri)",
          // Every area has streets.
          "select kodkaw from gc_kawasan k where (select count(*) from gc_lokasi l where l.kodkaw = "
          "k.kodkaw) < 3"})
        EXPECT_TRUE(query(broken).empty()) << broken;

    // Enough rows to pick from: inactive acts and sections for the filters to leave out, many car models,
    // some motorcycle models, more than a handful of vehicle types and colours.
    for (const auto& [sql, least] : std::initializer_list<std::pair<const char*, std::size_t>>{
             {"select 1 from gc_kod_akta where aktif <> 'Y'", 1},
             {"select 1 from gc_kod_seksyen where aktif <> 'Y'", 1},
             {"select 1 from gc_paramtable where groupid = 2 and integer = '1'", 10},
             {"select 1 from gc_paramtable where groupid = 2 and integer = '2'", 1},
             {"select 1 from gc_paramtable where groupid = 1", 10},
             {"select 1 from gc_paramtable where groupid = 3", 10}})
        EXPECT_GE(query(sql).size(), least) << sql;
}

TEST_F(ReferenceDatabaseContentTest, OfficersSignInByDigestOnlyAndThePhoneShipsUnregistered) {
    // Witnesses are picked from the active officers; inactive ones are there for sign-in to refuse.
    EXPECT_GE(query("select 1 from gc_penguatkuasa where status = 'A'").size(), 5U);
    EXPECT_FALSE(query("select 1 from gc_penguatkuasa where status <> 'A'").empty());
    const auto officer = lookups.signIn(QStringLiteral("PK1001"), QStringLiteral("merbau1001"));
    ASSERT_TRUE(officer);
    EXPECT_EQ(officer->value(QStringLiteral("peng_nama")), QStringLiteral("AHMAD FAUZI BIN ISMAIL"));
    for (const auto& row : query("select peng_katalaluan from gc_penguatkuasa"))
        EXPECT_TRUE(OfficerPassword::isDigest(QString::fromStdString(row[0]))) << row[0];
    EXPECT_TRUE(query("SELECT name FROM sqlite_master WHERE type='table' AND name='device_info';").empty());
}

} // namespace
