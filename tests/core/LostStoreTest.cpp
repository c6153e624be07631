// A store or number file lost, damaged or replaced by something that is not ours: only this
// application's store is taken, nothing is written into anyone else's database, and the numbers already
// handed to citizens on printed notices are never given again.
#include "core/AppDelegate.h"
#include "core/PlistFile.h"
#include "core/RecordKeys.h"
#include "core/RunningNumber.h"
#include "core/SavedCompoundStore.h"
#include "platform/fake/FakePlatform.h"
#include "support/KualaLumpurTime.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <memory>

namespace {

using testsupport::FixedClock;
using testsupport::kl;

const QString kStoreAsideMessage =
    QStringLiteral("Simpanan kompaun dalam telefon tidak dapat dibaca dan telah disimpan sebagai %1. "
                   "Simpanan baru dimulakan. Sila maklumkan pihak pengurusan IT anda.");

// A database made by another program, through SQLite itself.
void makeDatabase(const QString& path, const char* sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
    char* error = nullptr;
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, &error);
    EXPECT_EQ(rc, SQLITE_OK) << (error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
}

qint64 pragma(const QString& path, const char* name) {
    return testsupport::queryNumber(path, (QByteArray("PRAGMA ") + name).constData());
}

// What can stand where the store should be.
struct Replacement {
    const char* what;
    std::function<void(const QString& path)> make;
    bool staleLog = false; // its log left beside it, which must go aside with it
};

const Replacement replacements[] = {
    {"garbage, and a log of an earlier store beside it",
     [](const QString& p) {
         testsupport::writeFile(p, QByteArray("garbage ").repeated(500));
         testsupport::writeFile(p + QStringLiteral("-wal"), "stale log");
     },
     true},
    {"empty", [](const QString& p) { testsupport::writeFile(p, QByteArray()); }},
    {"another program's database",
     [](const QString& p) {
         makeDatabase(p, "CREATE TABLE notes(id INTEGER PRIMARY KEY, body TEXT);"
                         "INSERT INTO notes(body) VALUES('jangan tulis di sini');");
     }},
    {"a compound table of another shape",
     [](const QString& p) {
         makeDatabase(p, "CREATE TABLE compound(id INTEGER PRIMARY KEY, nombor TEXT);"
                         "CREATE TABLE photo(compound, position, kept, thumbnail, full);"
                         "INSERT INTO compound(nombor) VALUES('P2026X01000001');");
     }},
    {"a compound view",
     [](const QString& p) {
         makeDatabase(p, "CREATE TABLE c(id, record, non_text, flag, waiting);"
                         "CREATE VIEW compound AS SELECT * FROM c;"
                         "CREATE TABLE photo(compound, position, kept, thumbnail, full);");
     }},
    {"our tables under another program's id",
     [](const QString& p) {
         {
             SavedCompoundStore made(QFileInfo(p).absolutePath(), nullptr);
             ASSERT_TRUE(made.ready());
         }
         makeDatabase(p, "PRAGMA application_id=1129270354;");
     }},
};

// A registered phone, started as the application starts, on its own Documents folder.
struct Phone {
    explicit Phone(const QString& documents) : fakes(documents, testsupport::resourceDir()) {
        clock.instant = kl(2026, 5, 4, 10, 15);
        app = std::make_unique<AppDelegate>(fakes.platform(), &clock);
        app->startUp();
        app->setUserGlobalID({{QStringLiteral("peng_nama"), QStringLiteral("NORAZLINA BINTI HASHIM")},
                              {QStringLiteral("kod_pekerja"), QStringLiteral("PK2044")}});
    }
    bool registerAgain(int councilLast) {
        return app->lookups().registerDevice(QStringLiteral("M07"), QString::number(councilLast), councilLast,
                                             app->runningNumbers());
    }
    // "Ya" as the issuing flow does it: store, advance, then the notice would print.
    QString issue() {
        app->saveDictionaryInit();
        const Record record = app->saveDictionary();
        record->insert(QString(Key::namaPesalah), QStringLiteral("TAN AH KOW"));
        if (!app->readyToIssue() || !app->insertIntoBaruPBCompound(record) || !app->addOneRunningNumber())
            return {};
        return record->value(Key::kompaunRunningNumber);
    }
    QStringList messages() const {
        QStringList out;
        for (const auto& alert : fakes.alerts.shown)
            out << alert.message;
        return out;
    }

