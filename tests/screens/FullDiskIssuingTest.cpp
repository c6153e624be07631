// "Ya" on a phone whose disk has filled: a compound the phone could not number for good prints nothing
// and the officer is told.
#include "ScreensFixture.h"
#include "support/FileSizeLimit.h"

#include <QDir>

namespace {

TEST_F(IssuingTest, ANumberThatCannotBeKeptPrintsNothingAndIsNeverGivenAgain) {
    // A phone well into its numbers: the number file (one entry a compound) is larger than what the
    // store writes for one compound, so a limit just above the file's size lets the store through and
    // stops the number.
    ASSERT_TRUE(core.runningNumbers().setRunningNumber(9000));
    types.viewWillAppear();
    EXPECT_EQ(stored(), 0);
    const RecordMap issued = reviewGeneral();
    const QByteArray numberFile = testsupport::readFile(core.runningNumbers().path());
    {
        // The store's few pages still fit; the number file, written whole through a new copy, does not.
        testsupport::FileSizeLimit full(rlim_t(numberFile.size()) + 8);
        ASSERT_TRUE(full.ok());
        sections.cetak();
        answer(1);
    }
    ASSERT_EQ(fakes.alerts.shown.size(), 1) << lastAlert();
    EXPECT_EQ(lastAlert(),
              "Gagal: Nombor siri kompaun tidak dapat disimpan dalam telefon. Kompaun telah "
              "disimpan tetapi notis tidak dicetak. Sila maklumkan pihak pengurusan IT anda. [OK]");
    EXPECT_FALSE(sections.flow().busy());
    EXPECT_EQ(printer->sessionsOpened(), 0);
    EXPECT_TRUE(printer->received().isEmpty());
    // The number file is as it was, never emptied; the compound is held with its number, which this run
    // will not give again.
    EXPECT_EQ(testsupport::readFile(core.runningNumbers().path()), numberFile);
    EXPECT_EQ(stored(), 1);
    EXPECT_EQ(core.saveStore().getDicetak().first().record->value(Key::kompaunRunningNumber),
              issued.value(Key::kompaunRunningNumber));
    EXPECT_EQ(issued.value(Key::kompaunRunningNumber), QStringLiteral("P2026M07009001"));
    EXPECT_EQ(running(), 9001);
    EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("runningnumber.dat.*")}, QDir::Files),
              QStringList{});
}

} // namespace
