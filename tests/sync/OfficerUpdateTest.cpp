// The officer list and the registration are replaced only by a good reply; anything else leaves sign-in
// exactly as it was.
#include "SyncFixture.h"

#include "../support/TestSupport.h"
#include "core/OfficerPassword.h"
#include "platform/Http.h"

#include "sync/DeviceRegistration.h"
#include "sync/OfficerUpdate.h"
#include <QSignalSpy>

using testsupport::waitFor;

namespace {

const QString failed = QStringLiteral(" gagal. Ia berkemungkinan pelayar ORVA tidak dapat disambung atau "
                                      "kegagalan internet anda. Sila cuba lagi.");
const QString updateFailed = QStringLiteral("Operasi Mengemaskini") + failed;
const QString registrationFailed = QStringLiteral("Operasi mendaftar device") + failed;

class OfficerAndDevice : public SyncFixture {
protected:
    void SetUp() override {
        SyncFixture::SetUp();
        seedRegistration(QStringLiteral("M07"), 41);
        seedOfficers({{QStringLiteral("OLD01"), QStringLiteral("lama"), QStringLiteral("PEGAWAI LAMA"),
                       QStringLiteral("A")}});
    }
    void updateOfficers() {
        OfficerUpdate update(services());
        update.kemas_kini_penguat_kuasa();
        ASSERT_TRUE(fake->progress.visible);
        ASSERT_EQ(fake->progress.labels.value(0), QStringLiteral("Mengemas Kini"));
        ASSERT_TRUE(waitFor([&] { return !update.busy(); }));
        EXPECT_FALSE(fake->progress.visible);
    }
    void registerDevice(const QString& id) {
        DeviceRegistration registration(services());
        registration.kemas_kini_device(id);
        ASSERT_EQ(fake->progress.labels.constLast(), QStringLiteral("Mendaftar Device"));
        ASSERT_TRUE(waitFor([&] { return !registration.busy(); }));
        EXPECT_FALSE(fake->progress.visible);
    }
};

} // namespace

TEST_F(OfficerAndDevice, GoodOfficerListReplacesTheTableKeepingOnlyDigests) {
    updateOfficers();
    const RawRequest sent = requestsSince().back(); // a plain GET
    EXPECT_EQ(sent.method + " " + sent.target, "GET /v2/wsc/penguatkuasa_pelbagai");
    EXPECT_TRUE(sent.body.empty());
    EXPECT_EQ(officerCodes(), (QStringList{"PK001", "PK002", "PK003", "PK004"}));
    EXPECT_FALSE(signIn(QStringLiteral("OLD01"), QStringLiteral("lama")));
    // Nothing on the phone, the log included, holds a password the council sent.
    for (const DbRow& row : app->lookups().checkUser())
        EXPECT_TRUE(
            OfficerPassword::isDigest(SQLiteManager::text(row.value(QStringLiteral("peng_katalaluan")))));
    for (const QString& password :
         {QStringLiteral("Lim 'Keong'"), QStringLiteral("ain&2016"), QStringLiteral("raj2015")})
        EXPECT_FALSE(fake->log.contains(password)) << password.toStdString();
    EXPECT_TRUE(fake->log.contains(QStringLiteral("peng_katalaluan = *****")));
    // Quotes and ampersands in a password are part of the value; the staff code is matched exactly.
    EXPECT_TRUE(signIn(QStringLiteral("PK002"), QStringLiteral("ain&2016")));
    EXPECT_EQ(app->getUserGlobalID().value(QStringLiteral("peng_nama")),
              QStringLiteral("NURUL AIN BINTI ISMAIL"));
    EXPECT_TRUE(signIn(QStringLiteral("PK003"), QStringLiteral("Lim 'Keong'")));
    EXPECT_FALSE(signIn(QStringLiteral("pk003"), QStringLiteral("Lim 'Keong'")));
}

