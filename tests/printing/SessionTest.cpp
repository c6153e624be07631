#include "PrintingTestData.h"
#include "platform/fake/FakePlatform.h"
#include "platform/fake/FakeSyncServices.h"
#include "printing/PrinterProtocol.h"
#include "printing/PrinterReplyConsumer.h"
#include "printing/RecordingAccessory.h"
#include "printing/WSSessionController.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

using testsupport::waitFor;

namespace {

using Ends = QList<std::pair<int, bool>>;

// The session on a clock the test drives, so the drain and stall bounds pass exactly when told.
struct SessionFixture : ::testing::Test {
    FakeLog log;
    FakeTimers clock;
    std::shared_ptr<RecordingAccessory> printer = std::make_shared<RecordingAccessory>();
    WSSessionController controller{&log, &clock};
    Ends ends; // every notice's end as the controller reports it: number, written
    SessionFixture() {
        QObject::connect(&controller, &WSSessionController::noticeFinished, [this](int notice, bool written) {
            ends.append({notice, written});
        });
    }

    void open() {
        controller.setupControllerForAccessory(printer, PrinterProtocol::compiled());
        ASSERT_TRUE(controller.openSession());
        ASSERT_TRUE(waitFor([&] { return controller.isLinkOpen(); }));
    }
    bool ended(int notice) const {
        return std::any_of(ends.begin(), ends.end(), [&](const auto& e) { return e.first == notice; });
    }
};

} // namespace

TEST_F(SessionFixture, WithoutASessionBytesWaitForALinkUntilANoticeOrACloseGivesThemUp) {
    controller.writeData("a notice whose connect failed");
    const int notice = controller.markNotice();
    ASSERT_TRUE(waitFor([&] { return ended(notice); }));
    EXPECT_EQ(ends, (Ends{{notice, false}}));
    EXPECT_EQ(controller.queuedBytes(), 0);
    controller.writeData("dropped by the close");
    controller.closeSession();
    EXPECT_EQ(controller.queuedBytes(), 0);

    controller.writeData("queued before any session");
    controller.setupControllerForAccessory(printer, PrinterProtocol::compiled());
    ASSERT_TRUE(controller.openSession());
    EXPECT_TRUE(printer->received().isEmpty());
    ASSERT_TRUE(waitFor([&] { return controller.queuedBytes() == 0; }));
    EXPECT_EQ(printer->received(), QByteArray("queued before any session"));
}

TEST_F(SessionFixture, AWriteErrorKeepsTheQueueForTheNextChance) {
    open();
    printer->setFailWrites(true);
    controller.writeData("ABCDEF");
    EXPECT_EQ(controller.queuedBytes(), 6);
    printer->setFailWrites(false);
    controller.writeData("GH");
    ASSERT_TRUE(waitFor([&] { return controller.queuedBytes() == 0; }));
    EXPECT_EQ(printer->received(), QByteArray("ABCDEFGH"));
}

TEST_F(SessionFixture, ClosingMidNoticeDeliversEverythingFirst) {
    printer->setMaxPerWrite(512);
    open();
    const QByteArray notice = numbered(31000);
    controller.writeData(notice);
    bool closed = false;
    QObject::connect(&controller, &WSSessionController::sessionClosed, [&] { closed = true; });
    controller.closeSession();
    EXPECT_TRUE(controller.isClosing());
    EXPECT_FALSE(closed);
    ASSERT_TRUE(waitFor([&] { return closed; }));
    EXPECT_EQ(printer->received(), notice);
    EXPECT_FALSE(controller.hasSession());
    ASSERT_TRUE(waitFor([&] { return !printer->sessionOpen(); }));
}

TEST_F(SessionFixture, AQuickReprintQueuesBehindTheNoticeStillDraining) {
    printer->setMaxPerWrite(1000);
    open();
    const QByteArray first = numbered(25000, 1), second = numbered(25000, 2);
    controller.writeData(first);
    controller.closeSession(); // the re-print's disconnect
    ASSERT_TRUE(controller.openSession());
    controller.writeData(second);
    ASSERT_TRUE(waitFor([&] { return controller.queuedBytes() == 0; }));
    EXPECT_EQ(printer->received(), first + second);
    EXPECT_EQ(printer->sessionsOpened(), 1);
}

