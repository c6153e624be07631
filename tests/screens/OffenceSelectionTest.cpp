// The three lists that start a compound (types, acts, sections), the favourite saved from a section and
// the time of issue stamped at "Semak", over the shipped reference database. The walkthrough taps through
// the traffic marks of each type, the act search and the form set's tabs; these are the values and the
// cases it does not reach.
#include "ScreensFixture.h"

namespace {

using OffenceSelectionTest = IssuingTest;

TEST_F(OffenceSelectionTest, ActAndSectionChoicesWriteTheOffence) {
    fakes.positioning.known = Coordinate{3.0738, 101.5183};
    chooseAct(1, QStringLiteral("PTLK MPT 2007"));
    expectRecord({{Key::akta, "PTLK MPT 2007"}, {Key::aktaID, "4"}});
    // Acts read as code over description; sections as "code-title" over the particulars, by code.
    const int act = rowWith(acts.shownRows(), QStringLiteral("akta_id"), QStringLiteral("4"));
    EXPECT_EQ(acts.model()->subtitle(act),
              QStringLiteral("PERINTAH PENGANGKUTAN JALAN (PERUNTUKAN TEMPAT LETAK "
                             "KERETA) (MAJLIS PERBANDARAN TELUKMERBAU) 2007"));
    EXPECT_EQ(sections.model()->title(0), QStringLiteral("3(1)-TIDAK MEMBAYAR FI LETAK KERETA"));

    // The second type carries the traffic mark but not the flag.
    sections.select(rowWith(sections.shownRows(), QStringLiteral("akta_seksyen_id"), QStringLiteral("4005")));
    // (Which columns make the offence, the favourite's test checks.)
    expectRecord({{Key::kesalahanID, "4005"},
                  {Key::lat, "3.073800"},
                  {Key::long_, "101.518303"},
                  {Key::isLaluLintas, "YA"}});
    EXPECT_FALSE(record()->contains(Key::kompaunMasa));
    EXPECT_FALSE(core.getLaluLintas());
    EXPECT_EQ(lastPush().value(QStringLiteral("formSet")).value<QObject*>(), sections.formSet());

    // No position known: the zero pair the council's service takes for none. A type row past the
    // menu's end does nothing.
    tab(0)->popToRoot();
    types.viewWillAppear();
    fakes.positioning.known.reset();
    startTraffic();
    expectRecord({{Key::lat, "0.000000"}, {Key::long_, "0.000000"}});
    tab(0)->popToRoot();
    types.select(6);
    EXPECT_EQ(tab(0)->depth(), 1);
}

TEST_F(OffenceSelectionTest, ReturningToTheTypeMenuStartsAFreshRecordWithTheSameNumberAndNoPhotographs) {
    const Record first = record();
    core.setImageArray({QStringLiteral("dGh1bWI="), QStringLiteral("ZnVsbA==")});
    startGeneral();
    tab(0)->popToRoot();
    types.viewWillAppear();
    EXPECT_NE(record(), first);
    expectRecord({{Key::kompaunRunningNumber, "P2026M07000042"}, {Key::kesalahan, ""}});
    EXPECT_TRUE(core.getImageArray().isEmpty());
}

TEST_F(OffenceSelectionTest, SearchTakesAnyTextAndSectionsSearchWithinTheirAct) {
    chooseAct(2, QStringLiteral("UUK PJJ 2008"));
    tab(0)->pop(); // back on the acts
    acts.searchText()->setText(QStringLiteral("O'BRIEN"));
    acts.beginSearch();
    acts.search();
    EXPECT_EQ(acts.model()->count(), 0);
    acts.cancelSearch();

    // "KUNING" is in the particulars of one parking rule, and in a traffic rule of another act that must
    // not show. A search result is chosen like any row.
    tab(0)->popToRoot();
    types.viewWillAppear();
    chooseAct(1, QStringLiteral("PTLK MPT 2007"));
    const QList<QVariantMap> sectionsShown = sections.shownRows();
    sections.searchText()->setText(QStringLiteral("KUNING"));
    sections.beginSearch();
    sections.search();
    ASSERT_EQ(sections.shownRows().size(), 1);
    sections.select(0);
    EXPECT_EQ(rec(Key::kesalahanID), QStringLiteral("4005"));
    tab(0)->pop();
    sections.cancelSearch();
    EXPECT_EQ(sections.shownRows(), sectionsShown);
}

TEST_F(OffenceSelectionTest, SimpanSavesTheFavouriteEntryAsGivenAndTwiceMakesTwo) {
    // Particulars typed in mixed case at the council: upper-cased for the compound, kept for the row.
    ASSERT_FALSE(core.dbManager().doQuery(QStringLiteral(
        "INSERT INTO gc_kod_seksyen (akta_id, kod_hasil, akta_seksyen_id, kod_seksyen, butir_seksyen, "
        "seksyen_detail, kadar_sebelum, kadar_tawaran, aktif) VALUES (4, '72201', '4099', '10(2)', "
        "'LETAK DI LALUAN BOMBA', 'Meletakkan kenderaan di laluan kecemasan bomba di Jalan Dato'' Onn', "
        "'150.00', '80.00', 'Y')")));
    chooseAct(1, QStringLiteral("PTLK MPT 2007"));
    const int row = rowWith(sections.shownRows(), QStringLiteral("akta_seksyen_id"), QStringLiteral("4099"));
    const QList<QVariantMap> shown = sections.shownRows();
    const RecordMap before = *core.getDictionary();

    sections.simpan(row);
    sections.simpan(row);

    const std::optional<FavouriteList> saved = core.favStore().getFavSaveArray();
    ASSERT_TRUE(saved.has_value());
    ASSERT_EQ(saved->size(), 2);
    const QString detail =
        QStringLiteral("Meletakkan kenderaan di laluan kecemasan bomba di Jalan Dato' Onn");
    const Favourite expected{
        QStringLiteral("10(2)-LETAK DI LALUAN BOMBA"),
        detail,
        {{Key::JenisKompaun, QStringLiteral("UNDANG-UNDANG KECIL KENDERAAN")},
         {Key::JenisKompaunID, QStringLiteral("02")},
         {Key::akta, QStringLiteral("PTLK MPT 2007")},
         {Key::aktaID, QStringLiteral("4")},
         {Key::kodHasil, QStringLiteral("72201")},
         {Key::kesalahan, QStringLiteral("10(2)-LETAK DI LALUAN BOMBA")},
         {Key::kesalahanID, QStringLiteral("4099")},
         {QStringLiteral("kompaunButiranKesalahan"),
          QStringLiteral("MELETAKKAN KENDERAAN DI LALUAN KECEMASAN BOMBA DI JALAN DATO' ONN")},
         {Key::kompaunKadar, QStringLiteral("150.00")},
         {Key::kompaunKadarTawaran, QStringLiteral("80.00")},
         {QStringLiteral("kod_seksyen"), QStringLiteral("10(2)")},
         {QStringLiteral("butir_seksyen"), QStringLiteral("LETAK DI LALUAN BOMBA")},
         {QStringLiteral("seksyen_detail"), detail}}};
    EXPECT_EQ(saved->at(0), expected);
    EXPECT_EQ(saved->at(1), expected);

    // Saving chooses nothing: the record, the list and the screen stay; no message.
    EXPECT_EQ(*core.getDictionary(), before);
    EXPECT_EQ(sections.shownRows(), shown);
    EXPECT_EQ(tab(0)->currentScreen(), QStringLiteral("KategoriView.qml"));
    EXPECT_TRUE(fakes.alerts.shown.isEmpty());

    // Chosen afterwards, the same section writes the same offence the favourite holds.
    sections.select(row);
    for (const QLatin1String k : {Key::kodHasil, Key::kesalahan, Key::kesalahanID,
                                  Key::kompaunButiranKesalahan, Key::kompaunKadar, Key::kompaunKadarTawaran})
        EXPECT_EQ(rec(k), expected.record.value(k)) << k.data();
}

TEST_F(OffenceSelectionTest, SemakStampsTheTimeOfIssueOnlyWhenTheRecordHasNone) {
    startTraffic();
    ASSERT_FALSE(record()->contains(Key::kompaunMasa));
    // 23:47 UTC is 07:47 the next morning in Kuala Lumpur.
    clock.instant = QDateTime(QDate(2026, 3, 4), QTime(23, 47, 10), QTimeZone::utc());
    sections.semak();
    EXPECT_EQ(rec(Key::kompaunMasa), QStringLiteral("07:47"));

    // A time the compound form wrote stays.
    clock.instant = clock.instant.addSecs(3600);
    core.getDictionary()->insert(Key::kompaunMasa, QStringLiteral("07:50"));
    sections.semak();
    EXPECT_EQ(rec(Key::kompaunMasa), QStringLiteral("07:50"));
}

} // namespace
