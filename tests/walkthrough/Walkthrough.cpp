#include "Walkthrough.h"

#include "Script.h"

#include "app/Application.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QImage>
#include <QQuickWindow>
#include <QSaveFile>
#include <QTextStream>

#include <cstdio>

namespace {

// Who signs in and which device registers, on our own council emulator; another server's are given as
// KOMPAUN_WALKTHROUGH_SIGNIN=CODE:PASSWORD and KOMPAUN_WALKTHROUGH_DEVICE=ID.
const char* const emulatorSignIn = "PK001:rahsia123";
const char* const emulatorDevice = "M07";

QString nmeaSentence(const QString& body) {
    quint8 sum = 0;
    for (const char c : body.toLatin1())
        sum ^= quint8(c);
    return QStringLiteral("$%1*%2\r\n")
        .arg(body, QString::number(sum, 16).rightJustified(2, QLatin1Char('0')).toUpper());
}

} // namespace

Walkthrough::Walkthrough(AppOptions options, QString dir)
    : options_(std::move(options)), dir_(std::move(dir)) {}

Walkthrough::~Walkthrough() {
    // The application goes first: its printer session talks to the emulator.
    officer_.reset();
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
    // The emulator writes each job as a file: wake on the folder changing, not on a timer.
    QFileSystemWatcher watcher({printerJobs_});
    if (!Officer::waitUntil([&] { return QFileInfo::exists(path); }))
        return {};
    ++receiptsSeen_;
    const QString file = numbered(name) + QStringLiteral("-receipt.png");
    QFile::remove(dir_ + QLatin1Char('/') + file);
    return QFile::copy(path, dir_ + QLatin1Char('/') + file) ? file : QString();
}

int Walkthrough::printedCount() {
    const auto count = [this] {
        return int(QDir(printerJobs_).entryList({QStringLiteral("job-*.png")}, QDir::Files).size());
    };
    const int before = count();
    // The emulator closes a job after an idle gap of 1.5 s: a notice still on its way shows by then.
    QFileSystemWatcher watcher({printerJobs_});
    Officer::waitUntil([&] { return count() != before; }, 2500);
    return count();
}

void Walkthrough::line(const QString& text) {
    std::printf("%s\n", qPrintable(text));
    std::fflush(stdout);
    if (log_.isOpen()) {
        log_.write(text.toUtf8() + '\n');
        log_.flush();
    }
}

bool Walkthrough::saveScreenshot(const QString& file) {
    QQuickWindow* window = app_ ? app_->window() : nullptr;
    const QImage image = window ? window->grabWindow() : QImage();
    return !image.isNull() && image.save(dir_ + QLatin1Char('/') + file);
}

bool Walkthrough::saveFile(const QString& file, const QByteArray& content) {
    QSaveFile out(dir_ + QLatin1Char('/') + file);
    return out.open(QIODevice::WriteOnly) && out.write(content) == content.size() && out.commit();
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

bool Walkthrough::setUp() {
    QDir().mkpath(dir_);
    // Every run starts as a new phone: its own Documents folder, emptied; earlier screenshots go too.
    QDir(options_.documentsDir).removeRecursively();
    for (const QString& old :
         QDir(dir_).entryList({QStringLiteral("*.png"), QStringLiteral("*.json")}, QDir::Files))
        QFile::remove(dir_ + QLatin1Char('/') + old);
    log_.setFileName(dir_ + QStringLiteral("/walkthrough.log"));
    log_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text);
    line(QStringLiteral("walkthrough in %1 (documents %2)").arg(dir_, options_.documentsDir));
    if (!startPrinterEmulator() || !startCouncil())
        return false;
    writeNmeaReplay();
    options_.scanDir = dir_ + QStringLiteral("/scans");
    writePictures();
    // Our own council serves the map's tiles too.
    if (ownCouncil_ && options_.tileUrl.isEmpty())
        options_.tileUrl = options_.baseUrl + QStringLiteral("/tiles/{z}/{x}/{y}.png");
    app_ = std::make_unique<Application>(options_);
    if (!app_->start()) {
        line(QStringLiteral("FAIL the window did not load: ") + app_->qmlProblems().join(QLatin1Char(' ')));
        return false;
    }
    officer_ = std::make_unique<Officer>(app_->window(), [this](const QString& text) { line(text); });
    return true;
}

int Walkthrough::run(const QString& path) {
    if (!setUp())
        return 1;
    return ::runScript(*this, path.isEmpty() ? QStringLiteral(":/walkthrough.officer") : path);
}
