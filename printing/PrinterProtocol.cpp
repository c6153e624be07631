#include "printing/PrinterProtocol.h"

QString PrinterProtocol::compiled() {
    return QStringLiteral(KOMPAUN_PRINTER_PROTOCOL);
}
