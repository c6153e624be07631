// A disk that fills while the phone writes: every file is written whole or not at all, the old one
// kept, and the writer says it failed. The limit on a file's size stands in for the full disk.
#include "core/FavouriteStore.h"
#include "core/PlistFile.h"
#include "core/RecordKeys.h"
#include "core/SavedCompoundStore.h"
#include "platform/WholeFile.h"
#include "platform/fake/FakePlatform.h"
#include "support/FileSizeLimit.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

SavedCompound entry(const QString& number) {
    return {makeRecord({{QString(Key::kompaunRunningNumber), number},
                        {QString(Key::namaPesalah), QStringLiteral("ALI BIN ABU")},
                        {QString(Key::status_batal), QStringLiteral("0")}}),
            {{QStringLiteral("dGh1bWI="), QString::fromLatin1(QByteArray(3000, 'x').toBase64())}},
            QStringLiteral("0")};
}

class FullDiskTest : public ::testing::Test {
protected:
    // Everything in the folder but the named files: what a failed write may not leave behind.
    QStringList others(const QStringList& expected) {
        QStringList found = QDir(dir.path()).entryList(QDir::Files);
        for (const QString& name : expected)
            found.removeAll(name);
        return found;
    }

    QTemporaryDir dir;
    FakeLog log;
    SavedCompoundStore store{dir.path(), &log};
    FavouriteStore favs{dir.path(), &log};
};

// The number file on a full disk is checked through issuing (IssuingTest).
TEST_F(FullDiskTest, EveryWriterFailsWholeKeepsTheOldFileAndLeavesNothingBehind) {
    ASSERT_TRUE(favs.insertIntoFav({{QString(Key::kesalahan), QStringLiteral("MELETAK KENDERAAN")}},
                                   QStringLiteral("UUK"), QStringLiteral("SEKSYEN 8")));
    ASSERT_TRUE(store.saveArrayFile({entry(QStringLiteral("P2026M07000040"))}));
    const QString exportPath = dir.filePath(QStringLiteral("export.dat"));
    ASSERT_TRUE(store.exportTo(exportPath));
    const QString plain = dir.filePath(QStringLiteral("plain.bin"));
    ASSERT_TRUE(WholeFile::write(plain, QByteArray(100, 'a')));

    const QByteArray favsBefore = testsupport::readFile(dir.filePath(QStringLiteral("fav.dat")));
    const QByteArray exportBefore = testsupport::readFile(exportPath);
    const QStringList kept = QDir(dir.path()).entryList(QDir::Files);
    {
        // Room for a few hundred bytes a file: each of these needs more. (The store's own file is
        // already past the limit and is not written here.)
        testsupport::FileSizeLimit full(512);
        ASSERT_TRUE(full.ok());
        EXPECT_FALSE(favs.insertIntoFav({{QString(Key::kesalahan), QString(600, QLatin1Char('G'))}},
                                        QStringLiteral("UUK"), QStringLiteral("SEKSYEN 9")));
        QString error;
        EXPECT_FALSE(store.exportTo(exportPath, &error));
        EXPECT_FALSE(error.isEmpty());
        EXPECT_FALSE(WholeFile::write(plain, QByteArray(4096, 'b'), &error));
        EXPECT_FALSE(PlistFile::write(plain, QVariantList{QString(2000, QLatin1Char('c'))}));
    }
    EXPECT_EQ(testsupport::readFile(dir.filePath(QStringLiteral("fav.dat"))), favsBefore);
    EXPECT_EQ(testsupport::readFile(exportPath), exportBefore);
    EXPECT_EQ(testsupport::readFile(plain), QByteArray(100, 'a'));
    EXPECT_EQ(others(kept), QStringList{}) << "a temporary copy left behind";
}

TEST_F(FullDiskTest, AFileMovedAsideIsRenamedInOneStepOrNotAtAll) {
    const QString from = dir.filePath(QStringLiteral("a"));
    const QString to = dir.filePath(QStringLiteral("b"));
    testsupport::writeFile(from, "one");
    testsupport::writeFile(to, "two");
    EXPECT_FALSE(WholeFile::rename(from, to)) << "never over another file";
    EXPECT_EQ(testsupport::readFile(to), "two");
    QFile::remove(to);
    EXPECT_TRUE(WholeFile::rename(from, to));
    EXPECT_EQ(testsupport::readFile(to), "one");
    EXPECT_FALSE(QFile::exists(from));
}

} // namespace
