#include "ScreensFixture.h"
#include "screens/KenderaanTabViewController.h"
#include "screens/KompounViewController.h"
#include "screens/LokasiViewController.h"
#include "screens/MaklumatPersalahViewController.h"

namespace {

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
    EXPECT_EQ(core.currentType(), QStringLiteral("lokasiKawasanID"));
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

TEST_F(PickListTest, SheetThatGoesWhileOpenLetsTheNextListOpen) {
    KompounViewController form;
    show(form);
    {
        DropDownMenuViewController other;
        other.setContext(&context);
        form.pick(Key::kompaunCaraPenyerahan);
        EXPECT_TRUE(other.isOpen());
    }
    EXPECT_FALSE(core.isDropDownListOpen());
    form.pick(Key::kompaunCaraPenyerahan);
    EXPECT_TRUE(sheet.isOpen());
    pick(QStringLiteral("Tampal"));
    EXPECT_EQ(rec(Key::kompaunCaraPenyerahan), QStringLiteral("TAMPAL"));
}

} // namespace
