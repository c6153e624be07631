// Officers' passwords as digests: sign-in after an upgrade and after an officer list rests on these.
#include "core/OfficerPassword.h"

#include <gtest/gtest.h>

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

} // namespace
