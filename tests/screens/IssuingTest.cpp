// "Semak", the review, and "Cetak" / "Ya" from the section list: the checks, store, print and number in
// order, the failures that must stop or not stop the rest, and the after-print menu. The walkthrough
// issues general, traffic and favourite compounds through the window; these are the orders, failures and
// exact bytes it does not reach.
#include "ScreensFixture.h"
#include "screens/forms/FormSet.h"
#include "screens/issuing/ReviewViewController.h"
#include "support/FileSizeLimit.h"

#include <QDir>

namespace {

TEST_F(IssuingTest, SemakChecksInOrderAndOpensTheReviewOnlyWhenAllPass) {
    // Each row: what "Semak" says, then what the officer fills in before pressing it again. A company
    // registration number alone meets the first check; an area alone is some part of the place. (The
    // traffic checks, vehicle then place, the walkthrough meets.)
    startGeneral();
    for (const auto& [message, key, value] :
         std::initializer_list<std::tuple<const char*, QLatin1String, const char*>>{
             {"Sila Masukkan IC Pesalah atau No Daftar Syarikat!", Key::noDaftarSyarikat, "SA0123456-X"},
             {"Sila Masukkan Nama Pesalah!", Key::namaPesalah, "SYARIKAT MAJU JAYA SDN BHD"},
             {"Sila Masukkan Alamat Pesalah!", Key::alamat1Pesalah, "LOT 5, JALAN INDUSTRI"},
             {"Sila Masukkan Maklumat Lokasi Kesalahan", Key::lokasiKawasan, "PUSAT BANDAR TELUKMERBAU"}}) {
        fakes.alerts.shown.clear();
        sections.formSet()->semak();
        EXPECT_EQ(fakes.alerts.shown.size(), 1);
        EXPECT_EQ(lastAlert(), std::string("Makluman: ") + message + " [OK]");
        EXPECT_EQ(tab(0)->currentScreen(), QStringLiteral("FormSetView.qml"));
        record()->insert(key, QString::fromUtf8(value));
    }
    fakes.alerts.shown.clear();
    sections.formSet()->semak();
    EXPECT_TRUE(fakes.alerts.shown.isEmpty()) << lastAlert();
    EXPECT_EQ(tab(0)->currentScreen(), QStringLiteral("ReviewView.qml"));
    EXPECT_EQ(lastPush().value(QStringLiteral("flow")).value<QObject*>(), &sections.flow());
}

TEST_F(IssuingTest, TheReviewShowsEveryFieldInItsFormatAndItsCetakCallsBackItsOpener) {
    // The fields the review composes; those shown as the record holds them need no check.
    const RecordMap r = mapOf({{Key::kompaunTarikh, "04/03/2026"},
                               {Key::kompaunMasa, "09:30"},
                               {Key::alamat1Pesalah, "NO 12"},
                               {Key::alamat2Pesalah, "TAMAN MERANTI"},
                               {Key::poskodPesalah, "42700"},
                               {Key::alamat3Pesalah, "BANTING"},
                               {Key::negeriPesalah, "SELANGOR"},
                               {Key::lokasiTempatKejadian, "DEPAN KEDAI"},
                               {Key::lokasiJalan, "JALAN MERANTI 3"},
                               {Key::lat, "3.073800"},
                               {Key::long_, "101.518303"},
                               {Key::kompaunKadar, "50.00"},
                               {Key::kompaunTamatTawaran, "18/03/2026"}});
    const auto shownOf = [](const RecordMap& m) {
        QMap<QString, QString> shown;
        for (const auto& f : ReviewViewController::fields(m))
            shown.insert(f.outlet, f.value);
        return shown;
    };
    const QMap<QString, QString> shown = shownOf(r);
    // Only the filled parts show, whatever is missing.
    for (const auto& [outlet, text] : std::initializer_list<std::pair<const char*, const char*>>{
             {"alamat", "NO 12, TAMAN MERANTI, 42700 BANTING, SELANGOR"},
             {"tempatKesalahn", "DEPAN KEDAI, JALAN MERANTI 3"},
             {"kordinatLokasi", "3.073800, 101.518303"},
             {"tarikhKesalahan", "04/03/2026"},
             {"jumlahKompaun", "RM 50.00"},
             {"sebelumTarikhBayaran", "18/03/2026.BAYARAN HENDAKLAH DIBUAT DI MAJLIS"}})
        EXPECT_EQ(shown.value(QLatin1String(outlet)), QLatin1String(text)) << outlet;
    // A half-filled address and no position: no empty pieces.
    RecordMap half = r;
    half.insert(mapOf({{Key::alamat1Pesalah, "NO 12, JALAN MERANTI 3"},
                       {Key::alamat2Pesalah, ""},
                       {Key::alamat3Pesalah, " "},
                       {Key::negeriPesalah, ""},
                       {Key::lat, ""},
                       {Key::long_, ""}}));
    EXPECT_EQ(shownOf(half).value(QStringLiteral("alamat")), QStringLiteral("NO 12, JALAN MERANTI 3, 42700"));
    // No position, empty or the zero pair the record carries for it, reads as none.
    EXPECT_EQ(shownOf(half).value(QStringLiteral("kordinatLokasi")), QStringLiteral("Tiada kedudukan"));
    half.insert(mapOf({{Key::lat, "0.000000"}, {Key::long_, "0.000000"}}));
    EXPECT_EQ(shownOf(half).value(QStringLiteral("kordinatLokasi")), QStringLiteral("Tiada kedudukan"));

    // Filled once, when it first shows, with the record as "Semak" took it: later changes to the record
    // do not reach it.
    reviewGeneral();
    ReviewViewController review;
    review.setContext(&context);
    review.setFlow(&sections.flow());
    review.viewWillAppear();
    EXPECT_EQ(review.model()->subtitle(4), QStringLiteral("TAN AH KOW"));
    record()->insert(Key::namaPesalah, QStringLiteral("SOMEONE ELSE"));
    review.viewWillAppear();
    EXPECT_EQ(review.model()->subtitle(4), QStringLiteral("TAN AH KOW"));
    // Its "Cetak" finds the record changed and shows it as it now is (the stale review's officer script
    // reads that through the window) ...
    review.cetak();
    answer(0);
    // ... then asks the section list's question; "Batal" stores nothing.
    review.cetak();
    ASSERT_EQ(fakes.alerts.shown.size(), 1);
    answer(0);
    EXPECT_EQ(stored(), 0);
    EXPECT_EQ(core.issuingFlow(), nullptr);
}

TEST_F(IssuingTest, YaStoresWithPhotosThenPrintsThenNumbersThenOffersTheMenu) {
    const RecordMap issued = reviewGeneral();
    EXPECT_EQ(issued.value(Key::kompaunRunningNumber), QStringLiteral("P2026M07000042"));

    sections.cetak();
    // A second "Cetak" while the question is up asks nothing more.
    sections.cetak();
    ASSERT_EQ(fakes.alerts.shown.size(), 1);
    answer(1);
    EXPECT_TRUE(sections.flow().busy());
    // Stored and numbered at once; "Cetak" while the notice is under way is ignored.
    EXPECT_EQ(stored(), 1);
    EXPECT_EQ(running(), 42);
    sections.cetak();
    EXPECT_TRUE(fakes.alerts.shown.isEmpty()) << lastAlert();
    // Printing shows until the printer has taken the whole notice, under the issuing lock.
    EXPECT_TRUE(fakes.progress.visible);
    EXPECT_EQ(fakes.progress.labels.last(), QStringLiteral("Mencetak notis…"));
    EXPECT_EQ(fakes.progress.details.last(), QStringLiteral("No. kompaun P2026M07000042"));
    EXPECT_EQ(core.issuingFlow(), &sections.flow());

    ASSERT_TRUE(waitForMenu());
    EXPECT_FALSE(sections.flow().busy());
    EXPECT_FALSE(fakes.progress.visible);
    EXPECT_EQ(core.issuingFlow(), nullptr);
    EXPECT_EQ(printer->received(), noticeOf(issued, false));
    EXPECT_EQ(lastAlert(), "Kepastian: Notis kompaun P2026M07000042 telah dicetak. Sila pilih menu dibawah "
                           "[Ke Utama|Guna Kembali Kesalahan Ini|Cetak Kembali]");

    // "Ke Utama": the type menu again, which starts a fresh record with the next number.
    answer(0);
    types.viewWillAppear();
    EXPECT_EQ(rec(Key::kompaunRunningNumber), QStringLiteral("P2026M07000043"));
}

// The delivery method of the last compound printed comes with the next of its kind (traffic and other
// compounds apart), until the officer signs out; the "Semak" refusal takes the officer to the field.
TEST_F(IssuingTest, TheDeliveryMethodIsKeptForTheShiftAndARefusalShowsItsField) {
    startGeneral();
    QSignalSpy shown(sections.formSet(), &FormSet::fieldRequested);
    sections.formSet()->semak();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown.first().at(0).toInt(), 0); // "Pesalah"
    EXPECT_EQ(shown.first().at(1).toString(), QStringLiteral("noKadPengenalanPesalahField"));
    answer(0);
    fill({{Key::kompaunCaraPenyerahan, "SERAH KEPADA PEMILIK"}, {Key::kompaunCaraPenyerahanID, "6"}});
    fillOffender();
    record()->insert(Key::lokasiTempatKejadian, QStringLiteral(", ,"));
    sections.formSet()->semak();
    EXPECT_EQ(lastAlert(), "Makluman: Sila Masukkan Tempat Kejadian Yang Sah! [OK]");
    EXPECT_EQ(shown.last().at(0).toInt(), 2); // "Lokasi"
    EXPECT_EQ(shown.last().at(1).toString(), QStringLiteral("lokasiTempatKejadianField"));
    answer(0);
    record()->insert(Key::lokasiTempatKejadian, QStringLiteral("DEPAN KEDAI 12"));
    ASSERT_TRUE(sections.flow().semak());
    ASSERT_TRUE(cetakYa(sections));
    answer(IssuingFlow::kMenuKeUtama);

