// The stores in Documents: saved compounds, favourites, the running number, old stores migrated, and
// what a writer killed at any moment leaves.
#include "core/FavouriteStore.h"
#include "core/PlistFile.h"
#include "core/RecordKeys.h"
#include "core/RunningNumber.h"
#include "core/SavedCompoundFile.h"
#include "core/SavedCompoundStore.h"
#include "platform/fake/FakePlatform.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <plist/plist.h>

#include <csignal>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

namespace {

SavedCompound entry(const QString& number, const QString& flag = QStringLiteral("0")) {
    return {makeRecord({{QString(Key::kompaunRunningNumber), number},
                        {QString(Key::namaPesalah), QStringLiteral("ALI")},
                        {QString(Key::kompaunButiranKesalahan), QStringLiteral("MELETAK KENDERAAN")},
                        {QString(Key::status_batal), QStringLiteral("0")}}),
            {{QStringLiteral("dGh1bWI="), QStringLiteral("ZnVsbA==")}},
            flag};
}

QStringList numbersOf(const SavedCompoundList& list) {
    QStringList out;
    for (const SavedCompound& e : list)
        out << e.record->value(Key::kompaunRunningNumber);
    return out;
}

// An old store as earlier versions wrote it: through the property-list library, photographs as Base64.
QVariant oldEntry(const QString& number, const QString& flag, int photos, const QString& name) {
    QVariantMap record{{QString(Key::kompaunRunningNumber), number},
                       {QString(Key::namaPesalah), name},
                       {QString(Key::status_batal), QStringLiteral("0")},
                       {QString(Key::kompaunKadar), QStringLiteral("100+50%=150")}};
    QVariantList list;
    for (int p = 1; p <= photos; ++p)
        list.append(QVariant(
            QVariantList{QString::fromLatin1(QByteArray("kecil").repeated(p).toBase64()),
                         QString::fromLatin1(
                             QByteArray("\xFF\xD8 gambar \x00\xFF\xD9", 13).repeated(p * 50).toBase64())}));
    return QVariantList{record, list, flag};
}

QVariantList oldStore(int count, int photos) {
    QVariantList old;
    for (int i = 1; i <= count; ++i)
        old << oldEntry(QStringLiteral("P2016M07%1").arg(i, 6, 10, QLatin1Char('0')), QStringLiteral("0"),
                        photos, QStringLiteral("PESALAH %1").arg(i));
    return old;
}

QByteArray xmlOfFile(const QByteArray& bytes) {
    plist_t root = nullptr;
    plist_from_xml(bytes.constData(), uint32_t(bytes.size()), &root);
    if (!root)
        return {};
    char* xml = nullptr;
    uint32_t length = 0;
    plist_to_xml(root, &xml, &length);
    QByteArray out(xml, length);
    plist_to_xml_free(xml);
    plist_free(root);
    return out;
}

class StoresTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    FakeLog log;
    SavedCompoundStore store{dir.path(), &log};
    FavouriteStore favs{dir.path(), &log};
    RunningNumber numbers{dir.path(), store, &log};

    QStringList filesLike(const QString& pattern) { return QDir(dir.path()).entryList({pattern}); }
    QByteArray exported(SavedCompoundStore& from) {
        const QString out = dir.filePath(QStringLiteral("export.dat"));
        QString error;
        EXPECT_TRUE(from.exportTo(out, &error)) << error.toStdString();
        return testsupport::readFile(out);
    }
};

TEST_F(StoresTest, PurgeKeepsWaitingEntriesInOrderAndAFailedWriteKeepsThemToo) {
    // An empty store's purge is every start-up's (LostStoreTest sees no failure told for a new store).
    ASSERT_TRUE(store.saveArrayFile({entry("P1", "0"), entry("P2", "1"), entry("P3", "bukan nombor"),
                                     entry("P4", "1"), entry("P5", "0;gambar=1")}));
    EXPECT_EQ(store.countYgDahCetak(), 5);
    // A flag that is not a number counts as not uploaded; one with photographs left is still waiting.
    EXPECT_EQ(store.getDicetakUploadCountNumber(), 3);
    ASSERT_TRUE(store.purgeUploaded());
    EXPECT_EQ(numbersOf(store.getDicetak()),
              (QStringList{QStringLiteral("P1"), QStringLiteral("P3"), QStringLiteral("P5")}));
    EXPECT_EQ(store.getDicetakUploadCountNumber(), 3);

    // A write that fails is reported, and what was there stays.
    SavedCompoundStore broken(dir.path() + QStringLiteral("/no-such-dir"), &log);
    EXPECT_FALSE(broken.insertIntoBaruPBCompound(makeRecord(), {}));
    EXPECT_FALSE(broken.purgeUploaded());
    EXPECT_EQ(store.countYgDahCetak(), 3);
}

