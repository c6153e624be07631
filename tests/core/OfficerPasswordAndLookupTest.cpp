// Officers' passwords as digests, the search lookups' patterns, and the favourites file kept when unreadable.
#include "core/FavouriteStore.h"
#include "core/OfficerPassword.h"
#include "core/ReferenceData.h"
#include "core/ReferenceSchema.h"
#include "platform/fake/FakePlatform.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

namespace {

TEST(OfficerPasswordTest, DigestsAreSaltedAndMatchOnlyTheExactPassword) {
    const QString stored = OfficerPassword::digest(QStringLiteral("Lim 'Keong'"));
    ASSERT_TRUE(OfficerPassword::isDigest(stored));
    EXPECT_TRUE(stored.startsWith(QStringLiteral("pbkdf2-sha256$10000$")));
    EXPECT_FALSE(stored.contains(QStringLiteral("Keong")));
    // A fresh salt every time: two officers with one password do not share a digest.
    EXPECT_NE(OfficerPassword::digest(QStringLiteral("Lim 'Keong'")), stored);

    EXPECT_TRUE(OfficerPassword::matches(stored, QStringLiteral("Lim 'Keong'")));
    for (const QString& other :
         {QStringLiteral("lim 'keong'"), QStringLiteral("Lim 'Keong' "), QStringLiteral(" Lim 'Keong'"),
          QStringLiteral("Lim \"Keong\""), QStringLiteral("Lim 'Keong"), QString()})
        EXPECT_FALSE(OfficerPassword::matches(stored, other)) << other.toStdString();
    const QString empty = OfficerPassword::digest(QString());
    EXPECT_TRUE(OfficerPassword::matches(empty, QString()));
    EXPECT_FALSE(OfficerPassword::matches(empty, QStringLiteral(" ")));
    EXPECT_TRUE(OfficerPassword::matches(OfficerPassword::digest(QStringLiteral("kata\u00E9\u6797")),
                                         QStringLiteral("kata\u00E9\u6797")));

    // A known vector: PBKDF2-HMAC-SHA256("password", "salt", 1 round, 32 bytes).
    EXPECT_EQ(OfficerPassword::digest(QStringLiteral("password"), "salt", 1),
              QStringLiteral("pbkdf2-sha256$1$c2FsdA==$Eg+2z/z4syxD5yJSVsT4N6hlSMkszDVICAWYfLcL4Xs="));

    // Anything else is not a digest, and never matches as one.
    for (const QString& text :
         {QStringLiteral("merbau1001"), QStringLiteral("pbkdf2-sha256$10000$$"),
          QStringLiteral("pbkdf2-sha256$0$c2FsdA==$Eg+2z/z4syxD5yJSVsT4N6hlSMkszDVICAWYfLcL4Xs="),
          QStringLiteral("pbkdf2-sha256$01$c2FsdA==$Eg+2z/z4syxD5yJSVsT4N6hlSMkszDVICAWYfLcL4Xs="),
          QStringLiteral("pbkdf2-sha256$1$c2FsdA==$EgxLUmcj")}) {
        EXPECT_FALSE(OfficerPassword::isDigest(text)) << text.toStdString();
        EXPECT_FALSE(OfficerPassword::matches(text, text));
    }
}

class LookupTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    FakePlatform fakes{dir.path(), dir.path()};
    SQLiteManager db{QStringLiteral("t.sqlite"), &fakes.files, &fakes.log};
    ReferenceData data{db, &fakes.log};

    QStringList ids(const DbRows& rows, const char* column) {
        QStringList out;
        for (const DbRow& row : rows)
            out << SQLiteManager::text(row.value(QLatin1String(column)));
        return out;
    }
};

