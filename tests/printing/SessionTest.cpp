#include "platform/fake/FakePlatform.h"
#include "printing/PrinterReplyConsumer.h"
#include "printing/RecordingAccessory.h"
#include "printing/WSSessionController.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using testsupport::waitFor;

namespace {

// A notice-sized stream whose every byte says where it belongs, so a gap, a repeat or a swap shows.
QByteArray numbered(int size, int seed = 0) {
    QByteArray b(size, '\0');
    for (int i = 0; i < size; ++i)
        b[i] = char((i * 7 + seed) & 0xff);
    return b;
}

struct SessionFixture : ::testing::Test {
    FakeLog log;
    std::shared_ptr<RecordingAccessory> printer = std::make_shared<RecordingAccessory>();
    WSSessionController controller{&log};

    void open() {
        controller.setupControllerForAccessory(printer, QLatin1String(WSSessionController::kProtocolString));
        ASSERT_TRUE(controller.openSession());
        ASSERT_TRUE(waitFor([&] { return controller.isLinkOpen(); }));
    }
};

} // namespace

TEST_F(SessionFixture, ALongNoticeReachesASlowLinkCompleteAndInOrder) {
    printer->setMaxPerWrite(4096);
    open();
    const QByteArray notice = numbered(30500);
    controller.writeData(notice.left(20015)); // the header as its own write, as the layouts send it
    controller.writeData(notice.mid(20015));
    // The first write takes only what fits; the rest waits for the link to report space.
    EXPECT_EQ(printer->received().size(), 4096);
    ASSERT_TRUE(waitFor([&] { return controller.queuedBytes() == 0; }));
    EXPECT_EQ(printer->received(), notice);
    EXPECT_GE(printer->writeCalls(), 8);

    // A very slow link: a handful of bytes per write.
    printer->setMaxPerWrite(7);
    const QByteArray second = numbered(3000, 3);
    controller.writeData(second);
    ASSERT_TRUE(waitFor([&] { return controller.queuedBytes() == 0; }));
    EXPECT_EQ(printer->received(), notice + second);
}

TEST_F(SessionFixture, BytesWrittenBeforeTheLinkOpensWaitForIt) {
    controller.writeData("queued before any session");
    controller.setupControllerForAccessory(printer, QLatin1String(WSSessionController::kProtocolString));
    ASSERT_TRUE(controller.openSession());
    EXPECT_TRUE(printer->received().isEmpty());
    ASSERT_TRUE(waitFor([&] { return controller.queuedBytes() == 0; }));
    EXPECT_EQ(printer->received(), QByteArray("queued before any session"));
}

TEST_F(SessionFixture, AWriteErrorKeepsTheQueueForTheNextChance) {
    open();
    printer->setFailWrites(true);
    controller.writeData("ABCDEF");
    EXPECT_TRUE(log.contains(QStringLiteral("write error")));
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
    EXPECT_FALSE(log.contains(QStringLiteral("discarded")));
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

TEST_F(SessionFixture, DrainingIsBoundedWhenThePrinterStopsTakingBytes) {
    open();
    printer->setStalled(true);
    controller.setDrainTimeoutMs(30);
    controller.writeData(numbered(5000));
    controller.closeSession();
    ASSERT_TRUE(waitFor([&] { return !controller.hasSession(); }));
    EXPECT_TRUE(log.contains(QStringLiteral("discarded 5000 unsent bytes")));
    EXPECT_EQ(controller.queuedBytes(), 0);
}

TEST_F(SessionFixture, QueueWithoutASessionIsDroppedByTheNextClose) {
    controller.writeData("a notice whose connect failed");
    controller.closeSession();
    EXPECT_EQ(controller.queuedBytes(), 0);
    open();
    controller.writeData("next");
    ASSERT_TRUE(waitFor([&] { return controller.queuedBytes() == 0; }));
    EXPECT_EQ(printer->received(), QByteArray("next"));
}

TEST_F(SessionFixture, ALinkThatDropsEndsTheSession) {
    open();
    bool failed = false;
    QObject::connect(&controller, &WSSessionController::sessionFailed, [&] { failed = true; });
    printer->dropLink();
    ASSERT_TRUE(waitFor([&] { return failed; }));
    EXPECT_FALSE(controller.hasSession());
}

TEST_F(SessionFixture, ReceivedBytesAreBufferedReadAndDecoded) {
    open();
    printer->sendToPhone(QByteArray::fromHex("000000000000"));
    ASSERT_TRUE(waitFor([&] { return controller.getAvailableReadBytes() == 6; }));
    EXPECT_TRUE(controller.readData(10).isEmpty());
    EXPECT_EQ(controller.getAvailableReadBytes(), 6);
    EXPECT_EQ(controller.readData(4), QByteArray(4, '\0'));
    EXPECT_EQ(controller.getAvailableReadBytes(), 2);
    EXPECT_TRUE(log.contains(QStringLiteral("read 6 bytes from input stream")));

    // With a consumer wired, replies are drained as they arrive and logged with their kind.
    controller.readData(2);
    PrinterReplyConsumer consumer(&controller, &log);
    QByteArray swipe("\x02\x00\x00\x00", 4);
    swipe += QByteArray(37, '5') + '\x03';
    printer->sendToPhone(QByteArray(300, '\0') + QByteArray::fromHex("1b4d31"));
    ASSERT_TRUE(waitFor([&] { return consumer.lastKind() == 1; }));
    EXPECT_EQ(controller.getAvailableReadBytes(), 0);
    EXPECT_TRUE(log.contains(QStringLiteral("incoming data type: 1")));
    printer->sendToPhone(swipe);
    ASSERT_TRUE(waitFor([&] { return consumer.lastKind() == 0; }));
    EXPECT_TRUE(log.lines.contains(QString(37, QLatin1Char('5'))));
}

TEST_F(SessionFixture, ARefusedSessionIsReported) {
    printer->setRefuseSessions(true);
    controller.setupControllerForAccessory(printer, QLatin1String(WSSessionController::kProtocolString));
    EXPECT_FALSE(controller.openSession());
    EXPECT_TRUE(log.contains(QStringLiteral("creating session failed")));
}
