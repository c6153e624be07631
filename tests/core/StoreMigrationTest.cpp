// Stores left by earlier versions: imported whole, kept beside, and written back exactly.
#include "core/PlistFile.h"
#include "core/RecordKeys.h"
#include "core/SavedCompoundStore.h"
#include "platform/fake/FakePlatform.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <plist/plist.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using testsupport::readFile;
using testsupport::writeFile;

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

class StoreMigration : public ::testing::Test {
protected:
    QTemporaryDir dir;
    FakeLog log;
    SavedCompoundStore store{dir.path(), &log};

    QStringList filesLike(const QString& pattern) { return QDir(dir.path()).entryList({pattern}); }
    QByteArray exported(SavedCompoundStore& from) {
        const QString out = dir.filePath(QStringLiteral("export.dat"));
        QString error;
        EXPECT_TRUE(from.exportTo(out, &error)) << error.toStdString();
        return readFile(out);
    }
};

TEST_F(StoreMigration, OldStoreIsImportedWholeKeptBesideAndExportedByteForByte) {
    const QVariantList old{
        oldEntry(QStringLiteral("P2016M07000001"), QStringLiteral("0"), 3,
                 QStringLiteral("SITI <ZAHRAH> & \"KEDAI\" Ñ 名")),
        oldEntry(QStringLiteral("P2016M07000002"), QStringLiteral("1"), 1, QStringLiteral("ALI")),
        oldEntry(QStringLiteral("P2016M07000003"), QStringLiteral("0;gambar=2"), 2, QStringLiteral("TAN")),
        oldEntry(QStringLiteral("P2016M07000004"), QStringLiteral("0"), 0, QString())};
    ASSERT_TRUE(PlistFile::write(store.oldPath(), old));
    const QByteArray original = readFile(store.oldPath());

    const SavedCompoundStore::Migration m = store.migrateOldFile();
    EXPECT_EQ(m.outcome, SavedCompoundStore::Migration::Imported);
    EXPECT_EQ(m.entries, 4);
    EXPECT_FALSE(QFile::exists(store.oldPath()));
    const QStringList kept = filesLike(QStringLiteral("saveIns.dat.migrated-*"));
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(QFileInfo(m.keptAs).fileName(), kept.first());
    EXPECT_EQ(readFile(m.keptAs), original); // never deleted, never changed

    const SavedCompoundList list = store.getDicetak();
    ASSERT_EQ(list.size(), 4);
    for (int i = 0; i < 4; ++i) {
        const QVariantList e = old[i].toList();
        EXPECT_EQ(list[i].uploadFlag, e[2].toString());
        EXPECT_EQ(list[i].record->value(Key::namaPesalah),
                  e[0].toMap().value(QString(Key::namaPesalah)).toString());
        ASSERT_EQ(list[i].photos.size(), e[1].toList().size());
        for (int p = 0; p < list[i].photos.size(); ++p)
            EXPECT_EQ(list[i].photos[p].full, e[1].toList()[p].toList()[1].toString());
    }
    EXPECT_EQ(store.getDicetakUploadCountNumber(), 3);
    EXPECT_EQ(exported(store), original);

    // Nothing more to do at the next start.
    EXPECT_EQ(store.migrateOldFile().outcome, SavedCompoundStore::Migration::NoOldFile);
    EXPECT_EQ(store.countYgDahCetak(), 4);
}

// Values that are not text, and pictures whose text is not plain Base64, as other writers leave them.
TEST_F(StoreMigration, ValuesThatAreNotTextComeBackAsTheyWere) {
    const QByteArray odd = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0"><array>
  <array>
    <dict>
      <key>bersarang</key><dict><key>a</key><string>b</string><key>n</key><integer>7</integer></dict>
      <key>data</key><data>AAECAwQ=</data>
      <key>kompaunKadar</key><real>150.5</real>
      <key>kompaunRunningNumber</key><string>P2016M07000009</string>
      <key>lat</key><integer>3</integer>
      <key>status_batal</key><string>0</string>
      <key>tarikh</key><date>2016-03-10T02:30:00Z</date>
      <key>ya</key><true/>
    </dict>
    <array><array><string>a2VjaWw=</string><string>/9j/4AAQ
SkZJRg</string></array></array>
    <string>0</string>
  </array>
  <array><dict/><array/><string>1</string></array>
</array></plist>
)";
    writeFile(store.oldPath(), odd);
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
    writeFile(other.filePath(QStringLiteral("saveIns.dat")), first);
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
        writeFile(store.oldPath(), bad);
        const SavedCompoundStore::Migration m = store.migrateOldFile();
        EXPECT_EQ(m.outcome, SavedCompoundStore::Migration::Unreadable);
        EXPECT_FALSE(QFile::exists(store.oldPath()));
        EXPECT_EQ(readFile(m.keptAs), bad);
        EXPECT_EQ(store.countYgDahCetak(), 0);
    }
    EXPECT_EQ(filesLike(QStringLiteral("saveIns.dat.unreadable-*")).size(), 4);
    EXPECT_TRUE(log.contains(QStringLiteral("saveIns.dat unreadable")));
}

// An import cut short leaves the old file to be imported again; one that committed is not repeated.
TEST(StoreMigrationKilled, InterruptedImportIsDoneOnceAtTheNextStart) {
    QVariantList old;
    for (int i = 1; i <= 150; ++i)
        old << oldEntry(QStringLiteral("P2016M07%1").arg(i, 6, 10, QLatin1Char('0')), QStringLiteral("0"), 3,
                        QStringLiteral("PESALAH %1").arg(i));

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
        original = readFile(oldPath);
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
    EXPECT_EQ(readFile(oldPath), original);

    SavedCompoundStore store(dir->path(), nullptr);
    ASSERT_EQ(store.path(), dir->filePath(QStringLiteral("saveIns.sqlite")));
    EXPECT_EQ(store.migrateOldFile().entries, 150);
    EXPECT_EQ(store.countYgDahCetak(), 150);

    // Committed, but the rename never happened: recognised, renamed, not imported twice.
    writeFile(oldPath, original);
    const SavedCompoundStore::Migration m = store.migrateOldFile();
    EXPECT_EQ(m.outcome, SavedCompoundStore::Migration::Imported);
    EXPECT_FALSE(QFile::exists(oldPath));
    EXPECT_EQ(store.countYgDahCetak(), 150);
    EXPECT_EQ(store.getDicetak().last().record->value(Key::kompaunRunningNumber),
              QStringLiteral("P2016M07000150"));
}

} // namespace
