#include "app/Walkthrough.h"

#include "app/Application.h"
#include "app/Settle.h"
#include "core/AppDelegate.h"
#include "platform/QtAlerts.h"
#include "printing/NoticePrinter.h"
#include "printing/PrinterConnection.h"
#include "printing/PrinterViewController.h"
#include "screens/LoginViewController.h"
#include "screens/ShellController.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
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

Walkthrough::Walkthrough(AppOptions options) : options_(std::move(options)), dir_(options_.walkthroughDir) {}

Walkthrough::~Walkthrough() {
    // The application goes first: its printer session talks to the emulator.
    app_.reset();
    printerEmulator_.stop();
}

bool Walkthrough::startPrinterEmulator() {
    printerJobs_ = dir_ + QStringLiteral("/printer-jobs");
    QDir(printerJobs_).removeRecursively();
    QDir().mkpath(printerJobs_);
    const QString port =
        printerEmulator_.start(QCoreApplication::applicationDirPath() + QStringLiteral("/printer-emulator"),
                               {QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--out"),
                                printerJobs_, QStringLiteral("--idle-ms"), QStringLiteral("1500")},
                               QRegularExpression(QStringLiteral("listening on port (\\d+)")));
    if (port.isEmpty()) {
        line(QStringLiteral("FAIL printer emulator: %1").arg(printerEmulator_.error()));
        return false;
    }
    options_.printer = QStringLiteral("tcp:127.0.0.1:%1").arg(port);
    line(QStringLiteral("printer emulator on %1, jobs in %2").arg(options_.printer, printerJobs_));
    return true;
}

QString Walkthrough::collectReceipt(const QString& name) {
    const QString path =
        printerJobs_ + QStringLiteral("/job-%1.png").arg(receiptsSeen_ + 1, 4, 10, QLatin1Char('0'));
    for (int waited = 0; waited < 20000 && !QFileInfo::exists(path); waited += 100)
        settle(100);
    if (!QFileInfo::exists(path))
        return {};
    ++receiptsSeen_;
    const QString file = QStringLiteral("%1-%2-receipt.png").arg(index_, 2, 10, QLatin1Char('0')).arg(name);
    QFile::remove(dir_ + QLatin1Char('/') + file);
    return QFile::copy(path, dir_ + QLatin1Char('/') + file) ? file : QString();
}

Record Walkthrough::sampleCompound(bool traffic) {
    // A compound as the issuing screens leave it: the offence from the reference database, the rest typed.
    AppDelegate& core = app_->app();
    core.cleanUserChoiceGlobal();
    core.saveDictionaryInit();
    Record r = core.getDictionary();
    const DbRows types = core.lookups().getAkta();
    const DbRow type = types.value(traffic ? 0 : 2);
    const QString typeCode = SQLiteManager::text(type.value(QStringLiteral("kod_jeniskmp")));
    const DbRow act = core.lookups().getKeslahan(typeCode).value(0);
    const QString actId = SQLiteManager::text(act.value(QStringLiteral("akta_id")));
    const DbRow section = core.lookups().getCategoryArray(actId).value(0);
    const auto text = [](const DbRow& row, const char* key) {
        return SQLiteManager::text(row.value(QLatin1String(key)));
    };
    const RecordMap values{
        {QStringLiteral("JenisKompaun"), text(type, "butiran")},
        {QStringLiteral("JenisKompaunID"), typeCode},
        {QStringLiteral("akta"), text(act, "kod_akta")},
        {QStringLiteral("aktaID"), actId},
        {QStringLiteral("kesalahan"),
         text(section, "kod_seksyen") + QLatin1Char('-') + text(section, "butir_seksyen")},
        {QStringLiteral("kesalahanID"), text(section, "akta_seksyen_id")},
        {QStringLiteral("kodHasil"), text(section, "kod_hasil")},
        {QStringLiteral("kompaunButiranKesalahan"), text(section, "seksyen_detail").toUpper()},
        {QStringLiteral("kompaunKadar"), text(section, "kadar_sebelum")},
        {QStringLiteral("kompaunKadarTawaran"), text(section, "kadar_tawaran")},
        {QStringLiteral("isLaluLintas"), traffic ? QStringLiteral("YA") : QStringLiteral("TIDAK")},
        {QStringLiteral("pilihanIndividuAtauSyarikat"), QStringLiteral("individu")},
        {QStringLiteral("namaPesalah"), QStringLiteral("MUHAMMAD HAFIZ BIN ROSLAN")},
        {QStringLiteral("noKadPengenalanPesalah"), QStringLiteral("900514105523")},
        {QStringLiteral("alamat1Pesalah"), QStringLiteral("NO 12, JALAN MERANTI 3")},
        {QStringLiteral("alamat2Pesalah"), QStringLiteral("TAMAN SRI TELUK")},
        {QStringLiteral("poskodPesalah"), QStringLiteral("42000")},
        {QStringLiteral("alamat3Pesalah"), QStringLiteral("PELABUHAN KLANG")},
        {QStringLiteral("negeriPesalah"), QStringLiteral("SELANGOR")},
        {QStringLiteral("negeriPesalahID"), QStringLiteral("10")},
        {QStringLiteral("kenderaanNoKenderaan"), QStringLiteral("WXY 1234")},
        {QStringLiteral("kenderaanNoCukaiJalan"), QStringLiteral("CJ88123")},
        {QStringLiteral("kenderaanJenisKenderaan"), QStringLiteral("KERETA")},
        {QStringLiteral("kenderaanJenisModel"), QStringLiteral("PERODUA MYVI")},
        {QStringLiteral("kenderaanJenisWarna"), QStringLiteral("PUTIH")},
        {QStringLiteral("lokasiTempatKejadian"), QStringLiteral("HADAPAN KEDAI NO 12")},
        {QStringLiteral("lokasiKawasan"), QStringLiteral("PUSAT BANDAR")},
        {QStringLiteral("lokasiJalan"), QStringLiteral("JALAN MERANTI 3")},
        {QStringLiteral("lokasiNoPetak"), QStringLiteral("A17")},
        {QStringLiteral("lat"), QStringLiteral("3.073800")},
        {QStringLiteral("long"), QStringLiteral("101.518303")},
        {QStringLiteral("kompaunMasa"), KualaLumpur::format(core.clock().now(), QStringLiteral("HH:mm"))},
        {QStringLiteral("kompaunCaraPenyerahan"), QStringLiteral("DISELIT WIPER")},
        {QStringLiteral("kompaunCaraPenyerahanID"), QStringLiteral("4")},
    };
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        r->insert(it.key(), it.value());
    return r;
}

