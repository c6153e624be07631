#include "Flows.h"
#include "SampleData.h"
#include "Walkthrough.h"
#include "app/Application.h"
#include "core/AppDelegate.h"
#include "core/RecordKeys.h"
#include "printing/NoticePrinter.h"
#include "printing/PrinterConnection.h"
#include "printing/PrinterViewController.h"
#include "screens/ShellController.h"

#include <QQuickItem>

// The printer screen: sign in again, connect, the test page and its preview; then two compounds stored
// with photographs and printed as the review screen does it, and the printer disconnected.
void printingFlow(Walkthrough& w) {
    Application& app = w.app();
    Officer& officer = w.officer();
    AppDelegate& core = app.app();
    PrinterViewController& printer = app.printerScreen();
    PrinterConnection& connection = app.printerConnection();
    const auto connected = [&] { return printer.state() == PrinterViewController::Connected; };

    w.step(
        QStringLiteral("printer-connect"),
        [&] {
            officer.type(QStringLiteral("userIDField"), w.staffCode());
            officer.type(QStringLiteral("passwordField"), w.password());
            officer.tap(QStringLiteral("btn"));
            officer.tap(QStringLiteral("tab4"));
            officer.tap(QStringLiteral("pencetakSambung"));
            Officer::waitUntil(connected, 10000);
        },
        [&]() -> QString {
            if (!connected() || printer.rockTo() != 1)
                return QStringLiteral("printer shows \"%1\"").arg(printer.status());
            return printer.buttonTitle() == QLatin1String("Putuskan") ? QString()
                                                                      : QStringLiteral("button not Putuskan");
        });

    QString receipt;
    w.step(
        QStringLiteral("printer-test-page"),
        [&] {
            officer.tap(QStringLiteral("printTestPage"));
            receipt = w.collectReceipt(QStringLiteral("printer-test-page"));
        },
        [&] { return receipt.isEmpty() ? QStringLiteral("no test page reached the printer") : QString(); });

    const auto previewDrawn = [&] {
        QQuickItem* image = officer.find(QStringLiteral("receiptPreview"));
        return image && image->property("status").toInt() == 1;
    };
    w.step(
        QStringLiteral("print-preview"),
        [&] {
            officer.tap(QStringLiteral("previewTestPage"));
            Officer::waitUntil(previewDrawn);
        },
        [&] { return previewDrawn() ? QString() : QStringLiteral("the preview did not draw"); });
    officer.tap(QStringLiteral("closePreview"));

    // Two compounds confirmed as the review screen confirms them: stored with their photographs, printed
    // on a fresh session, and the running number advanced.
    for (const bool traffic : {false, true}) {
        const QString name = traffic ? QStringLiteral("notice-traffic") : QStringLiteral("notice-general");
        QString number;
        w.step(
            name,
            [&, traffic, name] {
                const Record record = sampleCompound(core, traffic);
                number = record->value(Key::kompaunRunningNumber);
                core.setImageArray(
                    scenePhoto(number, traffic ? QColor(0x1f, 0x4e, 0x79) : QColor(0x2e, 0x6b, 0x3a)));
                core.setImageArray(scenePhoto(QStringLiteral("%1 (2)").arg(number), QColor(0x55, 0x55, 0x55)));
                core.insertIntoBaruPBCompound(record);
                connection.printerDisconnect();
                connection.printerConnect();
                Officer::waitUntil(connected, 10000);
                app.notices().cetakSaman(connection.sessionController(), record, traffic);
                core.addOneRunningNumber();
                receipt = w.collectReceipt(name);
            },
            [&]() -> QString {
                if (receipt.isEmpty())
                    return QStringLiteral("the notice did not reach the printer");
                const SavedCompoundList stored = core.saveStore().getDicetak();
                if (stored.isEmpty() || stored.last().record->value(Key::kompaunRunningNumber) != number ||
                    stored.last().photos.size() != 2)
                    return QStringLiteral("%1 not stored with its photographs").arg(number);
                return {};
            });
    }

    w.step(
        QStringLiteral("printer-disconnect"), [&] { officer.tap(QStringLiteral("pencetakSambung")); },
        [&]() -> QString {
            return printer.status() == QLatin1String("Putus") && printer.buttonTitle() == QLatin1String("Sambungkan")
                       ? QString()
                       : QStringLiteral("printer shows \"%1\"").arg(printer.status());
        });
}
