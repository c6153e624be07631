#include "core/AppDelegate.h"
#include "platform/fake/FakePlatform.h"
#include "screens/LoginViewController.h"
#include "screens/ShellController.h"
#include "support/TestSupport.h"
#include "sync/OfficerLogin.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTemporaryDir>

namespace {

// The login screen and the tabs over the shipped reference database.
class LoginAndShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        core.startUpData();
        ASSERT_FALSE(core.lookups().getAkta().isEmpty()) << "shipped reference database missing";
    }
    void registerAs(const QString& code, int lastNumber) {
        ASSERT_FALSE(core.dbManager().doQuery(QStringLiteral(
            "CREATE TABLE IF NOT EXISTS 'device_info' ('no' INTEGER PRIMARY KEY  NOT NULL,'uuid' "
            "TEXT, 'device_id' TEXT, 'device_desc' TEXT, 'no_akhir' TEXT);")));
        ASSERT_FALSE(core.dbManager().doQuery(
            QStringLiteral("INSERT OR REPLACE INTO device_info VALUES(1,'000',?,'000',?)"),
            {code, QString::number(lastNumber)}));
        ASSERT_TRUE(core.runningNumbers().setRunningNumber(lastNumber));
    }
    bool signIn(const QString& code, const QString& password) {
        screen.userID()->setText(code);
        screen.password()->setText(password);
        screen.logMasuk();
        return shell.signedIn();
    }

    QTemporaryDir dir;
    FakePlatform fakes{dir.path(), testsupport::resourceDir()};
    AppDelegate core{fakes.platform()};
    OfficerLogin login{core};
    LoginViewController screen{core, login, {}};
    ShellController shell{core, screen};
};

TEST_F(LoginAndShellTest, LayoutIsChosenOnceWhenTheScreenLoads) {
    screen.viewDidLoad();
    EXPECT_FALSE(screen.registeredLayout());
    EXPECT_EQ(screen.iphoneID(), QStringLiteral("XXX"));
    EXPECT_EQ(screen.runningNumber(), QStringLiteral("XXX"));
    ASSERT_EQ(fakes.alerts.shown.size(), 1);
    EXPECT_EQ(fakes.alerts.last().message, QStringLiteral("Device Belum Daftar : Sila Daftar Dahulu."));

    // Signing in on an unregistered phone never reaches the credentials.
    EXPECT_FALSE(signIn(QStringLiteral("PK1001"), QStringLiteral("merbau1001")));
    EXPECT_EQ(fakes.alerts.last().message, QStringLiteral("Device Belum Daftar : Sila Daftar Dahulu."));
    EXPECT_TRUE(core.getUserGlobalID().isEmpty());

    registerAs(QStringLiteral("M07"), 120);
    EXPECT_FALSE(screen.registeredLayout()); // until the next start
    screen.viewDidLoad();
    EXPECT_TRUE(screen.registeredLayout());
    EXPECT_EQ(screen.iphoneID(), QStringLiteral("M07"));
    EXPECT_EQ(screen.runningNumber(), QStringLiteral("120"));
    EXPECT_EQ(screen.versionNumber(), fakes.files.version);
}

TEST_F(LoginAndShellTest, OnlyActiveOfficersWithExactCredentialsSignIn) {
    registerAs(QStringLiteral("M07"), 0);
    const QString wrong = QStringLiteral("ID pengguna atau password tidak betul. Sila cuba sekali lagi");
    for (auto [code, password] : {std::pair{"PK1001", "MERBAU1001"},
                                  {"PK1001 ", "merbau1001"},
                                  {"PK1007", "lck1007"},
                                  {"PK1001", "x' OR '1'='1"}}) {
        EXPECT_FALSE(signIn(QLatin1String(code), QLatin1String(password))) << code << " " << password;
        EXPECT_EQ(fakes.alerts.last().message, wrong);
        EXPECT_EQ(screen.password()->text(), QLatin1String(password)); // the typed texts stay
    }
    // The password never reaches the log.
    EXPECT_FALSE(fakes.log.contains(QStringLiteral("lck1007")));

    QSignalSpy signedIn(&screen, &LoginViewController::signedIn);
    EXPECT_TRUE(signIn(QStringLiteral("PK1004"), QStringLiteral("azman1004")));
    EXPECT_EQ(signedIn.count(), 1);
    EXPECT_EQ(core.getUserGlobalID().value(QStringLiteral("peng_nama")),
              QStringLiteral("MOHD NOR'AZMAN BIN ABDUL RAHMAN"));
}

