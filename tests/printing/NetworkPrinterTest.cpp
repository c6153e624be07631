#include "PrintingTestData.h"
#include "platform/fake/FakePlatform.h"
#include "printing/PrinterProtocol.h"
#include "printing/SocketAccessory.h"
#include "printing/WSSessionController.h"
#include "support/LoopbackPrinter.h"

#include <gtest/gtest.h>

using testsupport::waitFor;

namespace {

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
                                           PrinterProtocol::compiled());
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
    controller.writeData(numbered(22616));
    controller.markNotice();
    waitFor([&] { return o.closed && o.noticeEnded; }, 20000);
    return o;
}

} // namespace

// A printer that reads everything, or hangs up part way, is told apart by print-notice's own test
// (tests/tools). One that never reads, within the bound: everything fitted in the link's buffers, so it
// counted as written; only the close can tell.
TEST(NetworkPrinter, ANoticeThePrinterNeverReadIsNotDelivered) {
    FakeLog log;
    LoopbackPrinter deaf(LoopbackPrinter::NeverReads);
    ASSERT_NE(deaf.port(), 0);
    const Outcome o = printTo(deaf.port(), log, 300);
    ASSERT_TRUE(o.closed);
    EXPECT_TRUE(o.noticeWritten);
    EXPECT_FALSE(o.delivered);
    EXPECT_TRUE(log.contains(QStringLiteral("the printer did not confirm it read everything")));
}
