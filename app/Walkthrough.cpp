#include "app/Walkthrough.h"

#include "app/Application.h"
#include "app/Settle.h"
#include "core/AppDelegate.h"
#include "platform/QtAlerts.h"
#include "screens/LoginViewController.h"
#include "screens/ShellController.h"

#include <QDir>
#include <QImage>
#include <QQuickWindow>

#include <cstdio>

namespace {

// The sample officer shipped in the reference database.
const QString sampleStaffCode = QStringLiteral("PK1001");
const QString samplePassword = QStringLiteral("merbau1001");

QString expectAlert(QtAlerts& alerts, const QString& title, const QString& message) {
    if (!alerts.visible())
        return QStringLiteral("no alert shown, expected \"%1\"").arg(message);
    if (alerts.title() != title || alerts.message() != message)
        return QStringLiteral("alert \"%1\" / \"%2\", expected \"%3\" / \"%4\"")
            .arg(alerts.title(), alerts.message(), title, message);
    return {};
}

} // namespace

Walkthrough::Walkthrough(Application& application, QString outDir)
    : app_(application), dir_(std::move(outDir)) {}

void Walkthrough::line(const QString& text) {
    std::printf("%s\n", qPrintable(text));
    std::fflush(stdout);
    if (log_.isOpen()) {
        log_.write(text.toUtf8() + '\n');
        log_.flush();
    }
}

QString Walkthrough::shot(const QString& name) {
    QQuickWindow* window = app_.window();
    if (!window)
        return {};
    const QString file = QStringLiteral("%1-%2.png").arg(index_, 2, 10, QLatin1Char('0')).arg(name);
    const QImage image = window->grabWindow();
    if (image.isNull() || !image.save(dir_ + QLatin1Char('/') + file))
        return {};
    return file;
}

void Walkthrough::step(const QString& name, const std::function<void()>& action,
                       const std::function<QString()>& check) {
    ++index_;
    action();
    settle(250);
    const QString problem = check();
    const QString file = shot(name);
    if (!problem.isEmpty())
        ++failures_;
    if (file.isEmpty())
        ++failures_;
    line(QStringLiteral("%1 %2 %3%4%5")
             .arg(problem.isEmpty() && !file.isEmpty() ? QStringLiteral("ok  ") : QStringLiteral("FAIL"))
             .arg(index_, 2, 10, QLatin1Char('0'))
             .arg(name)
             .arg(file.isEmpty() ? QStringLiteral(" (no screenshot)") : QStringLiteral(" -> ") + file)
             .arg(problem.isEmpty() ? QString() : QStringLiteral(": ") + problem));
}