// What the council's list must be to replace the table; the refusal names no value of the reply.
TEST(OfficerListJudgement, OnlyAListSomeoneCanSignInWithWithinTheLimitsIsAccepted) {
    const QByteArray good =
        R"({"kod_pekerja":"PK1","peng_katalaluan":"rahsia-91","peng_ic":"800101-14-5555",)"
        R"("status":"A","peng_nama":"ALI"})";
    const QByteArray name257 =
        QByteArray(R"({"kod_pekerja":"PK2","status":"T","peng_nama":")") + QByteArray(257, 'N') + R"("})";
    QByteArray many = "[";
    for (int i = 0; i <= OfficerUpdate::maxOfficers; ++i)
        many += (i ? "," : "") + good;
    many += "]";
    const QByteArray huge = "[" + good + R"(,{"kod_pekerja":"PK3","peng_nama":")" +
                            QByteArray(OfficerUpdate::maxReplyBytes, 'N') + R"("}])";
    const struct {
        QByteArray body;
        const char* refusal; // empty: accepted
        bool overLimit;
        int rows;
    } cases[] = {
        {"[" + good + R"(,{"kod_pekerja":"PK2","status":"T"}])", "", false, 2},
        {"[]", "holds no officer", false, 0},
        {"[{}]", "officer 1 has no staff code", false, 0},
        {"[" + good + R"(,{"peng_katalaluan":"x","status":"A"}])", "officer 2 has no staff code", false, 0},
        {R"([{"kod_pekerja":"PK1","status":"A","peng_ic":"800101-14-5555"}])",
         "PK1 is active without a password", false, 0},
        {R"([{"kod_pekerja":"PK1","peng_katalaluan":"rahsia-91","status":"T"}])",
         "no officer in the list could sign in", false, 0},
        {R"({"kod_pekerja":"PK1"})", "not a JSON list", false, 0},
        {"[" + good + ",3]", "officer 2 is not an object", false, 0},
        {"[" + good + "," + name257 + "]", "officer 2: peng_nama is longer than 256 characters", true, 0},
        {many, "holds 1001 officers, more than 1000", true, 0},
        {huge, "larger than 2097152 bytes", true, 0},
    };
    for (const auto& c : cases) {
        const OfficerUpdate::OfficerList list = OfficerUpdate::parseOfficers(c.body);
        SCOPED_TRACE(c.refusal);
        EXPECT_EQ(list.refusal.isEmpty(), *c.refusal == 0);
        EXPECT_TRUE(list.refusal.contains(QLatin1String(c.refusal))) << list.refusal.toStdString();
        EXPECT_EQ(list.overLimit, c.overLimit);
        EXPECT_EQ(list.rows.size(), c.rows);
        for (const char* secret : {"rahsia", "800101"})
            EXPECT_FALSE(list.refusal.contains(QLatin1String(secret)));
    }
}

// A list past the limits ends at once with its own message; the officers on the phone still sign in, and
// nothing of the reply reaches the log.
TEST_F(OfficerAndDevice, ARunawayListIsRefusedAndTheOfficersKept) {
    const QString overLimit = QStringLiteral(
        "Operasi Mengemaskini gagal. Senarai penguat kuasa dari pelayan ORVA melebihi had (1000 orang, 2 MB, "
        "256 "
        "aksara satu maklumat). Senarai lama dikekalkan; sila hubungi pihak pengurusan IT anda.");
    const auto officer = [](int i, std::string name) {
        return Officer{{"kod_pekerja", "PK" + std::to_string(i)},
                       {"peng_katalaluan", "bocor" + std::to_string(i)},
                       {"peng_ic", "900101-10-" + std::to_string(1000 + i)},
                       {"peng_nama", std::move(name)},
                       {"status", "A"}};
    };
    std::vector<Officer> many;
    for (int i = 0; i <= OfficerUpdate::maxOfficers; ++i)
        many.push_back(officer(i, "PEGAWAI"));
    for (const std::vector<Officer>& list :
         {many, std::vector<Officer>{officer(1, std::string(3 * 1024 * 1024, 'N'))},
          std::vector<Officer>{officer(1, std::string(300, 'N'))}}) {
        emulator->store().replaceOfficers(list);
        // The emulator takes its time over a list this long: the application's time-out, not the tests'.
        SyncServices patient = services();
        patient.timeoutMs = Http::defaultTimeoutMs;
        OfficerUpdate update(patient);
        update.kemas_kini_penguat_kuasa();
        ASSERT_TRUE(waitFor([&] { return !update.busy(); }, 60000));
        expectAlert(QStringLiteral("Gagal"), overLimit, QStringLiteral("YA"));
        EXPECT_EQ(officerCodes(), QStringList{QStringLiteral("OLD01")});
        EXPECT_TRUE(signIn(QStringLiteral("OLD01"), QStringLiteral("lama")));
    }
    // A reply the phone cannot read is logged by its status alone.
    emulator->store().replaceOfficers({officer(7, "ALI")});
    setFault("penguatkuasa_pelbagai", Fault::Kind::Malformed, 0, 1);
    updateOfficers();
    expectAlert(QStringLiteral("Gagal"), updateFailed, QStringLiteral("YA"));
    for (const QString& secret : {QStringLiteral("bocor"), QStringLiteral("900101")})
        EXPECT_FALSE(fake->log.contains(secret)) << secret.toStdString();
}

