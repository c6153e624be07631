#include "PrintingTestData.h"
#include "platform/fake/FakePlatform.h"
#include "printing/NoticeLayout.h"
#include "printing/NoticePrinter.h"
#include "printing/PrinterConnection.h"
#include "printing/PrinterLink.h"
#include "printing/PrinterViewController.h"
#include "printing/RecordingAccessory.h"
#include "printing/WSSessionController.h"
#include "support/TestSupport.h"

#include <QTcpServer>

#include <gtest/gtest.h>

using testsupport::waitFor;

namespace {

const QString kFailure = QStringLiteral(
    "Bluetooth pencetak gagal disambungkan. Sila pastikan bluetooth pencetak telah disambungkan.");

struct ConnectionFixture : ::testing::Test {
    FakeLog log;
    FakeAlerts alerts;
    std::shared_ptr<RecordingAccessory> printer =
        std::make_shared<RecordingAccessory>(QStringLiteral("printer"));
    std::shared_ptr<RecordingAccessory> headset = std::make_shared<RecordingAccessory>(
        QStringLiteral("headset"), QStringList{QStringLiteral("com.example.audio")});
    FixedAccessoryManager accessories;
    WSSessionController controller{&log};
    PrinterConnection connection{&accessories, &controller, &log, &alerts};
    NoticePrinter notices{headerPath(), kBaseUrl};
    PrinterViewController screen{&connection, &notices};
};

void expectDisconnectedScreen(const PrinterViewController& screen) {
    EXPECT_EQ(screen.status(), QStringLiteral("Putus"));
    EXPECT_EQ(screen.state(), PrinterViewController::Disconnected);
    EXPECT_EQ(screen.buttonTitle(), QStringLiteral("Sambungkan"));
    EXPECT_EQ(screen.rockTo(), 0);
}

} // namespace

TEST_F(ConnectionFixture, APrinterListedSecondIsFoundAndConnected) {
    EXPECT_EQ(screen.title(), QStringLiteral("Pencetak"));
    EXPECT_EQ(screen.buttonTitle(), QStringLiteral("Sambung"));
    EXPECT_EQ(screen.rockTo(), 0);

    accessories.setAccessories({headset, printer});
    screen.pencetakAction();
    EXPECT_EQ(controller.accessory(), printer);
    EXPECT_TRUE(log.contains(QStringLiteral("Connected")));
    ASSERT_TRUE(waitFor([&] { return screen.rockTo() == 1; }));
    EXPECT_EQ(screen.status(), QStringLiteral("Disambung"));
    EXPECT_EQ(screen.state(), PrinterViewController::Connected);
    EXPECT_EQ(screen.buttonTitle(), QStringLiteral("Putuskan"));
    EXPECT_TRUE(alerts.shown.isEmpty());

    screen.pencetakAction();
    expectDisconnectedScreen(screen);
    EXPECT_FALSE(controller.hasSession());
}

TEST_F(ConnectionFixture, NoPrinterShowsTheFailureAlert) {
    for (const AccessoryList& list : {AccessoryList{}, AccessoryList{headset}}) {
        alerts.shown.clear();
        accessories.setAccessories(list);
        screen.pencetakAction();
        ASSERT_EQ(alerts.shown.size(), 1);
        EXPECT_EQ(alerts.last().title, QStringLiteral("Gagal"));
        EXPECT_EQ(alerts.last().message, kFailure);
        EXPECT_EQ(alerts.last().buttons, QStringList{QStringLiteral("OK")});
        expectDisconnectedScreen(screen);
    }
}

TEST_F(ConnectionFixture, ASessionThatCannotOpenIsNotShownAsConnected) {
    printer->setRefuseSessions(true);
    accessories.setAccessories({printer});
    screen.pencetakAction();
    EXPECT_TRUE(log.contains(QStringLiteral("creating session failed")));
    ASSERT_EQ(alerts.shown.size(), 1);
    EXPECT_EQ(alerts.last().message, kFailure);
    expectDisconnectedScreen(screen);
}

TEST_F(ConnectionFixture, ANetworkPrinterThatDoesNotAnswerIsNotShownAsConnected) {
    quint16 port = 0;
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
        port = probe.serverPort();
    }
    const auto link = PrinterLink::parse(QStringLiteral("tcp:127.0.0.1:%1").arg(port));
    ASSERT_TRUE(link);
    const auto network = link->makeAccessoryManager();
    PrinterConnection tcp(network.get(), &controller, &log, &alerts);
    PrinterViewController tcpScreen(&tcp, &notices);
    tcpScreen.pencetakAction();
    ASSERT_TRUE(waitFor([&] { return !alerts.shown.isEmpty(); }));
    EXPECT_EQ(alerts.last().message, kFailure);
    expectDisconnectedScreen(tcpScreen);
}

TEST_F(ConnectionFixture, TheTestPagePrintsThroughTheLastConnect) {
    accessories.setAccessories({printer});
    screen.printr(); // nothing connected yet: nothing to print through
    EXPECT_EQ(controller.queuedBytes(), 0);
    screen.pencetakAction();
    screen.printr();
    ASSERT_TRUE(waitFor([&] { return controller.queuedBytes() == 0 && !printer->received().isEmpty(); }));
    QByteArray expected;
    for (const QByteArray& b : NoticeLayout::samplePage(shippedHeader(), kBaseUrl))
        expected += b;
    EXPECT_EQ(printer->received(), expected);
    EXPECT_TRUE(expected.startsWith(QByteArray::fromHex("1b4c 1b57 0000 0000 8001 c800")));
    EXPECT_TRUE(expected.contains(QByteArray::fromHex("1d4801 1d6864") + "QR-Code Barcode\r\n"));
    EXPECT_TRUE(expected.contains("BAR CODE 39 \r\n" + QByteArray::fromHex("1d6b450c") +
                                  "112339383723\r\n\r\n\r\n\r\n\r\n"));
}

