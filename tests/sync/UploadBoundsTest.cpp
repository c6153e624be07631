// How long an upload may take: photographs are bounded by their size, other requests keep a fixed bound,
// and a photograph that keeps failing is named to the officer.
#include "SyncFixture.h"

#include "../support/TestSupport.h"
#include "core/RecordKeys.h"
#include "sync/PhotoFailures.h"
#include "sync/UploadRun.h"

#include <QElapsedTimer>

#include <QFile>
#include <QThread>
#include <algorithm>

using testsupport::waitFor;

namespace {

constexpr qint64 second = 1000;

SavedCompound entryWithPhotos(const QString& number, const QList<QByteArray>& photos) {
    SavedCompound entry = compoundEntry(number, 0);
    for (const QByteArray& jpeg : photos)
        entry.photos.append(PhotoEntry{QString::fromLatin1(QByteArray("thumb").toBase64()),
                                       QString::fromLatin1(jpeg.toBase64())});
    return entry;
}

QByteArray jpegOfSize(qsizetype size) {
    QByteArray bytes("\xFF\xD8\xFF\xE0", 4);
    for (qsizetype i = bytes.size(); i < size - 2; ++i)
        bytes.append(char((i * 131) >> 3));
    return bytes + QByteArray("\xFF\xD9", 2);
}

// The council behind a link that lives in simulated time: every request takes the time the test gives
// it, and is answered only when that is within the request's bound on the application's own default
// (30 s), as the real engine would decide. Nothing waits.
class SimulatedCouncil : public Http {
public:
    // Simulated time to the reply; the request's path says what it is.
    std::function<qint64(const QString& path, qsizetype bodySize)> latencyMs = [](const QString&, qsizetype) {
        return qint64(1);
    };
    std::function<int(const QString& path)> retval = [](const QString&) { return 1; };
    QStringList outcomes; // path, then "ok" or "timed out" after how long

    void send(HttpRequest, Handler, Handler, QObject*) override { ADD_FAILURE() << "the run blocks"; }
    HttpResponse sendBlocking(HttpRequest request) override {
        const QString path = request.url.path();
        const qint64 latency = latencyMs(path, request.body.size());
        const qint64 bound = request.boundMs(Http::defaultTimeoutMs);
        if (request.onUploadProgress) {
            request.onUploadProgress((request.body.size() * 2 + 4) / 5, request.body.size());
            request.onUploadProgress(request.body.size(), request.body.size());
        }
        HttpResponse response;
        if (latency > bound) {
            response.outcome = HttpResponse::Outcome::TimedOut;
            outcomes << path + QStringLiteral(" timed out after %1 s").arg(bound / second);
            return response;
        }
        response.outcome = HttpResponse::Outcome::Success;
        response.status = 200;
        response.body = QStringLiteral("[{\"retval\":%1}]").arg(retval(path)).toUtf8();
        outcomes << path + QStringLiteral(" ok");
        return response;
    }
};

class SimulatedUpload : public ::testing::Test {
protected:
    // One run on this thread, as a freshly started application would make it.
    QString run() {
        UploadRun upload(
            syncServicesFor(app, council, CouncilEndpoints(QStringLiteral("https://council.test"))));
        fake.progress.details.clear();
        upload.muatNaikExe();
        return fake.alerts.shown.isEmpty() ? QString() : fake.alerts.last().message;
    }
    QString failuresFile() const { return documents.filePath(QString::fromLatin1(PhotoFailures::fileName)); }

    QTemporaryDir documents;
    FakePlatform fake{documents.path(), documents.path()};
    AppDelegate app{fake.platform()};
    SimulatedCouncil council;
};

const QString compoundPath = QStringLiteral("/v2/wsc/muatnaik_kompaun/");

} // namespace