int Walkthrough::run() {
    QDir().mkpath(dir_);
    log_.setFileName(dir_ + QStringLiteral("/walkthrough.log"));
    log_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text);
    line(QStringLiteral("walkthrough in %1 (documents %2)").arg(dir_, app_.options().documentsDir));

    AppDelegate& core = app_.app();
    LoginViewController& login = app_.login();
    ShellController& shell = app_.shell();
    QtAlerts& alerts = app_.alerts();

    step(
        QStringLiteral("start-up-unregistered-login"), [&] { app_.start(); },
        [&]() -> QString {
            if (!app_.window())
                return QStringLiteral("window did not load: ") + app_.qmlProblems().join(QLatin1Char(' '));
            if (login.registeredLayout())
                return QStringLiteral("a fresh phone shows the registered layout");
            if (QString p = expectAlert(alerts, QStringLiteral("Notifikasi"),
                                        QStringLiteral("Device Belum Daftar : Sila Daftar Dahulu."));
                !p.isEmpty())
                return p;
            return {};
        });
    step(
        QStringLiteral("unregistered-layout"), [&] { alerts.answer(0); },
        [&]() -> QString {
            return login.iphoneID() == QLatin1String("XXX") && login.runningNumber() == QLatin1String("XXX")
                       ? QString()
                       : QStringLiteral("labels are not XXX");
        });

    // The registration that the web service gives a phone, as its device table and running number hold
    // it; the layout follows at the next start, as on a phone.
    step(
        QStringLiteral("registered-layout-at-next-start"),
        [&] {
            core.dbManager().doQuery(QStringLiteral(
                "CREATE TABLE IF NOT EXISTS 'device_info' ('no' INTEGER PRIMARY KEY  NOT NULL,'uuid' TEXT, "
                "'device_id' TEXT, 'device_desc' TEXT, 'no_akhir' TEXT);"));
            core.dbManager().doQuery(
                QStringLiteral(
                    "INSERT OR REPLACE INTO device_info ( no, uuid, device_id, device_desc, no_akhir ) "
                    "VALUES(1,'000',?,'000','120')"),
                {QStringLiteral("M07")});
            core.runningNumbers().setRunningNumber(120);
            login.viewDidLoad();
        },
        [&]() -> QString {
            if (!login.registeredLayout())
                return QStringLiteral("registered phone shows the registration layout");
            if (login.iphoneID() != QLatin1String("M07") || login.runningNumber() != QLatin1String("120"))
                return QStringLiteral("labels %1 / %2").arg(login.iphoneID(), login.runningNumber());
            return {};
        });

    step(
        QStringLiteral("wrong-password"),
        [&] {
            login.userID()->setText(sampleStaffCode);
            login.password()->setText(QStringLiteral("salah"));
            login.logMasuk();
        },
        [&]() -> QString {
            if (shell.signedIn())
                return QStringLiteral("signed in with a wrong password");
            return expectAlert(
                alerts, QStringLiteral("Notifikasi"),
                QStringLiteral("ID pengguna atau password tidak betul. Sila cuba sekali lagi"));
        });

    step(
        QStringLiteral("sign-in"),
        [&] {
            alerts.answer(0);
            login.password()->setText(samplePassword);
            login.logMasuk();
        },
        [&]() -> QString {
            if (!shell.signedIn())
                return QStringLiteral("not signed in");
            return core.getUserGlobalID().value(QStringLiteral("kod_pekerja")) == sampleStaffCode
                       ? QString()
                       : QStringLiteral("wrong officer record");
        });

    const QStringList tabNames{QStringLiteral("tab-jenis-kompaun"), QStringLiteral("tab-simpanan"),
                               QStringLiteral("tab-dicetak"), QStringLiteral("tab-scan"),
                               QStringLiteral("tab-pencetak")};
    for (int tab = 0; tab < tabNames.size(); ++tab) {
        step(
            tabNames[tab], [&, tab] { shell.tabBarControllerDidSelect(tab); },
            [&, tab]() -> QString {
                if (shell.currentIndex() != tab)
                    return QStringLiteral("tab %1 not selected").arg(tab);
                return core.getPreviewIndcator() == (tab == ShellController::Dicetak)
                           ? QString()
                           : QStringLiteral("preview mode wrong on tab %1").arg(tab);
            });
    }

    step(
        QStringLiteral("sign-out-question"),
        [&] {
            shell.tabBarControllerDidSelect(ShellController::JenisKompaun);
            shell.logout();
        },
        [&] {
            return expectAlert(alerts, QStringLiteral("Kepastian"),
                               QStringLiteral("Adakah anda pasti untuk log keluar ?"));
        });
    step(
        QStringLiteral("sign-out-cancelled"), [&] { alerts.answer(0); },
        [&] { return shell.signedIn() ? QString() : QStringLiteral("Batal signed out"); });
    step(
        QStringLiteral("signed-out"),
        [&] {
            shell.logout();
            settle(100);
            alerts.answer(1);
        },
        [&]() -> QString {
            if (shell.signedIn())
                return QStringLiteral("still signed in");
            return login.userID()->text().isEmpty() && login.password()->text().isEmpty()
                       ? QString()
                       : QStringLiteral("sign-in fields not emptied");
        });

    line(failures_ == 0
             ? QStringLiteral("walkthrough: all %1 steps ok; screenshots in %2").arg(index_).arg(dir_)
             : QStringLiteral("walkthrough: %1 of %2 steps FAILED").arg(failures_).arg(index_));
    return failures_;
}
