// The officer list and the registration are replaced only by a good reply; anything else leaves sign-in
// exactly as it was.
#include "SyncFixture.h"

#include "../support/TestSupport.h"
#include "core/OfficerPassword.h"

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

    // An empty list is still a success.
    emulator->store().replaceOfficers({});
    updateOfficers();
    EXPECT_EQ(fake->alerts.last().title, QStringLiteral("Notifikasi"));
    EXPECT_TRUE(officerCodes().isEmpty());
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

// Neither a bad officer list nor a bad registration reply changes the officers, the registration or the
// number.
TEST_F(OfficerAndDevice, BadRepliesKeepSignInRegistrationAndNumber) {
    const std::pair<Fault::Kind, int> faults[] = {
        {Fault::Kind::EmptyArray, 0},       {Fault::Kind::Html200, 0},  {Fault::Kind::Malformed, 0},
        {Fault::Kind::Status, 500},         {Fault::Kind::Status, 404}, {Fault::Kind::Drop, 0},
        {Fault::Kind::Delay, serverDelayMs}};
    for (const bool registration : {false, true})
        for (const auto& [kind, value] : faults) {
            if (kind == Fault::Kind::EmptyArray && !registration)
                continue; // an empty officer list is a success
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
