#pragma once

#include "printing/Accessory.h"
#include "printing/PrinterProtocol.h"

#include <QBluetoothAddress>
#include <QString>

#include <memory>
#include <optional>

// Where the printer is, as given with --printer: "tcp:HOST:PORT" for a network printer or the emulator, or
// the Bluetooth address of a paired printer ("00:11:22:33:44:55", optionally "bt:"-prefixed).
struct PrinterLink {
    enum Kind { Tcp, Bluetooth };
    Kind kind = Tcp;
    QString host;
    quint16 port = 0;
    QBluetoothAddress address;

    // The link, or nothing with a message in error.
    static std::optional<PrinterLink> parse(const QString& value, QString* error = nullptr);
    QString toString() const;
    // The accessory list that offers this printer.
    std::unique_ptr<AccessoryManager>
    makeAccessoryManager(const QString& protocol = PrinterProtocol::compiled()) const;
};
