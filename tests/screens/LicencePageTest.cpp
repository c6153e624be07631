#include "ScreensFixture.h"

#include "platform/HttpPageView.h"
#include "platform/QtHttp.h"
#include "platform/RichTextPage.h"
#include "platform/fake/FakeSyncServices.h"
#include "screens/licence/LesenDetailViewer.h"
#include "sync/CouncilEndpoints.h"

#include <QPainter>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtQml/QQmlExtensionPlugin>

#include <gtest/gtest.h>

Q_IMPORT_QML_PLUGIN(KompaunPlugin)

namespace {

// A plain HTTP server on loopback that logs every request line it is sent and answers each path from a
// table (status line, headers and body as raw bytes); an unknown path gets 404.
class LoggingServer : public QObject {
public:
    struct Reply {
        QByteArray head; // status line and headers, without the blank line
        QByteArray body;
    };
    LoggingServer() {
        server_.listen(QHostAddress::LocalHost);
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection()) {
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { read(socket); });
            }
        });
    }
    QString origin() const { return QStringLiteral("http://127.0.0.1:%1").arg(server_.serverPort()); }

    QMap<QByteArray, Reply> replies;
    QList<QByteArray> requests; // "GET /path"

private:
    void read(QTcpSocket* socket) {
        QByteArray& pending = buffers_[socket];
        pending += socket->readAll();
        const qsizetype end = pending.indexOf("\r\n\r\n");
        if (end < 0)
            return;
        const QList<QByteArray> line = pending.left(pending.indexOf("\r\n")).split(' ');
        buffers_.remove(socket);
        requests.append(line.value(0) + ' ' + line.value(1));
        const Reply reply =
            replies.value(line.value(1), Reply{"HTTP/1.1 404 Not Found\r\nContent-Length: 0", {}});
        socket->write(reply.head + "\r\nConnection: close\r\n\r\n");
        socket->write(reply.body);
        socket->disconnectFromHost();
    }
    QTcpServer server_;
    QHash<QTcpSocket*, QByteArray> buffers_;
};

// Every resource a hostile page can name, each pointing at another host and at the council itself.
QByteArray hostilePage(const QString& other) {
    return QStringLiteral(
               "<html><head><link rel=\"stylesheet\" href=\"%1/link.css\">"
               "<style>@import url(%1/import.css); body { background-image: url(%1/style-bg.png) }"
               " td { background: url('/own-bg.png') }</style></head>"
               "<body background=\"%1/body-bg.png\" style=\"background-image:url(%1/inline-bg.png)\">"
               "<table background=\"%1/table-bg.png\"><tr><td background=\"%1/cell-bg.png\">15012345</td>"
               "<td style=\"background-image: url(%1/cell-style.png)\">AKTIF</td></tr></table>"
               "<p style=\"background:url(%1/p-bg.png)\">Lesen Perniagaan</p>"
               "<img src=\"%1/img.png\"><img src=\"/own.png\"><object data=\"%1/object\"></object>"
               "</body></html>")
        .arg(other)
        .toUtf8();
}

class LicencePageTest : public ScreensTest {
protected:
    void SetUp() override {
        ScreensTest::SetUp();
        council.replies["/v2/wsc/ml/15012345"] = {"HTTP/1.1 200 OK\r\nContent-Type: text/html",
                                                  hostilePage(other.origin())};
        council.replies["/v2/wsc/ml/2"] = {"HTTP/1.1 302 Found\r\nLocation: " + other.origin().toUtf8() +
                                               "/v2/wsc/ml/15012345\r\nContent-Length: 9",
                                           "<p>Go</p>"};
        council.replies["/v2/wsc/ml/3"] = {"HTTP/1.1 302 Found\r\nLocation: /v2/wsc/ml/15012345", {}};
        council.replies["/v2/wsc/ml/4"] = {
            "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: 52428800",
            QByteArray(1 << 20, 'x')};
        council.replies["/v2/wsc/ml/5"] = {"HTTP/1.1 200 OK\r\nContent-Type: text/html",
                                           "<p>" + QByteArray(RichTextPage::maxBodyBytes + 4096, 'y')};
        // Another host name for the very same server: followed, it would show as a second request here.
        council.replies["/v2/wsc/ml/6"] = {
            "HTTP/1.1 302 Found\r\nLocation: http://localhost:" + council.origin().section(':', -1).toUtf8() +
                "/v2/wsc/ml/15012345",
            {}};
    }
    std::unique_ptr<LesenDetailViewer> open(const QString& account) {
        auto viewer = std::make_unique<LesenDetailViewer>();
        viewer->setContext(&pageContext);
        viewer->webViewLesenUrl(account);
        viewer->viewWillAppear();
        EXPECT_TRUE(testsupport::waitFor([&] { return !viewer->loading(); }));
        return viewer;
    }

