// The three lists that start a compound (types, acts, sections), the favourite saved from a section and
// the time of issue stamped at "Semak", over the shipped reference database.
#include "core/AppDelegate.h"
#include "core/RecordKeys.h"
#include "platform/fake/FakePlatform.h"
#include "screens/AppContext.h"
#include "screens/FirstViewController.h"
#include "screens/KategoriViewController.h"
#include "screens/NavigationStack.h"
#include "screens/SectionKesalahanViewController.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTemporaryDir>

namespace {

class FixedClock : public Clock {
public:
    QDateTime now() const override { return instant; }
    QDateTime instant = QDateTime(QDate(2026, 3, 4), QTime(23, 47, 10), Qt::UTC);
};

class OffenceSelectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        core.startUpData();
        ASSERT_FALSE(core.dbManager().doQuery(QStringLiteral(
            "CREATE TABLE IF NOT EXISTS 'device_info' ('no' INTEGER PRIMARY KEY  NOT NULL,'uuid' "
            "TEXT, 'device_id' TEXT, 'device_desc' TEXT, 'no_akhir' TEXT);")));
        ASSERT_FALSE(core.dbManager().doQuery(
            QStringLiteral("INSERT OR REPLACE INTO device_info VALUES(1,'000','M07','000','41')")));
        ASSERT_TRUE(core.runningNumbers().setRunningNumber(41));
        core.setUserGlobalID({{QStringLiteral("peng_nama"), QStringLiteral("AHMAD FAUZI BIN ISMAIL")},
                              {QStringLiteral("kod_pekerja"), QStringLiteral("PK1001")}});
        types.setContext(&context);
        types.setNavigation(&stack);
        types.viewWillAppear();
    }

    // The properties the last push handed to the new screen.
    QVariantMap lastPush() const { return pushes.isEmpty() ? QVariantMap() : pushes.last().at(2).toMap(); }
    // Type row, then the act with that code, on fresh list screens as the views make them.
    void chooseTypeAndAct(int typeRow, const QString& kodAkta) {
        types.select(typeRow);
        acts.setContext(&context);
        acts.setNavigation(&stack);
        acts.setTypeCode(lastPush().value(QStringLiteral("typeCode")).toString());
        acts.select(rowWith(acts.shownRows(), QStringLiteral("kod_akta"), kodAkta));
        sections.setContext(&context);
        sections.setNavigation(&stack);
        sections.setActId(lastPush().value(QStringLiteral("actId")).toString());
    }
    static int rowWith(const QList<QVariantMap>& rows, const QString& column, const QString& value) {
        for (int i = 0; i < rows.size(); ++i)
            if (rows[i].value(column).toString() == value)
                return i;
        ADD_FAILURE() << "no row with " << column.toStdString() << " = " << value.toStdString();
        return -1;
    }
    QString key(QLatin1String k) const { return core.getDictionary()->value(k); }

    QTemporaryDir dir;
    FakePlatform fakes{dir.path(), testsupport::resourceDir()};
    FixedClock clock;
    AppDelegate core{fakes.platform(), &clock};
    AppContext context{[this] {
        AppContext::Parts parts;
        parts.app = &core;
        return parts;
    }()};
    NavigationStack stack{QStringLiteral("FirstView.qml"), QStringLiteral("Jenis Kompaun")};
    QSignalSpy pushes{&stack, &NavigationStack::pushRequested};
    FirstViewController types;
    SectionKesalahanViewController acts;
    KategoriViewController sections;
};

