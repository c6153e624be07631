// What reaches the council, checked against the emulator's raw log of the bytes it received.
#include "SyncFixture.h"

#include "../support/TestSupport.h"
#include "sync/CouncilSync.h"
#include "sync/DeviceRegistration.h"
#include "sync/LocationTracker.h"
#include "sync/UploadRun.h"

#include "core/RecordKeys.h"
#include "platform/fake/FakeSyncServices.h"

#include <QJsonDocument>

using testsupport::waitFor;

namespace {

const std::string boundaryLine = "-----------------------------14737809831466499882746641449"; // 29 hyphens

std::string header(const RawRequest& r, const char* name) {
    return r.header(name).value_or("(missing)");
}

int headerCount(const RawRequest& r, const char* name) {
    int n = 0;
    for (const auto& [k, v] : r.headers)
        n += QString::fromStdString(k).compare(QLatin1String(name), Qt::CaseInsensitive) == 0 ? 1 : 0;
    return n;
}

void expectEngineHeaders(const RawRequest& r) {
    EXPECT_EQ(header(r, "User-Agent"), "Kompaun/1.0.0");
    EXPECT_EQ(header(r, "Accept-Language"), "ms-MY, en-MY");
    EXPECT_EQ(r.scheme, "https");
}

class WireFormat : public SyncFixture {};

} // namespace

TEST_F(WireFormat, CompoundAndPhotographsGoOutByteForByteAndTheCouncilReadsBackWhatThePhoneHolds) {
    SavedCompound entry;
    entry.record = makeRecord({{Key::kompaunRunningNumber, QStringLiteral("P2016M07000042")},
                               {Key::namaPesalah, QStringLiteral("TAN & SONS <SDN BHD> 100+50%=150")}});
    for (int p = 1; p <= 2; ++p)
        entry.photos << PhotoEntry{QStringLiteral("dGh1bWI="),
                                   QString::fromLatin1(photoBytes("P2016M07000042", p).toBase64())};
    // Characters a form handler would otherwise change: "+" (space), "%41" ("A"), "%22" (a quote that
    // broke the JSON and kept the compound on the phone for ever), "=", "&", non-ASCII, a real quote.
    const QString number = QStringLiteral("P2026A+B000001");
    SavedCompound awkward = compoundEntry(number, 2);
    awkward.record->insert(Key::namaPesalah, QStringLiteral("TAN+LIM %41 %22 a=b&c \"Ali\" Ng\u00E9 \u6797"));
    awkward.record->insert(Key::alamat1Pesalah, QStringLiteral("NO. 5%, JALAN 1/2 ~_-."));
    // Stored with no position as empty texts by an earlier version: it goes as the zero pair.
    awkward.record->insert(Key::lat, QString());
    awkward.record->insert(Key::long_, QStringLiteral(" "));
    ASSERT_TRUE(app->saveStore().saveArrayFile({entry, awkward}));

    UploadRun run(services());
    run.muatNaik();
    ASSERT_TRUE(waitFor([&] { return !run.running(); }, 20000));
    ASSERT_EQ(fake->alerts.shown.size(), 1);
    EXPECT_EQ(fake->alerts.last().message, QStringLiteral("Berjaya : 2 , Gagal : 0, Jumlah : 2"));
    const auto requests = requestsSince();
    ASSERT_EQ(requests.size(), 6u);

    const RawRequest& compound = requests[0];
    EXPECT_EQ(compound.method, "POST");
    EXPECT_EQ(compound.target, "/v2/wsc/muatnaik_kompaun/");
    // The JSON value as a form value: every byte outside letters, digits and "-._~" percent-encoded.
    const std::string expectedBody =
        "json=%5B%7B%22kompaunRunningNumber%22%3A%22P2016M07000042%22%2C%22namaPesalah%22%3A"
        "%22TAN%20%26%20SONS%20%3CSDN%20BHD%3E%20100%2B50%25%3D150%22%7D%5D";
    EXPECT_EQ(compound.body, expectedBody);
    EXPECT_EQ(header(compound, "Content-Type"), "application/x-www-form-urlencoded");
    EXPECT_EQ(header(compound, "Content-Length"), std::to_string(expectedBody.size()));
    EXPECT_EQ(headerCount(compound, "Content-Length"), 1);
    expectEngineHeaders(compound);

    for (int position = 1; position <= 2; ++position) {
        const RawRequest& photo = requests[size_t(position)];
        SCOPED_TRACE(position);
        EXPECT_EQ(photo.method, "POST");
        EXPECT_EQ(photo.target, "/v2/wsc/muatnaik_gambar_kompaun/P2016M07000042/" + std::to_string(position));
        EXPECT_EQ(header(photo, "Content-Type"),
                  "multipart/form-data; boundary=---------------------------14737809831466499882746641449");
        const std::string jpeg = photoBytes("P2016M07000042", position).toStdString();
        const std::string expected =
            "\r\n" + boundaryLine +
            "\r\nContent-Disposition: form-data; name=\"userfile\"; filename=\".jpg\"\r\n"
            "Content-Type: application/json\r\n\r\n" +
            jpeg + "\r\n" + boundaryLine + "--\r\n";
        EXPECT_EQ(photo.body, expected);
        EXPECT_EQ(header(photo, "Content-Length"), std::to_string(expected.size()));
        expectEngineHeaders(photo);
    }

    const auto compounds = emulator->store().compounds(); // in number order
    ASSERT_EQ(compounds.size(), 2u);
    EXPECT_EQ(compounds[1].number, number.toStdString());
    const QJsonObject received =
        QJsonDocument::fromJson(QByteArray::fromStdString(compounds[1].json)).object();
    for (auto it = awkward.record->cbegin(); it != awkward.record->cend(); ++it) {
        if (it.key() != Key::lat && it.key() != Key::long_) {
            EXPECT_EQ(received.value(it.key()).toString(), it.value()) << it.key().toStdString();
        }
    }
    EXPECT_EQ(received.value(Key::lat).toString(), QStringLiteral("0.000000"));
    EXPECT_EQ(received.value(Key::long_).toString(), QStringLiteral("0.000000"));
    EXPECT_EQ(received.size(), awkward.record->size());
    // The device's "+" stays a "+" in the photographs' path, so they find their compound.
    const auto photos = emulator->store().photos();
    ASSERT_EQ(photos.size(), 4u);
    EXPECT_EQ(photos[3].compoundNumber, number.toStdString());
    EXPECT_EQ(requests[5].target, "/v2/wsc/muatnaik_gambar_kompaun/P2026A%2BB000001/2");
}

