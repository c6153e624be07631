// print-notice and printer-emulator run as support staff run them: print-notice's exit status says whether
// the notice got out, and what the emulator draws decodes to the compound.
#include "ToolRun.h"
#include "ZbarDecode.h"
#include "support/LoopbackPrinter.h"

#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>

using testsupport::waitFor;

namespace {

// The printer emulator, listening on a port it picked.
struct Emulator {
    QTemporaryDir dir;
    QProcess process;
    quint16 port = 0;

    bool start() {
        process.start(testsupport::binDir() + QStringLiteral("/printer-emulator"),
                      {QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--out"), dir.path(),
                       QStringLiteral("--host"), QStringLiteral("127.0.0.1")});
        QByteArray out;
        const bool listening = waitFor([&] {
            out += process.readAllStandardOutput();
            return out.contains('\n') || process.state() == QProcess::NotRunning;
        });
        const qsizetype at = out.indexOf("listening on port ");
        port = listening && at >= 0 ? quint16(out.mid(at + 18).trimmed().toUInt()) : 0;
        return port != 0;
    }
    QString job(int n) const {
        return dir.filePath(QStringLiteral("job-%1").arg(n, 4, 10, QLatin1Char('0')));
    }
};

ToolRun printNotice(const char* record, const QStringList& args) {
    return runTool(QStringLiteral("print-notice"), QStringList{recordFile(record)} + args);
}
QStringList to(const QString& link) {
    return {QStringLiteral("--printer"), link};
}

} // namespace

TEST(PrintNotice, ExitsZeroOnlyWhenThePrinterReadTheWholeNotice) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("general.bin"));
    ASSERT_EQ(printNotice("general.json", {QStringLiteral("--out"), file}).code, 0);
    const QByteArray notice = testsupport::readFile(file);
    ASSERT_GT(notice.size(), 20000);

    LoopbackPrinter whole(LoopbackPrinter::ReadsAll);
    EXPECT_EQ(printNotice("general.json", to(whole.link())).code, 0);
    EXPECT_EQ(whole.received, notice);

    // The printer hangs up after 7,538 bytes: a failed print, whenever in the sending it happens.
    LoopbackPrinter partial(LoopbackPrinter::HangsUpAfter, 7538);
    const ToolRun cut = printNotice("general.json", to(partial.link()));
    EXPECT_EQ(cut.code, 1);
    EXPECT_EQ(partial.received.size(), 7538);
    EXPECT_TRUE(cut.err.contains(QStringLiteral("print-notice: the printer"))) << cut.err.toStdString();

    // A printer that takes the connection and never reads: everything fits the link's buffers, so only the
    // close can tell, and it is a failure within the time-out.
    LoopbackPrinter deaf(LoopbackPrinter::NeverReads);
    const ToolRun unread =
        printNotice("traffic.json", QStringList{QStringLiteral("--traffic"), QStringLiteral("--timeout"),
                                                QStringLiteral("2")} +
                                        to(deaf.link()));
    EXPECT_EQ(unread.code, 1);
    EXPECT_TRUE(unread.err.contains(QStringLiteral("print-notice: the printer"))) << unread.err.toStdString();
}

// A notice's bytes are fixed by the reference files (NoticeTest) and drawn symbols decode in RendererTest;
// here one whole notice through the emulator's process, as support staff see it.
TEST(PrinterEmulator, ANoticePrintedOverTcpDecodesFromThePicture) {
    Emulator emulator;
    ASSERT_TRUE(emulator.start());
    const QString link = QStringLiteral("tcp:127.0.0.1:%1").arg(emulator.port);
    ASSERT_EQ(printNotice("general.json", to(link)).code, 0);
    ASSERT_TRUE(waitFor([&] { return QFile::exists(emulator.job(1) + QStringLiteral(".png")); }, 30000));

    const QImage general(emulator.job(1) + QStringLiteral(".png"));
    ASSERT_FALSE(general.isNull());
    EXPECT_EQ(general.width(), 880);
    EXPECT_EQ(decodeSymbols(general),
              (QStringList{QStringLiteral("CODE-39:76112"), QStringLiteral("CODE-39:P2016M07000042"),
                           QStringLiteral("QR-Code:" KOMPAUN_TEST_BASE_URL "/v2/wsc/mk/P2016M07000042")}));

    ::kill(pid_t(emulator.process.processId()), SIGTERM);
    ASSERT_TRUE(waitFor([&] { return emulator.process.state() == QProcess::NotRunning; }));
    EXPECT_EQ(emulator.process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(emulator.process.exitCode(), 0);
}

// What print-notice says is about what it did: bad arguments are refused, a record without a number before
// anything is written, a file is not "Connected", and an unreachable network printer is not a Bluetooth
// problem.
TEST(PrintNotice, RefusesBadArgumentsAndSaysWhatFailedInItsOwnWords) {
    QTemporaryDir dir;
    const QString empty = dir.filePath(QStringLiteral("empty.json"));
    testsupport::writeFile(empty, "{}");
    const QString out = dir.filePath(QStringLiteral("empty.bin"));
    const ToolRun refused = runTool(QStringLiteral("print-notice"), {empty, QStringLiteral("--out"), out});
    EXPECT_EQ(refused.code, 2);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("has no compound number"))) << refused.err.toStdString();
    EXPECT_FALSE(QFile::exists(out));

    const ToolRun toFile =
        printNotice("general.json", {QStringLiteral("--out"), dir.filePath(QStringLiteral("general.bin"))});
    EXPECT_EQ(toFile.code, 0);
    EXPECT_FALSE(toFile.err.contains(QStringLiteral("Connected"))) << toFile.err.toStdString();
    // Without a destination, with a link that is no printer's, or a record that is not there.
    const struct {
        QStringList args;
        int code;
    } bad[] = {
        {{recordFile("general.json")}, 2},
        {{recordFile("general.json"), QStringLiteral("--printer"), QStringLiteral("nowhere")}, 1},
        {{QStringLiteral("/nonexistent.json"), QStringLiteral("--out"), QStringLiteral("/tmp/x")}, 1},
    };
    for (const auto& c : bad)
        EXPECT_EQ(runTool(QStringLiteral("print-notice"), c.args).code, c.code)
            << c.args.join(u' ').toStdString();

    quint16 closed = 0;
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
        closed = probe.serverPort();
    }
    const QString link = QStringLiteral("tcp:127.0.0.1:%1").arg(closed);
    const ToolRun unreachable = printNotice("general.json", to(link));
    EXPECT_EQ(unreachable.code, 1);
    EXPECT_TRUE(
        unreachable.err.contains(QStringLiteral("print-notice: cannot connect to the printer at ") + link))
        << unreachable.err.toStdString();
    EXPECT_FALSE(unreachable.err.contains(QStringLiteral("luetooth"))) << unreachable.err.toStdString();
    EXPECT_FALSE(unreachable.err.contains(QStringLiteral("Connected"))) << unreachable.err.toStdString();
}
