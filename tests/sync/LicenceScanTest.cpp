#include "sync/LicenceScan.h"

#include <gtest/gtest.h>

TEST(LicenceScan, TheAccountComesFromBetweenTheFirstTwoStarsOrIsTheWholeData) {
    const LicenceScan starred = LicenceScan::fromData(QStringLiteral("ABC*151*X"));
    EXPECT_EQ(starred.account, QStringLiteral("151"));
    EXPECT_EQ(starred.kind, LicenceScan::Licence);
    EXPECT_EQ(starred.licenceForRecord, QStringLiteral("151"));
    EXPECT_EQ(LicenceScan::pagePath(starred.kind), QStringLiteral("/v2/wsc/ml/"));

    const LicenceScan bill = LicenceScan::fromData(QStringLiteral("05-123456"));
    EXPECT_EQ(bill.account, QStringLiteral("05-123456"));
    EXPECT_EQ(bill.kind, LicenceScan::AssessmentTax);
    EXPECT_FALSE(bill.licenceForRecord);
    EXPECT_EQ(LicenceScan::pagePath(bill.kind), QStringLiteral("/v2/wsc/mc/"));

    // An empty second piece falls back to the whole data, stars and all.
    for (const char* data : {"12345*", "**", "A**B"}) {
        const LicenceScan scan = LicenceScan::fromData(QString::fromLatin1(data));
        EXPECT_EQ(scan.account, QString::fromLatin1(data)) << data;
        EXPECT_EQ(scan.kind, LicenceScan::Licence) << data;
        EXPECT_EQ(scan.licenceForRecord, QString::fromLatin1(data)) << data;
    }
    // Only the second piece counts, however many follow; a tax account between stars is still tax.
    EXPECT_EQ(LicenceScan::fromData(QStringLiteral("X*0512*15*16")).account, QStringLiteral("0512"));
    EXPECT_EQ(LicenceScan::fromData(QStringLiteral("X*0512*15*16")).kind, LicenceScan::AssessmentTax);
}

TEST(LicenceScan, LicencesGoToTheRecordInUpperCaseWhileThePageGetsTheAccountAsScanned) {
    const LicenceScan lower = LicenceScan::fromData(QStringLiteral("15abc"));
    EXPECT_EQ(lower.account, QStringLiteral("15abc"));
    EXPECT_EQ(lower.licenceForRecord, QStringLiteral("15ABC"));

    // "05" must lead: shorter accounts and ones holding it later are licences.
    for (const char* licence : {"0", "5", "", "150", "5O5", "O5123", "a05"})
        EXPECT_EQ(LicenceScan::kindOf(QString::fromLatin1(licence)), LicenceScan::Licence) << licence;
    EXPECT_EQ(LicenceScan::kindOf(QStringLiteral("05")), LicenceScan::AssessmentTax);
    EXPECT_EQ(LicenceScan::kindOf(QStringLiteral("159")), LicenceScan::Licence);
}

TEST(LicenceScan, OnlyTheFirstSymbolOfAFrameIsUsed) {
    EXPECT_FALSE(LicenceScan::fromSymbols({}));
    const auto scan = LicenceScan::fromSymbols({QStringLiteral("05777"), QStringLiteral("L*15999*Z")});
    ASSERT_TRUE(scan);
    EXPECT_EQ(scan->account, QStringLiteral("05777"));
    EXPECT_EQ(scan->kind, LicenceScan::AssessmentTax);
    EXPECT_FALSE(scan->licenceForRecord);
}
