#include "printing/SocketAccessory.h"

#include "printing/WSSessionController.h"

#include <QBluetoothLocalDevice>
#include <QBluetoothSocket>
#include <QBluetoothUuid>
#include <QTcpSocket>
#include <QTimer>

#include <cerrno>

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

class SocketSession::Output : public AccessoryOutputStream {
public:
    explicit Output(SocketSession* s) : s_(s) {}
    void open() override {}
    void close() override {}
    bool hasSpaceAvailable() const override {
        return s_->open_ && s_->socket_ && s_->socket_->bytesToWrite() < kWriteWindow;
    }
    qint64 write(const char* data, qint64 length) override {
        if (!s_->open_ || !s_->socket_)
            return -1;
        const qint64 room = kWriteWindow - s_->socket_->bytesToWrite();
        if (room <= 0)
            return 0;
        return s_->socket_->write(data, std::min(room, length));
    }
    qint64 pendingBytes() const override { return s_->socket_ ? s_->socket_->bytesToWrite() : 0; }
    bool confirmDelivery() override { return s_->confirmDelivery(); }
    void emitEvent(int event) { post(event); }

private:
    SocketSession* s_;
};

class SocketSession::Input : public AccessoryInputStream {
public:
    explicit Input(SocketSession* s) : s_(s) {}
    void open() override {}
    void close() override {}
    bool hasBytesAvailable() const override { return s_->socket_ && s_->socket_->bytesAvailable() > 0; }
    qint64 read(char* data, qint64 maxLength) override {
        return s_->socket_ ? s_->socket_->read(data, maxLength) : -1;
    }
    void emitEvent(int event) { post(event); }

private:
    SocketSession* s_;
};

SocketSession::SocketSession(QIODevice* socket)
    : socket_(socket), output_(std::make_unique<Output>(this)), input_(std::make_unique<Input>(this)) {
    QObject::connect(socket, &QIODevice::bytesWritten, output_.get(),
                     [this] { output_->emitEvent(AccessoryStream::HasSpaceAvailable); });
    QObject::connect(socket, &QIODevice::readyRead, input_.get(),
                     [this] { input_->emitEvent(AccessoryStream::HasBytesAvailable); });
}

SocketSession::~SocketSession() {
    confirmNotifier_.reset();
    if (confirmFd_ >= 0)
        ::close(confirmFd_);
    if (socket_) {
        socket_->disconnect();
        // Whatever the socket still holds goes out before it closes.
        if (closer_)
            closer_();
        socket_->deleteLater();
    }
}

AccessoryInputStream* SocketSession::inputStream() {
    return input_.get();
}
AccessoryOutputStream* SocketSession::outputStream() {
    return output_.get();
}

void SocketSession::linkOpened() {
    open_ = true;
    output_->emitEvent(AccessoryStream::OpenCompleted);
    output_->emitEvent(AccessoryStream::HasSpaceAvailable);
    input_->emitEvent(AccessoryStream::OpenCompleted);
}

void SocketSession::linkFailed() {
    if (closed_)
        return;
    closed_ = true;
    open_ = false;
    output_->emitEvent(AccessoryStream::ErrorOccurred);
}

void SocketSession::linkEnded() {
    if (closed_)
        return;
    closed_ = true;
    open_ = false;
    output_->emitEvent(AccessoryStream::EndEncountered);
}

bool SocketSession::confirmDelivery() {
    auto* tcp = qobject_cast<QAbstractSocket*>(socket_.data());
    if (!halfClose_ || !tcp)
        return true;
    if (tcp->state() != QAbstractSocket::ConnectedState || tcp->bytesToWrite() > 0) {
        output_->emitEvent(AccessoryStream::ErrorOccurred);
        return false;
    }
    // Qt cannot end one direction only, nor tell an orderly close from a reset: take the connection over
    // on a descriptor of our own and let the socket object go.
    confirmFd_ = ::fcntl(int(tcp->socketDescriptor()), F_DUPFD_CLOEXEC, 0);
    tcp->disconnect();
    tcp->abort();
    if (confirmFd_ < 0 || ::shutdown(confirmFd_, SHUT_WR) != 0) {
        output_->emitEvent(AccessoryStream::ErrorOccurred);
        return false;
    }
    confirmNotifier_ = std::make_unique<QSocketNotifier>(confirmFd_, QSocketNotifier::Read);
    QObject::connect(confirmNotifier_.get(), &QSocketNotifier::activated, output_.get(),
                     [this] { readConfirmation(); });
    return false;
}

