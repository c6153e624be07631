// print-notice [--traffic] RECORD.json (--out FILE | --printer LINK) [--header BMP] [--base-url URL]
//
// Prints the notice of one compound record, given as a JSON object, the way the application prints it:
// disconnect, connect, compose, write, and wait until the printer has every byte. Exits 0 only then.
#include "core/RecordKeys.h"
#include "platform/Alerts.h"
#include "platform/QtLog.h"
#include "printing/NoticePrinter.h"
#include "printing/PrinterConnection.h"
#include "printing/PrinterLink.h"
#include "printing/RecordingAccessory.h"
#include "printing/WSSessionController.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>

#include <cstdio>

namespace {

// The connection's alerts are the officer's (a Bluetooth hint, whatever the link): the tool notes that one
// came and says the reason in its own words.
class NotedAlerts : public Alerts {
public:
    void show(Alert) override { shown = true; }
    bool shown = false;
};

int fail(const QString& message) {
    std::fprintf(stderr, "print-notice: %s\n", qPrintable(message));
    return 1;
}

QString defaultHeader() {
    const QString beside =
        QCoreApplication::applicationDirPath() + QStringLiteral("/resources/printheader.bmp");
    if (QFileInfo::exists(beside))
        return beside;
    return QStringLiteral(KOMPAUN_SOURCE_RESOURCES "/printheader.bmp");
}

} // namespace