TEST_F(OffenceSelectionTest, TypeRowsTakePictureAndTrafficMarksFromTheirPosition) {
    const QStringList pictures{QStringLiteral("laulintas.png"),     QStringLiteral("bylawkenderaan.png"),
                               QStringLiteral("bylawOffender.png"), QStringLiteral("sitaan.png"),
                               QStringLiteral("kesenakmen.png"),    QStringLiteral("kesihatan.png")};
    KeyValueListModel* model = types.model();
    ASSERT_EQ(model->count(), 6);
    for (int row = 0; row < 6; ++row)
        EXPECT_EQ(model->data(model->index(row), KeyValueListModel::PictureRole).toString(), pictures[row]);
    EXPECT_EQ(FirstViewController::pictureFor(6), QString());

    for (int row = 0; row < model->count(); ++row) {
        types.viewWillAppear();
        types.select(row);
        EXPECT_EQ(core.getLaluLintas(), row == 0) << row;
        EXPECT_EQ(key(Key::isLaluLintas), row <= 1 ? QStringLiteral("YA") : QStringLiteral("TIDAK")) << row;
        EXPECT_EQ(key(Key::JenisKompaun), model->title(row));
        EXPECT_EQ(key(Key::JenisKompaunID), model->key(row));
        EXPECT_EQ(stack.currentScreen(), QStringLiteral("SectionKesalahanView.qml"));
        EXPECT_EQ(stack.currentTitle(), model->title(row));
        EXPECT_EQ(lastPush().value(QStringLiteral("typeCode")).toString(), model->key(row));
        stack.pop();
    }
    EXPECT_EQ(key(Key::JenisKompaun), QStringLiteral("KESIHATAN AWAM"));
    EXPECT_EQ(key(Key::JenisKompaunID), QStringLiteral("06"));

    // Nothing to act on, nothing done.
    FirstViewController bare;
    bare.select(0);
    bare.viewWillAppear();
    types.select(6);
    EXPECT_EQ(stack.depth(), 1);
}

TEST_F(OffenceSelectionTest, ActAndSectionChoicesWriteTheOffenceAndOpenTheFormSet) {
    fakes.positioning.known = Coordinate{3.0738, 101.5183};
    chooseTypeAndAct(1, QStringLiteral("PTLK MPT 2007"));
    EXPECT_EQ(key(Key::akta), QStringLiteral("PTLK MPT 2007"));
    EXPECT_EQ(key(Key::aktaID), QStringLiteral("4"));
    EXPECT_EQ(stack.currentScreen(), QStringLiteral("KategoriView.qml"));
    EXPECT_EQ(stack.currentTitle(), QStringLiteral("PTLK MPT 2007"));
    // Acts read as code over description; sections as "code-title" over the particulars, by code.
    const int act = rowWith(acts.shownRows(), QStringLiteral("akta_id"), QStringLiteral("4"));
    EXPECT_EQ(acts.model()->title(act), QStringLiteral("PTLK MPT 2007"));
    EXPECT_EQ(acts.model()->subtitle(act),
              QStringLiteral("PERINTAH PENGANGKUTAN JALAN (PERUNTUKAN TEMPAT LETAK "
                             "KERETA) (MAJLIS PERBANDARAN TELUKMERBAU) 2007"));
    ASSERT_GE(sections.model()->count(), 6);
    EXPECT_EQ(sections.model()->title(0), QStringLiteral("3(1)-TIDAK MEMBAYAR FI LETAK KERETA"));

    sections.select(rowWith(sections.shownRows(), QStringLiteral("akta_seksyen_id"), QStringLiteral("4005")));
    const RecordMap record = *core.getDictionary();
    EXPECT_EQ(record.value(Key::kodHasil), QStringLiteral("72201"));
    EXPECT_EQ(record.value(Key::kesalahan), QStringLiteral("9(1)-LETAK DI KAWASAN LARANGAN"));
    EXPECT_EQ(record.value(Key::kesalahanID), QStringLiteral("4005"));
    EXPECT_EQ(
        record.value(Key::kompaunButiranKesalahan),
        QStringLiteral("MELETAKKAN KENDERAAN DI TEPI JALAN BERGARIS KUNING ATAU DI HADAPAN PILI BOMBA"));
    EXPECT_EQ(record.value(Key::kompaunKadar), QStringLiteral("50.00"));
    EXPECT_EQ(record.value(Key::kompaunKadarTawaran), QStringLiteral("30.00"));
    EXPECT_EQ(record.value(Key::lat), QStringLiteral("3.073800"));
    EXPECT_EQ(record.value(Key::long_), QStringLiteral("101.518303"));
    EXPECT_EQ(record.value(Key::isLaluLintas), QStringLiteral("YA"));
    EXPECT_FALSE(record.contains(Key::kompaunMasa));

    // The second type carries the traffic mark but not the flag: the four forms of a general compound.
    EXPECT_EQ(stack.currentScreen(), QStringLiteral("FormSetView.qml"));
    EXPECT_EQ(stack.currentTitle(), QStringLiteral("Maklumat"));
    EXPECT_EQ(lastPush().value(QStringLiteral("formSet")).value<QObject*>(), sections.formSet());
    EXPECT_EQ(sections.formTitles(), (QStringList{QStringLiteral("Pesalah"), QStringLiteral("Kompaun"),
                                                  QStringLiteral("Lokasi"), QStringLiteral("Kenderaan")}));
    EXPECT_EQ(sections.formScreens(),
              (QStringList{QStringLiteral("MaklumatPersalahView.qml"), QStringLiteral("KompounView.qml"),
                           QStringLiteral("LokasiView.qml"), QStringLiteral("KenderaanTabView.qml")}));

    // The first row is the traffic compound: no offender form, the vehicle first.
    stack.popToRoot();
    types.viewWillAppear();
    chooseTypeAndAct(0, QStringLiteral("APJ 1987"));
    sections.select(0);
    EXPECT_EQ(sections.formTitles(), (QStringList{QStringLiteral("Kenderaan"), QStringLiteral("Kompaun"),
                                                  QStringLiteral("Lokasi")}));
    EXPECT_EQ(sections.formScreens().first(), QStringLiteral("KenderaanTabView.qml"));
    EXPECT_EQ(key(Key::akta), QStringLiteral("APJ 1987"));
}

