#include "printing/PrinterLink.h"

#include "printing/SocketAccessory.h"

#include <QRegularExpression>

std::optional<PrinterLink> PrinterLink::parse(const QString& value, QString* error) {
    auto fail = [error](const QString& message) -> std::optional<PrinterLink> {
        if (error)
            *error = message;
        return std::nullopt;
    };
    const QString v = value.trimmed();
    if (v.startsWith(QLatin1String("tcp:"), Qt::CaseInsensitive)) {
        const QString rest = v.mid(4);
        const qsizetype colon = rest.lastIndexOf(QLatin1Char(':'));
        if (colon <= 0)
            return fail(QStringLiteral("printer link \"%1\": expected tcp:HOST:PORT").arg(value));
        QString host = rest.left(colon);
        if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']')))
            host = host.mid(1, host.size() - 2);
        bool ok = false;
        const uint port = rest.mid(colon + 1).toUInt(&ok);
        if (!ok || port == 0 || port > 65535)
            return fail(QStringLiteral("printer link \"%1\": the port must be 1 to 65535").arg(value));
        PrinterLink link;
        link.kind = Tcp;
        link.host = host;
        link.port = quint16(port);
        return link;
    }
    QString address = v;
    if (address.startsWith(QLatin1String("bt:"), Qt::CaseInsensitive))
        address = address.mid(3);
    static const QRegularExpression mac(QStringLiteral("^[0-9A-Fa-f]{2}(:[0-9A-Fa-f]{2}){5}$"));
    if (!mac.match(address).hasMatch())
        return fail(QStringLiteral("printer link \"%1\": expected tcp:HOST:PORT or a Bluetooth address "
                                   "like 00:11:22:33:44:55")
                        .arg(value));
    PrinterLink link;
    link.kind = Bluetooth;
    link.address = QBluetoothAddress(address);
    return link;
}

QString PrinterLink::toString() const {
    return kind == Tcp ? QStringLiteral("tcp:%1:%2").arg(host).arg(port) : address.toString();
}

std::unique_ptr<AccessoryManager> PrinterLink::makeAccessoryManager(const QString& protocol) const {
    if (kind == Tcp)
        return std::make_unique<FixedAccessoryManager>(
            AccessoryList{std::make_shared<TcpAccessory>(host, port, protocol)});
    return std::make_unique<BluetoothAccessoryManager>(address, protocol);
}