TEST(RequestBound, PhotographsGetTheirSizeAtEightKilobytesASecondOnTopOfTheBase) {
    HttpRequest r;
    EXPECT_EQ(r.boundMs(30000), 30000);
    r.body = jpegOfSize(1024 * 1024);
    EXPECT_EQ(r.boundMs(30000), 30000); // a fixed bound, whatever the size
    r.bound = HttpRequest::Bound::Upload;
    EXPECT_EQ(r.boundMs(30000), 158000); // 1 MB: 128 s at 8 KB/s, plus 30 s
    r.body.resize(400 * 1024);
    EXPECT_EQ(r.boundMs(30000), 80000);
    r.body.resize(100 * 1024);
    EXPECT_EQ(r.boundMs(30000), 60000); // never less than 60 s
    r.body.clear();
    EXPECT_EQ(r.boundMs(30000), 60000);
    r.timeoutMs = 5000; // a base the caller states replaces the engine's
    EXPECT_EQ(r.boundMs(30000), 10000);
}

// A council whose photograph replies come 32 s after the request began: past the fixed bound, well
// within a photograph's. The compound request keeps its 30 s.
TEST_F(SimulatedUpload, PhotographAnsweredAfterThirtyTwoSecondsIsAcceptedInThatRun) {
    ASSERT_TRUE(app.saveStore().saveArrayFile(
        {compoundEntry(QStringLiteral("P2016M07000001"), 2),
         compoundEntry(QStringLiteral("P2016M07000002"), 0),
         entryWithPhotos(QStringLiteral("P2016M07000003"), {jpegOfSize(1024 * 1024)})}));
    int compounds = 0;
    council.latencyMs = [&](const QString& path, qsizetype) -> qint64 {
        if (path == compoundPath)
            return ++compounds == 2 ? 32 * second : 2 * second; // the second compound's reply alone is late
        if (path.endsWith(QStringLiteral("P2016M07000003/1")))
            return 150 * second; // 1 MB: within its 158 s
        return 32 * second;
    };
    EXPECT_EQ(run(), QStringLiteral("Berjaya : 2 , Gagal : 1, Jumlah : 3"));
    EXPECT_EQ(council.outcomes,
              (QStringList{compoundPath + " ok", "/v2/wsc/muatnaik_gambar_kompaun/P2016M07000001/1 ok",
                           "/v2/wsc/muatnaik_gambar_kompaun/P2016M07000001/2 ok",
                           compoundPath + " timed out after 30 s", compoundPath + " ok",
                           "/v2/wsc/muatnaik_gambar_kompaun/P2016M07000003/1 ok"}));
    // Where the run is, and how much of the photograph has gone.
    EXPECT_EQ(fake.progress.details,
              (QStringList{"1/3 · gambar 1/2 · 0%", "1/3 · gambar 1/2 · 40%", "1/3 · gambar 1/2 · 100%",
                           "1/3 · gambar 2/2 · 0%", "1/3 · gambar 2/2 · 40%", "1/3 · gambar 2/2 · 100%",
                           "1/3", "2/4", "3/4 · gambar 1/1 · 0%", "3/4 · gambar 1/1 · 40%",
                           "3/4 · gambar 1/1 · 100%", "3/4"}));
}

// A photograph that fails run after run is named after the third, from a record that outlives the
// application; one that got through in between, or at last, is not.
TEST_F(SimulatedUpload, PhotographFailingInThreeRunsInARowIsNamedWithItsReason) {
    ASSERT_TRUE(app.saveStore().saveArrayFile({compoundEntry(QStringLiteral("P2016M07000030"), 3),
                                               compoundEntry(QStringLiteral("P2016M07000031"), 1)}));
    testsupport::writeFile(failuresFile(), "[{\"kompaun\":"); // a crash's leftover only delays a report
    int runNumber = 0;
    council.retval = [&](const QString& path) {
        if (path.endsWith(QStringLiteral("P2016M07000030/2")))
            return runNumber <= 3 ? 0 : 1;
        if (path.endsWith(QStringLiteral("P2016M07000031/1")))
            return runNumber == 2 ? 0 : 1;
        return 1;
    };
    council.latencyMs = [&](const QString& path, qsizetype) -> qint64 {
        // The second compound's photograph fails on a reply that never comes in the first run.
        return path.endsWith(QStringLiteral("P2016M07000031/1")) && runNumber == 1 ? 300 * second : second;
    };
    const QString plain = QStringLiteral("Berjaya : 0 , Gagal : 2, Jumlah : 2");
    runNumber = 1;
    EXPECT_EQ(run(), plain);
    runNumber = 2;
    EXPECT_EQ(run(), plain);
    runNumber = 3;
    EXPECT_EQ(run(), QStringLiteral("Berjaya : 1 , Gagal : 1, Jumlah : 2\n"
                                    "Gambar yang masih gagal dimuat naik (sila maklumkan di kaunter):\n"
                                    "P2016M07000030 gambar 2, 3 kali berturut-turut: ditolak oleh majlis "
                                    "(retval 0)"));
    PhotoFailures kept(failuresFile());
    kept.load();
    EXPECT_EQ(kept.all(),
              (QList<PhotoFailures::Failure>{{QStringLiteral("P2016M07000030"), 2, 3,
                                              QStringLiteral("ditolak oleh majlis (retval 0)")}}));

    runNumber = 4;
    EXPECT_EQ(run(), QStringLiteral("Berjaya : 1 , Gagal : 0, Jumlah : 1"));
    kept.load();
    EXPECT_TRUE(kept.all().isEmpty());
}

