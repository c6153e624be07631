#include "support/TestSupport.h"

#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using testsupport::waitFor;

namespace {

QString record(const char* name) {
    return testsupport::sourcePath(QStringLiteral("tests/printing/records/")) + QLatin1String(name);
}

// Runs print-notice while this process's event loop serves the fake printer; its exit code, -1 if it hung.
int printNotice(const QStringList& args, QByteArray* errors = nullptr) {
    QProcess p;
    p.start(testsupport::binDir() + QStringLiteral("/print-notice"), args);
    if (!waitFor([&] { return p.state() == QProcess::NotRunning; }, 60000)) {
        p.kill();
        p.waitForFinished();
        return -1;
    }
    if (errors)
        *errors = p.readAllStandardError();
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

// A printer that reads `limit` bytes of the notice and hangs up, or reads everything and closes at the end.
struct TcpPrinter {
    QTcpServer server;
    QByteArray received;
    qint64 limit = -1;
    bool start() {
        QObject::connect(&server, &QTcpServer::newConnection, [this] {
            QTcpSocket* socket = server.nextPendingConnection();
            if (limit >= 0)
                socket->setReadBufferSize(limit);
            QObject::connect(socket, &QTcpSocket::readyRead, [this, socket] {
                received += limit < 0 ? socket->readAll() : socket->read(limit - received.size());
                if (limit >= 0 && received.size() >= limit)
                    socket->abort();
            });
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        });
        return server.listen(QHostAddress::LocalHost);
    }
    QString link() const { return QStringLiteral("tcp:127.0.0.1:%1").arg(server.serverPort()); }
};

} // namespace

TEST(PrintNotice, ExitsZeroOnlyWhenThePrinterReadTheWholeNotice) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("general.bin"));
    ASSERT_EQ(printNotice({record("general.json"), QStringLiteral("--out"), file}), 0);
    const QByteArray notice = testsupport::readFile(file);
    ASSERT_GT(notice.size(), 20000);

    TcpPrinter whole;
    ASSERT_TRUE(whole.start());
    EXPECT_EQ(printNotice({record("general.json"), QStringLiteral("--printer"), whole.link()}), 0);
    EXPECT_EQ(whole.received, notice);

    // The printer hangs up after 7,538 bytes: a failed print, whenever in the sending it happens.
    TcpPrinter partial;
    partial.limit = 7538;
    ASSERT_TRUE(partial.start());
    QByteArray errors;
    EXPECT_EQ(printNotice({record("general.json"), QStringLiteral("--printer"), partial.link()}, &errors), 1);
    EXPECT_EQ(partial.received.size(), 7538);
    EXPECT_TRUE(errors.contains("print-notice: the printer")) << errors.constData();
}

TEST(PrintNotice, APrinterThatNeverReadsIsAFailureWithinTheTimeout) {
    // A bare listening socket: connections are established and then never read.
    const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    ASSERT_GE(listener, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(listener, 4), 0);
    ASSERT_EQ(::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length), 0);
    const QString link = QStringLiteral("tcp:127.0.0.1:%1").arg(ntohs(address.sin_port));
    QByteArray errors;
    EXPECT_EQ(printNotice({record("traffic.json"), QStringLiteral("--traffic"), QStringLiteral("--printer"),
                           link, QStringLiteral("--timeout"), QStringLiteral("2")},
                          &errors),
              1);
    EXPECT_TRUE(errors.contains("print-notice: the printer")) << errors.constData();
    ::close(listener);
}