    FakePlatform fakes;
    FixedClock clock;
    std::unique_ptr<AppDelegate> app;
};

int sequence(const QString& number) {
    return RunningNumber::sequenceOf(number, QStringLiteral("M07"));
}

// Four compounds printed (121 to 124, none uploaded; the council's last number is 120); then the store
// is garbage, empty or another program's. The officer is told, registers again, and every later number
// is above every number printed before.
TEST(LostStore, NumbersPrintedBeforeAreNeverGivenAgainWhateverReplacedTheStore) {
    for (const Replacement& replacement : replacements) {
        SCOPED_TRACE(replacement.what);
        QTemporaryDir dir;
        QStringList printed;
        {
            Phone phone(dir.path());
            ASSERT_TRUE(phone.registerAgain(120));
            for (int i = 0; i < 4; ++i)
                printed << phone.issue();
            ASSERT_EQ(printed,
                      (QStringList{QStringLiteral("P2026M07000121"), QStringLiteral("P2026M07000122"),
                                   QStringLiteral("P2026M07000123"), QStringLiteral("P2026M07000124")}));
        }
        const QString store = dir.filePath(QLatin1String(SavedCompoundStore::fileName));
        QFile::remove(store);
        for (const char* companion : {"-journal", "-wal", "-shm"})
            QFile::remove(store + QLatin1String(companion));
        replacement.make(store);
        const QByteArray before = testsupport::readFile(store);

        Phone phone(dir.path());
        // Moved aside untouched (its log too), the officer told where, and no failed purge told.
        const QStringList aside =
            QDir(dir.path())
                .entryList({QStringLiteral("saveIns.sqlite.unreadable-*")}, QDir::Files, QDir::Name);
        ASSERT_EQ(aside.size(), replacement.staleLog ? 2 : 1)
            << QDir(dir.path()).entryList().join(u' ').toStdString();
        EXPECT_EQ(testsupport::readFile(dir.filePath(aside.first())), before);
        if (replacement.staleLog) {
            EXPECT_EQ(testsupport::readFile(dir.filePath(aside.last())), "stale log");
        }
        EXPECT_TRUE(phone.messages().contains(kStoreAsideMessage.arg(aside.first())))
            << phone.messages().join(u'\n').toStdString();
        EXPECT_FALSE(phone.messages().join(u'\n').contains(QStringLiteral("tidak dapat dibuang")));
        EXPECT_EQ(phone.app->saveStore().countYgDahCetak(), 0);
        // The number file still knows: issuing goes on offline, above what was printed.
        EXPECT_TRUE(phone.app->numberingTrusted());
        EXPECT_EQ(sequence(phone.issue()), 125);

        // Registering again, as an officer told of a lost store may, never brings a number back.
        ASSERT_TRUE(phone.registerAgain(120));
        const QString next = phone.issue();
        EXPECT_EQ(sequence(next), 126) << next.toStdString();
        // And the number file lost as well now: the new store's own mark carries the number.
        QFile::remove(phone.app->runningNumbers().path());
        Phone restarted(dir.path());
        EXPECT_TRUE(restarted.app->numberingTrusted());
        EXPECT_EQ(sequence(restarted.issue()), 127);
    }
}

TEST(LostStore, AnEarlierVersionsStoreIsAdoptedAndStampedWithItsCompounds) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QLatin1String(SavedCompoundStore::fileName));
    {
        SavedCompoundStore store(dir.path(), nullptr);
        ASSERT_TRUE(store.insertIntoBaruPBCompound(
            makeRecord({{QString(Key::kompaunRunningNumber), QStringLiteral("P2026M07000003")}}), {}));
    }
    // As earlier versions left it: our tables, no stamp, no mark.
    makeDatabase(path, "PRAGMA application_id=0; PRAGMA user_version=0; DROP TABLE mark;");
    ASSERT_EQ(pragma(path, "application_id"), 0);

    FakeLog log;
    SavedCompoundStore store(dir.path(), &log);
    EXPECT_EQ(store.countYgDahCetak(), 1);
    EXPECT_TRUE(store.takeMovedAside().isEmpty());
    EXPECT_FALSE(store.highWaterMark().has_value());
    EXPECT_EQ(pragma(path, "application_id"), SavedCompoundStore::applicationId);
    EXPECT_EQ(pragma(path, "user_version"), SavedCompoundStore::schemaVersion);
}