TEST_F(SessionFixture, ReceivedBytesAreBufferedReadAndDecoded) {
    open();
    printer->sendToPhone(QByteArray::fromHex("000000000000"));
    ASSERT_TRUE(waitFor([&] { return controller.getAvailableReadBytes() == 6; }));
    EXPECT_TRUE(controller.readData(10).isEmpty());
    EXPECT_EQ(controller.getAvailableReadBytes(), 6);
    EXPECT_EQ(controller.readData(4), QByteArray(4, '\0'));
    EXPECT_EQ(controller.getAvailableReadBytes(), 2);

    // With a consumer wired, replies are drained as they arrive and logged with their kind.
    controller.readData(2);
    PrinterReplyConsumer consumer(&controller, &log);
    QByteArray swipe("\x02\x00\x00\x00", 4);
    swipe += QByteArray(37, '5') + '\x03';
    printer->sendToPhone(QByteArray(300, '\0') + QByteArray::fromHex("1b4d31"));
    ASSERT_TRUE(waitFor([&] { return consumer.lastKind() == 1; }));
    EXPECT_EQ(controller.getAvailableReadBytes(), 0);
    printer->sendToPhone(swipe);
    ASSERT_TRUE(waitFor([&] { return consumer.lastKind() == 0; }));
}

TEST_F(SessionFixture, ANoticeIsReportedWrittenOnlyOnceTheLinkTookItsLastByte) {
    printer->setMaxPerWrite(1000);
    open();
    const QByteArray notice = numbered(22616);
    controller.writeData(notice.left(20015));
    controller.writeData(notice.mid(20015));
    const int first = controller.markNotice();
    // Never from inside the call: the printing flow connects after it has the number.
    EXPECT_TRUE(ends.isEmpty());
    EXPECT_EQ(controller.noticesInFlight(), 1);
    ASSERT_TRUE(waitFor([&] { return ended(first); }));
    EXPECT_EQ(printer->received(), notice);
    const int second = (controller.writeData("x"), controller.markNotice());
    ASSERT_TRUE(waitFor([&] { return ended(second); }));
    EXPECT_EQ(ends, (Ends{{first, true}, {second, true}}));
    EXPECT_EQ(controller.noticesInFlight(), 0);
}

TEST_F(SessionFixture, ALinkThatDropsMidNoticeFailsTheNoticeAndSaysWhatWasLost) {
    printer->setMaxPerWrite(7538);
    open();
    bool failed = false, closedDelivered = true;
    QObject::connect(&controller, &WSSessionController::sessionFailed, [&] { failed = true; });
    QObject::connect(&controller, &WSSessionController::sessionClosed,
                     [&](bool delivered) { closedDelivered = delivered; });
    controller.writeData(numbered(22616));
    const int notice = controller.markNotice();
    EXPECT_EQ(printer->received().size(), 7538);
    printer->setStalled(true);
    printer->dropLink();
    ASSERT_TRUE(waitFor([&] { return ended(notice); }));
    EXPECT_EQ(ends, (Ends{{notice, false}}));
    EXPECT_TRUE(failed);
    EXPECT_FALSE(closedDelivered);
    EXPECT_FALSE(controller.hasSession());

    // The next session starts clean: its notice is counted from its own first byte.
    printer->setStalled(false);
    open();
    controller.writeData("second");
    const int next = controller.markNotice();
    ASSERT_TRUE(waitFor([&] { return ended(next); }));
    EXPECT_EQ(ends.last(), std::make_pair(next, true));
}

// A printer that stops taking bytes is given up exactly when the bound has passed: a marked notice fails,
// and a close gives up what it was draining.
TEST_F(SessionFixture, APrinterThatStopsTakingBytesIsGivenUpAtTheBound) {
    bool failed = false, delivered = true;
    QObject::connect(&controller, &WSSessionController::sessionFailed, [&] { failed = true; });
    QObject::connect(&controller, &WSSessionController::sessionClosed, [&](bool d) { delivered = d; });
    for (const bool closing : {false, true}) {
        SCOPED_TRACE(closing ? "closing" : "a notice");
        printer->setStalled(false);
        open();
        ends.clear();
        printer->setStalled(true);
        controller.writeData(numbered(5000));
        const int notice = closing ? (controller.closeSession(), 0) : controller.markNotice();
        QCoreApplication::processEvents();
        clock.advance(WSSessionController::kDefaultDrainTimeoutMs - 1);
        QCoreApplication::processEvents();
        EXPECT_TRUE(controller.hasSession());
        EXPECT_TRUE(ends.isEmpty());
        clock.advance(1);
        ASSERT_TRUE(waitFor([&] { return !controller.hasSession() && (closing || ended(notice)); }));
        EXPECT_EQ(controller.queuedBytes(), 0);
        if (closing) {
            EXPECT_FALSE(delivered);
        } else {
            EXPECT_EQ(ends, (Ends{{notice, false}}));
            EXPECT_TRUE(failed);
        }
    }
}