TEST_F(StoresTest, ANumberAlreadyHeldIsRefusedButAStoreHoldingOneTwiceOpensAndKeepsBoth) {
    // A phone whose store already holds one number twice (a migrated store, or one written before numbers
    // were checked): it opens again, and both stay, in order.
    ASSERT_TRUE(
        store.saveArrayFile({entry("P2026M07000040"), entry("P2026M07000041"), entry("P2026M07000041")}));
    SavedCompoundStore reopened(dir.path(), &log);
    EXPECT_EQ(numbersOf(reopened.getDicetak()),
              (QStringList{QStringLiteral("P2026M07000040"), QStringLiteral("P2026M07000041"),
                           QStringLiteral("P2026M07000041")}));
    EXPECT_TRUE(reopened.holdsNumber(QStringLiteral("P2026M07000041")));
    EXPECT_FALSE(reopened.holdsNumber(QStringLiteral("P2026M07000042")));

    // A new compound with a number held is refused whole, photographs included; the next number goes in.
    const SavedCompound again = entry("P2026M07000040");
    EXPECT_FALSE(reopened.insertIntoBaruPBCompound(again.record, again.photos));
    EXPECT_EQ(reopened.countYgDahCetak(), 3);
    const SavedCompound next = entry("P2026M07000042");
    EXPECT_TRUE(reopened.insertIntoBaruPBCompound(next.record, next.photos));
    EXPECT_EQ(reopened.countYgDahCetak(), 4);
}

// The list's rows and marks are checked through the printed list (PrintedListTest), the upload's photographs
// byte for byte on the wire (WireFormatTest); here what neither shows.
PhotoList photographs(const QStringList& names) {
    PhotoList list;
    for (const QString& name : names)
        list.append({QString::fromLatin1(("kecil " + name).toLatin1().toBase64()),
                     QString::fromLatin1(("\xFF\xD8 " + name).toLatin1().toBase64())});
    return list;
}

QStringList fullsOf(const PhotoList& list) {
    QStringList out;
    for (const PhotoEntry& p : list)
        out << QString::fromLatin1(QByteArray::fromBase64(p.full.toLatin1()).mid(3));
    return out;
}

TEST_F(StoresTest, PhotographsStagedAsTakenAreTheCompoundsAtYaAndNoneIsLeftBehind) {
    // An uploaded compound purged: its place is never given again, to photographs neither.
    ASSERT_TRUE(store.saveArrayFile({entry("P1", "1")}));
    ASSERT_TRUE(store.purgeUploaded());
    // Taken, one taken out of the middle, another added: the store follows.
    const PhotoList abc = photographs({"A", "B", "C"});
    ASSERT_TRUE(store.stagePhotos(abc.first(2)));
    ASSERT_TRUE(store.stagePhotos(abc));
    const PhotoList acd = PhotoList{abc[0], abc[2]} + photographs({"D"});
    ASSERT_TRUE(store.stagePhotos(acd));
    const SavedCompound first = entry("P2");
    ASSERT_TRUE(store.insertIntoBaruPBCompound(first.record, acd));

    // Changed after staging (a staging write that failed): written at "Ya", the staged ones dropped.
    ASSERT_TRUE(store.stagePhotos(photographs({"E", "F"})));
    const SavedCompound second = entry("P3");
    ASSERT_TRUE(store.insertIntoBaruPBCompound(second.record, photographs({"G"})));

    // A run that ends after staging and before "Ya": the next start drops them.
    ASSERT_TRUE(store.stagePhotos(photographs({"H", "I"})));
    SavedCompoundStore next(dir.path(), &log);
    ASSERT_TRUE(next.ready());
    const SavedCompound third = entry("P4");
    ASSERT_TRUE(next.insertIntoBaruPBCompound(third.record, photographs({"J"})));

    QList<QStringList> held;
    for (const SavedCompound& c : next.getDicetak())
        held << fullsOf(c.photos);
    EXPECT_EQ(held, (QList<QStringList>{{"A", "C", "D"}, {"G"}, {"J"}}));
    // Nothing else is held: every photograph in the file belongs to a compound.
    EXPECT_EQ(testsupport::queryNumber(next.path(), "SELECT count(*) FROM photo"), 5);
}

