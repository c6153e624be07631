#include "platform/fake/FakePlatform.h"
#include "printing/SocketAccessory.h"
#include "printing/WSSessionController.h"
#include "support/TestSupport.h"

#include <QTcpServer>
#include <QTcpSocket>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using testsupport::waitFor;

namespace {

// A printer on loopback that reads at most `limit` bytes and then hangs up (a reset, since the rest is
// still unread), reads nothing at all (never even accepts), or reads to the end and closes in good order.
class FakeNetworkPrinter : public QObject {
public:
    enum Kind { ReadsAll, HangsUpAfter, NeverReads };
    explicit FakeNetworkPrinter(Kind kind, qint64 limit = 0) : kind_(kind), limit_(limit) {
        if (kind_ == NeverReads) {
            // Qt's server would accept and read on its own: a bare listening socket leaves the
            // connection in the backlog, established and never read.
            listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
            sockaddr_in address{};
            address.sin_family = AF_INET;
            address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            socklen_t length = sizeof address;
            if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                ::listen(listener_, 4) == 0 &&
                ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) == 0)
                port_ = ntohs(address.sin_port);
            return;
        }
        server_.listen(QHostAddress::LocalHost);
        port_ = server_.serverPort();
        connect(&server_, &QTcpServer::newConnection, this, &FakeNetworkPrinter::accept);
    }
    ~FakeNetworkPrinter() override {
        if (listener_ >= 0)
            ::close(listener_);
    }
    quint16 port() const { return port_; }
    QByteArray received;
    bool closedInGoodOrder = false;

private:
    void accept() {
        QTcpSocket* socket = server_.nextPendingConnection();
        if (kind_ == HangsUpAfter)
            socket->setReadBufferSize(limit_);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
            if (kind_ == ReadsAll) {
                received += socket->readAll();
                return;
            }
            received += socket->read(limit_ - received.size());
            if (received.size() >= limit_)
                socket->abort();
        });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            received += socket->readAll();
            closedInGoodOrder = kind_ == ReadsAll;
        });
    }
    QTcpServer server_;
    int listener_ = -1;
    quint16 port_ = 0;
    Kind kind_;
    qint64 limit_;
};

QByteArray notice() {
    QByteArray b(22616, '\0');
    for (int i = 0; i < b.size(); ++i)
        b[i] = char((i * 13) & 0xff);
    return b;
}

struct Outcome {
    bool noticeWritten = false;
    bool noticeEnded = false;
    bool closed = false;
    bool delivered = false;
};

// Prints one notice the way print-notice does: write, mark, and once written close, which waits for the
// printer to confirm it read everything.
Outcome printTo(quint16 port, FakeLog& log, int boundMs = 10000) {
    WSSessionController controller(&log);
    controller.setDrainTimeoutMs(boundMs);
    controller.setupControllerForAccessory(std::make_shared<TcpAccessory>(QStringLiteral("127.0.0.1"), port),
                                           QLatin1String(WSSessionController::kProtocolString));
    Outcome o;
    QObject::connect(&controller, &WSSessionController::noticeFinished, [&](int, bool written) {
        o.noticeEnded = true;
        o.noticeWritten = written;
        if (written)
            controller.closeSession();
    });
    QObject::connect(&controller, &WSSessionController::sessionClosed, [&](bool delivered) {
        o.closed = true;
        o.delivered = delivered;
    });
    if (!controller.openSession())
        return o;
    controller.writeData(notice());
    controller.markNotice();
    waitFor([&] { return o.closed && o.noticeEnded; }, 20000);
    return o;
}

} // namespace

TEST(NetworkPrinter, APrinterThatReadsToTheEndConfirmsTheNotice) {
    FakeLog log;
    FakeNetworkPrinter printer(FakeNetworkPrinter::ReadsAll);
    const Outcome o = printTo(printer.port(), log);
    EXPECT_TRUE(o.noticeWritten);
    EXPECT_TRUE(o.delivered);
    ASSERT_TRUE(waitFor([&] { return printer.closedInGoodOrder; }));
    EXPECT_EQ(printer.received, notice());
}

TEST(NetworkPrinter, APrinterThatHangsUpPartWayIsAFailedPrint) {
    FakeLog log;
    FakeNetworkPrinter printer(FakeNetworkPrinter::HangsUpAfter, 7538);
    const Outcome o = printTo(printer.port(), log);
    ASSERT_TRUE(o.closed);
    EXPECT_FALSE(o.delivered);
    EXPECT_EQ(printer.received.size(), 7538);
}

TEST(NetworkPrinter, APrinterThatNeverReadsIsAFailedPrintWithinTheBound) {
    FakeLog log;
    FakeNetworkPrinter printer(FakeNetworkPrinter::NeverReads);
    ASSERT_NE(printer.port(), 0);
    const Outcome o = printTo(printer.port(), log, 300);
    ASSERT_TRUE(o.closed);
    // Everything fitted in the link's buffers, so it counted as written; only the close can tell.
    EXPECT_TRUE(o.noticeWritten);
    EXPECT_FALSE(o.delivered);
    EXPECT_TRUE(log.contains(QStringLiteral("the printer did not confirm it read everything")));
}
