#pragma once

#include <QString>

#include <optional>

class QCommandLineParser;

// The command line and environment of the application. Every value has a compiled-in default, so a
// phone build needs none of them; they exist for development, support and tests.
struct AppOptions {
    QString documentsDir;    // --documents DIR, KOMPAUN_DOCUMENTS
    QString resourceDir;     // the shipped resources, beside the executable
    QString baseUrl;         // --base-url URL, KOMPAUN_BASE_URL
    QString caFile;          // --ca-file FILE, KOMPAUN_CA_FILE
    QString printer;         // --printer LINK, KOMPAUN_PRINTER (tcp:HOST:PORT or a Bluetooth address)
    QString printerProtocol; // --printer-protocol TEXT, KOMPAUN_PRINTER_PROTOCOL (else the compiled-in one)
    QString nmeaSource;      // --nmea FILE|HOST:PORT, KOMPAUN_NMEA
    QString picturesDir;     // --pictures DIR, KOMPAUN_PICTURES (else the user's Pictures folder)
    QString logFile;         // --log FILE
    QString tileUrl;         // --tile-url TEMPLATE, KOMPAUN_TILE_URL (else OpenStreetMap's standard tiles)
    QString scanDir;         // --scans DIR, KOMPAUN_SCANS (else the user's pictures folder)

    // The application's options, for its own parser and for the programs that start it.
    static void addTo(QCommandLineParser& parser);
    // The values given, the environment's, then the defaults; none and an error text on bad input.
    static std::optional<AppOptions> from(const QCommandLineParser& parser, QString* error);
};
