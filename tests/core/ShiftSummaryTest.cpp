// The shift summary: amounts summed exactly in sen, cancelled compounds and unreadable amounts kept apart,
// and the store read through its summary rows only. Kuala Lumpur's midnight while the phone is in another
// zone is checked through the summary screen (RingkasanTest).
#include "core/ShiftSummary.h"
#include "core/AppDelegate.h"
#include "core/RecordKeys.h"
#include "platform/fake/FakePlatform.h"
#include "support/KualaLumpurTime.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace {

TEST(Sen, ReadsDecimalTextExactlyAndNothingElse) {
    const QList<std::pair<const char*, qint64>> good{
        {"150.10", 15010}, {"0.20", 20}, {"300", 30000},  {"7.5", 750},
        {" 12.00 ", 1200}, {"0", 0},     {"300.", 30000}, {"999999999999.99", 99999999999999}};
    for (const auto& [text, sen] : good)
        EXPECT_EQ(Sen::parse(QString::fromUtf8(text)), std::optional<qint64>(sen)) << text;
    for (const char* bad : {"", " ", "RM 150.00", "150,00", "1,500.00", "-5.00", "+5", "150.105", ".50",
                            "abc", "15O.00", "1e3", "150.1.0", "1000000000000", "١٥٠"})
        EXPECT_EQ(Sen::parse(QString::fromUtf8(bad)), std::nullopt) << bad;

    // Summed as sen, 150.10 + 0.20 shows as 150.30 through the summary screen (RingkasanTest).
    EXPECT_EQ(Sen::format(5), QStringLiteral("0.05"));
    EXPECT_EQ(Sen::format(1234567), QStringLiteral("12345.67"));
}

TEST(ShiftSummaryAge, ReadsAsOfficersSayIt) {
    EXPECT_EQ(ShiftSummary::ageText(59), QStringLiteral("kurang 1 minit"));
    EXPECT_EQ(ShiftSummary::ageText(125 * 60), QStringLiteral("2 jam 5 minit"));
    EXPECT_EQ(ShiftSummary::ageText(3 * 3600), QStringLiteral("3 jam"));
    EXPECT_EQ(ShiftSummary::ageText((2 * 24 + 4) * 3600 + 59), QStringLiteral("2 hari 4 jam"));
}

using testsupport::FixedClock;
using testsupport::kl;

class ShiftSummaryTest : public ::testing::Test {
protected:
    void SetUp() override {
        app.setUserGlobalID({{QStringLiteral("peng_nama"), QStringLiteral("AHMAD BIN ALI")},
                             {QStringLiteral("kod_pekerja"), QStringLiteral("PK1001")}});
    }
    // A compound made and stored at that Kuala Lumpur instant as the issuing screens do it.
    void issue(const QDateTime& at, const QString& number, const QString& type, const QString& kadar,
               const QString& tawaran, int photos = 0) {
        clock.instant = at;
        app.saveDictionaryInit();
        const Record r = app.saveDictionary();
        r->insert(Key::kompaunRunningNumber, number);
        r->insert(Key::kompaunMasa, KualaLumpur::format(at, QStringLiteral("HH:mm")));
        r->insert(Key::JenisKompaun, type);
        r->insert(Key::kompaunKadar, kadar);
        r->insert(Key::kompaunKadarTawaran, tawaran);
        PhotoList list;
        for (int i = 0; i < photos; ++i)
            list.append({QStringLiteral("dGh1bWI="), QStringLiteral("ZnVsbA==")});
        ASSERT_TRUE(app.saveStore().insertIntoBaruPBCompound(r, list));
    }
    ShiftSummary summaryAt(const QDateTime& now) { return {app.saveStore().summaryRows(), now}; }

    QTemporaryDir dir;
    FakePlatform fakes{dir.path(), dir.path()};
    FixedClock clock;
    AppDelegate app{fakes.platform(), &clock};
};

