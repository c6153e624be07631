#include "core/AppDelegate.h"
#include "core/OfficerPassword.h"
#include "core/PlistFile.h"
#include "core/RecordKeys.h"
#include "core/ReferenceSchema.h"
#include "platform/fake/FakePlatform.h"
#include "support/KualaLumpurTime.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <QTemporaryDir>

namespace {

using testsupport::FixedClock;
using testsupport::kl;

class AppDelegateTest : public ::testing::Test {
protected:
    void SetUp() override {
        clock.instant = kl(2016, 3, 10, 9, 30);
        app.setUserGlobalID({{QStringLiteral("peng_nama"), QStringLiteral("AHMAD BIN ALI")},
                             {QStringLiteral("kod_pekerja"), QStringLiteral("PK1001")}});
    }
    void registerDevice(const QString& code) {
        ASSERT_FALSE(app.dbManager().doQuery(QString::fromLatin1(ReferenceSchema::deviceTable)));
        ASSERT_FALSE(app.dbManager().doQuery(
            QStringLiteral("INSERT INTO device_info VALUES(1,'000',?,'000','0')"), {code}));
    }
    QString value(QLatin1String key) const { return app.getDictionary()->value(key); }

    QTemporaryDir dir;
    FakePlatform fakes{dir.path(), dir.path()};
    FixedClock clock;
    AppDelegate app{fakes.platform(), &clock};
};

// The dates, offer date and officer a record carries are checked through the forms (IssuingGuardsTest,
// LoginAndShellTest, PickListTest); here the numbering's edges.
TEST_F(AppDelegateTest, NewRecordIsNumberedForTheDeviceAndTheKualaLumpurYear) {
    // Unregistered: numbered with zeros, and the officer is told; an empty device table tells nothing.
    app.saveDictionaryInit();
    EXPECT_EQ(value(Key::kompaunRunningNumber), QStringLiteral("P2016000000001"));
    ASSERT_EQ(fakes.alerts.shown.size(), 1);
    EXPECT_EQ(fakes.alerts.last().message, QStringLiteral("Device Belum Daftar : Sila Daftar Dahulu."));
    ASSERT_FALSE(app.dbManager().doQuery(QStringLiteral("create table device_info (no, uuid, device_id)")));
    app.saveDictionaryInit();
    EXPECT_EQ(fakes.alerts.shown.size(), 1);
    ASSERT_FALSE(app.dbManager().doQuery(QStringLiteral("drop table device_info")));

    registerDevice(QStringLiteral("M07"));
    ASSERT_TRUE(app.runningNumbers().saveRunningNumberFile(41));
    app.saveDictionaryInit();
    EXPECT_EQ(value(Key::kompaunRunningNumber), QStringLiteral("P2016M07000042"));
    EXPECT_FALSE(app.getDictionary()->contains(Key::lokasiJalan));
    EXPECT_EQ(fakes.alerts.shown.size(), 1);

    // Ten minutes before the new year in Kuala Lumpur it is still the old year there, though the
    // phone's own zone (the test pins a foreign one) and UTC disagree about the hour.
    clock.instant = kl(2016, 12, 31, 23, 59);
    app.saveDictionaryInit();
    EXPECT_EQ(value(Key::kompaunTarikh), QStringLiteral("31/12/2016"));
    EXPECT_EQ(value(Key::kompaunTamatTawaran), QStringLiteral("14/01/2017"));
    EXPECT_TRUE(value(Key::kompaunRunningNumber).startsWith(QStringLiteral("P2016M07")));
    clock.instant = kl(2017, 1, 1, 0, 1);
    app.saveDictionaryInit();
    EXPECT_TRUE(value(Key::kompaunRunningNumber).startsWith(QStringLiteral("P2017M07")));
}

// A phone whose clock went back, a day or across New Year: nothing dated before the last compound, and
// no year in a number going backwards, until the officer puts the clock right.
TEST_F(AppDelegateTest, AClockSetBackStopsIssuingUntilItIsPutRight) {
    registerDevice(QStringLiteral("M07"));
    ASSERT_TRUE(app.runningNumbers().saveRunningNumberFile(3));
    clock.instant = kl(2027, 1, 1, 0, 5);
    ASSERT_TRUE(app.readyToIssue());
    app.saveDictionaryInit();
    ASSERT_TRUE(app.insertIntoBaruPBCompound(app.saveDictionary()));
    ASSERT_TRUE(app.addOneRunningNumber());
    EXPECT_EQ(app.saveStore().lastIssue().year, 2027);
    fakes.alerts.shown.clear();

    const struct {
        QDateTime clock;
        bool ready;
    } cases[] = {
        {kl(2026, 12, 31, 0, 5), false}, // a day behind, and the year of the number with it
        {kl(2027, 1, 1, 0, 4), false},   // a minute behind
        {kl(2027, 1, 1, 0, 5), true},    // the same moment
        {kl(2027, 1, 2, 8, 0), true},
    };
    for (const auto& c : cases) {
        clock.instant = c.clock;
        EXPECT_EQ(app.readyToIssue(), c.ready) << c.clock.toString(Qt::ISODate).toStdString();
    }
    ASSERT_EQ(fakes.alerts.shown.size(), 2);
    EXPECT_EQ(fakes.alerts.shown.first().title, QStringLiteral("Gagal"));
    EXPECT_EQ(
        fakes.alerts.shown.first().message,
        QStringLiteral("Tarikh dan masa telefon (31/12/2026 00:05) lebih awal daripada kompaun terakhir "
                       "(01/01/2027 00:05). Sila semak tarikh dan masa telefon sebelum mengeluarkan "
                       "kompaun."));

    // A record made before the clock went back is refused at "Ya": nothing stored, the number kept.
    app.saveDictionaryInit();
    clock.instant = kl(2026, 12, 31, 23, 0);
    EXPECT_FALSE(app.insertIntoBaruPBCompound(app.saveDictionary()));
    EXPECT_EQ(app.saveStore().countYgDahCetak(), 1);

    // The store remembers it across a restart and after the compound is uploaded and purged.
    ASSERT_TRUE(app.saveStore().setUploadFlag(app.saveStore().nextWaiting(0)->id, QStringLiteral("1")));
    ASSERT_TRUE(app.saveStore().purgeUploaded());
    AppDelegate restarted(fakes.platform(), &clock);
    restarted.startUp();
    EXPECT_FALSE(restarted.readyToIssue());
    clock.instant = kl(2027, 1, 3, 7, 30);
    EXPECT_TRUE(restarted.readyToIssue());
}

// Reuse's number, dates, switch and place are checked through the forms (IssuingGuardsTest); here the keys
// those forms do not show.
TEST_F(AppDelegateTest, ReuseEmptiesTheOffenderInTheSameRecordAndKeepsTheRevenueCode) {
    app.saveDictionaryInit();
    Record record = app.getDictionary();
    const QLatin1String emptied[] = {Key::kenderaanNoKenderaan, Key::lat, Key::namaPesalah};
    for (const QLatin1String key : emptied)
        record->insert(key, QStringLiteral("X"));
    record->insert(Key::kodHasil, QStringLiteral("H1"));
    record->insert(Key::status_batal, QStringLiteral("1"));
    app.saveDictionaryInitGunaKembali();
    EXPECT_EQ(app.getDictionary(), record); // the same record object, reset in place
    EXPECT_EQ(value(Key::status_batal), QStringLiteral("0"));
    EXPECT_EQ(value(Key::kodHasil), QStringLiteral("H1"));
    for (const QLatin1String key : emptied)
        EXPECT_EQ(value(key), QString()) << key.data();
}

// A known position's single precision is checked through the location form (tests/screens).
// No position is the "%f" zero pair, as the council's service and the notice have always taken it; the
// phone reads that pair, and anything within a degree of it, as no position.
TEST_F(AppDelegateTest, UnknownPositionIsTheZeroPairAndAskingStartsNoUpdates) {
    EXPECT_EQ(app.getLocation(), (RecordMap{{QString(Key::lat), QStringLiteral("0.000000")},
                                            {QString(Key::long_), QStringLiteral("0.000000")}}));
    for (const auto& [lat, lon, place] : {std::tuple{"0.000000", "0.000000", false},
                                          {"0.002575", "0.003004", false},
                                          {"", "", false},
                                          {"tiada", "101.5", false},
                                          {"3.073800", "101.518303", true},
                                          {"0.500000", "101.518303", true},
                                          {"-33.860000", "151.200000", true},
                                          {"91.000000", "101.5", false}})
        EXPECT_EQ(PositionReader::isPosition(QLatin1String(lat), QLatin1String(lon)), place) << lat << lon;
    EXPECT_FALSE(app.positionReader().lastFix().has_value());
    EXPECT_FALSE(fakes.positioning.updating);
}

TEST_F(AppDelegateTest, StartUpInstallsOnceSeedsFromTheHighestHeldAndPurges) {
    QTemporaryDir res;
    ASSERT_TRUE(QFile::copy(testsupport::resourceDir() + QStringLiteral("/TVR.sqlite"),
                            res.filePath(QStringLiteral("TVR.sqlite"))));
    fakes.files.res = res.path();
    SavedCompoundList held;
    for (const auto& [number, flag] :
         {std::pair{"P2016000000004", "0"}, {"P2016000000006", "1"}, {"P2016000000005", "0"}})
        held.append(
            {makeRecord({{Key::kompaunRunningNumber, QLatin1String(number)}}), {}, QLatin1String(flag)});
    ASSERT_TRUE(app.saveStore().saveArrayFile(held));
    app.startUp();
    EXPECT_FALSE(app.lookups().getAkta().isEmpty());
    // Taken before the purge: the uploaded entry's number is not given again.
    EXPECT_EQ(app.runningNumbers().getRunningNumber(), 6);
    EXPECT_EQ(app.saveStore().countYgDahCetak(), 2);

    const QByteArray installed = testsupport::readFile(dir.filePath(QStringLiteral("new_tvr.sqlite")));
    testsupport::writeFile(res.filePath(QStringLiteral("TVR.sqlite")), "shipped v2");
    app.startUp();
    EXPECT_EQ(testsupport::readFile(dir.filePath(QStringLiteral("new_tvr.sqlite"))), installed);
}

TEST_F(AppDelegateTest, DamagedWorkingCopyIsInstalledAgainKeepingTheRegistration) {
    fakes.files.res = testsupport::resourceDir();
    const QString working = dir.filePath(QStringLiteral("new_tvr.sqlite"));
    const QString deviceTable = QString::fromLatin1(ReferenceSchema::deviceTable);
    const QString deviceRow = QStringLiteral("INSERT INTO device_info VALUES (1,'000','M07','000','41')");
    const struct {
        const char* name;
        QByteArray bytes;       // written as the file when there are no statements
        bool fromShipped;       // the statements run on a copy of the shipped file
        QStringList statements; // or on a new database
        QString device;         // what the reinstalled copy shows
    } cases[] = {
        {"zero bytes", {}, false, {}, "(none)"},
        {"not a database", QByteArray(4096, 'x'), false, {}, "(none)"},
        {"only the registration", {}, false, {deviceTable, deviceRow}, "M07"},
        {"registered, a table lost", {}, true, {deviceTable, deviceRow, "drop table gc_kod_seksyen"}, "M07"},
        {"registered without a row", {}, false, {deviceTable}, "000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const QString& name : QDir(dir.path()).entryList({QStringLiteral("new_tvr.sqlite*")}))
            QFile::remove(dir.filePath(name));
        if (c.fromShipped) {
            ASSERT_TRUE(QFile::copy(testsupport::resourceDir() + QStringLiteral("/TVR.sqlite"), working));
            QFile(working).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        }
        if (c.statements.isEmpty()) {
            testsupport::writeFile(working, c.bytes);
        } else {
            SQLiteManager db(working, nullptr, nullptr);
            for (const QString& statement : c.statements)
                ASSERT_FALSE(db.doQuery(statement)) << statement.toStdString();
        }
        const QByteArray bad = testsupport::readFile(working);
        app.startUpData();
        EXPECT_FALSE(app.lookups().getAkta().isEmpty());
        EXPECT_FALSE(app.lookups().getCategoryArray(QStringLiteral("1")).isEmpty());
        const QStringList aside = QDir(dir.path()).entryList({"new_tvr.sqlite.unreadable-*"});
        ASSERT_EQ(aside.size(), 1);
        EXPECT_EQ(testsupport::readFile(dir.filePath(aside.first())), bad);
        EXPECT_EQ(app.deviceIdentity().isRegistered() ? app.deviceIdentity().getCustomDeviceID()
                                                      : QStringLiteral("(none)"),
                  c.device);
    }
}

TEST_F(AppDelegateTest, StartUpRemovesWhatKilledWritesLeftAndNothingElse) {
    fakes.files.res = testsupport::resourceDir();
    const QStringList stale = {"saveIns.dat.Ab12Cd", "fav.dat.x1y2z3", "runningnumber.dat.QWERTY",
                               "new_tvr.sqlite.a1b2c3"};
    const QStringList kept = {"saveIns.dat.unreadable-20260101000000", "notes.txt.abcdef", "fav.dat.abc",
                              "saveIns.dat.abc1234"};
    for (const QString& name : stale + kept)
        testsupport::writeFile(dir.filePath(name), "x");
    app.startUp();
    for (const QString& name : stale)
        EXPECT_FALSE(QFile::exists(dir.filePath(name))) << name.toStdString();
    for (const QString& name : kept)
        EXPECT_TRUE(QFile::exists(dir.filePath(name))) << name.toStdString();
}

TEST_F(AppDelegateTest, ClearPasswordsOfAnEarlierReleaseAreConvertedAtStartUp) {
    fakes.files.res = testsupport::resourceDir();
    app.startUpData();
    SQLiteManager& db = app.dbManager();
    ASSERT_FALSE(db.doQuery(QStringLiteral("drop table gc_penguatkuasa")));
    ASSERT_FALSE(db.doQuery(QString::fromLatin1(ReferenceSchema::officerTable)));
    ASSERT_FALSE(
        db.doQuery(QStringLiteral("INSERT INTO gc_penguatkuasa (kod_pekerja, peng_katalaluan, status) "
                                  "VALUES ('PK1',?,'A'), ('PK2',?,'A'), ('PK3',?,'A'), ('PK4',NULL,'A')"),
                   {QStringLiteral("Rahsia 1"), QString(), QStringLiteral("O'Neil\"s")}));

    app.startUpData();
    for (const DbRow& row : db.getRowsForQuery(QStringLiteral("select peng_katalaluan from gc_penguatkuasa "
                                                              "where peng_katalaluan is not null")))
        EXPECT_TRUE(
            OfficerPassword::isDigest(SQLiteManager::text(row.value(QStringLiteral("peng_katalaluan")))));
    EXPECT_TRUE(app.lookups().signIn(QStringLiteral("PK1"), QStringLiteral("Rahsia 1")));
    EXPECT_TRUE(app.lookups().signIn(QStringLiteral("PK2"), QString()));
    // A null password never signed in, and still does not.
    EXPECT_FALSE(app.lookups().signIn(QStringLiteral("PK4"), QString()));
    // Converted once: the next start-up has nothing to do.
    app.startUpData();
    EXPECT_EQ(app.lookups().convertClearPasswords(), 0);
}

} // namespace

// A phone's old store comes in on a worker while the window stays live under the overlay; nothing is
// counted until it is in, and an application closed meanwhile waits for it rather than lose it.
TEST_F(AppDelegateTest, OldStoreIsImportedOffTheInterfaceThreadBeforeNumbering) {
    registerDevice(QStringLiteral("M07"));
    QVariantList old;
    for (int i = 1; i <= 3; ++i)
        old.append(QVariant(QVariantList{
            QVariantMap{{QString(Key::kompaunRunningNumber), QStringLiteral("P2016M0700000%1").arg(i)}},
            QVariantList{}, QStringLiteral("0")}));
    ASSERT_TRUE(PlistFile::write(app.saveStore().oldPath(), old));

    bool done = false;
    app.startUpStores([&] { done = true; });
    EXPECT_FALSE(done); // on its way, not finished within the call
    EXPECT_EQ(fakes.progress.labels.value(0), QStringLiteral("Memindahkan Kompaun Lama"));
    ASSERT_TRUE(testsupport::waitFor([&] { return done; }));
    EXPECT_FALSE(fakes.progress.visible);
    EXPECT_EQ(fakes.progress.details, (QStringList{QStringLiteral("0 / 3"), QStringLiteral("1 / 3"),
                                                   QStringLiteral("2 / 3"), QStringLiteral("3 / 3")}));
    EXPECT_EQ(app.saveStore().getDicetakUploadCountNumber(), 3);
    app.saveDictionaryInit();
    EXPECT_EQ(value(Key::kompaunRunningNumber), QStringLiteral("P2016M07000004"));

    // Closed while importing: the import finishes, and the next start finds it done.
    QTemporaryDir other;
    ASSERT_TRUE(PlistFile::write(other.filePath(QLatin1String(SavedCompoundStore::oldFileName)), old));
    {
        FakePlatform otherFakes{other.path(), other.path()};
        AppDelegate closing(otherFakes.platform(), &clock);
        closing.startUpStores([] { ADD_FAILURE() << "ran after the application closed"; });
    }
    EXPECT_FALSE(QFile::exists(other.filePath(QLatin1String(SavedCompoundStore::oldFileName))));
    EXPECT_EQ(SavedCompoundStore(other.path(), nullptr).getDicetakUploadCountNumber(), 3);
}
