#include "Flows.h"
#include "Gallery.h"
#include "Issuing.h"
#include "Walkthrough.h"
#include "app/Application.h"
#include "core/AppDelegate.h"
#include "core/RecordKeys.h"
#include "platform/QtAlerts.h"

#include <QQuickItem>

// Compounds issued through the window, as an officer issues them: from the type menu (a general and a
// traffic compound, each first refused on an empty form), the after-print menu's three choices, and one
// from a favourite, each with photographs from the gallery. The notices land in the printer emulator.

void compoundFlow(Walkthrough& w) {
    Issuing s(w);
    const Gallery& gallery = w.gallery();
    Officer& officer = s.officer;
    QtAlerts& alerts = s.alerts;
    const auto semakSays = [&](const QString& message) {
        return Walkthrough::expectAlert(alerts, QStringLiteral("Makluman"), message);
    };

    w.step(
        QStringLiteral("issue-general-empty"),
        [&] {
            s.start(2);
            officer.tap(QStringLiteral("semakButton"));
        },
        [&] { return semakSays(QStringLiteral("Sila Masukkan IC Pesalah atau No Daftar Syarikat!")); });

    w.step(
        QStringLiteral("issue-general-name-missing"),
        [&] {
            officer.tap(QStringLiteral("alertButton0"));
            officer.type(QStringLiteral("noKadPengenalanPesalahField"), QStringLiteral("880514105123"));
            officer.tap(QStringLiteral("semakButton"));
        },
        [&] { return semakSays(QStringLiteral("Sila Masukkan Nama Pesalah!")); });

    QString first;
    w.step(
        QStringLiteral("issue-general-review"),
        [&] {
            officer.tap(QStringLiteral("alertButton0"));
            s.offender(QStringLiteral("880514105123"), QStringLiteral("tan ah kow"),
                       QStringLiteral("no 12, jalan meranti 3"));
            s.photographs({gallery.wide, gallery.tall});
            first = s.number();
            officer.tap(QStringLiteral("semakButton"));
            officer.settle();
        },
        [&]() -> QString {
            if (alerts.visible())
                return QStringLiteral("alert: %1").arg(alerts.message());
            if (s.shownText(QStringLiteral("review_noKompaun")) != first)
                return QStringLiteral("the review shows number \"%1\"")
                    .arg(s.shownText(QStringLiteral("review_noKompaun")));
            return s.shownText(QStringLiteral("review_namaPenerima")) == QLatin1String("TAN AH KOW")
                       ? QString()
                       : QStringLiteral("the review shows no offender");
        });

    QString receipt;
    QString problem;
    const int before = s.stored();
    w.step(
        QStringLiteral("issue-general-printed"),
        [&] { problem = s.confirmAndPrint(QStringLiteral("issue-general"), receipt); },
        [&]() -> QString {
            if (!problem.isEmpty())
                return problem;
            if (s.stored() != before + 1)
                return QStringLiteral("%1 compounds waiting, expected %2").arg(s.stored()).arg(before + 1);
            return s.lastStored(first, receipt);
        });

    w.step(
        QStringLiteral("issue-general-cetak-kembali"),
        [&] {
            officer.tap(QStringLiteral("alertButton1"));
            receipt = w.collectReceipt(QStringLiteral("issue-general-again"));
            Officer::waitUntil([&] { return s.menuShowing(); });
        },
        [&]() -> QString {
            if (s.stored() != before + 1)
                return QStringLiteral("printing again stored the compound again");
            return s.lastStored(first, receipt);
        });

    QString second;
    w.step(
        QStringLiteral("issue-general-guna-kembali"),
        [&] {
            officer.tap(QStringLiteral("alertButton2"));
            officer.settle();
            second = s.number();
        },
        [&]() -> QString {
            if (!officer.isShowing(QStringLiteral("formSetView")) ||
                officer.isShowing(QStringLiteral("reviewView")))
                return QStringLiteral("not back on the forms");
            if (second == first || second.isEmpty())
                return QStringLiteral("the next compound has number \"%1\"").arg(second);
            if (!s.core.getImageArray().isEmpty())
                return QStringLiteral("the photographs of %1 are still there").arg(first);
            return s.shownText(QStringLiteral("namaPesalahField")).isEmpty()
                       ? QString()
                       : QStringLiteral("the offender stayed");
        });

    w.step(
        QStringLiteral("issue-general-second-offender"),
        [&] {
            s.offender(QStringLiteral("900101105555"), QStringLiteral("lim bee ling"),
                       QStringLiteral("no 3, jalan bayu"));
            s.photographs({gallery.tall, gallery.another});
            officer.tap(QStringLiteral("semakButton"));
            officer.settle();
            problem = s.confirmAndPrint(QStringLiteral("issue-general-second"), receipt);
        },
        [&]() -> QString {
            if (!problem.isEmpty())
                return problem;
            return s.lastStored(second, receipt);
        });

    w.step(
        QStringLiteral("issue-general-ke-utama"),
        [&] {
            officer.tap(QStringLiteral("alertButton0"));
            officer.settle();
        },
        [&]() -> QString {
            return officer.isShowing(QStringLiteral("firstView")) ? QString()
                                                                  : QStringLiteral("not on the type menu");
        });

    w.step(
        QStringLiteral("issue-traffic-empty"),
        [&] {
            s.start(0);
            officer.tap(QStringLiteral("semakButton"));
        },
        [&] { return semakSays(QStringLiteral("Sila Masukkan No Kenderaan!")); });

    w.step(
        QStringLiteral("issue-traffic-place-missing"),
        [&] {
            officer.tap(QStringLiteral("alertButton0"));
            officer.type(QStringLiteral("kenderaanNoKenderaanField"), QStringLiteral("bkl 8812"));
            officer.tap(QStringLiteral("semakButton"));
        },
        [&] { return semakSays(QStringLiteral("Sila Masukkan Maklumat Lokasi Kesalahan")); });

    QString traffic;
    w.step(
        QStringLiteral("issue-traffic-review"),
        [&] {
            officer.tap(QStringLiteral("alertButton0"));
            officer.tap(QStringLiteral("formTab2"));
            officer.settle();
            officer.type(QStringLiteral("lokasiTempatKejadianField"), QStringLiteral("depan bank islam"));
            s.photographs({gallery.another});
            traffic = s.number();
            officer.tap(QStringLiteral("semakButton"));
            officer.settle();
        },
        [&]() -> QString {
            if (alerts.visible())
                return QStringLiteral("alert: %1").arg(alerts.message());
            return s.shownText(QStringLiteral("review_noKenderaan")) == QLatin1String("BKL 8812")
                       ? QString()
                       : QStringLiteral("the review shows vehicle \"%1\"")
                             .arg(s.shownText(QStringLiteral("review_noKenderaan")));
        });

    w.step(
        QStringLiteral("issue-traffic-printed"),
        [&] { problem = s.confirmAndPrint(QStringLiteral("issue-traffic"), receipt); },
        [&]() -> QString { return !problem.isEmpty() ? problem : s.lastStored(traffic, receipt); });
    officer.tap(QStringLiteral("alertButton0"));

    // A favourite kept earlier from the hawkers' by-law: two taps to its forms.
    QString favourite;
    w.step(
        QStringLiteral("issue-favourite-forms"),
        [&] {
            officer.tap(QStringLiteral("tab1"));
            officer.settle();
            officer.choose(QStringLiteral("favRow0"));
            officer.settle();
            favourite = s.number();
        },
        [&]() -> QString {
            if (!officer.isShowing(QStringLiteral("formSetView")))
                return QStringLiteral("the favourite did not open the forms");
            if (favourite == traffic)
                return QStringLiteral("the favourite kept the number of the compound printed last");
            return s.core.saveDictionary()->value(Key::isLaluLintas) == QLatin1String("TIDAK")
                       ? QString()
                       : QStringLiteral("a hawker's compound marked as traffic");
        });

    w.step(
        QStringLiteral("issue-favourite-printed"),
        [&] {
            s.offender(QStringLiteral("750303086011"), QStringLiteral("muthu a/l rajan"),
                       QStringLiteral("gerai 4, pasar awam"));
            s.photographs({gallery.wide, gallery.another, gallery.tall});
            officer.tap(QStringLiteral("semakButton"));
            officer.settle();
            problem = s.confirmAndPrint(QStringLiteral("issue-favourite"), receipt, QStringLiteral("YA"));
        },
        [&]() -> QString { return !problem.isEmpty() ? problem : s.lastStored(favourite, receipt); });

    w.step(
        QStringLiteral("issue-favourite-ke-utama"),
        [&] {
            officer.tap(QStringLiteral("alertButton0"));
            officer.settle();
        },
        [&]() -> QString {
            return officer.isShowing(QStringLiteral("favView"))
                       ? QString()
                       : QStringLiteral("not back on the favourites");
        });
}
