// The printed list (open, re-print, cancel, reload) and the favourites (delete, choose, issue) over the
// same registered phone and recording printer as the issuing tests. The walkthrough opens, re-prints and
// cancels through the window; these are the bytes, the refusals and the orders it does not check.
#include "ScreensFixture.h"
#include "screens/printed/PrintedListViewController.h"

namespace {

class PrintedListTest : public IssuingTest {
protected:
    // A compound stored as "Ya" leaves it, with one photograph.
    RecordMap storeCompound(const QString& number, bool traffic) {
        RecordMap r = *core.saveDictionary();
        r.insert(Key::kompaunRunningNumber, number);
        r.insert(Key::isLaluLintas, traffic ? QStringLiteral("YA") : QStringLiteral("TIDAK"));
        r.insert(Key::kompaunButiranKesalahan, traffic ? QStringLiteral("MELETAK KENDERAAN DI PETAK KUNING")
                                                       : QStringLiteral("BERNIAGA TANPA LESEN"));
        r.insert(mapOf({{Key::kenderaanNoKenderaan, "WXY 1234"},
                        {Key::namaPesalah, "TAN AH KOW"},
                        {Key::kompaunMasa, "09:30"},
                        {Key::kompaunKadar, "100.00"}}));
        EXPECT_TRUE(core.saveStore().insertIntoBaruPBCompound(
            makeRecord(r), {{QStringLiteral("dA=="), QStringLiteral("Zg==")}}));
        return r;
    }
    // Until the printer has taken exactly these bytes, in total.
    bool waitForPrinted(const QByteArray& bytes) {
        return testsupport::waitFor([&] { return printer->received() == bytes; });
    }
};

TEST_F(PrintedListTest, ListsTheWaitingCompoundsInStoreOrderAndReprintsOneUnchanged) {
    storeCompound(QStringLiteral("P2026M07000039"), false);
    storeCompound(QStringLiteral("P2026M07000040"), false);
    const RecordMap traffic = storeCompound(QStringLiteral("P2026M07000041"), true);
    ASSERT_TRUE(core.saveStore().setUploadFlag(2, QStringLiteral("1")));
    showList();
    ASSERT_EQ(list.model()->count(), 2);
    EXPECT_EQ(list.model()->subtitle(0), QStringLiteral("BERNIAGA TANPA LESEN\nWXY 1234 \u00b7 09:30"));
    EXPECT_EQ(list.model()->title(1), QStringLiteral("P2026M07000041"));

    // The traffic one opens in the traffic order, read-only, with its stored record and photographs.
    list.select(1);
    EXPECT_TRUE(list.formSet()->preview());
    EXPECT_EQ(list.formSet()->titles(), (QStringList{QStringLiteral("Kenderaan"), QStringLiteral("Kompaun"),
                                                     QStringLiteral("Lokasi")}));
    EXPECT_EQ(*core.getDictionary(), traffic);
    EXPECT_EQ(core.getImageArray().size(), 1);

    list.formSet()->cetak();
    ASSERT_EQ(fakes.alerts.shown.size(), 1);
    EXPECT_EQ(lastAlert(), "Kepastian: Adakah anda pasti mencetak kembali ? [Batal|Ya]");
    answer(0);
    EXPECT_EQ(printer->sessionsOpened(), 0);
    list.formSet()->cetak();
    answer(1);
    ASSERT_TRUE(waitForPrinted(noticeOf(traffic, true)));
    // (The result the walkthrough reads; a general one re-prints in the general layout: the re-print test.)
}

TEST_F(PrintedListTest, RowsNameThePlateOrTheOffenderAndASearchNarrowsThemAndOpensTheRightOne) {
    storeCompound(QStringLiteral("P2026M07000039"), true);
    storeCompound(QStringLiteral("P2026M07000040"), false);
    // A general compound without a vehicle names its offender instead.
    RecordMap third = *core.saveDictionary();
    third.insert(mapOf({{Key::kompaunRunningNumber, "P2026M07000041"},
                        {Key::kompaunButiranKesalahan, "BERNIAGA TANPA LESEN"},
                        {Key::namaPesalah, "SITI AMINAH"},
                        {Key::kenderaanNoKenderaan, ""},
                        {Key::kompaunMasa, "11:05"}}));
    ASSERT_TRUE(core.saveStore().insertIntoBaruPBCompound(makeRecord(third), {}));
    showList();
    ASSERT_EQ(list.model()->count(), 3);
    EXPECT_EQ(list.model()->subtitle(2), QStringLiteral("BERNIAGA TANPA LESEN\nSITI AMINAH \u00b7 11:05"));

    // By number, by plate with or without its space and in any case, by name.
    const auto shown = [&](const QString& search) {
        list.setSearchText(search);
        QStringList titles;
        for (int i = 0; i < list.model()->count(); ++i)
            titles << list.model()->title(i);
        return titles.join(u' ');
    };
    EXPECT_EQ(shown(QStringLiteral("000040")), QStringLiteral("P2026M07000040"));
    EXPECT_EQ(shown(QStringLiteral("wxy1234")), QStringLiteral("P2026M07000039 P2026M07000040"));
    EXPECT_EQ(shown(QStringLiteral("WXY 12")), QStringLiteral("P2026M07000039 P2026M07000040"));
    EXPECT_EQ(shown(QStringLiteral("aminah")), QStringLiteral("P2026M07000041"));
    EXPECT_EQ(shown(QStringLiteral("TIADA")), QString());
    EXPECT_EQ(list.totalCount(), 3);

    // A row chosen from the narrowed list opens that compound; the search holds over a reload.
    shown(QStringLiteral("P2026M07000040"));
    list.relo();
    ASSERT_EQ(list.model()->count(), 1);
    list.select(0);
    EXPECT_EQ(core.getDictionary()->value(Key::kompaunRunningNumber), QStringLiteral("P2026M07000040"));
    EXPECT_EQ(shown(QString()), QStringLiteral("P2026M07000039 P2026M07000040 P2026M07000041"));
}

TEST_F(PrintedListTest, ACancelledCompoundIsMarkedRefusesReprintAndStillWaitsForUpload) {
    storeCompound(QStringLiteral("P2026M07000040"), false);
    const RecordMap second = storeCompound(QStringLiteral("P2026M07000041"), false);
    showList();
    list.select(1);
    list.formSet()->batalKompaun();
    answer(0);
    EXPECT_EQ(core.saveStore().getDicetak().at(1).record->value(Key::status_batal), QStringLiteral("0"));

    list.formSet()->batalKompaun();
    answer(1);
    const SavedCompoundList all = core.saveStore().getDicetak();
    RecordMap expected = second;
    expected.insert(Key::status_batal, QStringLiteral("1"));
    EXPECT_EQ(*all.at(1).record, expected);
    EXPECT_EQ(all.at(0).record->value(Key::status_batal), QStringLiteral("0"));
    EXPECT_EQ(all.at(1).photos.size(), 1);
    // Still waiting: the upload sends it, cancelled.
    EXPECT_EQ(stored(), 2);
    answer(0); // "telah dibatalkan"

    list.formSet()->cetak();
    answer(0); // "tidak boleh dicetak semula"
    EXPECT_EQ(printer->sessionsOpened(), 0);
    // Asking to cancel again asks nothing.
    list.formSet()->batalKompaun();
    EXPECT_TRUE(fakes.alerts.shown.isEmpty());
}

using FavouritesTest = PrintedListTest;

TEST_F(FavouritesTest, PadamDeletesExactlyThatRowAndTheOthersKeepTheirOrder) {
    saveFavourite(2, QStringLiteral("UUK PJJ 2008"), 0);
    saveFavourite(2, QStringLiteral("UUK PJJ 2008"), 1);
    saveFavourite(0, QStringLiteral("APJ 1987"), 0);
    showFavourites();
    ASSERT_EQ(fav.model()->count(), 3);
    const QString first = fav.model()->title(0), last = fav.model()->title(2);
    fav.padam(1);
    ASSERT_EQ(fav.model()->count(), 2);
    EXPECT_EQ(fav.model()->title(0), first);
    EXPECT_EQ(fav.model()->title(1), last);
    EXPECT_EQ(core.favStore().getFavSaveArray()->size(), 2);
    fav.padam(5);
    EXPECT_EQ(fav.model()->count(), 2);
}

TEST_F(FavouritesTest, AFavouriteStartsAFreshCompoundWithItsTrafficMarksAndIsCheckedBeforeReview) {
    saveFavourite(0, QStringLiteral("APJ 1987"), 0);
    saveFavourite(2, QStringLiteral("UUK PJJ 2008"), 0);
    const RecordMap sectionOffence = [&] {
        startTraffic();
        return *record();
    }();

    // A compound printed on tab 0 and the type menu not shown since: the record still holds its number.
    reviewGeneral();
    ASSERT_TRUE(cetakYa(sections));
    answer(IssuingFlow::kMenuCetakKembali); // the menu stays in play, tab 0 stays on the review
    ASSERT_TRUE(waitForMenu());
    fakes.alerts.shown.clear();

    showFavourites();
    fav.select(0);
    EXPECT_EQ(rec(Key::kompaunRunningNumber), QStringLiteral("P2026M07000043"));
    EXPECT_TRUE(core.getImageArray().isEmpty());
    EXPECT_EQ(rec(Key::namaPesalah), QString());
    EXPECT_TRUE(core.getLaluLintas());
    EXPECT_EQ(rec(Key::isLaluLintas), QStringLiteral("YA"));
    for (const QLatin1String k :
         {Key::JenisKompaun, Key::JenisKompaunID, Key::akta, Key::aktaID, Key::kodHasil, Key::kesalahan,
          Key::kesalahanID, Key::kompaunButiranKesalahan, Key::kompaunKadar, Key::kompaunKadarTawaran})
        EXPECT_EQ(rec(k), sectionOffence.value(k)) << k.data();
    EXPECT_EQ(fav.formSet()->titles().first(), QStringLiteral("Kenderaan"));

    // The same checks as the section list's.
    fav.formSet()->semak();
    ASSERT_EQ(fakes.alerts.shown.size(), 1);
    EXPECT_EQ(lastAlert(), "Makluman: Sila Masukkan No Kenderaan! [OK]");
    answer(0);
    record()->insert(Key::kenderaanNoKenderaan, QStringLiteral("WXY 1234"));
    record()->insert(Key::lokasiKawasan, QStringLiteral("PUSAT BANDAR TELUKMERBAU"));
    QSignalSpy review(tab(1), &NavigationStack::pushRequested);
    fav.formSet()->semak();
    ASSERT_EQ(review.size(), 1);
    EXPECT_EQ(review.last().at(2).toMap().value(QStringLiteral("flow")).value<QObject*>(), &fav.flow());

    const RecordMap issued = *record();
    const QByteArray before = printer->received();
    ASSERT_TRUE(cetakYa(fav));
    EXPECT_EQ(printer->received(), before + noticeOf(issued, true));
    EXPECT_EQ(stored(), 2);
    EXPECT_EQ(running(), 43);

    // "Ke Utama": both the type menu's tab and this one go back to their first screens.
    answer(0);
    EXPECT_EQ(tab(0)->depth(), 1);
    EXPECT_EQ(tab(1)->depth(), 1);

    // A general favourite clears the traffic marks.
    fav.select(1);
    EXPECT_FALSE(core.getLaluLintas());
    EXPECT_EQ(rec(Key::kompaunRunningNumber), QStringLiteral("P2026M07000044"));
}

TEST_F(FavouritesTest, AnUntrustedNumberIssuesNothingFromTheTypeMenuOrAFavourite) {
    saveFavourite(2, QStringLiteral("UUK PJJ 2008"), 0);
    showFavourites();
    distrustNumbering();
    fakes.alerts.shown.clear();
    pushes.clear();
    types.select(2);
    fav.select(0);
    EXPECT_EQ(pushes.size(), 0);
    EXPECT_EQ(tab(1)->depth(), 1);
    ASSERT_EQ(fakes.alerts.shown.size(), 2);
    for (const Alert& alert : fakes.alerts.shown)
        EXPECT_EQ(alert.message, RunningNumber::untrustedMessage());
}

} // namespace
