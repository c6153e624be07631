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

TEST(NetworkPrinter, ANoticeIsDeliveredOnlyWhenThePrinterReadItToTheEnd) {
    FakeLog log;
    LoopbackPrinter whole(LoopbackPrinter::ReadsAll);
    Outcome o = printTo(whole.port(), log);
    EXPECT_TRUE(o.noticeWritten);
    EXPECT_TRUE(o.delivered);
    ASSERT_TRUE(waitFor([&] { return whole.disconnected; }));
    EXPECT_EQ(whole.received, numbered(22616));

    LoopbackPrinter partial(LoopbackPrinter::HangsUpAfter, 7538);
    o = printTo(partial.port(), log);
    ASSERT_TRUE(o.closed);
    EXPECT_FALSE(o.delivered);
    EXPECT_EQ(partial.received.size(), 7538);

    // A printer that never reads, within the bound. Everything fitted in the link's buffers, so it counted
    // as written; only the close can tell.
    LoopbackPrinter deaf(LoopbackPrinter::NeverReads);
    ASSERT_NE(deaf.port(), 0);
    o = printTo(deaf.port(), log, 300);
    ASSERT_TRUE(o.closed);
    EXPECT_TRUE(o.noticeWritten);
    EXPECT_FALSE(o.delivered);
    EXPECT_TRUE(log.contains(QStringLiteral("the printer did not confirm it read everything")));
}