// "Batal" on the overlay, while the council answers or while the passwords are digested, keeps the table.
TEST_F(OfficerAndDevice, BatalKeepsTheOfficers) {
    std::vector<Officer> council;
    for (int i = 0; i < 60; ++i)
        council.push_back({{"kod_pekerja", "PK" + std::to_string(i)},
                           {"peng_katalaluan", "kata" + std::to_string(i)},
                           {"status", "A"}});
    emulator->store().replaceOfficers(council);
    for (const bool whileDigesting : {false, true}) {
        SCOPED_TRACE(whileDigesting ? "while digesting" : "while waiting for the council");
        fake->progress.details.clear();
        if (!whileDigesting)
            setFault("penguatkuasa_pelbagai", Fault::Kind::Delay, serverDelayMs, 1);
        SyncServices patient = services();
        patient.timeoutMs = Http::defaultTimeoutMs;
        OfficerUpdate update(patient);
        QSignalSpy finished(&update, &OfficerUpdate::finished);
        update.kemas_kini_penguat_kuasa();
        if (whileDigesting) {
            ASSERT_TRUE(waitFor([&] { return !fake->progress.details.isEmpty(); }));
        }
        ASSERT_TRUE(fake->progress.cancel());
        ASSERT_TRUE(finished.size() == 1 || finished.wait(30000));
        EXPECT_FALSE(finished.first().first().toBool());
        EXPECT_FALSE(update.busy());
        EXPECT_FALSE(fake->progress.visible);
        expectAlert(
            QStringLiteral("Notifikasi"),
            QStringLiteral("Kemaskini penguat kuasa dibatalkan. Senarai penguat kuasa lama dikekalkan."),
            QStringLiteral("OK"));
        EXPECT_EQ(officerCodes(), QStringList{QStringLiteral("OLD01")});
        EXPECT_TRUE(signIn(QStringLiteral("OLD01"), QStringLiteral("lama")));
    }
}

TEST_F(OfficerAndDevice, RegistrationSeedsTheRunningNumberNeverBelowCompoundsStillWaiting) {
    registerDevice(QStringLiteral("TMB01")); // the council holds 0 for it
    EXPECT_EQ(registeredDevice(), QStringLiteral("TMB01"));
    EXPECT_EQ(app->runningNumbers().getRunningNumber(), 41); // never lowered by registering

    emulator->store().setLastNumber("M07", "120");
    registerDevice(QStringLiteral("M07"));
    EXPECT_EQ(registeredDevice(), QStringLiteral("M07"));
    EXPECT_EQ(app->runningNumbers().getCompoundNumber(), 121);
    const DbRows rows = app->dbManager().getRowsForQuery(QStringLiteral("SELECT * FROM device_info"));
    ASSERT_EQ(rows.size(), 1);
    for (const auto& [column, expected] :
         {std::pair{"no", "1"}, {"uuid", "000"}, {"device_desc", "000"}, {"no_akhir", "120"}})
        EXPECT_EQ(SQLiteManager::text(rows[0].value(QLatin1String(column))), QLatin1String(expected))
            << column;

    // The reference database was lost while compounds waited for upload; the council knows only 120.
    ASSERT_TRUE(app->saveStore().saveArrayFile({compoundEntry(QStringLiteral("P2026M07000129"), 0),
                                                compoundEntry(QStringLiteral("P2026M07000131"), 0),
                                                compoundEntry(QStringLiteral("P2026X99000500"), 0)}));
    registerDevice(QStringLiteral("M07"));
    EXPECT_EQ(fake->alerts.last().title, QStringLiteral("Notifikasi"));
    EXPECT_EQ(app->runningNumbers().getCompoundNumber(), 132);
    // The council ahead of the phone: its number wins.
    emulator->store().setLastNumber("M07", "140");
    registerDevice(QStringLiteral("M07"));
    EXPECT_EQ(app->runningNumbers().getCompoundNumber(), 141);
}

