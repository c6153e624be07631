#include "core/RunningNumber.h"
#include "core/PlistFile.h"
#include "core/RecordKeys.h"
#include "core/SavedCompoundStore.h"
#include "platform/fake/FakePlatform.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

namespace {

class RunningNumberTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    FakeLog log;
    SavedCompoundStore store{dir.path(), &log};
    RunningNumber numbers{dir.path(), store, &log};
};

TEST_F(RunningNumberTest, ReadsTheFileOfPhonesInService) {
    // As an older phone wrote it: a list with one "1" per compound.
    testsupport::writeFile(numbers.path(),
                           "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                           "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
                           "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
                           "<plist version=\"1.0\">\n<array>\n\t<string>1</string>\n\t<string>1</string>\n"
                           "\t<string>1</string>\n</array>\n</plist>\n");
    EXPECT_EQ(numbers.getRunningNumber(), 3);
    EXPECT_EQ(numbers.getCompoundNumber(), 4);
    ASSERT_TRUE(numbers.addOneRunningNumber());
    EXPECT_EQ(numbers.getRunningNumber(), 4);
    EXPECT_EQ(PlistFile::read(numbers.path())->toList(), QVariantList(4, QStringLiteral("1")));
    EXPECT_TRUE(log.contains(QStringLiteral("Running number saved : 4")));
}

SavedCompound held(const char* number, const char* flag = "0") {
    return {makeRecord({{Key::kompaunRunningNumber, QString::fromLatin1(number)}}),
            {},
            QString::fromLatin1(flag)};
}

TEST_F(RunningNumberTest, LostOrStaleFileGoesOnFromTheHighestHeldSequenceNotTheCount) {
    // Three held, but numbered up to 7 (the others were uploaded and purged): counting would give 4 again.
    ASSERT_TRUE(store.saveArrayFile({held("P2026M07000005"), held("P2026M07000007", "1"),
                                     held("P2026M07000006"), held("P2026X99000050")}));
    ASSERT_TRUE(numbers.runningNumber(QStringLiteral("M07")));
    EXPECT_EQ(numbers.getRunningNumber(), 7);
    EXPECT_TRUE(numbers.isTrusted());
    ASSERT_TRUE(numbers.runningNumber(QStringLiteral("M07")));
    EXPECT_TRUE(log.contains(QStringLiteral("Current Running number : 7")));
    // A file behind the store (another device's numbers do not count) is raised past it.
    ASSERT_TRUE(store.saveArrayFile({held("P2026M07000009"), held("P2026X99000050")}));
    ASSERT_TRUE(numbers.runningNumber(QStringLiteral("M07")));
    EXPECT_EQ(RunningNumber(dir.path(), store, &log).getRunningNumber(), 9);

    EXPECT_EQ(RunningNumber::sequenceOf(QStringLiteral("P2016M071000000"), QStringLiteral("M07")), 1000000);
    EXPECT_EQ(RunningNumber::sequenceOf(QStringLiteral("P2016000000042"), QStringLiteral("000")), 42);
    // A sequence past six digits keeps all of them.
    EXPECT_EQ(RunningNumber::compoundNumber(QStringLiteral("2016"), QStringLiteral("000"), 1000000),
              QStringLiteral("P20160001000000"));
}

TEST_F(RunningNumberTest, UnreadableFileIsMovedAsideAndNumberingIsNoLongerTrusted) {
    // Damaged after its fourth entry; the store holds only up to 2 of this device.
    const QByteArray damaged = "<?xml version=\"1.0\"?><plist version=\"1.0\"><array><string>1</string>"
                               "<string>1</string><string>1</string><string>1</string><str\x01\xFF";
    testsupport::writeFile(numbers.path(), damaged);
    ASSERT_TRUE(store.saveArrayFile({held("P2026M07000002")}));
    ASSERT_TRUE(numbers.runningNumber(QStringLiteral("M07")));

    const QStringList aside = QDir(dir.path()).entryList({QStringLiteral("runningnumber.dat.unreadable-*")});
    ASSERT_EQ(aside.size(), 1);
    EXPECT_EQ(testsupport::readFile(dir.filePath(aside.first())), damaged);
    // The highest of what can still be read, never lower.
    EXPECT_EQ(numbers.getRunningNumber(), 4);
    EXPECT_FALSE(numbers.isTrusted());
    // Still untrusted after a restart, and numbers go on from there without repeating.
    RunningNumber restarted{dir.path(), store, &log};
    ASSERT_TRUE(restarted.runningNumber(QStringLiteral("M07")));
    EXPECT_FALSE(restarted.isTrusted());
    EXPECT_EQ(restarted.getCompoundNumber(), 5);

    // The council's number, known again at registration, is trusted; the store still sets the floor.
    ASSERT_TRUE(store.saveArrayFile({held("P2026M07000009")}));
    ASSERT_TRUE(restarted.seedFromCouncil(3, QStringLiteral("M07")));
    ASSERT_TRUE(restarted.markTrusted());
    EXPECT_TRUE(restarted.isTrusted());
    EXPECT_EQ(restarted.getRunningNumber(), 9);
    EXPECT_TRUE(RunningNumber(dir.path(), store, &log).isTrusted());
}

TEST_F(RunningNumberTest, FailedWriteOrDamagedFileKeepsNumbersUniqueInThisRun) {
    ASSERT_TRUE(numbers.saveRunningNumberFile(41));
    // The file's place taken by a directory: every write fails from now on.
    QFile::remove(numbers.path());
    ASSERT_TRUE(QDir(dir.path()).mkdir(QString::fromLatin1(RunningNumber::fileName)));
    EXPECT_FALSE(numbers.saveRunningNumberFile(42));
    EXPECT_EQ(numbers.getCompoundNumber(), 43);
    EXPECT_FALSE(numbers.addOneRunningNumber());
    EXPECT_EQ(numbers.getCompoundNumber(), 44);
    // A file damaged while issuing is kept, and the number in hand is not given again either.
    QDir(dir.path()).rmdir(QString::fromLatin1(RunningNumber::fileName));
    testsupport::writeFile(numbers.path(), QByteArray("\0\0\0garbage", 10));
    ASSERT_TRUE(numbers.addOneRunningNumber());
    EXPECT_EQ(numbers.getRunningNumber(), 44);
    EXPECT_FALSE(numbers.isTrusted());
    EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("runningnumber.dat.unreadable-*")}).size(), 1);
    // Registration may seed any number, lower ones included.
    ASSERT_TRUE(numbers.setRunningNumber(0));
    EXPECT_EQ(numbers.getCompoundNumber(), 1);
}

} // namespace