TEST_F(OffenceSelectionTest, NoPositionKnownWritesZeros) {
    chooseTypeAndAct(3, QStringLiteral("AKT 171"));
    sections.select(0);
    EXPECT_EQ(key(Key::lat), QStringLiteral("0.000000"));
    EXPECT_EQ(key(Key::long_), QStringLiteral("0.000000"));
}

TEST_F(OffenceSelectionTest, ReturningToTheTypeMenuStartsAFreshRecordWithTheSameNumber) {
    const Record first = core.getDictionary();
    const QString number = first->value(Key::kompaunRunningNumber);
    EXPECT_EQ(number, QStringLiteral("P2026M07000042"));
    core.setImageArray({QStringLiteral("dGh1bWI="), QStringLiteral("ZnVsbA==")});
    chooseTypeAndAct(2, QStringLiteral("UUK PJJ 2008"));
    sections.select(0);
    first->insert(Key::namaPesalah, QStringLiteral("TAN AH KOW"));

    stack.popToRoot();
    types.viewWillAppear();
    const Record fresh = core.getDictionary();
    EXPECT_NE(fresh, first);
    EXPECT_EQ(fresh->value(Key::kompaunRunningNumber), number);
    for (const QLatin1String k : {Key::JenisKompaun, Key::akta, Key::kesalahan, Key::namaPesalah, Key::lat})
        EXPECT_EQ(fresh->value(k), QString()) << k.data();
    EXPECT_FALSE(fresh->contains(Key::isLaluLintas));
    EXPECT_FALSE(fresh->contains(Key::kodHasil));
    EXPECT_TRUE(core.getImageArray().isEmpty());
}

