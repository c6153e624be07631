// council-emulator: the council's web service on loopback, for development, tests and demonstrations.
#include "CouncilEmulator.h"

#include <csignal>
#include <cstring>
#include <iostream>
#include <string>

namespace {

void usage() {
    std::cout
        << "usage: council-emulator [options]\n"
           "  --host ADDR          listen address (default 127.0.0.1)\n"
           "  --http-port N        HTTP port, 0 for a free one (default 0)\n"
           "  --https-port N       HTTPS port, 0 for a free one (default 0)\n"
           "  --no-http | --no-https\n"
           "  --db FILE            keep everything in this SQLite file (default: a temporary one)\n"
           "  --cert-dir DIR       where ca.pem, server.pem and server-key.pem are made\n"
           "  --fault E:KIND[:VALUE][:TIMES]   fail endpoint E (e.g. muatnaik_kompaun, or * for all);\n"
           "                       KIND: status delay drop html200 malformed retval empty accept-then-drop\n"
           "  --random-faults SEED:RATE[:DELAY_MS]   fail requests at random, replayable by seed\n"
           "Prints HTTP_URL=, HTTPS_URL=, CA_FILE= and DB_FILE= lines, then READY, and serves until\n"
           "SIGINT/SIGTERM or until standard input closes when --stdin-lifetime is given.\n";
}

volatile std::sig_atomic_t stopRequested = 0;
void onSignal(int) {
    stopRequested = 1;
}

} // namespace

int main(int argc, char** argv) {
    EmulatorOptions options;
    std::vector<std::pair<std::string, Fault>> faults;
    bool randomFaults = false;
    uint32_t seed = 0;
    double rate = 0;
    int randomDelay = 35000;
    bool stdinLifetime = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) {
                std::cerr << arg << " needs a value\n";
                std::exit(2);
            }
            return argv[++i];
        };
        try {
            if (arg == "--host")
                options.host = value();
            else if (arg == "--http-port" || arg == "--port")
                options.httpPort = std::stoi(value());
            else if (arg == "--https-port")
                options.httpsPort = std::stoi(value());
            else if (arg == "--no-http")
                options.http = false;
            else if (arg == "--no-https")
                options.https = false;
            else if (arg == "--db")
                options.dbPath = value();
            else if (arg == "--cert-dir")
                options.certDir = value();
            else if (arg == "--stdin-lifetime")
                stdinLifetime = true;
            else if (arg == "--fault") {
                std::string endpoint, error;
                Fault fault;
                if (!Faults::parseSpec(value(), endpoint, fault, error)) {
                    std::cerr << error << "\n";
                    return 2;
                }
                faults.emplace_back(endpoint, fault);
            } else if (arg == "--random-faults") {
                const std::string spec = value();
                randomFaults = true;
                seed = uint32_t(std::stoul(spec.substr(0, spec.find(':'))));
                const std::string rest = spec.substr(spec.find(':') + 1);
                rate = std::stod(rest.substr(0, rest.find(':')));
                if (rest.find(':') != std::string::npos)
                    randomDelay = std::stoi(rest.substr(rest.find(':') + 1));
            } else if (arg == "--help" || arg == "-h") {
                usage();
                return 0;
            } else {
                std::cerr << "unknown option " << arg << "\n";
                usage();
                return 2;
            }
        } catch (const std::exception&) {
            std::cerr << "bad value for " << arg << "\n";
            return 2;
        }
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
