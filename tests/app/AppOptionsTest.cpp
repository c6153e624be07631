// The command line refuses a bad value at start, naming the option and the reason, rather than starting a
// phone that then fails quietly (a map without tiles, a position that never comes, a printer never found).
#include "app/AppOptions.h"
#include "support/TestSupport.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <gtest/gtest.h>

namespace {

std::optional<AppOptions> parse(const QStringList& args, QString* error) {
    QCommandLineParser parser;
    AppOptions::addTo(parser);
    EXPECT_TRUE(parser.parse(QStringList{QStringLiteral("kompaun")} + args))
        << parser.errorText().toStdString();
    return AppOptions::from(parser, error);
}

struct Bad {
    QStringList args;
    const char* reason; // in the message, after the option and its value
};

} // namespace

TEST(AppOptions, RefusesBadValuesWithTheOptionAndTheReason) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("plain.txt"));
    testsupport::writeFile(file, "not a log\n");
    const QString readOnly = dir.filePath(QStringLiteral("readonly"));
    QDir().mkpath(readOnly);
    QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ExeOwner);
    const Bad cases[] = {
        {{QStringLiteral("--base-url"), QStringLiteral("notaurl")}, "is not an http:// or https:// address"},
        {{QStringLiteral("--base-url"), QStringLiteral("ftp://council.example")}, "is not an http://"},
        {{QStringLiteral("--nmea"), dir.filePath(QStringLiteral("missing.nmea"))}, "no such file"},
        {{QStringLiteral("--nmea"), file}, "holds no NMEA sentence"},
        {{QStringLiteral("--tile-url"), QStringLiteral("https://tiles.example/{z}/{x}.png")},
         "needs {z}, {x} and {y}"},
        {{QStringLiteral("--tile-url"), QStringLiteral("tiles/{z}/{x}/{y}.png")}, "is not an http://"},
        {{QStringLiteral("--documents"), file}, "cannot be created"},
        {{QStringLiteral("--documents"), QStringLiteral("/proc/kompaun")}, "cannot be created"},
        {{QStringLiteral("--printer"), QStringLiteral("nonsense")}, "expected tcp:HOST:PORT"},
        {{QStringLiteral("--printer"), QStringLiteral("tcp:127.0.0.1:0")}, "expected tcp:HOST:PORT"},
        {{QStringLiteral("--ca-file"), dir.filePath(QStringLiteral("ca.pem"))}, "no such file"},
        {{QStringLiteral("--ca-file"), file}, "holds no PEM certificate"},
        {{QStringLiteral("--log"), dir.filePath(QStringLiteral("no/such/dir/log.txt"))},
         "cannot be opened for writing"},
    };
    for (const Bad& c : cases) {
        QString error;
        EXPECT_FALSE(parse(c.args, &error)) << c.args.join(u' ').toStdString();
        const QString expected =
            QStringLiteral("%1 \"%2\": %3").arg(c.args[0], c.args[1], QString::fromUtf8(c.reason));
        EXPECT_TRUE(error.startsWith(expected))
            << error.toStdString() << "\n  expected " << expected.toStdString();
    }
    // Only root writes in a read-only folder; for anyone else it is refused.
    if (QTemporaryFile(readOnly + QStringLiteral("/x-XXXXXX")).open() == false) {
        QString error;
        EXPECT_FALSE(parse({QStringLiteral("--documents"), readOnly}, &error));
        EXPECT_TRUE(error.contains(QStringLiteral("is not writable"))) << error.toStdString();
    }

    // The environment's values are checked too, and named as such.
    qputenv("KOMPAUN_BASE_URL", "council");
    QString error;
    EXPECT_FALSE(parse({}, &error));
    qunsetenv("KOMPAUN_BASE_URL");
    EXPECT_EQ(error, QStringLiteral(
                         "KOMPAUN_BASE_URL \"council\": is not an http:// or https:// address with a host"));
}

TEST(AppOptions, AcceptsWhatTheReadmeShows) {
    QTemporaryDir dir;
    QString error;
    const auto options =
        parse({QStringLiteral("--base-url"), QStringLiteral("https://127.0.0.1:8443/api"),
               QStringLiteral("--nmea"), testsupport::sourcePath(QStringLiteral("resources/patrol.nmea")),
               QStringLiteral("--tile-url"), QStringLiteral("http://127.0.0.1:9/tiles/{z}/{x}/{y}.png"),
               QStringLiteral("--documents"), dir.filePath(QStringLiteral("new/Documents")),
               QStringLiteral("--printer"), QStringLiteral("00:11:22:33:44:55")},
              &error);
    ASSERT_TRUE(options) << error.toStdString();
    EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("new/Documents"))).isDir());
    EXPECT_TRUE(
        QDir(dir.filePath(QStringLiteral("new/Documents"))).entryList(QDir::Files | QDir::Hidden).isEmpty());
    for (const QString& stream : {QStringLiteral("127.0.0.1:10110"), QStringLiteral("gps.local:2947")})
        EXPECT_TRUE(parse({QStringLiteral("--nmea"), stream}, &error)) << error.toStdString();
    EXPECT_TRUE(parse({QStringLiteral("--printer"), QStringLiteral("tcp:127.0.0.1:9100")}, &error))
        << error.toStdString();
}

// The executable itself: exit status 2 and the reason on stderr, with a display and without one.
TEST(AppOptions, TheExecutableExitsTwoWithTheReason) {
    for (const bool display : {true, false}) {
        QProcess kompaun;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QString::fromLatin1(name));
        if (display)
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        kompaun.setProcessEnvironment(env);
        kompaun.start(testsupport::binDir() + QStringLiteral("/kompaun"),
                      {QStringLiteral("--printer"), QStringLiteral("nonsense")});
        ASSERT_TRUE(kompaun.waitForFinished(60000));
        EXPECT_EQ(kompaun.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(kompaun.exitCode(), 2);
        const QString err = QString::fromUtf8(kompaun.readAllStandardError());
        EXPECT_TRUE(err.startsWith(QStringLiteral("kompaun: --printer \"nonsense\": expected tcp:HOST:PORT")))
            << err.toStdString();
    }
}
