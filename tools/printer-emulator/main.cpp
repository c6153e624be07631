// printer-emulator --port N --out DIR [--idle-ms MS] [--host ADDRESS]
//
// A stand-in for the network printer: each job becomes a PNG in DIR. It listens on loopback unless --host
// names another address. With --port 0 a free port is chosen;
// the port is printed as "listening on port N". SIGINT and SIGTERM save the jobs in progress and exit 0.
#include "PrinterEmulator.h"

#include <QCommandLineParser>
#include <QDir>
#include <QGuiApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int signalPipe[2] = {-1, -1};
void onSignal(int) {
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &c, 1);
}
} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser cli;
    cli.setApplicationDescription(QStringLiteral("Receives printer jobs over TCP and draws each as a PNG."));
    cli.addHelpOption();
    QCommandLineOption port(QStringLiteral("port"), QStringLiteral("TCP port (0 picks a free one)."),
                            QStringLiteral("N"));
    QCommandLineOption out(QStringLiteral("out"), QStringLiteral("Folder for the PNGs."),
                           QStringLiteral("DIR"));
    QCommandLineOption idle(
        QStringLiteral("idle-ms"),
        QStringLiteral("A job also ends after this many quiet milliseconds (0: only on close)."),
        QStringLiteral("MS"), QStringLiteral("3000"));
    // Loopback unless asked: a stand-in on a developer's machine has no business on the network.
    QCommandLineOption host(
        QStringLiteral("host"),
        QStringLiteral("Address to listen on (default 127.0.0.1; 0.0.0.0 for every interface)."),
        QStringLiteral("ADDRESS"), QStringLiteral("127.0.0.1"));
    cli.addOptions({port, out, idle, host});
    cli.process(app);
    bool portOk = false;
    const uint portNumber = cli.value(port).toUInt(&portOk);
    if (!cli.isSet(port) || !cli.isSet(out) || !portOk || portNumber > 65535) {
        std::fprintf(stderr, "usage: printer-emulator --port N --out DIR [--idle-ms MS] [--host ADDRESS]\n");
        return 2;
    }
    const QHostAddress address(cli.value(host));
    if (address.isNull()) {
        std::fprintf(stderr, "printer-emulator: --host \"%s\" is not an IP address\n",
                     qPrintable(cli.value(host)));
        return 2;
    }
    if (!QDir().mkpath(cli.value(out))) {
        std::fprintf(stderr, "printer-emulator: cannot create %s\n", qPrintable(cli.value(out)));
        return 1;
    }

    PrinterEmulator emulator(cli.value(out), cli.value(idle).toInt());
    if (!emulator.listen(address, quint16(portNumber))) {
        std::fprintf(stderr, "printer-emulator: cannot listen on %s port %u\n",
                     qPrintable(address.toString()), portNumber);
        return 1;
    }

    // Signals arrive on a pipe, so the shutdown runs on the event loop and not inside a signal handler.
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
        return 1;
    QSocketNotifier notifier(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, &app, [&] {
        char c;
        [[maybe_unused]] const ssize_t n = ::read(signalPipe[0], &c, 1);
        emulator.finishAll();
        app.quit();
    });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);

    std::printf("listening on port %u\n", emulator.port());
    std::fflush(stdout);
    return app.exec();
}
