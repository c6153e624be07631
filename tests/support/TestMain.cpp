#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QStandardPaths>

#include <cstdlib>
#include <ctime>

// Every test runs in a zone far from Kuala Lumpur, so a date taken from the phone's own zone shows up.
int main(int argc, char** argv) {
    qputenv("TZ", "America/Los_Angeles");
    tzset();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
