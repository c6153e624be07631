// The record being issued is shared by the tabs and by the printed list: what an officer can do on one
// tab while another is half-way through a compound, and what re-use and re-print hand on. Each test is
// a sequence an officer met: a notice that differed from its review, or one number given twice.
#include "ScreensFixture.h"
#include "screens/forms/FormSet.h"
#include "screens/forms/KompounViewController.h"
#include "screens/forms/LokasiViewController.h"
#include "screens/forms/MaklumatPersalahViewController.h"
#include "screens/printed/PrintedListViewController.h"

namespace {

class IssuingGuardsTest : public IssuingTest {
protected:
    void chooseFavourite() {
        showFavourites();
        fav.select(0);
    }
    // A favourite's review left open on tab 1, then the type menu shown on tab 0 (a fresh record).
    void leaveFavouriteReviewForTheTypeMenu() {
        saveFavourite();
        chooseFavourite();
        fillOffender();
        ASSERT_TRUE(fav.flow().semak());
        shell.tabBarControllerDidSelect(ShellController::JenisKompaun);
        types.viewWillAppear();
    }
    std::string alertAt(int i) const {
        const Alert& a = fakes.alerts.shown.at(i);
        return QStringLiteral("%1: %2").arg(a.title, a.message).toStdString();
    }
    // A form as the form set makes it: its page, the form a child of it.
    template <class Form> Form* loadForm(FormSet* set, QObject& page) {
        auto* form = new Form(&page);
        form->setContext(&context);
        form->viewWillAppear();
        set->formLoaded(&page);
        return form;
    }
};

// A review whose record another tab replaced stores nothing and shows the record as it now is: the officer
// script tests/scripts/tab-switch-mid-review.officer, through the window. A change made while the question
// waits is caught at "Ya" the same way.
TEST_F(IssuingGuardsTest, AChangeMadeWhileTheQuestionWaitsIsCaughtAtYa) {
    saveFavourite();
    chooseFavourite();
    fillOffender();
    ASSERT_TRUE(fav.flow().semak());
    fakes.alerts.shown.clear();
    fav.cetak();
    ASSERT_EQ(fakes.alerts.shown.size(), 1);
    record()->insert(Key::kompaunKadar, QStringLiteral("1.00"));
    answer(1);
    EXPECT_EQ(lastAlert(), "Makluman: Maklumat kompaun telah berubah. Sila semak semula. [OK]");
    EXPECT_EQ(stored(), 0);
    EXPECT_EQ(running(), 41);
    EXPECT_EQ(printer->sessionsOpened(), 0);
    EXPECT_EQ(core.issuingFlow(), nullptr);
    answer(0);
    // Reviewed again, it is stored as the review showed it.
    ASSERT_TRUE(cetakYa(fav));
    ASSERT_EQ(stored(), 1);
    EXPECT_EQ(*core.saveStore().getDicetak().first().record, fav.flow().reviewed());
    EXPECT_EQ(core.saveStore().getDicetak().first().record->value(Key::kompaunKadar), QStringLiteral("1.00"));
}

TEST_F(IssuingGuardsTest,
       WhileOneCompoundIsPrintedNoOtherTabStoresOrPrintsAndAStaleReviewCannotRepeatItsNumber) {
    ASSERT_NO_FATAL_FAILURE(leaveFavouriteReviewForTheTypeMenu());
    // Tab 0: a compound is issued.
    const RecordMap first = reviewGeneral();
    fakes.alerts.shown.clear();
    sections.cetak();
    // Tab 1's "Cetak" while tab 0's question is up, then while its notice prints: refused both times.
    fav.cetak();
    ASSERT_EQ(fakes.alerts.shown.size(), 2);
    EXPECT_EQ(alertAt(1), "Makluman: Kompaun lain sedang dicetak. Sila tunggu sehingga ia selesai.");
    answer(1);
    EXPECT_TRUE(sections.flow().busy());
    answer(0);
    fav.cetak();
    ASSERT_EQ(fakes.alerts.shown.size(), 1);
    EXPECT_EQ(alertAt(0), "Makluman: Kompaun lain sedang dicetak. Sila tunggu sehingga ia selesai.");
    answer(0);
    ASSERT_TRUE(waitForMenu());
    answer(0);
    EXPECT_EQ(stored(), 1);
    EXPECT_EQ(running(), 42);

    // Afterwards the stale review finds the record changed ...
    fav.cetak();
    EXPECT_EQ(lastAlert(), "Makluman: Maklumat kompaun telah berubah. Sila semak semula. [OK]");
    answer(0);
    // ... and the record it now shows is the printed one: the store refuses its number a second time.
    EXPECT_EQ(fav.flow().reviewed().value(Key::kompaunRunningNumber), first.value(Key::kompaunRunningNumber));
    fav.cetak();
    EXPECT_EQ(fakes.alerts.last().buttons.last(), QStringLiteral("YA"));
    answer(1);
    EXPECT_EQ(
        lastAlert(),
        "Gagal: No. kompaun P2026M07000042 telah digunakan oleh kompaun yang telah disimpan. Kompaun ini "
        "tidak disimpan dan tidak dicetak. [OK]");
    answer(0);
    EXPECT_TRUE(fakes.alerts.shown.isEmpty()) << lastAlert();
    EXPECT_EQ(stored(), 1);
    EXPECT_EQ(running(), 42);
    EXPECT_EQ(printer->received(), noticeOf(first, false));
    EXPECT_EQ(core.issuingFlow(), nullptr);
}

// A stale review whose record has no offence is stopped by "Sila Pilih Kesalahan!": the officer script
// tests/scripts/duplicate-ya.officer, through the window.
TEST_F(IssuingGuardsTest, SemakRefusesACompoundWithoutItsAmount) {
    RecordMap r = mapOf({{Key::noKadPengenalanPesalah, "880514105123"},
                         {Key::namaPesalah, "TAN AH KOW"},
                         {Key::alamat1Pesalah, "NO 12"},
                         {Key::lokasiTempatKejadian, "DEPAN KEDAI 12"},
                         {Key::kesalahan, "6(1)-BERNIAGA TANPA LESEN"},
                         {Key::kompaunKadar, "  "}});
    EXPECT_EQ(IssuingFlow::semakProblem(r, false), QStringLiteral("Sila Masukkan Jumlah Kompaun!"));
    r.insert(Key::kompaunKadar, QStringLiteral("250.00"));
    EXPECT_EQ(IssuingFlow::semakProblem(r, false), QString());
}

TEST_F(IssuingGuardsTest, ReuseStartsTheNextCompoundNowWithTheSwitchAndPlaceAsShown) {
    startGeneral();
    QObject offenderPage, compoundPage, placePage;
    auto* offender = loadForm<MaklumatPersalahViewController>(sections.formSet(), offenderPage);
    auto* compound = loadForm<KompounViewController>(sections.formSet(), compoundPage);
    // The area and street as their lists write them: names and codes.
    fill({{Key::lokasiKawasan, "PUSAT BANDAR TELUKMERBAU"},
          {Key::lokasiKawasanID, "01"},
          {Key::lokasiJalan, "JALAN MERANTI 3"},
          {Key::lokasiJalanID, "0103"}});
    auto* place = loadForm<LokasiViewController>(sections.formSet(), placePage);
    offender->choose(Key::pilihanIndividuAtauSyarikat, 1);
    fillOffender();
    ASSERT_TRUE(sections.flow().semak());
    EXPECT_EQ(rec(Key::kompaunMasa), QStringLiteral("09:30"));
    ASSERT_TRUE(cetakYa(sections));

    // Two hours later, "Guna Kembali Kesalahan Ini" without the compound form showing again.
    clock.instant = clock.instant.addSecs(2 * 3600);
    answer(IssuingFlow::kMenuGunaKembali);
    expectRecord({{Key::kompaunRunningNumber, "P2026M07000043"},
                  {Key::kompaunTarikh, "04/03/2026"},
                  {Key::kompaunMasa, "11:30"},
                  {Key::kompaunTamatTawaran, "18/03/2026"},
                  {Key::pilihanIndividuAtauSyarikat, "syarikat"},
                  {Key::lokasiKawasan, "PUSAT BANDAR TELUKMERBAU"},
                  {Key::lokasiKawasanID, "01"},
                  {Key::lokasiJalan, "JALAN MERANTI 3"},
                  {Key::lokasiJalanID, "0103"}});
    EXPECT_EQ(offender->fieldText(Key::pilihanIndividuAtauSyarikat), QStringLiteral("syarikat"));
    EXPECT_EQ(compound->field(Key::kompaunTarikh)->text(), QStringLiteral("04/03/2026,11:30"));
    EXPECT_EQ(place->field(Key::lokasiKawasan)->text(), QStringLiteral("PUSAT BANDAR TELUKMERBAU"));

    // The next offender; what the forms hold reaches the record at "Semak", and is what is stored.
    offender->field(Key::noKadPengenalanPesalah)->setText(QStringLiteral("900101105555"));
    offender->field(Key::namaPesalah)->setText(QStringLiteral("LIM BEE LING"));
    offender->field(Key::alamat1Pesalah)->setText(QStringLiteral("NO 3, JALAN BAYU"));
    offender->textFieldDidEndEditing(offender->field(Key::alamat1Pesalah));
    ASSERT_TRUE(sections.flow().semak());
    ASSERT_TRUE(cetakYa(sections));
    const SavedCompoundList all = core.saveStore().getDicetak();
    ASSERT_EQ(all.size(), 2);
    const RecordMap& second = *all[1].record;
    for (const auto& [key, text] : std::initializer_list<std::pair<QLatin1String, const char*>>{
             {Key::kompaunMasa, "11:30"},
             {Key::pilihanIndividuAtauSyarikat, "syarikat"},
             {Key::lokasiKawasanID, "01"},
             {Key::lokasiJalanID, "0103"},
             {Key::namaPesalah, "LIM BEE LING"}})
        EXPECT_EQ(second.value(key), QLatin1String(text)) << key.data();
    // The same offence, none of the first compound's photographs.
    EXPECT_EQ(second.value(Key::kesalahan), all[0].record->value(Key::kesalahan));
    EXPECT_TRUE(all[1].photos.isEmpty());
    EXPECT_EQ(running(), 43);
}

class ReprintTest : public IssuingGuardsTest {};

TEST_F(ReprintTest, AReprintIsTheStoredCompoundInTheLayoutOfItsFirstPrintWhateverThePreviewTouched) {
    // The vehicle by-law type, second in the menu: traffic-marked, yet issued with the offender form and
    // the general notice.
    types.select(1);
    EXPECT_FALSE(core.getLaluLintas());
    RecordMap r = *core.saveDictionary();
    r.insert(mapOf({{Key::kesalahan, "8-MELETAK KENDERAAN DI KAKI LIMA"},
                    {Key::kompaunKadar, "150.00"},
                    {Key::namaPesalah, "TAN AH KOW"},
                    {Key::kenderaanNoKenderaan, "WXY 1234"},
                    {Key::kompaunButiranKesalahan, "MELETAK KENDERAAN DI KAKI LIMA"}}));
    ASSERT_TRUE(core.saveStore().insertIntoBaruPBCompound(makeRecord(r), {}));

    showList();
    list.select(0);
    EXPECT_EQ(list.formSet()->titles().first(), QStringLiteral("Pesalah"));
    // Whatever reaches the record in memory while it is shown, the notice is the stored compound's.
    core.getDictionary()->insert(Key::kompaunButiranKesalahan, QStringLiteral("DIUBAH"));
    core.getDictionary()->insert(Key::lat, QStringLiteral("1.000000"));
    list.formSet()->cetak();
    answer(1);
    // Printing shows, and nothing else issues, until the printer's result is known; then the result.
    EXPECT_TRUE(fakes.progress.visible);
    EXPECT_EQ(fakes.progress.labels.last(), QStringLiteral("Mencetak notis…"));
    EXPECT_EQ(core.issuingFlow(), &list);
    QSignalSpy reprinted(&list, &PrintedListViewController::reprinted);
    ASSERT_TRUE(reprinted.wait());
    EXPECT_TRUE(reprinted.first().first().toBool());
    EXPECT_EQ(printer->received(), noticeOf(r, false));
    EXPECT_FALSE(fakes.progress.visible);
    EXPECT_EQ(core.issuingFlow(), nullptr);
    const std::string number = r.value(Key::kompaunRunningNumber).toStdString();
    ASSERT_EQ(fakes.alerts.shown.size(), 1) << lastAlert();
    EXPECT_EQ(lastAlert(), "Makluman: Notis kompaun " + number + " telah dicetak. [OK]");
    answer(0);
}

TEST_F(IssuingGuardsTest, AFavouriteKeepsTheLicenceScannedForIt) {
    // The "Scan" tab writes the licence into the record being issued; a favourite chosen then keeps it.
    saveFavourite();
    record()->insert(Key::lokasiLesenPerniagaan, QStringLiteral("L2026000123"));
    chooseFavourite();
    EXPECT_EQ(rec(Key::lokasiLesenPerniagaan), QStringLiteral("L2026000123"));
    // A compound already stored keeps its licence to itself.
    fillOffender();
    ASSERT_TRUE(fav.flow().semak());
    ASSERT_TRUE(cetakYa(fav));
    answer(0);
    fav.select(0);
    EXPECT_EQ(rec(Key::lokasiLesenPerniagaan), QString());
}

} // namespace