TEST_F(ConnectionFixture, AReprintRunsDisconnectConnectPrintWithoutCuttingTheLastNotice) {
    printer->setMaxPerWrite(2048);
    accessories.setAccessories({printer});
    const Record general = recordFromJson(QStringLiteral("general.json"));
    const Record traffic = recordFromJson(QStringLiteral("traffic.json"));
    for (const auto& [record, isTraffic] : {std::pair{general, false}, std::pair{traffic, true}}) {
        connection.printerDisconnect();
        connection.printerConnect();
        notices.cetakSaman(connection.sessionController(), record, isTraffic);
    }
    connection.printerDisconnect();
    ASSERT_TRUE(waitFor([&] { return !controller.hasSession(); }));
    EXPECT_EQ(printer->received(), notices.noticeBytes(general, false) + notices.noticeBytes(traffic, true));
}

TEST_F(ConnectionFixture, ANoticeCutShortShowsTheFailureAlertSoTheOfficerReprints) {
    printer->setMaxPerWrite(7538);
    accessories.setAccessories({printer});
    const Record general = recordFromJson(QStringLiteral("general.json"));
    connection.printerDisconnect();
    connection.printerConnect();
    ASSERT_TRUE(waitFor([&] { return screen.rockTo() == 1; }));
    QList<std::pair<int, bool>> ends;
    QObject::connect(&controller, &WSSessionController::noticeFinished, [&](int n, bool written) {
        ends.append({n, written});
    });
    const int notice = notices.cetakSaman(connection.sessionController(), general, false);
    EXPECT_NE(notice, 0);
    printer->setStalled(true);
    printer->dropLink();
    ASSERT_TRUE(waitFor([&] { return !ends.isEmpty(); }));
    EXPECT_EQ(ends, (QList<std::pair<int, bool>>{{notice, false}}));
    ASSERT_EQ(alerts.shown.size(), 1);
    EXPECT_EQ(alerts.last().title, QStringLiteral("Gagal"));
    EXPECT_EQ(alerts.last().message, PrinterConnection::noticeFailedMessage());
    EXPECT_EQ(alerts.last().buttons, QStringList{QStringLiteral("OK")});
    expectDisconnectedScreen(screen);

    // The re-print goes through whole and is reported written, with no further alert.
    printer->setStalled(false);
    connection.printerDisconnect();
    connection.printerConnect();
    const int again = notices.cetakSaman(connection.sessionController(), general, false);
    ASSERT_TRUE(waitFor([&] { return ends.size() == 2; }));
    EXPECT_EQ(ends.last(), std::make_pair(again, true));
    EXPECT_EQ(alerts.shown.size(), 1);
    EXPECT_TRUE(printer->received().endsWith(notices.noticeBytes(general, false)));
}

TEST_F(ConnectionFixture, ANoticeAfterAFailedConnectIsFailedWithOneAlertOnly) {
    // Printed once; then the printer is switched off before the next print.
    accessories.setAccessories({printer});
    connection.printerConnect();
    ASSERT_TRUE(waitFor([&] { return screen.rockTo() == 1; }));
    accessories.setAccessories({});
    connection.printerDisconnect();
    connection.printerConnect();
    bool written = true, ended = false;
    QObject::connect(&controller, &WSSessionController::noticeFinished, [&](int, bool w) {
        ended = true;
        written = w;
    });
    notices.cetakSaman(connection.sessionController(), recordFromJson(QStringLiteral("general.json")), false);
    ASSERT_TRUE(waitFor([&] { return ended; }));
    EXPECT_FALSE(written);
    ASSERT_EQ(alerts.shown.size(), 1);
    EXPECT_EQ(alerts.last().message, kFailure);
    EXPECT_EQ(controller.queuedBytes(), 0);
}

TEST(PrinterLink, ParsesTheLinkOption) {
    auto tcp = PrinterLink::parse(QStringLiteral("tcp:printer.local:9100"));
    ASSERT_TRUE(tcp);
    EXPECT_EQ(tcp->kind, PrinterLink::Tcp);
    EXPECT_EQ(tcp->host, QStringLiteral("printer.local"));
    EXPECT_EQ(tcp->port, 9100);
    auto v6 = PrinterLink::parse(QStringLiteral("tcp:[::1]:9100"));
    ASSERT_TRUE(v6);
    EXPECT_EQ(v6->host, QStringLiteral("::1"));
    for (const char* address : {"00:11:22:AA:bb:5C", "bt:00:11:22:AA:BB:5C"}) {
        auto bt = PrinterLink::parse(QString::fromLatin1(address));
        ASSERT_TRUE(bt) << address;
        EXPECT_EQ(bt->kind, PrinterLink::Bluetooth);
        EXPECT_EQ(bt->toString(), QStringLiteral("00:11:22:AA:BB:5C"));
    }
    for (const char* bad :
         {"tcp:host", "tcp:host:0", "tcp:host:70000", "tcp::9100", "00:11:22", "printer", ""}) {
        QString error;
        EXPECT_FALSE(PrinterLink::parse(QString::fromLatin1(bad), &error)) << bad;
        EXPECT_FALSE(error.isEmpty()) << bad;
    }
}
