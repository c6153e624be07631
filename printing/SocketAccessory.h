#pragma once

#include "printing/Accessory.h"

#include <QBluetoothAddress>
#include <QPointer>
#include <QSocketNotifier>

#include <functional>

#include <QIODevice>

// A session over a socket (TCP or Bluetooth RFCOMM): the output stream takes only what fits in a small window
// of unsent bytes and reports space again as the link moves them on, so a slow link is paced rather than
// flooded, and nothing is taken that the socket could not hold.
class SocketSession : public AccessorySession {
public:
    static constexpr qint64 kWriteWindow = 4096;

    // Takes ownership of the socket; the binding calls linkOpened/linkFailed/linkEnded from its signals.
    explicit SocketSession(QIODevice* socket);
    ~SocketSession() override;

    AccessoryInputStream* inputStream() override;
    AccessoryOutputStream* outputStream() override;

    QIODevice* socket() const { return socket_; }
    void linkOpened();
    void linkFailed();
    void linkEnded();
    void setCloser(std::function<void()> closer) { closer_ = std::move(closer); }
    // A TCP link ends its side when the last byte is written and waits for the printer to close its own:
    // an orderly close means the printer read to the end, a reset that it did not.
    void setConfirmByHalfClose(bool on) { halfClose_ = on; }
    bool confirmDelivery();

private:
    class Output;
    class Input;
    QPointer<QIODevice> socket_;
    std::unique_ptr<Output> output_;
    std::unique_ptr<Input> input_;
    void readConfirmation();

    std::function<void()> closer_;
    bool halfClose_ = false;
    int confirmFd_ = -1;
    std::unique_ptr<QSocketNotifier> confirmNotifier_;
    bool open_ = false;
    bool closed_ = false;
};

// A network printer (or the printer emulator) at host:port.
class TcpAccessory : public PrinterAccessory {
public:
    TcpAccessory(QString host, quint16 port);
    QString name() const override;
    QStringList protocolStrings() const override;
    std::unique_ptr<AccessorySession> openSession(const QString& protocolString) override;

private:
    QString host_;
    quint16 port_;
};

// A paired Bluetooth printer reached over the serial port profile.
class BluetoothAccessory : public PrinterAccessory {
public:
    explicit BluetoothAccessory(QBluetoothAddress address);
    QString name() const override;
    QStringList protocolStrings() const override;
    std::unique_ptr<AccessorySession> openSession(const QString& protocolString) override;

private:
    QBluetoothAddress address_;
};

// Lists the configured Bluetooth printer while the phone's Bluetooth is on.
class BluetoothAccessoryManager : public AccessoryManager {
public:
    explicit BluetoothAccessoryManager(QBluetoothAddress address);
    AccessoryList connectedAccessories() override;

private:
    std::shared_ptr<BluetoothAccessory> accessory_;
};
