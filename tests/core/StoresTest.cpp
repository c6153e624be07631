#include "core/FavouriteStore.h"
#include "core/PlistFile.h"
#include "core/RecordKeys.h"
#include "core/SavedCompoundStore.h"
#include "platform/fake/FakePlatform.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <plist/plist.h>

#include <csignal>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

namespace {

SavedCompound entry(const QString& number, const QString& flag) {
    return {makeRecord({{QString(Key::kompaunRunningNumber), number},
                        {QString(Key::namaPesalah), QStringLiteral("ALI")},
                        {QString(Key::kompaunButiranKesalahan), QStringLiteral("MELETAK KENDERAAN")},
                        {QString(Key::status_batal), QStringLiteral("0")}}),
            {{QStringLiteral("dGh1bWI="), QStringLiteral("ZnVsbA==")}},
            flag};
}

QStringList numbers(const SavedCompoundList& list) {
    QStringList out;
    for (const SavedCompound& e : list)
        out << e.record->value(Key::kompaunRunningNumber);
    return out;
}

class StoresTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    FakeLog log;
    SavedCompoundStore store{dir.path(), &log};
    FavouriteStore favs{dir.path(), &log};

    QStringList filesLike(const QString& pattern) { return QDir(dir.path()).entryList({pattern}); }
};

TEST_F(StoresTest, PurgeKeepsWaitingEntriesInOrderAndAFailedWriteKeepsThemToo) {
    EXPECT_EQ(store.countYgDahCetak(), 0);
    ASSERT_TRUE(store.purgeUploaded());
    ASSERT_TRUE(store.getSaveArray());
    EXPECT_TRUE(store.getSaveArray()->isEmpty());

    ASSERT_TRUE(store.saveArrayFile({entry(QStringLiteral("P1"), QStringLiteral("0")),
                                     entry(QStringLiteral("P2"), QStringLiteral("1")),
                                     entry(QStringLiteral("P3"), QStringLiteral("bukan nombor")),
                                     entry(QStringLiteral("P4"), QStringLiteral("1")),
                                     entry(QStringLiteral("P5"), QStringLiteral("0;gambar=1"))}));
    EXPECT_EQ(store.countYgDahCetak(), 5);
    // A flag that is not a number counts as not uploaded; one with photographs left is still waiting.
    EXPECT_EQ(store.getDicetakUploadCountNumber(), 3);
    ASSERT_TRUE(store.purgeUploaded());
    EXPECT_EQ(numbers(store.getDicetak()),
              (QStringList{QStringLiteral("P1"), QStringLiteral("P3"), QStringLiteral("P5")}));
    EXPECT_EQ(store.getDicetakUploadCountNumber(), 3);
    EXPECT_EQ(store.getDicetak().last().uploadFlag, QStringLiteral("0;gambar=1"));
    EXPECT_EQ(store.getDicetak().first().photos.first(),
              (PhotoEntry{QStringLiteral("dGh1bWI="), QStringLiteral("ZnVsbA==")}));

    // A write that fails is reported, and what was there stays.
    SavedCompoundStore broken(dir.path() + QStringLiteral("/no-such-dir"), &log);
    EXPECT_FALSE(broken.insertIntoBaruPBCompound(makeRecord(), {}));
    EXPECT_FALSE(broken.purgeUploaded());
    EXPECT_TRUE(log.contains(QStringLiteral("Save failed")));
    EXPECT_EQ(store.countYgDahCetak(), 3);
}

