#include "ScreensFixture.h"

#include "platform/HttpPageView.h"
#include "platform/fake/FakeScanning.h"
#include "platform/fake/FakeSyncServices.h"
#include "printing/NoticeLayout.h"
#include "screens/licence/LesenDetailViewer.h"
#include "screens/licence/LesenViewController.h"
#include "screens/shell/NavigationStack.h"
#include "sync/CouncilEndpoints.h"
#include "sync/LicenceScan.h"

#include <QSignalSpy>

namespace {

// The "Scan" tab over the shipped reference database, with a camera the test drives and page loads the
// test answers.
class LicenceLookupTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        scan.setContext(&context);
        scan.setNavigation(&stack);
        record()->insert(Key::lokasiLesenPerniagaan, QString());
    }
    // The page screen the last push asked for, loaded as the window would load it.
    std::unique_ptr<LesenDetailViewer> openPushedPage() {
        auto page = std::make_unique<LesenDetailViewer>();
        page->setContext(&context);
        page->webViewLesenUrl(pushedAccount);
        page->viewWillAppear();
        return page;
    }

    const CouncilEndpoints& endpoints = services.endpoints;
    FakeBarcodeReader& reader = services.reader;
    FakePageView& pages = services.pages;
    FakeUrlOpener& opener = services.opener;
    NavigationStack stack{QStringLiteral("LesenView.qml"), QStringLiteral("Lesen/Cukai")};
    LesenViewController scan;
    QString pushedAccount;
    QMetaObject::Connection pushes =
        QObject::connect(&stack, &NavigationStack::pushRequested,
                         [this](const QString&, const QString&, const QVariantMap& p) {
                             pushedAccount = p.value("account").toString();
                         });
};

TEST_F(LicenceLookupTest, ScannedDataGivesTheAccountThePageAndTheRecordAsTheRulesSay) {
    bool first = true;
    for (const auto& [data, account, url, recordAfter] : std::initializer_list<std::array<const char*, 4>>{
             {"ABC*151*X", "151", "https://enquiry.example.gov.my/v2/wsc/ml/151", "151"},
             // A bill: the whole data, the tax page, the record left with the licence already there.
             {"05-123456", "05-123456", "https://enquiry.example.gov.my/v2/wsc/mc/05-123456", "151"},
             {"12345*", "12345*", "https://enquiry.example.gov.my/v2/wsc/ml/12345%2A", "12345*"},
             {"15abc", "15abc", "https://enquiry.example.gov.my/v2/wsc/ml/15abc", "15ABC"}}) {
        SCOPED_TRACE(data);
        scan.viewWillAppear();
        ASSERT_TRUE(reader.running);
        EXPECT_EQ(scan.resultVisible(), !std::exchange(first, false))
            << "hidden when the screen loads, then the last scan";
        ASSERT_TRUE(reader.deliver({QString::fromLatin1(data), QStringLiteral("ignored*999*second")}));
        EXPECT_FALSE(reader.running) << "the reader keeps running after a scan";
        EXPECT_EQ(scan.resultText(), QString::fromLatin1(account));
        EXPECT_TRUE(scan.resultVisible());
        EXPECT_EQ(scan.akaunManual()->text(), QString::fromLatin1(account));
        EXPECT_EQ(rec(Key::lokasiLesenPerniagaan), QString::fromLatin1(recordAfter));
        ASSERT_EQ(stack.depth(), 2); // the page under the account's title: the walkthrough reads it
        const auto page = openPushedPage();
        EXPECT_EQ(pages.loads.last().url.toString(QUrl::FullyEncoded), QString::fromLatin1(url));
        // Back from the page: the reader starts again.
        scan.viewWillDisappear();
        stack.pop();
    }
    EXPECT_EQ(reader.starts, 4);
}