    for (const auto& [traffic, name, code] : {std::tuple{false, "SERAH KEPADA PEMILIK", "6"},
                                              {true, "", ""},
                                              {false, "SERAH KEPADA PEMILIK", "6"}}) {
        tab(0)->popToRoot();
        types.viewWillAppear();
        traffic ? startTraffic() : startGeneral();
        expectRecord({{Key::kompaunCaraPenyerahan, name}, {Key::kompaunCaraPenyerahanID, code}});
    }
    // Signed out: forgotten.
    shell.present();
    shell.logout();
    if (fakes.alerts.last().message.startsWith(QLatin1String("Ada "))) // the upload question: "Tidak"
        answer(0);
    answer(1);
    ASSERT_FALSE(shell.signedIn());
    tab(0)->popToRoot();
    types.viewWillAppear();
    startGeneral();
    expectRecord({{Key::kompaunCaraPenyerahanID, ""}});
}

TEST_F(IssuingTest, AStoreThatFailsPrintsNothingAndKeepsTheNumberSoYaCanBeTriedAgain) {
    reviewGeneral();
    // The store refuses the write (its disk failing).
    ASSERT_FALSE(SQLiteManager(core.saveStore().path(), nullptr, nullptr)
                     .doQuery(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON compound BEGIN "
                                             "SELECT RAISE(ABORT, 'disk I/O error'); END")));
    sections.cetak();
    answer(1);
    ASSERT_EQ(fakes.alerts.shown.size(), 1);
    EXPECT_EQ(lastAlert(), "Gagal: Kompaun tidak dapat disimpan dalam telefon. Sila cuba lagi. [OK]");
    EXPECT_FALSE(sections.flow().busy());
    EXPECT_EQ(running(), 41);
    EXPECT_EQ(printer->sessionsOpened(), 0);
    answer(0);

    ASSERT_FALSE(SQLiteManager(core.saveStore().path(), nullptr, nullptr)
                     .doQuery(QStringLiteral("DROP TRIGGER refuse")));
    ASSERT_TRUE(cetakYa(sections));
    EXPECT_EQ(stored(), 1);
    EXPECT_EQ(running(), 42);
    EXPECT_EQ(printer->received(), noticeOf(*record(), false));
}

