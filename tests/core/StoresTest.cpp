#include "core/FavouriteStore.h"
#include "core/PlistFile.h"
#include "core/SavedCompoundStore.h"
#include "platform/fake/FakePlatform.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace {

SavedCompound entry(const QString& number, const QString& flag) {
    return {makeRecord({{QStringLiteral("kompaunRunningNumber"), number},
                        {QStringLiteral("namaPesalah"), QStringLiteral("ALI")}}),
            {{QStringLiteral("dGh1bWI="), QStringLiteral("ZnVsbA==")}},
            flag};
}

QStringList numbers(const SavedCompoundList& list) {
    QStringList out;
    for (const SavedCompound& e : list)
        out << e.record->value(QStringLiteral("kompaunRunningNumber"));
    return out;
}

class StoresTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    FakeLog log;
    SavedCompoundStore store{dir.path(), &log};
    FavouriteStore favs{dir.path(), &log};
};

TEST_F(StoresTest, PurgeKeepsWaitingEntriesInOrderAndCountsThem) {
    EXPECT_FALSE(store.getSaveArray());
    EXPECT_EQ(store.countYgDahCetak(), 0);
    // The first purge on a new phone creates an empty store.
    ASSERT_TRUE(store.purgeUploaded());
    ASSERT_TRUE(store.getSaveArray());
    EXPECT_TRUE(store.getSaveArray()->isEmpty());

    ASSERT_TRUE(store.saveArrayFile({entry(QStringLiteral("P1"), QStringLiteral("0")),
                                     entry(QStringLiteral("P2"), QStringLiteral("1")),
                                     entry(QStringLiteral("P3"), QStringLiteral("bukan nombor")),
                                     entry(QStringLiteral("P4"), QStringLiteral("1")),
                                     entry(QStringLiteral("P5"), QStringLiteral("0"))}));
    EXPECT_EQ(store.countYgDahCetak(), 5);
    // A flag that is not a number counts as not uploaded.
    EXPECT_EQ(store.getDicetakUploadCountNumber(), 3);
    ASSERT_TRUE(store.purgeUploaded());
    EXPECT_EQ(numbers(store.getDicetak()),
              (QStringList{QStringLiteral("P1"), QStringLiteral("P3"), QStringLiteral("P5")}));
    EXPECT_EQ(store.getDicetakUploadCountNumber(), 3);
    EXPECT_EQ(store.getDicetak().first().photos.first().full, QStringLiteral("ZnVsbA=="));
}

TEST_F(StoresTest, InsertSnapshotsTheRecordAndAnUnreadableStoreIsMovedAsideNotOverwritten) {
    Record record = makeRecord({{QStringLiteral("kompaunRunningNumber"), QStringLiteral("P2026M07000001")}});
    ASSERT_TRUE(store.insertIntoBaruPBCompound(record, {}));
    record->insert(QStringLiteral("kompaunRunningNumber"), QStringLiteral("CHANGED"));
    const SavedCompoundList list = store.getDicetak();
    ASSERT_EQ(list.size(), 1);
    EXPECT_EQ(list.first().uploadFlag, QStringLiteral("0"));
    EXPECT_EQ(list.first().record->value(QStringLiteral("kompaunRunningNumber")),
              QStringLiteral("P2026M07000001"));
    EXPECT_TRUE(log.contains(QStringLiteral("kompaun : ")));

    testsupport::writeFile(store.path(), "<?xml version=\"1.0\"?><plist><array><dict><key>x</key>");
    EXPECT_FALSE(store.getSaveArray());
    ASSERT_TRUE(store.insertIntoBaruPBCompound(record, {}));
    EXPECT_EQ(store.countYgDahCetak(), 1);
    const QStringList aside = QDir(dir.path()).entryList({QStringLiteral("saveIns.dat.unreadable-*")});
    ASSERT_EQ(aside.size(), 1);
    EXPECT_TRUE(testsupport::readFile(dir.filePath(aside.first())).startsWith("<?xml"));
}

TEST_F(StoresTest, FailedWriteIsReportedAndKeepsTheOldFile) {
    ASSERT_TRUE(store.saveArrayFile({entry(QStringLiteral("P1"), QStringLiteral("0"))}));
    // A directory where the temporary file must go makes the write fail.
    SavedCompoundStore broken(dir.path() + QStringLiteral("/no-such-dir"), &log);
    EXPECT_FALSE(broken.saveArrayFile({}));
    EXPECT_TRUE(log.contains(QStringLiteral("Save failed")));
    EXPECT_EQ(store.countYgDahCetak(), 1);
}

