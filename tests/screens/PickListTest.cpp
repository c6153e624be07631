#include "FormsFixture.h"
#include "screens/KenderaanTabViewController.h"
#include "screens/KompounViewController.h"
#include "screens/LokasiViewController.h"
#include "screens/MaklumatPersalahViewController.h"

namespace {

using PickListTest = FormsTest;

TEST_F(PickListTest, DeliveryChoiceWritesCodeAndUpperCasedLabelAndCancelRewritesTheLabel) {
    KompounViewController form;
    show(form);
    form.caraPenyerahanDropDown();
    ASSERT_TRUE(sheet.isOpen());
    EXPECT_EQ(sheet.title(), QStringLiteral("Cara Penyerahan"));
    ASSERT_EQ(sheet.model()->count(), 9);
    EXPECT_EQ(sheet.model()->title(0), QStringLiteral("Dalam Bakul"));
    EXPECT_EQ(sheet.model()->title(8), QStringLiteral("Tampal"));

    pick(QStringLiteral("Diselit Wiper"));
    EXPECT_EQ(rec(Key::kompaunCaraPenyerahanID), QStringLiteral("4"));
    EXPECT_EQ(rec(Key::kompaunCaraPenyerahan), QStringLiteral("DISELIT WIPER"));
    EXPECT_EQ(form.caraPenyerahan()->text(), QStringLiteral("DISELIT WIPER"));

    // Cancelled: the code stays, the name is written again from what the field shows.
    record()->insert(Key::kompaunCaraPenyerahan, QString());
    form.caraPenyerahanDropDown();
    sheet.cancel();
    EXPECT_FALSE(sheet.isOpen());
    EXPECT_EQ(rec(Key::kompaunCaraPenyerahanID), QStringLiteral("4"));
    EXPECT_EQ(rec(Key::kompaunCaraPenyerahan), QStringLiteral("DISELIT WIPER"));
}

TEST_F(PickListTest, StreetKeepsTheNameAfterTheFirstDashOnly) {
    TextField street;
    core.openDropDownList({{QStringLiteral("J12-JALAN MERANTI 3"), QStringLiteral("J12")},
                           {QStringLiteral("J06-Jalan Telukmerbau-Banting"), QStringLiteral("J06")}},
                          QStringLiteral("Lokasi"), &street, QStringLiteral("lokasiJalanID"));
    pick(QStringLiteral("J12-JALAN MERANTI 3"));
    EXPECT_EQ(street.text(), QStringLiteral("JALAN MERANTI 3"));
    EXPECT_EQ(rec(Key::lokasiJalan), QStringLiteral("JALAN MERANTI 3"));
    EXPECT_EQ(rec(Key::lokasiJalanID), QStringLiteral("J12"));

    // From the shipped streets, through the form: a name holding a dash keeps it, upper-cased.
    LokasiViewController form;
    show(form);
    form.kawasanGestureDropDown();
    EXPECT_EQ(sheet.title(), QStringLiteral("Kawasan"));
    pick(QStringLiteral("PUSAT BANDAR TELUKMERBAU"));
    EXPECT_EQ(rec(Key::lokasiKawasanID), QStringLiteral("K01"));
    EXPECT_EQ(rec(Key::lokasiKawasan), QStringLiteral("PUSAT BANDAR TELUKMERBAU"));
    form.lokasiLabelDropDown();
    EXPECT_EQ(sheet.title(), QStringLiteral("Lokasi"));
    EXPECT_EQ(sheet.model()->title(0), QStringLiteral("J01-JALAN BESAR"));
    pick(QStringLiteral("J06-JALAN TELUKMERBAU-BANTING"));
    EXPECT_EQ(form.lokasiJalan()->text(), QStringLiteral("JALAN TELUKMERBAU-BANTING"));
    EXPECT_EQ(rec(Key::lokasiJalan), QStringLiteral("JALAN TELUKMERBAU-BANTING"));
    EXPECT_EQ(rec(Key::lokasiJalanID), QStringLiteral("J06"));

    // Another area leaves the street chosen; its list then holds only that area's streets.
    form.kawasanGestureDropDown();
    pick(QStringLiteral("TAMAN MERANTI"));
    EXPECT_EQ(rec(Key::lokasiJalan), QStringLiteral("JALAN TELUKMERBAU-BANTING"));
    form.lokasiLabelDropDown();
    EXPECT_EQ(rowOf(QStringLiteral("J01-JALAN BESAR")), -1);
    EXPECT_GE(rowOf(QStringLiteral("J12-JALAN MERANTI 12")), 0);
    sheet.cancel();
}

TEST_F(PickListTest, WitnessThenAreaKeepsTheWitnessIdentityCard) {
    LokasiViewController form;
    show(form);
    EXPECT_TRUE(form.witnessVisible());
    form.getSaksiPenguatkuasaList();
    EXPECT_EQ(sheet.title(), QStringLiteral("Saksi Penguatkuasa"));
    // Active officers only, by name.
    EXPECT_EQ(sheet.model()->title(0), QStringLiteral("AHMAD FAUZI BIN ISMAIL"));
    EXPECT_EQ(rowOf(QStringLiteral("RAJESH A/L MUNIANDY")) >= 0, true);
    pick(QStringLiteral("NORHAYATI BINTI ABDULLAH"));
    EXPECT_EQ(form.namaSaksi()->text(), QStringLiteral("NORHAYATI BINTI ABDULLAH"));
    EXPECT_EQ(form.icSaksi()->text(), QStringLiteral("870722105344"));
    EXPECT_EQ(rec(Key::namaSaksi), QStringLiteral("870722105344"));
    EXPECT_EQ(rec(Key::lokasiNamaSaksi), QStringLiteral("NORHAYATI BINTI ABDULLAH"));
    EXPECT_EQ(rec(Key::lokasiICSaksi), QStringLiteral("870722105344"));

    form.kawasanGestureDropDown();
    pick(QStringLiteral("TAMAN MERANTI"));
    EXPECT_EQ(form.icSaksi()->text(), QStringLiteral("870722105344"));
    EXPECT_EQ(rec(Key::lokasiICSaksi), QStringLiteral("870722105344"));
    EXPECT_EQ(form.kawasan()->text(), QStringLiteral("TAMAN MERANTI"));
}

TEST_F(PickListTest, OneListAtATime) {
    MaklumatPersalahViewController offender;
    LokasiViewController place;
    show(offender);
    show(place);

    // A second list asked for while the area list shows is refused; the area list still answers.
    place.kawasanGestureDropDown();
    offender.negeri1Exe();
    place.getSaksiPenguatkuasaList();
    EXPECT_EQ(sheet.title(), QStringLiteral("Kawasan"));
    EXPECT_EQ(core.currentType(), QStringLiteral("lokasiKawasanID"));
    pick(QStringLiteral("TAMAN MERANTI"));
    EXPECT_EQ(rec(Key::lokasiKawasanID), QStringLiteral("K02"));
    EXPECT_EQ(place.kawasan()->text(), QStringLiteral("TAMAN MERANTI"));
    EXPECT_EQ(place.icSaksi()->text(), QString()); // the refused witness list named no code field
    EXPECT_EQ(offender.butiranNegeri()->text(), QString());
    EXPECT_EQ(rec(Key::negeriPesalahID), QString());
    EXPECT_FALSE(record()->contains(Key::namaSaksi));

    // Closed twice: the second close writes nothing; a pick with no list open writes nothing.
    place.kawasanGestureDropDown();
    sheet.cancel();
    place.kawasan()->setText(QStringLiteral("typed after closing"));
    sheet.cancel();
    core.onClose();
    core.setTextField(QStringLiteral("JOHOR"), QStringLiteral("1"));
    EXPECT_EQ(rec(Key::lokasiKawasan), QStringLiteral("TAMAN MERANTI"));
    EXPECT_EQ(place.kawasan()->text(), QStringLiteral("typed after closing"));
    EXPECT_EQ(rec(Key::lokasiKawasanID), QStringLiteral("K02"));

    // A second row tapped before the sheet went picks nothing more.
    offender.negeri1Exe();
    EXPECT_EQ(sheet.title(), QStringLiteral("Negeri"));
    const int selangor = rowOf(QStringLiteral("SELANGOR"));
    const int johor = rowOf(QStringLiteral("JOHOR"));
    core.setTextField(QStringLiteral("SELANGOR"), QStringLiteral("10"));
    core.setTextField(QStringLiteral("JOHOR"), QStringLiteral("1"));
    ASSERT_GE(selangor, 0);
    ASSERT_GE(johor, 0);
    sheet.didSelectRow(johor);
    EXPECT_EQ(rec(Key::negeriPesalahID), QStringLiteral("10"));
    EXPECT_EQ(rec(Key::negeriPesalah), QStringLiteral("SELANGOR"));
    EXPECT_EQ(offender.butiranNegeri()->text(), QStringLiteral("SELANGOR"));

    // A list opened for one record answers into that record even if a new one is started meanwhile.
    const Record first = record();
    KenderaanTabViewController vehicle;
    show(vehicle);
    vehicle.jenisWarDroTaps();
    core.saveDictionaryInit();
    pick(QStringLiteral("MERAH"));
    EXPECT_EQ(first->value(Key::kenderaanJenisWarna), QStringLiteral("MERAH"));
    EXPECT_EQ(rec(Key::kenderaanJenisWarnaID), QString());
    EXPECT_EQ(rec(Key::kenderaanJenisWarna), QString());
}

TEST_F(PickListTest, SheetThatGoesWhileOpenLetsTheNextListOpen) {
    KompounViewController form;
    show(form);
    {
        DropDownMenuViewController other;
        sheet.setContext(nullptr);
        other.setContext(&context);
        form.caraPenyerahanDropDown();
        EXPECT_TRUE(other.isOpen());
    }
    sheet.setContext(&context);
    EXPECT_FALSE(core.isDropDownListOpen());
    form.caraPenyerahanDropDown();
    EXPECT_TRUE(sheet.isOpen());
    pick(QStringLiteral("Tampal"));
    EXPECT_EQ(rec(Key::kompaunCaraPenyerahan), QStringLiteral("TAMPAL"));
}

} // namespace