void SocketSession::readConfirmation() {
    char buffer[512];
    for (;;) {
        const ssize_t n = ::recv(confirmFd_, buffer, sizeof buffer, MSG_DONTWAIT);
        if (n > 0)
            continue; // the printer's own chatter, of no use once the notice is out
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return;
        confirmNotifier_->setEnabled(false);
        output_->emitEvent(n == 0 ? AccessoryStream::DeliveryConfirmed : AccessoryStream::ErrorOccurred);
        return;
    }
}

TcpAccessory::TcpAccessory(QString host, quint16 port) : host_(std::move(host)), port_(port) {}

QString TcpAccessory::name() const {
    return QStringLiteral("%1:%2").arg(host_).arg(port_);
}

QStringList TcpAccessory::protocolStrings() const {
    return {QString::fromLatin1(WSSessionController::kProtocolString)};
}

std::unique_ptr<AccessorySession> TcpAccessory::openSession(const QString& protocolString) {
    if (!protocolStrings().contains(protocolString))
        return nullptr;
    auto* socket = new QTcpSocket();
    auto session = std::make_unique<SocketSession>(socket);
    SocketSession* s = session.get();
    QObject::connect(socket, &QTcpSocket::connected, socket, [s] { s->linkOpened(); });
    QObject::connect(socket, &QTcpSocket::errorOccurred, socket, [s] { s->linkFailed(); });
    QObject::connect(socket, &QTcpSocket::disconnected, socket, [s] { s->linkEnded(); });
    session->setCloser([socket] { socket->disconnectFromHost(); });
    session->setConfirmByHalfClose(true);
    socket->connectToHost(host_, port_);
    return session;
}

BluetoothAccessory::BluetoothAccessory(QBluetoothAddress address) : address_(std::move(address)) {}

QString BluetoothAccessory::name() const {
    return address_.toString();
}

QStringList BluetoothAccessory::protocolStrings() const {
    return {QString::fromLatin1(WSSessionController::kProtocolString)};
}

std::unique_ptr<AccessorySession> BluetoothAccessory::openSession(const QString& protocolString) {
    if (!protocolStrings().contains(protocolString) || address_.isNull())
        return nullptr;
    auto* socket = new QBluetoothSocket(QBluetoothServiceInfo::RfcommProtocol);
    auto session = std::make_unique<SocketSession>(socket);
    SocketSession* s = session.get();
    QObject::connect(socket, &QBluetoothSocket::connected, socket, [s] { s->linkOpened(); });
    QObject::connect(socket, &QBluetoothSocket::errorOccurred, socket, [s] { s->linkFailed(); });
    QObject::connect(socket, &QBluetoothSocket::disconnected, socket, [s] { s->linkEnded(); });
    session->setCloser([socket] { socket->disconnectFromService(); });
    socket->connectToService(address_, QBluetoothUuid(QBluetoothUuid::ServiceClassUuid::SerialPort));
    return session;
}

BluetoothAccessoryManager::BluetoothAccessoryManager(QBluetoothAddress address)
    : accessory_(std::make_shared<BluetoothAccessory>(std::move(address))) {}

AccessoryList BluetoothAccessoryManager::connectedAccessories() {
    QBluetoothLocalDevice local;
    if (!local.isValid() || local.hostMode() == QBluetoothLocalDevice::HostPoweredOff)
        return {};
    return {accessory_};
}
