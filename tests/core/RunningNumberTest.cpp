#include "core/RunningNumber.h"
#include "core/PlistFile.h"
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

TEST_F(RunningNumberTest, LostFileRestartsFromTheCompoundsStillHeld) {
    ASSERT_TRUE(store.saveArrayFile({{makeRecord(), {}, QStringLiteral("0")},
                                     {makeRecord(), {}, QStringLiteral("1")},
                                     {makeRecord(), {}, QStringLiteral("0")}}));
    ASSERT_TRUE(numbers.runningNumber(QStringLiteral("M07")));
    EXPECT_EQ(numbers.getRunningNumber(), 3);
    ASSERT_TRUE(numbers.runningNumber(QStringLiteral("M07")));
    EXPECT_TRUE(log.contains(QStringLiteral("Current Running number : 3")));
    testsupport::writeFile(numbers.path(), "garbage");
    EXPECT_EQ(numbers.getRunningNumber(), 0);
}

TEST_F(RunningNumberTest, StaleFileIsRaisedPastStoredNumbersOfThisDevice) {
    ASSERT_TRUE(numbers.saveRunningNumberFile(5));
    ASSERT_TRUE(store.saveArrayFile(
        {{makeRecord({{QStringLiteral("kompaunRunningNumber"), QStringLiteral("P2026M07000009")}}),
          {},
          QStringLiteral("0")},
         {makeRecord({{QStringLiteral("kompaunRunningNumber"), QStringLiteral("P2026X99000050")}}),
          {},
          QStringLiteral("0")}}));
    ASSERT_TRUE(numbers.runningNumber(QStringLiteral("M07")));
    EXPECT_EQ(numbers.getRunningNumber(), 9);
    EXPECT_EQ(RunningNumber::sequenceOf(QStringLiteral("P2016M071000000"), QStringLiteral("M07")), 1000000);
    EXPECT_EQ(RunningNumber::sequenceOf(QStringLiteral("P2016000000042"), QStringLiteral("000")), 42);
}

TEST_F(RunningNumberTest, FailedWriteKeepsNumbersUniqueInThisRun) {
    ASSERT_TRUE(numbers.saveRunningNumberFile(41));
    // The file's place taken by a directory: every write fails from now on.
    QFile::remove(numbers.path());
    ASSERT_TRUE(QDir(dir.path()).mkdir(QString::fromLatin1(RunningNumber::fileName)));
    EXPECT_FALSE(numbers.saveRunningNumberFile(42));
    EXPECT_EQ(numbers.getCompoundNumber(), 43);
    EXPECT_FALSE(numbers.addOneRunningNumber());
    EXPECT_EQ(numbers.getCompoundNumber(), 44);
    // Registration may seed any number, lower ones included.
    QDir(dir.path()).rmdir(QString::fromLatin1(RunningNumber::fileName));
    ASSERT_TRUE(numbers.setRunningNumber(0));
    EXPECT_EQ(numbers.getCompoundNumber(), 1);
}

} // namespace