TEST_F(StoresTest, OperationsReadOnlyWhatTheyNeed) {
    Record record = makeRecord({{QString(Key::kompaunRunningNumber), QStringLiteral("P2026M07000041")}});
    const PhotoList photos{{QStringLiteral("a2VjaWw="), QStringLiteral("bukan base64!")}};
    ASSERT_TRUE(store.insertIntoBaruPBCompound(record, photos));
    // The record is taken as it is at this moment.
    record->insert(QString(Key::kompaunRunningNumber), QStringLiteral("CHANGED"));
    const auto waiting = store.nextWaiting(0);
    ASSERT_TRUE(waiting);
    EXPECT_EQ(store.entry(waiting->id)->record->value(Key::kompaunRunningNumber),
              QStringLiteral("P2026M07000041"));
    EXPECT_EQ(store.entry(waiting->id)->photos, photos); // text that is not plain Base64 comes back as it was
    EXPECT_FALSE(store.entry(waiting->id + 100));
    EXPECT_FALSE(store.setUploadFlag(waiting->id + 100, QStringLiteral("1")));
    // The upload's view: the full picture only, decoded as leniently as before.
    const auto photo = store.nextPhoto(waiting->id, 0);
    ASSERT_TRUE(photo);
    EXPECT_TRUE(photo->thumbnail.isEmpty());
    EXPECT_EQ(photo->fullJpeg(), QByteArray::fromBase64("bukan base64!"));
}

// Their order and deletion are checked through the favourites screen (FavouritesTest).
TEST_F(StoresTest, AnUnreadableFavouritesFileIsNeverWrittenOver) {
    EXPECT_TRUE(favs.replaceFav({})); // nothing to replace yet
    EXPECT_FALSE(QFile::exists(favs.path()));
    const RecordMap a{{QString(Key::kesalahanID), QStringLiteral("S1")}};
    // A damaged file is moved aside before the next favourite, and before a deletion would write over it.
    const QByteArray damaged = "<?xml version=\"1.0\"?><plist><array><array><string>8(1)-TIDAK BAYAR</str";
    testsupport::writeFile(favs.path(), damaged);
    ASSERT_FALSE(favs.getFavSaveArray());
    ASSERT_TRUE(favs.insertIntoFav(a, QStringLiteral("9-GERAI"), QStringLiteral("TANPA LESEN")));
    EXPECT_EQ(favs.getFavSaveArray()->size(), 1);
    testsupport::writeFile(favs.path(), damaged);
    ASSERT_TRUE(favs.replaceFav({})); // the last one deleted: an empty list, still readable
    ASSERT_TRUE(favs.getFavSaveArray());
    EXPECT_TRUE(favs.getFavSaveArray()->isEmpty());
    const QStringList aside = filesLike(QStringLiteral("fav.dat.unreadable-*"));
    ASSERT_EQ(aside.size(), 2);
    for (const QString& name : aside)
        EXPECT_EQ(testsupport::readFile(dir.filePath(name)), damaged);
}

// The running number lives beside the store and is floored by it.
using RunningNumberTest = StoresTest;

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
}

TEST_F(RunningNumberTest, StaleFileIsRaisedPastTheHighestHeldSequenceOfThisDevice) {
    // A lost file (no file at all) is checked at start-up (AppDelegateTest). A file behind the store is
    // raised past it; another device's numbers do not count.
    ASSERT_TRUE(numbers.saveRunningNumberFile(7));
    ASSERT_TRUE(store.saveArrayFile({entry("P2026M07000009"), entry("P2026X99000050")}));
    ASSERT_TRUE(numbers.runningNumber(QStringLiteral("M07")));
    EXPECT_EQ(RunningNumber(dir.path(), store, &log).getRunningNumber(), 9);

    // A sequence past six digits keeps all of them.
    EXPECT_EQ(RunningNumber::compoundNumber(QStringLiteral("2016"), QStringLiteral("000"), 1000000),
              QStringLiteral("P20160001000000"));
}

