// The engine against the emulator: verified TLS, the handler chosen by the status, time-outs.
#include "SyncFixture.h"

#include "../support/TestSupport.h"

#include <QThread>

using testsupport::waitFor;

namespace {

class HttpEngine : public SyncFixture {
protected:
    struct Outcome {
        bool done = false;
        bool completed = false;
        HttpResponse response;
    };
    Outcome get(Http& engine, const QUrl& url) {
        Outcome out;
        HttpRequest r;
        r.url = url;
        const auto answer = [&out](bool completed) {
            return [&out, completed](const HttpResponse& resp) { out = {true, completed, resp}; };
        };
        engine.send(r, answer(true), answer(false));
        EXPECT_TRUE(waitFor([&] { return out.done; }, 10000));
        return out;
    }
};

} // namespace

TEST_F(HttpEngine, CompletionOnlyFor2xxAndEveryFailureSaysWhichItWas) {
    const Outcome ok = get(*http, endpoints.officers());
    EXPECT_TRUE(ok.completed);
    EXPECT_EQ(ok.response.status, 200);
    EXPECT_TRUE(ok.response.body.startsWith("[{"));

    setFault("penguatkuasa_pelbagai", Fault::Kind::Status, 503, 1);
    const Outcome unavailable = get(*http, endpoints.officers());
    EXPECT_FALSE(unavailable.completed);
    EXPECT_EQ(unavailable.response.outcome, HttpResponse::Outcome::HttpError);
    EXPECT_EQ(unavailable.response.status, 503);

    const Outcome missing =
        get(*http, QUrl(QString::fromStdString(emulator->httpsUrl() + "/v2/wsc/nothing")));
    EXPECT_FALSE(missing.completed);
    EXPECT_EQ(missing.response.status, 404);

    // An error page served with 200 is a completion: the caller's parser must catch it.
    setFault("penguatkuasa_pelbagai", Fault::Kind::Html200, 0, 1);
    EXPECT_TRUE(get(*http, endpoints.officers()).completed);

    // Every attempt, since Qt itself tries a request again once when a kept-alive connection closes.
    setFault("penguatkuasa_pelbagai", Fault::Kind::Drop);
    const Outcome dropped = get(*http, endpoints.officers());
    EXPECT_FALSE(dropped.completed);
    EXPECT_EQ(dropped.response.outcome, HttpResponse::Outcome::ConnectionFailed);

    setFault("penguatkuasa_pelbagai", Fault::Kind::Delay, serverDelayMs, 1);
    const Outcome slow = get(*http, endpoints.officers());
    EXPECT_FALSE(slow.completed);
    EXPECT_EQ(slow.response.outcome, HttpResponse::Outcome::TimedOut);
}

TEST_F(HttpEngine, UntrustedServerIsRefused) {
    HttpSettings settings = http->settings();
    settings.extraCaFile.clear();
    QtHttp withoutCa(settings);
    const Outcome refused = get(withoutCa, endpoints.officers());
    EXPECT_FALSE(refused.completed);
    EXPECT_EQ(refused.response.outcome, HttpResponse::Outcome::ConnectionFailed);
    EXPECT_EQ(refused.response.status, 0);
    EXPECT_TRUE(requestsSince().empty()); // nothing was said to an unverified peer
}

TEST_F(HttpEngine, BlockingFormRunsOnWorkersOnly) {
    HttpRequest r;
    r.url = endpoints.officers();
    EXPECT_EQ(http->sendBlocking(r).outcome, HttpResponse::Outcome::ConnectionFailed);
    EXPECT_TRUE(requestsSince().empty());

    HttpResponse fromWorker;
    std::unique_ptr<QThread> worker(QThread::create([&] { fromWorker = http->sendBlocking(r); }));
    worker->start();
    ASSERT_TRUE(waitFor([&] { return worker->isFinished(); }));
    EXPECT_TRUE(fromWorker.succeeded());
    EXPECT_TRUE(fromWorker.body.startsWith("[{"));
}

TEST(CouncilWireReplies, IntegerAndTextValuesReadAsTheServerMeansThem) {
    using namespace CouncilWire;
    EXPECT_EQ(integerValue(QJsonValue(1)), 1);
    EXPECT_EQ(integerValue(QJsonValue(2.9)), 2);
    EXPECT_EQ(integerValue(QJsonValue(QStringLiteral("1"))), 1);
    EXPECT_EQ(integerValue(QJsonValue(QStringLiteral(" 12abc"))), 12);
    EXPECT_EQ(integerValue(QJsonValue(QStringLiteral("abc"))), 0);
    EXPECT_EQ(integerValue(QJsonValue()), 0);
    EXPECT_EQ(textValue(QJsonValue(120.0)), QStringLiteral("120"));
    EXPECT_EQ(textValue(QJsonValue(QStringLiteral("0120"))), QStringLiteral("0120"));
    EXPECT_FALSE(textValue(QJsonValue(QJsonValue::Null)));
    EXPECT_FALSE(firstObject("[]"));
    EXPECT_FALSE(firstObject("[1]"));
    EXPECT_FALSE(firstObject("<html>"));
    EXPECT_FALSE(firstObject("{\"retval\":1}"));
    EXPECT_TRUE(firstObject("[{\"retval\":1},2]"));
}
