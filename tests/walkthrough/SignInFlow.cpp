#include "Flows.h"
#include "Walkthrough.h"
#include "app/Application.h"
#include "core/AppDelegate.h"
#include "platform/QtAlerts.h"
#include "platform/QtProgress.h"
#include "screens/LoginViewController.h"
#include "screens/ShellController.h"

// A new phone: the unregistered layout, registration, the officer update, a wrong password, a sign-in,
// each tab, and sign-out asked, cancelled, then done.
void signInFlow(Walkthrough& w) {
    Application& app = w.app();
    Officer& officer = w.officer();
    LoginViewController& login = app.login();
    ShellController& shell = app.shell();
    QtAlerts& alerts = app.alerts();
    QtProgress& progress = app.progress();
    const auto answered = [&] { return alerts.visible() && !progress.visible(); };

    w.step(
        QStringLiteral("start-up-unregistered-login"), [] {},
        [&]() -> QString {
            if (login.registeredLayout())
                return QStringLiteral("a fresh phone shows the registered layout");
            return Walkthrough::expectAlert(alerts, QStringLiteral("Notifikasi"),
                                            QStringLiteral("Device Belum Daftar : Sila Daftar Dahulu."));
        });
    w.step(
        QStringLiteral("unregistered-layout"), [&] { officer.tap(QStringLiteral("alertButton0")); },
        [&]() -> QString {
            if (alerts.visible())
                return QStringLiteral("the alert did not close");
            return login.iphoneID() == QLatin1String("XXX") && login.runningNumber() == QLatin1String("XXX")
                       ? QString()
                       : QStringLiteral("labels are not XXX");
        });

    w.step(
        QStringLiteral("register-device"),
        [&] {
            officer.type(QStringLiteral("deviceIDField"), w.deviceId());
            officer.tap(QStringLiteral("btnDaftarDevice"));
            Officer::waitUntil(answered);
        },
        [&] {
            return Walkthrough::expectAlert(alerts, QStringLiteral("Notifikasi"),
                                            QStringLiteral("Berjaya mendaftar device."));
        });

    // The registered layout appears when the login screen is next loaded, at the next start.
    w.step(
        QStringLiteral("registered-layout-at-next-start"),
        [&] {
            officer.tap(QStringLiteral("alertButton0"));
            login.viewDidLoad();
        },
        [&]() -> QString {
            if (!login.registeredLayout() || !officer.isShowing(QStringLiteral("userIDField")))
                return QStringLiteral("registered phone shows the registration layout");
            if (login.iphoneID() != w.deviceId())
                return QStringLiteral("device id shows %1").arg(login.iphoneID());
            if (w.ownCouncil() && login.runningNumber() != QLatin1String("120"))
                return QStringLiteral("running number %1, the council holds 120").arg(login.runningNumber());
            return {};
        });

    w.step(
        QStringLiteral("update-officers"),
        [&] {
            officer.tap(QStringLiteral("kemaskiniPengguna"));
            Officer::waitUntil(answered);
        },
        [&] {
            return Walkthrough::expectAlert(
                alerts, QStringLiteral("Notifikasi"),
                QStringLiteral("Berjaya mengemaskini penguat kuasa. Sila masukkan id dan kata laluan "
                               "anda. Jika masih tidak berjaya sila semak dgn pihak pengerusan IT "
                               "anda."));
        });

    w.step(
        QStringLiteral("wrong-password"),
        [&] {
            officer.tap(QStringLiteral("alertButton0"));
            officer.type(QStringLiteral("userIDField"), w.staffCode());
            officer.type(QStringLiteral("passwordField"), QStringLiteral("salah"));
            officer.tap(QStringLiteral("btn"));
        },
        [&]() -> QString {
            if (shell.signedIn())
                return QStringLiteral("signed in with a wrong password");
            return Walkthrough::expectAlert(
                alerts, QStringLiteral("Notifikasi"),
                QStringLiteral("ID pengguna atau password tidak betul. Sila cuba sekali lagi"));
        });

    w.step(
        QStringLiteral("sign-in"),
        [&] {
            officer.tap(QStringLiteral("alertButton0"));
            officer.type(QStringLiteral("passwordField"), w.password());
            officer.tap(QStringLiteral("btn"));
        },
        [&]() -> QString {
            if (!shell.signedIn() || !officer.isShowing(QStringLiteral("tabShell")))
                return QStringLiteral("not signed in");
            return app.app().getUserGlobalID().value(QStringLiteral("kod_pekerja")) == w.staffCode()
                       ? QString()
                       : QStringLiteral("wrong officer record");
        });

    const QStringList tabNames{QStringLiteral("tab-jenis-kompaun"), QStringLiteral("tab-simpanan"),
                               QStringLiteral("tab-dicetak"), QStringLiteral("tab-scan"),
                               QStringLiteral("tab-pencetak")};
    const QStringList rootScreens{QStringLiteral("firstView"), QStringLiteral("favView"),
                                  QStringLiteral("secondView"), QStringLiteral("lesenView"),
                                  QStringLiteral("printerScreen")};
    for (int tab = 0; tab < tabNames.size(); ++tab) {
        w.step(
            tabNames[tab], [&, tab] { officer.tap(QStringLiteral("tab%1").arg(tab)); },
            [&, tab]() -> QString {
                if (shell.currentIndex() != tab || !officer.isShowing(rootScreens[tab]))
                    return QStringLiteral("tab %1 not showing %2").arg(tab).arg(rootScreens[tab]);
                return app.app().getPreviewIndcator() == (tab == ShellController::Dicetak)
                           ? QString()
                           : QStringLiteral("preview mode wrong on tab %1").arg(tab);
            });
    }

    w.step(
        QStringLiteral("sign-out-question"),
        [&] {
            officer.tap(QStringLiteral("tab0"));
            officer.tap(QStringLiteral("logKeluarButton"));
        },
        [&] {
            return Walkthrough::expectAlert(alerts, QStringLiteral("Kepastian"),
                                            QStringLiteral("Adakah anda pasti untuk log keluar ?"));
        });
    w.step(
        QStringLiteral("sign-out-cancelled"), [&] { officer.tap(QStringLiteral("alertButton0")); },
        [&] { return shell.signedIn() ? QString() : QStringLiteral("Batal signed out"); });
    w.step(
        QStringLiteral("signed-out"),
        [&] {
            officer.tap(QStringLiteral("logKeluarButton"));
            officer.tap(QStringLiteral("alertButton1"));
        },
        [&]() -> QString {
            if (shell.signedIn() || !officer.isShowing(QStringLiteral("loginScreen")))
                return QStringLiteral("still signed in");
            return login.userID()->text().isEmpty() && login.password()->text().isEmpty()
                       ? QString()
                       : QStringLiteral("sign-in fields not emptied");
        });
}