// A crafted sticker: NUL, ESC and GS in a licence QR code reach neither the record, the page's address nor
// the printed notice.
TEST_F(LicenceLookupTest, ControlBytesOfAScannedCodeReachNeitherTheRecordNorThePrinter) {
    const QString sticker = QStringLiteral("ABC*15\x00"
                                           "1\x1b@\x1dV\x0a"
                                           "1*X");
    scan.viewWillAppear();
    ASSERT_TRUE(reader.deliver({sticker}));
    EXPECT_EQ(rec(Key::lokasiLesenPerniagaan), QStringLiteral("151@V 1"));
    EXPECT_EQ(scan.resultText(), QStringLiteral("151@V 1"));
    const auto page = openPushedPage();
    EXPECT_EQ(pages.loads.last().url.path(QUrl::FullyEncoded), QStringLiteral("/v2/wsc/ml/151%40V%201"));

    const QImage header(testsupport::sourcePath(QStringLiteral("resources/printheader.bmp")));
    QByteArray offender; // the text block with the licence line
    for (const QByteArray& block :
         NoticeLayout::generalNotice(*record(), header, QStringLiteral("https://enquiry.example.gov.my")))
        if (block.contains("ORVA"))
            offender = block;
    EXPECT_TRUE(offender.contains(" / 151@V 1 \r\n"));
    const QByteArray withoutLineEnds = QByteArray(offender).replace("\r\n", "");
    for (char c : withoutLineEnds)
        EXPECT_GE(uchar(c), 0x20);

    // Nothing but a control byte between the stars: the piece is blank, so the whole (cleaned) data counts.
    EXPECT_EQ(LicenceScan::fromData(QStringLiteral("MPT*\r*2025")).account, QStringLiteral("MPT* *2025"));

    // A code of nothing but control bytes is no code: the reader keeps looking.
    scan.viewWillDisappear();
    stack.pop();
    scan.viewWillAppear();
    ASSERT_TRUE(reader.deliver({QStringLiteral("\x00\x1b\x1d")}));
    EXPECT_TRUE(reader.running);
    EXPECT_EQ(stack.depth(), 1);
}

TEST_F(LicenceLookupTest, AnAccountIsOneSegmentOfThePageWhateverItHolds) {
    for (const auto& [account, path] : std::initializer_list<std::pair<const char*, const char*>>{
             {"15/../mk/1", "/v2/wsc/ml/15%2F..%2Fmk%2F1"},
             {"15?x=1", "/v2/wsc/ml/15%3Fx%3D1"},
             {"15#frag", "/v2/wsc/ml/15%23frag"},
             {"05/../../ml", "/v2/wsc/mc/05%2F..%2F..%2Fml"},
             {"05 77a", "/v2/wsc/mc/05%2077a"}}) {
        SCOPED_TRACE(account);
        const QUrl url = LicenceScan::pageUrl(endpoints, QString::fromLatin1(account));
        ASSERT_TRUE(url.isValid());
        EXPECT_EQ(url.path(QUrl::FullyEncoded), QString::fromLatin1(path));
        EXPECT_TRUE(url.query().isEmpty());
        EXPECT_TRUE(url.fragment().isEmpty());
    }
    // ".." alone cannot be kept in place by any encoding: no address, and the page says it failed.
    EXPECT_FALSE(LicenceScan::pageUrl(endpoints, QStringLiteral("..")).isValid());
}

TEST_F(LicenceLookupTest, AFrameDecodedAfterTheTabWasLeftOpensNothingAndWritesNothing) {
    scan.viewWillAppear();
    scan.viewWillDisappear();
    EXPECT_FALSE(reader.running);
    // The reader dropped it; and had it not, the screen still refuses it.
    EXPECT_FALSE(reader.deliver({QStringLiteral("ABC*151*X")}));
    EXPECT_TRUE(reader.deliverLate({QStringLiteral("ABC*151*X")}));
    EXPECT_EQ(stack.depth(), 1);
    EXPECT_EQ(rec(Key::lokasiLesenPerniagaan), QString());

    // A second frame of the same burst after a scan was taken is refused too: one page, one write.
    scan.viewWillAppear();
    ASSERT_TRUE(reader.deliver({QStringLiteral("ABC*151*X")}));
    EXPECT_TRUE(reader.deliverLate({QStringLiteral("ABC*777*X")}));
    EXPECT_EQ(stack.depth(), 2);
    EXPECT_EQ(rec(Key::lokasiLesenPerniagaan), QStringLiteral("151"));

    // A frame with no symbol does nothing at all.
    stack.pop();
    scan.viewWillAppear();
    EXPECT_TRUE(reader.deliver({}));
    EXPECT_EQ(stack.depth(), 1);
    EXPECT_TRUE(reader.running);
}

