// The shift summary screen driven by its objectNames, the hand-over slip through the recording printer, and
// the upload question at "Log Keluar" and at the first sign-in.
#include "ScreensFixture.h"
#include "core/ShiftSummary.h"
#include "printing/HandOverSlip.h"
#include "screens/printed/RingkasanViewController.h"
#include "support/KualaLumpurTime.h"

namespace {

using testsupport::kl;

class RingkasanTest : public IssuingTest {
protected:
    // A compound stored at that Kuala Lumpur instant, as "Ya" stores it.
    void storeAt(const QDateTime& at, const char* number, const char* type, const char* kadar,
                 int photos = 1) {
        clock.instant = at;
        core.saveDictionaryInit();
        const Record r = core.saveDictionary();
        r->insert(Key::kompaunRunningNumber, QLatin1String(number));
        r->insert(Key::kompaunMasa, KualaLumpur::format(at, QStringLiteral("HH:mm")));
        r->insert(Key::JenisKompaun, QLatin1String(type));
        r->insert(Key::kompaunKadar, QLatin1String(kadar));
        r->insert(Key::kompaunKadarTawaran, QLatin1String(kadar));
        PhotoList photoList;
        for (int i = 0; i < photos; ++i)
            photoList.append({QStringLiteral("dGh1bWI="), QStringLiteral("ZnVsbA==")});
        ASSERT_TRUE(core.saveStore().insertIntoBaruPBCompound(r, photoList));
    }
};

TEST_F(RingkasanTest, TheScreenShowsTheChosenDayAndPrintsItsSlipOnceEveryByteIsTaken) {
    storeAt(kl(2026, 3, 3, 23, 59), "P2026M07000040", "LALU LINTAS", "300.00");
    storeAt(kl(2026, 3, 4, 0, 1), "P2026M07000042", "LALU LINTAS", "150.10", 2);
    storeAt(kl(2026, 3, 4, 8, 15), "P2026M07000041", "LALU LINTAS", "0.20");
    storeAt(kl(2026, 3, 4, 8, 20), "P2026M07000043", "KESIHATAN AWAM", "500.00");
    ASSERT_TRUE(core.saveStore().setStatusBatal(4, QStringLiteral("1")));
    clock.instant = kl(2026, 3, 4, 9, 30);

    QmlScreen screen;
    ASSERT_TRUE(screen.open(QStringLiteral("RingkasanView.qml"), {360, 588}));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&screen.window));
    auto* controller = screen.root->findChild<RingkasanViewController*>();
    ASSERT_TRUE(controller);

    // Today in Kuala Lumpur first, the day before beside it.
    EXPECT_EQ(controller->dayLabels(),
              (QStringList{QStringLiteral("Hari ini, 04/03/2026"), QStringLiteral("03/03/2026")}));
    EXPECT_EQ(screen.text(QStringLiteral("ringkasanInForce")), QStringLiteral("2"));
    EXPECT_EQ(screen.text(QStringLiteral("ringkasanKadar")), QStringLiteral("RM 150.30"));
    EXPECT_EQ(screen.text(QStringLiteral("ringkasanWaiting")), QStringLiteral("3"));
    EXPECT_EQ(screen.text(QStringLiteral("ringkasanOldest")), QStringLiteral("9 jam 29 minit"));
    EXPECT_EQ(screen.text(QStringLiteral("ringkasanPhotos")), QStringLiteral("4"));
    EXPECT_EQ(screen.text(QStringLiteral("ringkasanTypeFigures0")),
              QStringLiteral("2 kompaun · RM 150.30 · tawaran RM 150.30"));
    EXPECT_EQ(screen.text(QStringLiteral("ringkasanNumber0")), QStringLiteral("P2026M07000041"));
    EXPECT_EQ(screen.text(QStringLiteral("ringkasanNumber2")), QStringLiteral("P2026M07000043 (DIBATALKAN)"));

    screen.tap(QStringLiteral("ringkasanDay1"));
    EXPECT_EQ(controller->dayText(), QStringLiteral("03/03/2026"));
    EXPECT_EQ(screen.text(QStringLiteral("ringkasanKadar")), QStringLiteral("RM 300.00"));
    EXPECT_EQ(screen.text(QStringLiteral("ringkasanNumber0")), QStringLiteral("P2026M07000040"));
    EXPECT_EQ(screen.find(QStringLiteral("ringkasanNumber1")), nullptr);

    // The slip of the day shown, through a fresh session; "printed" only after the last byte.
    screen.tap(QStringLiteral("ringkasanDay0"));
    const HandOverSlip::Content content = controller->slipContent();
    EXPECT_EQ(content.officerName, QStringLiteral("AHMAD FAUZI BIN ISMAIL"));
    EXPECT_EQ(content.officerCode, QStringLiteral("PK1001"));
    EXPECT_EQ(content.deviceCode, QStringLiteral("M07"));
    EXPECT_EQ(content.day, QStringLiteral("04/03/2026"));
    EXPECT_EQ(content.printedAt, QStringLiteral("04/03/2026 09:30"));
    QByteArray slip;
    for (const QByteArray& b : HandOverSlip::blocks(content))
        slip += b;
    QSignalSpy finished(controller, &RingkasanViewController::slipFinished);
    screen.tap(QStringLiteral("cetakRingkasanButton"));
    EXPECT_TRUE(controller->printing());
    EXPECT_TRUE(fakes.alerts.shown.isEmpty());
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_EQ(finished.first().first().toBool(), true);
    EXPECT_EQ(printer->received(), slip);
    answer(0); // "telah dicetak", which the walkthrough reads

    // A link that drops mid-slip: never reported printed, the connection says what to do.
    printer->setStalled(true);
    screen.tap(QStringLiteral("cetakRingkasanButton"));
    ASSERT_TRUE(testsupport::waitFor([&] { return printer->sessionOpen(); }));
    printer->dropLink();
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_EQ(finished.last().first().toBool(), false);
    EXPECT_FALSE(controller->printing());
    // The connection tells it on the next turn of the event loop.
    ASSERT_TRUE(testsupport::waitFor([&] { return !fakes.alerts.shown.isEmpty(); }));
    EXPECT_EQ(fakes.alerts.last().message, PrinterConnection::noticeFailedMessage());
}

