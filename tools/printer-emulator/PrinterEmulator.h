#pragma once

#include <QByteArray>
#include <QDir>
#include <QHash>
#include <QObject>
#include <QTcpServer>
#include <QTimer>

class QTcpSocket;

// Listens like a network printer. A job is everything one connection sends; it ends when the sender closes
// the connection, or after an idle gap with no bytes (for senders that keep the link open between notices).
// Each job is saved as job-NNNN.png (the receipt as the printer would print it) and job-NNNN.bin (its bytes).
class PrinterEmulator : public QObject {
    Q_OBJECT
public:
    PrinterEmulator(QString outDir, int idleMs, QObject* parent = nullptr);
    bool listen(const QHostAddress& address, quint16 port);
    quint16 port() const { return server_.serverPort(); }
    // Ends the jobs in progress, saving what they received.
    void finishAll();
    int jobsWritten() const { return jobs_; }

private:
    struct Connection {
        QByteArray bytes;
        QTimer* idle = nullptr;
    };
    void accept();
    void finishJob(QTcpSocket* socket);
    bool saveJob(const QByteArray& bytes);

    QTcpServer server_;
    QDir out_;
    int idleMs_;
    int jobs_ = 0;
    QHash<QTcpSocket*, Connection> connections_;
};