TEST_F(StoresTest, TheOldFormatExportCarriesOnlyTheFlagsOldReadersKnow) {
    const QStringList flags{"0", "0;gambar=1,3", "0;batal;gambar=", "1", "bukan", "2"};
    SavedCompoundList list;
    for (qsizetype i = 0; i < flags.size(); ++i)
        list << entry(QStringLiteral("P2026M07%1").arg(i + 1, 6, 10, QLatin1Char('0')), flags.at(i));
    ASSERT_TRUE(store.saveArrayFile(list));
    QStringList exportedFlags;
    for (const QVariant& e : PlistFile::parse(exported(store))->toList())
        exportedFlags << e.toList().value(2).toString();
    EXPECT_EQ(exportedFlags, (QStringList{"0", "0", "0", "1", "0", "1"}));
}

TEST(CompoundNumberShape, OnlyTheExactShapeCountsInADevicesSequence) {
    const struct {
        const char* number;
        const char* device;
        int sequence;
    } cases[] = {
        {"P2016M07000042", "M07", 42},
        {"P2016000000042", "000", 42},
        {"P2026M12000005", "M12", 5},
        // Device M1 must not read M12's number as its own 2,000,005th.
        {"P2026M12000005", "M1", -1},
        {"P2026M1000005", "M12", -1},
        {"P2016M071000000", "M07", -1},                              // seven digits
        {"P2016M0700042", "M07", -1},                                // five digits
        {"P2016M07 00042", "M07", -1},                               // a space is not a digit
        {"P2016M07-00042", "M07", -1},                               // nor a sign
        {"P16M07000042", "M07", -1},                                 // a two-digit year
        {"X2016M07000042", "M07", -1},                               // not a "P"
        {"P2016m07000042", "M07", -1},                               // another device's code by case
        {"P2016M07\u0661\u0662\u0663\u0664\u0665\u0666", "M07", -1}, // digits of another script
        {"", "M07", -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RunningNumber::sequenceOf(QString::fromUtf8(c.number), QString::fromUtf8(c.device)),
                  c.sequence)
            << c.number << " on " << c.device;
}

TEST_F(StoresTest, ANumberOfAnotherShapeOrDeviceDoesNotRaiseTheSequence) {
    ASSERT_TRUE(
        store.saveArrayFile({entry("P2026M12000005"), entry("P2026M12000005X"), entry("P2026M1000003")}));
    EXPECT_EQ(store.highestSequence(QStringLiteral("M1")), 3);
    EXPECT_EQ(store.highestSequence(QStringLiteral("M12")), 5);
}

TEST_F(RunningNumberTest, UnreadableFileIsMovedAsideAndNumberingIsNoLongerTrusted) {
    // Damaged after its fourth entry; the store holds only up to 2 of this device.
    const QByteArray damaged = "<?xml version=\"1.0\"?><plist version=\"1.0\"><array><string>1</string>"
                               "<string>1</string><string>1</string><string>1</string><str\x01\xFF";
    testsupport::writeFile(numbers.path(), damaged);
    ASSERT_TRUE(store.saveArrayFile({entry("P2026M07000002")}));
    ASSERT_TRUE(numbers.runningNumber(QStringLiteral("M07")));

    const QStringList aside = filesLike(QStringLiteral("runningnumber.dat.unreadable-*"));
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

    // Trusted again (by the council's answer, OfficerUpdateTest), it stays so across a restart.
    ASSERT_TRUE(restarted.markTrusted());
    EXPECT_TRUE(RunningNumber(dir.path(), store, &log).isTrusted());
}

TEST_F(RunningNumberTest, FileDamagedWhileIssuingKeepsNumbersUniqueInThisRun) {
    ASSERT_TRUE(numbers.saveRunningNumberFile(43));
    // A file damaged while issuing is kept, and the number in hand is not given again.
    testsupport::writeFile(numbers.path(), QByteArray("\0\0\0garbage", 10));
    ASSERT_TRUE(numbers.addOneRunningNumber());
    EXPECT_EQ(numbers.getRunningNumber(), 44);
    EXPECT_EQ(filesLike(QStringLiteral("runningnumber.dat.unreadable-*")).size(), 1);
    // The store's own mark still knew the number, so nothing was lost and issuing may go on.
    EXPECT_TRUE(numbers.isTrusted());
    EXPECT_EQ(store.highWaterMark(), 44);
    EXPECT_EQ(RunningNumber(dir.path(), store, &log).getCompoundNumber(), 45);
}

// Stores left by earlier versions: imported whole, kept beside, and written back exactly.
using StoreMigration = StoresTest;

TEST_F(StoreMigration, OldStoreIsImportedWholeKeptBesideAndExportedByteForByte) {
    const QVariantList old{
        oldEntry(QStringLiteral("P2016M07000001"), QStringLiteral("0"), 3,
                 QStringLiteral("SITI <ZAHRAH> & \"KEDAI\" Ñ 名")),
        oldEntry(QStringLiteral("P2016M07000002"), QStringLiteral("1"), 1, QStringLiteral("ALI")),
        oldEntry(QStringLiteral("P2016M07000003"), QStringLiteral("0;gambar=2"), 2, QStringLiteral("TAN")),
        oldEntry(QStringLiteral("P2016M07000004"), QStringLiteral("0"), 0, QString())};
    ASSERT_TRUE(PlistFile::write(store.oldPath(), old));
    const QByteArray original = testsupport::readFile(store.oldPath());

    const SavedCompoundStore::Migration m = store.migrateOldFile();
    EXPECT_EQ(m.outcome, SavedCompoundStore::Migration::Imported);
    EXPECT_EQ(m.entries, 4);
    EXPECT_FALSE(QFile::exists(store.oldPath()));
    const QStringList kept = filesLike(QStringLiteral("saveIns.dat.migrated-*"));
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(testsupport::readFile(m.keptAs), original); // never deleted, never changed

    // Written back from the database byte for byte: every record, photograph and flag came in, the
    // flag of photographs part-sent as old readers know it.
    QByteArray expected = original;
    expected.replace("<string>0;gambar=2</string>", "<string>0</string>");
    EXPECT_EQ(exported(store), expected);
    EXPECT_EQ(store.getDicetak().at(2).uploadFlag, QStringLiteral("0;gambar=2"));
    EXPECT_EQ(store.getDicetakUploadCountNumber(), 3);

    // Nothing more to do at the next start.
    EXPECT_EQ(store.migrateOldFile().outcome, SavedCompoundStore::Migration::NoOldFile);
    EXPECT_EQ(store.countYgDahCetak(), 4);
}

// Values that are not text, and pictures whose text is not plain Base64, as other writers leave them.
TEST_F(StoreMigration, ValuesThatAreNotTextComeBackAsTheyWere) {
    const QByteArray odd = R"(<?xml version="1.0" encoding="UTF-8"?><plist version="1.0"><array><array><dict>
<key>bersarang</key><dict><key>a</key><string>b</string><key>n</key><integer>7</integer></dict>
<key>data</key><data>AAECAwQ=</data><key>kompaunKadar</key><real>150.5</real>
<key>kompaunRunningNumber</key><string>P2016M07000009</string><key>lat</key><integer>3</integer>
<key>status_batal</key><string>0</string><key>tarikh</key><date>2016-03-10T02:30:00Z</date><key>ya</key><true/>
</dict><array><array><string>a2VjaWw=</string><string>/9j/4AAQ
SkZJRg</string></array></array><string>0</string></array><array><dict/><array/><string>1</string></array>
</array></plist>
)";
    testsupport::writeFile(store.oldPath(), odd);
    ASSERT_EQ(store.migrateOldFile().outcome, SavedCompoundStore::Migration::Imported);
    const SavedCompoundList list = store.getDicetak();
    ASSERT_EQ(list.size(), 2);
    // The council gets them as earlier versions sent them.
    EXPECT_EQ(list[0].record->value(QStringLiteral("lat")), QStringLiteral("3"));
    EXPECT_EQ(list[0].record->value(QStringLiteral("kompaunKadar")), QStringLiteral("150.5"));
    EXPECT_EQ(list[0].photos[0].full, QStringLiteral("/9j/4AAQ\nSkZJRg"));
    EXPECT_EQ(store.nextPhoto(list[0].id, 0)->fullJpeg(), QByteArray::fromBase64("/9j/4AAQSkZJRg"));

    const QByteArray first = exported(store);
    EXPECT_EQ(first, xmlOfFile(odd)); // the same values, as the library writes them

    // import(export(x)) == x, then the same export again.
    QTemporaryDir other;
    testsupport::writeFile(other.filePath(QStringLiteral("saveIns.dat")), first);
    SavedCompoundStore again(other.path(), nullptr);
    ASSERT_EQ(again.migrateOldFile().outcome, SavedCompoundStore::Migration::Imported);
    EXPECT_EQ(exported(again), first);

    // A cancellation written later replaces the value under its key and keeps the others.
    ASSERT_TRUE(store.setStatusBatal(list[0].id, QStringLiteral("1")));
    const QByteArray after = exported(store);
    EXPECT_TRUE(after.contains("<key>status_batal</key>\n\t\t\t<string>1</string>")) << after.constData();
    EXPECT_TRUE(after.contains("<date>2016-03-10T02:30:00Z</date>"));
}