class UploadQuestionTest : public RingkasanTest {
protected:
    ShellController shellWithUpload{core, loginScreen, [this] { ++uploads; }};
    int uploads = 0;
};

TEST_F(UploadQuestionTest, LogKeluarAsksToUploadWaitingCompoundsFirst) {
    // (With nothing waiting only the usual confirmation is asked: the walkthrough signs out so.)
    storeAt(kl(2026, 3, 4, 8, 0), "P2026M07000042", "LALU LINTAS", "300.00");
    storeAt(kl(2026, 3, 4, 8, 5), "P2026M07000043", "LALU LINTAS", "300.00");
    ASSERT_TRUE(core.saveStore().setUploadFlag(1, QStringLiteral("1")));
    shellWithUpload.present();

    // "Tidak": on to the usual confirmation, which may still be cancelled.
    shellWithUpload.logout();
    EXPECT_EQ(lastAlert(), "Kepastian: Ada 1 kompaun belum dimuat naik. Muat naik sekarang? [Tidak|Ya]");
    answer(0);
    EXPECT_EQ(lastAlert(), "Kepastian: Adakah anda pasti untuk log keluar ? [Batal|Keluar]");
    answer(0);
    EXPECT_TRUE(shellWithUpload.signedIn());
    EXPECT_EQ(uploads, 0);

    // "Ya": the upload runs, and the officer is signed out when it ends, whatever it achieved.
    shellWithUpload.logout();
    answer(1);
    EXPECT_EQ(uploads, 1);
    EXPECT_TRUE(shellWithUpload.signedIn());
    shellWithUpload.uploadFinished();
    EXPECT_FALSE(shellWithUpload.signedIn());
    EXPECT_TRUE(fakes.alerts.shown.isEmpty());

    // An upload started from "MuatNaik" later signs nobody out.
    shellWithUpload.present();
    shellWithUpload.uploadFinished();
    EXPECT_TRUE(shellWithUpload.signedIn());
}

TEST_F(UploadQuestionTest, TheFirstSignInAsksWhenTheOldestWaitingCompoundIsOlderThanADay) {
    storeAt(kl(2026, 3, 3, 9, 30), "P2026M07000041", "LALU LINTAS", "300.00");
    storeAt(kl(2026, 3, 4, 8, 0), "P2026M07000042", "LALU LINTAS", "300.00");

    // Exactly a day: not yet.
    clock.instant = kl(2026, 3, 4, 9, 30);
    {
        ShellController fresh{core, loginScreen, [this] { ++uploads; }};
        fresh.present();
        EXPECT_TRUE(fakes.alerts.shown.isEmpty());
    }

    clock.instant = kl(2026, 3, 4, 9, 31);
    shellWithUpload.present();
    EXPECT_EQ(lastAlert(), "Kepastian: Ada 2 kompaun belum dimuat naik. Muat naik sekarang? [Tidak|Ya]");
    answer(1);
    EXPECT_EQ(uploads, 1);
    // Once per start: signing in again later does not ask.
    shellWithUpload.present();
    EXPECT_TRUE(fakes.alerts.shown.isEmpty());
}

} // namespace