TEST_F(LicenceLookupTest, ImbasGambarListsTheScanFolderAndReadsTheChosenPicture) {
    testsupport::writeFile(dir.filePath(QStringLiteral("b-bil.png")), "x");
    testsupport::writeFile(dir.filePath(QStringLiteral("a-lesen.jpg")), "x");
    testsupport::writeFile(dir.filePath(QStringLiteral("nota.txt")), "x");
    scan.viewWillAppear();
    scan.imbasGambar();
    ASSERT_TRUE(scan.picturesShown());
    ASSERT_EQ(scan.pictures()->count(), 2);
    EXPECT_EQ(scan.pictures()->title(0), QStringLiteral("a-lesen.jpg"));
    scan.pictureChosen(1);
    EXPECT_EQ(reader.pictures, QStringList{dir.filePath(QStringLiteral("b-bil.png"))});
    // No barcode in it: said on the screen, nothing opened.
    reader.deliver({});
    EXPECT_EQ(scan.picturesNote(), QStringLiteral("Tiada kod bar dijumpai dalam gambar ini."));
    EXPECT_EQ(stack.depth(), 1);
}

// The walkthrough reads a page and an account the council does not know (the indicator stopped, the
// failure said); these are the browser, the silence of a failure and a page screen gone too soon.
TEST_F(LicenceLookupTest, ThePageOffersTheBrowserAndAFailedLoadAlertsNothing) {
    scan.akaunManual()->setText(QStringLiteral("15012345"));
    scan.cariAkaun();
    auto page = openPushedPage();
    EXPECT_TRUE(page->loading());
    pages.finish(QStringLiteral("<html><body><table><tr><td>15012345</td></tr></table></body></html>"));
    // Laid out on a worker, the indicator spinning meanwhile.
    ASSERT_TRUE(testsupport::waitFor([&] { return !page->loading(); }));
    EXPECT_TRUE(page->pageText().contains(QStringLiteral("15012345")));
    EXPECT_TRUE(page->bukaDiPelayar());
    EXPECT_EQ(opener.opened.last().toString(),
              QStringLiteral("https://enquiry.example.gov.my/v2/wsc/ml/15012345"));

    scan.akaunManual()->setText(QStringLiteral("99999"));
    scan.cariAkaun();
    auto failed = openPushedPage();
    const int alerts = int(fakes.alerts.shown.size());
    pages.fail(QStringLiteral("connection refused"));
    EXPECT_TRUE(failed->failed());
    EXPECT_EQ(fakes.alerts.shown.size(), alerts) << "a failed page must not alert";

    // A page screen gone before its load ends hears nothing of it.
    scan.cariAkaun();
    openPushedPage().reset();
    pages.finish(QStringLiteral("late"));
}

TEST(HttpPageView, ServerPagesAreShownLikeAnyPageAndANothingToShowFails) {
    TestHttp http;
    http.byHand = true;
    HttpPageView view(http);
    QObject context;
    QStringList events;
    const PageView::Events record{[&] { events << QStringLiteral("start"); },
                                  [&](const QString& html) { events << QStringLiteral("done ") + html; },
                                  [&](const QString&) { events << QStringLiteral("fail"); },
                                  {}};
    const QUrl url(QStringLiteral("https://enquiry.example.gov.my/v2/wsc/ml/151"));
    for (int i = 0; i < 4; ++i)
        view.load(url, record, &context);
    ASSERT_EQ(http.sent.size(), 4);
    EXPECT_EQ(http.sent[0].request.method, QByteArray("GET"));
    EXPECT_EQ(http.sent[0].request.url, url);
    http.sent[0].ok({HttpResponse::Outcome::Success, 200, "<p>Lesen</p>", {}});
    http.sent[1].error({HttpResponse::Outcome::HttpError, 500, "<h1>Ralat</h1>", {}});
    http.sent[2].error({HttpResponse::Outcome::HttpError, 404, "", {}});
    http.sent[3].error({HttpResponse::Outcome::ConnectionFailed, 0, {}, QStringLiteral("refused")});
    EXPECT_EQ(events, (QStringList{"start", "start", "start", "start", "done <p>Lesen</p>",
                                   "done <h1>Ralat</h1>", "fail", "fail"}));

    // No address (an account of ".."): a failure after the start, nothing sent.
    events.clear();
    view.load(QUrl(), record, &context);
    EXPECT_EQ(events, QStringList{"start"});
    ASSERT_TRUE(testsupport::waitFor([&] { return events.size() == 2; }));
    EXPECT_EQ(events.last(), QStringLiteral("fail"));
    EXPECT_EQ(http.sent.size(), 4);
}

} // namespace
