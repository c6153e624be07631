#include "Flows.h"
#include "Walkthrough.h"
#include "app/Application.h"
#include "core/AppDelegate.h"
#include "core/RecordKeys.h"
#include "platform/QtAlerts.h"
#include "platform/QtProgress.h"
#include "screens/NavigationStack.h"
#include "screens/ShellController.h"

#include <QQuickItem>

namespace {

// A fresh compound as the officer starts one: back to the type menu, then a type (the first row is the
// traffic one), its first act and first section, which opens the form set.
void startCompound(Walkthrough& w, bool traffic) {
    Officer& officer = w.officer();
    NavigationStack& stack = *w.app().shell().stack(ShellController::JenisKompaun);
    while (stack.depth() > 1 && officer.tap(QStringLiteral("backButton"))) {
    }
    officer.choose(QStringLiteral("jenisKompaunRow%1").arg(traffic ? 0 : 2));
    officer.choose(QStringLiteral("kesalahanRow0"));
    officer.choose(QStringLiteral("kategoriRow0"));
}

// One form of the form set, by its tab: the traffic set has no offender form and starts with the vehicle.
void openForm(Walkthrough& w, const QString& screen) {
    const bool traffic = w.app().app().getLaluLintas();
    const QStringList order =
        traffic ? QStringList{QStringLiteral("KenderaanTabView.qml"), QStringLiteral("KompounView.qml"),
                              QStringLiteral("LokasiView.qml")}
                : QStringList{QStringLiteral("MaklumatPersalahView.qml"), QStringLiteral("KompounView.qml"),
                              QStringLiteral("LokasiView.qml"), QStringLiteral("KenderaanTabView.qml")};
    w.officer().tap(QStringLiteral("formTab%1").arg(order.indexOf(screen)));
}

// Picks the row with that label from the open list by tapping it.
bool pickRow(Walkthrough& w, const QString& label) {
    const PickList items = w.app().app().getDropListArray();
    for (int i = 0; i < items.size(); ++i)
        if (items[i].label == label)
            return w.officer().choose(QStringLiteral("pickRow%1").arg(i), label);
    w.line(QStringLiteral("  (no row %1 in the open list)").arg(label));
    return false;
}

QString fieldText(Officer& officer, const QString& name) {
    QQuickItem* item = officer.find(name);
    return item ? item->property("text").toString() : QStringLiteral("<%1 not showing>").arg(name);
}

// The record keys and values expected; an empty text when they all hold.
QString expect(const Record& record, const QList<std::pair<QLatin1String, QString>>& values) {
    QStringList wrong;
    for (const auto& [key, value] : values)
        if (record->value(key) != value)
            wrong.append(QStringLiteral("%1=\"%2\" (not \"%3\")").arg(key, record->value(key), value));
    return wrong.join(QStringLiteral(", "));
}

} // namespace

