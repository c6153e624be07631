#include "app/AppOptions.h"

#include "printing/PrinterLink.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSslCertificate>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QUrl>

namespace {

struct Valued {
    const char* name;
    const char* env;
    const char* value;
    const char* help;
    QString AppOptions::*field;
};

const Valued valuedOptions[] = {
    {"documents", "KOMPAUN_DOCUMENTS", "DIR",
     "the Documents directory (stores, running number, working database)", &AppOptions::documentsDir},
    {"base-url", "KOMPAUN_BASE_URL", "URL", "the council web service's base address", &AppOptions::baseUrl},
    {"ca-file", "KOMPAUN_CA_FILE", "FILE", "an extra trusted CA certificate (PEM) for the web service",
     &AppOptions::caFile},
    {"printer", "KOMPAUN_PRINTER", "LINK", "the printer: tcp:HOST:PORT or a paired Bluetooth address",
     &AppOptions::printer},
    {"printer-protocol", "KOMPAUN_PRINTER_PROTOCOL", "TEXT",
     "the printer's accessory protocol string (default: the one this build was configured with)",
     &AppOptions::printerProtocol},
    {"nmea", "KOMPAUN_NMEA", "SOURCE", "position source: an NMEA log file, or HOST:PORT of an NMEA stream",
     &AppOptions::nmeaSource},
    {"pictures", "KOMPAUN_PICTURES", "DIR",
     "the pictures folder: the gallery to pick photographs from; the album \"Kompaun\" is made in it",
     &AppOptions::picturesDir},
    {"log", nullptr, "FILE", "also append the diagnostic log to FILE", &AppOptions::logFile},
    {"tile-url", "KOMPAUN_TILE_URL", "TEMPLATE",
     "the map's XYZ tile address with {z}, {x} and {y} (default: OpenStreetMap's standard tiles)",
     &AppOptions::tileUrl},
    {"scans", "KOMPAUN_SCANS", "DIR",
     "the folder whose pictures \"Imbas Gambar\" decodes (default: the user's pictures folder)",
     &AppOptions::scanDir},
};

bool isWebAddress(const QString& text) {
    const QUrl url(text, QUrl::StrictMode);
    return url.isValid() &&
           (url.scheme() == QLatin1String("https") || url.scheme() == QLatin1String("http")) &&
           !url.host().isEmpty();
}

// HOST:PORT of an NMEA stream, as against a file name.
bool isHostPort(const QString& text) {
    static const QRegularExpression hostPort(QStringLiteral("^[^/\\s]+:[0-9]{1,5}$"));
    return hostPort.match(text).hasMatch();
}

QString problemWithDocuments(const QString& dir) {
    if (!QDir().mkpath(dir))
        return QStringLiteral("cannot be created");
    if (!QFileInfo(dir).isDir())
        return QStringLiteral("is not a directory");
    // Ask the file system itself: permission bits say nothing of read-only mounts, nor of root.
    QTemporaryFile probe(dir + QStringLiteral("/.write-check-XXXXXX"));
    if (!probe.open())
        return QStringLiteral("is not writable (%1)").arg(probe.errorString());
    return {};
}

QString problemWithNmea(const QString& source) {
    if (!QFileInfo::exists(source))
        return isHostPort(source)
                   ? QString()
                   : QStringLiteral("no such file (expected an NMEA log file or HOST:PORT of a "
                                    "stream)");
    QFile file(source);
    if (!QFileInfo(source).isFile() || !file.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot be read as a file");
    // A log holds sentences, each a line starting with '$'; anything else is the wrong file.
    const QByteArray head = file.read(4096);
    if (!head.startsWith('$') && !head.contains("\n$"))
        return QStringLiteral("holds no NMEA sentence (lines starting with '$')");
    return {};
}

QString problemWithCaFile(const QString& path) {
    QFile file(path);
    if (!QFileInfo::exists(path))
        return QStringLiteral("no such file");
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot be read (%1)").arg(file.errorString());
    if (QSslCertificate::fromData(file.readAll(), QSsl::Pem).isEmpty())
        return QStringLiteral("holds no PEM certificate");
    return {};
}

QString problemWithTileUrl(const QString& pattern) {
    for (const char* part : {"{z}", "{x}", "{y}"})
        if (!pattern.contains(QLatin1String(part)))
            return QStringLiteral("needs {z}, {x} and {y} (e.g. https://tile.example.org/{z}/{x}/{y}.png)");
    QString sample = pattern;
    sample.replace(QLatin1String("{z}"), QLatin1String("1"))
        .replace(QLatin1String("{x}"), QLatin1String("0"))
        .replace(QLatin1String("{y}"), QLatin1String("0"));
    if (!isWebAddress(sample))
        return QStringLiteral("is not an http:// or https:// address");
    return {};
}

QString problemWithLog(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::Append | QIODevice::Text))
        return QStringLiteral("cannot be opened for writing (%1)").arg(file.errorString());
    return {};
}