TEST_F(OffenceSelectionTest, SearchReplacesTheRowsAndCancelRestoresTheFirstListInOrder) {
    chooseTypeAndAct(2, QStringLiteral("UUK PJJ 2008"));
    stack.pop(); // back on the acts
    const QList<QVariantMap> actsShown = acts.shownRows();
    ASSERT_EQ(actsShown.size(), 3);

    QSignalSpy dismissed(&acts, &SearchListController::keyboardDismissed);
    EXPECT_FALSE(acts.searching());
    acts.searchText()->setText(QStringLiteral("penjaja"));
    acts.beginSearch();
    EXPECT_TRUE(acts.searching());
    acts.search();
    ASSERT_EQ(acts.shownRows().size(), 1);
    EXPECT_EQ(acts.model()->title(0), QStringLiteral("UUK PJJ 2008"));
    EXPECT_EQ(acts.searchText()->text(), QStringLiteral("penjaja")); // the typed text stays
    EXPECT_EQ(acts.fullList(), actsShown);

    acts.searchText()->setText(QStringLiteral("O'BRIEN"));
    acts.search();
    EXPECT_EQ(acts.model()->count(), 0);
    acts.cancelSearch();
    EXPECT_EQ(acts.shownRows(), actsShown);
    EXPECT_FALSE(acts.searching());
    EXPECT_TRUE(acts.searchText()->text().isEmpty());
    EXPECT_EQ(dismissed.count(), 1);

    // Sections search within the act of the record: "KUNING" is in the particulars of one parking rule,
    // and in a traffic rule of another act that must not show.
    stack.popToRoot();
    types.viewWillAppear();
    chooseTypeAndAct(1, QStringLiteral("PTLK MPT 2007"));
    const QList<QVariantMap> sectionsShown = sections.shownRows();
    sections.searchText()->setText(QStringLiteral("KUNING"));
    sections.beginSearch();
    sections.search();
    ASSERT_EQ(sections.shownRows().size(), 1);
    EXPECT_EQ(sections.model()->key(0), QStringLiteral("4005"));
    // A search result is chosen like any row.
    sections.select(0);
    EXPECT_EQ(key(Key::kesalahanID), QStringLiteral("4005"));
    stack.pop();
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
    chooseTypeAndAct(1, QStringLiteral("PTLK MPT 2007"));
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
        {{QStringLiteral("JenisKompaun"), QStringLiteral("UNDANG-UNDANG KECIL KENDERAAN")},
         {QStringLiteral("JenisKompaunID"), QStringLiteral("02")},
         {QStringLiteral("akta"), QStringLiteral("PTLK MPT 2007")},
         {QStringLiteral("aktaID"), QStringLiteral("4")},
         {QStringLiteral("kodHasil"), QStringLiteral("72201")},
         {QStringLiteral("kesalahan"), QStringLiteral("10(2)-LETAK DI LALUAN BOMBA")},
         {QStringLiteral("kesalahanID"), QStringLiteral("4099")},
         {QStringLiteral("kompaunButiranKesalahan"),
          QStringLiteral("MELETAKKAN KENDERAAN DI LALUAN KECEMASAN BOMBA DI JALAN DATO' ONN")},
         {QStringLiteral("kompaunKadar"), QStringLiteral("150.00")},
         {QStringLiteral("kompaunKadarTawaran"), QStringLiteral("80.00")},
         {QStringLiteral("kod_seksyen"), QStringLiteral("10(2)")},
         {QStringLiteral("butir_seksyen"), QStringLiteral("LETAK DI LALUAN BOMBA")},
         {QStringLiteral("seksyen_detail"), detail}}};
    EXPECT_EQ(saved->at(0), expected);
    EXPECT_EQ(saved->at(1), expected);

    // Saving chooses nothing: the record, the list and the screen stay; no message.
    EXPECT_EQ(*core.getDictionary(), before);
    EXPECT_EQ(sections.shownRows(), shown);
    EXPECT_EQ(stack.currentScreen(), QStringLiteral("KategoriView.qml"));
    EXPECT_TRUE(fakes.alerts.shown.isEmpty());

    // Chosen afterwards, the same section writes the same offence the favourite holds.
    sections.select(row);
    for (const QLatin1String k : {Key::kodHasil, Key::kesalahan, Key::kesalahanID,
                                  Key::kompaunButiranKesalahan, Key::kompaunKadar, Key::kompaunKadarTawaran})
        EXPECT_EQ(key(k), expected.record.value(k)) << k.data();
}

TEST_F(OffenceSelectionTest, SemakStampsTheTimeOfIssueOnlyWhenTheRecordHasNone) {
    chooseTypeAndAct(0, QStringLiteral("APJ 1987"));
    sections.select(0);
    ASSERT_FALSE(core.getDictionary()->contains(Key::kompaunMasa));

    // 23:47 UTC is 07:47 the next morning in Kuala Lumpur.
    sections.semak();
    EXPECT_EQ(key(Key::kompaunMasa), QStringLiteral("07:47"));

    // A time the compound form wrote stays.
    clock.instant = clock.instant.addSecs(3600);
    core.getDictionary()->insert(Key::kompaunMasa, QStringLiteral("07:50"));
    sections.semak();
    EXPECT_EQ(key(Key::kompaunMasa), QStringLiteral("07:50"));

    KategoriViewController bare;
    bare.semak();
    bare.simpan(0);
    bare.select(0);
    bare.search();
}

} // namespace