// Also files the property-list fuzzer found the reader aborting on: kept aside untouched, never a crash.
TEST_F(StoreMigration, UnreadableTooDeepOrBinaryFileIsMovedAsideAndReported) {
    const QByteArray deep = "<plist>" + QByteArray("<array>").repeated(100000) + "</plist>";
    // A binary list whose first record has a key holding a NUL: readable up to it, but no file a phone
    // writes (those are XML).
    const QByteArray binary = QByteArray::fromBase64(
        "YnBsaXN0MDCiARCjAgsP1AMEBQYHCAkKVWFtYXVuXxAUa29tcGF1blJ1bm5p////CW1iZXJYEBVsb2thc2lMZXNlblBlcm5pYWdh"
        "YW5bbmFtYVBlc2FsYWhVNTAuMDBeUDIwAQAAAAEAAAAwNDJVMTVBQkNbQUxJIEJJTiBBQlWhDKINDkn/2Poei5d1bWJI/9j/4GZ1"
        "bGxRMKMRExTRBBJeUDIwMTZNMDcwMDAwNDOgUTEICw9YHjVNWV9udICCFo+Ymp6hsLEAADoAAAABAQAAAAAAAAAVAAAAAAAAAAAA"
        "AAAAAAAAsw==");
    ASSERT_TRUE(PlistFile::parse(binary));
    for (const QByteArray& bad : {QByteArray("<?xml version=\"1.0\"?><plist><array><dict><key>x</key>"), deep,
                                  QByteArray("<plist><string>bukan senarai</string></plist>"), binary}) {
        testsupport::writeFile(store.oldPath(), bad);
        const SavedCompoundStore::Migration m = store.migrateOldFile();
        EXPECT_EQ(m.outcome, SavedCompoundStore::Migration::Unreadable);
        EXPECT_FALSE(QFile::exists(store.oldPath()));
        EXPECT_EQ(testsupport::readFile(m.keptAs), bad);
        EXPECT_EQ(store.countYgDahCetak(), 0);
    }
    EXPECT_EQ(filesLike(QStringLiteral("saveIns.dat.unreadable-*")).size(), 4);
}

