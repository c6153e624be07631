#include "screens/printer/PrinterViewController.h"

#include "printing/NoticePrinter.h"
#include "printing/PrinterConnection.h"

PrinterViewController::PrinterViewController(PrinterConnection* connection, const NoticePrinter* printer,
                                             QObject* parent)
    : QObject(parent), connection_(connection), printer_(printer) {
    if (connection_)
        connect(connection_, &PrinterConnection::printerStatus, this,
                &PrinterViewController::checkPrinterStatus);
}

void PrinterViewController::checkPrinterStatus(int state) {
    if (state == 1) {
        status_ = QStringLiteral("Disambung");
        state_ = Connected;
        rockTo_ = 1;
        buttonTitle_ = QStringLiteral("Putuskan");
    } else {
        status_ = QStringLiteral("Putus");
        state_ = Disconnected;
        rockTo_ = 0;
        buttonTitle_ = QStringLiteral("Sambungkan");
    }
    emit changed();
}

void PrinterViewController::pencetakAction() {
    if (!connection_)
        return;
    if (rockTo_ == 1)
        connection_->printerDisconnect();
    else
        connection_->printerConnect();
}

void PrinterViewController::printr() {
    if (connection_ && printer_)
        printer_->printSampleNewSDK(connection_->sessionController());
}
