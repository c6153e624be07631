// Officers' passwords as digests: sign-in after an upgrade and after an officer list rests on these.
#include "core/OfficerPassword.h"
#include "core/ReferenceData.h"
#include "core/ReferenceSchema.h"
#include "core/SQLiteManager.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <argon2.h>

#include <cstdlib>

namespace {

TEST(OfficerPasswordTest, DigestsAreMemoryHardSaltedAndMatchOnlyTheExactPassword) {
    const QString stored = OfficerPassword::digest(QStringLiteral("Lim 'Keong'"));
    ASSERT_TRUE(OfficerPassword::isDigest(stored));
    EXPECT_TRUE(stored.startsWith(QStringLiteral("$argon2id$v=19$m=32768,t=2,p=1$"))) << stored.toStdString();
    EXPECT_TRUE(OfficerPassword::isCurrent(stored));
    EXPECT_FALSE(stored.contains(QStringLiteral("Keong")));
    // A fresh salt every time: two officers with one password do not share a digest.
    EXPECT_NE(OfficerPassword::digest(QStringLiteral("Lim 'Keong'")), stored);

    EXPECT_TRUE(OfficerPassword::matches(stored, QStringLiteral("Lim 'Keong'")));
    for (const QString& other : {QStringLiteral("lim 'keong'"), QStringLiteral("Lim 'Keong' "),
                                 QStringLiteral("Lim 'Keong"), QString()})
        EXPECT_FALSE(OfficerPassword::matches(stored, other)) << other.toStdString();
    const QString empty = OfficerPassword::digest(QString());
    EXPECT_TRUE(OfficerPassword::matches(empty, QString()));
    EXPECT_FALSE(OfficerPassword::matches(empty, QStringLiteral(" ")));
    EXPECT_TRUE(OfficerPassword::matches(OfficerPassword::digest(QStringLiteral("kata\u00E9\u6797")),
                                         QStringLiteral("kata\u00E9\u6797")));
    // A digest of lighter work still verifies, and counts as one to renew.
    const QString lighter =
        OfficerPassword::argon2idDigest(QStringLiteral("rahsia"), QByteArray(16, 's'), 1024, 1);
    EXPECT_TRUE(OfficerPassword::matches(lighter, QStringLiteral("rahsia")));
    EXPECT_FALSE(OfficerPassword::isCurrent(lighter));
    // The previous release's digests (64 MiB, 3 passes) are the most a stored digest may ask: they
    // verify, once, and are renewed.
    const QString previous =
        OfficerPassword::argon2idDigest(QStringLiteral("rahsia"), QByteArray(16, 'p'), 64 * 1024, 3);
    EXPECT_TRUE(OfficerPassword::matches(previous, QStringLiteral("rahsia")));
    EXPECT_FALSE(OfficerPassword::matches(previous, QStringLiteral("rahsia ")));
    EXPECT_FALSE(OfficerPassword::isCurrent(previous));
}

TEST(OfficerPasswordTest, MemoryThatCannotBeHadIsNotAWrongPassword) {
    const QString stored = OfficerPassword::digest(QStringLiteral("rahsia"));
    const OfficerPassword::Allocate refused = [](uint8_t**, size_t) {
        return int(ARGON2_MEMORY_ALLOCATION_ERROR);
    };
    EXPECT_EQ(OfficerPassword::check(stored, QStringLiteral("rahsia"), refused),
              OfficerPassword::Check::NoMemory);
    EXPECT_EQ(OfficerPassword::check(stored, QStringLiteral("salah"), refused),
              OfficerPassword::Check::NoMemory);
    const OfficerPassword::Allocate given = [](uint8_t** memory, size_t bytes) {
        *memory = static_cast<uint8_t*>(std::malloc(bytes));
        return *memory ? int(ARGON2_OK) : int(ARGON2_MEMORY_ALLOCATION_ERROR);
    };
    EXPECT_EQ(OfficerPassword::check(stored, QStringLiteral("rahsia"), given),
              OfficerPassword::Check::Matches);
    EXPECT_EQ(OfficerPassword::check(stored, QStringLiteral("salah"), given),
              OfficerPassword::Check::DoesNotMatch);
}

TEST(OfficerPasswordTest, EarlierDigestsStillVerifyAndNothingElseCounts) {
    // A known vector: PBKDF2-HMAC-SHA256("password", "salt", 1 round, 32 bytes).
    const QString known =
        QStringLiteral("pbkdf2-sha256$1$c2FsdA==$Eg+2z/z4syxD5yJSVsT4N6hlSMkszDVICAWYfLcL4Xs=");
    EXPECT_EQ(OfficerPassword::digest(QStringLiteral("password"), "salt", 1), known);
    EXPECT_TRUE(OfficerPassword::matches(known, QStringLiteral("password")));
    EXPECT_FALSE(OfficerPassword::matches(known, QStringLiteral("Password")));
    const QString earlier = OfficerPassword::pbkdf2Digest(QStringLiteral("rahsia"));
    EXPECT_TRUE(earlier.startsWith(QStringLiteral("pbkdf2-sha256$10000$")));
    EXPECT_TRUE(OfficerPassword::isDigest(earlier));
    EXPECT_FALSE(OfficerPassword::isCurrent(earlier));
    EXPECT_TRUE(OfficerPassword::matches(earlier, QStringLiteral("rahsia")));

    // Anything else is not a digest, and never matches as one: a stored value asking for gigabytes of
    // memory or thousands of passes is refused before any work is done.
    const QString tail =
        QStringLiteral("$c2FsdHNhbHRzYWx0c2FsdA$Eg+2z/z4syxD5yJSVsT4N6hlSMkszDVICAWYfLcL4Xs");
    for (const QString& text :
         {QStringLiteral("merbau1001"), QStringLiteral("pbkdf2-sha256$10000$$"),
          QStringLiteral("pbkdf2-sha256$0$c2FsdA==$Eg+2z/z4syxD5yJSVsT4N6hlSMkszDVICAWYfLcL4Xs="),
          QStringLiteral("pbkdf2-sha256$01$c2FsdA==$Eg+2z/z4syxD5yJSVsT4N6hlSMkszDVICAWYfLcL4Xs="),
          QStringLiteral("pbkdf2-sha256$1$c2FsdA==$EgxLUmcj"),
          QStringLiteral("$argon2id$v=19$m=4194304,t=3,p=1") + tail,
          QStringLiteral("$argon2id$v=19$m=262144,t=16,p=1") + tail,
          QStringLiteral("$argon2id$v=19$m=65536,t=4,p=1") + tail,
          QStringLiteral("$argon2id$v=19$m=131072,t=1,p=1") + tail,
          QStringLiteral("$argon2id$v=19$m=65536,t=100000,p=1") + tail,
          QStringLiteral("$argon2id$v=19$m=65536,t=3,p=64") + tail,
          QStringLiteral("$argon2i$v=19$m=65536,t=3,p=1") + tail,
          QStringLiteral("$argon2id$v=19$m=65536,t=3,p=1$$")}) {
        EXPECT_FALSE(OfficerPassword::isDigest(text)) << text.toStdString();
        EXPECT_FALSE(OfficerPassword::matches(text, text));
    }
}

TEST(OfficerPasswordTest, AnEarlierDigestIsRenewedAtTheNextSuccessfulSignInOnly) {
    QTemporaryDir dir;
    SQLiteManager db(dir.filePath(QStringLiteral("t.sqlite")), nullptr, nullptr);
    ReferenceData data(db);
    ASSERT_FALSE(db.doQuery(QString::fromLatin1(ReferenceSchema::officerTable)));
    const QString earlier = OfficerPassword::pbkdf2Digest(QStringLiteral("Rahsia 1"));
    ASSERT_FALSE(db.doQuery(QStringLiteral("INSERT INTO gc_penguatkuasa (kod_pekerja, peng_nama, "
                                           "peng_katalaluan, status) VALUES ('PK1','ALI',?,'A'), "
                                           "('PK2','ABU',?,'A')"),
                            {earlier, QStringLiteral("clear 2")}));
    auto storedOf = [&](const char* code) {
        const DbRows rows = db.getRowsForQuery(
            QStringLiteral("select peng_katalaluan from gc_penguatkuasa where kod_pekerja = ?"),
            {QString::fromLatin1(code)});
        return rows.isEmpty() ? QString()
                              : SQLiteManager::text(rows.first().value(QStringLiteral("peng_katalaluan")));
    };

    EXPECT_FALSE(data.signIn(QStringLiteral("PK1"), QStringLiteral("rahsia 1")));
    EXPECT_EQ(storedOf("PK1"), earlier) << "a wrong password changes nothing";

    const auto officer = data.signIn(QStringLiteral("PK1"), QStringLiteral("Rahsia 1"));
    ASSERT_TRUE(officer);
    const QString renewed = storedOf("PK1");
    EXPECT_TRUE(OfficerPassword::isCurrent(renewed)) << renewed.toStdString();
    EXPECT_EQ(officer->value(QStringLiteral("peng_katalaluan")), renewed);
    EXPECT_EQ(officer->value(QStringLiteral("peng_nama")), QStringLiteral("ALI"));
    EXPECT_TRUE(data.signIn(QStringLiteral("PK1"), QStringLiteral("Rahsia 1")));
    EXPECT_EQ(storedOf("PK1"), renewed) << "a current digest is kept";
    EXPECT_FALSE(data.signIn(QStringLiteral("PK1"), QStringLiteral("rahsia 1")));

    // A password still in clear (its conversion failed) signs in once more, as a digest from then on.
    EXPECT_FALSE(data.signIn(QStringLiteral("PK2"), QStringLiteral("clear 2 ")));
    EXPECT_EQ(storedOf("PK2"), QStringLiteral("clear 2"));
    EXPECT_TRUE(data.signIn(QStringLiteral("PK2"), QStringLiteral("clear 2")));
    EXPECT_TRUE(OfficerPassword::isCurrent(storedOf("PK2")));
    EXPECT_TRUE(data.signIn(QStringLiteral("PK2"), QStringLiteral("clear 2")));
    EXPECT_FALSE(data.signIn(QStringLiteral("PK9"), QStringLiteral("clear 2")));
}

} // namespace
