#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The command line and environment of the application. Every value has a compiled-in default, so a
// phone build needs none of them; they exist for development, support and tests.
struct AppOptions {
    QString documentsDir;   // --documents DIR, KOMPAUN_DOCUMENTS
    QString resourceDir;    // the shipped resources, beside the executable
    QString baseUrl;        // --base-url URL, KOMPAUN_BASE_URL
    QString caFile;         // --ca-file FILE, KOMPAUN_CA_FILE
    QString printer;        // --printer LINK, KOMPAUN_PRINTER (tcp:HOST:PORT or a Bluetooth address)
    QString nmeaSource;     // --nmea FILE|HOST:PORT, KOMPAUN_NMEA
    QString logFile;        // --log FILE
    bool selfTest = false;  // --self-test
    QString walkthroughDir; // --walkthrough DIR

    static QString usage();
    // Parses the arguments (without the program name); none and an error text on bad input.
    static std::optional<AppOptions> parse(const QStringList& args, QString* error);
};
