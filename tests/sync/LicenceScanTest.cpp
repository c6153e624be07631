// The edges of the scanning rule; its common forms are driven through the lookup screen (tests/screens).
#include "sync/LicenceScan.h"

#include <gtest/gtest.h>

TEST(LicenceScan, TheAccountComesFromBetweenTheFirstTwoStarsOrIsTheWholeData) {
    const struct {
        const char* data;
        const char* account;
        LicenceScan::Kind kind;
        const char* forRecord; // nullptr: the record is left as it is
    } rows[] = {
        // An empty second piece falls back to the whole data, stars and all.
        {"**", "**", LicenceScan::Licence, "**"},
        {"A**B", "A**B", LicenceScan::Licence, "A**B"},
        // Only the second piece counts, however many follow; a tax account between stars is still tax.
        {"X*0512*15*16", "0512", LicenceScan::AssessmentTax, nullptr},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.data);
        const LicenceScan scan = LicenceScan::fromData(QString::fromLatin1(r.data));
        EXPECT_EQ(scan.account, QString::fromLatin1(r.account));
        EXPECT_EQ(scan.kind, r.kind);
        EXPECT_EQ(scan.licenceForRecord,
                  r.forRecord ? std::optional(QString::fromLatin1(r.forRecord)) : std::nullopt);
    }
    // "05" must lead: shorter accounts and ones holding it later are licences.
    for (const char* licence : {"0", "5", "", "150", "159", "5O5", "O5123", "a05"})
        EXPECT_EQ(LicenceScan::kindOf(QString::fromLatin1(licence)), LicenceScan::Licence) << licence;
    EXPECT_EQ(LicenceScan::kindOf(QStringLiteral("05")), LicenceScan::AssessmentTax);
    // Only the first symbol of a frame is used; a frame without one is no scan.
    EXPECT_FALSE(LicenceScan::fromSymbols({}));
    EXPECT_EQ(LicenceScan::fromSymbols({QStringLiteral("05777"), QStringLiteral("L*15999*Z")})->account,
              QStringLiteral("05777"));
}
