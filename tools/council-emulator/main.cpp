// council-emulator: the council's web service on loopback, for development, tests and demonstrations.
#include "CouncilEmulator.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <csignal>
#include <cstring>
#include <iostream>
#include <string>

namespace {

volatile std::sig_atomic_t stopRequested = 0;
void onSignal(int) {
    stopRequested = 1;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("The council's web service on loopback, for development, tests and demonstrations.\n"
                       "Prints HTTP_URL=, HTTPS_URL=, CA_FILE= and DB_FILE= lines, then READY, and serves "
                       "until SIGINT/SIGTERM, "
                       "or until standard input closes with --stdin-lifetime."));
    parser.addHelpOption();
    const QCommandLineOption host(QStringLiteral("host"),
                                  QStringLiteral("listen address (default 127.0.0.1)"),
                                  QStringLiteral("ADDR"), QStringLiteral("127.0.0.1"));
    const QCommandLineOption httpPort({QStringLiteral("http-port"), QStringLiteral("port")},
                                      QStringLiteral("HTTP port, 0 for a free one (default 0)"),
                                      QStringLiteral("N"), QStringLiteral("0"));
    const QCommandLineOption httpsPort(QStringLiteral("https-port"),
                                       QStringLiteral("HTTPS port, 0 for a free one (default 0)"),
                                       QStringLiteral("N"), QStringLiteral("0"));
    const QCommandLineOption noHttp(QStringLiteral("no-http"), QStringLiteral("serve no plain HTTP"));
    const QCommandLineOption noHttps(QStringLiteral("no-https"), QStringLiteral("serve no HTTPS"));
    const QCommandLineOption db(
        QStringLiteral("db"),
        QStringLiteral("keep everything in this SQLite file (default: a temporary one)"),
        QStringLiteral("FILE"));
    const QCommandLineOption certDir(QStringLiteral("cert-dir"),
                                     QStringLiteral("where ca.pem, server.pem and server-key.pem are made"),
                                     QStringLiteral("DIR"));
    const QCommandLineOption stdinLifetimeOption(QStringLiteral("stdin-lifetime"),
                                                 QStringLiteral("stop when standard input closes"));
    const QCommandLineOption faultOption(
        QStringLiteral("fault"),
        QStringLiteral(
            "fail endpoint E (e.g. muatnaik_kompaun, or * for all); KIND: status delay drop html200 "
            "malformed retval empty accept-then-drop slow (VALUE: bytes per second the body is read "
            "at). May be repeated."),
        QStringLiteral("E:KIND[:VALUE][:TIMES]"));
    const QCommandLineOption random(QStringLiteral("random-faults"),
                                    QStringLiteral("fail requests at random, replayable by seed"),
                                    QStringLiteral("SEED:RATE[:DELAY_MS]"));
    parser.addOptions(
        {host, httpPort, httpsPort, noHttp, noHttps, db, certDir, stdinLifetimeOption, faultOption, random});
    parser.process(app);

    EmulatorOptions options;
    std::vector<std::pair<std::string, Fault>> faults;
    bool randomFaults = false;
    uint32_t seed = 0;
    double rate = 0;
    int randomDelay = 35000;
    const bool stdinLifetime = parser.isSet(stdinLifetimeOption);
    try {
        options.host = parser.value(host).toStdString();
        options.httpPort = std::stoi(parser.value(httpPort).toStdString());
        options.httpsPort = std::stoi(parser.value(httpsPort).toStdString());
        options.http = !parser.isSet(noHttp);
        options.https = !parser.isSet(noHttps);
        if (parser.isSet(db))
            options.dbPath = parser.value(db).toStdString();
        if (parser.isSet(certDir))
            options.certDir = parser.value(certDir).toStdString();
        for (const QString& text : parser.values(faultOption)) {
            std::string endpoint, error;
            Fault f;
            if (!Faults::parseFault(text.toStdString(), endpoint, f, error)) {
                std::cerr << error << "\n";
                return 2;
            }
            faults.emplace_back(endpoint, f);
        }
        if (parser.isSet(random)) {
            const std::string text = parser.value(random).toStdString();
            randomFaults = true;
            seed = uint32_t(std::stoul(text.substr(0, text.find(':'))));
            const std::string rest = text.substr(text.find(':') + 1);
            rate = std::stod(rest.substr(0, rest.find(':')));
            if (rest.find(':') != std::string::npos)
                randomDelay = std::stoi(rest.substr(rest.find(':') + 1));
        }
    } catch (const std::exception&) {
        std::cerr << "council-emulator: a port or fault value is not a number\n";
        return 2;
    }

    CouncilEmulator emulator(options);
    std::string error;
    if (!emulator.start(error)) {
        std::cerr << "council-emulator: " << error << "\n";
        return 1;
    }
    for (const auto& [endpoint, fault] : faults)
        emulator.faults().set(endpoint, fault);
    if (randomFaults)
        emulator.faults().setRandom(seed, rate, randomDelay);

    if (emulator.httpPort() > 0)
        std::cout << "HTTP_URL=" << emulator.httpUrl() << "\n";
    if (emulator.httpsPort() > 0)
        std::cout << "HTTPS_URL=" << emulator.httpsUrl() << "\nCA_FILE=" << emulator.caFile() << "\n";
    std::cout << "DB_FILE=" << emulator.dbPath() << "\nREADY" << std::endl;

    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    if (stdinLifetime) {
        // The parent holds our standard input; when it goes away, so do we.
        char buffer[256];
        while (!stopRequested && std::cin.read(buffer, sizeof buffer))
            ;
    } else {
        while (!stopRequested)
            pause();
    }
    emulator.stop();
    return 0;
}