TEST_F(IssuingTest, APrintThatFailsIsToldInTheMenuWithItsReasonAndCetakKembaliPrintsIt) {
    const RecordMap issued = reviewGeneral();
    accessories.setAccessories({}); // the printer is off
    QSignalSpy done(&sections.flow(), &IssuingFlow::noticeDone);
    ASSERT_TRUE(cetakYa(sections));
    // One alert: the menu says why, in the order of the printed one; the connection's own alert is held back.
    QCoreApplication::processEvents();
    ASSERT_EQ(fakes.alerts.shown.size(), 1) << lastAlert();
    EXPECT_EQ(lastAlert(),
              "Gagal: Notis kompaun P2026M07000042 tidak dicetak. " +
                  PrinterConnection::connectFailedMessage().toStdString() +
                  " Sila pilih menu dibawah [Ke Utama|Guna Kembali Kesalahan Ini|Cetak Kembali]");
    ASSERT_EQ(done.size(), 1);
    EXPECT_FALSE(done.first().first().toBool());
    EXPECT_FALSE(fakes.progress.visible);
    EXPECT_EQ(core.issuingFlow(), nullptr);
    // The compound is on the phone: its number is used and never given again.
    EXPECT_EQ(stored(), 1);
    EXPECT_EQ(running(), 42);

    // The printer back on, "Cetak Kembali" prints the same notice; nothing stored or numbered again.
    accessories.setAccessories({printer});
    answer(IssuingFlow::kMenuCetakKembali);
    EXPECT_TRUE(fakes.progress.visible);
    ASSERT_TRUE(waitForMenu());
    EXPECT_EQ(printer->received(), noticeOf(issued, false));
    EXPECT_TRUE(done.last().first().toBool());
    EXPECT_EQ(fakes.alerts.last().title, QStringLiteral("Kepastian"));
    EXPECT_EQ(stored(), 1);
    EXPECT_EQ(running(), 42);
    // The printer may print again on its own later: the printer connection alerts again once released.
    QCoreApplication::processEvents();
    EXPECT_EQ(fakes.alerts.shown.size(), 1) << lastAlert();
}

