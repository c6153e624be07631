#include "ZbarDecode.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>

using testsupport::waitFor;

namespace {

QString tool(const char* name) {
    return testsupport::binDir() + QLatin1Char('/') + QLatin1String(name);
}
QString record(const char* name) {
    return testsupport::sourcePath(QStringLiteral("tests/printing/records/")) + QLatin1String(name);
}

struct Emulator {
    QTemporaryDir dir;
    QProcess process;
    quint16 port = 0;

    bool start() {
        process.setProcessChannelMode(QProcess::SeparateChannels);
        process.start(tool("printer-emulator"),
                      {QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--out"), dir.path(),
                       QStringLiteral("--host"), QStringLiteral("127.0.0.1")});
        QByteArray out;
        const bool listening = waitFor([&] {
            out += process.readAllStandardOutput();
            return out.contains('\n') || process.state() == QProcess::NotRunning;
        });
        const qsizetype at = out.indexOf("listening on port ");
        if (!listening || at < 0)
            return false;
        port = quint16(out.mid(at + 18).trimmed().toUInt());
        return port != 0;
    }
    QString link() const { return QStringLiteral("tcp:127.0.0.1:%1").arg(port); }
    QString job(int n) const {
        return dir.filePath(QStringLiteral("job-%1.png").arg(n, 4, 10, QLatin1Char('0')));
    }
};

int printNotice(const QStringList& args) {
    QProcess p;
    p.start(tool("print-notice"), args);
    if (!waitFor([&] { return p.state() == QProcess::NotRunning; }, 60000))
        return -1;
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

} // namespace

TEST(PrinterEmulator, NoticesPrintedOverTcpDecodeFromThePictures) {
    Emulator emulator;
    ASSERT_TRUE(emulator.start());
    ASSERT_EQ(printNotice({record("general.json"), QStringLiteral("--printer"), emulator.link()}), 0);
    ASSERT_EQ(printNotice({QStringLiteral("--traffic"), record("traffic.json"), QStringLiteral("--printer"),
                           emulator.link()}),
              0);
    ASSERT_TRUE(waitFor([&] { return QFile::exists(emulator.job(2)); }, 30000));

    const QImage general(emulator.job(1));
    ASSERT_FALSE(general.isNull());
    EXPECT_EQ(general.width(), 880);
    EXPECT_EQ(decodeSymbols(general),
              (QStringList{QStringLiteral("CODE-39:76112"), QStringLiteral("CODE-39:P2016M07000042"),
                           QStringLiteral("QR-Code:" KOMPAUN_TEST_BASE "/v2/wsc/mk/P2016M07000042")}));
    EXPECT_EQ(decodeSymbols(QImage(emulator.job(2))),
              (QStringList{QStringLiteral("CODE-39:50.00"), QStringLiteral("CODE-39:76205"),
                           QStringLiteral("CODE-39:P2016M07000043")}));

    // The bytes the emulator received are exactly those print-notice writes to a file.
    const QString file = emulator.dir.filePath(QStringLiteral("general.out"));
    ASSERT_EQ(printNotice({record("general.json"), QStringLiteral("--out"), file}), 0);
    EXPECT_EQ(testsupport::readFile(file),
              testsupport::readFile(emulator.dir.filePath(QStringLiteral("job-0001.bin"))));

    ::kill(pid_t(emulator.process.processId()), SIGTERM);
    ASSERT_TRUE(waitFor([&] { return emulator.process.state() == QProcess::NotRunning; }));
    EXPECT_EQ(emulator.process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(emulator.process.exitCode(), 0);
}

TEST(PrintNotice, RefusesBadArgumentsAndUnreachablePrinters) {
    EXPECT_EQ(printNotice({record("general.json")}), 2);
    EXPECT_EQ(printNotice({record("general.json"), QStringLiteral("--printer"), QStringLiteral("nowhere")}),
              1);
    EXPECT_EQ(
        printNotice({QStringLiteral("/nonexistent.json"), QStringLiteral("--out"), QStringLiteral("/tmp/x")}),
        1);
    // Nothing listens on the port a closed emulator used: the connect fails and says so.
    Emulator emulator;
    ASSERT_TRUE(emulator.start());
    const QString link = emulator.link();
    emulator.process.terminate();
    ASSERT_TRUE(waitFor([&] { return emulator.process.state() == QProcess::NotRunning; }));
    EXPECT_EQ(printNotice({record("general.json"), QStringLiteral("--printer"), link}), 1);
}
