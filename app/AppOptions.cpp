#include "app/AppOptions.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

QString AppOptions::usage() {
    return QStringLiteral(
        "Usage: kompaun [options]\n"
        "  --documents DIR     the Documents directory (stores, running number, working database)\n"
        "  --base-url URL      the council web service's base address\n"
        "  --ca-file FILE      an extra trusted CA certificate (PEM) for the web service\n"
        "  --printer LINK      the printer: tcp:HOST:PORT or a Bluetooth address\n"
        "  --nmea SOURCE       position source: an NMEA file, or HOST:PORT of an NMEA stream\n"
        "  --log FILE          also append the diagnostic log to FILE\n"
        "  --self-test         load every screen offscreen; exit non-zero on any QML warning\n"
        "  --walkthrough DIR   drive every screen offscreen, saving screenshots and a log in DIR\n");
}

std::optional<AppOptions> AppOptions::parse(const QStringList& args, QString* error) {
    AppOptions o;
    const auto env = [](const char* name) { return qEnvironmentVariable(name); };
    o.documentsDir = env("KOMPAUN_DOCUMENTS");
    o.baseUrl = env("KOMPAUN_BASE_URL");
    o.caFile = env("KOMPAUN_CA_FILE");
    o.printer = env("KOMPAUN_PRINTER");
    o.nmeaSource = env("KOMPAUN_NMEA");
    const QMap<QString, QString*> valued{{QStringLiteral("--documents"), &o.documentsDir},
                                         {QStringLiteral("--base-url"), &o.baseUrl},
                                         {QStringLiteral("--ca-file"), &o.caFile},
                                         {QStringLiteral("--printer"), &o.printer},
                                         {QStringLiteral("--nmea"), &o.nmeaSource},
                                         {QStringLiteral("--log"), &o.logFile},
                                         {QStringLiteral("--walkthrough"), &o.walkthroughDir}};
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--self-test")) {
            o.selfTest = true;
        } else if (valued.contains(arg)) {
            if (i + 1 >= args.size() || args[i + 1].isEmpty()) {
                *error = QStringLiteral("%1 needs a value").arg(arg);
                return std::nullopt;
            }
            *valued.value(arg) = args[++i];
        } else {
            *error = QStringLiteral("unknown option %1").arg(arg);
            return std::nullopt;
        }
    }
    if (!o.walkthroughDir.isEmpty()) {
        // The walkthrough never touches real data: it works in a fresh Documents directory of its own.
        o.walkthroughDir = QDir(o.walkthroughDir).absolutePath();
        o.documentsDir = o.walkthroughDir + QStringLiteral("/documents");
    }
    if (o.documentsDir.isEmpty())
        o.documentsDir =
            QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/Documents");
    o.resourceDir = QCoreApplication::applicationDirPath() + QStringLiteral("/resources");
    return o;
}