TEST_F(IssuingTest, ANoticeCutShortMidwayIsToldInTheMenuAndTheCompoundStaysStored) {
    reviewGeneral();
    // The printer takes part of the notice and then the link drops.
    printer->setMaxPerWrite(4096);
    sections.cetak();
    answer(1);
    ASSERT_TRUE(testsupport::waitFor([&] {
        if (printer->received().isEmpty())
            return false;
        printer->setStalled(true);
        return true;
    }));
    ASSERT_LT(printer->received().size(), noticeOf(*record(), false).size());
    printer->dropLink();
    ASSERT_TRUE(waitForMenu());
    QCoreApplication::processEvents();
    ASSERT_EQ(fakes.alerts.shown.size(), 1) << lastAlert();
    EXPECT_EQ(lastAlert(),
              "Gagal: Notis kompaun P2026M07000042 tidak dicetak. " +
                  PrinterConnection::noticeFailedMessage().toStdString() +
                  " Sila pilih menu dibawah [Ke Utama|Guna Kembali Kesalahan Ini|Cetak Kembali]");
    EXPECT_FALSE(fakes.progress.visible);
    EXPECT_EQ(core.issuingFlow(), nullptr);

    // "Ke Utama", first in either menu, goes home; the compound stays stored for the printed list.
    answer(IssuingFlow::kMenuKeUtama);
    EXPECT_EQ(tab(0)->depth(), 1);
    EXPECT_EQ(stored(), 1);
}

// "Ya" on a phone whose disk has filled: a compound the phone could not number for good prints nothing
// and the officer is told.
TEST_F(IssuingTest, ANumberThatCannotBeKeptPrintsNothingAndIsNeverGivenAgain) {
    // A phone well into its numbers: the number file (one entry a compound) is larger than what the
    // store writes for one compound, so a limit just above the file's size lets the store through and
    // stops the number.
    ASSERT_TRUE(core.runningNumbers().setRunningNumber(9000));
    types.viewWillAppear();
    EXPECT_EQ(stored(), 0);
    const RecordMap issued = reviewGeneral();
    const QByteArray numberFile = testsupport::readFile(core.runningNumbers().path());
    {
        // The store's few pages still fit; the number file, written whole through a new copy, does not.
        testsupport::FileSizeLimit full(rlim_t(numberFile.size()) + 8);
        ASSERT_TRUE(full.ok());
        sections.cetak();
        answer(1);
    }
    ASSERT_EQ(fakes.alerts.shown.size(), 1) << lastAlert();
    EXPECT_EQ(lastAlert(),
              "Gagal: Nombor siri kompaun tidak dapat disimpan dalam telefon. Kompaun telah "
              "disimpan tetapi notis tidak dicetak. Sila maklumkan pihak pengurusan IT anda. [OK]");
    EXPECT_FALSE(sections.flow().busy());
    EXPECT_EQ(printer->sessionsOpened(), 0);
    EXPECT_TRUE(printer->received().isEmpty());
    // The number file is as it was, never emptied; the compound is held with its number, which this run
    // will not give again.
    EXPECT_EQ(testsupport::readFile(core.runningNumbers().path()), numberFile);
    EXPECT_EQ(stored(), 1);
    EXPECT_EQ(core.saveStore().getDicetak().first().record->value(Key::kompaunRunningNumber),
              issued.value(Key::kompaunRunningNumber));
    EXPECT_EQ(issued.value(Key::kompaunRunningNumber), QStringLiteral("P2026M07009001"));
    EXPECT_EQ(running(), 9001);
    EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("runningnumber.dat.*")}, QDir::Files),
              QStringList{});
}

} // namespace
