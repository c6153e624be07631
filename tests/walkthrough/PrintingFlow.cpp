#include "Flows.h"
#include "Walkthrough.h"
#include "app/Application.h"
#include "printing/PrinterViewController.h"
#include "screens/ShellController.h"

#include <QQuickItem>

// The printer screen: sign in again, connect, the test page and its preview, and the printer disconnected.
// Compounds are printed through the issuing screens (CompoundFlow).
void printingFlow(Walkthrough& w) {
    Application& app = w.app();
    Officer& officer = w.officer();
    PrinterViewController& printer = app.printerScreen();
    const auto connected = [&] { return printer.state() == PrinterViewController::Connected; };

    w.step(
        QStringLiteral("printer-connect"),
        [&] {
            officer.type(QStringLiteral("userIDField"), w.staffCode());
            officer.type(QStringLiteral("passwordField"), w.password());
            officer.tap(QStringLiteral("btn"));
            officer.tap(QStringLiteral("tab4"));
            // Printing a compound earlier left it connected: disconnect first, to connect from the screen.
            if (connected()) {
                officer.tap(QStringLiteral("pencetakSambung"));
                Officer::waitUntil([&] { return printer.status() == QLatin1String("Putus"); }, 10000);
            }
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

    w.step(
        QStringLiteral("printer-disconnect"), [&] { officer.tap(QStringLiteral("pencetakSambung")); },
        [&]() -> QString {
            return printer.status() == QLatin1String("Putus") &&
                           printer.buttonTitle() == QLatin1String("Sambungkan")
                       ? QString()
                       : QStringLiteral("printer shows \"%1\"").arg(printer.status());
        });
}
