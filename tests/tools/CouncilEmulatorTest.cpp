// The emulator as the walkthrough and `make run` start it: a process that reports where it listens.
#include "CouncilEmulator.h"

#include "support/TestSupport.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using testsupport::waitFor;

// Its start-up lines and its service over its own CA are what the walkthrough reads and talks to; here the
// fault given on the command line, the admin view and the lifetime tied to standard input.
TEST(CouncilEmulatorProcess, AppliesACommandLineFaultOnceShowsWhatItReceivedAndEndsWithItsInput) {
    QTemporaryDir dir;
    QProcess process;
    process.setProgram(QStringLiteral(KOMPAUN_BIN_DIR "/council-emulator"));
    process.setArguments({QStringLiteral("--db"), dir.filePath(QStringLiteral("council.sqlite")),
                          QStringLiteral("--cert-dir"), dir.filePath(QStringLiteral("tls")),
                          QStringLiteral("--fault"), QStringLiteral("dlu:status:503:1"),
                          QStringLiteral("--stdin-lifetime")});
    process.start();
    ASSERT_TRUE(process.waitForStarted());
    QString plain;
    ASSERT_TRUE(waitFor([&] {
        while (process.canReadLine()) {
            const QString line = QString::fromUtf8(process.readLine()).trimmed();
            if (line.startsWith(QStringLiteral("HTTP_URL=")))
                plain = line.mid(9);
            if (line == QStringLiteral("READY"))
                return true;
        }
        return false;
    }));

    QNetworkAccessManager nam;
    int status = 0;
    const auto fetch = [&](const QString& path, const QByteArray& body = {}) {
        QNetworkRequest request{QUrl(plain + path)};
        request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArray("application/json"));
        const std::unique_ptr<QNetworkReply> reply(body.isEmpty() ? nam.get(request)
                                                                  : nam.post(request, body));
        EXPECT_TRUE(waitFor([&] { return reply->isFinished(); }));
        status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        return reply->readAll();
    };
    const QByteArray report = "json=[{\"device_id\":\"M07\",\"lat\":\"3.100000\",\"long\":\"101.600000\"}]";
    fetch(QStringLiteral("/v2/wsc/dlu/"), report);
    EXPECT_EQ(status, 503);
    EXPECT_EQ(fetch(QStringLiteral("/v2/wsc/dlu/"), report), "[{\"retval\":1}]");
    EXPECT_EQ(fetch(QStringLiteral("/admin/positions")),
              "[{\"device_id\":\"M07\",\"kod_pekerja\":\"\",\"lat\":\"3.100000\",\"long\":\"101.600000\","
              "\"peng_nama\":\"\"}]");
    const QByteArray log = fetch(QStringLiteral("/admin/requests"));
    EXPECT_TRUE(log.contains("\"fault\":\"status\"")) << log.toStdString();
    EXPECT_TRUE(log.contains(report.toBase64())) << log.toStdString();

    process.closeWriteChannel(); // its lifetime ends with our end of its standard input
    EXPECT_TRUE(process.waitForFinished(5000));
    EXPECT_EQ(process.exitCode(), 0);
}

TEST(CouncilEmulatorFaults, SpecsAndSeededRandomnessReplay) {
    std::string endpoint, error;
    Fault fault;
    // A good fault is read through the command line (the process test above).
    for (const char* bad :
         {"dlu:explode", "dlu", "muatnaik_gambar_kompaun:slow"}) // the last without its rate
        EXPECT_FALSE(Faults::parseFault(bad, endpoint, fault, error)) << bad;

    Faults faults;
    fault = Fault{};
    fault.kind = Fault::Kind::Drop;
    fault.times = 2;
    fault.after = 1;
    faults.set("dlu", fault);
    for (const bool expected : {false, true, true, false}) // after one request, twice
        EXPECT_EQ(faults.next("dlu").has_value(), expected);

    auto sequence = [](uint32_t seed) {
        Faults random;
        random.setRandom(seed, 0.5, 100);
        std::string out;
        for (int i = 0; i < 40; ++i) {
            const auto f = random.next("muatnaik_kompaun");
            out += f ? Fault::nameOf(f->kind) + ";" : "-;";
        }
        return out;
    };
    EXPECT_EQ(sequence(42), sequence(42));
    EXPECT_NE(sequence(42), sequence(43));
    EXPECT_NE(sequence(42).find("-;"), std::string::npos);
}