TEST_F(StoresTest, OperationsReadOnlyWhatTheyNeed) {
    Record record =
        makeRecord({{QString(Key::kompaunRunningNumber), QStringLiteral("P2026M07000041")},
                    {QString(Key::kompaunButiranKesalahan), QStringLiteral("GERAI TANPA LESEN")},
                    {QString(Key::status_batal), QStringLiteral("0")},
                    {QString(Key::namaPesalah), QStringLiteral("SITI <ZAHRAH> & \"KEDAI\" Ñ 名")}});
    const QByteArray jpeg("\xFF\xD8\xFF\xE0\x00\r\n\x80 JPEG \xFF\xD9", 16);
    const PhotoList photos{
        {QString::fromLatin1(QByteArray("kecil").toBase64()), QString::fromLatin1(jpeg.toBase64())},
        {QString::fromLatin1(QByteArray("kecil2").toBase64()), QStringLiteral("bukan base64!")}};
    ASSERT_TRUE(store.insertIntoBaruPBCompound(record, photos));
    // The record is taken as it is at this moment.
    record->insert(QString(Key::kompaunRunningNumber), QStringLiteral("CHANGED"));
    ASSERT_TRUE(store.insertIntoBaruPBCompound(
        makeRecord({{QString(Key::kompaunRunningNumber), QStringLiteral("P2026M07000042")}}), {}));
    EXPECT_TRUE(log.contains(QStringLiteral("kompaun : ")));
    EXPECT_TRUE(log.contains(QStringLiteral("Save Successfully")));

    const QList<SavedCompoundRow> rows = store.printedListRows();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0], (SavedCompoundRow{rows[0].id, QStringLiteral("P2026M07000041"),
                                         QStringLiteral("GERAI TANPA LESEN"), QStringLiteral("0"),
                                         QStringLiteral("0")}));
    EXPECT_EQ(rows[1].number, QStringLiteral("P2026M07000042"));
    EXPECT_LT(rows[0].id, rows[1].id);

    const auto first = store.entry(rows[0].id);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->record->value(Key::namaPesalah), QStringLiteral("SITI <ZAHRAH> & \"KEDAI\" Ñ 名"));
    EXPECT_EQ(first->photos, photos); // text that is not plain Base64 comes back as it was
    EXPECT_FALSE(store.entry(rows[1].id + 100));

    // The upload's view: one compound, then one photograph at a time, full picture only.
    const auto waiting = store.nextWaiting(0);
    ASSERT_TRUE(waiting);
    EXPECT_EQ(waiting->id, rows[0].id);
    EXPECT_EQ(waiting->photoCount, 2);
    const auto photo1 = store.nextPhoto(waiting->id, 0);
    ASSERT_TRUE(photo1);
    EXPECT_EQ(photo1->position, 1);
    EXPECT_EQ(photo1->fullJpeg(), jpeg);
    EXPECT_TRUE(photo1->thumbnail.isEmpty());
    EXPECT_EQ(store.nextPhoto(waiting->id, 1)->fullJpeg(), QByteArray::fromBase64("bukan base64!"));
    EXPECT_FALSE(store.nextPhoto(waiting->id, 2));
    EXPECT_EQ(store.nextWaiting(waiting->id)->id, rows[1].id);
    EXPECT_FALSE(store.nextWaiting(rows[1].id));

    // Marks of one entry touch nothing else of it.
    ASSERT_TRUE(store.setStatusBatal(rows[0].id, QStringLiteral("1")));
    ASSERT_TRUE(store.setUploadFlag(rows[1].id, QStringLiteral("1")));
    EXPECT_FALSE(store.setUploadFlag(rows[1].id + 100, QStringLiteral("1")));
    EXPECT_EQ(store.printedListRows().size(), 1);
    EXPECT_EQ(store.printedListRows()[0].statusBatal, QStringLiteral("1"));
    EXPECT_EQ(store.entry(rows[0].id)->record->value(Key::namaPesalah),
              QStringLiteral("SITI <ZAHRAH> & \"KEDAI\" Ñ 名"));
    EXPECT_EQ(store.getDicetakUploadCountNumber(), 1);
    EXPECT_EQ(store.countYgDahCetak(), 2);
}

TEST_F(StoresTest, FavouritesKeepTheirOrderAndAnUnreadableFileIsNeverWrittenOver) {
    EXPECT_TRUE(favs.replaceFav({})); // nothing to replace yet
    EXPECT_FALSE(QFile::exists(favs.path()));
    const RecordMap a{{QString(Key::kesalahanID), QStringLiteral("S1")},
                      {QString(Key::kompaunKadar), QStringLiteral("300.00")}};
    ASSERT_TRUE(favs.insertIntoFav(a, QStringLiteral("8(1)-TIDAK BAYAR"), QStringLiteral("TIKET")));
    ASSERT_TRUE(favs.insertIntoFav({{QString(Key::kesalahanID), QStringLiteral("S2")}},
                                   QStringLiteral("9-GERAI"), QStringLiteral("TANPA LESEN")));
    ASSERT_EQ(favs.getFavSaveArray()->size(), 2);
    EXPECT_EQ(favs.getFavSaveArray()->first(),
              (Favourite{QStringLiteral("8(1)-TIDAK BAYAR"), QStringLiteral("TIKET"), a}));
    ASSERT_TRUE(favs.replaceFav({})); // the last one deleted: an empty list, still readable
    ASSERT_TRUE(favs.getFavSaveArray());
    EXPECT_TRUE(favs.getFavSaveArray()->isEmpty());

    // A damaged file is moved aside before the next favourite, and before a deletion would write over it.
    const QByteArray damaged = "<?xml version=\"1.0\"?><plist><array><array><string>8(1)-TIDAK BAYAR</str";
    testsupport::writeFile(favs.path(), damaged);
    ASSERT_FALSE(favs.getFavSaveArray());
    ASSERT_TRUE(favs.insertIntoFav(a, QStringLiteral("9-GERAI"), QStringLiteral("TANPA LESEN")));
    EXPECT_EQ(favs.getFavSaveArray()->size(), 1);
    testsupport::writeFile(favs.path(), damaged);
    ASSERT_TRUE(favs.replaceFav({}));
    const QStringList aside = filesLike(QStringLiteral("fav.dat.unreadable-*"));
    ASSERT_EQ(aside.size(), 2);
    for (const QString& name : aside)
        EXPECT_EQ(testsupport::readFile(dir.filePath(name)), damaged);
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
    EXPECT_FALSE(PlistFile::parse(nested(100000)));
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
    // Object 0 an array of one reference to object 0.
    QByteArray cyclic("bplist00\xA1\x00", 10);
    QByteArray trailer(32, '\0');
    trailer[6] = 1;
    trailer[7] = 1;
    trailer[15] = 1;  // one object
    trailer[31] = 10; // offset table at 10
    cyclic += QByteArray("\x08", 1) + trailer;
    EXPECT_FALSE(PlistFile::withinDepth(cyclic));
}

} // namespace
