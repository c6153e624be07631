#pragma once

// A network printer on loopback, for the session's and print-notice's tests: it reads everything and
// closes in good order when the phone does, hangs up after `limit` bytes (a reset, since the rest is still
// unread), or never reads at all.
#include <QTcpServer>
#include <QTcpSocket>

class LoopbackPrinter : public QObject {
public:
    enum Kind { ReadsAll, HangsUpAfter, NeverReads };
    explicit LoopbackPrinter(Kind kind, qint64 limit = 0) : kind_(kind), limit_(limit) {
        server_.listen(QHostAddress::LocalHost);
        // Never accepted, a connection waits in the backlog, established and never read.
        if (kind_ == NeverReads)
            server_.pauseAccepting();
        connect(&server_, &QTcpServer::newConnection, this, &LoopbackPrinter::accept);
    }
    quint16 port() const { return server_.serverPort(); }
    QString link() const { return QStringLiteral("tcp:127.0.0.1:%1").arg(port()); }
    QByteArray received;
    bool disconnected = false;

private:
    void accept() {
        QTcpSocket* socket = server_.nextPendingConnection();
        if (kind_ == HangsUpAfter)
            socket->setReadBufferSize(limit_);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
            received += kind_ == ReadsAll ? socket->readAll() : socket->read(limit_ - received.size());
            if (kind_ == HangsUpAfter && received.size() >= limit_)
                socket->abort();
        });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            if (socket->isOpen()) // not after its own hang-up
                received += socket->readAll();
            disconnected = true;
        });
    }
    QTcpServer server_;
    Kind kind_;
    qint64 limit_;
};