TEST_F(LoginAndShellTest, TabsDrivePreviewModeAndSignOutAsks) {
    registerAs(QStringLiteral("M07"), 0);
    ASSERT_TRUE(signIn(QStringLiteral("PK1001"), QStringLiteral("merbau1001")));
    core.saveDictionaryInit();
    const Record issuing = core.getDictionary();
    EXPECT_EQ(issuing->value(QStringLiteral("penguatKuasaID")), QStringLiteral("PK1001"));

    shell.tabBarControllerDidSelect(ShellController::Dicetak);
    const Record stored =
        makeRecord({{QStringLiteral("kompaunRunningNumber"), QStringLiteral("P2026M07000001")}});
    core.setPreviewDictionary(stored);
    EXPECT_EQ(core.getDictionary(), stored);
    shell.tabBarControllerDidSelect(ShellController::JenisKompaun);
    EXPECT_EQ(core.getDictionary(), issuing);
    shell.tabBarControllerDidSelect(ShellController::Dicetak);
    EXPECT_EQ(core.getDictionary(), stored);
    shell.tabBarControllerDidSelect(ShellController::Pencetak);
    EXPECT_FALSE(core.getPreviewIndcator());

    fakes.alerts.shown.clear();
    shell.logout();
    ASSERT_EQ(fakes.alerts.shown.size(), 1);
    EXPECT_EQ(fakes.alerts.last().title, QStringLiteral("Kepastian"));
    EXPECT_EQ(fakes.alerts.last().buttons, (QStringList{QStringLiteral("Batal"), QStringLiteral("Keluar")}));
    fakes.alerts.answer(0);
    EXPECT_TRUE(shell.signedIn());
    shell.logout();
    fakes.alerts.answer(1);
    EXPECT_FALSE(shell.signedIn());
    EXPECT_TRUE(screen.userID()->text().isEmpty());
    EXPECT_TRUE(screen.password()->text().isEmpty());
    EXPECT_EQ(shell.currentIndex(), ShellController::Pencetak); // shown as it was left at the next sign-in

    // Another officer: records made from now on carry the new officer; the old one keeps its own.
    ASSERT_TRUE(signIn(QStringLiteral("PK1004"), QStringLiteral("azman1004")));
    EXPECT_EQ(issuing->value(QStringLiteral("penguatKuasaID")), QStringLiteral("PK1001"));
    core.saveDictionaryInit();
    EXPECT_EQ(core.getDictionary()->value(QStringLiteral("penguatKuasaID")), QStringLiteral("PK1004"));
}

} // namespace

namespace {

TEST(ShellUploadTest, MuatNaikAsksAndOnlyYaStartsTheRun) {
    QTemporaryDir dir;
    FakePlatform fakes{dir.path(), testsupport::resourceDir()};
    AppDelegate core{fakes.platform()};
    OfficerLogin login{core};
    LoginViewController screen{core, login, {}};
    int runs = 0;
    ShellController shell{core, screen, [&] { ++runs; }};
    ASSERT_TRUE(core.saveStore().saveArrayFile({{makeRecord(), {}, QStringLiteral("0")},
                                                {makeRecord(), {}, QStringLiteral("0;gambar=1")},
                                                {makeRecord(), {}, QStringLiteral("1")}}));
    shell.tabBarControllerDidSelect(ShellController::Dicetak);
    EXPECT_EQ(shell.waitingCount(), 2);

    shell.muatNaik();
    ASSERT_EQ(fakes.alerts.shown.size(), 1);
    EXPECT_EQ(fakes.alerts.last().message, QStringLiteral("Adakah anda pasti muatnaik data kompaun?"));
    fakes.alerts.answer(0);
    EXPECT_EQ(runs, 0);
    EXPECT_TRUE(fakes.log.contains(QStringLiteral("BatalMuatNaik")));
    shell.muatNaik();
    fakes.alerts.answer(1);
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(fakes.log.contains(QStringLiteral("YAMuatNaik")));
}

} // namespace

namespace {

TEST_F(LoginAndShellTest, RegisteredPhoneWithAnUntrustedNumberOffersRegistrationAgain) {
    registerAs(QStringLiteral("M07"), 120);
    screen.viewDidLoad();
    EXPECT_TRUE(screen.registeredLayout());
    EXPECT_FALSE(screen.offersRegistration());

    // The number file is damaged: numbering cannot be trusted until the device is registered again.
    testsupport::writeFile(dir.path() + QStringLiteral("/runningnumber.dat"), "<plist><array><str");
    core.startUpStores();
    ASSERT_FALSE(core.numberingTrusted());
    screen.viewDidLoad();
    EXPECT_TRUE(screen.registeredLayout());
    EXPECT_TRUE(screen.offersRegistration());
}

} // namespace
