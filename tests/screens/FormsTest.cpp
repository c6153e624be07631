// The issuing forms' cases the walkthrough does not reach: it types and picks through every form of a
// general and a traffic compound and checks the record after each.
#include "ScreensFixture.h"
#include "screens/forms/KenderaanTabViewController.h"
#include "screens/forms/KompounViewController.h"
#include "screens/forms/LokasiViewController.h"
#include "screens/forms/MaklumatPersalahViewController.h"
#include "screens/forms/PickRelay.h"

#include <QSignalSpy>

namespace {

TEST_F(FormsTest, PostcodeFillsTownAndStateOnEveryEndOfEditing) {
    MaklumatPersalahViewController form;
    show(form);
    typeInto(form, form.field(Key::poskodPesalah), QStringLiteral("42700"));
    // A town typed over is put back from the postcode the next time any field finishes editing.
    typeInto(form, form.field(Key::alamat3Pesalah), QStringLiteral("Klang"));
    EXPECT_EQ(rec(Key::alamat3Pesalah), QStringLiteral("BANTING"));

    // A postcode the table does not hold leaves town and state as they were.
    typeInto(form, form.field(Key::poskodPesalah), QStringLiteral("99999"));
    EXPECT_EQ(form.field(Key::alamat3Pesalah)->text(), QStringLiteral("BANTING"));
    expectRecord({{Key::negeriPesalahID, "10"}, {Key::poskodPesalah, "99999"}});

    // The recipient's postcode fills the recipient's side only. A postcode starting with 0 stays text.
    typeInto(form, form.field(Key::poskodPenerima), QStringLiteral("01000"));
    EXPECT_EQ(form.field(Key::alamat3Penerima)->text(), QStringLiteral("KANGAR"));
    expectRecord(
        {{Key::negeriPenerima, "PERLIS"}, {Key::negeriPenerimaID, "9"}, {Key::negeriPesalah, "SELANGOR"}});
}

TEST_F(FormsTest, EndOfEditingUpperCasesAndWritesEveryField) {
    MaklumatPersalahViewController offender;
    show(offender);
    offender.field(Key::noDaftarSyarikat)->setText(QStringLiteral("ab-123456-x"));
    typeInto(offender, offender.field(Key::namaPesalah), QStringLiteral("tan ah kow"));
    // The company number is kept as the field holds it until that field itself finishes editing.
    EXPECT_EQ(rec(Key::noDaftarSyarikat), QStringLiteral("ab-123456-x"));
    typeInto(offender, offender.field(Key::noDaftarSyarikat), QStringLiteral("ab-123456-x"));
    EXPECT_EQ(rec(Key::noDaftarSyarikat), QStringLiteral("AB-123456-X"));

    LokasiViewController place;
    show(place);
    place.field(Key::lokasiNoPetak)->setText(QStringLiteral("b12"));
    place.textViewDismissTaps(); // writes upper-cased, leaves the field alone
    EXPECT_EQ(rec(Key::lokasiNoPetak), QStringLiteral("B12"));
    EXPECT_EQ(place.field(Key::lokasiNoPetak)->text(), QStringLiteral("b12"));

    KenderaanTabViewController vehicle;
    show(vehicle);
    vehicle.field(Key::kenderaanNoChasis)->setText(QStringLiteral("pm2abc"));
    vehicle.viewWillDisappear(); // leaving writes the fields as they hold them
    EXPECT_EQ(rec(Key::kenderaanNoChasis), QStringLiteral("pm2abc"));

    KompounViewController compound;
    show(compound);
    compound.field(Key::kompaunLama)->setText(QStringLiteral("p2024m07000003"));
    compound.textViewDismissTaps();
    EXPECT_EQ(rec(Key::kompaunLama), QStringLiteral("P2024M07000003"));
}

TEST_F(FormsTest, SameAddressCopies) {
    MaklumatPersalahViewController form;
    show(form);
    // With an empty offender: empty values and an empty state code.
    record()->insert(Key::negeriPenerimaID, QStringLiteral("5"));
    form.samaDiatasExe();
    expectRecord({{Key::namaPenerima, ""}, {Key::negeriPenerimaID, ""}});

    for (const auto& [key, text] : {std::pair{Key::noKadPengenalanPesalah, "900101105566"},
                                    {Key::alamat1Pesalah, "No 5, Jalan Meranti 3"},
                                    {Key::alamat2Pesalah, "Taman Meranti"},
                                    {Key::poskodPesalah, "42700"}})
        typeInto(form, form.field(key), QString::fromLatin1(text));
    form.samaDiatasExe();
    EXPECT_EQ(form.field(Key::alamat3Penerima)->text(), QStringLiteral("BANTING"));
    expectRecord({{Key::noKadPengenalanPenerima, "900101105566"},
                  {Key::alamat1Penerima, "NO 5, JALAN MERANTI 3"},
                  {Key::alamat2Penerima, "TAMAN MERANTI"},
                  {Key::poskodPenerima, "42700"},
                  {Key::alamat3Penerima, "BANTING"}}); // the state the walkthrough reads

    // The place of the offence from the offender's address: only the lines it has, so no stray comma;
    // an empty address copies nothing over what the place holds.
    LokasiViewController place;
    show(place);
    place.field(Key::lokasiTempatKejadian)->setText(QStringLiteral("DEPAN KEDAI"));
    for (const auto& [line1, line2, copied] :
         {std::tuple{"", "", "DEPAN KEDAI"},
          {"NO 1, JALAN BESAR", "", "NO 1, JALAN BESAR"},
          {"  ", "TAMAN MERANTI", "TAMAN MERANTI"},
          {"NO 1, JALAN BESAR", "TAMAN MERANTI", "NO 1, JALAN BESAR,TAMAN MERANTI"}}) {
        fill({{Key::alamat1Pesalah, line1}, {Key::alamat2Pesalah, line2}});
        place.samaSptAlamatPesalah();
        EXPECT_EQ(place.field(Key::lokasiTempatKejadian)->text(), QLatin1String(copied)) << line1 << line2;
    }
}

// A traffic compound has no offender form: nothing to copy, so no button for it.
TEST_F(FormsTest, TheAddressCopyIsNotOfferedWithoutAnOffenderForm) {
    record()->insert(Key::isLaluLintas, QStringLiteral("YA"));
    fill({{Key::alamat1Pesalah, "NO 1, JALAN BESAR"}});
    LokasiViewController place;
    show(place);
    EXPECT_FALSE(place.shown(QLatin1String("samaSptAlamat")));
    place.action(QStringLiteral("samaSptAlamat"));
    EXPECT_EQ(place.field(Key::lokasiTempatKejadian)->text(), QString());
}

TEST_F(FormsTest, TimeOfIssueIsStampedEachShowingWhileIssuingOnly) {
    record()->insert(Key::kompaunKadar, QStringLiteral("100.00"));
    record()->insert(Key::kesalahan, QStringLiteral("48(1)-Meletak kenderaan"));
    KompounViewController form;
    show(form);
    EXPECT_EQ(rec(Key::kompaunMasa), QStringLiteral("09:30"));
    EXPECT_EQ(form.field(Key::kompaunTarikh)->text(), QStringLiteral("04/03/2026,09:30"));
    EXPECT_EQ(form.field(Key::kompaunTamatTawaran)->text(), QStringLiteral("18/03/2026"));
    EXPECT_EQ(form.field(Key::kompaunKadar)->text(), QStringLiteral("RM 100.00"));
    EXPECT_EQ(form.field(Key::kompaunKadarTawaran)->text(), QStringLiteral("RM "));
    EXPECT_EQ(form.field(Key::kesalahan)->text(), QStringLiteral("48(1)-MELETAK KENDERAAN"));

    // Past midnight in Kuala Lumpur: the date stays the record's, the time is the new one.
    clock.instant = QDateTime(QDate(2026, 3, 4), QTime(16, 5), QTimeZone::utc());
    form.viewWillDisappear();
    form.viewWillAppear();
    EXPECT_EQ(rec(Key::kompaunMasa), QStringLiteral("00:05"));
    EXPECT_EQ(form.field(Key::kompaunTarikh)->text(), QStringLiteral("04/03/2026,00:05"));

    // A stored compound shown twice an hour apart keeps its own time.
    const Record stored = makeRecord(
        {{Key::kompaunTarikh, QStringLiteral("01/02/2024")}, {Key::kompaunMasa, QStringLiteral("08:30")}});
    core.setPreviewDictionary(stored);
    core.setPreviewIndicator(true);
    KompounViewController shown;
    show(shown);
    clock.instant = clock.instant.addSecs(3600);
    shown.viewWillAppear();
    EXPECT_TRUE(shown.preview());
    EXPECT_EQ(stored->value(Key::kompaunMasa), QStringLiteral("08:30"));
    EXPECT_EQ(shown.field(Key::kompaunTarikh)->text(), QStringLiteral("01/02/2024,08:30"));
    EXPECT_EQ(core.saveDictionary()->value(Key::kompaunMasa), QStringLiteral("00:05"));
}

TEST_F(FormsTest, PreviewShowsTheStoredCompoundAndWritesNothingOfIssuing) {
    const Record stored = makeRecord(mapOf({{Key::pilihanIndividuAtauSyarikat, "syarikat"},
                                            {Key::namaPesalah, "SYARIKAT MAJU SDN BHD"},
                                            {Key::lat, "3.073800"},
                                            {Key::long_, "101.518303"},
                                            {Key::kenderaanNoKenderaan, "BKT 4411"},
                                            {Key::isLaluLintas, "TIDAK"}}));
    core.setPreviewDictionary(stored);
    core.setPreviewIndicator(true);
    fakes.positioning.known = Coordinate{2.5, 102.25};

    MaklumatPersalahViewController offender;
    LokasiViewController place;
    KenderaanTabViewController vehicle;
    KompounViewController compound;
    const std::array<FormViewController*, 4> forms{&offender, &place, &vehicle, &compound};
    for (FormViewController* form : forms) {
        form->setContext(&context);
        form->viewWillAppear();
        EXPECT_TRUE(form->preview());
    }

    EXPECT_EQ(offender.fieldText(Key::pilihanIndividuAtauSyarikat), QStringLiteral("syarikat"));
    EXPECT_EQ(offender.field(Key::namaPesalah)->text(), QStringLiteral("SYARIKAT MAJU SDN BHD"));
    offender.choose(Key::pilihanIndividuAtauSyarikat, 0);
    offender.samaDiatasExe();
    EXPECT_EQ(stored->value(Key::pilihanIndividuAtauSyarikat), QStringLiteral("syarikat"));
    EXPECT_FALSE(stored->contains(Key::namaPenerima));
    EXPECT_EQ(vehicle.field(Key::kenderaanNoKenderaan)->text(), QStringLiteral("BKT 4411"));

    // No list opens, the witness list neither: a pick would write into the stored record.
    for (const auto& [form, key] :
         {std::pair<FormViewController*, QLatin1String>{&offender, Key::negeriPesalah},
          {&place, Key::lokasiKawasan},
          {&place, Key::lokasiJalan},
          {&vehicle, Key::kenderaanJenisKenderaan},
          {&vehicle, Key::kenderaanJenisModel},
          {&vehicle, Key::kenderaanJenisWarna},
          {&compound, Key::kompaunCaraPenyerahan},
          {&place, Key::lokasiNamaSaksi}}) {
        form->pick(key);
        EXPECT_FALSE(sheet.isOpen()) << key.data();
    }

    // Text in the fields (the particulars, the old compound, the place copied from the address) reaches
    // no record, whatever ends the editing.
    const RecordMap before = *stored;
    compound.field(Key::kompaunButiranKesalahan)->setText(QStringLiteral("DIUBAH"));
    compound.field(Key::kompaunLama)->setText(QStringLiteral("P2025M07000001"));
    compound.textFieldDidEndEditing(compound.field(Key::kompaunButiranKesalahan));
    compound.textViewDismissTaps();
    place.samaSptAlamatPesalah();
    place.textViewDismissTaps();
    offender.field(Key::namaPesalah)->setText(QStringLiteral("ORANG LAIN"));
    offender.textFieldDidEndEditing(offender.field(Key::namaPesalah));
    for (FormViewController* form : forms)
        form->viewWillDisappear();
    EXPECT_EQ(*stored, before);

    QSignalSpy photos(&place, &LokasiViewController::photoSourceRequested);
    place.keluarkamera();
    EXPECT_EQ(photos.count(), 0);

    QSignalSpy captured(&place, &LokasiViewController::positionCaptured);
    place.setCaptureDelay(0);
    place.captureLatLong();
    ASSERT_TRUE(captured.wait(5000));
    EXPECT_EQ(place.field(Key::lat)->text(), QStringLiteral("2.500000"));
    EXPECT_EQ(stored->value(Key::lat), QStringLiteral("3.073800"));
    EXPECT_EQ(core.saveDictionary()->value(Key::lat), QString());
}

TEST_F(FormsTest, ACaptureRunsOffTheInterfaceThreadTellsAMissingFixAndShowsAFixsAccuracyAndAge) {
    LokasiViewController form;
    show(form);
    form.setCaptureDelay(0);
    QSignalSpy captured(&form, &LokasiViewController::positionCaptured);

    // No fix, captured under the overlay off the interface thread; a second tap while capturing starts
    // nothing more. The officer is told, the fields and the record stay empty, never 0, 0.
    fakes.positioning.known.reset();
    const qsizetype alerts = fakes.alerts.shown.size();
    form.captureLatLong();
    EXPECT_TRUE(fakes.progress.visible);
    EXPECT_EQ(fakes.progress.labels, QStringList{QStringLiteral("Mengesan Lokasi")});
    EXPECT_TRUE(form.capturing());
    form.captureLatLong();
    ASSERT_TRUE(captured.wait(5000));
    EXPECT_EQ(captured.count(), 1);
    EXPECT_TRUE(testsupport::waitFor([&] { return !fakes.progress.visible; }));
    EXPECT_FALSE(form.capturing());
    EXPECT_EQ(lastAlert(), "Makluman: Lokasi tidak dapat dikesan. Sila cuba lagi. [OK]");
    EXPECT_EQ(form.field(Key::lat)->text(), QString());
    expectRecord({{Key::lat, ""}, {Key::long_, ""}});
    EXPECT_EQ(form.fixDetail(), QStringLiteral("Tiada kedudukan"));

    // A fix 42 s old within 15 m.
    fakes.positioning.known = Coordinate{3.0738, 101.5183, 14.6, clock.instant.addSecs(-42)};
    form.captureLatLong();
    ASSERT_TRUE(captured.wait(5000));
    expectRecord({{Key::lat, "3.073800"}, {Key::long_, "101.518303"}});
    EXPECT_EQ(form.fixDetail(), QStringLiteral("Ketepatan \u00b115 m, 42 saat lalu"));
    EXPECT_EQ(fakes.alerts.shown.size(), alerts + 1);

    // Failing again keeps the position already captured and clears what was said about the fix.
    fakes.positioning.known.reset();
    form.captureLatLong();
    ASSERT_TRUE(captured.wait(5000));
    EXPECT_EQ(fakes.alerts.shown.size(), alerts + 2);
    expectRecord({{Key::lat, "3.073800"}});
    EXPECT_EQ(form.fixDetail(), QString());

    // What the platform does not say is left out; old fixes read in minutes, hours and days.
    // A fix kept from days ago (a replayed log, a stale cache) reads in days.
    const QDateTime now = clock.instant;
    for (const auto& [accuracy, when, text] : {std::tuple{-1.0, now.addSecs(-130), "2 minit lalu"},
                                               {5.0, now.addSecs(-7300), "Ketepatan \u00b15 m, 2 jam lalu"},
                                               {-1.0, now.addDays(-268), "268 hari lalu"},
                                               {-1.0, QDateTime(), ""}})
        EXPECT_EQ(LokasiViewController::describeFix({1, 2, accuracy, when}, now), QString::fromUtf8(text));
}

TEST_F(FormsTest, ModelListFollowsTheChosenType) {
    KenderaanTabViewController form;
    show(form);
    form.pick(Key::kenderaanJenisModel);
    EXPECT_EQ(sheet.model()->count(), 0);
    sheet.cancel();

    form.pick(Key::kenderaanJenisKenderaan);
    pick(QStringLiteral("KERETA"));
    form.pick(Key::kenderaanJenisModel);
    EXPECT_EQ(rowOf(QStringLiteral("YAMAHA LC135")), -1);
    pick(QStringLiteral("PERODUA MYVI"));
    expectRecord({{Key::kenderaanJenisKenderaanID, "1"},
                  {Key::kenderaanJenisModelID, "1"},
                  {Key::kenderaanJenisModel, "PERODUA MYVI"}});

    form.pick(Key::kenderaanJenisKenderaan);
    pick(QStringLiteral("MOTOSIKAL"));
    EXPECT_EQ(form.field(Key::kenderaanJenisModel)->text(), QStringLiteral("PERODUA MYVI"));
    form.pick(Key::kenderaanJenisModel);
    EXPECT_GE(rowOf(QStringLiteral("YAMAHA LC135")), 0);
    EXPECT_EQ(rowOf(QStringLiteral("PERODUA MYVI")), -1);
}

TEST_F(FormsTest, InitFormPreparesEachFormForTheSameOffence) {
    fakes.positioning.known = Coordinate{3.0738, 101.5183};
    MaklumatPersalahViewController offender;
    KompounViewController compound;
    LokasiViewController place;
    KenderaanTabViewController vehicle;
    for (FormViewController* form :
         std::array<FormViewController*, 4>{&offender, &compound, &place, &vehicle})
        show(*form);

    // What re-use keeps of the switch, the area and the photographs, and the emptied offender on the screen,
    // the issuing guards and the walkthrough check through "Guna Kembali".
    typeInto(offender, offender.field(Key::namaPesalah), QStringLiteral("ali"));
    offender.initForm();
    EXPECT_EQ(rec(Key::namaPesalah), QStringLiteral("ALI"));

    compound.pick(Key::kompaunCaraPenyerahan);
    pick(QStringLiteral("Dengan Tangan"));
    record()->insert(Key::kompaunCaraPenyerahan, QString());
    compound.initForm();
    EXPECT_EQ(rec(Key::kompaunCaraPenyerahan), QStringLiteral("DENGAN TANGAN"));

    typeInto(place, place.field(Key::lokasiTempatKejadian), QStringLiteral("pasar"));
    typeInto(place, place.field(Key::lokasiNoPetak), QStringLiteral("12"));
    place.initForm();
    EXPECT_EQ(place.field(Key::lokasiTempatKejadian)->text(), QString());
    EXPECT_EQ(place.field(Key::lokasiNoPetak)->text(), QString());
    EXPECT_EQ(place.field(Key::lat)->text(), QStringLiteral("3.073800"));
    EXPECT_EQ(rec(Key::long_), QStringLiteral("101.518303"));

    typeInto(vehicle, vehicle.field(Key::kenderaanNoKenderaan), QStringLiteral("abc 1"));
    vehicle.initForm();
    EXPECT_EQ(vehicle.field(Key::kenderaanNoKenderaan)->text(), QString());
    EXPECT_EQ(rec(Key::kenderaanNoKenderaan), QStringLiteral("ABC 1"));
}

using PickListTest = FormsTest;

// The walkthrough picks from every list through the window; these are the lists' own rules it does not
// reach. How a pick writes a code and its upper-cased companion, and what a cancel writes, is the pick
// list's own business and tested with it.
TEST_F(PickListTest, StreetsFollowTheAreaAndWitnessesAreTheActiveOfficers) {
    LokasiViewController place;
    show(place);
    place.pick(Key::lokasiKawasan);
    pick(QStringLiteral("PUSAT BANDAR TELUKMERBAU"));
    place.pick(Key::lokasiJalan);
    pick(QStringLiteral("J01-JALAN BESAR"));
    // Another area leaves the street chosen; its list then holds only that area's streets.
    place.pick(Key::lokasiKawasan);
    pick(QStringLiteral("TAMAN MERANTI"));
    EXPECT_EQ(rec(Key::lokasiJalan), QStringLiteral("JALAN BESAR"));
    place.pick(Key::lokasiJalan);
    EXPECT_EQ(rowOf(QStringLiteral("J01-JALAN BESAR")), -1);
    EXPECT_GE(rowOf(QStringLiteral("J12-JALAN MERANTI 12")), 0);
    sheet.cancel();

    place.pick(Key::lokasiNamaSaksi);
    EXPECT_EQ(sheet.model()->title(0), QStringLiteral("AHMAD FAUZI BIN ISMAIL"));
    EXPECT_GE(rowOf(QStringLiteral("RAJESH A/L MUNIANDY")), 0);
    pick(QStringLiteral("NORHAYATI BINTI ABDULLAH"));
    EXPECT_EQ(place.field(Key::lokasiICSaksi)->text(), QStringLiteral("870722105344"));

    // A traffic compound has no witness: the list does not open and the officer stands alone.
    record()->insert(Key::isLaluLintas, QStringLiteral("YA"));
    LokasiViewController traffic;
    show(traffic);
    traffic.pick(Key::lokasiNamaSaksi);
    EXPECT_FALSE(sheet.isOpen());
    EXPECT_EQ(traffic.field(Key::namaPenguatKuasa)->text(), QStringLiteral("AHMAD FAUZI BIN ISMAIL"));
}

TEST_F(PickListTest, OneListAtATime) {
    MaklumatPersalahViewController offender;
    LokasiViewController place;
    show(offender);
    show(place);

    // A second list asked for while the area list shows is refused; the area list still answers.
    place.pick(Key::lokasiKawasan);
    offender.pick(Key::negeriPesalah);
    place.pick(Key::lokasiNamaSaksi);
    EXPECT_EQ(sheet.title(), QStringLiteral("Kawasan"));
    EXPECT_EQ(PickRelay::of(core).currentType(), QStringLiteral("lokasiKawasanID"));
    pick(QStringLiteral("TAMAN MERANTI"));
    EXPECT_EQ(place.field(Key::lokasiKawasan)->text(), QStringLiteral("TAMAN MERANTI"));
    EXPECT_EQ(place.field(Key::lokasiICSaksi)->text(),
              QString()); // the refused witness list named no code field
    EXPECT_EQ(offender.field(Key::negeriPesalah)->text(), QString());
    expectRecord({{Key::lokasiKawasanID, "K02"}, {Key::negeriPesalahID, ""}});
    EXPECT_FALSE(record()->contains(Key::namaSaksi));

    // Closed twice: the second close writes nothing; a pick with no list open writes nothing.
    place.pick(Key::lokasiKawasan);
    sheet.cancel();
    place.field(Key::lokasiKawasan)->setText(QStringLiteral("typed after closing"));
    sheet.cancel();
    core.onClose();
    core.setTextField(QStringLiteral("JOHOR"), QStringLiteral("1"));
    EXPECT_EQ(place.field(Key::lokasiKawasan)->text(), QStringLiteral("typed after closing"));
    expectRecord({{Key::lokasiKawasan, "TAMAN MERANTI"}, {Key::lokasiKawasanID, "K02"}});

    // A second row tapped before the sheet went picks nothing more.
    offender.pick(Key::negeriPesalah);
    EXPECT_EQ(sheet.title(), QStringLiteral("Negeri"));
    const int johor = rowOf(QStringLiteral("JOHOR"));
    ASSERT_GE(johor, 0);
    core.setTextField(QStringLiteral("SELANGOR"), QStringLiteral("10"));
    core.setTextField(QStringLiteral("JOHOR"), QStringLiteral("1"));
    sheet.didSelectRow(johor);
    EXPECT_EQ(offender.field(Key::negeriPesalah)->text(), QStringLiteral("SELANGOR"));
    expectRecord({{Key::negeriPesalahID, "10"}, {Key::negeriPesalah, "SELANGOR"}});

    // A list opened for one record answers into that record even if a new one is started meanwhile.
    const Record first = record();
    KenderaanTabViewController vehicle;
    show(vehicle);
    vehicle.pick(Key::kenderaanJenisWarna);
    core.saveDictionaryInit();
    pick(QStringLiteral("MERAH"));
    EXPECT_EQ(first->value(Key::kenderaanJenisWarna), QStringLiteral("MERAH"));
    expectRecord({{Key::kenderaanJenisWarnaID, ""}, {Key::kenderaanJenisWarna, ""}});
}

// The witness's identity card comes from a list that never gives it in lower case; a later area leaves it.
TEST_F(PickListTest, WitnessNameAndIdentityCardAreUpperCasedAndAnAreaLeavesThem) {
    PickRelay& relay = PickRelay::of(core);
    TextField witness, witnessIc, area;
    relay.openDropDownList({}, QStringLiteral("Saksi Penguatkuasa"), &witness, Key::namaSaksi);
    relay.setKeyTextField(&witnessIc);
    relay.setTextField(QStringLiteral("siti aminah"), QStringLiteral("800101-10-5566a"));
    relay.onClose();
    relay.openDropDownList({}, QStringLiteral("Kawasan"), &area, Key::lokasiKawasanID);
    relay.setTextField(QStringLiteral("Taman Melawati"), QStringLiteral("K1"));
    relay.onClose();
    expectRecord({{Key::namaSaksi, "800101-10-5566a"},
                  {Key::lokasiNamaSaksi, "SITI AMINAH"},
                  {Key::lokasiICSaksi, "800101-10-5566A"},
                  {Key::lokasiKawasan, "TAMAN MELAWATI"}});
    EXPECT_EQ(witnessIc.text(), QStringLiteral("800101-10-5566A"));

    // A state's name is written only when one was picked: a cancelled list leaves the record as it was.
    TextField state;
    state.setText(QStringLiteral("johor (typed)"));
    relay.openDropDownList({}, QStringLiteral("Negeri"), &state, Key::negeriPesalahID);
    relay.onClose();
    EXPECT_EQ(rec(Key::negeriPesalah), QString());
    relay.openDropDownList({}, QStringLiteral("Negeri"), &state, Key::negeriPesalahID);
    relay.setTextField(QStringLiteral("Johor"), QStringLiteral("01"));
    relay.onClose();
    expectRecord({{Key::negeriPesalah, "JOHOR"}, {Key::negeriPesalahID, "01"}});
}

TEST_F(PickListTest, SheetThatGoesWhileOpenLetsTheNextListOpen) {
    KompounViewController form;
    show(form);
    {
        DropDownMenuViewController other;
        other.setContext(&context);
        form.pick(Key::kompaunCaraPenyerahan);
        EXPECT_TRUE(other.isOpen());
    }
    EXPECT_FALSE(PickRelay::of(core).isDropDownListOpen());
    form.pick(Key::kompaunCaraPenyerahan);
    EXPECT_TRUE(sheet.isOpen());
    pick(QStringLiteral("Tampal"));
    EXPECT_EQ(rec(Key::kompaunCaraPenyerahan), QStringLiteral("TAMPAL"));
}

} // namespace