TEST_F(OfficerAndDevice, AnUntrustedNumberIsTrustedAgainOnlyByTheCouncilsAnswer) {
    auto damage = [&] {
        testsupport::writeFile(app->runningNumbers().path(), "<plist><array><string>1</string><str");
        // The store's own mark lost with it (a store replaced): no mark left to trust.
        ASSERT_FALSE(SQLiteManager(app->saveStore().path(), nullptr, nullptr)
                         .doQuery(QStringLiteral("DELETE FROM mark")));
        ASSERT_TRUE(app->runningNumbers().runningNumber(QStringLiteral("M07")));
        ASSERT_FALSE(app->numberingTrusted());
    };
    damage();
    DeviceRegistration registration(services());
    QSignalSpy confirmed(&registration, &DeviceRegistration::runningNumberConfirmed);
    // Neither a confirmation nor a registration that failed trusts it.
    setFault("lastnumber_pelbagai", Fault::Kind::Status, 503, 1);
    registration.confirmRunningNumber();
    ASSERT_TRUE(confirmed.wait(5000));
    EXPECT_FALSE(confirmed.takeFirst().at(0).toBool());
    setFault("lastnumber_pelbagai", Fault::Kind::Html200, 0, 1);
    registerDevice(QStringLiteral("M07"));
    EXPECT_FALSE(app->numberingTrusted());
    EXPECT_EQ(app->runningNumbers().getRunningNumber(), 41); // what this run already reached

    emulator->store().setLastNumber("M07", "77");
    registerDevice(QStringLiteral("M07"));
    EXPECT_TRUE(app->numberingTrusted());
    EXPECT_EQ(app->runningNumbers().getCompoundNumber(), 78);

    // Confirmed when the council can be reached, without registering again.
    damage();
    emulator->store().setLastNumber("M07", "97");
    registration.confirmRunningNumber();
    ASSERT_TRUE(confirmed.wait(5000));
    EXPECT_TRUE(confirmed.takeFirst().at(0).toBool());
    EXPECT_TRUE(app->numberingTrusted());
    EXPECT_EQ(app->runningNumbers().getCompoundNumber(), 98);
    EXPECT_EQ(registeredDevice(), QStringLiteral("M07"));
    // Trusted: nothing more is asked.
    const int64_t before = lastRequestId();
    registration.confirmRunningNumber();
    EXPECT_TRUE(requestsSince(before).empty());
}

// Neither a bad officer list (an empty one among them, which would lock everyone out) nor a bad
// registration reply changes the officers, the registration or the number.
TEST_F(OfficerAndDevice, BadRepliesKeepSignInRegistrationAndNumber) {
    const std::pair<Fault::Kind, int> faults[] = {
        {Fault::Kind::EmptyArray, 0},       {Fault::Kind::Html200, 0},  {Fault::Kind::Malformed, 0},
        {Fault::Kind::Status, 500},         {Fault::Kind::Status, 404}, {Fault::Kind::Drop, 0},
        {Fault::Kind::Delay, serverDelayMs}};
    for (const bool registration : {false, true})
        for (const auto& [kind, value] : faults) {
            SCOPED_TRACE(std::string(registration ? "registration " : "officers ") + Fault::nameOf(kind));
            fake->alerts.shown.clear();
            // Every attempt: Qt retries a dropped connection once.
            setFault(registration ? "lastnumber_pelbagai" : "penguatkuasa_pelbagai", kind, value);
            if (registration)
                registerDevice(QStringLiteral("TMB01"));
            else
                updateOfficers();
            expectAlert(QStringLiteral("Gagal"), registration ? registrationFailed : updateFailed,
                        QStringLiteral("YA"));
            EXPECT_EQ(officerCodes(), QStringList{QStringLiteral("OLD01")});
            EXPECT_EQ(registeredDevice(), QStringLiteral("M07"));
            EXPECT_EQ(app->runningNumbers().getRunningNumber(), 41);
            EXPECT_TRUE(signIn(QStringLiteral("OLD01"), QStringLiteral("lama")));
        }
    // A device the council does not know, and a number no device can have reached.
    emulator->faults().clear();
    registerDevice(QStringLiteral("UNKNOWN"));
    expectAlert(QStringLiteral("Gagal"), registrationFailed, QStringLiteral("YA"));
    emulator->store().setLastNumber("HUGE", "4000000000");
    registerDevice(QStringLiteral("HUGE"));
    expectAlert(QStringLiteral("Gagal"), registrationFailed, QStringLiteral("YA"));
    EXPECT_EQ(registeredDevice(), QStringLiteral("M07"));
    EXPECT_EQ(app->runningNumbers().getRunningNumber(), 41);

    // A phone not yet registered stays so, and nobody signs in on it.
    app->dbManager().doQuery(QStringLiteral("drop table device_info"));
    setFault("lastnumber_pelbagai", Fault::Kind::Html200, 0, 1);
    registerDevice(QStringLiteral("M07"));
    EXPECT_FALSE(app->deviceIdentity().isRegistered());
    EXPECT_FALSE(signIn(QStringLiteral("OLD01"), QStringLiteral("lama")));
    EXPECT_EQ(fake->alerts.last().message, QStringLiteral("Device Belum Daftar : Sila Daftar Dahulu."));
}