// The real engine: a photograph's bound outlasts a reply that the fixed bound cuts off, and the engine
// says how much of the body has gone.
TEST_F(SyncFixture, UploadBoundOutlastsTheFixedOneAndReportsProgress) {
    const QByteArray jpeg = jpegOfSize(64 * 1024);
    HttpRequest photo = CouncilWire::photoRequest(endpoints, QStringLiteral("P2016M07000050"), 1, jpeg);
    photo.timeoutMs = 700;
    setFault("muatnaik_gambar_kompaun", Fault::Kind::Delay, 1500);

    HttpResponse fixed, upload;
    qint64 sent = 0, total = -1;
    std::unique_ptr<QThread> worker(QThread::create([&] {
        fixed = http->sendBlocking(photo);
        photo.bound = HttpRequest::Bound::Upload;
        photo.timeoutMs = 1500; // bound 3 s
        photo.onUploadProgress = [&](qint64 s, qint64 t) {
            EXPECT_GE(s, sent);
            sent = s;
            total = t;
        };
        upload = http->sendBlocking(photo);
    }));
    worker->start();
    ASSERT_TRUE(waitFor([&] { return worker->isFinished(); }, 20000));
    EXPECT_EQ(fixed.outcome, HttpResponse::Outcome::TimedOut);
    EXPECT_TRUE(upload.succeeded()) << upload.errorText.toStdString();
    EXPECT_EQ(total, photo.body.size());
    EXPECT_EQ(sent, total);
}

// A photograph may be allowed minutes, but an application that is closing does not wait for it, nor
// goes on to the next compound, and loses nothing.
TEST_F(SyncFixture, ClosingDuringALongPhotographGivesItUpPromptlyAndLosesNothing) {
    ASSERT_TRUE(app->saveStore().saveArrayFile(
        {entryWithPhotos(QStringLiteral("P2016M07000070"), {jpegOfSize(64 * 1024)}),
         compoundEntry(QStringLiteral("P2016M07000071"), 0)}));
    setFault("muatnaik_gambar_kompaun", Fault::Kind::Delay, 5000); // within its bound of 8.7 s
    auto upload = std::make_unique<UploadRun>(services());
    upload->muatNaik();
    ASSERT_TRUE(waitFor(
        [&] {
            for (const RawRequest& r : requestsSince())
                if (r.target.find("muatnaik_gambar_kompaun") != std::string::npos)
                    return true;
            return false;
        },
        10000));
    QElapsedTimer clock;
    clock.start();
    upload.reset();
    EXPECT_LT(clock.elapsed(), 2000);
    EXPECT_TRUE(fake->alerts.shown.isEmpty());
    const SavedCompoundList left = app->saveStore().getDicetak();
    ASSERT_EQ(left.size(), 2);
    EXPECT_EQ(left[0].uploadFlag, QStringLiteral("0;gambar=")); // its photograph goes with the next run
    EXPECT_EQ(left[1].uploadFlag, QStringLiteral("0"));
    EXPECT_EQ(emulator->store().compounds().size(), 1u);
    EXPECT_FALSE(QFile::exists(documents.filePath(QString::fromLatin1(PhotoFailures::fileName))));
}
