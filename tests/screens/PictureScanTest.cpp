// "Imbas MyKad" and "Imbas Plat" on the forms, with a reader that answers what the test says: the
// fields filled and marked, the postcode's town, the mark gone once typed over, and the refusal.
#include "ScreensFixture.h"
#include "screens/forms/KenderaanTabViewController.h"
#include "screens/forms/MaklumatPersalahViewController.h"

#include <QImage>
#include <QTest>

namespace {

class PictureScanTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        QImage picture(64, 40, QImage::Format_RGB32);
        picture.fill(Qt::white);
        ASSERT_TRUE(picture.save(dir.filePath(QStringLiteral("gambar.png"))));
    }
    // The button, then the scan folder's one picture, then the reading delivered.
    void scan(FormViewController& form, const QString& button, PictureScan& scanner) {
        form.action(button);
        ASSERT_TRUE(scanner.picturesShown());
        ASSERT_EQ(scanner.pictures()->title(0), QStringLiteral("gambar.png"));
        const qsizetype alerts = fakes.alerts.shown.size();
        const QString before = form.field(Key::noKadPengenalanPesalah)
                                   ? form.field(Key::noKadPengenalanPesalah)->text()
                                   : form.field(Key::kenderaanNoKenderaan)->text();
        scanner.pictureChosen(0);
        EXPECT_FALSE(scanner.picturesShown());
        // Delivered on this thread once the worker is done: either a field changes or an alert shows.
        ASSERT_TRUE(QTest::qWaitFor([&] {
            const QString now = form.field(Key::noKadPengenalanPesalah)
                                    ? form.field(Key::noKadPengenalanPesalah)->text()
                                    : form.field(Key::kenderaanNoKenderaan)->text();
            return now != before || fakes.alerts.shown.size() > alerts;
        }));
    }
};

TEST_F(PictureScanTest, CardFillsItsFieldsMarkedUntilTypedOver) {
    MaklumatPersalahViewController form;
    show(form);
    typeInto(form, form.field(Key::alamat2Pesalah), QStringLiteral("taman lama"));
    services.textReader.card = {QStringLiteral("880514105123"), QStringLiteral("TAN AH KOW"),
                                QStringLiteral("NO 12 JALAN MERANTI 3"), QString(), QStringLiteral("42700")};
    const qsizetype alerts = fakes.alerts.shown.size();
    scan(form, QStringLiteral("imbasMyKad"), *form.scan());

    // The postcode fills town and state as typing does; a part not read keeps what was typed.
    expectRecord({{Key::noKadPengenalanPesalah, "880514105123"},
                  {Key::namaPesalah, "TAN AH KOW"},
                  {Key::alamat1Pesalah, "NO 12 JALAN MERANTI 3"},
                  {Key::alamat2Pesalah, "TAMAN LAMA"},
                  {Key::poskodPesalah, "42700"},
                  {Key::alamat3Pesalah, "BANTING"},
                  {Key::negeriPesalah, "SELANGOR"}});
    FormFieldModel& rows = *form.fields();
    EXPECT_TRUE(rows.fromPicture(Key::noKadPengenalanPesalah));
    EXPECT_TRUE(rows.fromPicture(Key::namaPesalah));
    EXPECT_FALSE(rows.fromPicture(Key::alamat2Pesalah));
    EXPECT_FALSE(rows.fromPicture(Key::alamat3Pesalah));
    EXPECT_EQ(fakes.alerts.shown.size(), alerts) << lastAlert();

    // The end of editing upper-cases what is already upper case: still as read. Typing over: not.
    typeInto(form, form.field(Key::namaPesalah), QStringLiteral("TAN AH KOW"));
    EXPECT_TRUE(rows.fromPicture(Key::namaPesalah));
    typeInto(form, form.field(Key::noKadPengenalanPesalah), QStringLiteral("880514105124"));
    EXPECT_FALSE(rows.fromPicture(Key::noKadPengenalanPesalah));
}

TEST_F(PictureScanTest, NothingReadSaysSoAndChangesNothing) {
    MaklumatPersalahViewController offender;
    show(offender);
    typeInto(offender, offender.field(Key::namaPesalah), QStringLiteral("ali"));
    services.textReader.card = {};
    scan(offender, QStringLiteral("imbasMyKad"), *offender.scan());
    EXPECT_EQ(lastAlert(), "Gagal: Maklumat tidak dapat dibaca. Sila taip. [OK]");
    expectRecord({{Key::namaPesalah, "ALI"}, {Key::noKadPengenalanPesalah, ""}});

    KenderaanTabViewController vehicle;
    show(vehicle);
    typeInto(vehicle, vehicle.field(Key::kenderaanNoKenderaan), QStringLiteral("bkt 4411"));
    services.textReader.plate = {};
    fakes.alerts.shown.clear();
    scan(vehicle, QStringLiteral("imbasPlat"), *vehicle.scan());
    EXPECT_EQ(lastAlert(), "Gagal: Maklumat tidak dapat dibaca. Sila taip. [OK]");
    expectRecord({{Key::kenderaanNoKenderaan, "BKT 4411"}});
}

TEST_F(PictureScanTest, PlateFillsTheNumberAsTyped) {
    KenderaanTabViewController vehicle;
    show(vehicle);
    services.textReader.plate = {QStringLiteral("WA 7733 H")};
    scan(vehicle, QStringLiteral("imbasPlat"), *vehicle.scan());
    expectRecord({{Key::kenderaanNoKenderaan, "WA 7733 H"}});
    EXPECT_TRUE(vehicle.fields()->fromPicture(Key::kenderaanNoKenderaan));
}

} // namespace
