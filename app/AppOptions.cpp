#include "app/AppOptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStandardPaths>

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
        if (parser.isSet(name)) {
            o.*v.field = parser.value(name);
            if ((o.*v.field).isEmpty()) {
                *error = QStringLiteral("--%1 needs a value").arg(name);
                return std::nullopt;
            }
        } else if (v.env) {
            o.*v.field = qEnvironmentVariable(v.env);
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