TEST_F(LookupTest, PercentAndUnderscoreInASearchAreThemselves) {
    ASSERT_FALSE(
        db.doQuery(QStringLiteral("create table gc_kod_seksyen (akta_id, kod_hasil, akta_seksyen_id, "
                                  "kod_seksyen, butir_seksyen, seksyen_detail, kadar_sebelum, "
                                  "kadar_tawaran, aktif)")));
    ASSERT_FALSE(
        db.doQuery(QStringLiteral("create table gc_kod_akta (akta_id, kod_akta, butir_akta, akta_detail, "
                                  "tarikh_update, jenis_kmp, title1, title2, aktif)")));
    const QList<QStringList> sections = {{QStringLiteral("S1"), QStringLiteral("CUKAI 10% LEWAT")},
                                         {QStringLiteral("S2"), QStringLiteral("CUKAI 100 LEWAT")},
                                         {QStringLiteral("S3"), QStringLiteral("KOD A_B")},
                                         {QStringLiteral("S4"), QStringLiteral("KOD AXB")},
                                         {QStringLiteral("S5"), QStringLiteral("JALAN\\LORONG")}};
    for (const QStringList& s : sections)
        ASSERT_FALSE(
            db.doQuery(QStringLiteral("insert into gc_kod_seksyen values ('A1','H',?,'1',?,'','','','Y')"),
                       {s[0], s[1]}));
    ASSERT_FALSE(db.doQuery(
        QStringLiteral("insert into gc_kod_akta values ('A1','UUK 50%','AKTA A_1','','','01','','','Y')")));
    ASSERT_FALSE(db.doQuery(
        QStringLiteral("insert into gc_kod_akta values ('A2','UUK 500','AKTA AB1','','','01','','','Y')")));

    auto sectionsFor = [&](const char* text) {
        return ids(data.getCategoryArraySearch(QStringLiteral("A1"), QString::fromUtf8(text)),
                   "akta_seksyen_id");
    };
    EXPECT_EQ(sectionsFor("10%"), QStringList{QStringLiteral("S1")});
    EXPECT_EQ(sectionsFor("A_B"), QStringList{QStringLiteral("S3")});
    EXPECT_EQ(sectionsFor("%"), QStringList{QStringLiteral("S1")});
    EXPECT_EQ(sectionsFor("\\"), QStringList{QStringLiteral("S5")});
    EXPECT_EQ(sectionsFor("cukai").size(), 2); // LIKE stays case-blind for ASCII, as before
    EXPECT_EQ(ids(data.getKeslahanSearch(QStringLiteral("01"), QStringLiteral("50%")), "akta_id"),
              QStringList{QStringLiteral("A1")});
    EXPECT_EQ(ids(data.getKeslahanSearch(QStringLiteral("01"), QStringLiteral("A_1")), "akta_id"),
              QStringList{QStringLiteral("A1")});
}

TEST_F(LookupTest, OfficerListReplacedInOneGoWithDigests) {
    QList<QStringList> rows;
    for (int i = 1; i <= 3; ++i) {
        QStringList values(ReferenceSchema::officerColumns().size());
        values[0] = QString::number(i);
        values[1] = QStringLiteral("PEGAWAI %1").arg(i);
        values[ReferenceSchema::passwordColumn] = QStringLiteral("rahsia %1").arg(i);
        values[4] = QStringLiteral("PK%1").arg(i);
        values[7] = i == 3 ? QStringLiteral("T") : QStringLiteral("A");
        rows << values;
    }
    ASSERT_TRUE(data.replaceOfficers(rows));
    EXPECT_EQ(data.checkUser().size(), 3);
    const auto officer = data.signIn(QStringLiteral("PK2"), QStringLiteral("rahsia 2"));
    ASSERT_TRUE(officer);
    EXPECT_EQ(officer->value(QStringLiteral("peng_nama")), QStringLiteral("PEGAWAI 2"));
    EXPECT_TRUE(OfficerPassword::isDigest(officer->value(QStringLiteral("peng_katalaluan"))));
    EXPECT_FALSE(data.signIn(QStringLiteral("PK3"), QStringLiteral("rahsia 3"))); // not active
    EXPECT_FALSE(data.signIn(QStringLiteral("PK9"), QStringLiteral("rahsia 2")));
}

TEST(FavouritesTest, UnreadableFileIsMovedAsideBeforeTheNextFavourite) {
    QTemporaryDir dir;
    FakeLog log;
    FavouriteStore favs{dir.path(), &log};
    const QByteArray damaged = "<?xml version=\"1.0\"?><plist><array><array><string>8(1)-TIDAK BAYAR</str";
    testsupport::writeFile(favs.path(), damaged);
    ASSERT_FALSE(favs.getFavSaveArray());
    ASSERT_TRUE(favs.insertIntoFav({{QStringLiteral("kesalahanID"), QStringLiteral("S2")}},
                                   QStringLiteral("9-GERAI"), QStringLiteral("TANPA LESEN")));
    const QStringList aside = QDir(dir.path()).entryList({QStringLiteral("fav.dat.unreadable-*")});
    ASSERT_EQ(aside.size(), 1);
    EXPECT_EQ(testsupport::readFile(dir.filePath(aside.first())), damaged);
    ASSERT_TRUE(favs.getFavSaveArray());
    EXPECT_EQ(favs.getFavSaveArray()->size(), 1);
    // Deleting from a list read out of a damaged file does not write over it either.
    testsupport::writeFile(favs.path(), damaged);
    ASSERT_TRUE(favs.replaceFav({}));
    EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("fav.dat.unreadable-*")}).size(), 2);
}

} // namespace