// The four issuing forms of a general and of a traffic compound, filled by taps and typing: postcode
// lookups, the pick lists, "Sama seperti di atas", the position capture; forms left and entered again.
void formsFlow(Walkthrough& w) {
    Application& app = w.app();
    Officer& officer = w.officer();
    AppDelegate& core = app.app();
    const auto record = [&] { return core.saveDictionary(); };
    const auto attachRecord = [&](const QString& step) {
        w.attachRecord(step + QStringLiteral(".record.json"), *record());
    };

    w.step(
        QStringLiteral("forms-offender"),
        [&] {
            officer.type(QStringLiteral("userIDField"), w.staffCode());
            officer.type(QStringLiteral("passwordField"), w.password());
            officer.tap(QStringLiteral("btn"));
            officer.tap(QStringLiteral("tab0"));
            startCompound(w, false);
            openForm(w, QStringLiteral("MaklumatPersalahView.qml"));
            officer.settle();
            officer.type(QStringLiteral("noKadPengenalanPesalahField"), QStringLiteral("880514105123"));
            officer.type(QStringLiteral("namaPesalahField"), QStringLiteral("tan ah kow"));
            officer.type(QStringLiteral("alamat1PesalahField"), QStringLiteral("no 12, jalan meranti 3"));
            officer.type(QStringLiteral("alamat2PesalahField"), QStringLiteral("taman meranti"));
            officer.type(QStringLiteral("poskodPesalahField"), QStringLiteral("42700"));
            officer.key(Qt::Key_Return, QStringLiteral("Return"));
            attachRecord(QStringLiteral("forms-offender"));
        },
        [&]() -> QString {
            if (fieldText(officer, QStringLiteral("alamat3PesalahField")) != QLatin1String("BANTING"))
                return QStringLiteral("the postcode did not fill the town");
            return expect(record(), {{Key::namaPesalah, QStringLiteral("TAN AH KOW")},
                                     {Key::alamat1Pesalah, QStringLiteral("NO 12, JALAN MERANTI 3")},
                                     {Key::alamat3Pesalah, QStringLiteral("BANTING")},
                                     {Key::negeriPesalah, QStringLiteral("SELANGOR")},
                                     {Key::negeriPesalahID, QStringLiteral("10")},
                                     {Key::pilihanIndividuAtauSyarikat, QStringLiteral("individu")}});
        });

    w.step(
        QStringLiteral("forms-state-list"), [&] { officer.tap(QStringLiteral("negeriPenerimaPick")); },
        [&]() -> QString {
            if (!officer.isShowing(QStringLiteral("pickList")) ||
                fieldText(officer, QStringLiteral("pickTitle")) != QLatin1String("Negeri"))
                return QStringLiteral("the state list is not showing");
            return officer.isShowing(QStringLiteral("pickRow0")) ? QString() : QStringLiteral("no rows");
        });

    w.step(
        QStringLiteral("forms-recipient-same-as-above"),
        [&] {
            pickRow(w, QStringLiteral("JOHOR"));
            officer.tap(QStringLiteral("samaDiatasButton"));
            attachRecord(QStringLiteral("forms-recipient-same-as-above"));
        },
        [&]() -> QString {
            if (officer.isShowing(QStringLiteral("pickList")))
                return QStringLiteral("the list stayed open");
            return expect(record(), {{Key::namaPenerima, QStringLiteral("TAN AH KOW")},
                                     {Key::alamat2Penerima, QStringLiteral("TAMAN MERANTI")},
                                     {Key::poskodPenerima, QStringLiteral("42700")},
                                     {Key::negeriPenerima, QStringLiteral("SELANGOR")},
                                     {Key::negeriPenerimaID, QStringLiteral("10")}});
        });

    w.step(
        QStringLiteral("forms-compound"),
        [&] {
            openForm(w, QStringLiteral("KompounView.qml"));
            officer.settle();
            officer.tap(QStringLiteral("kompaunCaraPenyerahanPick"));
            pickRow(w, QStringLiteral("Diselit Wiper"));
            officer.type(QStringLiteral("kompaunButiranKesalahanField"),
                         QStringLiteral("meletak kenderaan di petak kuning"));
            officer.type(QStringLiteral("kompaunLamaField"), QStringLiteral("tiada"));
            officer.key(Qt::Key_Return, QStringLiteral("Return"));
            attachRecord(QStringLiteral("forms-compound"));
        },
        [&]() -> QString {
            if (record()->value(Key::kompaunMasa).size() != 5)
                return QStringLiteral("no time of issue stamped");
            if (!fieldText(officer, QStringLiteral("kompaunTarikhField"))
                     .endsWith(record()->value(Key::kompaunMasa)))
                return QStringLiteral("the date field shows no time");
            return expect(record(), {{Key::kompaunCaraPenyerahan, QStringLiteral("DISELIT WIPER")},
                                     {Key::kompaunCaraPenyerahanID, QStringLiteral("4")},
                                     {Key::kompaunButiranKesalahan,
                                      QStringLiteral("MELETAK KENDERAAN DI PETAK KUNING")},
                                     {Key::kompaunLama, QStringLiteral("TIADA")}});
        });

    QString capturedLat;
    PickItem witness;
    w.step(
        QStringLiteral("forms-location"),
        [&] {
            openForm(w, QStringLiteral("LokasiView.qml"));
            officer.settle();
            officer.tap(QStringLiteral("samaSptAlamatButton"));
            officer.tap(QStringLiteral("lokasiKawasanPick"));
            pickRow(w, QStringLiteral("PUSAT BANDAR TELUKMERBAU"));
            officer.tap(QStringLiteral("lokasiJalanPick"));
            pickRow(w, QStringLiteral("J06-JALAN TELUKMERBAU-BANTING"));
            officer.type(QStringLiteral("lokasiNoPetakField"), QStringLiteral("b12"));
            officer.tap(QStringLiteral("lokasiNamaSaksiPick"));
            // The officers are the council's, as the officer update fetched them: the second of the list.
            witness = core.getDropListArray().value(1);
            pickRow(w, witness.label);
            officer.tap(QStringLiteral("captureLatLongButton"));
            Officer::waitUntil([&] { return !app.progress().visible(); }, 10000);
            officer.settle();
            capturedLat = fieldText(officer, QStringLiteral("latField"));
            attachRecord(QStringLiteral("forms-location"));
        },
        [&]() -> QString {
            if (!officer.isShowing(QStringLiteral("lokasiICSaksiField")))
                return QStringLiteral("a general compound hides the witness");
            if (witness.label.isEmpty())
                return QStringLiteral("the witness list is empty");
            if (capturedLat.isEmpty() || capturedLat == QLatin1String("-") ||
                record()->value(Key::lat) != capturedLat)
                return QStringLiteral("position \"%1\" not stored").arg(capturedLat);
            return expect(record(), {{Key::lokasiKawasan, QStringLiteral("PUSAT BANDAR TELUKMERBAU")},
                                     {Key::lokasiKawasanID, QStringLiteral("K01")},
                                     {Key::lokasiJalan, QStringLiteral("JALAN TELUKMERBAU-BANTING")},
                                     {Key::lokasiJalanID, QStringLiteral("J06")},
                                     {Key::lokasiNoPetak, QStringLiteral("B12")},
                                     {Key::lokasiNamaSaksi, witness.label.toUpper()},
                                     {Key::lokasiICSaksi, witness.code.toUpper()}});
        });

    w.step(
        QStringLiteral("forms-location-left-and-entered-again"),
        [&] {
            openForm(w, QStringLiteral("LokasiView.qml"));
            officer.settle();
            attachRecord(QStringLiteral("forms-location-left-and-entered-again"));
        },
        [&]() -> QString {
            if (fieldText(officer, QStringLiteral("latField")) != capturedLat)
                return QStringLiteral("the captured position is not shown again");
            if (fieldText(officer, QStringLiteral("lokasiJalanField")) !=
                QLatin1String("JALAN TELUKMERBAU-BANTING"))
                return QStringLiteral("the street is not shown again");
            return expect(record(), {{Key::lokasiTempatKejadian,
                                      QStringLiteral("NO 12, JALAN MERANTI 3,TAMAN MERANTI")}});
        });

    const auto fillVehicle = [&](const QString& plate, const QString& type, const QString& model,
                                 const QString& colour) {
        officer.type(QStringLiteral("kenderaanNoKenderaanField"), plate);
        officer.type(QStringLiteral("kenderaanNoCukaiJalanField"), QStringLiteral("rt88213"));
        officer.tap(QStringLiteral("kenderaanJenisKenderaanPick"));
        pickRow(w, type);
        officer.tap(QStringLiteral("kenderaanJenisModelPick"));
        pickRow(w, model);
        officer.tap(QStringLiteral("kenderaanJenisWarnaPick"));
        pickRow(w, colour);
        officer.type(QStringLiteral("kenderaanNoChasisField"), QStringLiteral("pm2m600s0k1234567"));
        officer.key(Qt::Key_Return, QStringLiteral("Return"));
    };
    w.step(
        QStringLiteral("forms-vehicle"),
        [&] {
            openForm(w, QStringLiteral("KenderaanTabView.qml"));
            officer.settle();
            fillVehicle(QStringLiteral("wxy 1234"), QStringLiteral("KERETA"), QStringLiteral("PERODUA MYVI"),
                        QStringLiteral("PUTIH"));
            attachRecord(QStringLiteral("forms-vehicle"));
        },
        [&]() -> QString {
            return expect(record(), {{Key::kenderaanNoKenderaan, QStringLiteral("WXY 1234")},
                                     {Key::kenderaanNoCukaiJalan, QStringLiteral("RT88213")},
                                     {Key::kenderaanJenisKenderaan, QStringLiteral("KERETA")},
                                     {Key::kenderaanJenisKenderaanID, QStringLiteral("1")},
                                     {Key::kenderaanJenisModel, QStringLiteral("PERODUA MYVI")},
                                     {Key::kenderaanJenisWarna, QStringLiteral("PUTIH")},
                                     {Key::kenderaanNoChasis, QStringLiteral("PM2M600S0K1234567")}});
        });

    w.step(
        QStringLiteral("forms-offender-entered-again"),
        [&] {
            openForm(w, QStringLiteral("MaklumatPersalahView.qml"));
            officer.settle();
            attachRecord(QStringLiteral("forms-offender-entered-again"));
        },
        [&]() -> QString {
            if (fieldText(officer, QStringLiteral("namaPesalahField")) != QLatin1String("TAN AH KOW"))
                return QStringLiteral("the offender is not shown again");
            return fieldText(officer, QStringLiteral("negeriPenerimaField")) == QLatin1String("SELANGOR")
                       ? QString()
                       : QStringLiteral("the recipient's state is not shown again");
        });

    // A traffic compound: the vehicle first, no witness on the location form.
    w.step(
        QStringLiteral("forms-traffic-vehicle"),
        [&] {
            startCompound(w, true);
            openForm(w, QStringLiteral("KenderaanTabView.qml"));
            officer.settle();
            fillVehicle(QStringLiteral("bkt 4411"), QStringLiteral("MOTOSIKAL"),
                        QStringLiteral("YAMAHA LC135"), QStringLiteral("HITAM"));
            attachRecord(QStringLiteral("forms-traffic-vehicle"));
        },
        [&]() -> QString {
            return expect(record(), {{Key::kenderaanNoKenderaan, QStringLiteral("BKT 4411")},
                                     {Key::kenderaanJenisKenderaan, QStringLiteral("MOTOSIKAL")},
                                     {Key::kenderaanJenisModel, QStringLiteral("YAMAHA LC135")},
                                     {Key::kenderaanJenisWarna, QStringLiteral("HITAM")},
                                     {Key::isLaluLintas, QStringLiteral("YA")}});
        });
    w.step(
        QStringLiteral("forms-traffic-compound"),
        [&] {
            openForm(w, QStringLiteral("KompounView.qml"));
            officer.settle();
            officer.tap(QStringLiteral("kompaunCaraPenyerahanPick"));
            pickRow(w, QStringLiteral("Diselit Wiper"));
            attachRecord(QStringLiteral("forms-traffic-compound"));
        },
        [&]() -> QString {
            if (record()->value(Key::kompaunMasa).size() != 5)
                return QStringLiteral("no time of issue stamped");
            return expect(record(), {{Key::kompaunCaraPenyerahanID, QStringLiteral("4")}});
        });
    w.step(
        QStringLiteral("forms-traffic-location"),
        [&] {
            openForm(w, QStringLiteral("LokasiView.qml"));
            officer.settle();
            officer.type(QStringLiteral("lokasiTempatKejadianField"), QStringLiteral("hadapan bank islam"));
            officer.tap(QStringLiteral("lokasiKawasanPick"));
            pickRow(w, QStringLiteral("TAMAN MERANTI"));
            attachRecord(QStringLiteral("forms-traffic-location"));
        },
        [&]() -> QString {
            if (officer.isShowing(QStringLiteral("lokasiNamaSaksiField")) ||
                officer.isShowing(QStringLiteral("lokasiICSaksiField")))
                return QStringLiteral("a traffic compound shows the witness");
            return expect(record(), {{Key::lokasiTempatKejadian, QStringLiteral("HADAPAN BANK ISLAM")},
                                     {Key::lokasiKawasanID, QStringLiteral("K02")}});
        });

    w.signOutStep(QStringLiteral("forms-signed-out"));
}