TEST_F(WireFormat, PathSegmentsFromInputArePercentEncodedAndDotSegmentsNeverSent) {
    seedRegistration(QStringLiteral("M07"), 41);
    // Qt and every server resolve "." and ".." (and "%2E") away: the request would reach another endpoint.
    for (const QString& typed : {QStringLiteral("."), QStringLiteral("..")}) {
        SCOPED_TRACE(typed.toStdString());
        emulator->store().setLastNumber(typed.toStdString(), "5");
        const int64_t before = lastRequestId();
        DeviceRegistration registration(services());
        registration.kemas_kini_device(typed);
        ASSERT_TRUE(waitFor([&] { return !registration.busy(); }));
        EXPECT_TRUE(requestsSince(before).empty());
        EXPECT_EQ(fake->alerts.last().title, QStringLiteral("Gagal"));
        EXPECT_EQ(registeredDevice(), QStringLiteral("M07"));
        EXPECT_FALSE(endpoints.licencePage(typed).isValid());
    }
    const QString typed = QStringLiteral("M/07 ?#%");
    emulator->store().setLastNumber(typed.toStdString(), "7");
    DeviceRegistration registration(services());
    registration.kemas_kini_device(typed);
    ASSERT_TRUE(waitFor([&] { return !registration.busy(); }));
    EXPECT_EQ(requestsSince().back().target, "/v2/wsc/lastnumber_pelbagai/M%2F07%20%3F%23%25");
    EXPECT_EQ(registeredDevice(), typed);

    // Dots inside a segment are ordinary characters.
    EXPECT_EQ(endpoints.lastNumber(QStringLiteral("...")).path(QUrl::FullyEncoded),
              QStringLiteral("/v2/wsc/lastnumber_pelbagai/..."));
    EXPECT_EQ(endpoints.lastNumber(QStringLiteral("%2E")).path(QUrl::FullyEncoded),
              QStringLiteral("/v2/wsc/lastnumber_pelbagai/%252E"));
}

TEST_F(WireFormat, UpdatePageIsUnderTheBaseAndOneThatCannotOpenTellsTheOfficerWhereItIs) {
    EXPECT_EQ(CouncilEndpoints(QStringLiteral("https://council.example/base/")).updatePage().toString(),
              QStringLiteral("https://council.example/base/v2/iosinstallation/KompaunIns.html"));
    FakeUrlOpener opener;
    CouncilSync sync(services(), &opener);
    EXPECT_TRUE(sync.kemaskiniApplikasi());
    ASSERT_EQ(opener.opened.size(), 1);
    EXPECT_TRUE(fake->alerts.shown.isEmpty());
    opener.opens = false;
    EXPECT_FALSE(sync.kemaskiniApplikasi());
    ASSERT_EQ(fake->alerts.shown.size(), 1);
    EXPECT_EQ(fake->alerts.last().title, QStringLiteral("Gagal"));
    EXPECT_TRUE(fake->alerts.last().message.contains(opener.opened.last().toString()));
}

TEST_F(WireFormat, PositionReportCarriesSinglePrecisionAsAFormValue) {
    seedRegistration(QStringLiteral("M07"), 41);
    FakePositionUpdates positions;
    FakeTimers timers;
    FakeBackgroundTasks tasks;
    LocationTrackerServices s = trackerServices(&positions, &timers, &tasks);
    s.officer = [] {
        return RecordMap{{QStringLiteral("kod_pekerja"), QStringLiteral("PK001")},
                         {QStringLiteral("peng_nama"), QStringLiteral("AHMAD & <CO>")}};
    };
    LocationTracker tracker(s);
    tracker.startLocationTracking();
    positions.deliver({PositionFix{3.139003, 101.686852, 12, timers.now()}});
    tracker.updateLocationToServer();
    ASSERT_TRUE(waitFor([&] { return !tracker.reportInFlight(); }));

    const RawRequest r = requestsSince().back();
    EXPECT_EQ(r.method, "POST");
    EXPECT_EQ(r.target, "/v2/wsc/dlu/");
    const std::string lat = QString::asprintf("%f", double(3.139003f)).toStdString();
    const std::string lon = QString::asprintf("%f", double(101.686852f)).toStdString();
    const std::string expected = "json=%5B%7B%22device_id%22%3A%22M07%22%2C%22kod_pekerja%22%3A%22PK001%22%2C"
                                 "%22lat%22%3A%22" +
                                 lat + "%22%2C%22long%22%3A%22" + lon +
                                 "%22%2C%22peng_nama%22%3A%22AHMAD%20%26%20%3CCO%3E%22%7D%5D";
    EXPECT_EQ(r.body, expected);
    EXPECT_EQ(header(r, "Content-Type"), "application/x-www-form-urlencoded");
    EXPECT_EQ(header(r, "Content-Length"), std::to_string(expected.size()));
    expectEngineHeaders(r);
}
