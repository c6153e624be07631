#include "app/Walkthrough.h"

#include "app/Application.h"
#include "app/Settle.h"
#include "core/AppDelegate.h"
#include "platform/Http.h"
#include "platform/QtAlerts.h"
#include "platform/QtProgress.h"
#include "printing/NoticePrinter.h"
#include "printing/PrinterConnection.h"
#include "printing/PrinterViewController.h"
#include "screens/LoginViewController.h"
#include "screens/ShellController.h"
#include "sync/CouncilSync.h"
#include "sync/LocationTracker.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QQuickWindow>
#include <QTextStream>

#include <cstdio>

namespace {

// Who signs in and which device registers, on our own council emulator; another server's are given as
// KOMPAUN_WALKTHROUGH_SIGNIN=CODE:PASSWORD and KOMPAUN_WALKTHROUGH_DEVICE=ID.
const char* const emulatorSignIn = "PK001:rahsia123";
const char* const emulatorDevice = "M07";

// A JPEG at the quality the camera screen uses, as Base64 text.
QString jpegBase64(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 50);
    return QString::fromLatin1(bytes.toBase64());
}

// An evidence photograph of the scene: the full picture and its 300 x 300 centre-cropped thumbnail.
PhotoEntry scenePhoto(const QString& caption, const QColor& colour) {
    QImage full(800, 600, QImage::Format_RGB32);
    full.fill(colour);
    QPainter p(&full);
    p.setPen(Qt::white);
    QFont font = p.font();
    font.setPixelSize(48);
    p.setFont(font);
    p.drawText(full.rect(), Qt::AlignCenter, caption);
    p.end();
    const QImage square = full.copy((800 - 600) / 2, 0, 600, 600)
                              .scaled(300, 300, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return {jpegBase64(square), jpegBase64(full)};
}

QString nmeaSentence(const QString& body) {
    quint8 sum = 0;
    for (const char c : body.toLatin1())
        sum ^= quint8(c);
    return QStringLiteral("$%1*%2\r\n")
        .arg(body, QString::number(sum, 16).rightJustified(2, QLatin1Char('0')).toUpper());
}

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

void Walkthrough::waitUntil(const std::function<bool()>& condition, int timeoutMs) {
    for (int waited = 0; waited < timeoutMs && !condition(); waited += 50)
        settle(50);
}

bool Walkthrough::startCouncil() {
    const auto split = [](const QString& pair, QString& a, QString& b) {
        const qsizetype colon = pair.indexOf(QLatin1Char(':'));
        a = pair.left(colon);
        b = pair.mid(colon + 1);
    };
    split(qEnvironmentVariable("KOMPAUN_WALKTHROUGH_SIGNIN", QLatin1String(emulatorSignIn)), staffCode_,
          password_);
    deviceId_ = qEnvironmentVariable("KOMPAUN_WALKTHROUGH_DEVICE", QLatin1String(emulatorDevice));
    if (!options_.baseUrl.isEmpty()) {
        line(QStringLiteral("council web service at %1").arg(options_.baseUrl));
        return true;
    }
    const QString councilDir = dir_ + QStringLiteral("/council");
    QDir(councilDir).removeRecursively();
    QDir().mkpath(councilDir);
    const QString ready =
        councilEmulator_.start(QCoreApplication::applicationDirPath() + QStringLiteral("/council-emulator"),
                               {QStringLiteral("--db"), councilDir + QStringLiteral("/council.sqlite"),
                                QStringLiteral("--cert-dir"), councilDir + QStringLiteral("/tls")},
                               QRegularExpression(QStringLiteral("^(READY)")));
    if (ready.isEmpty()) {
        line(QStringLiteral("FAIL council emulator: %1").arg(councilEmulator_.error()));
        return false;
    }
    const auto value = [&](const QString& key) {
        const auto m =
            QRegularExpression(QStringLiteral("^%1=(\\S+)$").arg(key), QRegularExpression::MultilineOption)
                .match(councilEmulator_.output());
        return m.captured(1);
    };
    options_.baseUrl = value(QStringLiteral("HTTPS_URL"));
    options_.caFile = value(QStringLiteral("CA_FILE"));
    ownCouncil_ = true;
    line(QStringLiteral("council emulator at %1 (CA %2)").arg(options_.baseUrl, options_.caFile));
    return !options_.baseUrl.isEmpty() && !options_.caFile.isEmpty();
}

void Walkthrough::writeNmeaReplay() {
    if (!options_.nmeaSource.isEmpty())
        return;
    const QString path = dir_ + QStringLiteral("/position.nmea");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    QTextStream out(&file);
    const QDateTime start = QDateTime::currentDateTimeUtc();
    // Standing in front of the council's offices, drifting a few metres.
    for (int i = 0; i < 120; ++i) {
        const QDateTime t = start.addSecs(i);
        const QString time = t.toString(QStringLiteral("HHmmss.00"));
        const QString lat = QStringLiteral("0304.%1").arg(428 + i % 3, 3, 10, QLatin1Char('0'));
        out << nmeaSentence(
            QStringLiteral("GPGGA,%1,%2,N,10131.098,E,1,08,0.9,12.0,M,0.0,M,,").arg(time, lat));
        out << nmeaSentence(QStringLiteral("GPRMC,%1,A,%2,N,10131.098,E,0.0,0.0,%3,,,A")
                                .arg(time, lat, t.toString(QStringLiteral("ddMMyy"))));
    }
    options_.nmeaSource = path;
}

QJsonArray Walkthrough::councilHolds(const QString& what) {
    if (!ownCouncil_)
        return {};
    QJsonArray result;
    bool done = false;
    HttpRequest request;
    request.url = QUrl(options_.baseUrl + QStringLiteral("/admin/") + what);
    const auto handle = [&](const HttpResponse& r) {
        result = QJsonDocument::fromJson(r.body).array();
        done = true;
    };
    app_->http().send(request, handle, handle);
    waitUntil([&] { return done; }, 10000);
    return result;
}

int Walkthrough::run() {
    QDir().mkpath(dir_);
    log_.setFileName(dir_ + QStringLiteral("/walkthrough.log"));
    log_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text);
    line(QStringLiteral("walkthrough in %1 (documents %2)").arg(dir_, options_.documentsDir));
    if (!startPrinterEmulator() || !startCouncil())
        return 1;
    writeNmeaReplay();
    app_ = std::make_unique<Application>(options_);
    signInSteps();
    printingSteps();
    uploadSteps();
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
    QtProgress& progress = app_->progress();

    step(
        QStringLiteral("start-up-unregistered-login"), [&] { app_->start(); },
        [&]() -> QString {
            if (!app_->window())
                return QStringLiteral("window did not load: ") + app_->qmlProblems().join(QLatin1Char(' '));
            if (login.registeredLayout())
                return QStringLiteral("a fresh phone shows the registered layout");
            return expectAlert(alerts, QStringLiteral("Notifikasi"),
                               QStringLiteral("Device Belum Daftar : Sila Daftar Dahulu."));
        });
    step(
        QStringLiteral("unregistered-layout"), [&] { alerts.answer(0); },
        [&]() -> QString {
            return login.iphoneID() == QLatin1String("XXX") && login.runningNumber() == QLatin1String("XXX")
                       ? QString()
                       : QStringLiteral("labels are not XXX");
        });

    step(
        QStringLiteral("register-device"),
        [&] {
            login.deviceID()->setText(deviceId_);
            login.kemaskiniDeviceAction();
            waitUntil([&] { return alerts.visible() && !progress.visible(); });
        },
        [&] {
            return expectAlert(alerts, QStringLiteral("Notifikasi"),
                               QStringLiteral("Berjaya mendaftar device."));
        });

    // The registered layout appears when the login screen is next loaded, at the next start.
    step(
        QStringLiteral("registered-layout-at-next-start"),
        [&] {
            alerts.answer(0);
            login.viewDidLoad();
        },
        [&]() -> QString {
            if (!login.registeredLayout())
                return QStringLiteral("registered phone shows the registration layout");
            if (login.iphoneID() != deviceId_)
                return QStringLiteral("device id shows %1").arg(login.iphoneID());
            if (ownCouncil_ && login.runningNumber() != QLatin1String("120"))
                return QStringLiteral("running number %1, the council holds 120").arg(login.runningNumber());
            return {};
        });

    step(
        QStringLiteral("update-officers"),
        [&] {
            login.kemaskiniPenggunaAction();
            waitUntil([&] { return alerts.visible() && !progress.visible(); });
        },
        [&] {
            return expectAlert(
                alerts, QStringLiteral("Notifikasi"),
                QStringLiteral("Berjaya mengemaskini penguat kuasa. Sila masukkan id dan kata laluan "
                               "anda. Jika masih tidak berjaya sila semak dgn pihak pengerusan IT "
                               "anda."));
        });

    step(
        QStringLiteral("wrong-password"),
        [&] {
            alerts.answer(0);
            login.userID()->setText(staffCode_);
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
            login.password()->setText(password_);
            login.logMasuk();
        },
        [&]() -> QString {
            if (!shell.signedIn())
                return QStringLiteral("not signed in");
            return core.getUserGlobalID().value(QStringLiteral("kod_pekerja")) == staffCode_
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
    AppDelegate& core = app_->app();
    ShellController& shell = app_->shell();
    PrinterViewController& printer = app_->printerScreen();
    PrinterConnection& connection = app_->printerConnection();
    const auto connected = [&] { return printer.status() == QLatin1String("Disambung"); };

    step(
        QStringLiteral("printer-connect"),
        [&] {
            app_->login().userID()->setText(staffCode_);
            app_->login().password()->setText(password_);
            app_->login().logMasuk();
            shell.tabBarControllerDidSelect(ShellController::Pencetak);
            printer.pencetakAction();
            waitUntil(connected, 10000);
        },
        [&]() -> QString {
            if (!connected() || printer.rockTo() != 1)
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

    step(
        QStringLiteral("print-preview"),
        [&] {
            // The preview button of the printer screen.
            if (QObject* screen = app_->window()->findChild<QObject*>(QStringLiteral("printerScreen")))
                QMetaObject::invokeMethod(screen, "showPreview",
                                          Q_ARG(QVariant, QStringLiteral("test-page")));
            waitUntil([&] {
                QObject* image = app_->window()->findChild<QObject*>(QStringLiteral("receiptPreview"));
                return image && image->property("status").toInt() == 1;
            });
        },
        [&]() -> QString {
            QObject* image = app_->window()->findChild<QObject*>(QStringLiteral("receiptPreview"));
            return image && image->property("status").toInt() == 1
                       ? QString()
                       : QStringLiteral("the preview did not draw");
        });
    if (QObject* screen = app_->window()->findChild<QObject*>(QStringLiteral("printerScreen")))
        screen->setProperty("preview", QString());

    // Two compounds confirmed as the review screen confirms them: stored with their photographs, printed
    // on a fresh session, and the running number advanced.
    for (const bool traffic : {false, true}) {
        const QString name = traffic ? QStringLiteral("notice-traffic") : QStringLiteral("notice-general");
        QString number;
        step(
            name,
            [&, traffic, name] {
                const Record record = sampleCompound(traffic);
                number = record->value(QStringLiteral("kompaunRunningNumber"));
                core.setImageArray(
                    scenePhoto(number, traffic ? QColor(0x1f, 0x4e, 0x79) : QColor(0x2e, 0x6b, 0x3a)));
                core.setImageArray(
                    scenePhoto(QStringLiteral("%1 (2)").arg(number), QColor(0x55, 0x55, 0x55)));
                core.insertIntoBaruPBCompound(record);
                connection.printerDisconnect();
                connection.printerConnect();
                waitUntil(connected, 10000);
                app_->notices().cetakSaman(connection.sessionController(), record, traffic);
                core.addOneRunningNumber();
                receipt = collectReceipt(name);
            },
            [&]() -> QString {
                if (receipt.isEmpty())
                    return QStringLiteral("the notice did not reach the printer");
                const SavedCompoundList stored = core.saveStore().getDicetak();
                if (stored.isEmpty() ||
                    stored.last().record->value(QStringLiteral("kompaunRunningNumber")) != number ||
                    stored.last().photos.size() != 2)
                    return QStringLiteral("%1 not stored with its photographs").arg(number);
                return {};
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

void Walkthrough::uploadSteps() {
    AppDelegate& core = app_->app();
    QtAlerts& alerts = app_->alerts();
    QtProgress& progress = app_->progress();
    int waiting = 0;
    QStringList progressSeen;
    QObject::connect(&progress, &QtProgress::changed, &progress, [&] {
        if (progress.visible())
            progressSeen << progress.detail();
    });

    step(
        QStringLiteral("upload"),
        [&] {
            app_->shell().tabBarControllerDidSelect(ShellController::Dicetak);
            waiting = core.saveStore().getDicetakUploadCountNumber();
            // "MuatNaik" on the printed list's bar, and "Ya" to its question.
            app_->shell().muatNaik();
            settle(300);
            if (!alerts.visible() || alerts.title() != QLatin1String("Kepastian"))
                return;
            shot(QStringLiteral("upload-question"));
            alerts.answer(1);
            waitUntil([&] { return alerts.visible() && !progress.visible(); }, 60000);
        },
        [&]() -> QString {
            const QString expected = QStringLiteral("Berjaya : %1 , Gagal : 0, Jumlah : %1").arg(waiting);
            if (QString p = expectAlert(alerts, QStringLiteral("Notifikasi"), expected); !p.isEmpty())
                return p;
            if (core.saveStore().getDicetakUploadCountNumber() != 0)
                return QStringLiteral("compounds still waiting after the upload");
            if (!progressSeen.contains(QStringLiteral("0/%1").arg(waiting)))
                return QStringLiteral("progress never showed 0/%1 (%2)")
                    .arg(waiting)
                    .arg(progressSeen.join(QLatin1Char(' ')));
            if (ownCouncil_) {
                const int compounds = int(councilHolds(QStringLiteral("compounds")).size());
                const int photos = int(councilHolds(QStringLiteral("photos")).size());
                if (compounds != waiting || photos != 2 * waiting)
                    return QStringLiteral("the council holds %1 compounds and %2 photographs")
                        .arg(compounds)
                        .arg(photos);
            }
            return {};
        });

    int before = 0;
    step(
        QStringLiteral("position-report"),
        [&] {
            alerts.answer(0);
            before = int(councilHolds(QStringLiteral("positions")).size());
            // The report timer's action, run at once; again a few seconds later should the replay not have
            // given its first fix yet on a slow machine.
            settle(1000);
            for (int attempt = 0; attempt < 10; ++attempt) {
                app_->locationTracker().updateLocation();
                if (!ownCouncil_)
                    break;
                waitUntil([&] { return councilHolds(QStringLiteral("positions")).size() > before; }, 3000);
                if (councilHolds(QStringLiteral("positions")).size() > before)
                    break;
            }
        },
        [&]() -> QString {
            if (!ownCouncil_)
                return {};
            const QJsonArray positions = councilHolds(QStringLiteral("positions"));
            if (positions.size() <= before)
                return QStringLiteral("no position report reached the council");
            const QJsonObject last = positions.last().toObject();
            if (last.value(QStringLiteral("device_id")).toString() != deviceId_ ||
                !last.value(QStringLiteral("lat")).toString().startsWith(QStringLiteral("3.07")))
                return QStringLiteral("report %1")
                    .arg(QString::fromUtf8(QJsonDocument(last).toJson(QJsonDocument::Compact)));
            return {};
        });
}
