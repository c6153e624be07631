#pragma once

#include <QString>

// The accessory protocol string the receipt printer answers to. It depends on the printer model a council
// deploys, so it is a deployment setting (CMake KOMPAUN_PRINTER_PROTOCOL, --printer-protocol), not code.
namespace PrinterProtocol {
// The one this build was configured with.
QString compiled();
} // namespace PrinterProtocol