TEST_F(ShiftSummaryTest, SumsInSenByTypeWithCancelledAndUnreadableAmountsApart) {
    const QDateTime morning = kl(2026, 3, 4, 9, 0);
    issue(morning, QStringLiteral("P2026M07000003"), QStringLiteral("LALU LINTAS"), QStringLiteral("150.10"),
          QStringLiteral("75.05"), 2);
    issue(morning.addSecs(600), QStringLiteral("P2026M07000001"), QStringLiteral("LALU LINTAS"),
          QStringLiteral("0.20"), QStringLiteral("0.10"), 1);
    issue(morning.addSecs(1200), QStringLiteral("P2026M07000002"), QStringLiteral("KESIHATAN AWAM"),
          QStringLiteral("500.00"), QStringLiteral("250.00"), 3);
    issue(morning.addSecs(1800), QStringLiteral("P2026M07000004"), QStringLiteral("KESIHATAN AWAM"),
          QStringLiteral("RM50"), QStringLiteral("25.00"));
    issue(morning.addSecs(2400), QStringLiteral("P2026M07000005"), QStringLiteral("SITAAN"), QString(),
          QString());
    // The third is cancelled, the first uploaded (still held until the next purge).
    ASSERT_TRUE(app.saveStore().setStatusBatal(3, QStringLiteral("1")));
    ASSERT_TRUE(app.saveStore().setUploadFlag(1, QStringLiteral("1")));

    const DaySummary day = summaryAt(kl(2026, 3, 4, 12, 0)).day(QDate(2026, 3, 4));
    // A day with nothing on the phone yet is still today; the others are the days held, newest first.
    EXPECT_EQ(summaryAt(kl(2026, 3, 7, 8, 0)).days(), (QList<QDate>{QDate(2026, 3, 7), QDate(2026, 3, 4)}));
    // The counts, the photographs and the numbers in order are checked through the screen (RingkasanTest).
    // 150.10 + 0.20 exactly; the cancelled 500.00 and the unreadable "RM50" are not in it.
    EXPECT_EQ(day.kadarSen, 15030);
    EXPECT_EQ(day.tawaranSen, 7515 + 2500);
    EXPECT_EQ(day.types, (QList<SummaryTypeLine>{{QStringLiteral("KESIHATAN AWAM"), 1, 0, 2500},
                                                 {QStringLiteral("LALU LINTAS"), 2, 15030, 7515},
                                                 {QStringLiteral("SITAAN"), 1, 0, 0}}));
    EXPECT_EQ(day.unreadable,
              (QList<UnreadableAmount>{
                  {QStringLiteral("P2026M07000004"), QStringLiteral("kompaunKadar"), QStringLiteral("RM50")},
                  {QStringLiteral("P2026M07000005"), QStringLiteral("kompaunKadar"), QString()},
                  {QStringLiteral("P2026M07000005"), QStringLiteral("kompaunKadarTawaran"), QString()}}));
    // The cancelled one still waits: the council must learn of the cancellation.
    EXPECT_EQ(day.waiting, 4);
    EXPECT_EQ(day.oldestWaitingSeconds, std::optional<qint64>(3 * 3600 - 600));
}

TEST_F(ShiftSummaryTest, ADateThatCannotBeReadIsInNoDay) {
    issue(kl(2026, 3, 4, 9, 0), QStringLiteral("P2026M07000001"), QStringLiteral("LALU LINTAS"),
          QStringLiteral("300.00"), QStringLiteral("150.00"), 2);
    issue(kl(2026, 3, 4, 9, 5), QStringLiteral("P2026M07000002"), QStringLiteral("SITAAN"),
          QStringLiteral("10.00"), QStringLiteral("5.00"));
    // Photographs counted from the rows show through the summary screen (RingkasanTest). A date that cannot
    // be read puts the compound in no day, and says so.
    QList<CompoundSummaryRow> odd = app.saveStore().summaryRows();
    ASSERT_EQ(odd.size(), 2);
    odd[1].tarikh = QStringLiteral("2026-03-04");
    const ShiftSummary shift(odd, kl(2026, 3, 4, 10, 0));
    EXPECT_EQ(shift.undated(), 1);
    EXPECT_EQ(shift.day(QDate(2026, 3, 4)).issued, 1);
    EXPECT_EQ(shift.waiting(), 2);
    EXPECT_EQ(shift.oldestWaitingSeconds(), std::optional<qint64>(3600));
    for (const char* bad : {"31/02/2026", "4/3/2026", "04-03-2026", "04/03/26", "0４/03/2026"}) {
        CompoundSummaryRow row;
        row.tarikh = QString::fromUtf8(bad);
        EXPECT_FALSE(ShiftSummary::dayOf(row).isValid()) << bad;
    }
    EXPECT_EQ(ShiftSummary::minuteOfDay(QStringLiteral("23:59")), 23 * 60 + 59);
    EXPECT_EQ(ShiftSummary::minuteOfDay(QStringLiteral("24:00")), 0);
}

} // namespace
