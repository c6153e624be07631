#include "recognition/EngineThreads.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QGuiApplication>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdlib>
#include <ctime>
#include <optional>

// Every test runs in a zone far from Kuala Lumpur, so a date taken from the phone's own zone shows up.
int main(int argc, char** argv) {
    EngineThreads::settle(argv);
    qputenv("TZ", "America/Los_Angeles");
    tzset();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Without a private runtime directory (as root, under CI) Qt's first line is a warning about it; the
    // programs a test starts inherit this one, so their output begins with their own lines.
    std::optional<QTemporaryDir> runtimeDir;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") &&
        runtimeDir.emplace(QDir::tempPath() + QStringLiteral("/kompaun-runtime-XXXXXX")).isValid())
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeDir->path()));
    QStandardPaths::setTestModeEnabled(true);
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