    LoggingServer council;
    LoggingServer other;
    CouncilEndpoints endpoints{council.origin()};
    QtHttp http{HttpSettings{}};
    HttpPageView pageView{http};
    FakeUrlOpener& opener = services.opener;
    // The real page view over the loopback council.
    AppContext pageContext{services.services({.pageView = &pageView, .endpoints = &endpoints})};
};

// CSS backgrounds, background= attributes, <link>, @import, url(...), pictures and objects: the page is
// shown, drawn on the screen, and not one request goes anywhere but for the page itself.
TEST_F(LicencePageTest, AHostilePageIsShownAndDrawnWithoutAnyRequestButItsOwn) {
    auto viewer = open(QStringLiteral("15012345"));
    ASSERT_FALSE(viewer->failed());
    EXPECT_TRUE(viewer->pageText().contains(QStringLiteral("15012345")));
    EXPECT_TRUE(viewer->pageText().contains(QStringLiteral("Lesen Perniagaan")));
    ASSERT_TRUE(viewer->richTextPage());

    // The screen itself, drawn: its rows are what the officer sees.
    QmlScreen screen;
    ASSERT_TRUE(screen.open(QStringLiteral("LesenDetailView.qml"), {360, 640}, {{"account", "15012345"}}));
    QQuickItem* text = screen.item(QStringLiteral("lesenDetailText"));
    ASSERT_TRUE(text);
    ASSERT_TRUE(testsupport::waitFor([&] { return text->property("text").toString().contains("AKTIF"); }));
    const QImage shown = screen.window.grabWindow();
    ASSERT_FALSE(shown.isNull());
    int dark = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 360; ++x)
            dark += qGray(shown.pixel(x, y)) < 100;
    EXPECT_GT(dark, 50) << "the page's text is drawn";
    auto* drawn = qobject_cast<RichTextPage*>(text->property("document").value<QObject*>());
    ASSERT_TRUE(drawn);
    EXPECT_GE(drawn->refusedResources(), 8) << "the page asked for its resources and was refused them all";

    EXPECT_TRUE(other.requests.isEmpty()) << other.requests.join(", ").toStdString();
    EXPECT_EQ(council.requests, (QList<QByteArray>{"GET /v2/wsc/ml/15012345", "GET /v2/wsc/ml/15012345"}));
}

// A redirect to another host (even another name of the council's own server) is refused, and a body past
// the cap, announced or not, is not read whole: the page says why, and the browser is still offered. A
// redirect within the council's own origin is followed.
TEST_F(LicencePageTest, RedirectsLeavingTheCouncilsOriginAndPagesOverTheCapAreNotShown) {
    for (const auto& [account, text] : {std::pair{"2", LesenDetailViewer::failureText},
                                        {"6", LesenDetailViewer::failureText},
                                        {"4", "Maklumat terlalu besar untuk dipaparkan"},
                                        {"5", "Maklumat terlalu besar untuk dipaparkan"}}) {
        SCOPED_TRACE(account);
        auto viewer = open(QString::fromLatin1(account));
        EXPECT_TRUE(viewer->failed());
        EXPECT_EQ(viewer->pageText(), QString::fromUtf8(text));
        EXPECT_FALSE(viewer->richTextPage());
        EXPECT_TRUE(viewer->hasAddress());
        EXPECT_TRUE(viewer->bukaDiPelayar());
        EXPECT_EQ(opener.opened.last(), endpoints.licencePage(QString::fromLatin1(account)));
    }
    EXPECT_TRUE(other.requests.isEmpty()) << other.requests.join(", ").toStdString();

    auto same = open(QStringLiteral("3"));
    EXPECT_FALSE(same->failed());
    EXPECT_TRUE(same->pageText().contains(QStringLiteral("15012345")));
    EXPECT_EQ(council.requests,
              (QList<QByteArray>{"GET /v2/wsc/ml/2", "GET /v2/wsc/ml/6", "GET /v2/wsc/ml/4",
                                 "GET /v2/wsc/ml/5", "GET /v2/wsc/ml/3", "GET /v2/wsc/ml/15012345"}));
}

} // namespace