TEST(LostStore, AJournalLeftBesideAStoreThatIsGoneIsNeverPlayedIntoTheNewOne) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QLatin1String(SavedCompoundStore::fileName));
    // The journal of a store since deleted, with content that would be played back into a database.
    {
        SavedCompoundStore old(dir.path(), nullptr);
        ASSERT_TRUE(old.insertIntoBaruPBCompound(
            makeRecord({{QString(Key::kompaunRunningNumber), QStringLiteral("P2026M07000001")}}), {}));
    }
    const QByteArray oldStore = testsupport::readFile(path);
    QFile::remove(path);
    testsupport::writeFile(path + QStringLiteral("-journal"), oldStore);
    SavedCompoundStore store(dir.path(), nullptr);
    EXPECT_TRUE(store.insertIntoBaruPBCompound(
        makeRecord({{QString(Key::kompaunRunningNumber), QStringLiteral("P2026M07000002")}}), {}));
    EXPECT_EQ(store.countYgDahCetak(), 1);
    EXPECT_NE(testsupport::readFile(path + QStringLiteral("-journal")), oldStore);
}

// A tool reading a copy neither moves it, nor writes into it, nor exports an empty store in its place.
TEST(LostStore, AToolNeverMovesNorWritesIntoAFileThatIsNotOurStore) {
    for (const Replacement& replacement : replacements) {
        SCOPED_TRACE(replacement.what);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("copy.sqlite"));
        replacement.make(path);
        const QByteArray before = testsupport::readFile(path);
        const auto store = SavedCompoundStore::atPath(path, nullptr);
        EXPECT_FALSE(store->exportTo(dir.filePath(QStringLiteral("out.dat"))));
        EXPECT_FALSE(store->insertIntoBaruPBCompound(makeRecord(), {}));
        EXPECT_EQ(testsupport::readFile(path), before);
        EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("out.dat"))));
    }
}

// Which marks survive decides whether the phone may go on numbering by itself.
TEST(LostStore, AnyOneReadableMarkKeepsNumberingTrustedAndNoneMakesItWaitForTheCouncil) {
    const struct {
        const char* lost;
        bool storeLost;
        const char* numberFile; // nullptr: removed; "" kept
        bool trusted;
        int next;
    } cases[] = {
        {"nothing", false, "", true, 14},
        {"the number file", false, nullptr, true, 14},
        {"the number file, made unreadable", false, "\x01\x02 not a list", true, 14},
        {"the store", true, "", true, 14},
        {"both", true, nullptr, false, 1},
        // What can still be read of the file is a floor.
        {"both, the number file unreadable", true, "<plist><array><string>1</string><string>1</str", false,
         3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lost);
        QTemporaryDir dir;
        {
            Phone phone(dir.path());
            ASSERT_TRUE(phone.registerAgain(12));
            ASSERT_EQ(sequence(phone.issue()), 13);
            // Uploaded and purged: no compound held tells the number any more.
            ASSERT_TRUE(phone.app->saveStore().setUploadFlag(phone.app->saveStore().nextWaiting(0)->id,
                                                             QStringLiteral("1")));
            ASSERT_TRUE(phone.app->saveStore().purgeUploaded());
        }
        const QString numberFile = dir.filePath(QLatin1String(RunningNumber::fileName));
        if (!c.numberFile)
            QFile::remove(numberFile);
        else if (*c.numberFile)
            testsupport::writeFile(numberFile, c.numberFile);
        if (c.storeLost)
            testsupport::writeFile(dir.filePath(QLatin1String(SavedCompoundStore::fileName)), "rosak");

        Phone phone(dir.path());
        EXPECT_EQ(phone.app->numberingTrusted(), c.trusted);
        EXPECT_EQ(phone.app->runningNumbers().getCompoundNumber(), c.next);
        EXPECT_EQ(phone.messages().contains(RunningNumber::untrustedMessage()), !c.trusted);
        if (c.trusted)
            continue;
        EXPECT_TRUE(phone.issue().isEmpty());
        // The council's number confirms it, and it is trusted again from there.
        ASSERT_TRUE(phone.app->runningNumbers().confirmFromCouncil(13, QStringLiteral("M07")));
        EXPECT_TRUE(phone.app->numberingTrusted());
        EXPECT_EQ(sequence(phone.issue()), 14);
    }
}

} // namespace
