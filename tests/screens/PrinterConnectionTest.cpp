#include "printing/PrinterConnection.h"
#include "platform/fake/FakePlatform.h"
#include "printing/NoticeLayout.h"
#include "printing/NoticePrinter.h"
#include "printing/PrinterLink.h"
#include "printing/PrintingTestData.h"
#include "printing/RecordingAccessory.h"
#include "printing/WSSessionController.h"
#include "screens/printer/PrinterViewController.h"
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

TEST_F(ConnectionFixture, AConnectThatFailsShowsTheFailureAlertAndIsNeverShownAsConnected) {
    quint16 port = 0;
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
        port = probe.serverPort();
    }
    const auto network =
        PrinterLink::parse(QStringLiteral("tcp:127.0.0.1:%1").arg(port))->makeAccessoryManager();
    PrinterConnection tcp(network.get(), &controller, &log, &alerts);
    PrinterViewController tcpScreen(&tcp, &notices);
    const auto refusing = std::make_shared<RecordingAccessory>(QStringLiteral("refusing"));
    refusing->setRefuseSessions(true);
    const struct {
        const char* what;
        AccessoryList listed;
        PrinterViewController* screen;
    } cases[] = {{"no accessory", {}, &screen},
                 {"no printer among them", {headset}, &screen},
                 {"a printer refusing the session", {refusing}, &screen},
                 {"a network printer not answering", {}, &tcpScreen}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        alerts.shown.clear();
        accessories.setAccessories(c.listed);
        c.screen->pencetakAction();
        ASSERT_TRUE(waitFor([&] { return !alerts.shown.isEmpty(); }));
        EXPECT_EQ(alerts.shown.size(), 1);
        EXPECT_EQ(alerts.last().title, QStringLiteral("Gagal"));
        EXPECT_EQ(alerts.last().message, kFailure);
        EXPECT_EQ(alerts.last().buttons, QStringList{QStringLiteral("OK")});
        expectDisconnectedScreen(*c.screen);
    }
    EXPECT_TRUE(log.contains(QStringLiteral("creating session failed")));
}

TEST_F(ConnectionFixture, TheTestPagePrintsThroughTheLastConnect) {
    accessories.setAccessories({printer});
    screen.printr(); // nothing connected yet: nothing to print through
    EXPECT_EQ(controller.queuedBytes(), 0);
    screen.pencetakAction();
    screen.printr();
    ASSERT_TRUE(waitFor([&] { return controller.queuedBytes() == 0 && !printer->received().isEmpty(); }));
    const QByteArray expected = NoticeLayout::samplePage(shippedHeader(), kBaseUrl).join();
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

TEST_F(ConnectionFixture, ThePrinterIsFoundAmongOtherAccessoriesByTheDeployedProtocolString) {
    EXPECT_EQ(screen.buttonTitle(), QStringLiteral("Sambung"));
    accessories.setAccessories({headset, printer});
    screen.pencetakAction();
    EXPECT_EQ(controller.accessory(), printer);
    ASSERT_TRUE(waitFor([&] { return screen.rockTo() == 1; }));
    EXPECT_EQ(screen.status(), QStringLiteral("Disambung"));
    EXPECT_TRUE(alerts.shown.isEmpty());
    screen.pencetakAction();
    expectDisconnectedScreen(screen);
    EXPECT_FALSE(controller.hasSession());

    // A council deploying another printer model sets its protocol; the configured one is then not enough.
    const auto otherModel = std::make_shared<RecordingAccessory>(
        QStringLiteral("other model"), QStringList{QStringLiteral("org.example.other")});
    accessories.setAccessories({printer, otherModel});
    connection.setProtocol(QStringLiteral("org.example.other"));
    screen.pencetakAction();
    EXPECT_EQ(controller.accessory(), otherModel);
    ASSERT_TRUE(waitFor([&] { return screen.rockTo() == 1; }));

    // A link made for a setting advertises exactly that setting.
    const AccessoryList offered = PrinterLink::parse(QStringLiteral("tcp:127.0.0.1:9"))
                                      ->makeAccessoryManager(QStringLiteral("org.example.other"))
                                      ->connectedAccessories();
    ASSERT_EQ(offered.size(), 1);
    EXPECT_EQ(offered.first()->protocolStrings(), QStringList{QStringLiteral("org.example.other")});
}
