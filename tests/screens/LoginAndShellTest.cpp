#include "ScreensFixture.h"
#include "core/OfficerPassword.h"
#include "screens/shell/KeyValueListModel.h"

namespace {

// The login screen and the tabs; the phone is not registered until the test says so.
class LoginAndShellTest : public ScreensTest {
protected:
    bool signIn(const QString& code, const QString& password) {
        screen.userID()->setText(code);
        screen.password()->setText(password);
        QSignalSpy answered(&login, &OfficerLogin::finished);
        screen.logMasuk();
        EXPECT_TRUE(!answered.isEmpty() || answered.wait(30000));
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

TEST_F(LoginAndShellTest, TheCheckRunsUnderTheOverlayWithTheButtonOffAndRenewsACostlierDigestAfterTheAnswer) {
    registerPhone();
    // A digest of the previous release, dearer than this phone would make.
    const QString previous =
        OfficerPassword::argon2idDigest(QStringLiteral("merbau1001"), QByteArray(16, 'p'), 64 * 1024, 3);
    ASSERT_FALSE(core.dbManager().doQuery(
        QStringLiteral("update gc_penguatkuasa set peng_katalaluan = ? where kod_pekerja = 'PK1001'"),
        {previous}));
    QSignalSpy answered(&login, &OfficerLogin::finished);
    screen.userID()->setText(QStringLiteral("PK1001"));
    screen.password()->setText(QStringLiteral("merbau1001"));
    screen.logMasuk();
    EXPECT_TRUE(screen.signingIn());
    EXPECT_TRUE(fakes.progress.visible);
    EXPECT_EQ(fakes.progress.labels.constLast(), QStringLiteral("Log Masuk"));
    EXPECT_FALSE(shell.signedIn());
    screen.logMasuk(); // a second tap while the first is answered is not a second sign-in
    ASSERT_TRUE(answered.wait(30000));
    EXPECT_FALSE(screen.signingIn());
    EXPECT_FALSE(fakes.progress.visible);
    EXPECT_TRUE(shell.signedIn());
    EXPECT_EQ(answered.size(), 1);
    // The dearer digest is renewed after the answer, on the worker.
    QSignalSpy renewed(&login, &OfficerLogin::digestRenewed);
    ASSERT_TRUE(renewed.wait(30000));
    const QString stored = SQLiteManager::text(
        core.dbManager()
            .getRowsForQuery(
                QStringLiteral("select peng_katalaluan from gc_penguatkuasa where kod_pekerja = 'PK1001'"))
            .value(0)
            .value(QStringLiteral("peng_katalaluan")));
    EXPECT_TRUE(OfficerPassword::isCurrent(stored)) << stored.toStdString();
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

    // The number file is damaged and the store's mark lost with it: numbering cannot be trusted until the
    // council's number is known again.
    testsupport::writeFile(dir.path() + QStringLiteral("/runningnumber.dat"), "<plist><array><str");
    ASSERT_FALSE(
        SQLiteManager(core.saveStore().path(), nullptr, nullptr).doQuery(QStringLiteral("DELETE FROM mark")));
    core.startUpStores();
    ASSERT_FALSE(core.numberingTrusted());
    screen.viewDidLoad();
    EXPECT_TRUE(screen.registeredLayout());
    EXPECT_TRUE(screen.offersRegistration());
}

using LoginReturnKey = ScreensTest;

// Return in the device-id field of an unregistered phone puts the keyboard away and registers nothing:
// registration (which also re-seeds the running number) takes the "Daftar Device" button.
TEST_F(LoginReturnKey, ReturnInTheDeviceIdFieldOnlyDismissesTheKeyboard) {
    OfficerLogin login{core};
    QStringList registered;
    LoginViewController screen{core, login, {{}, [&](const QString& id) { registered << id; }, {}}};
    ShellController shell{core, screen};
    // The window's login screen is this one.
    AppContext loginContext{services.services({.login = &screen, .shell = &shell})};
    ASSERT_FALSE(screen.registeredLayout());

    QmlScreen view;
    ASSERT_TRUE(view.open(QStringLiteral("LoginScreen.qml"), {320, 568}));
    QQuickItem* field = view.item(QStringLiteral("deviceIDField"));
    ASSERT_TRUE(field);
    ASSERT_TRUE(field->isVisible());

    field->forceActiveFocus();
    ASSERT_TRUE(field->hasActiveFocus());
    for (char key : {'M', '0', '7'})
        QTest::keyClick(&view.window, key, key == 'M' ? Qt::ShiftModifier : Qt::NoModifier);
    EXPECT_EQ(screen.deviceID()->text(), QStringLiteral("M07"));
    QTest::keyClick(&view.window, Qt::Key_Return);
    EXPECT_TRUE(registered.isEmpty());
    EXPECT_FALSE(field->hasActiveFocus());

    // The button still registers what was typed.
    auto* button = view.item(QStringLiteral("btnDaftarDevice"));
    ASSERT_TRUE(button);
    QMetaObject::invokeMethod(button, "clicked");
    EXPECT_EQ(registered, QStringList{QStringLiteral("M07")});
}

TEST(NavigationStack, BackNeverLosesTheRootAndAScreenWithoutAFileIsRefused) {
    NavigationStack stack(QStringLiteral("CompoundTypesView.qml"), QStringLiteral("Jenis Kompaun"));
    QSignalSpy popped(&stack, &NavigationStack::popRequested);
    stack.pop();
    stack.popToRoot();
    EXPECT_EQ(stack.depth(), 1);
    EXPECT_TRUE(popped.isEmpty());

    // A title set on the top screen goes with it.
    stack.push(QStringLiteral("SectionKesalahanView.qml"), QStringLiteral("LALU LINTAS"));
    stack.push(QStringLiteral("KategoriView.qml"), QStringLiteral("APJ 1987"));
    stack.setCurrentTitle(QStringLiteral("Seksyen"));
    stack.pop();
    EXPECT_EQ(stack.currentScreen(), QStringLiteral("SectionKesalahanView.qml"));
    EXPECT_EQ(stack.currentTitle(), QStringLiteral("LALU LINTAS"));
    stack.popToRoot();
    EXPECT_EQ(stack.currentScreen(), QStringLiteral("CompoundTypesView.qml"));
    EXPECT_EQ(stack.currentTitle(), QStringLiteral("Jenis Kompaun"));

    stack.push(QString(), QStringLiteral("x"));
    EXPECT_EQ(stack.depth(), 1);
}

TEST(KeyValueListModel, ColumnsReadAsTextAndEveryResetReachesTheView) {
    KeyValueListModel model;
    model.setSubtitleFormat(KeyValueListModel::column(QStringLiteral("seksyen_detail")));
    model.setKeyFormat(KeyValueListModel::column(QStringLiteral("akta_seksyen_id")));
    QSignalSpy count(&model, &KeyValueListModel::countChanged);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    model.setRows({{{QStringLiteral("akta_seksyen_id"), 1001}}, {}});
    EXPECT_EQ(model.key(0), QStringLiteral("1001")); // an integer column reads as its text
    EXPECT_EQ(model.subtitle(0), QString());         // a missing column reads empty, not "null"
    EXPECT_EQ(model.title(3), QString());
    EXPECT_FALSE(model.data(model.index(5), KeyValueListModel::TitleRole).isValid());
    // Same number of rows: the view still resets, the count does not change.
    model.setRows({{}, {}});
    EXPECT_EQ(count.size(), 1);
    EXPECT_EQ(reset.size(), 2);
}

} // namespace