// What is wrong with one given value, or nothing.
QString problemWith(const AppOptions& o, QString AppOptions::*field) {
    const QString& v = o.*field;
    if (field == &AppOptions::baseUrl)
        return isWebAddress(v) ? QString()
                               : QStringLiteral("is not an http:// or https:// address with a host");
    if (field == &AppOptions::caFile)
        return problemWithCaFile(v);
    if (field == &AppOptions::printer) {
        QString error;
        return PrinterLink::parse(v, &error) ? QString()
                                             : QStringLiteral("expected tcp:HOST:PORT (port 1 to 65535) or a "
                                                              "Bluetooth address like 00:11:22:33:44:55");
    }
    if (field == &AppOptions::nmeaSource)
        return problemWithNmea(v);
    if (field == &AppOptions::tileUrl)
        return problemWithTileUrl(v);
    if (field == &AppOptions::documentsDir)
        return problemWithDocuments(v);
    if (field == &AppOptions::logFile)
        return problemWithLog(v);
    return {};
}

} // namespace

void AppOptions::addTo(QCommandLineParser& parser) {
    for (const Valued& v : valuedOptions) {
        QString help = QString::fromUtf8(v.help);
        if (v.env)
            help += QStringLiteral(" [env %1]").arg(QLatin1String(v.env));
        parser.addOption(QCommandLineOption(QString::fromLatin1(v.name), help, QString::fromLatin1(v.value)));
    }
}

std::optional<AppOptions> AppOptions::from(const QCommandLineParser& parser, QString* error) {
    AppOptions o;
    for (const Valued& v : valuedOptions) {
        const QString name = QString::fromLatin1(v.name);
        QString givenAs;
        if (parser.isSet(name)) {
            o.*v.field = parser.value(name);
            if ((o.*v.field).isEmpty()) {
                *error = QStringLiteral("--%1 needs a value").arg(name);
                return std::nullopt;
            }
            givenAs = QStringLiteral("--") + name;
        } else if (v.env) {
            o.*v.field = qEnvironmentVariable(v.env);
            givenAs = QString::fromLatin1(v.env);
        }
        // A bad value is refused here with its reason, not found later as a screen that silently fails.
        if (!(o.*v.field).isEmpty()) {
            const QString problem = problemWith(o, v.field);
            if (!problem.isEmpty()) {
                *error = QStringLiteral("%1 \"%2\": %3").arg(givenAs, o.*v.field, problem);
                return std::nullopt;
            }
        }
    }
    if (o.documentsDir.isEmpty())
        o.documentsDir =
            QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/Documents");
    if (o.scanDir.isEmpty())
        o.scanDir = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (o.picturesDir.isEmpty())
        o.picturesDir = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    o.resourceDir = QCoreApplication::applicationDirPath() + QStringLiteral("/resources");
    return o;
}
