// The emulator as the walkthrough and `make run` start it: a process that reports where it listens.
#include "CouncilEmulator.h"

#include "support/TestSupport.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using testsupport::waitFor;

TEST(CouncilEmulatorProcess, ReportsItsPortsAndServesOverItsOwnCa) {
    QTemporaryDir dir;
    QProcess process;
    process.setProgram(QStringLiteral(KOMPAUN_BIN_DIR "/council-emulator"));
    process.setArguments({QStringLiteral("--db"), dir.filePath(QStringLiteral("council.sqlite")),
                          QStringLiteral("--cert-dir"), dir.filePath(QStringLiteral("tls")),
                          QStringLiteral("--fault"), QStringLiteral("dlu:status:503:1"),
                          QStringLiteral("--stdin-lifetime")});
    process.start();
    ASSERT_TRUE(process.waitForStarted());
    QMap<QString, QString> lines;
    ASSERT_TRUE(waitFor([&] {
        while (process.canReadLine()) {
            const QString line = QString::fromUtf8(process.readLine()).trimmed();
            lines.insert(line.section(QLatin1Char('='), 0, 0), line.section(QLatin1Char('='), 1));
        }
        return lines.contains(QStringLiteral("READY"));
    }));
    EXPECT_TRUE(lines.value(QStringLiteral("HTTPS_URL")).startsWith(QStringLiteral("https://127.0.0.1:")));
    EXPECT_EQ(lines.value(QStringLiteral("CA_FILE")), dir.filePath(QStringLiteral("tls/ca.pem")));
    EXPECT_EQ(lines.value(QStringLiteral("DB_FILE")), dir.filePath(QStringLiteral("council.sqlite")));

    // Over its own CA; the status of the last reply in `status`.
    QNetworkAccessManager nam;
    QSslConfiguration ssl = QSslConfiguration::defaultConfiguration();
    ssl.addCaCertificates(QSslCertificate::fromPath(lines.value(QStringLiteral("CA_FILE"))));
    int status = 0;
    const auto fetch = [&](const QString& url, const QByteArray& method = "GET",
                           const QByteArray& body = {}) {
        QNetworkRequest request{QUrl(url)};
        request.setSslConfiguration(ssl);
        request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArray("application/json"));
        const std::unique_ptr<QNetworkReply> reply(nam.sendCustomRequest(request, method, body));
        EXPECT_TRUE(waitFor([&] { return reply->isFinished(); }));
        status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        return reply->readAll();
    };
    const QString https = lines.value(QStringLiteral("HTTPS_URL"));
    EXPECT_TRUE(
        fetch(https + QStringLiteral("/v2/wsc/penguatkuasa_pelbagai")).contains("\"kod_pekerja\":\"PK001\""));
    EXPECT_EQ(status, 200);
    EXPECT_EQ(fetch(https + QStringLiteral("/v2/wsc/lastnumber_pelbagai/M07")), "[{\"no_akhir\":120}]");

    // The fault from the command line applies once.
    const QByteArray report = "json=[{\"device_id\":\"M07\",\"lat\":\"3.100000\",\"long\":\"101.600000\"}]";
    fetch(https + QStringLiteral("/v2/wsc/dlu/"), "POST", report);
    EXPECT_EQ(status, 503);
    EXPECT_EQ(fetch(https + QStringLiteral("/v2/wsc/dlu/"), "POST", report), "[{\"retval\":1}]");

    // Everything received is inspectable, also over plain HTTP.
    const QString plain = lines.value(QStringLiteral("HTTP_URL"));
    const QByteArray positions = fetch(plain + QStringLiteral("/admin/positions"));
    EXPECT_EQ(positions,
              "[{\"device_id\":\"M07\",\"kod_pekerja\":\"\",\"lat\":\"3.100000\",\"long\":\"101.600000\","
              "\"peng_nama\":\"\"}]");
    const QByteArray log = fetch(plain + QStringLiteral("/admin/requests?since=2"));
    EXPECT_TRUE(log.contains("\"fault\":\"status\"")) << log.toStdString();
    EXPECT_TRUE(log.contains(report.toBase64())) << log.toStdString();

    process.closeWriteChannel(); // its lifetime ends with our end of its standard input
    EXPECT_TRUE(process.waitForFinished(5000));
    EXPECT_EQ(process.exitCode(), 0);
}

TEST(CouncilEmulatorFaults, SpecsAndSeededRandomnessReplay) {
    std::string endpoint, error;
    Fault fault;
    ASSERT_TRUE(Faults::parseFault("muatnaik_kompaun:retval:2:3", endpoint, fault, error));
    EXPECT_EQ(endpoint, "muatnaik_kompaun");
    EXPECT_EQ(fault.kind, Fault::Kind::Retval);
    EXPECT_EQ(fault.retval, 2);
    EXPECT_EQ(fault.times, 3);
    EXPECT_FALSE(Faults::parseFault("dlu:explode", endpoint, fault, error));
    EXPECT_FALSE(Faults::parseFault("dlu", endpoint, fault, error));
    ASSERT_TRUE(Faults::parseFault("muatnaik_gambar_kompaun:slow:16384", endpoint, fault, error));
    EXPECT_EQ(fault.kind, Fault::Kind::Slow);
    EXPECT_EQ(fault.bytesPerSecond, 16384);
    EXPECT_FALSE(Faults::parseFault("muatnaik_gambar_kompaun:slow", endpoint, fault, error)); // no rate

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
