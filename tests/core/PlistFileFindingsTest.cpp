#include "core/PlistFile.h"
#include "core/SavedCompoundStore.h"
#include "platform/fake/FakePlatform.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Files the property-list fuzzer found the reader aborting on. Each must read as what XML can carry of it, or
// as unreadable (so the store moves it aside), never bring the application down.
TEST(PlistFileFindings, ABinaryDictionaryKeyHoldingANulReadsUpToIt) {
    // A saved-compounds file whose first record has a key with a NUL inside ("kompaunRunni\xff\xff\xff\tmber"
    // became "...\0\0\0\1...").
    const QByteArray file = QByteArray::fromBase64(
        "YnBsaXN0MDCiARCjAgsP1AMEBQYHCAkKVWFtYXVuXxAUa29tcGF1blJ1bm5p////CW1iZXJYEBVsb2thc2lMZXNlblBlcm5pYWdh"
        "YW5bbmFtYVBlc2FsYWhVNTAuMDBeUDIwAQAAAAEAAAAwNDJVMTVBQkNbQUxJIEJJTiBBQlWhDKINDkn/2Poei5d1bWJI/9j/4GZ1"
        "bGxRMKMRExTRBBJeUDIwMTZNMDcwMDAwNDOgUTEICw9YHjVNWV9udICCFo+Ymp6hsLEAADoAAAABAQAAAAAAAAAVAAAAAAAAAAAA"
        "AAAAAAAAsw==");
    ASSERT_TRUE(PlistFile::parse(file));

    QTemporaryDir dir;
    SavedCompoundStore store(dir.path(), nullptr);
    // As an old store it is no file a phone writes (those are XML): kept aside untouched, never a crash.
    testsupport::writeFile(dir.filePath(QLatin1String(SavedCompoundStore::oldFileName)), file);
    EXPECT_EQ(store.migrateOldFile().outcome, SavedCompoundStore::Migration::Unreadable);
    EXPECT_EQ(store.countYgDahCetak(), 0);
    const QStringList aside = QDir(dir.path()).entryList({QStringLiteral("saveIns.dat.unreadable-*")});
    ASSERT_EQ(aside.size(), 1);
    EXPECT_EQ(testsupport::readFile(dir.filePath(aside.first())), file);
}