// An import cut short leaves the old file to be imported again; one that committed is not repeated.
TEST(StoreMigrationKilled, InterruptedImportIsDoneOnceAtTheNextStart) {
    const QVariantList old = oldStore(150, 3);

    // Killed while the import is being written, before its commit. On a busy machine the child may finish
    // before it is caught; then the whole phone is set up afresh and the kill tried again.
    std::unique_ptr<QTemporaryDir> dir;
    QString oldPath;
    QByteArray original;
    bool killedMidImport = false;
    for (int attempt = 0; attempt < 10 && !killedMidImport; ++attempt) {
        dir = std::make_unique<QTemporaryDir>();
        oldPath = dir->filePath(QLatin1String(SavedCompoundStore::oldFileName));
        ASSERT_TRUE(PlistFile::write(oldPath, old));
        original = testsupport::readFile(oldPath);
        const QString wal = dir->filePath(QStringLiteral("saveIns.sqlite-wal"));
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            SavedCompoundStore importer(dir->path(), nullptr);
            importer.migrateOldFile();
            _exit(0);
        }
        pid_t ended = 0;
        while (QFileInfo(wal).size() < 64 * 1024 && (ended = waitpid(child, nullptr, WNOHANG)) == 0)
            QFileInfo(wal).refresh();
        if (ended == 0) {
            kill(child, SIGKILL);
            waitpid(child, nullptr, 0);
            killedMidImport = QFile::exists(oldPath);
        }
    }
    ASSERT_TRUE(killedMidImport);
    EXPECT_EQ(testsupport::readFile(oldPath), original);

    SavedCompoundStore store(dir->path(), nullptr);
    ASSERT_EQ(store.path(), dir->filePath(QStringLiteral("saveIns.sqlite")));
    EXPECT_EQ(store.migrateOldFile().entries, 150);
    EXPECT_EQ(store.countYgDahCetak(), 150);

    // Committed, but the rename never happened: recognised, renamed, not imported twice.
    testsupport::writeFile(oldPath, original);
    const SavedCompoundStore::Migration m = store.migrateOldFile();
    EXPECT_EQ(m.outcome, SavedCompoundStore::Migration::Imported);
    EXPECT_FALSE(QFile::exists(oldPath));
    EXPECT_EQ(store.countYgDahCetak(), 150);
    EXPECT_EQ(store.getDicetak().last().record->value(Key::kompaunRunningNumber),
              QStringLiteral("P2016M07000150"));
}