int main(int argc, char** argv) {
    // Image decoding needs a GUI application object, never a window.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser cli;
    cli.setApplicationDescription(QStringLiteral("Prints a compound notice to a file or a printer."));
    cli.addHelpOption();
    cli.addPositionalArgument(QStringLiteral("RECORD.json"),
                              QStringLiteral("The compound record, a JSON object."));
    QCommandLineOption traffic(QStringLiteral("traffic"), QStringLiteral("Print the traffic notice."));
    QCommandLineOption out(QStringLiteral("out"), QStringLiteral("Write the printer's bytes to FILE."),
                           QStringLiteral("FILE"));
    QCommandLineOption printer(QStringLiteral("printer"),
                               QStringLiteral("Print to LINK: tcp:HOST:PORT or a Bluetooth address."),
                               QStringLiteral("LINK"));
    QCommandLineOption header(QStringLiteral("header"), QStringLiteral("The header bitmap."),
                              QStringLiteral("BMP"), defaultHeader());
    QCommandLineOption baseUrl(QStringLiteral("base-url"),
                               QStringLiteral("The web service base for the QR code."), QStringLiteral("URL"),
                               NoticePrinter::defaultBaseUrl());
    QCommandLineOption timeout(QStringLiteral("timeout"),
                               QStringLiteral("Give up after SECONDS (default 120)."),
                               QStringLiteral("SECONDS"), QStringLiteral("120"));
    cli.addOptions({traffic, out, printer, header, baseUrl, timeout});
    cli.process(app);

    if (cli.positionalArguments().size() != 1 || cli.isSet(out) == cli.isSet(printer)) {
        std::fprintf(stderr, "usage: print-notice [--traffic] RECORD.json (--out FILE | --printer LINK)\n");
        return 2;
    }
    QFile file(cli.positionalArguments().first());
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot read %1").arg(file.fileName()));
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (!doc.isObject())
        return fail(
            QStringLiteral("%1 is not a JSON object (%2)").arg(file.fileName(), parseError.errorString()));
    RecordMap values;
    const QJsonObject object = doc.object();
    for (auto it = object.begin(); it != object.end(); ++it)
        values.insert(it.key(),
                      it.value().isString() ? it.value().toString() : it.value().toVariant().toString());
    const Record record = makeRecord(values);
    // A notice without its number cannot be paid nor traced: never print one.
    if (record->value(Key::kompaunRunningNumber).trimmed().isEmpty()) {
        std::fprintf(stderr, "print-notice: %s has no compound number (\"%s\"): nothing printed\n",
                     qPrintable(file.fileName()), Key::kompaunRunningNumber.latin1());
        return 2;
    }

    QtLog log;
    NotedAlerts alerts;
    NoticePrinter notices(cli.value(header), cli.value(baseUrl), &log);
    if (notices.noticeBytes(record, cli.isSet(traffic)).isEmpty())
        return fail(
            QStringLiteral("the header bitmap %1 cannot be read: nothing printed").arg(cli.value(header)));

    std::unique_ptr<AccessoryManager> accessories;
    std::shared_ptr<RecordingAccessory> recording;
    QString destination;
    if (cli.isSet(out)) {
        destination = cli.value(out);
        recording = std::make_shared<RecordingAccessory>(QStringLiteral("file"));
        recording->setOutputFile(cli.value(out));
        accessories = std::make_unique<FixedAccessoryManager>(AccessoryList{recording});
    } else {
        QString error;
        const auto link = PrinterLink::parse(cli.value(printer), &error);
        if (!link)
            return fail(error);
        accessories = link->makeAccessoryManager();
        destination = link->kind == PrinterLink::Tcp
                          ? QStringLiteral("the printer at %1").arg(link->toString())
                          : QStringLiteral("the Bluetooth printer %1 (is it paired and switched on?)")
                                .arg(link->toString());
    }

    WSSessionController controller(&log);
    controller.setDrainTimeoutMs(cli.value(timeout).toInt() * 1000);
    // The connection's own log lines are the application's ("Connected" as soon as a session is asked
    // for, a file included); this tool says what happened itself.
    PrinterConnection connection(accessories.get(), &controller, nullptr, &alerts);
    bool opened = false;
    QObject::connect(&controller, &WSSessionController::sessionOpened, &app, [&] { opened = true; });
    const auto connectFailed = [&] {
        return QStringLiteral("cannot connect to %1: nothing printed").arg(destination);
    };
    // Success only when the printer has every byte: the notice written whole, then the session closed with
    // the link confirming the printer read to the end. Anything else is a failed print.
    int exitCode = -1;
    int notice = 0;
    QString failure;
    const auto failWith = [&](const QString& why) {
        if (exitCode < 0) {
            exitCode = 1;
            failure = why;
        }
    };
    QObject::connect(&controller, &WSSessionController::sessionFailed, &app, [&] {
        failWith(opened ? QStringLiteral("the printer link failed before the notice was out")
                        : connectFailed());
    });
    QObject::connect(&controller, &WSSessionController::noticeFinished, &app, [&](int number, bool written) {
        if (number != notice)
            return;
        if (written)
            controller.closeSession();
        else
            failWith(QStringLiteral("the printer did not take the whole notice"));
    });
    QObject::connect(&controller, &WSSessionController::sessionClosed, &app, [&](bool delivered) {
        if (notice == 0)
            return;
        if (delivered && controller.noticesInFlight() == 0 && exitCode < 0)
            exitCode = 0;
        else
            failWith(opened ? QStringLiteral("the printer did not confirm it read the whole notice")
                            : connectFailed());
    });

    connection.reconnect();
    if (alerts.shown)
        return fail(connectFailed());
    notice = notices.cetakSaman(&controller, record, cli.isSet(traffic));

    QTimer giveUp;
    giveUp.setSingleShot(true);
    giveUp.start(cli.value(timeout).toInt() * 1000);
    while (exitCode < 0 && !alerts.shown && giveUp.isActive())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    if (alerts.shown)
        failWith(opened ? QStringLiteral("the printer did not take the whole notice") : connectFailed());
    failWith(QStringLiteral("the printer did not take the notice in time"));
    controller.abortSession();
    if (exitCode != 0)
        std::fprintf(stderr, "print-notice: %s\n", qPrintable(failure));
    // Let the closed session go, which also writes --out.
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    if (alerts.shown)
        exitCode = 1;
    if (recording && recording->saveFailed())
        return fail(QStringLiteral("cannot write %1").arg(cli.value(out)));
    return exitCode;
}
