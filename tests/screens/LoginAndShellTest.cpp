#include "ScreensFixture.h"

namespace {

// The login screen and the tabs; the phone is not registered until the test says so.
class LoginAndShellTest : public ScreensTest {
protected:
    bool signIn(const QString& code, const QString& password) {
        screen.userID()->setText(code);
        screen.password()->setText(password);
        screen.logMasuk();
        return shell.signedIn();
    }

    OfficerLogin login{core};
    LoginViewController screen{core, login, {}};
    int uploads = 0;
    ShellController shell{core, screen, [this] { ++uploads; }};
};

// The walkthrough registers, signs in and out and visits every tab through the window; these are the
// refusals and the records it does not check.
TEST_F(LoginAndShellTest, AnUnregisteredPhoneSignsNoOneInAndItsLayoutChangesOnlyAtTheNextStart) {
    screen.viewDidLoad();
    EXPECT_FALSE(signIn(QStringLiteral("PK1001"), QStringLiteral("merbau1001")));
    EXPECT_EQ(fakes.alerts.shown.size(), 2);
    EXPECT_EQ(lastAlert(), "Notifikasi: Device Belum Daftar : Sila Daftar Dahulu. [OK]");
    EXPECT_TRUE(core.getUserGlobalID().isEmpty());

    registerPhone(QStringLiteral("M07"), 120);
    EXPECT_FALSE(screen.registeredLayout());
    screen.viewDidLoad();
    EXPECT_TRUE(screen.registeredLayout());
}

TEST_F(LoginAndShellTest, OnlyActiveOfficersWithExactCredentialsSignIn) {
    registerPhone();
    for (auto [code, password] : {std::pair{"PK1001", "MERBAU1001"},
                                  {"PK1001 ", "merbau1001"},
                                  {"PK1007", "lck1007"},
                                  {"PK1001", "x' OR '1'='1"}}) {
        EXPECT_FALSE(signIn(QLatin1String(code), QLatin1String(password))) << code << " " << password;
        EXPECT_EQ(lastAlert(),
                  "Notifikasi: ID pengguna atau password tidak betul. Sila cuba sekali lagi [OK]");
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

TEST_F(LoginAndShellTest, TabsSwitchTheRecordShownAndSigningOutKeepsTheTabAndTheOfficersRecords) {
    registerPhone();
    ASSERT_TRUE(signIn(QStringLiteral("PK1001"), QStringLiteral("merbau1001")));
    core.saveDictionaryInit();
    const Record issuing = core.getDictionary();
    EXPECT_EQ(issuing->value(Key::penguatKuasaID), QStringLiteral("PK1001"));

    shell.tabBarControllerDidSelect(ShellController::Dicetak);
    const Record stored = makeRecord({{Key::kompaunRunningNumber, QStringLiteral("P2026M07000001")}});
    core.setPreviewDictionary(stored);
    EXPECT_EQ(core.getDictionary(), stored);
    shell.tabBarControllerDidSelect(ShellController::JenisKompaun);
    EXPECT_EQ(core.getDictionary(), issuing);
    shell.tabBarControllerDidSelect(ShellController::Dicetak);
    EXPECT_EQ(core.getDictionary(), stored);
    shell.tabBarControllerDidSelect(ShellController::Pencetak);
    EXPECT_FALSE(core.getPreviewIndcator());

    shell.logout();
    fakes.alerts.answer(1);
    ASSERT_FALSE(shell.signedIn());
    EXPECT_EQ(shell.currentIndex(), ShellController::Pencetak); // shown as it was left at the next sign-in

    // Another officer: records made from now on carry the new officer; the old one keeps its own.
    ASSERT_TRUE(signIn(QStringLiteral("PK1004"), QStringLiteral("azman1004")));
    EXPECT_EQ(issuing->value(Key::penguatKuasaID), QStringLiteral("PK1001"));
    core.saveDictionaryInit();
    EXPECT_EQ(core.getDictionary()->value(Key::penguatKuasaID), QStringLiteral("PK1004"));
}

TEST_F(LoginAndShellTest, MuatNaikAsksAndOnlyYaStartsTheRun) {
    ASSERT_TRUE(core.saveStore().saveArrayFile({{makeRecord(), {}, QStringLiteral("0")},
                                                {makeRecord(), {}, QStringLiteral("0;gambar=1")},
                                                {makeRecord(), {}, QStringLiteral("1")}}));
    shell.tabBarControllerDidSelect(ShellController::Dicetak);
    EXPECT_EQ(shell.waitingCount(), 2);

    shell.muatNaik();
    fakes.alerts.answer(0);
    EXPECT_EQ(uploads, 0);
    shell.muatNaik();
    fakes.alerts.answer(1);
    EXPECT_EQ(uploads, 1);
}

TEST_F(LoginAndShellTest, EachTabHasItsOwnStackAndBackToRootMovesOnlyTheFirst) {
    EXPECT_EQ(shell.stack(-1), nullptr);
    EXPECT_EQ(shell.stack(5), nullptr);
    shell.stack(ShellController::JenisKompaun)
        ->push(QStringLiteral("SectionKesalahanView.qml"), QStringLiteral("A"));
    shell.stack(ShellController::Simpanan)
        ->push(QStringLiteral("FormSetView.qml"), QStringLiteral("Maklumat"));
    // Selecting another tab leaves every stack as it was.
    shell.tabBarControllerDidSelect(ShellController::Dicetak);
    EXPECT_EQ(shell.stack(ShellController::JenisKompaun)->depth(), 2);
    // "Ke Utama" after printing from the favourites tab returns only the first tab to its root.
    shell.viewGetBackToRoot();
    EXPECT_EQ(shell.stack(ShellController::JenisKompaun)->depth(), 1);
    EXPECT_EQ(shell.stack(ShellController::Simpanan)->depth(), 2);
}

TEST_F(LoginAndShellTest, RegisteredPhoneWithAnUntrustedNumberOffersRegistrationAgain) {
    registerPhone(QStringLiteral("M07"), 120);
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