void Walkthrough::line(const QString& text) {
    std::printf("%s\n", qPrintable(text));
    std::fflush(stdout);
    if (log_.isOpen()) {
        log_.write(text.toUtf8() + '\n');
        log_.flush();
    }
}

QString Walkthrough::shot(const QString& name) {
    QQuickWindow* window = app_->window();
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
    line(QStringLiteral("walkthrough in %1 (documents %2)").arg(dir_, options_.documentsDir));

    if (!startPrinterEmulator())
        return 1;
    app_ = std::make_unique<Application>(options_);
    signInSteps();
    printingSteps();
    line(failures_ == 0
             ? QStringLiteral("walkthrough: all %1 steps ok; screenshots in %2").arg(index_).arg(dir_)
             : QStringLiteral("walkthrough: %1 of %2 steps FAILED").arg(failures_).arg(index_));
    return failures_;
}

void Walkthrough::signInSteps() {
    AppDelegate& core = app_->app();
    LoginViewController& login = app_->login();
    ShellController& shell = app_->shell();
    QtAlerts& alerts = app_->alerts();

    step(
        QStringLiteral("start-up-unregistered-login"), [&] { app_->start(); },
        [&]() -> QString {
            if (!app_->window())
                return QStringLiteral("window did not load: ") + app_->qmlProblems().join(QLatin1Char(' '));
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
}

void Walkthrough::printingSteps() {
    ShellController& shell = app_->shell();
    PrinterViewController& printer = app_->printerScreen();
    PrinterConnection& connection = app_->printerConnection();
    const auto waitConnected = [&] {
        for (int waited = 0; waited < 10000 && printer.status() != QLatin1String("Disambung"); waited += 100)
            settle(100);
    };

    step(
        QStringLiteral("printer-connect"),
        [&] {
            app_->login().userID()->setText(sampleStaffCode);
            app_->login().password()->setText(samplePassword);
            app_->login().logMasuk();
            shell.tabBarControllerDidSelect(ShellController::Pencetak);
            printer.pencetakAction();
            waitConnected();
        },
        [&]() -> QString {
            if (printer.status() != QLatin1String("Disambung") || printer.rockTo() != 1)
                return QStringLiteral("printer shows \"%1\"").arg(printer.status());
            return printer.buttonTitle() == QLatin1String("Putuskan") ? QString()
                                                                      : QStringLiteral("button not Putuskan");
        });

    QString receipt;
    step(
        QStringLiteral("printer-test-page"),
        [&] {
            printer.printr();
            receipt = collectReceipt(QStringLiteral("printer-test-page"));
        },
        [&] { return receipt.isEmpty() ? QStringLiteral("no test page reached the printer") : QString(); });

    for (const bool traffic : {false, true}) {
        const QString name = traffic ? QStringLiteral("notice-traffic") : QStringLiteral("notice-general");
        step(
            name,
            [&, traffic, name] {
                // As the confirmation does: a fresh session for every notice.
                const Record record = sampleCompound(traffic);
                connection.printerDisconnect();
                connection.printerConnect();
                waitConnected();
                app_->notices().cetakSaman(connection.sessionController(), record, traffic);
                receipt = collectReceipt(name);
            },
            [&] {
                return receipt.isEmpty() ? QStringLiteral("the notice did not reach the printer") : QString();
            });
    }

    step(
        QStringLiteral("printer-disconnect"), [&] { printer.pencetakAction(); },
        [&]() -> QString {
            return printer.status() == QLatin1String("Putus") &&
                           printer.buttonTitle() == QLatin1String("Sambungkan")
                       ? QString()
                       : QStringLiteral("printer shows \"%1\"").arg(printer.status());
        });
}
