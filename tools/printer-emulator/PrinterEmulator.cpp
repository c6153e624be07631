#include "PrinterEmulator.h"

#include "printing/ReceiptRenderer.h"

#include <QBuffer>
#include <QSaveFile>
#include <QTcpSocket>

#include <cstdio>

PrinterEmulator::PrinterEmulator(QString outDir, int idleMs, QObject* parent)
    : QObject(parent), out_(outDir), idleMs_(idleMs) {
    connect(&server_, &QTcpServer::newConnection, this, &PrinterEmulator::accept);
    // Carry on numbering after jobs already in the folder, so a restart never overwrites one.
    for (const QString& name : out_.entryList({QStringLiteral("job-*.png")}))
        jobs_ = std::max(jobs_, name.mid(4, 4).toInt());
}

bool PrinterEmulator::listen(const QHostAddress& address, quint16 port) {
    return server_.listen(address, port);
}

void PrinterEmulator::accept() {
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
        Connection& c = connections_[socket];
        c.idle = new QTimer(socket);
        c.idle->setSingleShot(true);
        connect(c.idle, &QTimer::timeout, this, [this, socket] {
            Connection& conn = connections_[socket];
            if (!conn.bytes.isEmpty()) {
                saveJob(conn.bytes);
                conn.bytes.clear();
            }
        });
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
            Connection& conn = connections_[socket];
            conn.bytes += socket->readAll();
            if (idleMs_ > 0)
                conn.idle->start(idleMs_);
        });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] { finishJob(socket); });
    }
}

void PrinterEmulator::finishJob(QTcpSocket* socket) {
    auto it = connections_.find(socket);
    if (it == connections_.end())
        return;
    QByteArray bytes = it->bytes + socket->readAll();
    connections_.erase(it);
    if (!bytes.isEmpty())
        saveJob(bytes);
    socket->deleteLater();
}

void PrinterEmulator::finishAll() {
    const auto sockets = connections_.keys();
    for (QTcpSocket* socket : sockets)
        finishJob(socket);
}

bool PrinterEmulator::saveJob(const QByteArray& bytes) {
    ++jobs_;
    const QString base = out_.filePath(QStringLiteral("job-%1").arg(jobs_, 4, 10, QLatin1Char('0')));
    QSaveFile raw(base + QStringLiteral(".bin"));
    const bool rawOk = raw.open(QIODevice::WriteOnly) && raw.write(bytes) == bytes.size() && raw.commit();
    QSaveFile png(base + QStringLiteral(".png"));
    const bool pngOk =
        png.open(QIODevice::WriteOnly) && ReceiptRenderer::render(bytes).save(&png, "PNG") && png.commit();
    std::printf("job %d: %lld bytes -> %s.png%s\n", jobs_, static_cast<long long>(bytes.size()),
                qPrintable(base), rawOk && pngOk ? "" : " (NOT SAVED)");
    std::fflush(stdout);
    return rawOk && pngOk;
}