// The import goes in compound by compound, counted as it goes, and yet all at once for the officer: killed
// or failing part-way, none of the old file's compounds is in the store and the old file is where and as
// it was; the next start brings all of them in.
TEST(StoreMigrationKilled, ImportStoppedPartWayLeavesNoneImportedAndTheOldFileAsItWas) {
    const QVariantList old = oldStore(40, 2);
    QTemporaryDir dir;
    const QString oldPath = dir.filePath(QLatin1String(SavedCompoundStore::oldFileName));
    ASSERT_TRUE(PlistFile::write(oldPath, old));
    const QByteArray original = testsupport::readFile(oldPath);

    // Killed after some compounds have gone in (the child says so for each).
    for (const int after : {1, 17, 39}) {
        int said[2];
        ASSERT_EQ(pipe(said), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(said[0]);
            SavedCompoundStore importer(dir.path(), nullptr);
            importer.migrateOldFile([&](int done, int) {
                if (done > 0)
                    (void)!write(said[1], "n", 1);
                if (done == after) // held here until killed
                    for (;;)
                        pause();
            });
            _exit(0);
        }
        close(said[1]);
        int written = 0;
        char c;
        while (written < after && read(said[0], &c, 1) == 1)
            ++written;
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        close(said[0]);
        ASSERT_EQ(written, after);
        EXPECT_EQ(SavedCompoundStore(dir.path(), nullptr).countYgDahCetak(), 0) << "killed after " << after;
        EXPECT_EQ(testsupport::readFile(oldPath), original);
    }

    // A file that changes under the import (here: grows after the count) fails it whole and is tried again.
    SavedCompoundStore store(dir.path(), nullptr);
    const SavedCompoundStore::Migration failed = store.migrateOldFile([&](int done, int) {
        if (done == 5) {
            QFile grow(oldPath);
            ASSERT_TRUE(grow.open(QIODevice::Append));
            grow.write("<!-- lagi -->\n");
        }
    });
    EXPECT_EQ(failed.outcome, SavedCompoundStore::Migration::Failed);
    EXPECT_EQ(store.countYgDahCetak(), 0);
    EXPECT_TRUE(QFile::exists(oldPath));

    testsupport::writeFile(oldPath, original);
    const SavedCompoundStore::Migration m = store.migrateOldFile();
    EXPECT_EQ(m.outcome, SavedCompoundStore::Migration::Imported);
    EXPECT_EQ(m.entries, 40);
    EXPECT_EQ(store.countYgDahCetak(), 40);
    EXPECT_EQ(testsupport::readFile(m.keptAs), original);
    // The import's log has gone into the database at the end.
    EXPECT_LT(QFileInfo(dir.filePath(QStringLiteral("saveIns.sqlite-wal"))).size(), 64 * 1024);
}

// The streamed reader reads what the library reads. What it refuses (cut short, binary, not a list) is
// checked through the import (StoreMigration); here what the library takes that our writer never writes.
TEST(OldStoreStream, ReadsBareListsCommentsAndEntitiesAsTheLibraryDoes) {
    QList<SavedCompoundFile::Entry> got;
    const auto read = [&](const QByteArray& xml) {
        got.clear();
        return SavedCompoundFile::read(
            xml,
            [&](SavedCompoundFile::Entry&& e) {
                got.append(std::move(e));
                return true;
            },
            nullptr);
    };
    ASSERT_TRUE(read("<array><array/></array>")); // bare, without <plist>
    EXPECT_EQ(got.size(), 1);
    ASSERT_TRUE(read("<?xml version=\"1.0\"?><plist version=\"1.0\"><array/></plist>"));
    EXPECT_TRUE(got.isEmpty());
    EXPECT_FALSE(read(QByteArray()));
    ASSERT_TRUE(
        read("<plist><array><array><dict><key>nama</key><string>A &amp; B &lt;C&gt;</string><!-- x -->"
             "</dict><array/><string>1</string></array></array></plist>"));
    ASSERT_EQ(got.size(), 1);
    EXPECT_EQ(got[0].record.value(QStringLiteral("nama")), QStringLiteral("A & B <C>"));
    EXPECT_EQ(got[0].flag, QStringLiteral("1"));
}

