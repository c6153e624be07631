// Checks the shipped TVR.sqlite for the properties the screens and the sign-in rely on, so a change to the
// seed SQL that would break them fails here rather than on a phone.
#include "core/OfficerPassword.h"
#include "core/ReferenceData.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

class ReferenceDatabaseContentTest : public ::testing::Test {
protected:
    SQLiteManager handle{testsupport::resourceDir() + QStringLiteral("/TVR.sqlite"), nullptr, nullptr};
    ReferenceData lookups{handle};

    bool none(const char* sql) { return handle.getRowsForQuery(QString::fromLatin1(sql)).isEmpty(); }
    static QStringList column(const DbRows& rows, const char* name) {
        QStringList out;
        for (const DbRow& row : rows)
            out << SQLiteManager::text(row.value(QLatin1String(name)));
        return out;
    }
};

TEST_F(ReferenceDatabaseContentTest, EveryListTheIssuingScreensOfferHasConsistentRowsToPick) {
    // Through the application's own lookups: states in numeric order, all sixteen.
    const QStringList states = column(lookups.getNegeri(), "kod_negeri");
    ASSERT_EQ(states.size(), 16);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(states[i], QString::number(i + 1));
    const QStringList names = column(lookups.getNegeri(), "negeri");
    EXPECT_EQ(names.value(9), QStringLiteral("SELANGOR"));
    EXPECT_EQ(names.value(13), QStringLiteral("WILAYAH PERSEKUTUAN KUALA LUMPUR"));
    // The first two compound types are traffic, then the vehicle by-law; acts keep the file's order.
    const DbRows types = lookups.getAkta();
    ASSERT_EQ(types.size(), 6);
    EXPECT_EQ(column(types, "kod_jeniskmp").mid(0, 2) + column(types, "butiran").mid(0, 2),
              (QStringList{"01", "02", "LALU LINTAS", "UNDANG-UNDANG KECIL KENDERAAN"}));
    EXPECT_EQ(column(lookups.getKeslahan(QStringLiteral("03")), "kod_akta"),
              (QStringList{"UUK IKL 2010", "UUK PJJ 2008", "UUK PTPP 2008"}));
    // The council's own town (streets and witnesses are picked through PickListTest); many car models, some
    // motorcycle ones, more than a handful of vehicle types and colours.
    EXPECT_EQ(column(lookups.getPoskod(QStringLiteral("42940")), "bandar"), QStringList{"TELUKMERBAU"});
    EXPECT_EQ(column(lookups.getPoskod(QStringLiteral("42940")), "kod_negeri"), QStringList{"10"});
    EXPECT_GE(lookups.jenisModel(QStringLiteral("1")).size(), 10);
    EXPECT_FALSE(lookups.jenisModel(QStringLiteral("2")).isEmpty());
    EXPECT_GE(lookups.jenisKenderaan().size(), 10);
    EXPECT_GE(lookups.jenisWarna().size(), 10);
    // Inactive acts and sections are there for the filters to leave out.
    EXPECT_FALSE(none("select 1 from gc_kod_akta where aktif <> 'Y'"));
    EXPECT_FALSE(none("select 1 from gc_kod_seksyen where aktif <> 'Y'"));

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
        EXPECT_TRUE(none(broken)) << broken;
}

TEST_F(ReferenceDatabaseContentTest, OfficersSignInByDigestOnlyAndThePhoneShipsUnregistered) {
    // Signing in with the shipped officers, active or not, is checked through the login (LoginAndShellTest).
    for (const QString& stored : column(lookups.checkUser(), "peng_katalaluan"))
        EXPECT_TRUE(OfficerPassword::isDigest(stored)) << stored.toStdString();
    EXPECT_FALSE(lookups.deviceTableExists());
}

} // namespace