TEST_F(StoresTest, FavouritesKeepTheirOrderAndDeletingTheLastLeavesAnEmptyFile) {
    EXPECT_TRUE(favs.replaceFav({})); // nothing to replace yet
    EXPECT_FALSE(QFile::exists(favs.path()));
    const RecordMap a{{QStringLiteral("kesalahanID"), QStringLiteral("S1")},
                      {QStringLiteral("kompaunKadar"), QStringLiteral("300.00")}};
    const RecordMap b{{QStringLiteral("kesalahanID"), QStringLiteral("S2")}};
    ASSERT_TRUE(favs.insertIntoFav(a, QStringLiteral("8(1)-TIDAK BAYAR"), QStringLiteral("TIKET")));
    ASSERT_TRUE(favs.insertIntoFav(b, QStringLiteral("9-GERAI"), QStringLiteral("TANPA LESEN")));
    FavouriteList list = *favs.getFavSaveArray();
    ASSERT_EQ(list.size(), 2);
    EXPECT_EQ(list[0], (Favourite{QStringLiteral("8(1)-TIDAK BAYAR"), QStringLiteral("TIKET"), a}));
    list.removeFirst();
    list.removeFirst();
    ASSERT_TRUE(favs.replaceFav(list));
    ASSERT_TRUE(favs.getFavSaveArray());
    EXPECT_TRUE(favs.getFavSaveArray()->isEmpty());
}

// Other standard readers and writers: Python's plistlib, when the machine has Python.
TEST_F(StoresTest, FilesInterchangeWithAStandardPropertyListLibrary) {
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty())
        GTEST_SKIP() << "python3 not installed";
    SavedCompound e = entry(QStringLiteral("P2026M07000009"), QStringLiteral("0"));
    e.record->insert(QStringLiteral("namaPesalah"), QStringLiteral("SITI <ZAHRAH> & ANAK \"KEDAI\" Ñ"));
    ASSERT_TRUE(store.saveArrayFile({e}));
    QProcess p;
    p.start(python,
            {QStringLiteral("-c"),
             QStringLiteral("import plistlib,sys\n"
                            "d=plistlib.load(open(sys.argv[1],'rb'))\n"
                            "assert d[0][0]['namaPesalah']=='SITI <ZAHRAH> & ANAK \"KEDAI\" \\u00d1', d\n"
                            "assert d[0][1]==[['dGh1bWI=','ZnVsbA==']] and d[0][2]=='0'\n"
                            "d.append([{'kompaunRunningNumber':'P2026M07000010'},[],'1'])\n"
                            "plistlib.dump(d,open(sys.argv[1],'wb'),fmt=plistlib.FMT_XML)\n"),
             store.path()});
    ASSERT_TRUE(p.waitForFinished(30000));
    ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().constData();
    const SavedCompoundList list = store.getDicetak();
    ASSERT_EQ(list.size(), 2);
    EXPECT_EQ(list[1].uploadFlag, QStringLiteral("1"));
    EXPECT_EQ(list[0].record->value(QStringLiteral("namaPesalah")),
              QStringLiteral("SITI <ZAHRAH> & ANAK \"KEDAI\" Ñ"));
}

// A writer killed at any moment leaves either the old or the new store, never a broken one.
TEST_F(StoresTest, KilledWriterLeavesOldOrNewFile) {
    SavedCompoundList small{entry(QStringLiteral("OLD"), QStringLiteral("0"))};
    SavedCompoundList big;
    for (int i = 0; i < 200; ++i)
        big.append(entry(QStringLiteral("NEW%1").arg(i), QStringLiteral("0")));
    big.first().photos.first().full = QString(200000, QLatin1Char('A'));
    ASSERT_TRUE(store.saveArrayFile(small));
    for (int round = 0; round < 8; ++round) {
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            SavedCompoundStore writer(dir.path(), nullptr);
            for (int i = 0;; ++i) {
                writer.saveArrayFile(i % 2 ? small : big);
                if (i == round)
                    (void)!write(ready[1], "x", 1);
            }
        }
        char c;
        ASSERT_EQ(read(ready[0], &c, 1), 1);
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        close(ready[0]);
        close(ready[1]);
        const auto list = store.getSaveArray();
        ASSERT_TRUE(list) << "round " << round;
        EXPECT_TRUE(list->size() == 1 || list->size() == 200) << list->size();
    }
}

} // namespace