// A writer killed at any moment loses no compound it reported stored, and stores none twice.
TEST_F(StoresTest, KilledWriterLosesNothingItReportedAndDuplicatesNothing) {
    const PhotoList photos{{QString(4000, QLatin1Char('A')), QString(200000, QLatin1Char('B'))}};
    for (int round = 0; round < 6; ++round) {
        int acks[2];
        ASSERT_EQ(pipe(acks), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(acks[0]);
            SavedCompoundStore writer(dir.path(), nullptr);
            for (int i = 0;; ++i) {
                const QString number = QStringLiteral("R%1-%2").arg(round).arg(i);
                if (!writer.insertIntoBaruPBCompound(
                        makeRecord({{QString(Key::kompaunRunningNumber), number}}), photos))
                    _exit(1);
                (void)!write(acks[1], "i", 1);
                const auto next = writer.nextWaiting(0);
                if (next && writer.setUploadFlag(next->id, QStringLiteral("1")))
                    (void)!write(acks[1], "m", 1);
            }
        }
        close(acks[1]);
        int inserted = 0;
        int marked = 0;
        char c;
        while (inserted < 3 + round * 2 && read(acks[0], &c, 1) == 1)
            (c == 'i' ? inserted : marked) += 1;
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        // What it reported between the last read and the kill counts too (a busy machine lets it run on).
        while (read(acks[0], &c, 1) == 1)
            (c == 'i' ? inserted : marked) += 1;
        close(acks[0]);

        const auto list = store.getSaveArray();
        ASSERT_TRUE(list) << "round " << round;
        std::set<QString> seen;
        int ofThisRound = 0;
        int uploaded = 0;
        for (const SavedCompound& e : *list) {
            const QString number = e.record->value(Key::kompaunRunningNumber);
            EXPECT_TRUE(seen.insert(number).second) << "stored twice: " << number.toStdString();
            EXPECT_EQ(e.photos, photos) << number.toStdString();
            ofThisRound += number.startsWith(QStringLiteral("R%1-").arg(round)) ? 1 : 0;
            uploaded += e.flagValue() == 1 ? 1 : 0;
        }
        EXPECT_GE(ofThisRound, inserted);
        EXPECT_LE(ofThisRound, inserted + 1);
        EXPECT_GE(uploaded, marked);
        ASSERT_TRUE(store.purgeUploaded());
    }
}

// Nesting deeper than any of our files uses is refused before a parser recurses into it.
TEST(PlistDepth, DeepNestingIsUnreadableNotACrash) {
    auto nested = [](int depth) {
        QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">";
        xml += QByteArray("<array>").repeated(depth) + "<string>x</string>" +
               QByteArray("</array>").repeated(depth);
        return xml + "</plist>\n";
    };
    EXPECT_TRUE(PlistFile::parse(nested(PlistFile::maxDepth)));
    EXPECT_FALSE(PlistFile::parse(nested(PlistFile::maxDepth + 1)));
    // Text that only looks like tags does not count; comments cannot hide an opening tag.
    EXPECT_TRUE(PlistFile::parse(
        "<plist><array><string>&lt;array&gt;</string><!-- <array><array> --></array></plist>"));
    EXPECT_FALSE(PlistFile::withinDepth("<!-- </array></array> --><array><array><array>", 2));
    EXPECT_TRUE(PlistFile::withinDepth("<array><array/><array/><dict/></array>", 1));

    // The binary form: the same limits, and a list holding itself is refused too.
    plist_t root = plist_new_array();
    plist_t inner = root;
    for (int i = 1; i < PlistFile::maxDepth + 1; ++i) {
        plist_t child = plist_new_array();
        plist_array_append_item(inner, child);
        inner = child;
    }
    char* bin = nullptr;
    uint32_t length = 0;
    plist_to_bin(root, &bin, &length);
    const QByteArray deep(bin, length);
    plist_to_bin_free(bin);
    plist_free(root);
    EXPECT_FALSE(PlistFile::parse(deep));
    EXPECT_TRUE(PlistFile::withinDepth(deep, PlistFile::maxDepth + 1));
    // Object 0 an array of one reference to object 0: the header, the array, its offset, then the trailer
    // (one-byte offsets and references, one object, the offset table at 10).
    const QByteArray cyclic = QByteArray::fromHex(
        "62706c6973743030a10008000000000000010100000000000000010000000000000000000000000000000a");
    EXPECT_FALSE(PlistFile::withinDepth(cyclic));
}

} // namespace
